#pragma once

#include "core/reading.h"
#include "settings/settings_store.h"
#include "site/referral.h"
#include "site/site_links.h"
#include "windows/frmAbout.h"
#include "windows/frmDisplay.h"
#include "windows/frmMain.h"
#include "windows/frmNagScreen2.h"
#include "windows/window_host.h"

#include <QPointer>

#include <memory>

namespace quendril::app {

class frmNagScreen;

// The application: owns every window and the values the windows share, and
// ends the program.
class QuendrilApp final : public windows::WindowHost {
public:
    explicit QuendrilApp(platform::Platform &platform);
    ~QuendrilApp() override;

    QuendrilApp(const QuendrilApp &) = delete;
    QuendrilApp &operator=(const QuendrilApp &) = delete;

    // Runs the start-up window's load handling: the start-up sequence.
    void start();

    frmNagScreen &startupWindow() { return *m_startup; }
    // The windows that are open now, without creating any; null when closed.
    windows::frmMain *openMainWindow() const { return m_main; }
    windows::frmDisplay *openResultWindow() const { return m_display; }
    windows::frmNagScreen2 *openExitScreen() const { return m_exit; }
    windows::frmAbout *openAboutBox() const { return m_about; }
    bool ended() const { return m_ended; }

    platform::Platform &platform() override { return m_platform; }
    const site::SiteLinks &links() override { return m_links; }
    core::ReadingState &readingState() override { return m_reading; }
    site::TellAFriend &tellAFriend() override { return m_tellAFriend; }
    windows::frmMain &mainWindow() override;
    windows::frmDisplay &resultWindow() override;
    // The exit screen, created hidden if it is not open.
    windows::frmNagScreen2 &exitScreen();
    void showExitScreen() override;
    void hideExitScreen() override;
    QIcon applicationIcon() override;
    void showAboutBox() override;
    void windowClosed(QObject *window) override;
    void EndApplication() override;

private:
    platform::Platform &m_platform;
    settings::SettingsStore m_settings;
    site::SiteLinks m_links;
    core::ReadingState m_reading;
    site::TellAFriend m_tellAFriend;

    std::unique_ptr<frmNagScreen> m_startup;
    QPointer<windows::frmMain> m_main;
    QPointer<windows::frmDisplay> m_display;
    QPointer<windows::frmNagScreen2> m_exit;
    QPointer<windows::frmAbout> m_about;
    bool m_ending = false;
    bool m_ended = false;
};

} // namespace quendril::app
