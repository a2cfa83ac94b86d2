#!/usr/bin/env python3
"""A rough mock-up of the main window, put together from a skin folder.

    python3 tools/skingen/preview.py [--skin dat/skin1] [--out preview.png]

Reads skin.ini and its pictures, composes the frame at the main window's size
and the skinned controls at the places and sizes the main window gives them,
and below the window a strip with the states the window does not show at rest
(hot and pressed buttons, the inactive caption, a popup menu, a hint, scroll
bars). Pieces are tiled or stretched the simple way (nearest pixel), which is
enough to judge the look and catch misplaced rectangles. The texts are drawn
with ImageMagick when it is installed; without it the mock-up has no text.

Controls that the main window leaves unbound (the gloss pane and the word box)
are drawn in their plain look, as the program shows them.
"""

import argparse
import configparser
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skingen.bmp import read_bmp  # noqa: E402
from skingen.image import Image  # noqa: E402
from skingen.png import write_png  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

# The main window: client area 545 x 400, held to 551 x 391 by its size limits.
WINDOW_W, WINDOW_H = 551, 391
TITLE = 'Mirvo英语小词典'

# Platform colours the unbound controls use.
BTN_SHADOW = (128, 128, 128)
BTN_FACE = (192, 192, 192)
# what shows where a window's region leaves it out
BACKDROP = (90, 100, 112)


# ----------------------------------------------------------------- reading

class SkinFolder:
    def __init__(self, folder):
        self.folder = folder
        ini = configparser.ConfigParser(delimiters=('=',), interpolation=None,
                                        comment_prefixes=(';',), strict=False)
        with open(os.path.join(folder, 'skin.ini'), encoding='ascii') as f:
            ini.read_file(f)
        self.ini = ini
        pics = ini['PICTURES']
        self.frame = self._load(pics['picture'])
        self.inactive = self._load(pics['inactivepicture'])
        self.list = [self._load(pics[str(i)]) for i in range(int(pics['activepicturescount']))]

    def _load(self, name):
        return read_bmp(os.path.join(self.folder, name))

    def section(self, name):
        return self.ini[name] if self.ini.has_section(name) else {}

    def rect(self, section, key):
        text = self.section(section).get(key, '0,0,0,0')
        return tuple(int(v) for v in text.split(','))

    def point(self, section, key):
        text = self.section(section).get(key, '0,0')
        return tuple(int(v) for v in text.split(','))

    def flag(self, section, key):
        return self.section(section).get(key, '0') == '1'

    def int(self, section, key, default=0):
        return int(self.section(section).get(key, default))

    def colour(self, section, key):
        v = self.int(section, key)
        return (v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF)

    def picture(self, section, key='pictureindex'):
        return self.list[self.int(section, key, -1)]


# ------------------------------------------------------------- composition

