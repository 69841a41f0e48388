#!/usr/bin/env python3
"""Draws Brevanto.ico, the program's icon: a glider seen from above on a sky-blue disc, with a
green check mark, at 16, 32 and 48 pixels (each an uncompressed 32-bit image, which every
Windows since XP reads). Run it again after changing the drawing:

    python3 make_icon.py Brevanto.ico
"""

import struct
import sys

SKY = (0x2F, 0x7F, 0xD8)
WHITE = (0xFF, 0xFF, 0xFF)
GREEN = (0x2E, 0xB8, 0x4A)
SAMPLES = 4  # per pixel and direction: the edges are smoothed


def inside_glider(x, y):
    """The glider in the unit square, nose up: long thin wings, fuselage, tailplane."""
    wings = abs(y - 0.40) < 0.045 and abs(x - 0.5) < 0.40
    fuselage = abs(x - 0.5) < 0.035 and 0.16 < y < 0.82
    tail = abs(y - 0.76) < 0.035 and abs(x - 0.5) < 0.13
    return wings or fuselage or tail


def inside_check(x, y):
    """A check mark in the lower right corner: two strokes of the same width."""
    def near(ax, ay, bx, by, width=0.055):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 < width * width
    return near(0.60, 0.78, 0.70, 0.88) or near(0.70, 0.88, 0.92, 0.62)


def colour_at(x, y):
    """The colour at a point of the unit square, None outside the disc."""
    if inside_check(x, y):
        return GREEN
    if (x - 0.5) ** 2 + (y - 0.5) ** 2 > 0.49 ** 2:
        return None
    return WHITE if inside_glider(x, y) else SKY


def pixel(px, py, size):
    """The pixel's colour and opacity, averaged over its samples."""
    totals, hits = [0, 0, 0], 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
            if c is not None:
                hits += 1
                totals = [t + v for t, v in zip(totals, c)]
    if hits == 0:
        return (0, 0, 0, 0)
    r, g, b = (t // hits for t in totals)
    return (b, g, r, 255 * hits // (SAMPLES * SAMPLES))


def image(size):
    """One icon image: a bitmap header of twice the height (colour rows, then the mask rows),
    the colour rows from the bottom up, then an all-clear 1-bit mask (the alpha decides)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(bytes(v for px in range(size) for v in pixel(px, py, size))
                    for py in reversed(range(size)))
    mask_row = ((size + 31) // 32) * 4
    return header + rows + bytes(mask_row * size)


def icon(sizes=(16, 32, 48)):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "Brevanto.ico", "wb") as f:
        f.write(icon())
