"""Small glyphs as shapes: caption button marks, menu marks, arrows.

Each function takes the top-left corner of the glyph's box in pixels and
returns a Shape to paint. Straight lines sit on pixel centres (x + 0.5) so that
horizontal and vertical strokes come out as crisp one- or two-pixel lines;
diagonals and curves get their softness from the anti-aliasing.
"""

from .draw import Circle, Polygon, RoundRect, Stroke

CAPTION_GLYPH = 10      # caption glyphs are drawn in a 10 x 10 box


def close_cross(ox, oy):
    w = 1.5
    return (Stroke((ox + 0.5, oy + 0.5), (ox + 9.5, oy + 9.5), w) |
            Stroke((ox + 9.5, oy + 0.5), (ox + 0.5, oy + 9.5), w))


def minimize_bar(ox, oy):
    return RoundRect((ox, oy + 7, ox + 10, oy + 9))


def maximize_box(ox, oy):
    # a window outline with a heavier title edge
    return RoundRect((ox, oy, ox + 10, oy + 10)) - RoundRect((ox + 1, oy + 2, ox + 9, oy + 9))


def restore_boxes(ox, oy):
    back = RoundRect((ox + 3, oy, ox + 10, oy + 7)) - RoundRect((ox + 4, oy + 2, ox + 9, oy + 6))
    front_area = RoundRect((ox, oy + 3, ox + 7, oy + 10))
    front = front_area - RoundRect((ox + 1, oy + 5, ox + 6, oy + 9))
    return (back - front_area) | front


def chevron_up(ox, oy):
    w = 1.75
    return (Stroke((ox + 1, oy + 7), (ox + 5, oy + 3), w) |
            Stroke((ox + 5, oy + 3), (ox + 9, oy + 7), w))


def chevron_down(ox, oy):
    w = 1.75
    return (Stroke((ox + 1, oy + 3), (ox + 5, oy + 7), w) |
            Stroke((ox + 5, oy + 7), (ox + 9, oy + 3), w))


def tray_arrow(ox, oy):
    # an arrow going down onto a shelf: "put it away in the tray"
    w = 1.5
    return (Stroke((ox + 5, oy + 0.5), (ox + 5, oy + 6), w) |
            Stroke((ox + 2, oy + 3.5), (ox + 5, oy + 6.5), w) |
            Stroke((ox + 8, oy + 3.5), (ox + 5, oy + 6.5), w) |
            RoundRect((ox, oy + 8.5, ox + 10, oy + 10)))


def menu_lines(ox, oy):
    return (RoundRect((ox, oy + 1, ox + 10, oy + 2.5), 0.5) |
            RoundRect((ox, oy + 4.5, ox + 10, oy + 6), 0.5) |
            RoundRect((ox, oy + 8, ox + 10, oy + 9.5), 0.5))


def check_mark(ox, oy):
    """A tick in a 10 x 10 box."""
    w = 1.75
    return (Stroke((ox + 1, oy + 5.25), (ox + 4, oy + 8.25), w) |
            Stroke((ox + 4, oy + 8.25), (ox + 9, oy + 2), w))


def radio_dot(cx, cy, radius=3):
    return Circle(cx, cy, radius)


def triangle_right(ox, oy, h=7):
    """A solid triangle pointing right, h pixels high, (h + 1) // 2 wide."""
    return Polygon([(ox, oy), (ox + (h + 1) / 2, oy + h / 2), (ox, oy + h)])


def triangle_down(ox, oy, w=7):
    return Polygon([(ox, oy), (ox + w, oy), (ox + w / 2, oy + (w + 1) / 2)])


def triangle_up(ox, oy, w=7):
    return Polygon([(ox, oy + (w + 1) / 2), (ox + w, oy + (w + 1) / 2), (ox + w / 2, oy)])


def triangle_left(ox, oy, h=7):
    return Polygon([(ox + (h + 1) / 2, oy), (ox + (h + 1) / 2, oy + h), (ox, oy + h / 2)])
