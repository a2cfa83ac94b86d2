"""Assembling the whole skin: its pictures, its description, and writing both.

The order of everything here is the order in the files: the picture list,
the object records (caption buttons first, so they win the frame's hit test
over the caption text beneath them), then the control records.
"""

import os

from . import buttons, captionbuttons, fields, frame, labels, menus, panels, scrollbars, toolglyphs
from . import palette as P
from .bmp import encode_bmp
from .ini import Section, write_ini
from .sheet import Sheet

SKIN_NAME = 'Mirvo Slate'
HEADER = (
    "Mirvo's own skin. Written by tools/skingen/generate.py, pictures and all:",
    'change the generator and run it again rather than editing these files.',
)


class Skin:
    def __init__(self):
        self.frame_pictures = {}     # PICTURES key -> (file name, image)
        self.pictures = []           # the picture list: (file name, image)
        self.objects = []
        self.controls = []
        self.popup = None
        self.hint = None
        # Pictures written beside the skin that its description does not name:
        # the open dialog's tool bar pictures, which the program embeds.
        self.program_pictures = []

    def add_picture(self, file_name, img):
        if any(name == file_name for name, _ in self.pictures):
            raise ValueError('picture %s twice' % file_name)
        self.pictures.append((file_name, img))
        return len(self.pictures) - 1

    def add_sheet(self, file_name, *groups):
        """Lays the pieces of the given modules out in one picture; returns
        the sheet (for the rectangles) and the picture's index."""
        sheet = Sheet()
        for group in groups:
            group.add_pieces(sheet)
        return sheet, self.add_picture(file_name, sheet.build())

    def sections(self):
        version = Section('VERSION', [
            ('skinname', SKIN_NAME),
            ('skinauthor', 'Mirvo'),
            ('authoremail', ''),
            ('authorurl', ''),
            ('skincomments', 'A calm slate-blue skin for the dictionary.'),
        ])
        pictures = Section('PICTURES', [
            (key, self.frame_pictures[key][0]) for key in ('picture', 'inactivepicture', 'mask')
        ] + [('activepicturescount', len(self.pictures))] + [
            (str(i), name) for i, (name, _) in enumerate(self.pictures)
        ])
        forminfo = Section('FORMINFO', frame.forminfo_keys())

        def directory(name, records):
            return Section(name, [('count', len(records))] + [
                (str(i), '%s:%s' % (rec.name, rec.kind)) for i, rec in enumerate(records)])

        return ([version, pictures, forminfo,
                 directory('SKINOBJECTS', self.objects),
                 directory('SKINCONTROLS', self.controls),
                 self.popup, self.hint, skin_colors()]
                + self.objects + self.controls)

    def files(self):
        """Every file of the skin: name -> bytes."""
        out = {}
        for name, img in list(self.frame_pictures.values()) + self.pictures + self.program_pictures:
            out[name] = encode_bmp(img)
        out['skin.ini'] = write_ini(self.sections(), HEADER).encode('ascii')
        return out

    def write(self, directory):
        os.makedirs(directory, exist_ok=True)
        for name, data in sorted(self.files().items()):
            with open(os.path.join(directory, name), 'wb') as f:
                f.write(data)


def skin_colors():
    c = P.colour_value
    return Section('SKINCOLORS', [
        ('cbtnface', c(P.CLIENT)),
        ('cbtntext', c(P.TEXT)),
        ('cwindow', c(P.WHITE)),
        ('cwindowtext', c(P.TEXT)),
        ('chighlight', c(P.ACCENT)),
        ('chighlighttext', c(P.WHITE)),
        ('cbtnhighlight', c(P.WHITE)),
        ('cbtnshadow', c(P.THUMB_DOWN)),
    ])


def build():
    skin = Skin()
    skin.frame_pictures = {
        'picture': ('frame.bmp', frame.frame_picture(True)),
        'inactivepicture': ('frameinactive.bmp', frame.frame_picture(False)),
        'mask': ('framemask.bmp', frame.frame_mask()),
    }

    caption_sheet, caption_index = skin.add_sheet('captionbuttons.bmp', captionbuttons)
    menu_sheet, menu_index = skin.add_sheet('menuitems.bmp', _MenuItems)
    popup_index = skin.add_picture('popup.bmp', menus.popup_picture())
    popup_mask_index = skin.add_picture('popupmask.bmp', menus.popup_mask())
    hint_index = skin.add_picture('hint.bmp', menus.hint_picture())
    hint_mask_index = skin.add_picture('hintmask.bmp', menus.hint_mask())
    button_sheet, button_index = skin.add_sheet('buttons.bmp', buttons)
    field_sheet, field_index = skin.add_sheet('fields.bmp', fields)
    panel_sheet, panel_index = skin.add_sheet('panels.bmp', panels)
    scroll_sheet, scroll_index = skin.add_sheet('scrollbars.bmp', scrollbars)
    label_sheet, label_index = skin.add_sheet('checkradio.bmp', labels)

    skin.objects = (captionbuttons.records(caption_sheet, caption_index)
                    + [frame.caption_record(), menus.menuitem_record(menu_sheet, menu_index)])
    skin.popup = menus.popup_section(popup_index, popup_mask_index)
    skin.hint = menus.hint_section(hint_index, hint_mask_index)
    skin.controls = (buttons.records(button_sheet, button_index)
                     + fields.records(field_sheet, field_index)
                     + panels.records(panel_sheet, panel_index)
                     + scrollbars.records(scroll_sheet, scroll_index)
                     + labels.records(label_sheet, label_index))
    skin.program_pictures = toolglyphs.pictures()
    return skin


class _MenuItems:
    add_pieces = staticmethod(menus.add_item_pieces)
