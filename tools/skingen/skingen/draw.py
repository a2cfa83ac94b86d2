"""Drawing primitives: anti-aliased shapes, gradients and bevels.

Shapes are measured on a grid of eighths of a pixel, with integer coordinates,
so every inside test is exact integer arithmetic. A pixel's coverage is the
number of its 4 x 4 sample points (at 1/8, 3/8, 5/8 and 7/8 of the pixel) that
fall inside the shape, 0..16; the colour is then laid over the pixel with that
weight. No floating point reaches a pixel, so the output is byte-identical on
every machine and every Python version.
"""

SUB = 8                      # grid units per pixel
_SAMPLES = (1, 3, 5, 7)      # sample offsets inside a pixel, in grid units
FULL = len(_SAMPLES) ** 2    # coverage of a fully covered pixel


def units(v):
    """Pixel coordinate (int, or a float that is a whole number of eighths) to
    grid units. Refuses values off the grid rather than rounding them silently."""
    scaled = v * SUB
    if scaled != int(scaled):
        raise ValueError('%r is not a multiple of 1/%d pixel' % (v, SUB))
    return int(scaled)


class Shape:
    """Anything with an inside test on grid units and pixel bounds."""

    def contains(self, x, y):
        raise NotImplementedError

    def bounds(self):
        """(left, top, right, bottom) in whole pixels, covering the shape."""
        raise NotImplementedError

    def __or__(self, other):
        return Union(self, other)

    def __sub__(self, other):
        return Difference(self, other)


