"""What the four windows look like on the screen: every control at its place
and size (with room made for a long site address), the colours actually
drawn, no text outside the window or cut off at the edge of its control or
container, and every control named for a screen reader. Pictures of the
windows are kept among the build's test artifacts."""

import time
from urllib.parse import urlsplit

from pyatspi import (ROLE_APPLICATION, ROLE_CHECK_BOX, ROLE_COMBO_BOX, ROLE_DIALOG, ROLE_FILLER, ROLE_IMAGE,
                     ROLE_LABEL, ROLE_MENU_ITEM, ROLE_PANEL, ROLE_PUSH_BUTTON, ROLE_RADIO_BUTTON, ROLE_SCROLL_BAR,
                     ROLE_TEXT)

import desktop as d
from desktop import CAPTION, QFRAME, find, press, px, wait_until
from e2e_case import ENTRY, Case

# The four windows' look again at the display scales of Windows laptops and at
# twice the size (Qt's scale factor), where every place and size grows by as
# much and the lines and panels stay whole, and under GNOME's dark style
# through Qt's GTK platform theme, where every caption and the typed number
# stay readable: each VARIED case once more per variant, e2e_CASE_VARIANT.
VARIANTS = {"at_125_percent": "QUENDRIL_E2E_SCALE=1.25", "at_150_percent": "QUENDRIL_E2E_SCALE=1.5",
            "at_175_percent": "QUENDRIL_E2E_SCALE=1.75", "at_twice_the_size": "QUENDRIL_E2E_SCALE=2",
            "on_a_dark_theme": "QUENDRIL_E2E_THEME=dark"}
VARIED = ("test_main_window_look", "test_result_window_look", "test_about_box_look", "test_exit_screen_look")

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
TEAL, OLIVE, NAVY = (0, 64, 64), (57, 72, 32), (0, 0, 128)
CYAN, YELLOW = (0, 255, 255), (255, 255, 0)

BOARD = dict(role=ROLE_LABEL, description="Link to the discussion board")
FULL_BRAND = dict(role=ROLE_LABEL, description="Link to the fully branded copy offer")
CO_BRAND = dict(role=ROLE_LABEL, description="Link to the co-branding offer")

# Exact placement: left, top, width and height in twips, 15 to a pixel of the
# Designer files.
EXACT = "exact"
# The accessible rectangle of a check box is its clickable part, which lies
# inside the designed one.
INSIDE = "inside"
# A label that sizes itself to its text: only its place is designed.
PLACE = "place"
# A line: placed exactly, and drawn one screen pixel thick whatever the scale.
HAIRLINE = "hairline"


def control(role, name=None, description=None, *, at, inside=None, fit=EXACT, ink=None, fill=None, tint=0,
            grows=False):
    """One row of a window's layout: the control, its container (None: the
    client area), its rectangle in twips, the colour of its text (ink) and of
    its background (fill, within tint per channel). A control that grows holds
    a text that names the site (or such a control): with a longer address than
    the default it may be taller than designed (see expected_places)."""
    return dict(match=dict(role=role, name=name, description=description), inside=inside, at=at, fit=fit,
                ink=ink, fill=fill, tint=tint, grows=grows)


BANNER = dict(role=QFRAME, name="Discussion board banner")
NUMBER_PANEL = dict(role=QFRAME, name="Number entry")
OFFERS = dict(role=QFRAME, name="Offers")

