"""The program's life from start to end: the other-copy guard, the stored
date and the update reminder, and every way out through the exit screen."""

import os

from pyatspi import ROLE_FRAME, ROLE_MENU_ITEM, ROLE_PUSH_BUTTON

import desktop as d
import harness
from desktop import find, page, press, text, wait_until
from e2e_case import INFORMATION, Case

# The settings store keeps key and value shifted by three character codes.
STORED_KEY = "Gxudwlrq"  # "Duration"


class Life(Case):
    def stored(self):
        """The date the settings file holds, unscrambled; the file holds nothing else."""
        path = self.desktop.settings_file()
        if not os.path.exists(path):
            return None
        with open(path, encoding="latin-1") as f:
            lines = [line.strip() for line in f if line.strip()]
        self.assertEqual(lines[0], "[Settings]")
        self.assertEqual(len(lines), 2, lines)
        self.assertEqual(lines[1].partition("=")[0], STORED_KEY)
        return harness.stored_date(path)

    def test_second_copy_refused(self):
        first, main = self.start()
        second = self.desktop.start()
        box, _ = second.message_box()
        self.assertEqual(second.windows(), [box], "the second copy shows no window of its own")
        self.expect_message(second, "Application is already running")
        self.assertEqual(second.wait_exit(), 0)
        self.assertTrue(first.running())
        self.assertEqual(first.windows(), [main])
        # The first copy still works.
        result = self.find_object(first, main, "123456789")
        self.assertEqual(self.reading(result)[0], "49")

    def test_standard_qt_options(self):
        # Qt's own options reach Qt, as in any Qt program, and the program
        # starts: -reverse lays the menu bar out from the right, and the style
        # sheet paints the buttons. (No theme plugin of that name is needed.)
        sheet = os.path.join(self.desktop.root, "buttons.qss")
        with open(sheet, "w") as f:
            f.write("QPushButton { background: rgb(0, 160, 0); border: none; }\n")
        program, main = self.start(arguments=["-reverse", "-stylesheet", sheet, "-platformtheme", "gtk3"])
        file_menu, help_menu = (find(main, role=ROLE_MENU_ITEM, name=name) for name in ("File", "Help"))
        self.assertGreater(d.extents(file_menu)[0], d.extents(help_menu)[0], "File lies right of Help")
        x, y, w, h = d.extents(find(main, role=ROLE_PUSH_BUTTON, name="Find Object"))
        self.assertEqual(self.desktop.screenshot((x, y, w, h)).main_colour((0, 0, w, h)), (0, 160, 0))
        self.assertEqual(self.message_boxes(program), [])

    def test_first_run_stores_the_date_scrambled(self):
        self.assertIsNone(self.stored())
        program, main = self.start(faketime="@2024-03-01 12:00:00")
        self.assertEqual(self.message_boxes(program), [], "no reminder at the first run")
        self.assertEqual(self.stored(), "1 Mar 2024")
        with open(self.desktop.settings_file(), encoding="latin-1") as f:
            self.assertNotIn("Duration", f.read())

    def test_update_reminder(self):
        def run(day):
            return self.desktop.start(faketime=f"@{day} 12:00:00")

        def no_reminder(day, stored):
            program = run(day)
            program.window(role=ROLE_FRAME)  # the reminder would come before the main window
            self.assertEqual(self.message_boxes(program), [], f"no reminder on {day}")
            self.assertEqual(self.stored(), stored)
            program.stop()

        def reminder(day, answer, stored, try_to_leave=False):
            before = (self.stored(), self.desktop.opened())
            program = run(day)
            box, _ = program.message_box()
            self.assertEqual(program.windows(), [box], "the question comes before the main window")
            self.assertTrue(self.has_icon_colour(box, INFORMATION), "the information icon")
            if try_to_leave:
                # The question needs an answer: Esc and its close box leave it up,
                # unanswered. A Tab taken after each moves the focus on.
                buttons = {name: find(box, role=ROLE_PUSH_BUTTON, name=name) for name in ("Yes", "No")}

                def still_up_after(what, focused):
                    wait_until(f"{what} taken", lambda: not self.message_boxes(program)
                               or d.has_state(buttons[focused], "FOCUSED"))
                    self.assertEqual(self.message_boxes(program), [box], f"{what} leaves the question up")

                # The window manager is offered no close box: the Motif hints list
                # the window's functions, and closing is not among them.
                hints = self.desktop.x_property(program, box, "_MOTIF_WM_HINTS").partition("=")[2]
                flags, functions = (int(value, 16) for value in hints.split(",")[:2])
                self.assertTrue(flags & 0x1 and not functions & 0x20, f"a close box in the hints {hints}")
                self.desktop.key(program, box, "Escape", "Tab")
                still_up_after("Esc", "No")
                self.desktop.send_close(program, box)
                self.desktop.xdotool("key", "Tab")
                still_up_after("the close box", "Yes")
                self.assertEqual((self.stored(), self.desktop.opened()), before, "nothing done before the answer")
            self.expect_message(program, "There maybe an update to this software available\n"
                                "Do you want to check for an update?", answer=answer, buttons=("Yes", "No"))
            program.window(role=ROLE_FRAME)
            self.assertEqual(self.stored(), stored)
            program.stop()

        no_reminder("2024-03-01", "1 Mar 2024")
        no_reminder("2024-03-15", "1 Mar 2024")  # 14 days later
        reminder("2024-03-16", "No", "16 Mar 2024")  # 15 days later
        self.assertEqual(self.desktop.opened(), [], "No opens nothing")
        no_reminder("2024-03-30", "16 Mar 2024")  # the 14 days count from the last reminder
        reminder("2024-03-31", "Yes", "31 Mar 2024", try_to_leave=True)
        self.assertEqual(self.desktop.wait_opened(1), [[page("download-web-page")]])
        reminder("2024-03-16", "No", "16 Mar 2024")  # a clock set back by 15 days
        self.assertEqual(self.desktop.opened(), [[page("download-web-page")]])

    def assert_on_top(self, program, screen):
        state = self.desktop.x_property(program, screen, "_NET_WM_STATE")
        self.assertIn("_NET_WM_STATE_ABOVE", state)

    def test_exit_from_the_main_window(self):
        program, main = self.start()
        press(find(main, role=ROLE_MENU_ITEM, name="Exit", only_showing=False))
        screen = self.exit_screen(program)
        self.assert_on_screen(program, screen)
        self.assert_on_top(program, screen)
        press(find(screen, role=ROLE_PUSH_BUTTON, name="Exit"))
        self.assert_ended(program)

    def test_menu_items_that_leave_a_window_and_the_close_box(self):
        # A screen reader or voice control finds a menu item by its name in the
        # whole program and presses it with the menu closed. With the menus
        # closed no item is showing, in any window, so only the items of the
        # window on the screen may be enabled; a hidden window keeps its own.
        program, main = self.start()

        def command(name):
            items = [item for item in d.find_all(program.app, role=ROLE_MENU_ITEM, name=name, only_showing=False)
                     if d.has_state(item, "ENABLED")]
            self.assertEqual(len(items), 1, f"{len(items)} menu items {name!r} can be pressed")
            return items[0]

        def find_object():
            press(command("Find Object"))
            wait_until("the main window to hide", lambda: not d.showing(main))
            result = program.window(role=ROLE_FRAME)
            self.assert_on_screen(program, result)
            return result

        self.type_number(program, main, "123456789")
        find_object()
        press(command("Back"))
        wait_until("Back to the main window", lambda: program.windows() == [main])
        self.assert_on_screen(program, main)
        find_object()
        press(command("Exit"))
        screen = self.exit_screen(program)
        self.assert_on_screen(program, screen)
        self.assert_on_top(program, screen)
        enabled = [item.name for item in d.find_all(program.app, role=ROLE_MENU_ITEM, only_showing=False)
                   if d.has_state(item, "ENABLED")]
        self.assertEqual(enabled, [], "the hidden main window offers no commands")
        # Closing the exit screen from its title bar ends the program as its Exit does.
        self.desktop.send_close(program, screen)
        self.assert_ended(program)

    def test_close_box_of_the_main_window(self):
        program, main = self.start()
        self.desktop.send_close(program, main)
        screen = self.exit_screen(program)
        self.assert_on_top(program, screen)
        self.desktop.key(program, screen, "alt+x")
        self.assert_ended(program)

    def test_keyboard_only(self):
        # A whole run with the keyboard alone: a reading, Back, another
        # reading, Esc, a referral through the tab order, and Alt+X.
        program, main = self.start()
        result = self.find_object(program, main, "123456789")
        self.desktop.key(program, result, "alt+b")
        wait_until("Back to the main window", lambda: d.showing(main))
        self.desktop.key(program, main, "BackSpace")
        result = self.find_object(program, main, "7")
        self.assertEqual(self.reading(result)[0], "47")
        self.desktop.key(program, result, "Escape")  # Esc presses Exit, not Back
        screen = self.exit_screen(program)
        self.assertFalse(d.showing(main))
        # From Exit the tab order runs: the check box, your name, submit,
        # your e-mail, your friend's e-mail, your friend's name.
        keys = self.desktop.key
        keys(program, screen, "Tab", "Tab")
        self.desktop.xdotool("type", "--delay", "25", " Tom & Jerry ")
        keys(program, screen, "Tab", "Tab")
        self.desktop.xdotool("type", "--delay", "25", "tom@cartoon.example")
        keys(program, screen, "Tab")
        self.desktop.xdotool("type", "--delay", "25", "jerry=1@mouse.example")
        keys(program, screen, "Tab")
        self.desktop.xdotool("type", "--delay", "25", "J\u00fcrgen #1")
        friend = find(screen, name="Friend's name")
        wait_until(lambda: f"the friend's name typed, not {text(friend)!r}",
                   lambda: text(friend) == "J\u00fcrgen #1")
        keys(program, screen, "alt+n")
        self.assertEqual(self.desktop.wait_opened(1), [[
            page("zorq-refer-a-friend") + "&taf1=Tom%20%26%20Jerry&taf2=tom@cartoon.example"
            "&taf3=Your%20Message%0D%0A&taf4=J%C3%BCrgen%20%231&taf5=jerry%3D1@mouse.example"
            "&taf6=" + d.SITE_ROOT + "/vasq-free-quendril/"]])
        keys(program, screen, "alt+x")
        self.assert_ended(program)
