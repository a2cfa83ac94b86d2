"""Scroll bars: vertical (a column image), horizontal (a row image) and the
horizontal bar that shares a corner with a vertical one.

A light track with the arrow buttons drawn into its ends, and a rounded thumb
that darkens under the pointer and while dragged. The resting buttons are
part of the bar's image; only their hot and pressed looks are separate images
copied over them.

The bar steps its position up with the button whose place is `upbuttonrect`
and down with the one at `downbuttonrect`. Up in position is towards the end
of the range, which on screen is down (or right), so `upbuttonrect` marks the
bottom (right) button, drawn with an arrow pointing that way, and
`downbuttonrect` the top (left) one. A button moves with the bar's far end
only when it starts strictly beyond the far corner point, so that point lies
one pixel before the far button: the fixed end is the button and the last
pixel of the track, which is plain track colour like the tiled middle.
"""

from . import glyphs as G
from . import palette as P
from .draw import RoundRect, paint
from .image import Image
from .ini import Point, Rect, Record

THICK = 17              # width of a vertical bar, height of a horizontal one
LENGTH = 60             # length of the bar images
BUTTON = 17             # length of each arrow button
THUMB_LENGTH = 20       # thumb image, and so the shortest thumb
THUMB_END = 5           # fixed ends of the thumb image
GRIP = 5


_TRIANGLES = {'up': G.triangle_up, 'down': G.triangle_down,
              'left': G.triangle_left, 'right': G.triangle_right}


def arrow_button(direction, state):
    img = Image(BUTTON, BUTTON, P.TRACK)
    if state == 'hot':
        paint(img, RoundRect((1, 1, BUTTON - 1, BUTTON - 1), 2), P.SCROLL_BUTTON_HOT)
    elif state == 'down':
        paint(img, RoundRect((1, 1, BUTTON - 1, BUTTON - 1), 2), P.SCROLL_BUTTON_DOWN)
    colour = P.SCROLL_ARROW if state == 'normal' else P.TEXT_STRONG
    # the triangle is 7 across and 4 deep, centred in the button
    if direction in ('up', 'down'):
        ox, oy = 5, 6.5
    else:
        ox, oy = 6.5, 5
    paint(img, _TRIANGLES[direction](ox, oy, 7), colour)
    return img


def thumb(vertical, fill):
    if vertical:
        img = Image(THICK, THUMB_LENGTH, P.TRACK)
        paint(img, RoundRect((4, 1, THICK - 4, THUMB_LENGTH - 1), 4.5), fill)
    else:
        img = Image(THUMB_LENGTH, THICK, P.TRACK)
        paint(img, RoundRect((1, 4, THUMB_LENGTH - 1, THICK - 4), 4.5), fill)
    return img


def grip(vertical):
    """Three short crisp lines on the key colour, which the bar leaves out."""
    img = Image(GRIP, GRIP, P.KEY)
    for i in (0, 2, 4):
        if vertical:
            img.hline(0, GRIP, i, P.CLIENT)
        else:
            img.vline(i, 0, GRIP, P.CLIENT)
    return img


def vertical_bar():
    img = Image(THICK, LENGTH, P.TRACK)
    img.paste(arrow_button('up', 'normal'), 0, 0)
    img.paste(arrow_button('down', 'normal'), 0, LENGTH - BUTTON)
    return img


def horizontal_bar(corner=0):
    img = Image(LENGTH + corner, THICK, P.TRACK)
    img.paste(arrow_button('left', 'normal'), 0, 0)
    img.paste(arrow_button('right', 'normal'), LENGTH - BUTTON, 0)
    if corner:
        img.fill((LENGTH, 0, LENGTH + corner, THICK), P.CLIENT)
    return img


def add_pieces(sheet):
    sheet.new_row()
    sheet.add('v.bar', vertical_bar())
    for d in ('up', 'down'):
        for s in ('hot', 'down'):
            sheet.add('v.%s.%s' % (d, s), arrow_button(d, s))
    for name, fill in (('normal', P.THUMB), ('hot', P.THUMB_HOT), ('down', P.THUMB_DOWN)):
        sheet.add('v.thumb.' + name, thumb(True, fill))
    sheet.add('v.grip', grip(True))
    sheet.new_row()
    sheet.add('h.bar', horizontal_bar())
    sheet.add('h.both', horizontal_bar(THICK))
    sheet.new_row()
    for d in ('left', 'right'):
        for s in ('hot', 'down'):
            sheet.add('h.%s.%s' % (d, s), arrow_button(d, s))
    for name, fill in (('normal', P.THUMB), ('hot', P.THUMB_HOT), ('down', P.THUMB_DOWN)):
        sheet.add('h.thumb.' + name, thumb(False, fill))
    sheet.add('h.grip', grip(False))


def _thumb_keys(r, prefix):
    return [
        ('thumbrect', r[prefix + '.thumb.normal']),
        ('activethumbrect', r[prefix + '.thumb.hot']),
        ('downthumbrect', r[prefix + '.thumb.down']),
        ('thumboffset1', THUMB_END),
        ('thumboffset2', THUMB_END),
        ('thumbtransparent', False),
        ('thumbstretcheffect', True),
        ('glyphrect', r[prefix + '.grip']),
        ('glyphtransparent', True),
        ('glyphtransparentcolor', P.colour_value(P.KEY)),
    ]


def records(sheet, picture_index):
    r = sheet.rects
    end = LENGTH - BUTTON          # where the far button starts
    corner = end - 1               # the far corner point, just before it
    vertical = Record('vscrollbar', 'scrollbar', [
        ('pictureindex', picture_index),
        ('skinrect', r['v.bar']),
        # a column image: the two buttons are the fixed ends, the track tiles
        ('lefttoppoint', Point(0, BUTTON)),
        ('leftbottompoint', Point(0, corner)),
        ('clientrect', Rect(0, BUTTON, THICK, corner)),
        ('stretcheffect', False),
        ('trackarea', Rect(0, BUTTON, THICK, end)),
        ('upbuttonrect', Rect(0, end, THICK, LENGTH)),
        ('activeupbuttonrect', r['v.down.hot']),
        ('downupbuttonrect', r['v.down.down']),
        ('downbuttonrect', Rect(0, 0, THICK, BUTTON)),
        ('activedownbuttonrect', r['v.up.hot']),
        ('downdownbuttonrect', r['v.up.down']),
    ] + _thumb_keys(r, 'v'))

    def horizontal(name, skin):
        return Record(name, 'scrollbar', [
            ('pictureindex', picture_index),
            ('skinrect', skin),
            # a row image: the buttons (and the corner) are the fixed ends
            ('lefttoppoint', Point(BUTTON, 0)),
            ('righttoppoint', Point(corner, 0)),
            ('clientrect', Rect(BUTTON, 0, corner, THICK)),
            ('stretcheffect', False),
            ('trackarea', Rect(BUTTON, 0, end, THICK)),
            ('upbuttonrect', Rect(end, 0, LENGTH, THICK)),
            ('activeupbuttonrect', r['h.right.hot']),
            ('downupbuttonrect', r['h.right.down']),
            ('downbuttonrect', Rect(0, 0, BUTTON, THICK)),
            ('activedownbuttonrect', r['h.left.hot']),
            ('downdownbuttonrect', r['h.left.down']),
        ] + _thumb_keys(r, 'h'))
    return [vertical, horizontal('hscrollbar', r['h.bar']), horizontal('bothhscrollbar', r['h.both'])]
