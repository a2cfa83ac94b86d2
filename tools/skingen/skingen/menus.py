"""Popup menus and hints: the "menuitem" object, the popup window and the
hint window, each window picture with a mask that rounds its corners.

Menus are white with a one-pixel blue-grey frame. The highlighted item is a
soft rounded plate in the selection colour; a column on the left holds the
check, radio and image marks, and the text starts after it. The marks and the
submenu arrow come in two versions, each drawn on the background it lands on
(white, or the plate), so they need no transparency.
"""

from . import glyphs as G
from . import palette as P
from .draw import RoundRect, mask_of, paint, rounded_box
from .image import Image
from .ini import Point, Rect, Record, Section

ITEM_WIDTH = 60
ITEM_HEIGHT = 22
ITEM_END = 6            # fixed ends of the item images (hold the plate's corners)
PLATE = (2, 1, ITEM_WIDTH - 2, ITEM_HEIGHT - 1)
MARK_COLUMN = Rect(4, 3, 20, 19)     # where checks, radios and images go
TEXT_LEFT = 26
DIVIDER_HEIGHT = 7
MARK = 16
ARROW = (6, 9)

WINDOW_SIZE = 40
WINDOW_RADIUS = 3
WINDOW_INSET = 3        # frame line plus padding around the items
HINT_SIZE = (40, 28)


def item(highlighted):
    img = Image(ITEM_WIDTH, ITEM_HEIGHT, P.WHITE)
    if highlighted:
        rounded_box(img, PLATE, 3, P.SELECTION_BORDER, P.SELECTION)
    return img


def divider():
    img = Image(ITEM_WIDTH, DIVIDER_HEIGHT, P.WHITE)
    img.hline(ITEM_END, ITEM_WIDTH - ITEM_END, DIVIDER_HEIGHT // 2, P.MENU_DIVIDER)
    return img


def mark(kind, highlighted):
    bg = P.SELECTION if highlighted else P.WHITE
    if kind == 'arrow':
        img = Image(ARROW[0], ARROW[1], bg)
        paint(img, G.triangle_right(1, 1, 7), P.TEXT_STRONG if highlighted else P.SCROLL_ARROW)
        return img
    img = Image(MARK, MARK, bg)
    colour = P.TEXT_STRONG if highlighted else P.ACCENT
    if kind == 'check':
        paint(img, G.check_mark(3, 3), colour)
    else:
        paint(img, G.radio_dot(MARK / 2, MARK / 2, 3), colour)
    return img


def add_item_pieces(sheet):
    sheet.new_row()
    sheet.add('item.normal', item(False))
    sheet.add('item.active', item(True))
    sheet.add('divider', divider())
    sheet.new_row()
    for kind in ('check', 'radio', 'arrow'):
        for highlighted in (False, True):
            sheet.add('%s.%s' % (kind, 'active' if highlighted else 'normal'), mark(kind, highlighted))


def _window(width, height, fill):
    img = Image(width, height, P.MENU_BORDER)
    paint(img, RoundRect((1, 1, width - 1, height - 1), WINDOW_RADIUS - 1), fill)
    return img


def _mask(width, height):
    inside = mask_of(RoundRect((0, 0, width, height), WINDOW_RADIUS), width, height)
    img = Image(width, height, (255, 255, 255))
    for y in range(height):
        for x in range(width):
            if inside[y][x]:
                img.set(x, y, (0, 0, 0))
    return img


def popup_picture():
    return _window(WINDOW_SIZE, WINDOW_SIZE, P.WHITE)


def popup_mask():
    return _mask(WINDOW_SIZE, WINDOW_SIZE)


def hint_picture():
    return _window(HINT_SIZE[0], HINT_SIZE[1], P.HINT_FILL)


def hint_mask():
    return _mask(*HINT_SIZE)


def menuitem_record(sheet, picture_index):
    r = sheet.rects
    c = P.colour_value
    return Record('menuitem', 'menuitem', [
        ('activepictureindex', picture_index),
        ('skinrect', r['item.normal']),
        ('activeskinrect', r['item.active']),
        ('morphing', False),
        ('itemleftoffset', ITEM_END),
        ('itemrightoffset', ITEM_END),
        ('dividerrect', r['divider']),
        ('dividerleftoffset', ITEM_END),
        ('dividerrightoffset', ITEM_END),
        ('textrect', Rect(TEXT_LEFT, 0, ITEM_WIDTH - ITEM_END, ITEM_HEIGHT)),
        ('imagerect', MARK_COLUMN),
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', ''),
        ('fontcolor', c(P.MENU_TEXT)),
        ('activefontcolor', c(P.TEXT_STRONG)),
        ('unenabledfontcolor', c(P.TEXT_DISABLED)),
        ('stretcheffect', True),
        ('inactivestretcheffect', True),
        ('dividerstretcheffect', True),
        ('useimagecolor', False),
        ('checkimagerect', r['check.normal']),
        ('activecheckimagerect', r['check.active']),
        ('radioimagerect', r['radio.normal']),
        ('activeradioimagerect', r['radio.active']),
        ('arrowimagerect', r['arrow.normal']),
        ('activearrowimagerect', r['arrow.active']),
    ])


def _window_geometry(width, height, corner, client_key, client):
    return [
        ('lefttoppoint', Point(corner, corner)),
        ('righttoppoint', Point(width - corner, corner)),
        ('leftbottompoint', Point(corner, height - corner)),
        ('rightbottompoint', Point(width - corner, height - corner)),
        (client_key, client),
    ]


_PLAIN_EDGES = [
    ('leftstretch', False),
    ('rightstretch', False),
    ('topstretch', False),
    ('bottomstretch', False),
    ('stretcheffect', False),
]


def popup_section(picture_index, mask_index):
    inset = WINDOW_INSET
    items = Rect(inset, inset, WINDOW_SIZE - inset, WINDOW_SIZE - inset)
    return Section('POPUPWINDOW', [
        ('windowpictureindex', picture_index),
        ('maskpictureindex', mask_index),
    ] + _window_geometry(WINDOW_SIZE, WINDOW_SIZE, WINDOW_RADIUS + 2, 'itemsrect', items) + [
        ('scrollmarkercolor', P.colour_value(P.SCROLL_ARROW)),
        ('scrollmarkeractivecolor', P.colour_value(P.ACCENT)),
    ] + _PLAIN_EDGES)


def hint_section(picture_index, mask_index):
    w, h = HINT_SIZE
    text = Rect(4, 3, w - 4, h - 3)
    return Section('HINTWINDOW', [
        ('windowpictureindex', picture_index),
        ('maskpictureindex', mask_index),
    ] + _window_geometry(w, h, WINDOW_RADIUS + 2, 'clientrect', text) + [
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', ''),
        ('fontcolor', P.colour_value(P.TEXT)),
    ] + _PLAIN_EDGES)
