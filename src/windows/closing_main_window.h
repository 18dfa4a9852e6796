#pragma once

#include "fitted_text.h"
#include "form_support.h"
#include "shared_commands.h"
#include "site/site_texts.h"
#include "window_host.h"

#include <QMainWindow>
#include <QPushButton>

namespace quendril::windows {

// The main and the result window: closing either, by its Exit, its File menu
// or the title bar, runs the same close handling once and brings up the exit
// screen.
class ClosingMainWindow : public QMainWindow {
public:
    bool isClosing() const { return m_closing; }

protected:
    explicit ClosingMainWindow(WindowHost &host);

    // What both windows do once their Designer set-up has run: caption, icon
    // and border, the board advertisement, Exit, the site commands, and menus
    // that are offered only while the window shows.
    template <typename Ui> void setUpSharedParts(Ui &ui);

    void closeEvent(QCloseEvent *event) override;
    void cmdExit_Click();
    void Form_Unload();

    WindowHost &m_host;

private:
    bool m_closing = false;
};

template <typename Ui> void ClosingMainWindow::setUpSharedParts(Ui &ui)
{
    setUpWindow(this, m_host.applicationIcon());
    setFittedText(ui.Label61, site::boardAdvertisement());
    ui.cmdExit->setAutoDefault(true);
    connect(ui.cmdExit, &QPushButton::clicked, this, &ClosingMainWindow::cmdExit_Click);
    connect(ui.mnuExit, &QAction::triggered, this, &ClosingMainWindow::cmdExit_Click);
    connectSiteCommands(this, ui, m_host);
    offerMenusOnlyWhileShown(this);
}

} // namespace quendril::windows
