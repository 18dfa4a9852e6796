"""The outside checks' harness: a private desktop for the real program, and
what every check reads the same way.

The end-to-end cases (tests/e2e/desktop.py) import it; the shell checks run
inside its desktop and call it for what they read:

  harness.py run [--displays ROW] [--screen WxHxD] [--window-manager] -- COMMAND...
      Starts a private desktop and runs COMMAND in it: an X server on the
      first free display of the row ROW of x_displays.txt (or of
      QUENDRIL_TEST_DISPLAYS, first-last), Openbox where asked, a D-Bus
      session bus, a throwaway HOME with fresh XDG folders and TMPDIR, and the
      browser stand-in first on the PATH. COMMAND finds the desktop in its
      environment (DISPLAY, HOME, ..., QUENDRIL_BROWSER_RECORD,
      QUENDRIL_HARNESS) and its status is the harness's; everything the
      desktop started ends with it.
  harness.py start-desktop DIR [--displays ROW] [--screen WxHxD]
  harness.py start-window-manager DIR
  harness.py stop-desktop DIR
      The same desktop's X server, browser stand-in (DIR/bin) and Openbox,
      kept running after the harness has ended, for a desktop that several
      tests share (the Wine desktop): start-desktop prints the display, and
      stop-desktop ends what the other two started.
  harness.py opened [RECORD]
      Every call of the stand-in so far, its arguments separated by spaces,
      one call a line (RECORD: QUENDRIL_BROWSER_RECORD by default).
  harness.py list FOLDER PLATFORM
      The cases of the shell and Python scripts in FOLDER for PLATFORM (linux
      or windows), as CTest takes them: each script names its own in lines
      "# CTest PLATFORM: NAME ARGUMENT...". Prints "NAME sh|py SCRIPT
      ARGUMENT..." a line; an argument may hold @name@ for a value of the build.
  harness.py window-size NAME [--menu-bar-extra N]
      A window's designed client size, WIDTHxHEIGHT, from the table the build
      makes from the Designer files (QUENDRIL_WINDOW_SIZES); N pixels are
      added to the height of the windows with a menu bar.
  harness.py windows [--title TITLE] [--pid PID]
      The visible X windows of exactly this title, of this process, or both:
      "ID X Y WIDTH HEIGHT" a line.
  harness.py give-keyboard ID
      Gives the window the keyboard, through the window manager where one runs.
  harness.py scramble TEXT
      The settings store's scrambling.
  harness.py stored-date FILE
      The date the settings file holds, unscrambled, or nothing.
"""

import argparse
import glob
import os
import re
import select
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DISPLAY_TABLE = os.path.join(HERE, "x_displays.txt")
BROWSER_STAND_IN = os.path.join(HERE, "browser_stand_in")
# The name the program, Qt and Wine start a browser by.
OPENER = "xdg-open"
SCREEN = "1280x1024x24"

# The settings store keeps key and value with every character code moved up
# by three; the date is stored under "Duration".
SETTING_SHIFT = 3
DATE_KEY = "Duration"


# Reading -----------------------------------------------------------------------

def scramble(text):
    return "".join(chr(ord(c) + SETTING_SHIFT) for c in text)


def unscramble(text):
    return "".join(chr(ord(c) - SETTING_SHIFT) for c in text)


def stored_entries(path):
    """The entries of a settings file as (section, key, value), as stored,
    in the order of the file, without the quotes that the INI writer puts
    around a value that holds one of ; , = (a scrambled 8)."""
    entries, section = [], ""
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
                continue
            key, equals, value = line.partition("=")
            if not equals:
                continue
            if len(value) >= 2 and value.startswith('"') and value.endswith('"'):
                value = value[1:-1]
            entries.append((section, key, value))
    return entries


def stored_date(path):
    """The date the settings file holds, unscrambled, or None."""
    if not os.path.exists(path):
        return None
    for section, key, value in stored_entries(path):
        if section == "Settings" and key == scramble(DATE_KEY):
            return unscramble(value)
    return None


