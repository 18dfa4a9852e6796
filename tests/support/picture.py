"""Screenshots read as a person sees them: colours, and the contrast of a text
to its background (WCAG 2). Used by the end-to-end cases and, through
window_picture.py, by the checks of the Windows program under Wine."""

import math


class Picture:
    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    @classmethod
    def from_ppm(cls, data):
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise ValueError("not an 8-bit PPM picture")
        return cls(int(fields[1]), int(fields[2]), data[pos + 1:])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def colours(self, box=None, leave_out=()):
        """How often each colour occurs inside box (x, y, w, h), or in the
        whole picture, not counting the pixels inside the boxes in leave_out."""
        x, y, w, h = clamp(box or (0, 0, self.width, self.height), self.width, self.height)
        counts = {}
        for row in range(y, y + h):
            cuts = sorted((o[0], o[0] + o[2]) for o in leave_out if o[1] <= row < o[1] + o[3])
            start = x
            segments = []
            for left, right in cuts + [(x + w, x + w)]:
                if left > start:
                    segments.append((start, min(left, x + w)))
                start = max(start, right)
            for left, right in segments:
                line = self.rgb[(row * self.width + left) * 3:(row * self.width + right) * 3]
                for i in range(0, len(line), 3):
                    c = (line[i], line[i + 1], line[i + 2])
                    counts[c] = counts.get(c, 0) + 1
        return counts

    def main_colour(self, box, leave_out=()):
        """The most frequent colour inside box, not counting the boxes in leave_out."""
        counts = self.colours(box, leave_out)
        return max(counts, key=counts.get)

    def text_contrast(self, box):
        """The contrast ratio of a text drawn in box to its background: the
        box's most frequent colour against the colour, of those drawn in at
        least 3 pixels, that stands out from it most."""
        counts = self.colours(box)
        background = max(counts, key=counts.get)
        return max(contrast(background, c) for c, n in counts.items() if n >= 3)


def contrast(a, b):
    """WCAG 2's contrast ratio of two sRGB colours, from 1 to 21."""
    def luminance(colour):
        linear = [c / 255 / 12.92 if c <= 10 else ((c / 255 + 0.055) / 1.055) ** 2.4 for c in colour]
        return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def clamp(box, width, height):
    left, top = max(box[0], 0), max(box[1], 0)
    right, bottom = min(box[0] + box[2], width), min(box[1] + box[3], height)
    return (left, top, max(0, right - left), max(0, bottom - top))


def covered(box, scale, wholly=False):
    """The screen pixels a box of unscaled pixels (x, y, w, h) reaches into at
    this scale, even in part, or (wholly) those that lie wholly inside it: at
    a fractional scale its edges can fall inside a pixel, which it shares with
    what lies beside it."""
    x, y, w, h = box
    inward, outward = (math.ceil, math.floor) if wholly else (math.floor, math.ceil)
    left, top = inward(x * scale), inward(y * scale)
    return (left, top, outward((x + w) * scale) - left, outward((y + h) * scale) - top)
