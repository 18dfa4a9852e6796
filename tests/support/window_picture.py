"""Reads a screenshot of one of the program's windows (its client area) as a
person sees it, with the places of its controls taken from the window's Qt
Designer file, at Qt's scale factor SCALE (default 1):

  window_picture.py contrast PICTURE.ppm WINDOW.ui [--scale S] NAME... [--drawn NAME...]
      prints "NAME RATIO" a line: how far the text of each named control
      stands out from its background, as WCAG 2's contrast ratio. The
      control's frame (3 pixels) is left out. A control whose design fixes its
      text colour is measured by that colour against its most frequent one (a
      blinking cursor, drawn in another colour, does not count); a button, or
      any other control, by the colour that stands out most from its face.
  window_picture.py panels PICTURE.ppm WINDOW.ui [--scale S] [--drawn NAME...]
      prints "NAME COLOUR" for every control whose design gives it a colour
      of its own (a panel, a line, a coloured label) where the picture shows
      another across what shows of its box beside the controls on it: a
      control out of its place, or a gap between panels; ends with status 1
      when there is one.

Both end with status 3, naming the control, while a control measured (or
named after --drawn) does not show the text colour its design fixes: the
window is not drawn yet.

A main window's menu bar may be taller than designed (Qt's Windows style draws
it a pixel taller): the controls are placed from its bottom, wherever the
picture puts it.
"""

import os
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture import Picture, contrast, covered  # noqa: E402

FRAME = 3


class Control:
    """A control of the design: its box, and the part of it that its
    containers let show, in the window's own (unscaled) pixels."""

    def __init__(self, widget, box, shown):
        self.name, self.kind, self.box, self.shown = widget.get("name"), widget.get("class"), box, shown
        # A button is measured by what it shows, whatever colours it has.
        self.ink = None if self.kind == "QPushButton" else designed_colour(
            widget, "Text" if self.kind == "QLineEdit" else "WindowText")
        self.fill = designed_colour(widget, "Window")
        self.filled = self.fill is not None and widget.find("property[@name='autoFillBackground']/bool") is not None


def geometry(widget):
    rect = widget.find("property[@name='geometry']/rect")
    return None if rect is None else tuple(int(rect.find(k).text) for k in ("x", "y", "width", "height"))


def designed_colour(widget, role):
    """The colour the design fixes for this role of the control, if it does."""
    colour = widget.find(f"property[@name='palette']/palette/active/colorrole[@role='{role}']/brush/color")
    return None if colour is None else tuple(int(colour.find(k).text) for k in ("red", "green", "blue"))


def controls(ui_file, picture_height, scale):
    """Every named control of the window, by name."""
    window = ET.parse(ui_file).getroot().find("widget")
    top = 0
    if window.get("class") == "QMainWindow":
        menu_bar = window.find("widget[@class='QMenuBar']")
        top = round(picture_height / scale) - (geometry(window)[3] - geometry(menu_bar)[3])
    found = {}

    def walk(widget, left, upper, shown):
        for child in widget.findall("widget"):
            place = geometry(child)
            if child.get("class") == "QMenuBar":
                continue
            if place is None:  # the central widget
                walk(child, left, upper, shown)
                continue
            box = (left + place[0], upper + place[1], place[2], place[3])
            found[child.get("name")] = control = Control(child, box, overlap(box, shown))
            walk(child, box[0], box[1], control.shown)

    walk(window, 0, top, (0, top, 10 ** 6, 10 ** 6))
    return found


def overlap(a, b):
    left, top = max(a[0], b[0]), max(a[1], b[1])
    right, bottom = min(a[0] + a[2], b[0] + b[2]), min(a[1] + a[3], b[1] + b[3])
    return (left, top, max(0, right - left), max(0, bottom - top))


def contains(box, point):
    return box[0] <= point[0] < box[0] + box[2] and box[1] <= point[1] < box[1] + box[3]


def edge_pixels(control, scale):
    """The pixels the control's edges fall in, which it shares with what lies beside it."""
    x, y, w, h = covered(control.shown, scale)
    inner = covered(control.shown, scale, wholly=True)
    return [(i, j) for j in range(y, y + h) for i in range(x, x + w) if not contains(inner, (i, j))]


def inside(control, scale):
    x, y, w, h = covered(control.box, scale, wholly=True)
    edge = round(FRAME * scale)
    return (x + edge, y + edge, w - 2 * edge, h - 2 * edge)


def main(arguments):
    command, picture_file, ui_file, *names = arguments
    scale = 1.0
    if names[:1] == ["--scale"]:
        scale, names = float(names[1]), names[2:]
    measured = names[:names.index("--drawn")] if "--drawn" in names else names
    with open(picture_file, "rb") as ppm:
        picture = Picture.from_ppm(ppm.read())
    found = controls(ui_file, picture.height, scale)
    for name in (n for n in names if n != "--drawn"):
        control = found[name]
        if control.ink and picture.colours(inside(control, scale)).get(control.ink, 0) < 3:
            print(f"{name} is not drawn yet")
            return 3
    if command == "contrast":
        for name in measured:
            control = found[name]
            counts = picture.colours(inside(control, scale))
            if control.ink:
                ratio = contrast(control.ink, max(counts, key=counts.get))
            else:
                ratio = picture.text_contrast(inside(control, scale))
            print(f"{name} {ratio:.1f}")
        return 0
    wrong = misplaced_panels(picture, found, scale)
    for line in wrong:
        print(line)
    return 1 if wrong else 0


def misplaced_panels(picture, found, scale):
    """A plain panel shows its colour in every pixel that lies wholly inside
    it, beside what is drawn over it (the controls after it in the design);
    a pixel its edge shares with another coloured panel shows the one or the
    other, never what lies behind them. A group box (whose frame and title
    the style draws) and a label with a colour of their own show that colour
    most. The lines say where one does not."""
    order = list(found.values())
    box = {c.name: covered(c.box, scale) for c in order}
    shown = {c.name: covered(c.shown, scale) for c in order}
    holders = [c for c in order if c.filled and c.kind in ("QFrame", "QGroupBox")]
    wrong = []
    for i, control in enumerate(order):
        if not control.filled:
            continue
        above = order[i + 1:]
        counts = picture.colours(covered(control.shown, scale, wholly=True), leave_out=[box[o.name] for o in above])
        if control.kind != "QFrame":
            main = max(counts, key=counts.get, default=control.fill)  # none of it shows
            if main != control.fill:
                wrong.append(f"{control.name} {main}")
            continue
        stray = {colour: n for colour, n in counts.items() if colour != control.fill}
        for point in edge_pixels(control, scale):
            sharing = [h for h in holders if contains(shown[h.name], point)]
            on_top = any(contains(box[o.name], point) for o in above if o not in holders)
            colour = picture.pixel(*point)
            if len(sharing) > 1 and not on_top and colour not in {h.fill for h in sharing}:
                stray[colour] = stray.get(colour, 0) + 1
        if stray:
            wrong.append(f"{control.name} {max(stray, key=stray.get)} in {sum(stray.values())} pixels")
    return wrong


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
