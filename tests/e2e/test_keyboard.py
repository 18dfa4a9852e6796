"""Every command of every window reached from the keyboard alone, with real
keys only: the access keys of the buttons and menus, the Tab order of each
window, and what Enter and Esc press."""

from pyatspi import ROLE_DIALOG, ROLE_FRAME

import desktop as d
from desktop import page, wait_until
from e2e_case import Case

REFERRAL = page("zorq-refer-a-friend") + (
    "&taf1=Ann&taf2=ann@a.example&taf3=Hi%20Your%20Message%0D%0A&taf4=Bob&taf5=bob@b.example"
    f"&taf6={d.SITE_ROOT}/vasq-free-quendril/")


class Keyboard(Case):
    # Keys ---------------------------------------------------------------------

    def keys(self, program, window, *keys, delay=25):
        """Real keys to the window, which is given the keyboard first. A menu
        opened by one key takes the next after a longer pause (delay, ms)."""
        self.desktop.focus(program, window)
        self.desktop.xdotool("key", "--delay", str(delay), *keys)

    def type(self, program, window, text):
        self.desktop.focus(program, window)
        self.desktop.xdotool("type", "--delay", "20", text)

    # What the keys do -----------------------------------------------------

    def opens(self, name, program, window, *keys, delay=25):
        """The keys open exactly one page, and it is this one."""
        before = len(self.desktop.opened())
        self.keys(program, window, *keys, delay=delay)
        calls = self.desktop.wait_opened(before + 1)
        self.assertEqual(calls[before:], [[page(name)]], f"{' '.join(keys)} should open {name}")

    def entry_message(self, program, main, *keys, delay=25):
        """The keys run Find Object on the empty entry: its message, which Enter closes."""
        self.keys(program, main, *keys, delay=delay)
        box, _ = program.message_box()
        self.keys(program, box, "Return")
        wait_until("Enter to close the message box", lambda: not self.message_boxes(program))

    def about(self, program, owner, close):
        """Alt+H A opens the about box, and the key close closes it."""
        self.keys(program, owner, "alt+h", "a", delay=120)
        about = program.window(role=ROLE_DIALOG)
        self.keys(program, about, close)
        wait_until(f"{close} to close the about box", lambda: not program.windows_titled(role=ROLE_DIALOG))

    def to_result(self, program, main, *keys, delay=25):
        """The keys show the reading, in place of the main window."""
        self.keys(program, main, *keys, delay=delay)
        wait_until(f"{' '.join(keys)} to close the main window", lambda: not d.showing(main))
        return program.window(role=ROLE_FRAME)

    def to_main(self, program, result, *keys, delay=25):
        """The keys bring back the main window, in place of the result window."""
        self.keys(program, result, *keys, delay=delay)
        wait_until(f"{' '.join(keys)} to close the result window", lambda: not d.showing(result))
        return program.window(role=ROLE_FRAME)

    def ends(self, program):
        self.assertEqual(program.wait_exit(), 0)

    def with_reading(self):
        program, main = self.start()
        self.type(program, main, "123456789")
        return program, self.to_result(program, main, "Return")

    # Cases ----------------------------------------------------------------------

    def test_main_window_by_keyboard(self):
        program, main = self.start()
        self.entry_message(program, main, "Return")
        self.entry_message(program, main, "Escape")
        # Tab order: the entry box, Find Object, Exit.
        self.entry_message(program, main, "Tab", "space")
        # Alt+F names both the File menu and the Find Object button, and Qt
        # takes turns between the two on repeated presses; the File menu is
        # reached without that guess from the Help menu, one to the left.
        self.entry_message(program, main, "alt+h", "Left", "f", delay=120)
        self.opens("help-web-page", program, main, "alt+h", "o", delay=120)
        self.opens("home-page", program, main, "alt+h", "v", delay=120)
        self.opens("download-web-page", program, main, "alt+h", "u", delay=120)
        self.opens("donate", program, main, "alt+d")
        # The page asked for after Alt+O shows that the program has taken the
        # key, and that it left the switched-off Make Money Online alone.
        before = len(self.desktop.opened())
        self.keys(program, main, "alt+o")
        self.opens("donate", program, main, "alt+d")
        self.assertEqual(len(self.desktop.opened()), before + 1, "Make Money Online should stay switched off")
        self.about(program, main, "Return")
        self.about(program, main, "Escape")
        self.about(program, main, "alt+o")

    def test_result_window_by_keyboard(self):
        program, result = self.with_reading()
        self.opens("help-web-page", program, result, "alt+h", "o", delay=120)
        self.opens("home-page", program, result, "alt+h", "v", delay=120)
        self.opens("download-web-page", program, result, "alt+h", "c", delay=120)
        self.opens("donate", program, result, "alt+d")
        self.about(program, result, "Escape")
        main = self.to_main(program, result, "alt+b")
        result = self.to_result(program, main, "Escape")
        main = self.to_main(program, result, "alt+f", "b", delay=120)
        result = self.to_result(program, main, "alt+h", "Left", "f", delay=120)
        # Tab order: Exit has the focus, Back comes next.
        main = self.to_main(program, result, "Tab", "space")
        result = self.to_result(program, main, "Return")
        self.keys(program, result, "Tab", "Tab", "Return")
        self.exit_screen(program)

    def test_exit_screen_by_keyboard(self):
        program, result = self.with_reading()
        self.keys(program, result, "Tab", "Tab", "Return")
        screen = self.exit_screen(program)
        # Tab order: Exit, the check box, your name, submit, your e-mail,
        # friend's e-mail, friend's name, the message box, and round to Exit.
        self.opens("home-page", program, screen, "Tab", "space")
        self.opens("home-page", program, screen, "space")
        for keys, typed in ((["Tab"], "Ann"), (["Tab", "Tab"], "ann@a.example"), (["Tab"], "bob@b.example"),
                            (["Tab"], "Bob"), (["Tab"], "Hi ")):
            self.keys(program, screen, *keys)
            self.type(program, screen, typed)
        before = len(self.desktop.opened())
        self.keys(program, screen, "alt+n")
        # Alt+N sends the boxes filled in Tab order.
        self.assertEqual(self.desktop.wait_opened(before + 1)[before:], [[REFERRAL]])
        # From the message box Tab leads round to Exit.
        self.keys(program, screen, "Tab", "space")
        self.ends(program)

    def test_every_way_out_by_keyboard(self):
        ways = [
            ("Alt+E in the main window", ("alt+e",), 25, False, ("alt+x",)),
            # Space on the exit screen presses Exit, which has the focus.
            ("File, Exit in the main window", ("alt+h", "Left", "x"), 120, False, ("space",)),
            ("Tab Tab Space in the main window", ("Tab", "Tab", "space"), 25, False, ("alt+x",)),
            ("Alt+E in the result window", ("alt+e",), 25, True, ("alt+x",)),
            ("File, Exit in the result window", ("alt+f", "x"), 120, True, ("alt+x",)),
        ]
        for what, keys, delay, from_result, leave in ways:
            with self.subTest(way=what):
                if from_result:
                    program, window = self.with_reading()
                else:
                    program, window = self.start()
                self.keys(program, window, *keys, delay=delay)
                screen = self.exit_screen(program)
                self.keys(program, screen, *leave)
                self.ends(program)