MAIN_WINDOW = [
    control(QFRAME, "Discussion board banner", at=(0, 0, 7335, 615), fill=TEAL, grows=True),
    control(**BOARD, inside=BANNER, at=(240, 120, 6960, 585), ink=WHITE, grows=True),
    control(QFRAME, "Number entry", at=(0, 600, 7335, 4335), fill=OLIVE),
    control(ROLE_PUSH_BUTTON, "Find Object", inside=NUMBER_PANEL, at=(2985, 3240, 1380, 465)),
    control(ROLE_TEXT, ENTRY, inside=NUMBER_PANEL, at=(2348, 2280, 2655, 375)),
    control(ROLE_LABEL, description="Disclaimer", inside=NUMBER_PANEL, at=(120, 3840, 6615, 495), ink=(255, 0, 0)),
    control(**FULL_BRAND, inside=NUMBER_PANEL, at=(240, 240, 6855, 615), ink=(128, 255, 255)),
    control(ROLE_LABEL, "Enter A Nine digit number", inside=NUMBER_PANEL, at=(2520, 1920, 2520, 195), ink=CYAN),
    control(ROLE_LABEL, "Close your eyes and take a deep breath.", inside=NUMBER_PANEL, at=(1695, 960, 3960, 195),
            ink=(255, 128, 0)),
    control(ROLE_LABEL, "Think of nine numbers", inside=NUMBER_PANEL, at=(2580, 1440, 2190, 195), ink=YELLOW),
    control(ROLE_LABEL, "Open your eyes slowly.", inside=NUMBER_PANEL, at=(2550, 2880, 2265, 195), ink=CYAN),
    control(QFRAME, "Offers", at=(0, 4920, 7335, 855), fill=TEAL),
    control(ROLE_PUSH_BUTTON, "Exit", inside=OFFERS, at=(6120, 240, 1020, 465)),
    control(**FULL_BRAND, inside=OFFERS, at=(120, 160, 5985, 615), ink=WHITE, fill=TEAL),
    control(**CO_BRAND, inside=OFFERS, at=(120, 160, 5985, 615), ink=WHITE, fill=TEAL),
]

RESULT_PANEL = dict(role=ROLE_PANEL, name="Quendril Result")
RESULT_WINDOW = [
    control(ROLE_PUSH_BUTTON, "Back", at=(0, 3435, 5460, 465)),
    control(ROLE_PUSH_BUTTON, "Exit", at=(5595, 3435, 1260, 465)),
    control(QFRAME, "Discussion board banner", at=(0, 0, 6855, 735), fill=TEAL, grows=True),
    control(**BOARD, inside=BANNER, at=(120, 165, 6600, 585), ink=WHITE, grows=True),
    # The panel's title is white; the style shades its inside a shade darker.
    control(ROLE_PANEL, "Quendril Result", at=(0, 720, 6855, 2655), ink=WHITE, fill=OLIVE, tint=2),
    control(ROLE_LABEL, description="Reading", inside=RESULT_PANEL, at=(420, 1440, 6015, 495), ink=WHITE),
    control(ROLE_LABEL, description="Reading number", inside=RESULT_PANEL, at=(3053, 480, 735, 615), ink=BLACK,
            fill=(255, 255, 192)),
    control(QFRAME, "Offers", at=(0, 3960, 6855, 855), fill=TEAL),
    control(**CO_BRAND, inside=OFFERS, at=(68, 160, 6705, 615), ink=WHITE, fill=TEAL),
    control(**FULL_BRAND, inside=OFFERS, at=(75, 165, 6705, 615), ink=WHITE, fill=TEAL),
]

ABOUT_BOX = [
    control(ROLE_PUSH_BUTTON, "OK", at=(4920, 3480, 1260, 345)),
    control(ROLE_IMAGE, "Application icon", at=(150, 150, 510, 510)),
    control(ROLE_LABEL, description="About this program", at=(210, 960, 5985, 615), ink=WHITE, grows=True),
    control(ROLE_LABEL, CAPTION, at=(960, 240, 4755, 240), ink=WHITE),
    control(ROLE_LABEL, description="Link to the home page", at=(1560, 1800, 4650, 195), ink=WHITE, grows=True),
    control(ROLE_LABEL, "Click here for more details", at=(3600, 3120, 2610, 195), ink=WHITE),
    control(ROLE_LABEL, description="Fully branded copy offer", at=(240, 2280, 5775, 555), ink=WHITE),
    # A white rule from (-60, 3360) to (6360, 3360), one pixel thick.
    control(QFRAME, "Separator line", at=(-60, 3360, 6420, 15), fit=HAIRLINE, fill=WHITE),
    control(ROLE_LABEL, "Uses Qt: its notice and licence", at=(210, 3555, 4500, 195), ink=WHITE),
]

