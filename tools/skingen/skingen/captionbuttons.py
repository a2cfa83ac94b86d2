"""Caption buttons: system menu, close, maximize, minimize, roll-up and
minimize-to-tray, each with a normal, hot, pressed and inactive-window image,
and the restore images the maximize, minimize and roll-up buttons show while
the window is in that state.

The buttons keep their images in their own picture and are laid out in a row
at the top of the caption band, so each image carries the caption bar's own
gradient behind it (rows 5 to 24 of the bar): a button at rest is just its
glyph on the bar. Hot and pressed buttons get a soft rounded plate; the close
button's plate is red, as people expect of it.
"""

from . import glyphs as G
from . import palette as P
from .draw import RoundRect, mix, paint
from .frame import CAPTION_RECT, caption_row
from .image import Image
from .ini import Record

BUTTON_WIDTH = 26
SYSMENU_WIDTH = 22
HEIGHT = CAPTION_RECT.height
PLATE_RADIUS = 3

STATES = ('normal', 'hot', 'down', 'inactive')

# name, command word, glyph, restore glyph (for the state the command toggles)
BUTTONS = [
    ('sysmenubutton', 'cmsysmenu', G.menu_lines, None),
    ('closebutton', 'cmclose', G.close_cross, None),
    ('maxbutton', 'cmmaximize', G.maximize_box, G.restore_boxes),
    ('minbutton', 'cmminimize', G.minimize_bar, G.restore_boxes),
    ('rollupbutton', 'cmrollup', G.chevron_up, G.chevron_down),
    ('traybutton', 'cmminimizetotray', G.tray_arrow, None),
]

def button_image(glyph, state, width, is_close=False):
    active = state != 'inactive'

    def bar(x, y):
        return caption_row(CAPTION_RECT[1] + y, active)
    img = Image(width, HEIGHT)
    for y in range(HEIGHT):
        img.hline(0, width, y, bar(0, y))

    plate = RoundRect((1, 0, width - 1, HEIGHT), PLATE_RADIUS)
    glyph_colour = P.CAPBTN_GLYPH if active else P.CAPBTN_GLYPH_INACTIVE
    if state == 'hot':
        if is_close:
            paint(img, plate, P.CAPBTN_CLOSE_HOT)
        else:
            paint(img, plate, lambda x, y: mix(bar(x, y), P.CAPBTN_HOT, P.CAPBTN_HOT_ALPHA, 16))
    elif state == 'down':
        if is_close:
            paint(img, plate, P.CAPBTN_CLOSE_DOWN)
        else:
            paint(img, plate, lambda x, y: mix(bar(x, y), P.CAPBTN_DOWN, P.CAPBTN_DOWN_ALPHA, 16))

    ox = (width - G.CAPTION_GLYPH) // 2
    oy = (HEIGHT - G.CAPTION_GLYPH) // 2
    if state == 'down':
        # the glyph sinks one pixel with the plate
        oy += 1
    paint(img, glyph(ox, oy), glyph_colour)
    return img


def add_pieces(sheet):
    for name, _, glyph, restore in BUTTONS:
        width = SYSMENU_WIDTH if name == 'sysmenubutton' else BUTTON_WIDTH
        sheet.new_row()
        for state in STATES:
            sheet.add('%s.%s' % (name, state), button_image(glyph, state, width, name == 'closebutton'))
        if restore:
            for state in STATES:
                sheet.add('%s.restore.%s' % (name, state), button_image(restore, state, width))


def records(sheet, picture_index):
    out = []
    rects = sheet.rects
    for name, command, _, restore in BUTTONS:
        keys = [
            ('activepictureindex', picture_index),
            ('skinrectinapicture', True),
            ('skinrect', rects[name + '.normal']),
            ('activeskinrect', rects[name + '.hot']),
            ('inactiveskinrect', rects[name + '.inactive']),
            ('morphing', True),
            ('morphkind', 'mkdefault'),
            ('downrect', rects[name + '.down']),
            ('command', command),
        ]
        if restore:
            keys += [
                ('restorerect', rects[name + '.restore.normal']),
                ('restoreactiverect', rects[name + '.restore.hot']),
                ('restoredownrect', rects[name + '.restore.down']),
                ('restoreinactiverect', rects[name + '.restore.inactive']),
            ]
        out.append(Record(name, 'stdbutton', keys))
    return out
