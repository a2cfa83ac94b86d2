"""Checks of the shipped skin that need no C++ loader.

    python3 skin_content_test.py <skin folder>

Reads skin.ini and the pictures with its own small readers (not the
generator's), so a fault shared by the generator's writer and reader still
shows. Checks that the description has what the program's windows bind to,
that every picture is a plain 24-bit BMP, and that every rectangle and point
lies where it can be used: source rectangles inside their picture, places
inside their control image, state images the size of the normal image,
scroll bars whose fixed ends are exactly their buttons; and that the inactive
caption and the header sections can be seen (luminance contrast ratios).
"""

import os
import struct
import sys
import unittest

SKIN_DIR = None
# The open dialog's tool bar pictures: beside the skin, named by no section.
PROGRAM_PICTURES = {'bs_back.bmp', 'bs_up.bmp', 'bs_newfolder.bmp', 'bs_lvstyle.bmp'}

OBJECT_KINDS = {'menuitem', 'mainmenubaritem', 'stdbutton', 'mainmenubarbutton', 'button',
                'caption', 'animate', 'userobject'}
CONTROL_KINDS = {'panel', 'expanel', 'menubutton', 'button', 'checkradio', 'gauge', 'splitter',
                 'trackbar', 'label', 'stdlabel', 'updown', 'grid', 'tab', 'mainmenubar',
                 'controlbar', 'memo', 'edit', 'checklistbox', 'listbox', 'combobox', 'scrollbar',
                 'spinedit', 'scrollbox', 'treeview', 'bevel', 'slider', 'listview', 'richedit'}
# Word-valued keys and the words each accepts (they are compared case-sensitively).
WORDS = {
    'stretchtype': {'stfull', 'sthorz', 'stvert'},
    'mdibgstretchtype': {'stfull', 'sthorz', 'stvert'},
    'alignment': {'taleftjustify', 'tarightjustify', 'tacenter'},
    'morphkind': {'mkdefault', 'mkgradient', 'mkleftgradient', 'mkrightgradient',
                  'mkleftslide', 'mkrightslide', 'mkpush'},
    'command': {'cmclose', 'cmmaximize', 'cmminimize', 'cmsysmenu', 'cmdefault', 'cmrollup',
                'cmminimizetotray'},
    'inactiveeffect': {'iebrightness', 'iedarkness', 'iegrayscale', 'ienoise', 'iesplitblur',
                       'ieinvert'},
}
FONT_STYLE_WORDS = {'fsbold', 'fsitalic', 'fsunderline', 'fsstrikeout'}
BOOLEAN_KEYS_SUFFIXES = ('stretch', 'stretcheffect', 'transparent', 'morphing', 'showfocus')

# Keys of control records that are places inside the control image (relative
# to skinrect) rather than source rectangles in the picture, by record kind.
PLACE_KEYS = {
    'scrollbar': {'trackarea', 'upbuttonrect', 'downbuttonrect'},
    'combobox': {'buttonrect'},
    'edit': {'buttonrect'},
    'memo': {'buttonrect'},
    'checkradio': {'checkimagearea', 'textarea'},
    'panel': {'captionrect'},
    'listbox': {'captionrect'},
}
# State images that must match the normal image's size, by record kind.
SAME_SIZE = {
    'button': ['activeskinrect', 'downskinrect', 'focusedskinrect', 'disabledskinrect'],
    'menubutton': ['activeskinrect', 'downskinrect', 'focusedskinrect', 'disabledskinrect'],
    'edit': ['activeskinrect'],
    'memo': ['activeskinrect'],
    'combobox': ['activeskinrect'],
    'stdbutton': ['activeskinrect', 'inactiveskinrect', 'downrect', 'restorerect',
                  'restoreactiverect', 'restoredownrect', 'restoreinactiverect'],
    'menuitem': ['activeskinrect'],
}
SAME_SIZE_GROUPS = [
    ['thumbrect', 'activethumbrect', 'downthumbrect'],
    ['glyphrect', 'activeglyphrect', 'downglyphrect'],
    ['itemrect', 'activeitemrect', 'focusitemrect'],
    ['activebuttonrect', 'downbuttonrect', 'unenabledbuttonrect'],
    ['activeupbuttonrect', 'downupbuttonrect'],
    ['activedownbuttonrect', 'downdownbuttonrect'],
    ['checkimagerect', 'activecheckimagerect', 'uncheckimagerect', 'activeuncheckimagerect',
     'unenabledcheckimagerect', 'unenableduncheckimagerect', 'grayedcheckimagerect',
     'activegrayedcheckimagerect'],
]

