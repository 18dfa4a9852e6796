"""The program natively on a Wayland desktop (Qt's wayland platform under
Weston's headless compositor), driven through the accessibility interface:
a reading and Back, a refused entry, the about box, a page link and the end.
Neither Qt's Wayland platform nor the program warns of anything on the
error output."""

from pyatspi import ROLE_DIALOG, ROLE_FRAME, ROLE_MENU_ITEM, ROLE_PUSH_BUTTON, ROLE_TEXT

import desktop as d
from desktop import find, press, text, wait_until
from e2e_case import DAMAGED, ENTRY, Case
from wayland_desktop import WaylandDesktop, set_text, wayland_warnings


class Wayland(Case):
    desktop_class = WaylandDesktop

    def assert_quiet(self, program):
        with open(program.log) as out:
            log = out.read()
        self.assertEqual(wayland_warnings(log), [], f"warnings on the error output:\n{log}")

    def test_wayland_life(self):
        program, main = self.start()
        with open(f"/proc/{program.pid}/maps") as maps:
            self.assertIn("libqwayland", maps.read(), "the program runs on Qt's wayland platform")
        entry = find(main, role=ROLE_TEXT, name=ENTRY)

        # A refused entry, then a reading and Back.
        set_text(entry, "12345678")
        press(find(main, role=ROLE_PUSH_BUTTON, name="Find Object"))
        box, message = program.message_box()
        self.assertEqual(message, "Please Enter A 9 Digit Numbers!")
        press(find(box, role=ROLE_PUSH_BUTTON, name="OK"))
        wait_until("the message to go", lambda: not self.message_boxes(program))

        set_text(entry, "123456789")
        press(find(main, role=ROLE_PUSH_BUTTON, name="Find Object"))
        wait_until("the main window to hide", lambda: not d.showing(main))
        result = program.window(role=ROLE_FRAME)
        self.assertEqual(self.reading(result), ("49", DAMAGED))
        press(find(result, role=ROLE_PUSH_BUTTON, name="Back"))
        wait_until("the main window back", lambda: d.showing(main))
        self.assertEqual(text(entry), "123456789")
        self.assertEqual(program.windows(), [main])

        # A page link hands its address to the browser.
        press(find(main, role=ROLE_MENU_ITEM, name="Online Help", only_showing=False))
        self.assertEqual(self.desktop.wait_opened(1), [[d.page("help-web-page")]])

        # The about box, modal, and back.
        press(find(main, role=ROLE_MENU_ITEM, name="About Software", only_showing=False))
        about = program.window(role=ROLE_DIALOG)
        press(find(about, role=ROLE_PUSH_BUTTON, name="OK"))
        wait_until("the about box to close", lambda: program.windows() == [main])

        # Exit: the exit screen, and its Exit ends the program with status 0.
        press(find(main, role=ROLE_PUSH_BUTTON, name="Exit"))
        screen = self.exit_screen(program)
        press(find(screen, role=ROLE_PUSH_BUTTON, name="Exit"))
        self.assert_ended(program)
        self.assert_quiet(program)
