#!/usr/bin/env python3
"""Rewrites the 32-bit images of .ico files as PNG-compressed images, pixel for pixel.

Windows reads PNG images in icons since Vista (Setup needs 7): 32-bit RGBA, no AND mask, which
Windows derives from the alpha channel. Setup draws its icons with their alpha channel (the
window icon, the list views' 32-bit image list), so they look as before at a quarter of the
bytes. Images that are not 32-bit bitmaps, or already PNG, are kept as they are.

Usage: png_icon.py ICO...
"""

import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else b if pb <= pc else c


def filtered(row, previous, kind):
    """One scanline with PNG filter `kind` (0 none, 1 sub, 2 up, 3 average, 4 Paeth), 4 bytes a pixel."""
    out = bytearray([kind])
    for i, value in enumerate(row):
        left = row[i - 4] if i >= 4 else 0
        up = previous[i]
        upper_left = previous[i - 4] if i >= 4 else 0
        predictor = (0, left, up, (left + up) // 2, paeth(left, up, upper_left))[kind]
        out.append((value - predictor) & 0xFF)
    return bytes(out)


def encode_png(width, height, rows):
    """RGBA rows, top first. The smallest of one filter for all rows and a per-row choice."""
    candidates = []
    for choice in range(6):
        previous, data = bytes(width * 4), bytearray()
        for row in rows:
            if choice < 5:
                data += filtered(row, previous, choice)
            else:  # per row, the filter with the smallest sum of absolute differences
                data += min((filtered(row, previous, kind) for kind in range(5)),
                            key=lambda line: sum(min(v, 256 - v) for v in line[1:]))
            previous = row
        candidates.append(zlib.compress(bytes(data), 9))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8 bits, RGBA, no interlace
    return PNG_SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", min(candidates, key=len)) + chunk(b"IEND", b"")


def bitmap_as_png(image):
    """A 32-bit BITMAPINFOHEADER image (bottom-up BGRA, then the mask) as PNG; None for others."""
    if image.startswith(PNG_SIGNATURE) or len(image) < 40:
        return None
    size, width, double_height, _planes, bits, compression = struct.unpack_from("<IiiHHI", image)
    height = double_height // 2
    if size != 40 or bits != 32 or compression != 0 or width <= 0 or height <= 0:
        return None
    pixels = image[40:40 + width * height * 4]
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            blue, green, red, alpha = pixels[(y * width + x) * 4:(y * width + x) * 4 + 4]
            row += bytes((red, green, blue, alpha))
        rows.append(bytes(row))
    return encode_png(width, height, rows)


def rewrite(path):
    with open(path, "rb") as source:
        data = source.read()
    _reserved, kind, count = struct.unpack_from("<HHH", data)
    if kind != 1:
        sys.exit(f"{path}: not an icon file")
    entries = [list(struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)) for i in range(count)]
    images = []
    for entry in entries:
        image = data[entry[7]:entry[7] + entry[6]]
        images.append(bitmap_as_png(image) or image)
    offset = 6 + 16 * count
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    for entry, image in zip(entries, images):
        entry[6], entry[7] = len(image), offset  # width, height, colours, planes and bits stay
        out += struct.pack("<BBBBHHII", *entry)
        offset += len(image)
    for image in images:
        out += image
    with open(path, "wb") as target:
        target.write(out)
    print(f"{path}: {len(data)} -> {len(out)} bytes")


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    for name in sys.argv[1:]:
        rewrite(name)
