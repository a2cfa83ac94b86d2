"""A plain RGB picture held in memory.

Pixels are (r, g, b) tuples of integers 0..255, stored row by row. Everything
is integer arithmetic, so a picture comes out the same on every machine.
"""


class Image:
    def __init__(self, width, height, colour=(0, 0, 0)):
        if width <= 0 or height <= 0:
            raise ValueError('empty picture %dx%d' % (width, height))
        self.width = width
        self.height = height
        self.pixels = [tuple(colour)] * (width * height)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = colour

    def row(self, y):
        start = y * self.width
        return self.pixels[start:start + self.width]

    def blend(self, x, y, colour, coverage, scale=16):
        """Lays `colour` over the pixel with the weight coverage/scale,
        rounding to nearest."""
        if coverage <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        if coverage >= scale:
            self.pixels[y * self.width + x] = colour
            return
        old = self.pixels[y * self.width + x]
        rest = scale - coverage
        half = scale // 2
        self.pixels[y * self.width + x] = tuple(
            (c * coverage + o * rest + half) // scale for c, o in zip(colour, old))

    def fill(self, rect, colour):
        """Fills rect = (left, top, right, bottom), right and bottom exclusive."""
        left, top, right, bottom = self._clip(rect)
        colour = tuple(colour)
        for y in range(top, bottom):
            start = y * self.width
            self.pixels[start + left:start + right] = [colour] * (right - left)

    def hline(self, x0, x1, y, colour):
        self.fill((x0, y, x1, y + 1), colour)

    def vline(self, x, y0, y1, colour):
        self.fill((x, y0, x + 1, y1), colour)

    def frame(self, rect, colour):
        """A one-pixel rectangle along the inside of rect."""
        left, top, right, bottom = rect
        self.hline(left, right, top, colour)
        self.hline(left, right, bottom - 1, colour)
        self.vline(left, top, bottom, colour)
        self.vline(right - 1, top, bottom, colour)

    def paste(self, src, x, y, src_rect=None):
        """Copies src (or the part src_rect of it) with its top-left at (x, y)."""
        sl, st, sr, sb = src_rect if src_rect else (0, 0, src.width, src.height)
        for row in range(sb - st):
            ty = y + row
            if not 0 <= ty < self.height:
                continue
            for col in range(sr - sl):
                tx = x + col
                if 0 <= tx < self.width:
                    self.pixels[ty * self.width + tx] = src.pixels[(st + row) * src.width + sl + col]

    def crop(self, rect):
        left, top, right, bottom = rect
        out = Image(right - left, bottom - top)
        out.paste(self, 0, 0, rect)
        return out

    def _clip(self, rect):
        left, top, right, bottom = rect
        return (max(0, left), max(0, top), min(self.width, right), min(self.height, bottom))