def window_sizes(path=None):
    """The designed client size of each window, {name: (width, height,
    has_menu_bar)}, from the table the build writes from the Designer files."""
    path = path or os.environ.get("QUENDRIL_WINDOW_SIZES", "")
    if not path or not os.path.exists(path):
        raise RuntimeError(f"QUENDRIL_WINDOW_SIZES names no table of window sizes: {path!r}")
    sizes = {}
    with open(path) as f:
        for line in f:
            fields = line.split()
            if not fields or fields[0].startswith("#"):
                continue
            name, width, height, menu_bar = fields
            sizes[name] = (int(width), int(height), menu_bar == "menu-bar")
    return sizes


def install_browser_stand_in(folder):
    """Puts the browser stand-in into folder under the opener's name; gives
    the file it records into (empty)."""
    os.makedirs(folder, exist_ok=True)
    target = os.path.join(folder, OPENER)
    shutil.copyfile(BROWSER_STAND_IN, target)
    os.chmod(target, 0o755)
    record = os.path.join(folder, "opened")
    open(record, "wb").close()
    # Where a check runs the program as another user, that user records too.
    os.chmod(record, 0o666)
    return record


def opened(record):
    """Every call of the browser stand-in so far: a list of argument lists."""
    with open(record, "rb") as f:
        data = f.read()
    calls, pos = [], 0
    try:
        while pos < len(data):
            end = data.index(b"\0", pos)
            count, pos = int(data[pos:end]), end + 1
            args = []
            for _ in range(count):
                end = data.index(b"\0", pos)
                args.append(data[pos:end].decode("utf-8", "surrogateescape"))
                pos = end + 1
            if data[pos:pos + 1] != b"\n":
                break
            pos += 1
            calls.append(args)
    except ValueError:
        pass  # the last call is still being written
    return calls


# Starting a desktop ------------------------------------------------------------

def display_numbers(row=None, numbers=None):
    """The display numbers to try: numbers as first-last (or one number), or
    else the row of x_displays.txt."""
    if numbers:
        first, _, last = numbers.partition("-")
        return list(range(int(first), int(last or first) + 1))
    with open(DISPLAY_TABLE) as table:
        for line in table:
            fields = line.split()
            if len(fields) >= 3 and fields[0] == row and fields[2].isdigit():
                return list(range(int(fields[1]), int(fields[2]) + 1))
    raise RuntimeError(f'no display range "{row}" in {DISPLAY_TABLE}')


def read_line(fd, timeout, also=()):
    """One line that a child writes to the pipe fd (whose write end we have
    closed), or None when the child ends first, the time runs out, or one of
    the file descriptors also (a process's pidfd: it has ended) is ready."""
    data = b""
    deadline = time.monotonic() + timeout
    while not data.endswith(b"\n"):
        remaining = deadline - time.monotonic()
        ready = select.select([fd, *also], [], [], max(remaining, 0))[0] if remaining > 0 else []
        if fd not in ready:
            return None
        chunk = os.read(fd, 256)
        if not chunk:
            return None
        data += chunk
    return data.decode().strip()


def start_x(logs, numbers, screen=SCREEN):
    """An X server of ours on the first free display of numbers: (process,
    display name). A display is ours only once our server has written its
    number; one that another server holds is passed over."""
    for number in numbers:
        if os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        read_end, write_end = os.pipe()
        with open(os.path.join(logs, f"xvfb-{number}.log"), "w") as log:
            # -noreset: the server would otherwise reset, and refuse new
            # clients for a moment, each time its last client leaves.
            process = subprocess.Popen(
                ["Xvfb", f":{number}", "-screen", "0", screen, "-nolisten", "tcp", "-noreset",
                 "-displayfd", str(write_end)],
                pass_fds=(write_end,), stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        os.close(write_end)
        ready = read_line(read_end, 30)
        os.close(read_end)
        if ready is not None:
            return process, f":{number}"
        process.kill()
        process.wait()
    raise RuntimeError(f"no free X display in {numbers[0]}-{numbers[-1]}")


def window_manager_runs(env):
    result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True, text=True)
    return "window id" in result.stdout


