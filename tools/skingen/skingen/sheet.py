"""Packing many small images into one skin picture.

A record points at its images by rectangles inside one picture, so each group
of records draws its pieces separately and a Sheet lays them out in rows, left
to right, and remembers where each one went. Pieces are separated by a
`gap` of the key colour, so a rectangle that is off by one shows up as a
magenta seam in the preview instead of quietly taking a neighbour's pixels.
"""

from .image import Image
from .ini import Rect
from .palette import KEY


class Sheet:
    def __init__(self, gap=2):
        self.gap = gap
        self.rows = []         # each row: list of (name, image)
        self.rects = {}

    def new_row(self):
        self.rows.append([])

    def add(self, name, img):
        if name in self.rects or any(name == n for row in self.rows for n, _ in row):
            raise ValueError('piece %r added twice' % name)
        if not self.rows:
            self.new_row()
        self.rows[-1].append((name, img))

    def build(self):
        """Returns the picture; `rects[name]` then holds each piece's rectangle."""
        gap = self.gap
        width = gap + max(sum(img.width + gap for _, img in row) for row in self.rows if row)
        height = gap + sum(max(img.height for _, img in row) + gap for row in self.rows if row)
        out = Image(width, height, KEY)
        y = gap
        for row in self.rows:
            if not row:
                continue
            x = gap
            for name, img in row:
                out.paste(img, x, y)
                self.rects[name] = Rect(x, y, x + img.width, y + img.height)
                x += img.width + gap
            y += max(img.height for _, img in row) + gap
        return out
