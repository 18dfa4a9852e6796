#pragma once

#include <QString>
#include <QStringView>

namespace quendril::site {

// Keys of the maker's site pages, used exactly as they stand.
namespace page {
inline constexpr QStringView help = u"help-web-page";
inline constexpr QStringView home = u"home-page";
inline constexpr QStringView download = u"download-web-page";
inline constexpr QStringView donate = u"donate";
inline constexpr QStringView fullyBranded = u"fully-branded";
inline constexpr QStringView coBrand = u"co-brand";
inline constexpr QStringView softwares = u"talvexsoftwares";
inline constexpr QStringView referAFriend = u"zorq-refer-a-friend";
} // namespace page

// Scheme and host of the maker's site, as chosen at build time.
QString siteRoot();
// The host alone, for texts that show the site's address to the user.
QString siteHost();
// The host of any scheme and host, or all of it where it names no host.
QString hostOf(const QString &root);
// The product folder on the site, with a slash before and after it.
QString SiteBaseAddress();
// The address of one page: the product folder, the script and the page key.
QString SitePageAddress(QStringView key);

} // namespace quendril::site