def x_windows(env=None, title=None, pid=None):
    """The visible X windows, of exactly this title and of this process where
    given: (id, x, y, width, height) each. A window that goes meanwhile is
    left out."""
    env = env if env is not None else os.environ
    search = ["xdotool", "search", "--onlyvisible"]
    # xdotool takes either condition alone, not both: the process is checked after.
    search += ["--name", f"^{re.escape(title)}$"] if title is not None else ["--pid", str(pid)]
    found = []
    for wid in subprocess.run(search, env=env, capture_output=True, text=True).stdout.split():
        if title is not None and pid is not None:
            owner = subprocess.run(["xdotool", "getwindowpid", wid], env=env, capture_output=True, text=True)
            if owner.stdout.strip() != str(pid):
                continue
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid], env=env,
                                  capture_output=True, text=True)
        if geometry.returncode != 0:
            continue
        values = dict(line.split("=", 1) for line in geometry.stdout.split() if "=" in line)
        found.append((wid, int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])))
    return found


def give_keyboard(wid, env=None, window_manager=None):
    """Gives the window the keyboard: through the window manager where one
    runs, else by raising and focusing it ourselves (without one nobody hands
    the focus over). The program reads its X events in order, so keys sent
    after this reach it after the focus has."""
    env = env if env is not None else os.environ
    if window_manager is None:
        window_manager = window_manager_runs(env)
    quiet = {"env": env, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    if window_manager:
        if subprocess.run(["xdotool", "windowactivate", "--sync", wid], **quiet).returncode != 0:
            subprocess.run(["xdotool", "windowfocus", "--sync", wid], **quiet)
    else:
        subprocess.run(["xdotool", "windowraise", wid, "windowfocus", "--sync", wid], **quiet)


def start_window_manager(logs, env, timeout=30):
    """Openbox on the display of env, once it has taken the screen."""
    with open(os.path.join(logs, "openbox.log"), "w") as log:
        process = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdin=subprocess.DEVNULL, stdout=log,
                                   stderr=subprocess.STDOUT, start_new_session=True)
    deadline = time.monotonic() + timeout
    while not window_manager_runs(env):
        if process.poll() is not None or time.monotonic() > deadline:
            end(process)
            with open(os.path.join(logs, "openbox.log")) as log:
                raise RuntimeError(f"Openbox did not start:\n{log.read()}")
        time.sleep(0.05)
    return process


