"""Every link and menu command that leads into the maker's site, captured at
the browser stand-in exactly as the program hands it over."""

from urllib.parse import urlsplit

from pyatspi import ROLE_CHECK_BOX, ROLE_MENU_ITEM, ROLE_PUSH_BUTTON

import desktop as d
from desktop import find, page, press, text, wait_until
from e2e_case import Case

BOARD = "Link to the discussion board"
FULL_BRAND = "Link to the fully branded copy offer"
CO_BRAND = "Link to the co-branding offer"
OFFER_PAGES = {FULL_BRAND: "fully-branded", CO_BRAND: "co-brand"}


class Pages(Case):
    def setUp(self):
        super().setUp()
        self.expected = []

    def expect_page(self, key):
        """Waits for the next browser call and checks that it opened exactly this page."""
        self.expected.append([page(key)])
        calls = self.desktop.wait_opened(len(self.expected))
        self.assertEqual(calls, self.expected)

    def menu(self, window, name):
        return find(window, role=ROLE_MENU_ITEM, name=name, only_showing=False)

    def check_menus(self, window):
        # Make Money Online is switched off: it cannot be chosen. Were a page
        # opened all the same, it would show among the pages checked next.
        money = self.menu(window, "Make Money Online")
        self.assertFalse(d.has_state(money, "ENABLED"))
        self.assertFalse(d.has_state(money, "SENSITIVE"))
        press(money)
        for item, key in (("Online Help", "help-web-page"), ("Visit Us Online", "home-page"),
                          ("Check for Software Update", "download-web-page"), ("Donate", "donate")):
            with self.subTest(menu=item):
                press(self.menu(window, item))
                self.expect_page(key)

    def front_offer(self, window):
        """The one of the two overlapping offers that lies in front: the later in
        the stacking order, which the accessibility tree follows."""
        offers = [c for c in d.descendants(find(window, name="Offers")) if c.description in OFFER_PAGES]
        self.assertEqual(sorted(o.description for o in offers), sorted(OFFER_PAGES))
        return offers[-1]

    def test_main_window_pages(self):
        program, main = self.start()
        self.type_number(program, main, "12345")
        self.desktop.click(find(main, description=BOARD))
        self.expect_page("home-page")
        intro = find(main, description=FULL_BRAND, name="Have you misplaced some item? Worry no more. "
                     f"{d.TITLE} can help you find lost objects. Try it out to know for sure!")
        self.desktop.click(intro)
        self.expect_page("fully-branded")
        self.check_menus(main)
        # A real person's way through the Help menu: click it open, click the item.
        self.desktop.click(find(main, role=ROLE_MENU_ITEM, name="Help"))
        online = self.menu(main, "Online Help")
        wait_until("the Help menu to open", lambda: d.showing(online))
        self.desktop.click(online)
        self.expect_page("help-web-page")
        # None of it changed the window.
        self.assertEqual(program.windows(), [main])
        self.assertEqual(text(self.entry(main)), "12345")

    def test_result_window_pages(self):
        program, main = self.start()
        result = self.find_object(program, main, "123456789")
        self.desktop.click(find(result, description=BOARD))
        self.expect_page("home-page")
        # Here the fully branded offer always lies in front.
        self.assertEqual(self.front_offer(result).description, FULL_BRAND)
        self.desktop.click(self.front_offer(result))
        self.expect_page("fully-branded")
        self.check_menus(result)
        self.assertEqual(program.windows(), [result])
        self.assertEqual(self.reading(result)[0], "49")
        # File, Back returns to the main window as the button does.
        press(self.menu(result, "Back"))
        wait_until("the main window back", lambda: d.showing(main))
        self.assertEqual(program.windows(), [main])
        self.assertEqual(text(self.entry(main)), "123456789")

    def test_visible_offer_opens_its_page(self):
        # Start-up draws which offer the main window shows; run the program
        # until both have come up, and click the one in front each time.
        seen = set()
        for _ in range(40):
            program, main = self.start()
            offer = self.front_offer(main)
            self.desktop.click(offer)
            self.expect_page(OFFER_PAGES[offer.description])
            seen.add(offer.description)
            program.stop()
            if len(seen) == 2:
                break
        self.assertEqual(seen, set(OFFER_PAGES), "both offers come to the front in turn")

    def test_exit_screen_pages(self):
        program, main = self.start()
        press(find(main, role=ROLE_PUSH_BUTTON, name="Exit"))
        screen = self.exit_screen(program)
        visit = find(screen, role=ROLE_CHECK_BOX, description="Opens the home page")
        self.assertEqual(visit.name, f"Click Here To Visit {urlsplit(d.SITE_ROOT).hostname} Now")
        for _ in range(2):
            self.desktop.click(visit)
            self.expect_page("home-page")
            wait_until("the box unchecked again", lambda: not d.has_state(visit, "CHECKED"))
        softwares = find(screen, name="Click Here To Visit Talvex Softwares")
        self.desktop.click(softwares)
        self.expect_page("talvexsoftwares")
        self.assertEqual(self.exit_screen(program), screen)
        self.assertTrue(program.running())
