"""The colours of the skin, in one place so that every picture agrees.

A calm slate-blue caption over a light neutral client area; controls in white
and soft blue-grey with one accent blue for hover, focus and selection.
Colours are (r, g, b).
"""


def rgb(hex_text):
    v = int(hex_text.lstrip('#'), 16)
    return ((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF)


# Window frame, active
CAPTION_TOP = rgb('#6489b3')
CAPTION_BOTTOM = rgb('#41658f')
CAPTION_SHINE = rgb('#86a5c8')      # first row under the outline
FRAME_OUTLINE = rgb('#2b4462')
FRAME_BORDER = rgb('#41658f')       # sides and bottom, the caption's last colour
CAPTION_TEXT = rgb('#ffffff')

# Window frame, inactive: the same build in quiet greys
CAPTION_TOP_INACTIVE = rgb('#e1e6ec')
CAPTION_BOTTOM_INACTIVE = rgb('#ccd4dd')
CAPTION_SHINE_INACTIVE = rgb('#eef1f5')
FRAME_OUTLINE_INACTIVE = rgb('#8f9cab')
FRAME_BORDER_INACTIVE = rgb('#ccd4dd')
# dark enough to read at 7.5:1 or more on every row of the grey bar; the
# inactive frame stays calmer than the active one through its light,
# unsaturated bar and outline, not through a faint title
CAPTION_TEXT_INACTIVE = rgb('#303c49')

# Caption buttons
CAPBTN_GLYPH = rgb('#f3f6fa')
CAPBTN_GLYPH_INACTIVE = rgb('#485462')   # 5:1 or more on the inactive bar
CAPBTN_HOT = rgb('#ffffff')          # laid over the caption at CAPBTN_HOT_ALPHA
CAPBTN_HOT_ALPHA = 5                 # sixteenths
CAPBTN_DOWN = rgb('#10243c')
CAPBTN_DOWN_ALPHA = 6
CAPBTN_CLOSE_HOT = rgb('#c9514c')
CAPBTN_CLOSE_DOWN = rgb('#a63e3a')

# Client area and text
CLIENT = rgb('#eef1f5')
TEXT = rgb('#1f2d3d')
TEXT_STRONG = rgb('#12263c')
TEXT_DISABLED = rgb('#98a2ad')
WHITE = rgb('#ffffff')
ACCENT = rgb('#3d6fa8')

# Controls
BORDER = rgb('#a3b1c0')
BORDER_HOT = rgb('#6a93c3')
BORDER_FOCUS = rgb('#4f7db3')
BORDER_DOWN = rgb('#5a7fa8')
BORDER_DISABLED = rgb('#c7ced6')
BUTTON_TOP = rgb('#fdfeff')
BUTTON_BOTTOM = rgb('#e1e8ef')
BUTTON_HOT_TOP = rgb('#ffffff')
BUTTON_HOT_BOTTOM = rgb('#d3e2f2')
BUTTON_DOWN_TOP = rgb('#c4d5e8')
BUTTON_DOWN_BOTTOM = rgb('#d9e4f0')
BUTTON_DISABLED = rgb('#eceff3')
SELECTION = rgb('#d6e4f4')          # selected rows, highlighted menu items
SELECTION_BORDER = rgb('#9dbbdd')
SELECTION_FOCUS = rgb('#c6d9ef')
SELECTION_FOCUS_BORDER = rgb('#7ea4d0')

# Group box caption bar and header sections
BAR_TOP = rgb('#f4f7fa')
BAR_BOTTOM = rgb('#dde4ec')
BAR_LINE = rgb('#b7c3d0')
HEADER_TOP = rgb('#fcfdfe')         # header sections at rest
HEADER_BOTTOM = rgb('#d8e0e9')
HEADER_HOT_TOP = rgb('#fbfdff')
HEADER_HOT_BOTTOM = rgb('#d6e3f1')
HEADER_DOWN_TOP = rgb('#cbd9e8')
HEADER_DOWN_BOTTOM = rgb('#dfe7f0')
HEADER_SEPARATOR = rgb('#c3cdd8')

# Scroll bars
TRACK = rgb('#e6eaef')
THUMB = rgb('#b6c2cf')
THUMB_HOT = rgb('#98a8ba')
THUMB_DOWN = rgb('#7a8ea5')
SCROLL_ARROW = rgb('#5d6c7c')
SCROLL_ARROW_DISABLED = rgb('#aab4bf')
SCROLL_BUTTON_HOT = rgb('#d5dde6')
SCROLL_BUTTON_DOWN = rgb('#bfcad6')

# Popup menus and hints
MENU_BORDER = rgb('#8d9daf')
MENU_TEXT = rgb('#1f2d3d')
MENU_DIVIDER = rgb('#d5dce4')
HINT_FILL = rgb('#f7f9fc')

# Pictures reserve a colour for "nothing here"; keyed glyphs use it as their
# transparent colour.
KEY = rgb('#ff00ff')


def colour_value(c):
    """The skin file's colour number for an RGB colour: 0x00BBGGRR."""
    r, g, b = c
    return r | (g << 8) | (b << 16)


def system_colour(index):
    """The skin file's colour number for the system colour with that index."""
    return 0xFF000000 | index
