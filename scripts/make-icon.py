#!/usr/bin/env python3
"""Draws Qorvic's icon and writes it as src/res/qorvic.ico.

A viewfinder: four white corner brackets and a red centre dot on a blue
rounded square. Each size is drawn for its own pixel grid (stroke widths and
margins are whole pixels), so the brackets stay crisp at 16, 32 and 48 px;
only the rounded corners and the dot are smoothed, by 8 x 8 supersampling.
The output depends on nothing but this file: running it again gives the same
bytes.

Usage: scripts/make-icon.py [output.ico]
"""
import os
import struct
import sys

BLUE = (0x1E, 0x5A, 0xA8)
WHITE = (0xFF, 0xFF, 0xFF)
RED = (0xE0, 0x30, 0x30)

# Per size: corner radius of the square, inset of the brackets from the edge,
# bracket arm length, stroke width, dot radius (all in pixels).
GEOMETRY = {
    16: dict(radius=3, inset=2, arm=5, stroke=2, dot=1.6),
    32: dict(radius=6, inset=5, arm=9, stroke=3, dot=3.2),
    48: dict(radius=9, inset=7, arm=14, stroke=4, dot=4.8),
}
SUBSAMPLES = 8


def inside_rounded_square(x, y, size, radius):
    """Whether the point (x, y) lies inside the rounded square 0..size."""
    cx = min(max(x, radius), size - radius)
    cy = min(max(y, radius), size - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def on_bracket(px, py, size, g):
    """Whether pixel (px, py) belongs to one of the four corner brackets."""
    lo, hi = g["inset"], size - 1 - g["inset"]
    for corner_x, step_x in ((lo, 1), (hi, -1)):
        for corner_y, step_y in ((lo, 1), (hi, -1)):
            dx = (px - corner_x) * step_x  # distance along the arm, >= 0 inside
            dy = (py - corner_y) * step_y
            if 0 <= dx < g["arm"] and 0 <= dy < g["stroke"]:
                return True
            if 0 <= dy < g["arm"] and 0 <= dx < g["stroke"]:
                return True
    return False


def coverage(px, py, test):
    """Fraction of the pixel's subsamples for which test(x, y) holds."""
    hits = 0
    for sy in range(SUBSAMPLES):
        for sx in range(SUBSAMPLES):
            if test(px + (sx + 0.5) / SUBSAMPLES, py + (sy + 0.5) / SUBSAMPLES):
                hits += 1
    return hits / (SUBSAMPLES * SUBSAMPLES)


def mix(a, b, t):
    return tuple(round(a[i] * (1 - t) + b[i] * t) for i in range(3))


def draw(size):
    """The image as rows of (r, g, b, a), top row first."""
    g = GEOMETRY[size]
    centre = size / 2
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            alpha = coverage(px, py, lambda x, y: inside_rounded_square(x, y, size, g["radius"]))
            colour = WHITE if on_bracket(px, py, size, g) else BLUE
            dot = coverage(px, py, lambda x, y: (x - centre) ** 2 + (y - centre) ** 2 <= g["dot"] ** 2)
            colour = mix(colour, RED, dot)
            row.append(colour + (round(alpha * 255),))
        rows.append(row)
    return rows


def icon_image(rows):
    """One icon directory entry's data: a 32-bit DIB plus the 1-bit AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):  # DIBs are stored bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:  # fully transparent pixels are masked out for old renderers
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def ico(sizes):
    images = [icon_image(draw(s)) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "res", "qorvic.ico")
    with open(target, "wb") as f:
        f.write(ico(sorted(GEOMETRY)))


if __name__ == "__main__":
    main()
