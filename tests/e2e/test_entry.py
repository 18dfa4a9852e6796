"""The number entry, typed with real keys: a reading, Back, and every message."""

from pyatspi import ROLE_FRAME, ROLE_MENU_ITEM, ROLE_PUSH_BUTTON

import desktop as d
from desktop import find, press, text, wait_until
from e2e_case import DAMAGED, Case


class Entry(Case):
    def test_typical_request(self):
        program, main = self.start()
        entry = self.entry(main)
        self.desktop.focus(program, main)
        self.assertTrue(d.has_state(entry, "FOCUSED"), "the entry box has the focus at start")
        result = self.find_object(program, main, "123456789")
        self.assertEqual(self.reading(result), ("49", DAMAGED))
        self.assertEqual([w.getRole() for w in program.windows()], [ROLE_FRAME], "only the result window shows")
        self.desktop.focus(program, result)
        self.assertTrue(d.has_state(find(result, role=ROLE_PUSH_BUTTON, name="Exit"), "FOCUSED"))

        press(find(result, role=ROLE_PUSH_BUTTON, name="Back"))
        wait_until("the main window back", lambda: d.showing(main))
        self.assertEqual(text(entry), "123456789")
        self.assertEqual(program.windows(), [main], "Back leaves the main window alone on the screen")

        # A second reading replaces the first one completely.
        self.desktop.key(program, main, "BackSpace")
        result = self.find_object(program, main, "8")
        self.assertEqual(self.reading(result),
                         ("48", "You will find it near the place where you keep your drinking water."))

    def test_entry_messages(self):
        program, main = self.start()
        entry = self.entry(main)
        cases = [
            ("", "Please Enter Number !"),
            ("0000", "You Can't Enter More Than Three Zeros!"),
            ("100200300", "You Can't Enter More Than Three Zeros!"),
            ("000", "Please Enter A 9 Digit Numbers!"),
            ("12345678", "Please Enter A 9 Digit Numbers!"),
            ("1234 678", "Please Enter A 9 Digit Numbers!"),
            ("111111111", "You Can't Enter Same Digit Numbers!"),
        ]
        for number, message in cases:
            with self.subTest(number=number):
                self.clear_entry(program, main)
                if number:
                    self.type_number(program, main, number)
                self.desktop.key(program, main, "Return")
                self.expect_message(program, message)
                self.assertTrue(d.showing(main))
                self.assertEqual(text(entry), number, "the entry stays as it was")
                self.desktop.focus(program, main)
                self.assertTrue(d.has_state(entry, "FOCUSED"), "the focus is back in the entry box")
                self.assertEqual(program.windows(), [main], "no result window")
        # The Find Object button and the menu item check the same way.
        press(find(main, role=ROLE_PUSH_BUTTON, name="Find Object"))
        self.expect_message(program, "You Can't Enter Same Digit Numbers!")
        press(find(main, role=ROLE_MENU_ITEM, name="Find Object", only_showing=False))
        self.expect_message(program, "You Can't Enter Same Digit Numbers!")
        # Three zeros are allowed, and a tenth digit cannot be typed.
        self.clear_entry(program, main)
        self.desktop.type(program, main, "0001111112")
        wait_until("nine digits", lambda: text(entry) == "000111111")
        result = self.find_object(program, main, "")
        self.assertEqual(self.reading(result)[0], str(6 + 4))

    def test_refused_keys(self):
        program, main = self.start()
        entry = self.entry(main)
        self.type_number(program, main, "12")
        for key in ("a", "minus", "period", "ctrl+v"):
            with self.subTest(key=key):
                self.desktop.key(program, main, key)
                self.expect_message(program, "Please Enter Only Numbers")
                self.assertEqual(text(entry), "12", "the refused character is not inserted")
        # Two refused keys in a row: one message each.
        self.desktop.type(program, main, "x")
        self.expect_message(program, "Please Enter Only Numbers")
        self.desktop.type(program, main, "y")
        self.expect_message(program, "Please Enter Only Numbers")
        # Digits, a space and Backspace pass.
        self.desktop.type(program, main, "3 4")
        wait_until("12 3 4 in the entry box", lambda: text(entry) == "123 4")
        self.desktop.key(program, main, "BackSpace", "BackSpace")
        wait_until("Backspace to delete", lambda: text(entry) == "123")
        self.assertEqual(self.message_boxes(program), [])