SOFTWARES = dict(role=ROLE_PANEL, name="Download Talvex Softwares")
REFER = dict(role=ROLE_PANEL, name="Refer A Friend")
EXIT_SCREEN = [
    control(ROLE_PANEL, "Download Talvex Softwares", at=(7320, 120, 3735, 4575), ink=WHITE, fill=NAVY, tint=2),
    control(ROLE_LABEL, "Click Here To Visit Talvex Softwares", inside=SOFTWARES, at=(75, 4250, 3585, 210), fit=PLACE,
            ink=YELLOW),
    control(ROLE_LABEL, description="About the Talvex Softwares family of programs", inside=SOFTWARES,
            at=(120, 360, 3495, 3855), ink=WHITE),
    control(ROLE_PANEL, "Refer A Friend", at=(120, 3240, 7065, 1455), ink=WHITE, fill=NAVY, tint=2),
    # Below the panel's lower edge: never seen, but in the tab order.
    control(ROLE_TEXT, "Message", inside=REFER, at=(4800, 3600, 1815, 495)),
    control(ROLE_TEXT, "Friend's name", inside=REFER, at=(85, 720, 3375, 285)),
    control(ROLE_TEXT, "Friend's e-mail address", inside=REFER, at=(3600, 720, 3375, 285)),
    control(ROLE_TEXT, "Your e-mail address", inside=REFER, at=(3600, 360, 3375, 285)),
    control(ROLE_PUSH_BUTTON, "Refer A Friend Now", inside=REFER, at=(1920, 1080, 3375, 285)),
    control(ROLE_TEXT, "Your name", inside=REFER, at=(85, 360, 3375, 285)),
    control(ROLE_PUSH_BUTTON, "Exit", at=(6000, 2760, 1245, 375)),
    control(ROLE_CHECK_BOX, description="Opens the home page", at=(30, 2040, 7185, 555), fit=INSIDE,
            ink=(0, 0, 192), grows=True),
    control(ROLE_IMAGE, "Application icon", at=(360, 120, 540, 540)),
    control(ROLE_LABEL, description="Support appeal", at=(120, 840, 6975, 1095), ink=BLACK, grows=True),
    control(ROLE_LABEL, CAPTION, at=(1080, 240, 0, 0), fit=PLACE, ink=BLACK),
]


# Controls a user acts on; each must carry a name.
ACTING_ROLES = {ROLE_PUSH_BUTTON, ROLE_CHECK_BOX, ROLE_TEXT, ROLE_MENU_ITEM, ROLE_SCROLL_BAR, ROLE_COMBO_BOX,
                ROLE_RADIO_BUTTON}


def within(colour, wanted, tint):
    return all(abs(c - w) <= tint for c, w in zip(colour, wanted))


