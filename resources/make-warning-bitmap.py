#!/usr/bin/env python3
"""Writes warning.bmp: the 40 x 40, 24-bit picture the preview shows when the
requested count does not fit: a red disc with a white diagonal cross, on
black. Run it again only to change the picture; the build uses the file."""
import math
import struct
import sys

SIZE = 40
CENTRE = (SIZE - 1) / 2.0
RADIUS = 18.5
ARM_HALF_WIDTH = 2.6  # half the stroke width of the cross
ARM_REACH = 10.5      # how far each arm runs from the centre along the diagonal


def colour(x, y):
    dx, dy = x - CENTRE, y - CENTRE
    if math.hypot(dx, dy) > RADIUS:
        return (0, 0, 0)
    for sx in (1, -1):
        # Distance from the diagonal through the centre, and along it.
        across = abs(dx * sx - dy) / math.sqrt(2)
        along = abs(dx * sx + dy) / math.sqrt(2)
        if across <= ARM_HALF_WIDTH and along <= ARM_REACH:
            return (255, 255, 255)
    return (220, 0, 0)


def main(path):
    row_bytes = (SIZE * 3 + 3) // 4 * 4
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = bytearray()
        for x in range(SIZE):
            r, g, b = colour(x, y)
            row += bytes((b, g, r))
        row += bytes(row_bytes - len(row))
        pixels += row
    header = struct.pack('<2sIHHI', b'BM', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as out:
        out.write(header + info + pixels)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'warning.bmp')
