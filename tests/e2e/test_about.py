"""The about box, opened from both windows' menus."""

from pyatspi import ROLE_DIALOG, ROLE_IMAGE, ROLE_LABEL, ROLE_MENU_ITEM, ROLE_PUSH_BUTTON

import desktop as d
from desktop import CAPTION, find, find_all, page, press, wait_until
from e2e_case import Case

TEXTS = [
    f"{d.TITLE} helps you find items you may have misplaced, using the principles of Chaldean numerology. "
    f"All rights to this software are held by {d.SITE_ROOT}.",
    CAPTION,
    f"Click here to visit {d.SITE_ROOT}",
    "Click here for more details",
    "Home Business Opportunity. Start your own Internet business and make money online. "
    "Get this software fully branded for your website.",
    "Uses Qt: its notice and licence",
]


class AboutBox(Case):
    def open_about(self, program, window):
        press(find(window, role=ROLE_MENU_ITEM, name="About Software", only_showing=False))
        about = program.window(role=ROLE_DIALOG)
        self.assertEqual(about.name, CAPTION)
        self.assertEqual([label.name for label in find_all(about, role=ROLE_LABEL)], TEXTS)
        find(about, role=ROLE_IMAGE, name="Application icon")
        return about

    def closed(self, program):
        return not program.windows_titled(role=ROLE_DIALOG)

    def test_about_box(self):
        program, main = self.start()
        about = self.open_about(program, main)
        self.desktop.focus(program, about)
        self.assertTrue(d.has_state(find(about, role=ROLE_PUSH_BUTTON, name="OK"), "FOCUSED"))
        # Its links open their pages and leave it open.
        self.desktop.click(find(about, description="Link to the home page"))
        self.assertEqual(self.desktop.wait_opened(1), [[page("home-page")]])
        self.desktop.click(find(about, name="Click here for more details"))
        self.assertEqual(self.desktop.wait_opened(2)[1], [page("fully-branded")])
        self.assertTrue(d.showing(about))
        # Qt's own about box gives Qt's copyright notice and licence, and OK
        # goes back to ours.
        self.desktop.click(find(about, name="Uses Qt: its notice and licence"))
        notice, shown = program.message_box()
        for words in ("Copyright (C)", "The Qt Company Ltd", "GNU (L)GPL"):
            self.assertIn(words, shown)
        press(find(notice, role=ROLE_PUSH_BUTTON, name="OK"))
        wait_until("Qt's about box to close", lambda: not program.windows_titled(d.MESSAGE_TITLE))
        self.assertTrue(d.showing(about))
        # It is modal: a click on the main window's Donate reaches nothing.
        donate = find(main, role=ROLE_MENU_ITEM, name="Donate")
        self.desktop.click(donate)
        # Enter presses OK, which has the focus.
        self.desktop.key(program, about, "Return")
        wait_until("the about box to close", lambda: self.closed(program))
        self.assertEqual(program.windows(), [main])
        self.desktop.click(donate)
        self.assertEqual(self.desktop.wait_opened(3),
                         [[page("home-page")], [page("fully-branded")], [page("donate")]])

        # From the result window it comes up built afresh, and OK closes it.
        result = self.find_object(program, main, "123456789")
        about = self.open_about(program, result)
        press(find(about, role=ROLE_PUSH_BUTTON, name="OK"))
        wait_until("the about box to close", lambda: self.closed(program))
        self.assertEqual(program.windows(), [result])
        self.assertEqual(len(self.desktop.opened()), 3)
