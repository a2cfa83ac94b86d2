"""The open dialog's tool bar pictures: Back, Up, New folder and the view
menu. They are not part of the skin's description; the program carries them
as its bitmaps BS_BACK, BS_UP, BS_NEWFOLDER and BS_LVSTYLE, drawn here in the
skin's colours so that they sit well on its tool buttons.

Each is 16 x 16 on the key colour, which a button leaves out: a glyph's
bottom-left pixel gives its transparent colour, so that pixel stays key.
Anti-aliased edges are mixed with the button face rather than with the key,
so no magenta fringe shows around a glyph.
"""

from . import palette as P
from .draw import FULL, Polygon, RoundRect, coverage, mix
from .image import Image

SIZE = 16

FOLDER_BACK = P.rgb('#d9a93c')
FOLDER_FRONT = P.rgb('#f0c95c')
FOLDER_EDGE = P.rgb('#a67a1e')
NEW_MARK = P.rgb('#3f9a4a')


def _keyed(img, shape, colour):
    """Paints `shape` in `colour`; where the picture still shows the key
    colour, edge pixels are mixed with the button face instead."""
    left, top, right, bottom = shape.bounds()
    for y in range(max(0, top), min(img.height, bottom)):
        for x in range(max(0, left), min(img.width, right)):
            n = coverage(shape, x, y)
            if not n:
                continue
            base = img.get(x, y)
            if base == P.KEY:
                base = P.BUTTON_BOTTOM
            img.set(x, y, mix(base, colour, n, FULL))


def _canvas():
    return Image(SIZE, SIZE, P.KEY)


def _folder(img, top=4):
    """A folder with its tab at the top left, from row `top` to row 14."""
    _keyed(img, RoundRect((1, top, 7, top + 3), 1), FOLDER_EDGE)
    _keyed(img, RoundRect((1, top + 1, 15, 15), 1), FOLDER_EDGE)
    _keyed(img, RoundRect((2, top + 2, 14, 14), 0.5), FOLDER_BACK)
    _keyed(img, RoundRect((2, top + 4, 14, 14), 0.5), FOLDER_FRONT)


def back():
    """An arrow pointing left."""
    img = _canvas()
    _keyed(img, Polygon([(1.5, 8), (7.5, 2.5), (7.5, 13.5)]), P.ACCENT)
    _keyed(img, RoundRect((7, 6, 14.5, 10), 1), P.ACCENT)
    return img


def up():
    """A folder with an arrow pointing up out of it."""
    img = _canvas()
    _folder(img)
    _keyed(img, Polygon([(5, 7.5), (9.5, 2), (14, 7.5)]), P.ACCENT)
    _keyed(img, RoundRect((8, 7, 11, 12.5), 0.5), P.ACCENT)
    return img


def new_folder():
    """A folder with a plus sign at its top right."""
    img = _canvas()
    _folder(img, 5)
    _keyed(img, RoundRect((11, 0, 13, 8)), NEW_MARK)
    _keyed(img, RoundRect((8, 3, 16, 5)), NEW_MARK)
    return img


def view_style():
    """Three rows of a small picture and a line of text: the list views."""
    img = _canvas()
    for row in range(3):
        y = 2 + row * 4
        _keyed(img, RoundRect((2, y, 5, y + 3)), P.ACCENT)
        _keyed(img, RoundRect((7, y + 1, 14, y + 2)), P.TEXT)
    return img


# file name -> picture; the program embeds each file under its name in
# upper case without the extension (bs_back.bmp -> BS_BACK).
PICTURES = (
    ('bs_back.bmp', back),
    ('bs_up.bmp', up),
    ('bs_newfolder.bmp', new_folder),
    ('bs_lvstyle.bmp', view_style),
)


def pictures():
    return [(name, draw()) for name, draw in PICTURES]
