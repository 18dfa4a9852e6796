"""A private desktop for one end-to-end case.

Each case gets the outside checks' private desktop (tests/support/harness.py):
its own Xvfb display, its own D-Bus session bus (the accessibility bus is
started by D-Bus on demand), a throwaway HOME with fresh XDG folders and
TMPDIR, and the browser stand-in first on PATH, which records every address
the program hands over. The real program runs in it with
Qt's accessibility bridge switched on, and the case reads and drives it the way
a screen reader and a person would: through the accessibility tree (AT-SPI)
and with real keys and clicks (xdotool).

libatspi keeps one connection to one accessibility bus for the life of the
process, so a process holds one desktop: run one case per process (CTest
does).
"""

import ctypes
import glob
import os
import re
import subprocess
import sys
import time

# Importing connects to nothing: libatspi joins the accessibility bus at its
# first call, once the desktop has set the environment.
import pyatspi
from pyatspi import ROLE_FRAME, ROLE_LABEL, ROLE_PANEL

# The desktop and the reading of screenshots are shared with the other outside checks.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from picture import Picture, contrast  # noqa: E402,F401

PROGRAM = os.environ.get("QUENDRIL_PROGRAM", "")
# The site's address the program is built with, and the one its windows are drawn for.
DEFAULT_SITE_ROOT = os.environ.get("QUENDRIL_DEFAULT_SITE_ROOT", "")
SITE_ROOT = os.environ.get("QUENDRIL_SITE_ROOT", "")
ARTIFACTS = os.environ.get("QUENDRIL_E2E_ARTIFACTS", "")
DISPLAYS = os.environ.get("QUENDRIL_E2E_DISPLAYS", "")
# Qt's scale factor for the program (QT_SCALE_FACTOR): at 2 every window is
# expected at twice its designed size, on a screen large enough for it.
SCALE = float(os.environ.get("QUENDRIL_E2E_SCALE", "1"))
# A desktop theme for the program: "dark" is GNOME's dark style through Qt's
# GTK platform theme, as Debian's Qt offers it.
THEME = os.environ.get("QUENDRIL_E2E_THEME", "")
# What an artifact's file name starts with, so that the variants of a case
# (scale, theme) keep pictures of their own.
VARIANT = "".join(f"{part}-" for part in (f"scale-{SCALE:g}" if SCALE != 1 else "", THEME) if part)

# The build hands over the caption of every window and the program's title,
# which is the title of the message boxes.
CAPTION = os.environ.get("QUENDRIL_CAPTION", "")
TITLE = os.environ.get("QUENDRIL_TITLE", "")
MESSAGE_TITLE = TITLE
SCREEN = (round(1280 * SCALE), round(1024 * SCALE))
WAIT = 15.0  # seconds for anything the program is asked to do
# libatspi's wait for an answer, in ms; the second number (0) stops it from
# waiting longer while a program is young. A command that opens a modal box
# answers only when the box has closed: presses wait briefly and move on.
CALL_TIMEOUT = (10000, 0)
PRESS_TIMEOUT = (700, 0)

_desktop_made = False
_connected = False


def page(key):
    return f"{SITE_ROOT}/vasq-free-quendril/ssd.php?page={key}"


def px(twips):
    """Screen pixels of a designed length: twips / 15, times the scale."""
    return twips / 15.0 * SCALE


# How far a length on the screen may lie from px(): the Designer files hold
# whole pixels (half a pixel off the twips at most, times the scale), and the
# screen rounds once more.
PLACE_DELTA = 1.0 if SCALE.is_integer() else 0.5 * SCALE + 0.5
# At a fractional scale Qt and X round a window's place and size each their
# own way, a pixel apart at most.
ROUNDING = 0 if SCALE.is_integer() else 1


def same_box(a, b):
    return all(abs(p - q) <= ROUNDING for p, q in zip(a, b))


class Timeout(AssertionError):
    pass


def wait_until(what, condition, timeout=WAIT, interval=0.05):
    """Polls condition until it gives a true value, and returns that value.
    what may be a function, called for the failure message."""
    deadline = time.monotonic() + timeout
    while True:
        _pump()
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f"waited {timeout:.0f} s in vain for {what() if callable(what) else what}")
        time.sleep(interval)


