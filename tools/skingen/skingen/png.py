"""Writing an Image as a PNG file (8-bit RGB, no filtering), for previews."""

import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(img):
    raw = bytearray()
    for y in range(img.height):
        raw.append(0)  # filter type: none
        for r, g, b in img.row(y):
            raw += bytes((r, g, b))
    header = struct.pack('>IIBBBBB', img.width, img.height, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + _chunk(b'IHDR', header) +
            _chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + _chunk(b'IEND', b''))


def write_png(path, img):
    with open(path, 'wb') as f:
        f.write(encode_png(img))