# The main window: 545 pixels of client area in a window held to 550..551
# pixels wide; push buttons 25 high; the path box an edit 21 high.
MAIN_CLIENT_WIDTH = 545
MAIN_MAX_WIDTH = 551
MAIN_MIN_WIDTH = 550


# ------------------------------------------------------------------ readers

def read_ini(path):
    """Sections as {lower-case name: (name, [(key, value)])}, the way the
    program's reader sees them: trimmed, ';' comments, case-blind names."""
    sections = {}
    current = None
    with open(path, 'rb') as f:
        text = f.read().decode('ascii')
    for raw in text.splitlines():
        line = raw.strip()
        if not line or line.startswith(';'):
            continue
        if line.startswith('[') and line.endswith(']'):
            name = line[1:-1].strip()
            current = sections.setdefault(name.lower(), (name, []))
            continue
        if '=' in line and current is not None:
            key, value = line.split('=', 1)
            current[1].append((key.strip(), value.strip()))
    return sections


class Bmp:
    """A strictly read 24-bit bottom-up BMP with the 40-byte info header."""

    def __init__(self, path):
        with open(path, 'rb') as f:
            data = f.read()
        if data[:2] != b'BM':
            raise ValueError('%s: no BM signature' % path)
        size, _, offset = struct.unpack_from('<IIL', data, 2)
        header, w, h, planes, bits, compression, image_size = struct.unpack_from('<IiiHHII', data, 14)
        stride = (w * 3 + 3) // 4 * 4
        problems = []
        if size != len(data):
            problems.append('file size field %d for %d bytes' % (size, len(data)))
        if header != 40:
            problems.append('info header %d bytes' % header)
        if offset != 54:
            problems.append('pixel offset %d' % offset)
        if planes != 1 or bits != 24 or compression != 0:
            problems.append('planes %d, %d bits, compression %d' % (planes, bits, compression))
        if w <= 0 or h <= 0:
            problems.append('size %dx%d (rows must run bottom-up)' % (w, h))
        if image_size != stride * h or len(data) != 54 + stride * h:
            problems.append('image size %d, %d bytes, expected %d' % (image_size, len(data) - 54, stride * h))
        if problems:
            raise ValueError('%s: %s' % (path, '; '.join(problems)))
        self.width, self.height = w, h
        self._data, self._stride = data, stride

    def pixel(self, x, y):
        base = 54 + (self.height - 1 - y) * self._stride + 3 * x
        b, g, r = self._data[base:base + 3]
        return r, g, b


def rect(text):
    parts = text.split(',')
    assert len(parts) == 4 and all(p.isdigit() for p in parts), 'not a rect: %r' % text
    return tuple(int(p) for p in parts)


def point(text):
    parts = text.split(',')
    assert len(parts) == 2 and all(p.isdigit() for p in parts), 'not a point: %r' % text
    return tuple(int(p) for p in parts)


def empty(r):
    return r[2] - r[0] <= 0 or r[3] - r[1] <= 0


def inside(r, w, h):
    return 0 <= r[0] <= r[2] <= w and 0 <= r[1] <= r[3] <= h


def size(r):
    return (r[2] - r[0], r[3] - r[1])


