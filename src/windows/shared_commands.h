#pragma once

#include "clickable_label.h"
#include "site/site_links.h"
#include "window_host.h"

#include <QAction>
#include <QCloseEvent>

namespace quendril::windows {

// The site links and menu items that the main and the result window share:
// each opens its page and changes nothing else.
template <typename Ui> void connectSiteCommands(QWidget *window, Ui &ui, WindowHost &host)
{
    const site::SiteLinks &links = host.links();
    QObject::connect(ui.Label61, &ClickableLabel::clicked, window, [&links] { links.OpenHomePage(); });
    QObject::connect(ui.mnuVisit, &QAction::triggered, window, [&links] { links.OpenHomePage(); });
    QObject::connect(ui.lblFullBrand, &ClickableLabel::clicked, window, [&links] { links.OpenFullyBrandedPage(); });
    QObject::connect(ui.lblCobrand, &ClickableLabel::clicked, window, [&links] { links.OpenCoBrandPage(); });
    QObject::connect(ui.mnuOnline, &QAction::triggered, window, [&links] { links.OpenHelpPage(); });
    QObject::connect(ui.mnuUpdate, &QAction::triggered, window, [&links] { links.OpenDownloadPage(); });
    QObject::connect(ui.mnuDonate, &QAction::triggered, window, [&links] { links.OpenDonatePage(); });
    QObject::connect(ui.mnuAbout, &QAction::triggered, window, [&host] { host.showAboutBox(); });
    // Make Money Online stays switched off; it has no command to run.
}

// Accepts a close; the first time only, runs the window's close handling and
// tells the host that the window has gone.
template <typename Unload>
void closeOnce(bool &closing, QCloseEvent *event, WindowHost &host, QObject *window, Unload &&unload)
{
    event->accept();
    if (closing)
        return;
    closing = true;
    unload();
    host.windowClosed(window);
}

} // namespace quendril::windows