def _pump():
    # Lets libatspi take in the events that keep its view of the program fresh.
    if _connected:
        from gi.repository import GLib

        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)


def _run(*command, check=True):
    return subprocess.run(command, check=check, capture_output=True, text=True).stdout


class Program:
    """One running copy of the program."""

    def __init__(self, desktop, process, log):
        self.desktop = desktop
        self.log = log
        self.process = process
        self.pid = process.pid
        self._app = None

    @property
    def app(self):
        if self._app is None:
            self._app = wait_until(f"program {self.pid} on the accessibility bus", self._find_app)
        return self._app

    def _find_app(self):
        if not self.running():
            with open(self.log) as log:
                raise AssertionError(f"program {self.pid} ended with {self.process.returncode}:\n{log.read()}")
        # Under a GTK platform theme (-platformtheme gtk3, QT_QPA_PLATFORMTHEME)
        # GTK's own accessibility bridge joins the bus too, as a second
        # application of the same process with no windows: the program's
        # windows are those of Qt's bridge.
        for app in self.desktop.registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.pid and app.get_toolkit_name() == "Qt":
                app.set_cache_mask(self.desktop.Atspi.Cache.NONE)
                return app
        return None

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=WAIT):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Timeout(f"program {self.pid} still runs after {timeout:.0f} s")

    def stop(self):
        if self.running():
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    # The accessibility tree -------------------------------------------------

    def windows(self):
        """The program's top-level windows that are on the screen; none once it has ended."""
        from gi.repository import GLib

        try:
            children = [w for w in self.app if w is not None]
        except GLib.Error:
            # Gone from the accessibility bus: the program is ending.
            return []
        shown = []
        for window in children:
            try:
                if showing(window):
                    shown.append(window)
            except GLib.Error:
                continue  # closed while it was being read
        return shown

    def windows_titled(self, title=None, role=None):
        """The showing top-level windows with this title and role (either may
        be None: any). A window that goes away while it is being read, or with
        the whole program, is not counted."""
        from gi.repository import GLib

        found = []
        for window in self.windows():
            try:
                if (title is None or window.name == title) and (role is None or has_role(window, role)):
                    found.append(window)
            except GLib.Error:
                continue
        return found

    def window(self, title=CAPTION, role=None, timeout=WAIT):
        """Waits for exactly one showing top-level window with this title."""

        def only():
            found = self.windows_titled(title, role)
            return found[0] if len(found) == 1 else None

        return wait_until(f'one window "{title}" of program {self.pid}', only, timeout)

    def message_box(self, timeout=WAIT):
        """Waits for a message box and gives it with its text."""
        box = self.window(MESSAGE_TITLE, timeout=timeout)
        return box, message_text(box)


