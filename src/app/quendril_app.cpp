#include "quendril_app.h"

#include "frmNagScreen.h"
#include "platform/platform.h"
#include "windows/frmAbout.h"
#include "windows/frmDisplay.h"
#include "windows/frmMain.h"
#include "windows/frmNagScreen2.h"

namespace quendril::app {

namespace {

// Closes a window that is open and not already in its close handling.
template <typename Window> void closeIfOpen(const QPointer<Window> &window)
{
    if (window && !window->isClosing())
        window->close();
}

} // namespace

QuendrilApp::QuendrilApp(platform::Platform &platform)
    : m_platform(platform)
    , m_settings(platform)
    , m_links(platform)
    , m_startup(std::make_unique<frmNagScreen>(*this, m_settings))
{
}

QuendrilApp::~QuendrilApp()
{
    delete m_about.data();
    delete m_display.data();
    delete m_main.data();
    delete m_exit.data();
}

void QuendrilApp::start()
{
    m_startup->Form_Load();
}

windows::frmMain &QuendrilApp::mainWindow()
{
    if (!m_main)
        m_main = new windows::frmMain(*this);
    return *m_main;
}

windows::frmDisplay &QuendrilApp::resultWindow()
{
    if (!m_display)
        m_display = new windows::frmDisplay(*this);
    return *m_display;
}

windows::frmNagScreen2 &QuendrilApp::exitScreen()
{
    if (!m_exit)
        m_exit = new windows::frmNagScreen2(*this);
    return *m_exit;
}

// While the program is ending, the main and the result window still run their
// close handling, which brings up the exit screen: refused, so that no window
// is created or shown again on the way out.
void QuendrilApp::showExitScreen()
{
    if (m_ending)
        return;
    exitScreen().show();
}

void QuendrilApp::hideExitScreen()
{
    if (m_ending)
        return;
    exitScreen().hide();
}

QIcon QuendrilApp::applicationIcon()
{
    return m_startup->IMGIcon();
}

void QuendrilApp::showAboutBox()
{
    if (m_ending || m_about)
        return;
    // Known while it is up, so that EndApplication can close it.
    windows::frmAbout about(*this);
    m_about = &about;
    about.exec();
    m_about = nullptr;
}

void QuendrilApp::windowClosed(QObject *window)
{
    // Called from inside the window's close event: it is deleted later, and
    // the next request for it creates a new one.
    const auto forget = [window](auto &pointer) {
        if (pointer == window) {
            pointer->deleteLater();
            pointer = nullptr;
        }
    };
    forget(m_main);
    forget(m_display);
    forget(m_exit);
}

void QuendrilApp::EndApplication()
{
    // Closing a window runs its close handling. That of the result and the
    // main window asks for the exit screen, refused from now on; that of the
    // exit screen and the start-up window calls this again. The pass that
    // finds the start-up window already closing ends the process, and every
    // pass around it then stops.
    m_ending = true;
    if (m_about)
        m_about->reject();
    closeIfOpen(m_display);
    closeIfOpen(m_main);
    closeIfOpen(m_exit);
    if (m_ended)
        return;
    m_startup->close();
    if (m_ended)
        return;
    m_ended = true;
    m_platform.endProcess(0);
}

} // namespace quendril::app
