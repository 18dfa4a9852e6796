"""A private Wayland desktop for one end-to-end case: Weston's headless
compositor instead of an X server, the program on Qt's native wayland
platform. Everything else (D-Bus, the accessibility bus, the throwaway home,
the browser stand-in) is the X desktop's.

Wayland gives a client no way to type into or click another program, so the
cases drive the program through the accessibility interface alone: text is
set through AT-SPI's EditableText, buttons and menu items are pressed through
their actions.
"""

import os
import re
import subprocess

import desktop as d

SOCKET = "wayland-quendril"
# Each message of Qt's logging starts with its level and category, so that
# Qt's and the program's own warnings can be told from what other libraries
# (Mesa, libwayland) write on the error output.
MESSAGE_PATTERN = "qt-message %{type} %{category}: %{message}"
_QT_MESSAGE = re.compile(r"qt-message (\w+) (\S*): ")


class WaylandDesktop(d.Desktop):
    def _start_display(self):
        with open(os.path.join(self.root, "weston.log"), "w") as log:
            self._server = subprocess.Popen(
                ["weston", "--backend=headless-backend.so", f"--socket={SOCKET}", "--idle-time=0",
                 f"--width={d.SCREEN[0]}", f"--height={d.SCREEN[1]}", "--no-config"],
                env=self._environment(), stdout=log,
                stderr=subprocess.STDOUT, start_new_session=True)
        socket = os.path.join(self.runtime, SOCKET)
        d.wait_until("Weston's socket", lambda: os.path.exists(socket) or self._server.poll() is not None, 20)
        if self._server.poll() is not None:
            with open(os.path.join(self.root, "weston.log")) as out:
                raise RuntimeError(f"Weston did not start:\n{out.read()}")

    def _display_environment(self):
        return {"WAYLAND_DISPLAY": SOCKET, "QT_QPA_PLATFORM": "wayland"}

    def environment(self):
        env = super().environment()
        env["QT_MESSAGE_PATTERN"] = MESSAGE_PATTERN
        return env


def wayland_warnings(log):
    """The warnings (and worse) in a program's error output from Qt's Wayland
    platform (qt.qpa.wayland and its subcategories) or from the program and
    the Qt code it calls (the default category, or none: Qt reports failed
    system calls without one)."""
    found = []
    for line in log.splitlines():
        match = _QT_MESSAGE.match(line)
        if not match or match.group(1) not in ("warning", "critical", "fatal"):
            continue
        category = match.group(2)
        if category in ("", "default", "qt.qpa.wayland") or category.startswith("qt.qpa.wayland."):
            found.append(line)
    return found


def set_text(accessible, value):
    """Replaces the text of an edit box, as voice input or a screen reader does."""
    editable = accessible.queryEditableText()
    editable.setTextContents(value)
    d.wait_until(f"{value!r} in the box", lambda: d.text(accessible) == value)
