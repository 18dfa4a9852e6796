#pragma once

class QIcon;
class QObject;

namespace quendril::core {
struct ReadingState;
}
namespace quendril::platform {
class Platform;
}
namespace quendril::site {
class SiteLinks;
struct TellAFriend;
} // namespace quendril::site

namespace quendril::windows {

class frmDisplay;
class frmMain;

// What a window may ask of the application that owns all windows: the other
// windows (each created on first use), the shared values and the end.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual platform::Platform &platform() = 0;
    virtual const site::SiteLinks &links() = 0;
    virtual core::ReadingState &readingState() = 0;
    virtual site::TellAFriend &tellAFriend() = 0;

    virtual frmMain &mainWindow() = 0;
    virtual frmDisplay &resultWindow() = 0;
    // Showing and hiding the exit screen create it when it is not open; while
    // the program is ending no window is created or shown.
    virtual void showExitScreen() = 0;
    virtual void hideExitScreen() = 0;
    virtual QIcon applicationIcon() = 0;

    // The about box, modal, built afresh at every opening.
    virtual void showAboutBox() = 0;

    // A window tells the host that it has closed, so that the next request
    // for it creates a new one.
    virtual void windowClosed(QObject *window) = 0;

    virtual void EndApplication() = 0;
};

} // namespace quendril::windows