class Desktop:
    """Xvfb, D-Bus and a fresh home; the programs started in it are ended with it.
    A case class whose desktop has window_manager set gets Openbox too."""

    window_manager = False

    def __init__(self):
        global _desktop_made
        if _desktop_made:
            raise RuntimeError("one desktop per process: libatspi cannot change buses")
        _desktop_made = True
        if not os.access(PROGRAM, os.X_OK):
            raise RuntimeError(f"QUENDRIL_PROGRAM is not a program: {PROGRAM!r}")
        if not CAPTION or not MESSAGE_TITLE:
            raise RuntimeError("QUENDRIL_CAPTION and QUENDRIL_TITLE name the program's windows")
        if not SITE_ROOT or not DEFAULT_SITE_ROOT:
            raise RuntimeError("QUENDRIL_SITE_ROOT and QUENDRIL_DEFAULT_SITE_ROOT name the site's address")
        self._folders = harness.Folders("quendril-e2e-")
        self.root = self._folders.root
        self.home = self._folders.home
        self.config = self._folders.config
        self.runtime = self._folders.runtime
        self.record = self._folders.record
        self.programs = []
        self._server = None
        self._dbus = None
        self._window_manager = None
        try:
            self._start_display()
            if self.window_manager:
                self._window_manager = harness.start_window_manager(self.root, self._environment())
            self._start_dbus()
            self._connect_accessibility()
        except BaseException:
            self.close()
            raise

    # Setting up ---------------------------------------------------------------

    def _start_display(self):
        self._start_x()
        _give_keys_to(self.display, EXTRA_KEYSYMS)

    def _display_environment(self):
        return {"DISPLAY": self.display, "QT_QPA_PLATFORM": "xcb"}

    def _start_x(self):
        numbers = harness.display_numbers("e2e", DISPLAYS)
        self._server, self.display = harness.start_x(self.root, numbers, f"{SCREEN[0]}x{SCREEN[1]}x24")

    def _environment(self):
        env = self._folders.environment()
        env.update(self._display_environment())
        return env

    def _start_dbus(self):
        self._dbus, self.bus = harness.start_dbus(self._environment())

    def _connect_accessibility(self):
        global _connected
        env = self.environment()
        for key in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            if key in env:
                os.environ[key] = env[key]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        # Qt joins the accessibility bus only once it is there: start it now.
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                        "org.a11y.Bus.GetAddress"], env=env, check=True, capture_output=True, timeout=20)
        from gi.repository import Atspi

        _connected = True
        self.Atspi = Atspi
        self.registry = pyatspi.Registry
        # Calls wait long enough for a busy machine; presses set their own.
        Atspi.set_timeout(*CALL_TIMEOUT)

    def environment(self):
        env = self._environment()
        env["DBUS_SESSION_BUS_ADDRESS"] = self.bus
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        if SCALE != 1:
            env["QT_SCALE_FACTOR"] = f"{SCALE:g}"
        if THEME == "dark":
            env["QT_QPA_PLATFORMTHEME"] = "gtk3"
            env["GTK_THEME"] = "Adwaita:dark"
        return env

    # Programs -----------------------------------------------------------------

    def start(self, faketime=None, arguments=()):
        """Starts a copy of the program with these arguments; faketime is
        libfaketime's FAKETIME."""
        env = self.environment()
        if faketime:
            env["LD_PRELOAD"] = faketime_library()
            env["FAKETIME"] = faketime
            env["FAKETIME_DONT_FAKE_MONOTONIC"] = "1"
        log = os.path.join(self.root, f"program-{len(self.programs)}.log")
        with open(log, "w") as out:
            process = subprocess.Popen([PROGRAM, *arguments], env=env, stdout=out, stderr=subprocess.STDOUT, cwd=self.home)
        self.programs.append(Program(self, process, log))
        return self.programs[-1]

    def settings_file(self):
        return os.path.join(self.config, "quendril", "quendril.conf")

    def opened(self):
        """Every call of the browser stand-in so far: a list of argument lists."""
        return harness.opened(self.record)

    def wait_opened(self, count, timeout=WAIT):
        """Waits until the browser has been called count times in all, and gives those calls."""
        calls = wait_until(f"{count} browser call(s), have {len(self.opened())}",
                           lambda: len(self.opened()) >= count and self.opened(), timeout)
        return calls

    # Ending -----------------------------------------------------------------

    def close(self):
        for program in self.programs:
            program.stop()
        # The bus and the accessibility services it started share its group.
        for process in (self._dbus, self._window_manager, self._server):
            harness.end(process)
        self._folders.remove()

    # Screen -------------------------------------------------------------------

    def screenshot(self, box=None):
        """The screen, or the part of it in box (x, y, w, h), as a Picture."""
        crop = ["-crop", "{2}x{3}+{0}+{1}".format(*box), "+repage"] if box else []
        ppm = subprocess.run(["/usr/bin/import", "-display", self.display, "-window", "root", *crop, "-depth", "8",
                              "ppm:-"], check=True, capture_output=True).stdout
        return Picture.from_ppm(ppm)

    def save_screen(self, path):
        subprocess.run(["/usr/bin/import", "-display", self.display, "-window", "root", path], check=True,
                       capture_output=True)

    def keep_screenshot(self, frame, file_name):
        """Saves the window's picture among the build's test artifacts."""
        if not ARTIFACTS:
            return None
        os.makedirs(ARTIFACTS, exist_ok=True)
        x, y, w, h = extents(frame)
        path = os.path.join(ARTIFACTS, VARIANT + file_name)
        subprocess.run(["/usr/bin/import", "-display", self.display, "-window", "root", "-crop",
                        f"{w}x{h}+{x}+{y}", "+repage", path], check=True, capture_output=True)
        return path

    # Keyboard and mouse ---------------------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True,
                              env=self.environment()).stdout

    def x_window(self, program, frame):
        """The X window that shows this top-level accessible: at its place and
        size, or under a window manager, which may report a framed window's
        place off by its frame, the one window of its size."""
        seen = [None]

        def match():
            # Read each time: a window just shown, as a message box, may still
            # have Qt's first size of 100 x 30 and get its own a moment later.
            seen[0] = want = extents(frame)
            windows = harness.x_windows(self.environment(), pid=program.pid)
            if self.window_manager:
                sized = [wid for wid, *box in windows if same_box(box[2:], want[2:])]
                return sized[0] if len(sized) == 1 else None
            for wid, *box in windows:
                if same_box(box, want):
                    return wid
            return None

        return wait_until(lambda: f"the X window of {frame.name!r} at {seen[0]}", match)

    def xdotool_stacking(self):
        """The window manager's record of the client windows, bottom to top."""
        out = _run("xprop", "-display", self.display, "-root", "_NET_CLIENT_LIST_STACKING", check=False)
        return [int(word, 16) for word in re.findall(r"0x[0-9a-fA-F]+", out)]

    def window_geometry(self, wid):
        values = dict(line.split("=", 1) for line in self.xdotool("getwindowgeometry", "--shell", wid).split())
        return (int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def focus(self, program, frame):
        """Raises the window and gives it the keyboard: with no window manager
        nobody hands the focus back after a message box has closed; a window
        manager is asked to activate it."""
        if has_state(frame, "ACTIVE"):
            return
        harness.give_keyboard(self.x_window(program, frame), self.environment(), bool(self.window_manager))
        wait_until(f"{frame.name!r} to become active", lambda: has_state(frame, "ACTIVE"))

    def type(self, program, frame, text):
        self.focus(program, frame)
        self.xdotool("type", "--delay", "25", text)

    def key(self, program, frame, *keys):
        self.focus(program, frame)
        self.xdotool("key", "--delay", "25", *keys)

    def click(self, accessible):
        """A real left click in the middle of the accessible."""
        x, y, w, h = extents(accessible)
        # No --sync: it waits in vain when the pointer is already there.
        self.xdotool("mousemove", str(x + w // 2), str(y + h // 2), "click", "1")

    def send_close(self, program, frame):
        """Asks the window to close, as the close box of its title bar does."""
        wid = int(self.x_window(program, frame))
        _send_delete_window(self.display, wid)

    def x_property(self, program, frame, name):
        wid = self.x_window(program, frame)
        return _run("xprop", "-display", self.display, "-id", wid, name)


# Reading the accessibility tree ------------------------------------------------

def showing(accessible):
    return has_state(accessible, "SHOWING")


def has_state(accessible, state):
    return accessible.getState().contains(getattr(pyatspi, "STATE_" + state))


def unscaled_extents(accessible):
    """Left, top, width and height in Qt's scaled-down pixels, as the
    accessibility tree reports them."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def extents(accessible):
    """Left, top, width and height on the screen, in the screen's pixels:
    X, screenshots and xdotool count the screen's own."""
    return tuple(round(v * SCALE) for v in unscaled_extents(accessible))


def children(accessible):
    return [c for c in accessible if c is not None]


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


# What AT-SPI calls a plain QFrame (a designed panel, a line): a frame with
# Qt 6.4, a panel with Qt 6.8, which gives QFrame another accessible role.
# A role given as a set matches any of its roles.
QFRAME = frozenset({ROLE_FRAME, ROLE_PANEL})


def has_role(accessible, role):
    """Whether the accessible has this role (a pyatspi ROLE_ constant), or one of this set of roles."""
    got = accessible.getRole()
    return got in role if isinstance(role, frozenset) else got == role


def role_text(role):
    """A role, or set of roles, as its constants' names read: ROLE_FRAME or ROLE_PANEL."""
    roles = sorted(role, key=int) if isinstance(role, frozenset) else [role]
    return " or ".join(str(pyatspi.Role(int(r))) for r in roles)


def find_all(root, role=None, name=None, description=None, only_showing=True):
    found = []
    for acc in descendants(root):
        if role is not None and not has_role(acc, role):
            continue
        if name is not None and acc.name != name:
            continue
        if description is not None and acc.description != description:
            continue
        if only_showing and not showing(acc):
            continue
        found.append(acc)
    return found


def find(root, role=None, name=None, description=None, only_showing=True):
    """The one control with this role, name or description; fails unless exactly one."""
    found = find_all(root, role, name, description, only_showing)
    if len(found) != 1:
        wanted = None if role is None else role_text(role)
        raise AssertionError(f"{len(found)} controls with role={wanted} name={name!r} "
                             f"description={description!r} in {root.name!r}")
    return found[0]


def text(accessible):
    """What a screen reader reads as the control's text: the text of an edit
    box, the name of anything else."""
    try:
        return accessible.queryText().getText(0, -1)
    except NotImplementedError:
        return accessible.name


def message_text(box):
    """The text of a message box: its labels, without the icon."""
    labels = [c.name for c in find_all(box, role=ROLE_LABEL) if c.name]
    return "\n".join(labels)


def press(accessible, action="Press"):
    """Runs the control's action. A command that opens a modal box answers only
    when the box has closed, so the call waits briefly and moves on."""
    from gi.repository import Atspi, GLib

    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise AssertionError(f"{accessible.name!r} has no action {action!r}, only {names}")
    Atspi.set_timeout(*PRESS_TIMEOUT)
    try:
        actions.doAction(names.index(action))
    except GLib.Error as error:
        if "NoReply" not in str(error) and "imeout" not in str(error) and "reply" not in str(error):
            raise
    finally:
        Atspi.set_timeout(*CALL_TIMEOUT)


def faketime_library():
    found = sorted(glob.glob("/usr/lib/*/faketime/libfaketime.so.1") + glob.glob("/usr/lib/faketime/libfaketime.so.1"))
    if not found:
        raise RuntimeError("libfaketime is not installed (Debian package faketime)")
    return found[0]


# X client message for the close box ------------------------------------------

class _XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


# Letters the cases type that the server's US keymap has no key for, as
# (lower case, upper case) keysyms: ü.
EXTRA_KEYSYMS = [(0x00FC, 0x00DC)]


def _give_keys_to(display_name, keysyms):
    """Maps each pair of keysyms to a spare keycode before any program starts.
    Otherwise xdotool remaps a key for each such letter while typing, and a
    busy program may read the key after the map has changed back."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
    x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
    x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                           ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
    x11.XFree.argtypes = [ctypes.c_void_p]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError(f"cannot open display {display_name}")
    try:
        low, high, per_key = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
        count = high.value - low.value + 1
        table = x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per_key))
        spare = [low.value + i for i in range(count)
                 if all(table[i * per_key.value + j] == 0 for j in range(per_key.value))]
        x11.XFree(table)
        if len(spare) < len(keysyms):
            raise RuntimeError("no spare keycodes on the X server")
        for pair, keycode in zip(keysyms, reversed(spare)):
            x11.XChangeKeyboardMapping(display, keycode, len(pair), (ctypes.c_ulong * len(pair))(*pair), 1)
        x11.XSync(display, 0)
    finally:
        x11.XCloseDisplay(display)


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def _send_delete_window(display_name, window):
    """Sends WM_DELETE_WINDOW, which a window manager sends when the user
    presses a window's close box."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_XEvent)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError(f"cannot open display {display_name}")
    try:
        event = _XEvent()
        event.xclient.type = 33  # ClientMessage
        event.xclient.window = window
        event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", False)
        event.xclient.format = 32
        event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", False)
        event.xclient.data[1] = 0  # CurrentTime
        if not x11.XSendEvent(display, window, False, 0, ctypes.byref(event)):
            raise RuntimeError("XSendEvent failed")
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)
