#pragma once

#include "site_address.h"

#include <QString>

namespace quendril::site {

// Texts that name the maker's site, built from the same build setting as the
// page addresses (`root`: its scheme and host; the windows may be tried with
// another).

// The advertisement for the discussion board at the top of the main and result windows.
QString boardAdvertisement(const QString &root = siteRoot());
// The about box's link to the home page.
QString homeLinkText(const QString &root = siteRoot());
// The about box's description: what the program, named by its title, does,
// and that the site holds all rights to it.
QString aboutDescription(const QString &title, const QString &root = siteRoot());
// The exit screen's check box that leads to the home page.
QString visitSiteCaption(const QString &root = siteRoot());

inline constexpr int kSupportAppealCount = 4;
// One of the exit screen's four appeals for support; index 0..3.
QString supportAppeal(int index, const QString &root = siteRoot());

} // namespace quendril::site
