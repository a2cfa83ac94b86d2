"""The window frame: active and inactive frame pictures, their mask, the
frame geometry and the caption text object.

The frame picture is small; the window is composed from it. Its top 30 rows
are the caption bar, a vertical gradient that is the same in every column, so
the stretch of the top edge between the fixed corners can simply be tiled. The
sides and the bottom are 3 pixels (outline, border, inner line), which leaves
the main window's 545-pixel client area in a 551-pixel window, the width its
size limits allow. The top corners are rounded by the mask.
"""

from . import palette as P
from .draw import RoundRect, mask_of, mix, paint
from .image import Image
from .ini import Point, Rect, Record

WIDTH = 200
HEIGHT = 100
CAPTION_HEIGHT = 30
BORDER = 3
CORNER_RADIUS = 6
# the fixed corner pieces reach past the rounded corners
CORNER = 8

CLIENT_RECT = Rect(BORDER, CAPTION_HEIGHT, WIDTH - BORDER, HEIGHT - BORDER)
# the band of the caption bar that holds the caption text and the buttons
CAPTION_RECT = Rect(4, 5, WIDTH - 4, 25)


def _darker(c):
    return mix(c, (0, 0, 0), 2, 16)


def caption_row(y, active):
    """Colour of row y of the caption bar (row 0 is the outline). Caption
    buttons use it for their own backgrounds so they sit on the bar seamlessly."""
    outline = P.FRAME_OUTLINE if active else P.FRAME_OUTLINE_INACTIVE
    if y <= 0:
        return outline
    if y == 1:
        return P.CAPTION_SHINE if active else P.CAPTION_SHINE_INACTIVE
    if y >= CAPTION_HEIGHT - 1:
        return _darker(P.FRAME_BORDER if active else P.FRAME_BORDER_INACTIVE)
    top = P.CAPTION_TOP if active else P.CAPTION_TOP_INACTIVE
    bottom = P.CAPTION_BOTTOM if active else P.CAPTION_BOTTOM_INACTIVE
    return mix(top, bottom, y - 2, CAPTION_HEIGHT - 4)


def _outer_shape():
    # rounded at the top only: the lower corners lie below the picture
    return RoundRect((0, 0, WIDTH, HEIGHT + 2 * CORNER_RADIUS), CORNER_RADIUS)


def frame_picture(active):
    outline = P.FRAME_OUTLINE if active else P.FRAME_OUTLINE_INACTIVE
    border = P.FRAME_BORDER if active else P.FRAME_BORDER_INACTIVE
    inner_line = _darker(border)
    img = Image(WIDTH, HEIGHT, outline)

    def body(x, y):
        if y < CAPTION_HEIGHT:
            return caption_row(y, active)
        if y == HEIGHT - 2 or x in (1, WIDTH - 2):
            return border
        return inner_line
    # everything inside the one-pixel outline, anti-aliased along the corners
    paint(img, RoundRect((1, 1, WIDTH - 1, HEIGHT + 2 * CORNER_RADIUS), CORNER_RADIUS - 1), body)
    img.fill((0, HEIGHT - 1, WIDTH, HEIGHT), outline)
    img.fill(CLIENT_RECT, P.CLIENT)
    return img


def frame_mask():
    """Black where the window is, white where the rounded corners cut it."""
    inside = mask_of(_outer_shape(), WIDTH, HEIGHT)
    img = Image(WIDTH, HEIGHT, (255, 255, 255))
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if inside[y][x]:
                img.set(x, y, (0, 0, 0))
    return img


def forminfo_keys():
    return [
        ('lefttoppoint', Point(CORNER, CAPTION_HEIGHT)),
        ('righttoppoint', Point(WIDTH - CORNER, CAPTION_HEIGHT)),
        ('leftbottompoint', Point(CORNER, HEIGHT - BORDER)),
        ('rightbottompoint', Point(WIDTH - CORNER, HEIGHT - BORDER)),
        ('clientrect', CLIENT_RECT),
        ('leftstretch', False),
        ('rightstretch', False),
        ('topstretch', False),
        ('bottomstretch', False),
        ('stretcheffect', False),
        ('maskrectarea', CLIENT_RECT),
        ('captionrect', CAPTION_RECT),
        ('buttonsoffset', 2),
        ('buttonsinleft', False),
        ('borderwidth', BORDER),
        ('formminwidth', 0),
        ('autorenderinginactiveimage', False),
    ]


def caption_record():
    """The caption text. It lies in the frame picture over the whole caption
    band, so it stretches with the window; the caption buttons then take the
    ends of the band. Without an active image of its own only the text is
    drawn, on the bar the frame picture already shows."""
    return Record('caption', 'caption', [
        ('skinrect', CAPTION_RECT),
        ('textrect', Rect(6, 0, CAPTION_RECT.width - 4, CAPTION_RECT.height)),
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', 'fsbold'),
        ('fontcolor', P.colour_value(P.CAPTION_TEXT_INACTIVE)),
        ('activefontcolor', P.colour_value(P.CAPTION_TEXT)),
        ('alignment', 'taleftjustify'),
    ])
