#pragma once

#include <QString>

#include <functional>

class QAbstractButton;
class QIcon;
class QMainWindow;
class QWidget;

namespace quendril::windows {

// The face that draws a family the windows are designed in: the family itself
// where it is installed and scales smoothly; for MS Sans Serif, a bitmap font,
// else its outline twin Microsoft Sans Serif; else a named stand-in (DejaVu
// Sans, then Tahoma). usable() tells whether a family can be used.
QString faceForDesignedFamily(const QString &designed, const std::function<bool(const QString &)> &usable);

// The windows are drawn for Verdana and MS Sans Serif; where one cannot be
// used, the face faceForDesignedFamily() names stands in for it.
void registerFontSubstitutes();

// The windows are laid out for the classic native styles. Qt 6.7 and later
// draw Windows 11 in a style of its own, with taller, rounded controls that
// the fixed layouts were not made for; there the style Windows 10 gets
// (Windows Vista's) draws them instead, as it did before.
void keepDesignedStyle();

// Gives every widget that carries a "pointSizeF" property its exact point
// size (Designer files keep whole points only), and names the stand-in
// family directly where a designed one is not installed.
void applyDesignFonts(QWidget *root);

// What every window does after its Designer set-up: the exact fonts, the
// program's caption and icon, a fixed border and access keys that click at once.
void setUpWindow(QWidget *window, const QIcon &icon);

// A fixed single border: no resizing, no minimise or maximise button. The
// window takes the size of the client area its Designer file gives it.
void makeFixedWindow(QWidget *window);

// Places a window in the middle of the screen it is on.
void centreOnScreen(QWidget *window);

// Enter presses the focused push button, or else the default button; Esc
// presses the cancel button. Either may be null.
void installDefaultAndCancel(QWidget *window, QAbstractButton *defaultButton, QAbstractButton *cancelButton);

// Typing a push button's access key (Alt+B for "&Back") presses the button at
// once, as a click does, instead of first showing it held down for 100 ms.
void clickAccessKeysAtOnce(QWidget *window);

// A hidden window stays in the accessibility tree with its menus, and with
// the menus closed no menu item shows in any window: a screen reader or voice
// control that looks for "Exit" by its name could press the one of a hidden
// window. The window's menu commands are therefore switched off while it is
// hidden (an item its Designer file switches off stays off).
void offerMenusOnlyWhileShown(QMainWindow *window);

} // namespace quendril::windows
