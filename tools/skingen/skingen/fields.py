"""Text fields and lists: edit, memo, combo box, list box and list view.

White fields with a one-pixel blue-grey frame that turns accent blue under the
pointer or with the focus. The edit and the combo box are row images 21 pixels
high (the edit always takes the height of its image); the memo and the list
box are nine-part images that grow both ways. Every client part is plain
white, because the controls tile it.
"""

from . import glyphs as G
from . import palette as P
from .draw import RoundRect, paint, rounded_box, vertical_gradient
from .image import Image
from .ini import Point, Rect, Record

FIELD_WIDTH = 60
FIELD_HEIGHT = 21
FIELD_END = 3
FIELD_RADIUS = 2
# the text area: a pixel of white inside the frame on each side, 17 rows for
# the 14-pixel font with its descenders
FIELD_CLIENT = Rect(FIELD_END + 1, 2, FIELD_WIDTH - FIELD_END - 1, FIELD_HEIGHT - 2)

BOX_SIZE = 40           # memo and list box images

COMBO_BUTTON = Rect(FIELD_WIDTH - 19, 1, FIELD_WIDTH - 1, FIELD_HEIGHT - 1)
COMBO_RIGHT_END = 20    # the drop-down button and the frame beside it
COMBO_CLIENT = Rect(FIELD_END, 2, FIELD_WIDTH - COMBO_RIGHT_END - 2, FIELD_HEIGHT - 2)

ITEM_WIDTH = 30
LIST_ITEM_HEIGHT = 18
ITEM_END = 3


def field(border):
    img = Image(FIELD_WIDTH, FIELD_HEIGHT, P.CLIENT)
    rounded_box(img, (0, 0, FIELD_WIDTH, FIELD_HEIGHT), FIELD_RADIUS, border, P.WHITE)
    return img


def square_box(border):
    img = Image(BOX_SIZE, BOX_SIZE, P.WHITE)
    img.frame((0, 0, BOX_SIZE, BOX_SIZE), border)
    return img