class Look(Case):
    def client_area(self, window):
        """The window's client area: a main window's central part below its
        menu bar, or the whole of a dialog or plain window."""
        fillers = [c for c in d.children(window) if c.getRole() == ROLE_FILLER]
        return fillers[0] if fillers else window

    def check_window(self, window, layout, client_twips, picture_name):
        client = self.client_area(window)
        wait_until("the window drawn", lambda: self.drawn(window))
        picture = self.desktop.screenshot()
        found = []
        for row in layout:
            container = find(client, **row["inside"]) if row["inside"] else client
            found.append((find(container, **matching(row)), container))
        places, client_growth = self.expected_places(layout, found, client, px(client_twips[1]))
        origin = d.extents(client)
        self.assertAlmostEqual(origin[2], px(client_twips[0]), delta=d.PLACE_DELTA, msg="client width")
        self.assertAlmostEqual(origin[3], px(client_twips[1]) + client_growth, delta=d.PLACE_DELTA, msg="client height")
        placed = set()
        for row, (accessible, container), wanted in zip(layout, found, places):
            placed.add(accessible.path)
            label = row_label(row)
            with self.subTest(control=label):
                self.check_place(accessible, container, row, wanted, label)
                self.check_colours(picture, accessible, row, label, seen_through=(container, client))
        self.check_all_placed(client, placed)
        self.check_names(window)
        # The X window itself has the size on the screen that its controls add up to.
        program = self.desktop.programs[-1]
        self.assertTrue(d.same_box(self.desktop.window_geometry(self.desktop.x_window(program, window))[2:],
                                   d.extents(window)[2:]))
        self.desktop.keep_screenshot(window, picture_name)

    def expected_places(self, layout, found, client, client_designed):
        """Each row's place in its container, in screen pixels, and how much
        the client area grows. A text that names the site can take more lines
        than designed where the address is longer than the default: its
        control (a row that grows) is then taller by what it measures beyond
        its design. What starts below it in its container moves down by as
        much, what reaches past its lower edge from above grows by as much
        (and inside that, what starts from that height down moves down), and
        so does the client area when it lies there. A check box's
        measured part is its clickable part, inside its place: its growth is
        what its container grows beyond the other rows that grow there."""
        designed = [[px(t) for t in row["at"]] for row in layout]
        places = [list(place) for place in designed]
        container_of = [container_row(layout, row) for row in layout]
        # Controls grow by whole pixels of Qt's, so many screen pixels each.
        heights = {i: d.unscaled_extents(accessible)[3] for i, (accessible, _) in enumerate(found)}
        heights[None] = d.unscaled_extents(client)[3]
        growth = {}
        for i, row in enumerate(layout):
            if row["grows"] and row["fit"] != INSIDE:
                growth[i] = round(heights[i] - designed[i][3] / d.SCALE) * d.SCALE
        for i, row in enumerate(layout):
            if row["grows"] and row["fit"] == INSIDE:
                home = container_of[i]
                home_designed = client_designed if home is None else designed[home][3]
                others = sum(g for j, g in growth.items() if container_of[j] == home)
                growth[i] = round(heights[home] - home_designed / d.SCALE) * d.SCALE - others
        if d.SITE_ROOT == d.DEFAULT_SITE_ROOT:
            self.assertEqual({layout[i]["match"]["description"] or layout[i]["match"]["name"]: g
                              for i, g in growth.items() if g}, {}, "nothing grows with the default address")
        def make_room_across(panel, line, g):
            for k, place in enumerate(designed):
                if container_of[k] != panel:
                    continue
                if place[1] >= line:
                    places[k][1] += g
                elif place[1] + place[3] > line:
                    places[k][3] += g
                    make_room_across(k, line - place[1], g)

        client_growth = 0
        for i, g in growth.items():
            self.assertGreaterEqual(g, 0, f"{row_label(layout[i])} is lower than designed")
            top, bottom = designed[i][1], designed[i][1] + designed[i][3]
            for j, place in enumerate(designed):
                if j == i or container_of[j] != container_of[i]:
                    continue
                if place[1] > top:
                    places[j][1] += g
                elif place[1] + place[3] > bottom:
                    places[j][3] += g
                    make_room_across(j, bottom - place[1], g)
            places[i][3] += g
            if container_of[i] is None:
                client_growth += g
        return places, client_growth

    def drawn(self, window):
        """True once the window's picture holds still: two looks a moment apart agree."""
        box = d.extents(window)
        first = self.desktop.screenshot(box).rgb
        time.sleep(0.15)
        return first == self.desktop.screenshot(box).rgb

    def check_place(self, accessible, container, row, wanted, label):
        x, y, w, h = d.extents(accessible)
        cx, cy, _, _ = d.extents(container)
        actual = (x - cx, y - cy, w, h)
        if row["fit"] in (EXACT, HAIRLINE):
            for name, got, want in zip("xywh", actual, wanted):
                self.assertAlmostEqual(got, want, delta=d.PLACE_DELTA, msg=f"{label} {name}: {actual} against {wanted}")
        elif row["fit"] == PLACE:
            self.assertAlmostEqual(actual[0], wanted[0], delta=d.PLACE_DELTA, msg=f"{label} left")
            self.assertAlmostEqual(actual[1], wanted[1], delta=d.PLACE_DELTA, msg=f"{label} top")
            self.assertGreater(w * h, 0, label)
        else:
            self.assertGreaterEqual(actual[0], wanted[0] - 1, label)
            self.assertGreaterEqual(actual[1], wanted[1] - 1, label)
            self.assertLessEqual(actual[0] + w, wanted[0] + wanted[2] + 1, label)
            self.assertLessEqual(actual[1] + h, wanted[1] + wanted[3] + 1, label)

    def check_colours(self, picture, accessible, row, label, seen_through=()):
        """The colours drawn in the control's box; for a text, its colour, and
        that it lies inside the window (the last of the boxes it is seen
        through: its container, the client area)."""
        box = d.extents(accessible)
        inner = [d.extents(c) for c in d.children(accessible) if d.showing(c)]
        if row["fill"] and row["fit"] == HAIRLINE:
            # A line is one of Qt's pixels thick: a row or two of the box is the line.
            x, y, w, h = box
            rows = [picture.main_colour((x, y + j, w, 1)) for j in range(h)]
            self.assertTrue(any(within(c, row["fill"], row["tint"]) for c in rows),
                            f"{label} rows {rows}, designed {row['fill']}")
        elif row["fill"]:
            background = picture.main_colour(box, leave_out=inner)
            self.assertTrue(within(background, row["fill"], row["tint"]),
                            f"{label} background {background}, designed {row['fill']}")
        if accessible.getRole() == ROLE_PUSH_BUTTON:
            self.check_caption_contrast(picture, seen(box, [d.extents(c) for c in seen_through]), label)
        if not row["ink"]:
            return
        counts = picture.colours(box, leave_out=inner)
        ink = row["ink"]
        self.assertGreaterEqual(counts.get(ink, 0), 3, f"{label} draws its text in {ink}")
        if accessible.getRole() not in (ROLE_LABEL, ROLE_CHECK_BOX):
            return
        # The text lies inside the window. (Whether it shows whole, the
        # window tests see exactly: they give each text room and compare.)
        for outer in seen_through[-1:]:
            self.assertTrue(contains(d.extents(outer), box), f"{label} {box} lies inside the window")

    def check_caption_contrast(self, picture, box, label):
        """A button's caption, whose colours the theme may give, stands out
        from the button's face by at least WCAG's 4.5 : 1. The button's frame
        is left out."""
        x, y, w, h = box
        edge = round(3 * d.SCALE)
        ratio = picture.text_contrast((x + edge, y + edge, w - 2 * edge, h - 2 * edge))
        self.assertGreaterEqual(ratio, 4.5, f"{label}: its caption stands out from its face by {ratio:.1f} : 1")

    def check_all_placed(self, client, placed):
        # Every control on the screen has its row above; the parts of a text box are the box's own.
        for accessible in d.descendants(client):
            parent = accessible.parent
            inside_text_box = any(a.getRole() == ROLE_TEXT for a in ancestors(accessible))
            if d.showing(accessible) and not inside_text_box:
                self.assertIn(accessible.path, placed,
                              f"unexpected {accessible.getRoleName()} {accessible.name!r} in {parent.name!r}")

    def check_names(self, window):
        """Every control a user can act on is found by its name, or by its role
        inside a named text box (the box's own scroll bars)."""
        seen = set()
        for accessible in d.descendants(window):
            role = accessible.getRole()
            acting = role in ACTING_ROLES or has_actions(accessible) or accessible.description.startswith("Link")
            if not acting or not (d.showing(accessible) or role == ROLE_MENU_ITEM):
                continue
            if role == ROLE_SCROLL_BAR:
                owner = [a for a in ancestors(accessible) if a.getRole() == ROLE_TEXT]
                self.assertTrue(owner and owner[0].name, "a scroll bar belongs to a named text box")
                continue
            self.assertTrue(accessible.name, f"a {accessible.getRoleName()} without a name in {window.name!r}")
            key = (role, accessible.name, accessible.description, d.showing(accessible))
            self.assertNotIn(key, seen, f"two controls answer to {key}")
            seen.add(key)

    def test_main_window_look(self):
        program, main = self.start()
        self.check_window(main, MAIN_WINDOW, (7320, 5775), "main-window.png")
        # The entry box draws its text in the panel's colour.
        entry = find(main, role=ROLE_TEXT, name=ENTRY)
        x, y, w, h = d.extents(entry)
        inner = (x + 4, y + 4, w - 8, h - 8)
        self.assertEqual(self.desktop.screenshot(inner).colours().get(OLIVE, 0), 0)
        self.type_number(program, main, "123456789")
        wait_until("the digits drawn in olive",
                   lambda: self.desktop.screenshot(inner).colours().get(OLIVE, 0) >= 3)
        # Whatever the theme, the digits stand out from the box by 4.5 : 1 at least.
        box = self.desktop.screenshot(inner).main_colour(None)
        self.assertGreaterEqual(d.contrast(OLIVE, box), 4.5, f"the typed number in olive on {box}")
        # Only one of the two offers can be seen, and it is the one in front.
        offers = [c for c in d.descendants(find(main, **OFFERS)) if c.getRole() == ROLE_LABEL]
        self.assertEqual(d.extents(offers[0]), d.extents(offers[1]))

    def test_result_window_look(self):
        program, main = self.start()
        # 000111113 gives reading 12, the longest of all.
        result = self.find_object(program, main, "000111113")
        self.assertEqual(self.reading(result), (
            "12", "You will find it in your place of work on your table or near your books and papers."))
        self.check_window(result, RESULT_WINDOW, (6840, 4800), "result-window.png")

    def test_about_box_look(self):
        program, main = self.start()
        press(find(main, role=ROLE_MENU_ITEM, name="About Software", only_showing=False))
        about = program.window(role=ROLE_DIALOG)
        self.check_window(about, ABOUT_BOX, (6345, 3960), "about-box.png")

    def test_exit_screen_look(self):
        program, main = self.start()
        press(find(main, role=ROLE_PUSH_BUTTON, name="Exit"))
        screen = self.exit_screen(program)
        self.check_window(screen, EXIT_SCREEN, (11115, 4725), "exit-screen.png")

    def test_every_support_appeal_fits(self):
        # The exit screen draws one of four appeals at random: start the
        # program until each has been seen, and check each fits its label,
        # which has the same height for all four.
        seen_appeals, heights = set(), set()
        appeal = [row for row in EXIT_SCREEN if row["match"]["description"] == "Support appeal"]
        for _ in range(60):
            program, main = self.start()
            press(find(main, role=ROLE_PUSH_BUTTON, name="Exit"))
            screen = self.exit_screen(program)
            label = find(screen, description="Support appeal")
            if label.name not in seen_appeals:
                seen_appeals.add(label.name)
                heights.add(d.extents(label)[3])
                wait_until("the exit screen drawn", lambda: self.drawn(screen))
                self.check_colours(self.desktop.screenshot(), label, appeal[0], label.name, seen_through=(screen,))
                self.assertIn(urlsplit(d.SITE_ROOT).hostname, label.name)
            press(find(screen, role=ROLE_PUSH_BUTTON, name="Exit"))
            self.assert_ended(program)
            if len(seen_appeals) == 4:
                break
        self.assertEqual(len(seen_appeals), 4, "all four appeals come up")
        self.assertEqual(len(heights), 1, f"the appeal's label keeps one height: {heights}")


