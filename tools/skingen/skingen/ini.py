"""The skin description: sections, records and the text of their values.

Values are given as Python values and written in the skin file's forms:
rectangles as four numbers and points as two, joined by commas without blanks;
booleans as 1 or 0; integers and colours in decimal; words and names as they
are. Keys come out in exactly the order the generator lists them, so the file
is stable from run to run and reads in the same order as the records' keys.
"""


class Rect(tuple):
    """left, top, right, bottom; right and bottom exclusive."""

    def __new__(cls, left, top, right, bottom):
        return super().__new__(cls, (left, top, right, bottom))

    @property
    def width(self):
        return self[2] - self[0]

    @property
    def height(self):
        return self[3] - self[1]

    def offset(self, dx, dy):
        return Rect(self[0] + dx, self[1] + dy, self[2] + dx, self[3] + dy)

    def relative_to(self, outer):
        """This rectangle in the coordinates of outer's top-left corner."""
        return self.offset(-outer[0], -outer[1])


class Point(tuple):
    def __new__(cls, x, y):
        return super().__new__(cls, (x, y))


def value_text(value):
    if isinstance(value, bool):
        return '1' if value else '0'
    if isinstance(value, (Rect, Point)):
        if any(v < 0 for v in value):
            # the reader drops minus signs, so a negative coordinate would
            # silently turn positive
            raise ValueError('negative coordinate in %r' % (value,))
        return ','.join(str(v) for v in value)
    if isinstance(value, int):
        return str(value)
    if isinstance(value, str):
        return value
    raise TypeError('no skin text for %r' % (value,))


class Section:
    def __init__(self, name, keys=()):
        self.name = name
        self.keys = []
        for key, value in keys:
            self.set(key, value)

    def set(self, key, value):
        if any(k.lower() == key.lower() for k, _ in self.keys):
            raise ValueError('key %r twice in [%s]' % (key, self.name))
        self.keys.append((key, value_text(value)))

    def get(self, key):
        for k, v in self.keys:
            if k.lower() == key.lower():
                return v
        return None


class Record(Section):
    """An object or control record: its section plus the kind word under which
    the directory lists it."""

    def __init__(self, name, kind, keys=()):
        if ':' in name:
            raise ValueError('record name %r holds a colon' % name)
        super().__init__(name, keys)
        self.kind = kind


def write_ini(sections, comment=(), newline='\r\n'):
    """The text of the description, after `comment` lines (written with the
    ';' that makes them comments). Windows line ends: this is a Windows INI
    file, and the reader trims them either way."""
    lines = ['; ' + line for line in comment]
    for section in sections:
        if lines:
            lines.append('')
        lines.append('[%s]' % section.name)
        for key, text in section.keys:
            lines.append('%s=%s' % (key, text))
    return newline.join(lines) + newline
