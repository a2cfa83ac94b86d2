"""Labels and the check box: "stdlabel" (text only) and "checkradio".

The check box is a row image 20 pixels high on the window's client colour:
the box sits in the fixed left end, the text runs in the growing middle.
"""

from . import glyphs as G
from . import palette as P
from .draw import RoundRect, paint, rounded_box
from .image import Image
from .ini import Point, Rect, Record

ROW_WIDTH = 60
ROW_HEIGHT = 20
MARK_AREA = 20          # the fixed left end that holds the box
BOX = 14


def background():
    return Image(ROW_WIDTH, ROW_HEIGHT, P.CLIENT)


def check_box(checked, state):
    img = Image(BOX, BOX, P.CLIENT)
    border = {'normal': P.BORDER, 'hot': P.BORDER_HOT, 'disabled': P.BORDER_DISABLED}[state]
    fill = P.BUTTON_DISABLED if state == 'disabled' else P.WHITE
    mark = P.TEXT_DISABLED if state == 'disabled' else P.ACCENT
    rounded_box(img, (0, 0, BOX, BOX), 2, border, fill)
    if checked == 'checked':
        paint(img, G.check_mark(2, 2), mark)
    elif checked == 'grayed':
        paint(img, RoundRect((4, 4, BOX - 4, BOX - 4), 1), mark)
    return img


def add_pieces(sheet):
    sheet.new_row()
    sheet.add('checkradio', background())
    for checked in ('checked', 'unchecked', 'grayed'):
        # the record has no image for a disabled third state
        states = ('normal', 'hot') if checked == 'grayed' else ('normal', 'hot', 'disabled')
        for state in states:
            sheet.add('box.%s.%s' % (checked, state), check_box(checked, state))


def records(sheet, picture_index):
    r = sheet.rects
    c = P.colour_value
    label = Record('stdlabel', 'stdlabel', [
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', ''),
        ('fontcolor', c(P.TEXT)),
        ('activefontcolor', c(P.ACCENT)),
    ])
    checkradio = Record('checkradio', 'checkradio', [
        ('pictureindex', picture_index),
        ('skinrect', r['checkradio']),
        ('lefttoppoint', Point(MARK_AREA, 0)),
        ('righttoppoint', Point(ROW_WIDTH - 2, 0)),
        ('clientrect', Rect(MARK_AREA + 2, 0, ROW_WIDTH - 2, ROW_HEIGHT)),
        ('stretcheffect', False),
        ('fontname', 'Arial'),
        ('fontheight', 14),
        ('fontstyle', ''),
        ('fontcolor', c(P.TEXT)),
        ('activefontcolor', c(P.TEXT_STRONG)),
        ('unenabledfontcolor', c(P.TEXT_DISABLED)),
        ('framefontcolor', c(P.TEXT)),
        ('checkimagearea', Rect(0, 0, MARK_AREA, ROW_HEIGHT)),
        ('textarea', Rect(MARK_AREA + 2, 0, ROW_WIDTH - 2, ROW_HEIGHT)),
        ('checkimagerect', r['box.checked.normal']),
        ('uncheckimagerect', r['box.unchecked.normal']),
        ('activecheckimagerect', r['box.checked.hot']),
        ('activeuncheckimagerect', r['box.unchecked.hot']),
        ('unenabledcheckimagerect', r['box.checked.disabled']),
        ('unenableduncheckimagerect', r['box.unchecked.disabled']),
        ('grayedcheckimagerect', r['box.grayed.normal']),
        ('activegrayedcheckimagerect', r['box.grayed.hot']),
        ('morphing', False),
    ])
    return [label, checkradio]
