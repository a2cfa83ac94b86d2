"""Push buttons, list view header sections and tool bar buttons.

"button" is a row image 25 pixels high (every push button of the program is
25 high): fixed rounded ends, a middle that stretches to any width, a soft
vertical gradient. The header sections ("resizetoolbutton") are nine-part
images, because a header's height is the list view's and not the skin's.
"""

from . import palette as P
from .draw import RoundRect, fill_gradient, mix, paint, rounded_box
from .image import Image
from .ini import Point, Rect, Record
from .panels import TOOLBAR_HEIGHT, toolbar_row

BUTTON_WIDTH = 60
BUTTON_HEIGHT = 25
BUTTON_END = 4          # fixed width of each rounded end
BUTTON_RADIUS = 3

HEADER_WIDTH = 40
HEADER_HEIGHT = 20

TOOL_WIDTH = 27


def push_button(state):
    img = Image(BUTTON_WIDTH, BUTTON_HEIGHT, P.CLIENT)
    box = (0, 0, BUTTON_WIDTH, BUTTON_HEIGHT)
    if state == 'normal':
        rounded_box(img, box, BUTTON_RADIUS, P.BORDER, P.BUTTON_TOP, P.BUTTON_BOTTOM, P.WHITE)
    elif state == 'hot':
        rounded_box(img, box, BUTTON_RADIUS, P.BORDER_HOT, P.BUTTON_HOT_TOP, P.BUTTON_HOT_BOTTOM, P.WHITE)
    elif state == 'focused':
        # the hot look with a firmer frame and a light inner ring: a morph
        # towards hot ends here without a jump
        rounded_box(img, box, BUTTON_RADIUS, P.BORDER_FOCUS, P.BUTTON_HOT_TOP, P.BUTTON_HOT_BOTTOM)
        ring = RoundRect((1, 1, BUTTON_WIDTH - 1, BUTTON_HEIGHT - 1), BUTTON_RADIUS - 1) - \
            RoundRect((2, 2, BUTTON_WIDTH - 2, BUTTON_HEIGHT - 2), BUTTON_RADIUS - 2)
        paint(img, ring, mix(P.BORDER_FOCUS, P.WHITE, 11, 16))
    elif state == 'down':
        rounded_box(img, box, BUTTON_RADIUS, P.BORDER_DOWN, P.BUTTON_DOWN_TOP, P.BUTTON_DOWN_BOTTOM)
    elif state == 'disabled':
        rounded_box(img, box, BUTTON_RADIUS, P.BORDER_DISABLED, P.BUTTON_DISABLED)
    else:
        raise ValueError(state)
    return img


def header_section(state):
    """A header section: a vertical gradient inside a one-pixel edge along the
    top, the right side (the line between neighbouring sections) and the
    bottom (the list's line under the header), with a white highlight inside
    the top and left edges, or a shadow there while pressed. The edge is
    firm enough to show against the client colour around the list."""
    img = Image(HEADER_WIDTH, HEADER_HEIGHT)
    top, bottom, edge = {
        'normal': (P.HEADER_TOP, P.HEADER_BOTTOM, P.BORDER),
        'hot': (P.HEADER_HOT_TOP, P.HEADER_HOT_BOTTOM, P.BORDER_HOT),
        'down': (P.HEADER_DOWN_TOP, P.HEADER_DOWN_BOTTOM, P.BORDER_DOWN),
    }[state]
    fill_gradient(img, (0, 1, HEADER_WIDTH - 1, HEADER_HEIGHT - 1), top, bottom)
    inner = P.HEADER_SEPARATOR if state == 'down' else P.WHITE
    img.hline(0, HEADER_WIDTH - 1, 1, inner)
    img.vline(0, 1, HEADER_HEIGHT - 1, inner)
    img.hline(0, HEADER_WIDTH, 0, edge)
    img.vline(HEADER_WIDTH - 1, 0, HEADER_HEIGHT, edge)
    img.hline(0, HEADER_WIDTH, HEADER_HEIGHT - 1, edge)
    return img


def tool_button(state):
    """Flat on the tool bar at rest; a plate under the pointer or pressed."""
    img = Image(TOOL_WIDTH, TOOLBAR_HEIGHT)
    for y in range(TOOLBAR_HEIGHT):
        img.hline(0, TOOL_WIDTH, y, toolbar_row(y))
    plate = (1, 1, TOOL_WIDTH - 1, TOOLBAR_HEIGHT - 2)
    if state == 'hot':
        rounded_box(img, plate, BUTTON_RADIUS, P.BORDER_HOT, P.BUTTON_HOT_TOP, P.BUTTON_HOT_BOTTOM)
    elif state == 'down':
        rounded_box(img, plate, BUTTON_RADIUS, P.BORDER_DOWN, P.BUTTON_DOWN_TOP, P.BUTTON_DOWN_BOTTOM)
    return img


