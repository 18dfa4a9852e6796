"""The base of every end-to-end case: a private desktop and the steps that
many cases take (typing a number, answering a message box, reaching the exit
screen)."""

import os
import unittest

from pyatspi import ROLE_ALERT, ROLE_FRAME, ROLE_IMAGE, ROLE_PUSH_BUTTON, ROLE_TEXT

import desktop as d
from desktop import CAPTION, MESSAGE_TITLE, find, press, text, wait_until

ENTRY = "Nine-digit number"
DAMAGED = "It may not be found and even if it is found it will be badly damaged."


# The colour that marks each message icon: the information icon is blue, the
# stop icon red. Qt draws them in pure blue and red up to Qt 6.4, and in a
# lighter blue (70, 162, 218) and a deeper red (228, 30, 37) in Qt 6.8.
def information_blue(rgb):
    red, green, blue = rgb
    return blue >= 150 and blue - red >= 100 and blue - green >= 40


def stop_red(rgb):
    red, green, blue = rgb
    return red >= 150 and red - green >= 100 and red - blue >= 100


INFORMATION, STOP = information_blue, stop_red


class Case(unittest.TestCase):
    maxDiff = None
    # The desktop each case runs on: X11 unless a case class says otherwise.
    desktop_class = d.Desktop

    def setUp(self):
        self.desktop = self.desktop_class()
        self.addCleanup(self.desktop.close)
        self.addCleanup(self._keep_screen_on_failure)

    def _keep_screen_on_failure(self):
        result = getattr(self._outcome, "result", None)
        # A failed subtest stands for its case in the result.
        failed = result is not None and any(getattr(test, "test_case", test) is self
                                            for test, _ in result.failures + result.errors)
        if failed and d.ARTIFACTS:
            os.makedirs(d.ARTIFACTS, exist_ok=True)
            path = os.path.join(d.ARTIFACTS, f"failed-{d.VARIANT}{self._testMethodName}.png")
            try:
                self.desktop.save_screen(path)
            except Exception as error:  # the screen may be gone with what failed
                print(f"no screenshot of the failure: {error}")
            for name in sorted(os.listdir(self.desktop.root)):
                if name.endswith(".log"):
                    with open(os.path.join(self.desktop.root, name)) as log:
                        content = log.read().strip()
                    if content:
                        print(f"--- {name}\n{content}")

    # Starting ---------------------------------------------------------------

    def start(self, faketime=None, arguments=()):
        """Starts the program and waits for its main window."""
        program = self.desktop.start(faketime, arguments)
        main = program.window(role=ROLE_FRAME)
        return program, main

    # The main and the result window ---------------------------------------

    def entry(self, main):
        return find(main, role=ROLE_TEXT, name=ENTRY)

    def clear_entry(self, program, main):
        self.desktop.key(program, main, "End", "shift+Home", "BackSpace")
        wait_until("an empty entry box", lambda: text(self.entry(main)) == "")

    def type_number(self, program, main, number):
        """Types into the entry box with real keys; the box then holds exactly what was typed."""
        entry = self.entry(main)
        before = text(entry)
        if not number:
            return
        self.desktop.type(program, main, number)
        wait_until(f"{before + number!r} in the entry box", lambda: text(entry) == before + number)

    def find_object(self, program, main, number):
        """Types the number, presses Enter and gives the result window."""
        self.type_number(program, main, number)
        self.desktop.key(program, main, "Return")
        wait_until("the main window to hide", lambda: not d.showing(main))
        return program.window(role=ROLE_FRAME)

    def reading(self, result):
        return (text(find(result, description="Reading number")), text(find(result, description="Reading")))

    # Message boxes ------------------------------------------------------------

    def expect_message(self, program, message, answer="OK", buttons=("OK",), icon=INFORMATION):
        """Waits for a message box with exactly this text, icon and buttons,
        answers it and waits until it has gone."""
        box, shown = program.message_box()
        self.assertEqual(shown, message)
        self.assertEqual(box.getRole(), ROLE_ALERT)
        self.assertTrue(self.has_icon_colour(box, icon), f"the icon of {message!r} is drawn in {icon.__name__}")
        names = sorted(b.name for b in d.find_all(box, role=ROLE_PUSH_BUTTON))
        self.assertEqual(names, sorted(buttons))
        press(find(box, role=ROLE_PUSH_BUTTON, name=answer))
        wait_until(f'the message "{message}" to go', lambda: not self.message_boxes(program))
        return box

    def has_icon_colour(self, box, marks):
        """Whether the box's icon is drawn in the colour that marks it (INFORMATION or STOP)."""
        icon = find(box, role=ROLE_IMAGE)

        def marked():
            colours = self.desktop.screenshot(d.extents(icon)).colours()
            return sum(count for colour, count in colours.items() if marks(colour)) >= 20

        return wait_until(f"the {marks.__name__} colour in the message icon", marked)

    def message_boxes(self, program):
        return program.windows_titled(MESSAGE_TITLE)

    # The end ------------------------------------------------------------------

    def exit_screen(self, program):
        """Waits until the exit screen is the program's only window on the screen."""

        def alone():
            shown = program.windows()
            return shown[0] if len(shown) == 1 and find_name(shown[0], "Refer A Friend") else None

        screen = wait_until("the exit screen alone on the screen", alone)
        self.assertEqual(screen.name, CAPTION)
        return screen

    def assert_on_screen(self, program, *windows):
        """Waits until exactly these windows of the program are on the X
        screen, each where the accessibility tree places it: a window that
        reads as hidden but is still drawn is caught here."""

        def viewable():
            return sorted(tuple(box) for _, *box in d.harness.x_windows(self.desktop.environment(), pid=program.pid))

        wanted = sorted(d.extents(window) for window in windows)
        wait_until(lambda: f"X windows at {wanted}, have {viewable()}", lambda: viewable() == wanted)

    def assert_ended(self, program, status=0):
        self.assertEqual(program.wait_exit(), status)


def find_name(root, name):
    return d.find_all(root, name=name)