def _pixel_bounds(l, t, r, b):
    # grid units to the whole pixels that hold them
    return (l // SUB, t // SUB, -(-r // SUB), -(-b // SUB))


class RoundRect(Shape):
    """Rectangle (left, top, right, bottom) with corners of the given radius;
    radius 0 gives a sharp rectangle. Pixel coordinates, right/bottom exclusive."""

    def __init__(self, rect, radius=0):
        self.l, self.t, self.r, self.b = (units(v) for v in rect)
        self.rad = units(radius)

    def contains(self, x, y):
        if x < self.l or x >= self.r or y < self.t or y >= self.b:
            return False
        rad = self.rad
        if rad == 0:
            return True
        cx = min(max(x, self.l + rad), self.r - rad)
        cy = min(max(y, self.t + rad), self.b - rad)
        dx, dy = x - cx, y - cy
        return dx * dx + dy * dy <= rad * rad

    def bounds(self):
        return _pixel_bounds(self.l, self.t, self.r, self.b)


class Circle(Shape):
    def __init__(self, cx, cy, radius):
        self.cx, self.cy, self.rad = units(cx), units(cy), units(radius)

    def contains(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return dx * dx + dy * dy <= self.rad * self.rad

    def bounds(self):
        return _pixel_bounds(self.cx - self.rad, self.cy - self.rad,
                             self.cx + self.rad, self.cy + self.rad)


class Stroke(Shape):
    """A straight line from a to b, `width` pixels thick, with round ends."""

    def __init__(self, a, b, width):
        self.ax, self.ay = units(a[0]), units(a[1])
        self.bx, self.by = units(b[0]), units(b[1])
        self.w = units(width)
        self.half2 = self.w * self.w   # the width squared: compare (2 * distance)^2 with it

    def contains(self, x, y):
        dx, dy = self.bx - self.ax, self.by - self.ay
        px, py = x - self.ax, y - self.ay
        len2 = dx * dx + dy * dy
        t = px * dx + py * dy
        if len2 == 0 or t <= 0:
            return 4 * (px * px + py * py) <= self.half2
        if t >= len2:
            qx, qy = x - self.bx, y - self.by
            return 4 * (qx * qx + qy * qy) <= self.half2
        cross = px * dy - py * dx
        # distance = |cross| / sqrt(len2); compare squares, scaled by 4 * len2
        return 4 * cross * cross <= self.half2 * len2

    def bounds(self):
        pad = -(-self.w // 2)
        return _pixel_bounds(min(self.ax, self.bx) - pad, min(self.ay, self.by) - pad,
                             max(self.ax, self.bx) + pad, max(self.ay, self.by) + pad)


class Polygon(Shape):
    """A convex polygon, points in either winding order."""

    def __init__(self, points):
        self.pts = [(units(x), units(y)) for x, y in points]

    def contains(self, x, y):
        sign = 0
        n = len(self.pts)
        for i in range(n):
            ax, ay = self.pts[i]
            bx, by = self.pts[(i + 1) % n]
            c = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
            if c == 0:
                continue
            s = 1 if c > 0 else -1
            if sign == 0:
                sign = s
            elif s != sign:
                return False
        return True

    def bounds(self):
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        return _pixel_bounds(min(xs), min(ys), max(xs), max(ys))


class Union(Shape):
    def __init__(self, *parts):
        self.parts = parts

    def contains(self, x, y):
        return any(p.contains(x, y) for p in self.parts)

    def bounds(self):
        bs = [p.bounds() for p in self.parts]
        return (min(b[0] for b in bs), min(b[1] for b in bs),
                max(b[2] for b in bs), max(b[3] for b in bs))


class Difference(Shape):
    def __init__(self, keep, cut):
        self.keep, self.cut = keep, cut

    def contains(self, x, y):
        return self.keep.contains(x, y) and not self.cut.contains(x, y)

    def bounds(self):
        return self.keep.bounds()


def coverage(shape, px, py):
    """How many of the 16 sample points of pixel (px, py) lie inside the shape."""
    bx, by = px * SUB, py * SUB
    return sum(1 for sy in _SAMPLES for sx in _SAMPLES if shape.contains(bx + sx, by + sy))


def paint(img, shape, colour):
    """Lays `colour` over the picture where the shape covers it, anti-aliased.
    `colour` is an (r, g, b) tuple or a function of (x, y) giving one."""
    left, top, right, bottom = shape.bounds()
    for y in range(max(0, top), min(img.height, bottom)):
        for x in range(max(0, left), min(img.width, right)):
            n = coverage(shape, x, y)
            if n:
                img.blend(x, y, colour(x, y) if callable(colour) else colour, n, FULL)


def mask_of(shape, width, height):
    """Which pixels of a width x height picture a region cut from `shape`
    should keep: those at least half covered. A window region is one bit per
    pixel, so the anti-aliased edge has to be decided one way or the other."""
    return [[coverage(shape, x, y) * 2 >= FULL for x in range(width)] for y in range(height)]


def mix(a, b, num, den):
    """The colour num/den of the way from a to b, rounded to nearest."""
    if den == 0:
        return tuple(a)
    return tuple((ca * (den - num) + cb * num + den // 2) // den for ca, cb in zip(a, b))


def vertical_gradient(top_colour, bottom_colour, top, bottom):
    """A colour function for paint(): row `top` has top_colour, row bottom - 1
    has bottom_colour, the rows between are spread evenly."""
    span = max(1, bottom - 1 - top)

    def colour(x, y):
        return mix(top_colour, bottom_colour, min(max(y - top, 0), span), span)
    return colour


def fill_gradient(img, rect, top_colour, bottom_colour):
    left, top, right, bottom = rect
    colour = vertical_gradient(top_colour, bottom_colour, top, bottom)
    for y in range(top, bottom):
        img.hline(left, right, y, colour(0, y))


def bevel(img, rect, light, dark):
    """One-pixel bevel: light along the top and left edge, dark along the
    bottom and right edge (the top-right and bottom-left pixels go to dark)."""
    left, top, right, bottom = rect
    img.hline(left, right, top, light)
    img.vline(left, top, bottom, light)
    img.hline(left, right, bottom - 1, dark)
    img.vline(right - 1, top, bottom, dark)


def rounded_box(img, rect, radius, border, fill_top, fill_bottom=None, inner_light=None):
    """A rounded box with a one-pixel border and a vertical gradient fill,
    anti-aliased against whatever the picture already holds there.
    `inner_light` adds a one-pixel highlight along the inside of the top edge."""
    left, top, right, bottom = rect
    fill_bottom = fill_bottom or fill_top
    paint(img, RoundRect(rect, radius), border)
    inner = (left + 1, top + 1, right - 1, bottom - 1)
    inner_radius = max(0, radius - 1)
    paint(img, RoundRect(inner, inner_radius),
          vertical_gradient(fill_top, fill_bottom, top + 1, bottom - 1))
    if inner_light:
        # the highlight row follows the inner shape, so it fades at the corners
        row = RoundRect(inner, inner_radius) - RoundRect((left + 1, top + 2, right - 1, bottom - 1), 0)
        paint(img, row, inner_light)