def combo_button(state):
    """The drop-down button, as it sits inside the field's frame."""
    b = COMBO_BUTTON
    img = Image(b.width, b.height, P.WHITE)
    tops = {
        'normal': (P.BUTTON_TOP, P.BUTTON_BOTTOM, P.SCROLL_ARROW),
        'hot': (P.BUTTON_HOT_TOP, P.BUTTON_HOT_BOTTOM, P.TEXT_STRONG),
        'down': (P.BUTTON_DOWN_TOP, P.BUTTON_DOWN_BOTTOM, P.TEXT_STRONG),
        'disabled': (P.BUTTON_DISABLED, P.BUTTON_DISABLED, P.SCROLL_ARROW_DISABLED),
    }
    top, bottom, arrow = tops[state]
    # plate inside the field's rounded frame: square on the left, where the
    # separator line is, rounded on the right like the frame
    paint(img, RoundRect((-2, 0, b.width, b.height), FIELD_RADIUS - 1),
          vertical_gradient(top, bottom, 0, b.height))
    img.vline(0, 0, b.height, P.BORDER if state != 'disabled' else P.BORDER_DISABLED)
    dy = 1 if state == 'down' else 0
    paint(img, G.triangle_down((b.width - 7) // 2 + 1, (b.height - 4) // 2 + dy, 7), arrow)
    return img


def combo_body(border, button_state):
    img = field(border)
    img.paste(combo_button(button_state), COMBO_BUTTON[0], COMBO_BUTTON[1])
    return img


def item_strip(fill, border, height):
    img = Image(ITEM_WIDTH, height, P.WHITE)
    if fill != P.WHITE:
        rounded_box(img, (0, 0, ITEM_WIDTH, height), 2, border, fill)
    return img


def add_pieces(sheet):
    sheet.new_row()
    sheet.add('edit.normal', field(P.BORDER))
    sheet.add('edit.active', field(P.BORDER_HOT))
    sheet.add('combo.normal', combo_body(P.BORDER, 'normal'))
    sheet.add('combo.active', combo_body(P.BORDER_HOT, 'normal'))
    for state in ('hot', 'down', 'disabled'):
        sheet.add('combo.button.' + state, combo_button(state))
    sheet.new_row()
    field_height = COMBO_CLIENT.height
    sheet.add('combo.item', item_strip(P.WHITE, None, field_height))
    sheet.add('combo.item.focus', item_strip(P.SELECTION, P.SELECTION_BORDER, field_height))
    sheet.add('list.item', item_strip(P.WHITE, None, LIST_ITEM_HEIGHT))
    sheet.add('list.item.selected', item_strip(P.SELECTION, P.SELECTION_BORDER, LIST_ITEM_HEIGHT))
    sheet.add('list.item.focus', item_strip(P.SELECTION_FOCUS, P.SELECTION_FOCUS_BORDER, LIST_ITEM_HEIGHT))
    sheet.new_row()
    sheet.add('memo.normal', square_box(P.BORDER))
    sheet.add('memo.active', square_box(P.BORDER_HOT))
    sheet.add('listbox', square_box(P.MENU_BORDER))


def _geometry_row(left_end, right_end, client, stretch):
    return [
        ('lefttoppoint', Point(left_end, 0)),
        ('righttoppoint', Point(FIELD_WIDTH - right_end, 0)),
        ('clientrect', client),
        ('stretcheffect', stretch),
    ]


def _geometry_box(client):
    corner = 2
    return [
        ('lefttoppoint', Point(corner, corner)),
        ('righttoppoint', Point(BOX_SIZE - corner, corner)),
        ('leftbottompoint', Point(corner, BOX_SIZE - corner)),
        ('rightbottompoint', Point(BOX_SIZE - corner, BOX_SIZE - corner)),
        ('clientrect', client),
        ('leftstretch', False),
        ('topstretch', False),
        ('rightstretch', False),
        ('bottomstretch', False),
        ('stretcheffect', False),
    ]


def _font(colour=P.TEXT):
    return [('fontname', 'Arial'), ('fontheight', 14), ('fontstyle', ''),
            ('fontcolor', P.colour_value(colour))]


def records(sheet, picture_index):
    r = sheet.rects
    c = P.colour_value
    edit_fonts = _font() + [
        ('disabledfontcolor', c(P.TEXT_DISABLED)),
        ('activefontcolor', c(P.TEXT_STRONG)),
    ]
    edit = Record('edit', 'edit', [
        ('pictureindex', picture_index),
        ('skinrect', r['edit.normal']),
    ] + _geometry_row(FIELD_END, FIELD_END, FIELD_CLIENT, False) + [
        ('activeskinrect', r['edit.active']),
    ] + edit_fonts)

    box_client = Rect(1, 1, BOX_SIZE - 1, BOX_SIZE - 1)
    memo = Record('memo', 'memo', [
        ('pictureindex', picture_index),
        ('skinrect', r['memo.normal']),
    ] + _geometry_box(box_client) + [
        ('activeskinrect', r['memo.active']),
    ] + edit_fonts + [
        ('bgcolor', c(P.WHITE)),
        ('activebgcolor', c(P.WHITE)),
    ])

    combo_item = r['combo.item']
    combo = Record('combobox', 'combobox', [
        ('pictureindex', picture_index),
        ('skinrect', r['combo.normal']),
    ] + _geometry_row(FIELD_END, COMBO_RIGHT_END, COMBO_CLIENT, False) + [
        ('activeskinrect', r['combo.active']),
        ('itemrect', combo_item),
        ('activeitemrect', combo_item),
        ('focusitemrect', r['combo.item.focus']),
        ('itemleftoffset', ITEM_END),
        ('itemrightoffset', ITEM_END),
        ('itemtextrect', Rect(2, 0, ITEM_WIDTH - 2, combo_item.height)),
    ] + _font() + [
        ('focusfontcolor', c(P.TEXT_STRONG)),
        ('activefontcolor', c(P.TEXT)),
        ('listboxname', 'listbox'),
        # where the button lies in the control image; the three state
        # images below are copied over it
        ('buttonrect', COMBO_BUTTON),
        ('activebuttonrect', r['combo.button.hot']),
        ('downbuttonrect', r['combo.button.down']),
        ('unenabledbuttonrect', r['combo.button.disabled']),
        ('itemstretcheffect', True),
        ('focusitemstretcheffect', True),
        ('showfocus', False),
    ])

    list_item = r['list.item']
    listbox = Record('listbox', 'listbox', [
        ('pictureindex', picture_index),
        ('skinrect', r['listbox']),
    ] + _geometry_box(box_client) + [
        ('itemrect', list_item),
        ('activeitemrect', r['list.item.selected']),
        ('focusitemrect', r['list.item.focus']),
        ('itemleftoffset', ITEM_END),
        ('itemrightoffset', ITEM_END),
        ('itemtextrect', Rect(4, 0, ITEM_WIDTH - 4, LIST_ITEM_HEIGHT)),
    ] + _font() + [
        ('activefontcolor', c(P.TEXT_STRONG)),
        ('focusfontcolor', c(P.TEXT_STRONG)),
        ('vscrollbarname', 'vscrollbar'),
        ('hscrollbarname', 'hscrollbar'),
        ('bothhscrollbarname', 'bothhscrollbar'),
        ('showfocus', False),
    ])

    listview = Record('listview', 'listview', _font() + [('bgcolor', c(P.WHITE))])
    return [edit, memo, combo, listbox, listview]
