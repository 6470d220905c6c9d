#!/usr/bin/env python3
"""Draws the program's icon (its mark: a desktop tile of four icons, one pinned) and
writes it as chrome/res/pellmark.ico with every size Windows asks for.

    python3 tools/skins/make_app_icon.py [output file]

The mark is drawn by make_skins.draw_logo_mark, once over black and once over white; the
difference between the two gives each pixel's opacity, so the edges stay anti-aliased
over any taskbar or notification area. Each size is drawn at that size, not scaled.
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_skins  # noqa: E402  (the shared drawing code)

SIZES = (16, 20, 24, 32, 40, 48, 64)


def render(size, background):
    canvas = make_skins.Canvas(size, size, 1.0, background)
    make_skins.draw_logo_mark(canvas, 0, 0, size)
    return canvas


def rgba_pixels(size):
    """Rows from the top, each pixel (r, g, b, a) in 0-255."""
    over_black = render(size, (0, 0, 0))
    over_white = render(size, (255, 255, 255))
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            b = over_black.px[y * size + x]
            w = over_white.px[y * size + x]
            # Over black a pixel is a*c, over white a*c + (1 - a)*255.
            alpha = 1.0 - sum(w[i] - b[i] for i in range(3)) / (3 * 255.0)
            alpha = min(max(alpha, 0.0), 1.0)
            colour = [min(max(b[i] / alpha, 0.0), 255.0) if alpha > 0 else 0 for i in range(3)]
            row.append(tuple(int(round(v)) for v in colour) + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def icon_image(size):
    """One image of the icon file: a 32-bit DIB (height doubled for the mask), bottom-up,
    then the AND mask, which 32-bit images leave clear except where fully transparent."""
    rows = rgba_pixels(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "chrome", "res", "pellmark.ico")
    images = [icon_image(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, image in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image),
                               offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(directory + entries + b"".join(images))
    print(f"{path}: {', '.join(str(s) for s in SIZES)} pixels")


if __name__ == "__main__":
    main()