def menu_marker(colour):
    """A small down arrow on the key colour. Drawn pixel-exact rather than
    anti-aliased: it is drawn with the key colour left out, and soft edges
    would carry a tint of the key colour along."""
    img = Image(7, 4, P.KEY)
    for y in range(4):
        img.hline(y, 7 - y, y, colour)
    return img


def add_pieces(sheet):
    sheet.new_row()
    for state in ('normal', 'hot', 'down', 'focused', 'disabled'):
        sheet.add('button.' + state, push_button(state))
    sheet.new_row()
    for state in ('normal', 'hot', 'down'):
        sheet.add('header.' + state, header_section(state))
    for state in ('normal', 'hot', 'down'):
        sheet.add('tool.' + state, tool_button(state))
    sheet.add('marker.normal', menu_marker(P.SCROLL_ARROW))
    sheet.add('marker.hot', menu_marker(P.TEXT_STRONG))


def _font_keys(disabled=True):
    keys = [
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', ''),
        ('fontcolor', P.colour_value(P.TEXT)),
        ('activefontcolor', P.colour_value(P.TEXT_STRONG)),
        ('downfontcolor', P.colour_value(P.TEXT_STRONG)),
    ]
    if disabled:
        keys.append(('disabledfontcolor', P.colour_value(P.TEXT_DISABLED)))
    return keys


def records(sheet, picture_index):
    r = sheet.rects
    button = r['button.normal']
    header = r['header.normal']
    tool = r['tool.normal']
    push = Record('button', 'button', [
        ('pictureindex', picture_index),
        ('skinrect', button),
        # a row image: fixed ends BUTTON_END wide, the middle stretched
        ('lefttoppoint', Point(BUTTON_END, 0)),
        ('righttoppoint', Point(BUTTON_WIDTH - BUTTON_END, 0)),
        ('clientrect', Rect(3, 2, BUTTON_WIDTH - 3, BUTTON_HEIGHT - 2)),
        ('stretcheffect', True),
    ] + _font_keys() + [
        ('activeskinrect', r['button.hot']),
        ('downskinrect', r['button.down']),
        ('focusedskinrect', r['button.focused']),
        ('disabledskinrect', r['button.disabled']),
        ('morphing', True),
        ('morphkind', 'mkdefault'),
    ])
    section = Record('resizetoolbutton', 'button', [
        ('pictureindex', picture_index),
        ('skinrect', header),
        # nine parts: the gradient edges and middle stretch to the header's
        # height, the top and bottom rows tile along it
        ('lefttoppoint', Point(2, 3)),
        ('righttoppoint', Point(HEADER_WIDTH - 2, 3)),
        ('leftbottompoint', Point(2, HEADER_HEIGHT - 3)),
        ('rightbottompoint', Point(HEADER_WIDTH - 2, HEADER_HEIGHT - 3)),
        ('clientrect', Rect(2, 3, HEADER_WIDTH - 2, HEADER_HEIGHT - 3)),
        ('leftstretch', True),
        ('topstretch', False),
        ('rightstretch', True),
        ('bottomstretch', False),
        ('stretcheffect', True),
        ('stretchtype', 'stfull'),
    ] + _font_keys() + [
        ('activeskinrect', r['header.hot']),
        ('downskinrect', r['header.down']),
    ])
    tool_keys = [
        ('pictureindex', picture_index),
        ('skinrect', tool),
        ('lefttoppoint', Point(4, 0)),
        ('righttoppoint', Point(TOOL_WIDTH - 4, 0)),
        ('clientrect', Rect(3, 2, TOOL_WIDTH - 3, TOOLBAR_HEIGHT - 3)),
        ('stretcheffect', True),
    ] + _font_keys() + [
        ('activeskinrect', r['tool.hot']),
        ('downskinrect', r['tool.down']),
    ]
    # the menu button adds the little arrow that says a menu drops from it
    marker_keys = [
        ('menumarkerflatrect', r['marker.normal']),
        ('menumarkerrect', r['marker.normal']),
        ('menumarkeractiverect', r['marker.hot']),
        ('menumarkerdownrect', r['marker.hot']),
        ('menumarkertransparentcolor', P.colour_value(P.KEY)),
    ]
    return [push, section,
            Record('toolbutton', 'button', tool_keys),
            Record('toolmenubutton', 'menubutton', tool_keys + marker_keys)]
