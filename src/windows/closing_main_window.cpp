#include "closing_main_window.h"

namespace quendril::windows {

ClosingMainWindow::ClosingMainWindow(WindowHost &host)
    : m_host(host)
{
}

void ClosingMainWindow::closeEvent(QCloseEvent *event)
{
    closeOnce(m_closing, event, m_host, this, [this] { Form_Unload(); });
}

void ClosingMainWindow::cmdExit_Click()
{
    close();
}

void ClosingMainWindow::Form_Unload()
{
    // Every close of either window comes here, Back's too (Back then hides
    // the exit screen again). A close before any Find Object creates it.
    m_host.showExitScreen();
}

} // namespace quendril::windows
