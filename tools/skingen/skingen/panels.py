"""Containers: the group box with its caption bar, the plain panel and the
open dialog's tool bar.

The group box and the panel are nine-part images painted by parts: their
corners stay, their edges and client part grow with the control. The group
box's first 23 rows are the frame line, a 21-pixel caption bar and the line
under it, so its client area starts where the unskinned group box's does
(1, 23) and the word list fills the same place either way. The tool bar is a
row image: it is always 25 high and only grows in width.
"""

from . import palette as P
from .draw import RoundRect, fill_gradient, mix, paint, vertical_gradient
from .image import Image
from .ini import Point, Rect, Record

GROUP_WIDTH = 60
GROUP_HEIGHT = 60
GROUP_CAPTION = 22      # frame line + caption bar
GROUP_CLIENT_TOP = GROUP_CAPTION + 1
GROUP_RADIUS = 3

PANEL_WIDTH = 40
PANEL_HEIGHT = 40

TOOLBAR_WIDTH = 40
TOOLBAR_HEIGHT = 25


def group_box():
    # Rounded at the top only, like the window: a rounded bottom corner would
    # reach into the client part, which the list view covers square.
    img = Image(GROUP_WIDTH, GROUP_HEIGHT, P.CLIENT)
    below = GROUP_HEIGHT + 2 * GROUP_RADIUS
    paint(img, RoundRect((0, 0, GROUP_WIDTH, below), GROUP_RADIUS), P.BORDER)
    inner = RoundRect((1, 1, GROUP_WIDTH - 1, below), GROUP_RADIUS - 1)

    def body(x, y):
        if y >= GROUP_HEIGHT - 1:
            return P.BORDER
        if y < GROUP_CAPTION:
            return mix(P.BAR_TOP, P.BAR_BOTTOM, y - 1, GROUP_CAPTION - 2)
        if y == GROUP_CAPTION:
            return P.BAR_LINE
        return P.WHITE
    paint(img, inner, body)
    return img


def plain_panel():
    # square corners: the client part is tiled, so it must be one plain colour
    # right into its corners
    img = Image(PANEL_WIDTH, PANEL_HEIGHT, P.CLIENT)
    img.frame((0, 0, PANEL_WIDTH, PANEL_HEIGHT), P.BORDER)
    return img


def toolbar_row(y):
    """Colour of row y of the tool bar; tool buttons share it."""
    if y >= TOOLBAR_HEIGHT - 1:
        return P.BAR_LINE
    return vertical_gradient(P.BAR_TOP, P.BAR_BOTTOM, 0, TOOLBAR_HEIGHT - 1)(0, y)


def tool_bar():
    img = Image(TOOLBAR_WIDTH, TOOLBAR_HEIGHT)
    fill_gradient(img, (0, 0, TOOLBAR_WIDTH, TOOLBAR_HEIGHT - 1), P.BAR_TOP, P.BAR_BOTTOM)
    img.hline(0, TOOLBAR_WIDTH, TOOLBAR_HEIGHT - 1, P.BAR_LINE)
    return img


def add_pieces(sheet):
    sheet.new_row()
    sheet.add('groupbox', group_box())
    sheet.add('panel', plain_panel())
    sheet.add('toolpanel', tool_bar())


def _nine_part(width, height, client, corner):
    left, top, right, bottom = client
    return [
        ('lefttoppoint', Point(corner, max(top, corner))),
        ('righttoppoint', Point(width - corner, max(top, corner))),
        ('leftbottompoint', Point(corner, height - corner)),
        ('rightbottompoint', Point(width - corner, height - corner)),
        ('clientrect', client),
    ]


def records(sheet, picture_index):
    r = sheet.rects
    font = [
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', 'fsbold'),
        ('fontcolor', P.colour_value(P.TEXT)),
    ]
    group_client = Rect(1, GROUP_CLIENT_TOP, GROUP_WIDTH - 1, GROUP_HEIGHT - 1)
    group = Record('groupbox', 'panel', [
        ('pictureindex', picture_index),
        ('skinrect', r['groupbox']),
    ] + _nine_part(GROUP_WIDTH, GROUP_HEIGHT, group_client, 4) + [
        # the caption bar and the sides tile: they are the same all along
        ('leftstretch', False),
        ('topstretch', False),
        ('rightstretch', False),
        ('bottomstretch', False),
        ('stretcheffect', False),
        ('captionrect', Rect(1, 1, GROUP_WIDTH - 1, GROUP_CAPTION)),
        ('alignment', 'tacenter'),
    ] + font)
    panel = Record('panel', 'panel', [
        ('pictureindex', picture_index),
        ('skinrect', r['panel']),
    ] + _nine_part(PANEL_WIDTH, PANEL_HEIGHT, Rect(1, 1, PANEL_WIDTH - 1, PANEL_HEIGHT - 1), 4) + [
        ('leftstretch', True),
        ('topstretch', True),
        ('rightstretch', True),
        ('bottomstretch', True),
        ('stretcheffect', True),
        ('stretchtype', 'stfull'),
    ] + font)
    toolbar = Record('toolpanel', 'panel', [
        ('pictureindex', picture_index),
        ('skinrect', r['toolpanel']),
        # a row image whose ends are as plain as its middle: any width, 25 high
        ('lefttoppoint', Point(1, 0)),
        ('righttoppoint', Point(TOOLBAR_WIDTH - 1, 0)),
        ('clientrect', Rect(0, 0, TOOLBAR_WIDTH, TOOLBAR_HEIGHT)),
        ('stretcheffect', False),
        ('alignment', 'taleftjustify'),
    ] + font)
    return [group, panel, toolbar]