def matching(row):
    return {k: v for k, v in row["match"].items() if v is not None}


def row_label(row):
    """A row's control as a failure message names it."""
    return ", ".join(f"{key}={d.role_text(value) if key == 'role' else repr(value)}"
                     for key, value in matching(row).items())


def same_match(a, b):
    """Whether two rows match the same control. A pyatspi role cannot be
    compared with a set of roles (its == raises TypeError on Debian 12), so
    values of different types differ without being compared."""
    return a.keys() == b.keys() and all(type(a[key]) is type(b[key]) and a[key] == b[key] for key in a)


def container_row(layout, row):
    """The index of the row's container in the layout, or None for the client area."""
    if not row["inside"]:
        return None
    return next(i for i, other in enumerate(layout) if same_match(matching(other), row["inside"]))


def contains(outer, box):
    return (outer[0] <= box[0] and outer[1] <= box[1] and box[0] + box[2] <= outer[0] + outer[2]
            and box[1] + box[3] <= outer[1] + outer[3])


def seen(box, through):
    """The part of box (x, y, w, h) that shows through all the boxes in through."""
    left, top, right, bottom = box[0], box[1], box[0] + box[2], box[1] + box[3]
    for outer in through:
        left, top = max(left, outer[0]), max(top, outer[1])
        right, bottom = min(right, outer[0] + outer[2]), min(bottom, outer[1] + outer[3])
    return (left, top, max(0, right - left), max(0, bottom - top))


def ancestors(accessible):
    parent = accessible.parent
    while parent is not None and parent.getRole() != ROLE_APPLICATION:
        yield parent
        parent = parent.parent


def has_actions(accessible):
    try:
        return accessible.queryAction().nActions > 0
    except NotImplementedError:
        return False