def start_dbus(env, timeout=30):
    """A D-Bus session bus: (process, address). The accessibility bus and
    what else it starts on demand share its process group."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["dbus-daemon", "--session", "--nofork", f"--print-address={write_end}"],
        pass_fds=(write_end,), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    os.close(write_end)
    address = read_line(read_end, timeout)
    os.close(read_end)
    if not address:
        end(process)
        raise RuntimeError("the D-Bus session bus did not start")
    return process, address


def end(process):
    """Ends a process that the harness started, and its process group."""
    if process is None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
    except ProcessLookupError:
        pass
    try:
        process.wait(5)
    except subprocess.TimeoutExpired:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        process.wait()


class Folders:
    """A throwaway home with fresh XDG folders, TMPDIR and a folder of
    programs that holds the browser stand-in."""

    def __init__(self, prefix):
        self.root = tempfile.mkdtemp(prefix=prefix)
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.home, ".config")
        self.runtime = os.path.join(self.root, "run")
        self.tmp = os.path.join(self.root, "tmp")
        self.bin = os.path.join(self.root, "bin")
        for folder in (self.home, self.config, self.tmp):
            os.makedirs(folder)
        os.mkdir(self.runtime, 0o700)
        self.record = install_browser_stand_in(self.bin)
        # A check may run the program as an unprivileged user: it reaches the
        # stand-in, and whatever the check gives it.
        os.chmod(self.root, os.stat(self.root).st_mode | stat.S_IRWXU | stat.S_IXGRP | stat.S_IXOTH)

    def environment(self):
        keep = {k: v for k, v in os.environ.items() if k in ("PATH", "LD_LIBRARY_PATH")}
        keep.update({
            "PATH": self.bin + os.pathsep + keep.get("PATH", "/usr/bin:/bin"),
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_RUNTIME_DIR": self.runtime,
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "TMPDIR": self.tmp,
            "LANG": "C.UTF-8",
        })
        return keep

    def remove(self):
        shutil.rmtree(self.root, ignore_errors=True)


# The command line --------------------------------------------------------------

def _exit_on_signal(number, _frame):
    raise SystemExit(128 + number)


def run(arguments):
    """Runs a command on a private desktop; gives its status. Ended by a
    signal, the harness ends the command and the desktop first."""
    signal.signal(signal.SIGTERM, _exit_on_signal)
    signal.signal(signal.SIGHUP, _exit_on_signal)
    folders = Folders("quendril-check-")
    started, command = [], None
    try:
        numbers = display_numbers(arguments.displays, os.environ.get("QUENDRIL_TEST_DISPLAYS"))
        server, display = start_x(folders.root, numbers, arguments.screen)
        started.append(server)
        env = dict(os.environ)
        env.update(folders.environment())
        env.update({"DISPLAY": display, "QUENDRIL_BROWSER_RECORD": folders.record,
                    "QUENDRIL_HARNESS": os.path.abspath(__file__), "QUENDRIL_DESKTOP": folders.root})
        env.pop("WAYLAND_DISPLAY", None)
        if arguments.window_manager:
            started.append(start_window_manager(folders.root, env))
        bus, address = start_dbus(env)
        started.append(bus)
        env["DBUS_SESSION_BUS_ADDRESS"] = address
        print(f"harness: desktop on {display}" + (" with Openbox" if arguments.window_manager else ""), flush=True)
        command = subprocess.Popen(arguments.command, env=env)
        return command.wait()
    finally:
        if command is not None and command.poll() is None:
            command.terminate()
            try:
                command.wait(10)
            except subprocess.TimeoutExpired:
                command.kill()
                command.wait()
        for process in reversed(started):
            end(process)
        folders.remove()


_CASE_LINE = re.compile(r"^# CTest (linux|windows): (\S+)(.*)$")


def script_cases(folder, platform):
    """The cases the scripts in folder name for platform: (name, kind,
    script, arguments)."""
    found = []
    for script in sorted(glob.glob(os.path.join(folder, "*.sh")) + glob.glob(os.path.join(folder, "*.py"))):
        with open(script) as f:
            for line in f:
                match = _CASE_LINE.match(line.rstrip("\n"))
                if match and match.group(1) == platform:
                    kind = "sh" if script.endswith(".sh") else "py"
                    found.append((match.group(2), kind, os.path.abspath(script), match.group(3).split()))
    names = [case[0] for case in found]
    twice = sorted({name for name in names if names.count(name) > 1})
    if twice:
        raise RuntimeError(f"cases named twice in {folder}: {' '.join(twice)}")
    return found


def _write(path, text):
    with open(path, "w") as out:
        out.write(text)


def start_desktop(arguments):
    folder = os.path.abspath(arguments.folder)
    os.makedirs(folder, exist_ok=True)
    numbers = display_numbers(arguments.displays, os.environ.get("QUENDRIL_TEST_DISPLAYS"))
    server, display = start_x(folder, numbers, arguments.screen)
    _write(os.path.join(folder, "x.pid"), f"{server.pid}\n")
    _write(os.path.join(folder, "display"), f"{display}\n")
    install_browser_stand_in(os.path.join(folder, "bin"))
    print(display)
    return 0


def start_detached_window_manager(arguments):
    folder = os.path.abspath(arguments.folder)
    with open(os.path.join(folder, "display")) as f:
        display = f.read().strip()
    process = start_window_manager(folder, dict(os.environ, DISPLAY=display))
    _write(os.path.join(folder, "wm.pid"), f"{process.pid}\n")
    return 0


def stop_desktop(arguments):
    """Ends the window manager and the X server that start-desktop and
    start-window-manager left running; only our own: a stale number may
    belong to another process now."""
    for name, program in (("wm.pid", "openbox"), ("x.pid", "Xvfb")):
        path = os.path.join(arguments.folder, name)
        if not os.path.exists(path):
            continue
        with open(path) as f:
            pid = int(f.read().strip() or 0)
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if program.encode() not in f.read():
                    continue
            ended = os.pidfd_open(pid)
            os.killpg(pid, signal.SIGTERM)
        except (OSError, ValueError):
            continue
        # Readable once the process has ended.
        select.select([ended], [], [], 5)
        os.close(ended)
        os.remove(path)
    return 0


def main(argv):
    parser = argparse.ArgumentParser(prog="harness.py", description=__doc__.split("\n\n")[0])
    commands = parser.add_subparsers(dest="what", required=True)
    run_parser = commands.add_parser("run")
    run_parser.add_argument("--displays", default="packaging", help="the row of x_displays.txt")
    run_parser.add_argument("--screen", default=SCREEN)
    run_parser.add_argument("--window-manager", action="store_true")
    run_parser.add_argument("command", nargs="+")
    desktop = commands.add_parser("start-desktop")
    desktop.add_argument("folder")
    desktop.add_argument("--displays", default="packaging", help="the row of x_displays.txt")
    desktop.add_argument("--screen", default=SCREEN)
    commands.add_parser("start-window-manager").add_argument("folder")
    commands.add_parser("stop-desktop").add_argument("folder")
    opened_parser = commands.add_parser("opened")
    opened_parser.add_argument("record", nargs="?", default=os.environ.get("QUENDRIL_BROWSER_RECORD"))
    listing = commands.add_parser("list")
    listing.add_argument("folder")
    listing.add_argument("platform", choices=("linux", "windows"))
    size = commands.add_parser("window-size")
    size.add_argument("name")
    size.add_argument("--menu-bar-extra", type=int, default=0)
    windows = commands.add_parser("windows")
    windows.add_argument("--title")
    windows.add_argument("--pid", type=int)
    commands.add_parser("give-keyboard").add_argument("window")
    commands.add_parser("scramble").add_argument("text")
    commands.add_parser("stored-date").add_argument("file")
    arguments = parser.parse_args(argv)

    if arguments.what == "run":
        return run(arguments)
    if arguments.what == "start-desktop":
        return start_desktop(arguments)
    if arguments.what == "start-window-manager":
        return start_detached_window_manager(arguments)
    if arguments.what == "stop-desktop":
        return stop_desktop(arguments)
    if arguments.what == "list":
        for name, kind, script, args in script_cases(arguments.folder, arguments.platform):
            print(" ".join([name, kind, script, *args]))
    elif arguments.what == "opened":
        if not arguments.record:
            parser.error("no record: QUENDRIL_BROWSER_RECORD is not set")
        for call in opened(arguments.record):
            print(" ".join(call))
    elif arguments.what == "window-size":
        width, height, menu_bar = window_sizes()[arguments.name]
        print(f"{width}x{height + (arguments.menu_bar_extra if menu_bar else 0)}")
    elif arguments.what == "windows":
        if arguments.title is None and arguments.pid is None:
            parser.error("windows: give --title, --pid or both")
        for window in x_windows(title=arguments.title, pid=arguments.pid):
            print(" ".join(str(value) for value in window))
    elif arguments.what == "give-keyboard":
        give_keyboard(arguments.window)
    elif arguments.what == "scramble":
        print(scramble(arguments.text))
    elif arguments.what == "stored-date":
        date = stored_date(arguments.file)
        if date is not None:
            print(date)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