def copy_scaled(dst, src, sr, dr):
    """Copies rectangle sr of src into dr of dst, nearest pixel."""
    sl, st, srr, sb = sr
    dl, dt, drr, db = dr
    sw, sh, dw, dh = srr - sl, sb - st, drr - dl, db - dt
    if sw <= 0 or sh <= 0 or dw <= 0 or dh <= 0:
        return
    for y in range(dh):
        sy = st + y * sh // dh
        for x in range(dw):
            dst.set(dl + x, dt + y, src.get(sl + x * sw // dw, sy))


def fill_band(dst, src, sr, dr, stretch):
    """Stretches piece sr over dr, or tiles it from dr's top-left corner."""
    if stretch:
        copy_scaled(dst, src, sr, dr)
        return
    sl, st, srr, sb = sr
    pw, ph = srr - sl, sb - st
    if pw <= 0 or ph <= 0:
        return
    dl, dt, drr, db = dr
    y = dt
    while y < db:
        h = min(ph, db - y)
        x = dl
        while x < drr:
            w = min(pw, drr - x)
            copy_scaled(dst, src, (sl, st, sl + w, st + h), (x, y, x + w, y + h))
            x += w
        y += h


def nine_part(src, sr, lt, rt, lb, rb, cr, w, h, edges=(False,) * 4, client_stretch=False,
              draw_client=True):
    """The nine-part composition: corners fixed, edges and middle grown."""
    out = Image(w, h)
    sl, st, srr, sb = sr
    sw, sh = srr - sl, sb - st
    dw, dh = w - sw, h - sh
    top_s, bottom_s, left_s, right_s = edges
    ncr = (cr[0], cr[1], cr[2] + dw, cr[3] + dh)
    nrt = (rt[0] + dw, rt[1])
    nlb = (lb[0], lb[1] + dh)
    nrb = (rb[0] + dw, rb[1] + dh)
    fill_band(out, src, (sl + lt[0], st, sl + rt[0], st + cr[1]), (lt[0], 0, nrt[0], ncr[1]), top_s)
    fill_band(out, src, (sl + lb[0], st + cr[3], sl + rb[0], sb), (nlb[0], ncr[3], nrb[0], h), bottom_s)
    fill_band(out, src, (sl, st + lt[1], sl + cr[0], st + lb[1]), (0, lt[1], ncr[0], nlb[1]), left_s)
    fill_band(out, src, (sl + cr[2], st + rt[1], srr, st + rb[1]), (ncr[2], nrt[1], w, nrb[1]), right_s)
    corners = [
        ((sl, st, sl + lt[0], st + cr[1]), (0, 0)),
        ((sl, st + cr[1], sl + cr[0], st + lt[1]), (0, ncr[1])),
        ((sl + rt[0], st, srr, st + cr[1]), (nrt[0], 0)),
        ((sl + cr[2], st + cr[1], srr, st + rt[1]), (ncr[2], ncr[1])),
        ((sl, st + lb[1], sl + cr[0], sb), (0, nlb[1])),
        ((sl + cr[0], st + cr[3], sl + lb[0], sb), (ncr[0], ncr[3])),
        ((sl + rb[0], st + cr[3], srr, sb), (nrb[0], ncr[3])),
        ((sl + cr[2], st + rb[1], srr, st + cr[3]), (ncr[2], nrb[1])),
    ]
    for piece, (x, y) in corners:
        pw, ph = piece[2] - piece[0], piece[3] - piece[1]
        copy_scaled(out, src, piece, (x, y, x + pw, y + ph))
    if draw_client:
        fill_band(out, src, (sl + cr[0], st + cr[1], sl + cr[2], st + cr[3]), ncr, client_stretch)
    return out


def row(src, sr, left_w, right_w, w, stretch):
    sl, st, srr, sb = sr
    out = Image(w, sb - st)
    copy_scaled(out, src, (sl, st, sl + left_w, sb), (0, 0, left_w, sb - st))
    copy_scaled(out, src, (srr - right_w, st, srr, sb), (w - right_w, 0, w, sb - st))
    fill_band(out, src, (sl + left_w, st, srr - right_w, sb), (left_w, 0, w - right_w, sb - st), stretch)
    return out


def column(src, sr, top_h, bottom_h, h, stretch):
    sl, st, srr, sb = sr
    out = Image(srr - sl, h)
    copy_scaled(out, src, (sl, st, srr, st + top_h), (0, 0, srr - sl, top_h))
    copy_scaled(out, src, (sl, sb - bottom_h, srr, sb), (0, h - bottom_h, srr - sl, h))
    fill_band(out, src, (sl, st + top_h, srr, sb - bottom_h), (0, top_h, srr - sl, h - bottom_h), stretch)
    return out


def control_image(skin, name, w, h, rect_key='skinrect'):
    """A custom control record composed at w x h by the kind its points ask for."""
    sr = skin.rect(name, rect_key)
    lt, rt = skin.point(name, 'lefttoppoint'), skin.point(name, 'righttoppoint')
    lb, rb = skin.point(name, 'leftbottompoint'), skin.point(name, 'rightbottompoint')
    cr = skin.rect(name, 'clientrect')
    src = skin.picture(name)
    stretch = skin.flag(name, 'stretcheffect')
    if rb[0] and rb[1]:
        edges = tuple(skin.flag(name, k) for k in ('topstretch', 'bottomstretch', 'leftstretch', 'rightstretch'))
        return nine_part(src, sr, lt, rt, lb, rb, cr, w, h, edges, stretch)
    if rt[0] or rt[1]:
        return row(src, sr, lt[0], sr[2] - sr[0] - rt[0], w, stretch)
    if lb[0] or lb[1]:
        return column(src, sr, lt[1], sr[3] - sr[1] - lb[1], h, stretch)
    return src.crop(sr)


def piece(skin, section, key, index_key='pictureindex'):
    return skin.picture(section, index_key).crop(skin.rect(section, key))


# ----------------------------------------------------------------- scenes

class Texts:
    """Text to draw later with ImageMagick: (x, y of the box, w, h, text, colour,
    bold, align) in the final picture's coordinates."""

    def __init__(self):
        self.items = []

    def add(self, box, text, colour, bold=False, align='center', size=13):
        self.items.append((box, text, colour, bold, align, size))


def frame_window(skin, w, h, active, texts, ox, oy, hot=None, down=None):
    src = skin.frame if active else skin.inactive
    f = 'FORMINFO'
    cr = skin.rect(f, 'clientrect')
    edges = tuple(skin.flag(f, k) for k in ('topstretch', 'bottomstretch', 'leftstretch', 'rightstretch'))
    img = nine_part(src, (0, 0, src.width, src.height), skin.point(f, 'lefttoppoint'),
                    skin.point(f, 'righttoppoint'), skin.point(f, 'leftbottompoint'),
                    skin.point(f, 'rightbottompoint'), cr, w, h, edges)
    # the window's shape: the mask's corners, placed like the frame corners
    mask = read_bmp(os.path.join(skin.folder, skin.section('PICTURES')['mask']))
    dw = w - src.width
    for y in range(min(cr[1], mask.height)):
        for x in range(skin.point(f, 'lefttoppoint')[0]):
            if mask.get(x, y) != (0, 0, 0):
                img.set(x, y, BACKDROP)
        for x in range(skin.point(f, 'righttoppoint')[0], mask.width):
            if mask.get(x, y) != (0, 0, 0):
                img.set(x + dw, y, BACKDROP)

    # caption buttons, right to left from the caption area's right edge
    area = skin.rect(f, 'captionrect')
    area = (area[0], area[1], area[2] + dw, area[3])
    offset = skin.int(f, 'buttonsoffset')
    x = area[2]
    for name in ('closebutton', 'minbutton', 'rollupbutton', 'traybutton'):
        key = 'skinrect' if active else 'inactiveskinrect'
        if name == hot:
            key = 'activeskinrect'
        if name == down:
            key = 'downrect'
        img_b = piece(skin, name, key, 'activepictureindex')
        x -= img_b.width
        img.paste(img_b, x, area[1])
        x -= offset
    caption_right = x + offset
    sysmenu = piece(skin, 'sysmenubutton', 'skinrect' if active else 'inactiveskinrect', 'activepictureindex')
    sy = area[1] + (area[3] - area[1]) // 2 - sysmenu.height // 2
    img.paste(sysmenu, area[0], sy)
    caption_left = area[0] + sysmenu.width - offset
    tr = skin.rect('caption', 'textrect')
    colour = skin.colour('caption', 'activefontcolor' if active else 'fontcolor')
    texts.add((ox + caption_left + tr[0], oy + area[1] + tr[1], caption_right - caption_left - tr[0],
               tr[3] - tr[1]), TITLE, colour, bold=True, align='left', size=13)
    return img


def main_window(skin, texts, ox, oy):
    img = frame_window(skin, WINDOW_W, WINDOW_H, True, texts, ox, oy)
    cr = skin.rect('FORMINFO', 'clientrect')
    cx, cy = cr[0], cr[1]

    def place(part, x, y):
        img.paste(part, cx + x, cy + y)

    def text(x, y, w, h, s, colour, align='center', bold=False):
        texts.add((ox + cx + x, oy + cy + y, w, h), s, colour, bold, align)

    # gloss pane: a borderless memo in the window colour
    img.fill((cx + 15, cy + 30, cx + 315, cy + 325), (255, 255, 255))
    text(19, 32, 290, 18, 'apple  n. 苹果', (0, 0, 0), 'left')
    # word box: unbound edit, two-pixel plain frame
    img.frame((cx + 340, cy + 30, cx + 440, cy + 51), BTN_SHADOW)
    img.frame((cx + 341, cy + 31, cx + 439, cy + 50), BTN_FACE)
    img.fill((cx + 342, cy + 32, cx + 438, cy + 49), (255, 255, 255))
    text(344, 31, 90, 19, 'apple', (0, 0, 0), 'left')

    def button(x, y, w, caption, state='skinrect'):
        h = skin.rect('button', 'skinrect')
        h = h[3] - h[1]
        place(control_image(skin, 'button', w, h, state), x, y)
        colour = skin.colour('button', 'fontcolor')
        text(x, y, w, h, caption, colour)

    button(452, 28, 65, '翻译')
    # group box with the word list in its client part
    gw, gh = 180, 210
    place(control_image(skin, 'groupbox', gw, gh), 340, 60)
    cap = skin.rect('groupbox', 'captionrect')
    text(cap[0] + 340, cap[1] + 60, gw - 2, cap[3] - cap[1], '单     词',
         skin.colour('groupbox', 'fontcolor'), bold=True)
    client = skin.rect('groupbox', 'clientrect')
    lv = (340 + client[0], 60 + client[1], 340 + gw - (60 - client[2]), 60 + gh - (60 - client[3]))
    bg = skin.colour('listview', 'bgcolor')
    img.fill((cx + lv[0], cy + lv[1], cx + lv[2], cy + lv[3]), bg)
    # the list view's header section, as wide as the list
    header = control_image(skin, 'resizetoolbutton', lv[2] - lv[0], 18)
    place(header, lv[0], lv[1])
    words = ['apple', 'applaud', 'applause', 'appliance', 'applicable']
    for i, word in enumerate(words):
        y = lv[1] + 18 + i * 17
        if i == 1:
            strip = row(skin.picture('listbox'), skin.rect('listbox', 'focusitemrect'),
                        skin.int('listbox', 'itemleftoffset'), skin.int('listbox', 'itemrightoffset'),
                        lv[2] - lv[0], True)
            place(strip, lv[0], y - 1)
        text(lv[0] + 4, y, 170, 17, word, skin.colour('listview', 'fontcolor'), 'left')
    # import path and the lower buttons
    edit_h = skin.rect('edit', 'skinrect')
    place(control_image(skin, 'edit', 98, edit_h[3] - edit_h[1]), 340, 278)
    ec = skin.rect('edit', 'clientrect')
    text(340 + ec[0] + 2, 278 + ec[1], 80, ec[3] - ec[1], 'C:\\', skin.colour('edit', 'fontcolor'), 'left')
    button(440, 275, 29, '...')
    button(474, 275, 46, '导入')
    button(340, 305, 98, '单词共享')
    button(440, 305, 80, '邮件联系')
    return img


def states_strip(skin, texts, ox, oy, width):
    """The looks the window at rest does not show."""
    img = Image(width, 300, (255, 255, 255))

    def label(x, y, s):
        texts.add((ox + x, oy + y, 200, 14), s, (110, 110, 110), align='left', size=11)

    # inactive window caption and hot/pressed caption buttons
    label(10, 4, 'inactive window / hot and pressed caption buttons')
    inactive = frame_window(skin, 320, 40, False, texts, ox + 10, oy + 20)
    img.paste(inactive, 10, 20)
    hot = frame_window(skin, 320, 40, True, texts, ox + 10, oy + 66, hot='minbutton', down='closebutton')
    img.paste(hot, 10, 66)

    # button states
    label(350, 4, 'button: normal, hot, pressed, focused, disabled')
    h = skin.rect('button', 'skinrect')
    h = h[3] - h[1]
    for i, key in enumerate(('skinrect', 'activeskinrect', 'downskinrect', 'focusedskinrect',
                             'disabledskinrect')):
        x = 350 + i * 72
        img.fill((x - 4, 18, x + 68, 18 + h + 8), skin.colour('SKINCOLORS', 'cbtnface'))
        img.paste(control_image(skin, 'button', 65, h, key), x, 22)
        colour = {'activeskinrect': 'activefontcolor', 'downskinrect': 'downfontcolor',
                  'disabledskinrect': 'disabledfontcolor'}.get(key, 'fontcolor')
        texts.add((ox + x, oy + 22, 65, h), '确定', skin.colour('button', colour))

    # combo box, edit active, check boxes
    label(350, 56, 'combo box, active edit, check box states')
    face = skin.colour('SKINCOLORS', 'cbtnface')
    img.fill((346, 70, width - 10, 100), face)
    ch = skin.rect('combobox', 'skinrect')
    combo = control_image(skin, 'combobox', 120, ch[3] - ch[1])
    img.paste(combo, 350, 74)
    hotbtn = piece(skin, 'combobox', 'activebuttonrect')
    br = skin.rect('combobox', 'buttonrect')
    sw = ch[2] - ch[0]
    img.paste(hotbtn, 350 + br[0] + 120 - sw, 74 + br[1])
    texts.add((ox + 356, oy + 74, 90, ch[3] - ch[1]), 'Default', skin.colour('combobox', 'fontcolor'), align='left')
    img.paste(control_image(skin, 'edit', 100, ch[3] - ch[1], 'activeskinrect'), 480, 74)
    for i, key in enumerate(('checkimagerect', 'activecheckimagerect', 'uncheckimagerect',
                             'activeuncheckimagerect', 'unenabledcheckimagerect',
                             'grayedcheckimagerect')):
        img.paste(piece(skin, 'checkradio', key), 590 + i * 18, 78)

    # popup menu
    label(10, 116, 'system menu (one item highlighted) and a hint')
    items = [('最小化', 'item'), ('向上卷拢', 'item'), ('最小化到图标', 'item'), ('-', 'div'),
             ('关于...', 'hot'), ('-', 'div'), ('关闭', 'item')]
    mi = 'menuitem'
    ih = skin.rect(mi, 'skinrect')
    ih = ih[3] - ih[1]
    dh = skin.rect(mi, 'dividerrect')
    dh = dh[3] - dh[1]
    p = 'POPUPWINDOW'
    pic = skin.list[skin.int(p, 'windowpictureindex')]
    ir = skin.rect(p, 'itemsrect')
    frame_h = pic.height - (ir[3] - ir[1])
    frame_w = pic.width - (ir[2] - ir[0])
    mw = 150
    mh = sum(dh if kind == 'div' else ih for _, kind in items) + frame_h
    menu = nine_part(pic, (0, 0, pic.width, pic.height), skin.point(p, 'lefttoppoint'),
                     skin.point(p, 'righttoppoint'), skin.point(p, 'leftbottompoint'),
                     skin.point(p, 'rightbottompoint'), ir, mw, mh)
    mask = skin.list[skin.int(p, 'maskpictureindex')]
    mpic = skin.picture(mi, 'activepictureindex')
    y = ir[1]
    left, right = skin.int(mi, 'itemleftoffset'), skin.int(mi, 'itemrightoffset')
    textrect = skin.rect(mi, 'textrect')
    for caption, kind in items:
        if kind == 'div':
            strip = row(mpic, skin.rect(mi, 'dividerrect'), skin.int(mi, 'dividerleftoffset'),
                        skin.int(mi, 'dividerrightoffset'), mw - frame_w, True)
            menu.paste(strip, ir[0], y)
            y += dh
            continue
        key = 'activeskinrect' if kind == 'hot' else 'skinrect'
        strip = row(mpic, skin.rect(mi, key), left, right, mw - frame_w, True)
        menu.paste(strip, ir[0], y)
        colour = skin.colour(mi, 'activefontcolor' if kind == 'hot' else 'fontcolor')
        texts.add((ox + 10 + ir[0] + textrect[0], oy + 134 + y, 100, ih), caption, colour, align='left')
        if caption == '向上卷拢':
            check = piece(skin, mi, 'checkimagerect', 'activepictureindex')
            im = skin.rect(mi, 'imagerect')
            menu.paste(check, ir[0] + im[0] + (im[2] - im[0] - check.width) // 2,
                       y + im[1] + (im[3] - im[1] - check.height) // 2)
        if caption == '关于...':
            arrow = piece(skin, mi, 'activearrowimagerect', 'activepictureindex')
            menu.paste(arrow, ir[0] + mw - frame_w - 5 - arrow.width, y + (ih - arrow.height) // 2)
        y += ih
    for yy in range(mask.height):
        for xx in range(mask.width):
            if mask.get(xx, yy) != (0, 0, 0):
                tx = xx if xx < mask.width // 2 else mw - mask.width + xx
                ty = yy if yy < mask.height // 2 else mh - mask.height + yy
                if xx < 5 or xx >= mask.width - 5:
                    if yy < 5 or yy >= mask.height - 5:
                        menu.set(tx, ty, (255, 255, 255))
    img.paste(menu, 10, 134)

    # hint
    hp = 'HINTWINDOW'
    hpic = skin.list[skin.int(hp, 'windowpictureindex')]
    hint = nine_part(hpic, (0, 0, hpic.width, hpic.height), skin.point(hp, 'lefttoppoint'),
                     skin.point(hp, 'righttoppoint'), skin.point(hp, 'leftbottompoint'),
                     skin.point(hp, 'rightbottompoint'), skin.rect(hp, 'clientrect'), 100, 24)
    img.paste(hint, 180, 134)
    texts.add((ox + 180, oy + 134, 100, 24), '输入中文/英文', skin.colour(hp, 'fontcolor'))

    # scroll bars with their thumbs
    label(350, 116, 'scroll bars: rest, hot thumb and button, dragged thumb')
    for i, state in enumerate(('thumbrect', 'activethumbrect', 'downthumbrect')):
        x = 350 + i * 30
        bar = control_image(skin, 'vscrollbar', 17, 160)
        thumb = piece(skin, 'vscrollbar', state)
        t = column(thumb, (0, 0, thumb.width, thumb.height), skin.int('vscrollbar', 'thumboffset1'),
                   skin.int('vscrollbar', 'thumboffset2'), 50, True)
        bar.paste(t, 0, 17 + 20 * i)
        grip = piece(skin, 'vscrollbar', 'glyphrect')
        gx, gy = (17 - grip.width) // 2, 17 + 20 * i + (50 - grip.height) // 2
        for yy in range(grip.height):
            for xx in range(grip.width):
                if grip.get(xx, yy) != (255, 0, 255):
                    bar.set(gx + xx, gy + yy, grip.get(xx, yy))
        if state == 'activethumbrect':
            bar.paste(piece(skin, 'vscrollbar', 'activeupbuttonrect'), 0, 160 - 17)
        if state == 'downthumbrect':
            bar.paste(piece(skin, 'vscrollbar', 'downdownbuttonrect'), 0, 0)
        img.paste(bar, x, 134)
    for i, name in enumerate(('hscrollbar', 'bothhscrollbar')):
        bar = control_image(skin, name, 220, 17)
        thumb = piece(skin, name, 'thumbrect')
        t = row(thumb, (0, 0, thumb.width, thumb.height), skin.int(name, 'thumboffset1'),
                skin.int(name, 'thumboffset2'), 60, True)
        bar.paste(t, 17 + 40 * i, 0)
        img.paste(bar, 450, 134 + 30 * i)
    return img


def annotate(png_path, texts):
    """Draws the texts into the PNG with ImageMagick, each centred (or left
    aligned) in its box. Returns False when ImageMagick is not there."""
    convert = shutil.which('convert')
    if not convert or not texts.items:
        return False
    font = subprocess.run(['fc-match', '-f', '%{file}', 'WenQuanYi Micro Hei'],
                          capture_output=True, text=True).stdout.strip()
    args = [convert, '-respect-parentheses', png_path]
    for (x, y, w, h), s, colour, bold, align, size in texts.items:
        hex_colour = '#%02x%02x%02x' % colour
        gravity = 'west' if align == 'left' else 'center'
        args += ['(', '-background', 'none', '-font', font, '-pointsize', str(size),
                 '-fill', hex_colour]
        if bold:
            args += ['-stroke', hex_colour, '-strokewidth', '0.35']
        # label: treats a backslash as an escape
        args += ['label:' + s.replace('\\', '\\\\'), '-gravity', gravity, '-extent', '%dx%d' % (max(w, 1), max(h, 1)), ')',
                 '-gravity', 'northwest', '-geometry', '+%d+%d' % (x, y), '-composite']
    args.append(png_path)
    subprocess.run(args, check=True)
    return True


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--skin', default=os.path.join(ROOT, 'dat', 'skin1'))
    parser.add_argument('--out', default='skin1-preview.png')
    args = parser.parse_args(argv)
    skin = SkinFolder(args.skin)
    texts = Texts()
    margin = 16
    width = WINDOW_W + 2 * margin + 220
    window = main_window(skin, texts, margin, margin)
    strip = states_strip(skin, texts, margin, WINDOW_H + 2 * margin, width - 2 * margin)
    canvas = Image(width, WINDOW_H + strip.height + 3 * margin, BACKDROP)
    canvas.paste(window, margin, margin)
    canvas.paste(strip, margin, WINDOW_H + 2 * margin)
    write_png(args.out, canvas)
    annotate(args.out, texts)
    print(args.out)


if __name__ == '__main__':
    main()
