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
    m_host.showExitScreen();
}

} // namespace quendril::windows
