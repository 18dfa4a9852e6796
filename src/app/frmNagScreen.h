#pragma once

#include <QIcon>

#include <cstdint>

namespace quendril::settings {
class SettingsStore;
}
namespace quendril::windows {
class WindowHost;
}

namespace quendril::app {

// The start-up window. It is never shown: it runs the start-up sequence,
// holds the application icon and the last co-branding draw, and ends the
// program when it is closed.
class frmNagScreen {
public:
    frmNagScreen(windows::WindowHost &host, const settings::SettingsStore &settings);

    // The start-up sequence.
    void Form_Load();
    // Brings one of the main window's two offers to the front, by a draw.
    void CoBrand_Randomize();

    // Closing runs the close handling once.
    void close();
    bool isClosing() const { return m_closing; }

    const QIcon &IMGIcon() const { return m_icon; }
    std::int16_t intCoBrandRandomNumber = 0;

private:
    void Form_Unload();

    windows::WindowHost &m_host;
    const settings::SettingsStore &m_settings;
    QIcon m_icon;
    bool m_closing = false;
};

} // namespace quendril::app
