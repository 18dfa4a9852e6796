"""The refer-a-friend form of the exit screen: its messages and the address
that reaches the browser."""

from pyatspi import ROLE_PUSH_BUTTON, ROLE_TEXT

import desktop as d
from desktop import find, page, press, text, wait_until
from e2e_case import STOP, Case


class Referral(Case):
    def fill(self, program, screen, box_name, value, placeholder):
        """Clicks into a box, which clears its placeholder, and types value."""
        box = find(screen, role=ROLE_TEXT, name=box_name)
        self.assertEqual(text(box), placeholder)
        self.desktop.focus(program, screen)
        self.desktop.click(box)
        wait_until(f"{box_name!r} to clear its placeholder", lambda: text(box) == "")
        self.desktop.xdotool("type", "--delay", "25", value)
        wait_until(f"{value!r} in {box_name!r}", lambda: text(box) == value)
        return box

    def submit(self, screen):
        press(find(screen, role=ROLE_PUSH_BUTTON, name="Refer A Friend Now"))

    def test_refer_a_friend(self):
        program, main = self.start()
        press(find(main, role=ROLE_PUSH_BUTTON, name="Exit"))
        screen = self.exit_screen(program)

        self.submit(screen)
        self.expect_message(program, "Please Enter Proper Email Address", icon=STOP)
        yours = self.fill(program, screen, "Your e-mail address", "tom@cartoon.example", "Your Email Address")
        friends = self.fill(program, screen, "Friend's e-mail address", "tom@cartoon.example",
                            "Friend's Email Address")
        self.submit(screen)
        self.expect_message(program, "Please Enter Distinct Email Addresses", icon=STOP)

        # A space cannot be typed into an e-mail box.
        self.desktop.focus(program, screen)
        self.desktop.xdotool("key", "End", "space")
        self.expect_message(program, "Email Address Cannot Contain Space", icon=STOP)
        self.assertEqual(text(friends), "tom@cartoon.example")
        self.desktop.focus(program, screen)
        self.assertTrue(d.has_state(friends, "FOCUSED"), "the focus is back in the e-mail box")
        self.desktop.xdotool("key", "ctrl+a")
        self.desktop.xdotool("type", "--delay", "25", "jerry@mouse.example")
        wait_until("the friend's address replaced", lambda: text(friends) == "jerry@mouse.example")

        self.submit(screen)
        self.expect_message(program, "Please Enter Your Name", icon=STOP)
        self.fill(program, screen, "Your name", "Tom", "Your Name")
        self.submit(screen)
        self.expect_message(program, "Please Enter Your Friend's Name", icon=STOP)
        self.fill(program, screen, "Friend's name", "Jerry", "Friend's Name")

        # The message box lies outside the panel and is never seen; the tab
        # order still reaches it. Emptied, it gets its placeholder back.
        message = find(screen, role=ROLE_TEXT, name="Message")
        self.assertEqual(text(message), "Your Message\n")
        self.desktop.focus(program, screen)
        self.desktop.xdotool("key", "Tab")
        wait_until("the focus in the message box", lambda: d.has_state(message, "FOCUSED"))
        self.desktop.xdotool("key", "ctrl+a", "BackSpace", "Tab")
        wait_until("the message placeholder back", lambda: text(message) == "Your Message")
        self.submit(screen)
        self.expect_message(program, "Please Enter Your Message", icon=STOP)
        self.assertEqual(self.desktop.opened(), [], "no failed check opens a page")

        # Back into the message box, which clears its placeholder, and type one.
        self.desktop.focus(program, screen)
        self.desktop.xdotool("key", "shift+Tab")
        wait_until("the focus in the message box", lambda: d.has_state(message, "FOCUSED"))
        wait_until("the placeholder cleared", lambda: text(message) == "")
        self.desktop.xdotool("type", "--delay", "25", "Hi / you:")
        wait_until("the message typed", lambda: text(message) == "Hi / you:")
        expected = [page("zorq-refer-a-friend") + "&taf1=Tom&taf2=tom@cartoon.example&taf3=Hi%20/%20you:"
                    "&taf4=Jerry&taf5=jerry@mouse.example&taf6=" + d.SITE_ROOT + "/vasq-free-quendril/"]
        self.submit(screen)
        self.assertEqual(self.desktop.wait_opened(1), [expected])
        # The screen stays as it was, and every press opens the page again.
        self.assertEqual(text(yours), "tom@cartoon.example")
        self.submit(screen)
        self.assertEqual(self.desktop.wait_opened(2), [expected, expected])
        self.assertEqual(self.exit_screen(program), screen)