def colour(value):
    """An RGB colour from the skin file's colour number 0x00BBGGRR."""
    v = int(value)
    return (v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF)


def luminance(c):
    def channel(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    """The usual luminance contrast ratio, 1 (same) to 21 (black on white)."""
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def chroma(c):
    return max(c) - min(c)


# -------------------------------------------------------------------- tests

class SkinContent(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ini = read_ini(os.path.join(SKIN_DIR, 'skin.ini'))
        cls.pictures = {}

    def keys(self, section):
        self.assertIn(section.lower(), self.ini, 'section [%s] missing' % section)
        return dict((k.lower(), v) for k, v in self.ini[section.lower()][1])

    def bmp(self, name):
        if name not in self.pictures:
            path = os.path.join(SKIN_DIR, name)
            self.assertTrue(os.path.isfile(path), 'picture %s missing' % name)
            self.pictures[name] = Bmp(path)
        return self.pictures[name]

    def picture_list(self):
        pics = self.keys('PICTURES')
        return [pics.get(str(i), '') for i in range(int(pics['activepicturescount']))]

    def listed_picture(self, index):
        names = self.picture_list()
        self.assertTrue(0 <= index < len(names), 'picture index %d out of the list' % index)
        return self.bmp(names[index])

    def directory(self, section, kinds):
        d = self.keys(section)
        out = []
        for i in range(int(d['count'])):
            entry = d[str(i)]
            name, _, kind = entry.partition(':')
            self.assertTrue(name, 'entry %d of [%s] has no name' % (i, section))
            self.assertIn(kind, kinds, 'unknown kind in [%s] entry %r' % (section, entry))
            out.append((name, kind))
        names = [n for n, _ in out]
        self.assertEqual(len(names), len(set(names)), 'a record name twice in [%s]' % section)
        return out

    # --- the description as a whole

    def test_sections_and_directories(self):
        for section in ('VERSION', 'PICTURES', 'FORMINFO', 'SKINOBJECTS', 'SKINCONTROLS'):
            self.keys(section)
        for name, _ in (self.directory('SKINOBJECTS', OBJECT_KINDS) +
                        self.directory('SKINCONTROLS', CONTROL_KINDS)):
            # record sections are found case-blind, records by exact name
            self.assertIn(name.lower(), self.ini, 'record section [%s] missing' % name)
            self.assertEqual(self.ini[name.lower()][0], name)

    def test_word_values_are_known_lower_case_words(self):
        for lower, (name, keys) in self.ini.items():
            for key, value in keys:
                k = key.lower()
                if k in WORDS:
                    self.assertIn(value, WORDS[k], '[%s] %s=%s' % (name, key, value))
                elif k.endswith('fontstyle') and value:
                    self.assertTrue(set(value.split(',')) <= FONT_STYLE_WORDS,
                                    '[%s] %s=%s' % (name, key, value))
                elif k.endswith(BOOLEAN_KEYS_SUFFIXES) and not k.endswith('color'):
                    self.assertIn(value, ('0', '1'), '[%s] %s=%s' % (name, key, value))

    def test_every_picture_is_a_plain_bmp_and_every_file_is_used(self):
        pics = self.keys('PICTURES')
        used = {pics['picture'], pics['inactivepicture'], pics['mask']} | set(self.picture_list())
        for name in sorted(used):
            self.assertTrue(name and name == name.lower(), 'picture name %r' % name)
            self.bmp(name)
        on_disk = {f for f in os.listdir(SKIN_DIR) if f.lower().endswith('.bmp')}
        self.assertEqual(on_disk - PROGRAM_PICTURES, used, 'pictures on disk and in [PICTURES] differ')

    def test_the_program_pictures_are_keyed_16_by_16_glyphs(self):
        # The open dialog's tool bar pictures lie beside the skin; the program
        # embeds them. A glyph's bottom-left pixel is its transparent colour.
        for name in sorted(PROGRAM_PICTURES):
            img = self.bmp(name)
            self.assertEqual((img.width, img.height), (16, 16), name)
            self.assertEqual(img.pixel(0, 15), (255, 0, 255), name)
            self.assertTrue(any(img.pixel(x, y) != (255, 0, 255) for y in range(16) for x in range(16)), name)

    # --- the frame

    def test_frame_geometry_fits_the_main_window(self):
        pics = self.keys('PICTURES')
        frame = self.bmp(pics['picture'])
        w, h = frame.width, frame.height
        for other in (pics['inactivepicture'], pics['mask']):
            self.assertEqual((self.bmp(other).width, self.bmp(other).height), (w, h), other)
        f = self.keys('FORMINFO')
        client = rect(f['clientrect'])
        for key in ('clientrect', 'maskrectarea', 'captionrect', 'buttonsrect'):
            if key in f:
                self.assertTrue(inside(rect(f[key]), w, h), 'FORMINFO %s=%s' % (key, f[key]))
        for key in ('lefttoppoint', 'righttoppoint', 'leftbottompoint', 'rightbottompoint'):
            x, y = point(f[key])
            self.assertTrue(0 <= x <= w and 0 <= y <= h, 'FORMINFO %s=%s' % (key, f[key]))
        # a nine-part frame needs its corners apart
        lt, rb = point(f['lefttoppoint']), point(f['rightbottompoint'])
        self.assertTrue(rb[0] > lt[0] and rb[1] > lt[1])
        # 545 pixels of client in the window the size limits allow, and the
        # limits (not the picture) deciding the smallest width
        self.assertEqual(w - (client[2] - client[0]), MAIN_MAX_WIDTH - MAIN_CLIENT_WIDTH)
        self.assertLess(w, MAIN_MIN_WIDTH)
        self.assertEqual(int(f.get('formminwidth', '0')), 0)

    def test_frame_mask_rounds_the_top_corners_only(self):
        pics = self.keys('PICTURES')
        mask = self.bmp(pics['mask'])
        colours = {mask.pixel(x, y) for y in range(mask.height) for x in range(mask.width)}
        self.assertEqual(colours, {(0, 0, 0), (255, 255, 255)})
        w, h = mask.width, mask.height
        self.assertEqual(mask.pixel(0, 0), (255, 255, 255))
        self.assertEqual(mask.pixel(w - 1, 0), (255, 255, 255))
        self.assertEqual(mask.pixel(0, h - 1), (0, 0, 0))
        self.assertEqual(mask.pixel(w - 1, h - 1), (0, 0, 0))
        client = rect(self.keys('FORMINFO')['clientrect'])
        for y in range(client[1], client[3]):
            for x in (client[0], client[2] - 1):
                self.assertEqual(mask.pixel(x, y), (0, 0, 0))

    # --- object records

    def test_caption_buttons_and_caption(self):
        frame = self.bmp(self.keys('PICTURES')['picture'])
        caption_area = rect(self.keys('FORMINFO')['captionrect'])
        commands = {}
        for name, kind in self.directory('SKINOBJECTS', OBJECT_KINDS):
            k = self.keys(name)
            if kind == 'stdbutton':
                commands[k['command']] = name
                self.assertEqual(k.get('morphing'), '1', name)
                self.assertEqual(k.get('skinrectinapicture'), '1', name)
                for key in ('skinrect', 'activeskinrect', 'downrect', 'inactiveskinrect'):
                    self.assertFalse(empty(rect(k.get(key, '0,0,0,0'))), '%s has no %s' % (name, key))
                # the row stands in the caption band
                self.assertLessEqual(size(rect(k['skinrect']))[1], caption_area[3] - caption_area[1])
            if kind == 'caption':
                self.assertIn('activefontcolor', k)
                self.assertEqual(k.get('skinrectinapicture', '0'), '0')
                sr = rect(k['skinrect'])
                self.assertTrue(inside(sr, frame.width, frame.height))
                self.assertTrue(inside(rect(k['textrect']), *size(sr)))
        for command in ('cmsysmenu', 'cmminimize', 'cmrollup', 'cmminimizetotray', 'cmclose'):
            self.assertIn(command, commands)

    def test_menu_item_popup_and_hint(self):
        items = [n for n, kind in self.directory('SKINOBJECTS', OBJECT_KINDS) if kind == 'menuitem']
        # scroll markers look the record up by this name
        self.assertIn('menuitem', items)
        k = self.keys('menuitem')
        for key in ('dividerrect', 'checkimagerect', 'radioimagerect', 'arrowimagerect'):
            self.assertFalse(empty(rect(k[key])), key)
        sr = rect(k['skinrect'])
        for key in ('textrect', 'imagerect'):
            self.assertTrue(inside(rect(k[key]), *size(sr)), key)
        for section, area in (('POPUPWINDOW', 'itemsrect'), ('HINTWINDOW', 'clientrect')):
            s = self.keys(section)
            window = self.listed_picture(int(s['windowpictureindex']))
            mask = self.listed_picture(int(s['maskpictureindex']))
            self.assertEqual((mask.width, mask.height), (window.width, window.height), section)
            self.assertTrue(inside(rect(s[area]), window.width, window.height), section)
            for key in ('lefttoppoint', 'righttoppoint', 'leftbottompoint', 'rightbottompoint'):
                x, y = point(s[key])
                self.assertTrue(0 <= x <= window.width and 0 <= y <= window.height, section + key)

    # --- every rectangle of every record

    def test_rectangles_lie_inside_their_pictures(self):
        frame = self.bmp(self.keys('PICTURES')['picture'])
        records = ([(n, k, 'object') for n, k in self.directory('SKINOBJECTS', OBJECT_KINDS)] +
                   [(n, k, 'control') for n, k in self.directory('SKINCONTROLS', CONTROL_KINDS)])
        for name, kind, family in records:
            keys = self.keys(name)
            index_key = 'activepictureindex' if family == 'object' else 'pictureindex'
            index = int(keys.get(index_key, '-1'))
            picture = self.listed_picture(index) if index >= 0 else None
            skin = rect(keys.get('skinrect', '0,0,0,0'))
            places = PLACE_KEYS.get(kind, set()) | {'clientrect', 'textrect', 'imagerect'}
            for key, value in keys.items():
                if not key.endswith(('rect', 'area')):
                    continue
                r = rect(value)
                if empty(r):
                    continue
                where = '[%s] %s=%s' % (name, key, value)
                if key in places:
                    self.assertTrue(inside(r, *size(skin)), where + ' outside the control image')
                elif key == 'itemtextrect':
                    self.assertTrue(inside(r, *size(rect(keys['itemrect']))), where)
                elif key == 'skinrect' and family == 'object' and keys.get('skinrectinapicture', '0') != '1':
                    self.assertTrue(inside(r, frame.width, frame.height), where + ' outside the frame')
                else:
                    self.assertIsNotNone(picture, where + ' without a picture')
                    self.assertTrue(inside(r, picture.width, picture.height), where + ' outside the picture')
            for key in ('lefttoppoint', 'righttoppoint', 'leftbottompoint', 'rightbottompoint'):
                if key in keys and family == 'control':
                    x, y = point(keys[key])
                    self.assertTrue(x <= size(skin)[0] and y <= size(skin)[1], '[%s] %s' % (name, key))
            mask_index = int(keys.get('maskpictureindex', '-1'))
            if mask_index >= 0:
                mask = self.listed_picture(mask_index)
                self.assertEqual((mask.width, mask.height), (picture.width, picture.height), name)

    def test_state_images_match_the_normal_image(self):
        records = (self.directory('SKINOBJECTS', OBJECT_KINDS) +
                   self.directory('SKINCONTROLS', CONTROL_KINDS))
        for name, kind in records:
            keys = self.keys(name)
            normal = size(rect(keys.get('skinrect', '0,0,0,0')))
            for key in SAME_SIZE.get(kind, []):
                if key in keys:
                    self.assertEqual(size(rect(keys[key])), normal, '[%s] %s' % (name, key))
            for group in SAME_SIZE_GROUPS:
                present = [size(rect(keys[k])) for k in group if k in keys and not empty(rect(keys[k]))]
                self.assertLessEqual(len(set(present)), 1, '[%s] %s' % (name, group))

    def test_keyed_images_have_hard_edges(self):
        # An image drawn with one colour left out must not blend into that
        # colour at its edges, or the edges keep a tint of it on screen.
        keyed = [('glyphrect', 'glyphtransparent', 'glyphtransparentcolor'),
                 ('thumbrect', 'thumbtransparent', 'thumbtransparentcolor'),
                 ('menumarkerrect', None, 'menumarkertransparentcolor')]
        for name, kind in self.directory('SKINCONTROLS', CONTROL_KINDS):
            keys = self.keys(name)
            for rect_key, flag, colour_key in keyed:
                if rect_key not in keys or (flag and keys.get(flag) != '1'):
                    continue
                v = int(keys.get(colour_key, '0'))
                key_colour = (v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF)
                picture = self.listed_picture(int(keys['pictureindex']))
                r = rect(keys[rect_key])
                colours = {picture.pixel(x, y) for y in range(r[1], r[3]) for x in range(r[0], r[2])}
                self.assertIn(key_colour, colours, '[%s] %s never shows its key colour' % (name, rect_key))
                self.assertEqual(len(colours), 2, '[%s] %s: soft edges against the key colour' % (name, rect_key))

    # --- legibility

    def test_inactive_caption_is_readable_and_calmer_than_the_active_one(self):
        pics = self.keys('PICTURES')
        active, inactive = self.bmp(pics['picture']), self.bmp(pics['inactivepicture'])
        band = rect(self.keys('FORMINFO')['captionrect'])
        caption = [n for n, kind in self.directory('SKINOBJECTS', OBJECT_KINDS) if kind == 'caption']
        self.assertTrue(caption)
        x = (band[0] + band[2]) // 2
        rows = range(band[1], band[3])
        for name in caption:
            text = colour(self.keys(name)['fontcolor'])
            worst = min(contrast(text, inactive.pixel(x, y)) for y in rows)
            self.assertGreaterEqual(worst, 6.0, '[%s] inactive title on the inactive bar' % name)
        # calmer: the inactive bar is lighter and nearly grey
        for y in rows:
            self.assertGreater(luminance(inactive.pixel(x, y)), luminance(active.pixel(x, y)), 'row %d' % y)
            self.assertLessEqual(chroma(inactive.pixel(x, y)) * 3, chroma(active.pixel(x, y)), 'row %d' % y)
        for name, kind in self.directory('SKINOBJECTS', OBJECT_KINDS):
            if kind != 'stdbutton':
                continue
            k = self.keys(name)
            picture = self.listed_picture(int(k['activepictureindex']))
            for key in ('inactiveskinrect', 'restoreinactiverect'):
                if key not in k:
                    continue
                r = rect(k[key])
                # column 0 of the image is the bar behind the glyph
                strongest = max(contrast(picture.pixel(px, py), picture.pixel(r[0], py))
                                for py in range(r[1], r[3]) for px in range(r[0], r[2]))
                self.assertGreaterEqual(strongest, 4.5, '[%s] %s: faint glyph' % (name, key))
                glyph = max(((contrast(picture.pixel(px, py), picture.pixel(r[0], py)), picture.pixel(px, py))
                             for py in range(r[1], r[3]) for px in range(r[0], r[2])))[1]
                self.assertLessEqual(chroma(glyph), 40, '[%s] %s: a coloured glyph' % (name, key))

    def test_header_section_shows_its_edge_at_rest(self):
        k = self.keys('resizetoolbutton')
        picture = self.listed_picture(int(k['pictureindex']))
        left, top, right, bottom = rect(k['skinrect'])
        mid_x, mid_y = (left + right) // 2, (top + bottom) // 2
        centre = picture.pixel(mid_x, mid_y)
        white = (255, 255, 255)
        edges = {'top': picture.pixel(mid_x, top), 'bottom': picture.pixel(mid_x, bottom - 1),
                 'right': picture.pixel(right - 1, mid_y)}
        for where, c in edges.items():
            self.assertGreaterEqual(contrast(c, white), 2.0, 'resizetoolbutton %s edge on white' % where)
            self.assertGreaterEqual(contrast(c, centre), 1.5, 'resizetoolbutton %s edge on its fill' % where)
        # and a gradient one can see from the top of the fill to its bottom
        lt, lb = point(k['lefttoppoint']), point(k['leftbottompoint'])
        upper, lower = picture.pixel(mid_x, top + lt[1] - 1), picture.pixel(mid_x, top + lb[1] + 1)
        self.assertGreater(luminance(upper), luminance(lower))
        self.assertGreaterEqual(contrast(upper, lower), 1.25)

    # --- scroll bars

    def test_scroll_bar_far_buttons_lie_beyond_the_far_corner_point(self):
        # A button moves with the bar's length only when it starts strictly
        # beyond the far corner point: the point is the track's last pixel.
        for name, kind in self.directory('SKINCONTROLS', CONTROL_KINDS):
            if kind != 'scrollbar':
                continue
            k = self.keys(name)
            track, up, down = rect(k['trackarea']), rect(k['upbuttonrect']), rect(k['downbuttonrect'])
            vertical = 'leftbottompoint' in k
            where = '[%s]' % name
            if vertical:
                self.assertNotIn('righttoppoint', k, where)
                self.assertEqual(point(k['lefttoppoint'])[1], track[1], where)
                self.assertEqual(point(k['leftbottompoint'])[1], track[3] - 1, where)
                self.assertEqual(down[3], track[1], where)
                self.assertEqual(up[1], track[3], where)
            else:
                self.assertEqual(point(k['lefttoppoint'])[0], track[0], where)
                self.assertEqual(point(k['righttoppoint'])[0], track[2] - 1, where)
                self.assertEqual(down[2], track[0], where)
                self.assertEqual(up[0], track[2], where)

    # --- what the program's windows bind to

    def test_records_the_windows_bind_to(self):
        controls = dict(self.directory('SKINCONTROLS', CONTROL_KINDS))
        wanted = {
            'button': 'button', 'resizetoolbutton': 'button', 'edit': 'edit', 'memo': 'memo',
            'combobox': 'combobox', 'listbox': 'listbox', 'groupbox': 'panel', 'panel': 'panel',
            'listview': 'listview', 'vscrollbar': 'scrollbar', 'hscrollbar': 'scrollbar',
            'bothhscrollbar': 'scrollbar', 'stdlabel': 'stdlabel', 'checkradio': 'checkradio',
        }
        for name, kind in wanted.items():
            self.assertEqual(controls.get(name), kind, name)
        self.assertIn(self.keys('combobox')['listboxname'], controls)
        group = self.keys('groupbox')
        self.assertFalse(empty(rect(group['captionrect'])))
        # the group box is a nine-part image: it takes the size the window gives it
        self.assertTrue(all(point(group['rightbottompoint'])))
        # row images force the height of their image on the control
        self.assertEqual(size(rect(self.keys('button')['skinrect']))[1], 25)
        self.assertEqual(size(rect(self.keys('edit')['skinrect']))[1], 21)


def main():
    global SKIN_DIR
    if len(sys.argv) < 2:
        sys.exit('usage: skin_content_test.py <skin folder> [unittest options]')
    SKIN_DIR = sys.argv.pop(1)
    unittest.main()


if __name__ == '__main__':
    main()
