"""Reading and writing 24-bit Windows BMP files.

The skin loader reads every BMP a user may have, but the pictures we ship are
all written the one plain way: a 14-byte file header, the 40-byte info header,
no colour table, rows bottom-up, three bytes per pixel in blue, green, red order,
each row padded to a multiple of four bytes. The info header carries the real
image size so that pictures packed back to back can be told apart by it.
"""

import struct

from .image import Image

# 96 dots per inch, in pixels per metre, as desktop pictures usually say.
_PIXELS_PER_METRE = 3780


def row_stride(width):
    return (width * 3 + 3) & ~3


def encode_bmp(img):
    """Returns the bytes of a 24-bit bottom-up BMP file holding `img`."""
    stride = row_stride(img.width)
    image_size = stride * img.height
    file_header = struct.pack('<2sIHHI', b'BM', 14 + 40 + image_size, 0, 0, 14 + 40)
    info_header = struct.pack('<IiiHHIIiiII', 40, img.width, img.height, 1, 24, 0,
                              image_size, _PIXELS_PER_METRE, _PIXELS_PER_METRE, 0, 0)
    pad = bytes(stride - img.width * 3)
    rows = []
    for y in range(img.height - 1, -1, -1):
        row = bytearray()
        for r, g, b in img.row(y):
            row += bytes((b, g, r))
        rows.append(bytes(row) + pad)
    return file_header + info_header + b''.join(rows)


def write_bmp(path, img):
    with open(path, 'wb') as f:
        f.write(encode_bmp(img))


class BmpError(ValueError):
    pass


def decode_bmp(data):
    """Reads back a BMP of the kind `encode_bmp` writes (24-bit, uncompressed,
    either row order). Anything else raises BmpError, which is what the checks
    of the shipped skin want: our pictures must all be of that one kind."""
    if len(data) < 54 or data[:2] != b'BM':
        raise BmpError('not a BMP file')
    file_size, _, _, offset = struct.unpack_from('<IHHI', data, 2)
    if file_size != len(data):
        raise BmpError('file size field %d, file has %d bytes' % (file_size, len(data)))
    (header_size, width, height, planes, bits, compression,
     image_size, _, _, colours_used, _) = struct.unpack_from('<IiiHHIIiiII', data, 14)
    if header_size != 40:
        raise BmpError('info header of %d bytes' % header_size)
    if planes != 1 or bits != 24 or compression != 0:
        raise BmpError('not an uncompressed 24-bit picture')
    if colours_used != 0:
        raise BmpError('unexpected colour table')
    top_down = height < 0
    height = abs(height)
    if width <= 0 or height <= 0:
        raise BmpError('empty picture')
    stride = row_stride(width)
    if image_size not in (0, stride * height):
        raise BmpError('image size field %d, expected %d' % (image_size, stride * height))
    if offset + stride * height > len(data):
        raise BmpError('pixel data truncated')
    img = Image(width, height)
    for file_row in range(height):
        y = file_row if top_down else height - 1 - file_row
        base = offset + file_row * stride
        for x in range(width):
            b, g, r = data[base + 3 * x: base + 3 * x + 3]
            img.set(x, y, (r, g, b))
    return img


def read_bmp(path):
    with open(path, 'rb') as f:
        return decode_bmp(f.read())
