#!/usr/bin/env python3
"""Draws the pictures of Pellmark's menus and writes them as PNG files with alpha.

    python3 tools/skins/make_menu_icons.py [output folder] [contact sheet PNG]
        (default: tray/res; a sheet is written only when a path is given, with ImageMagick)

Twelve pictures, in the order the menu form's image list keeps them, each drawn at 16 x 16
for 96 DPI and at 24 x 24 for 144 DPI from the same design in 16-unit coordinates. Every
shape is anti-aliased from 5 x 5 samples per pixel, and straight edges are put on whole
pixels at each size, so both sizes stay crisp. The colours are those of the main window's
skin (tools/skins/make_skins.py). Pixels are stored with straight (not premultiplied)
alpha.
"""

import math
import os
import subprocess
import sys

from png import write_png

# The skin's palette, and a few more for what the menus say.
INK = (30, 43, 56)
SLATE = (70, 86, 104)
BLUE_TOP = (64, 122, 178)
BLUE = (50, 96, 142)
BLUE_DARK = (34, 72, 112)
PALE = (236, 242, 248)
WHITE = (255, 255, 255)
ACCENT = (232, 137, 58)
ACCENT_DARK = (196, 104, 32)
NIGHT_TOP = (38, 62, 104)
NIGHT_BOTTOM = (70, 104, 156)
MOON = (255, 222, 120)
GREEN = (58, 150, 84)
GREEN_DARK = (34, 110, 58)
RED = (206, 64, 52)
RED_DARK = (160, 40, 32)
PAPER_TOP = (255, 255, 255)
PAPER_BOTTOM = (226, 233, 241)

SAMPLES = 5


class Icon:
    """RGBA pixels (premultiplied floats while drawing) of a 16-unit design at `scale`."""

    def __init__(self, scale):
        self.s = scale
        self.n = round(16 * scale)
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(self.n * self.n)]

    def snap(self, v):
        """A coordinate on the nearest pixel edge at this size."""
        return round(v * self.s) / self.s

    def fill(self, inside, paint, alpha=1.0):
        """Covers every pixel by the share of its samples that `inside(x, y)` takes (in
        units); `paint` is a colour or a function of the point giving one."""
        s = self.s
        for py in range(self.n):
            for px in range(self.n):
                hits = 0
                for sy in range(SAMPLES):
                    y = (py + (sy + 0.5) / SAMPLES) / s
                    for sx in range(SAMPLES):
                        if inside((px + (sx + 0.5) / SAMPLES) / s, y):
                            hits += 1
                if not hits:
                    continue
                a = alpha * hits / (SAMPLES * SAMPLES)
                colour = paint((px + 0.5) / s, (py + 0.5) / s) if callable(paint) else paint
                p = self.px[py * self.n + px]
                for i in range(3):
                    p[i] = colour[i] * a + p[i] * (1 - a)
                p[3] = a + p[3] * (1 - a)

    def rgba(self, x, y):
        """Straight alpha, as the files keep it."""
        r, g, b, a = self.px[y * self.n + x]
        if a <= 0:
            return (0, 0, 0, 0)
        return tuple(min(max(int(round(c / a)), 0), 255) for c in (r, g, b)) + (
            min(max(int(round(a * 255)), 0), 255),)


# Shapes: functions of a point in units, true inside.

def rect(icon, x0, y0, x1, y1, radius=0.0, snap=True):
    if snap:
        x0, y0, x1, y1 = icon.snap(x0), icon.snap(y0), icon.snap(x1), icon.snap(y1)
    r = min(radius, (x1 - x0) / 2, (y1 - y0) / 2)

    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def stroke(x0, y0, x1, y1, width):
    """A straight stroke with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1.0
    half2 = (width / 2) ** 2

    def inside(x, y):
        t = min(max(((x - x0) * dx + (y - y0) * dy) / length2, 0.0), 1.0)
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= half2
    return inside


def arc(cx, cy, r, width, start, end):
    """A stroke along a circle from `start` to `end` degrees, counter-clockwise with y up
    (0 is to the right, 90 upward), with round ends."""
    ends = [stroke(cx + r * math.cos(math.radians(a)), cy - r * math.sin(math.radians(a)),
                   cx + r * math.cos(math.radians(a)), cy - r * math.sin(math.radians(a)), width)
            for a in (start, end)]
    band = ring(cx, cy, r + width / 2, r - width / 2)

    def inside(x, y):
        if not band(x, y):
            return ends[0](x, y) or ends[1](x, y)
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - start) % 360 <= (end - start) % 360 or ends[0](x, y) or ends[1](x, y)
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(shape(x, y) for shape in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(hole(x, y) for hole in holes)


def vertical(top, bottom, y0=0.0, y1=16.0):
    def paint(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(top[i] + (bottom[i] - top[i]) * t for i in range(3))
    return paint


# Parts several pictures share.

def monitor(icon, screen_paint):
    """A screen on a stand; its glass is 2..14 by 3..10 units."""
    icon.fill(rect(icon, 6.5, 11, 9.5, 14), SLATE)
    icon.fill(rect(icon, 4, 13, 12, 15, 0.8), vertical(SLATE, INK, 13, 15))
    icon.fill(rect(icon, 1, 2, 15, 12, 1.4), vertical((92, 108, 126), INK, 2, 12))
    icon.fill(rect(icon, 2, 3, 14, 11), screen_paint)
    icon.fill(rect(icon, 2, 3, 14, 4), WHITE, alpha=0.12)


def night_screen(icon, stars=True):
    monitor(icon, vertical(NIGHT_TOP, NIGHT_BOTTOM, 3, 11))
    # A crescent moon: a disc with a disc taken out of it.
    icon.fill(minus(disc(6.2, 6.8, 2.6), disc(7.6, 5.9, 2.2)), MOON)
    if stars:
        for x, y, r in ((10.5, 5.2, 0.75), (12.3, 8.2, 0.6), (9.3, 8.9, 0.5)):
            icon.fill(disc(x, y, r), WHITE)


def badge(icon, colour, dark):
    """A round mark on the lower right, ringed in white so it stands off the picture."""
    icon.fill(disc(12, 12, 4), WHITE)
    icon.fill(disc(12, 12, 3.2), vertical(colour, dark, 8.8, 15.2))


def tiles(icon, left, top, cell, gap, colours):
    for row in range(2):
        for col in range(2):
            x = left + col * (cell + gap)
            y = top + row * (cell + gap)
            icon.fill(rect(icon, x, y, x + cell, y + cell, cell * 0.3), colours[row * 2 + col])


# The pictures.

def arrowhead(cx, cy, r, angle, length, half):
    """A triangle at `angle` on a circle, pointing along it counter-clockwise (y up)."""
    a = math.radians(angle)
    px, py = cx + r * math.cos(a), cy - r * math.sin(a)
    tx, ty = -math.sin(a), -math.cos(a)  # the way round, in screen coordinates
    nx, ny = math.cos(a), -math.sin(a)   # outward
    bx, by = px - tx * length * 0.25, py - ty * length * 0.25
    return polygon([(bx + nx * half, by + ny * half), (px + tx * length * 0.75,
                    py + ty * length * 0.75), (bx - nx * half, by - ny * half)])


def restore_pattern(icon):
    # Icons on the desktop, and the arrow that puts the last one back.
    blue = vertical(BLUE_TOP, BLUE_DARK, 1, 14)
    for x, y in ((1, 1), (9, 1), (1, 9)):
        icon.fill(rect(icon, x, y, x + 6, y + 6, 1.4), blue)
    icon.fill(arc(12, 12, 2.6, 2.0, 160, 50), ACCENT)
    icon.fill(arrowhead(12, 12, 2.6, 50, 3.8, 2.4), ACCENT)


def minimize_all(icon):
    # A window going down to the taskbar.
    icon.fill(rect(icon, 2, 1, 14, 9, 1), INK)
    icon.fill(rect(icon, 3, 4, 13, 8), vertical(PAPER_TOP, PAPER_BOTTOM, 4, 8))
    icon.fill(rect(icon, 3, 2, 13, 4), vertical(BLUE_TOP, BLUE, 2, 4))
    icon.fill(polygon([(5, 10), (11, 10), (8, 13.2)]), ACCENT)
    icon.fill(rect(icon, 1, 14, 15, 16, 0.6), vertical(SLATE, INK, 14, 16))


def enable_screen_saver(icon):
    night_screen(icon, stars=False)
    badge(icon, GREEN, GREEN_DARK)
    icon.fill(union(stroke(10.3, 12.1, 11.5, 13.3, 1.2), stroke(11.5, 13.3, 13.8, 10.8, 1.2)),
              WHITE)


def disable_screen_saver(icon):
    night_screen(icon, stars=False)
    badge(icon, RED, RED_DARK)
    icon.fill(rect(icon, 10, 11.4, 14, 12.6, 0.5, snap=False), WHITE)


def show_screen_saver(icon):
    night_screen(icon, stars=True)


def show_window(icon):
    # The program's own mark, as the about box shows it.
    icon.fill(rect(icon, 1, 1, 15, 15, 3.2), vertical(BLUE_TOP, BLUE_DARK, 1, 15))
    icon.fill(rect(icon, 1, 1, 15, 8, 3.2), WHITE, alpha=0.08)
    for (x, y), colour in zip(((3, 3), (9, 3), (3, 9), (9, 9)), (PALE, ACCENT, PALE, PALE)):
        icon.fill(rect(icon, x, y, x + 4, y + 4, 0.9), colour)


def options(icon):
    teeth = [stroke(8 + 5.0 * math.cos(math.radians(a)), 8 - 5.0 * math.sin(math.radians(a)),
                    8 + 6.4 * math.cos(math.radians(a)), 8 - 6.4 * math.sin(math.radians(a)),
                    2.3) for a in range(0, 360, 45)]
    gear = minus(union(disc(8, 8, 5.2), *teeth), disc(8, 8, 2.1))
    icon.fill(gear, vertical((120, 136, 154), SLATE, 1, 15))
    icon.fill(ring(8, 8, 5.2, 4.2), WHITE, alpha=0.18)
    icon.fill(ring(8, 8, 3.0, 2.1), INK, alpha=0.5)


def homepage(icon):
    icon.fill(disc(8, 8, 7), vertical((92, 156, 214), BLUE_DARK, 1, 15))
    inner = disc(8, 8, 6.3)
    # The equator, one meridian as an ellipse, and the axis.
    meridian = lambda x, y: 0.62 <= ((x - 8) / 3.4) ** 2 + ((y - 8) / 6.6) ** 2 <= 1.0
    icon.fill(union(rect(icon, 1.5, 7.5, 14.5, 8.5, snap=False),
                    rect(icon, 7.5, 1.5, 8.5, 14.5, snap=False),
                    lambda x, y: meridian(x, y) and inner(x, y)),
              WHITE, alpha=0.9)
    icon.fill(ring(8, 8, 7, 6.3), BLUE_DARK, alpha=0.6)
    icon.fill(disc(5.3, 4.8, 2.4), WHITE, alpha=0.15)


def email(icon):
    icon.fill(rect(icon, 1, 3, 15, 13, 1.2), INK)
    icon.fill(rect(icon, 2, 4, 14, 12), vertical(PAPER_TOP, PAPER_BOTTOM, 4, 12))
    # The flap, and the folds towards the lower corners.
    icon.fill(union(stroke(2.6, 4.6, 8, 8.6, 1.1), stroke(8, 8.6, 13.4, 4.6, 1.1)), BLUE)
    icon.fill(union(stroke(2.6, 11.4, 6.2, 8.0, 0.8), stroke(13.4, 11.4, 9.8, 8.0, 0.8)),
              (160, 176, 194))


def round_sign(icon, colour, dark):
    icon.fill(disc(8, 8, 7), vertical(colour, dark, 1, 15))
    icon.fill(ring(8, 8, 7, 6.2), WHITE, alpha=0.25)
    icon.fill(disc(8, 5.2, 4.6), WHITE, alpha=0.10)


def help_picture(icon):
    round_sign(icon, BLUE_TOP, BLUE_DARK)
    icon.fill(union(arc(8, 6.1, 2.2, 1.7, 330, 180), stroke(9.9, 7.2, 8, 8.6, 1.7),
                    stroke(8, 8.6, 8, 9.4, 1.7)), WHITE)
    icon.fill(disc(8, 12, 1.05), WHITE)


def about(icon):
    round_sign(icon, (108, 126, 146), SLATE)
    icon.fill(disc(8, 4.6, 1.15), WHITE)
    icon.fill(union(rect(icon, 7, 6.5, 9, 12), rect(icon, 6, 6.5, 9, 7.5),
                    rect(icon, 6, 11, 10, 12)), WHITE)


def exit_picture(icon):
    # The power sign: a ring open at the top, and the stroke through the opening.
    icon.fill(arc(8, 8.8, 5.2, 2.0, 120, 60), vertical(RED, RED_DARK, 2, 15))
    icon.fill(stroke(8, 1.8, 8, 7.6, 2.0), vertical(RED, RED_DARK, 2, 15))


PICTURES = [
    ("restore-pattern", restore_pattern),
    ("minimize-all", minimize_all),
    ("enable-screen-saver", enable_screen_saver),
    ("disable-screen-saver", disable_screen_saver),
    ("show-screen-saver", show_screen_saver),
    ("show-window", show_window),
    ("options", options),
    ("homepage", homepage),
    ("email", email),
    ("help", help_picture),
    ("about", about),
    ("exit", exit_picture),
]


def contact_sheet(path, drawn):
    """Every picture enlarged (16 x 16 eight times, 24 x 24 six times) on a menu's grey,
    then at its real size on the backgrounds a menu gives it; for people to look at."""
    backgrounds = [(240, 240, 240), (255, 255, 255), (0, 120, 215), (212, 208, 200)]
    pad = 6
    cell = 16 * 8 + 24 * 6 + 3 * pad
    per_row = 6
    rows = (len(drawn) + per_row - 1) // per_row
    band = 24 * 6 + 2 * pad
    real = len(backgrounds) * (24 + pad) + pad
    width = per_row * cell + pad
    height = rows * (band + real)
    sheet = [[(128, 128, 128)] * width for _ in range(height)]

    def put(icon, left, top, back, z):
        for y in range(icon.n * z):
            for x in range(icon.n * z):
                r, g, b, a = icon.rgba(x // z, y // z)
                t = a / 255
                sheet[top + y][left + x] = tuple(
                    int(round(back[i] * (1 - t) + (r, g, b)[i] * t)) for i in range(3))

    for i, (small, large) in enumerate(drawn):
        left = pad + (i % per_row) * cell
        top = (i // per_row) * (band + real) + pad
        put(small, left, top + 8 * 4, backgrounds[0], 8)
        put(large, left + 16 * 8 + pad, top, backgrounds[0], 6)
        for j, back in enumerate(backgrounds):
            y0 = top + band + j * (24 + pad)
            for y in range(24 + pad):
                for x in range(cell - pad):
                    sheet[y0 + y][left + x] = back
            put(small, left + 8, y0 + 7, back, 1)
            put(large, left + 40, y0 + 3, back, 1)
    ppm = b"P6 %d %d 255\n" % (width, height) + b"".join(
        bytes(p) for row in sheet for p in row)
    subprocess.run(["convert", "ppm:-", path], input=ppm, check=True)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "tray", "res")
    os.makedirs(folder, exist_ok=True)
    drawn = []
    for name, draw in PICTURES:
        pair = []
        for dpi, scale in ((96, 1.0), (144, 1.5)):
            icon = Icon(scale)
            draw(icon)
            path = os.path.join(folder, f"menu-{name}-{dpi}.png")
            write_png(path, icon.n, icon.n, (b"".join(bytes(icon.rgba(x, y)) for x in range(icon.n))
                                            for y in range(icon.n)), alpha=True)
            print(f"{path}: {icon.n} x {icon.n}")
            pair.append(icon)
        drawn.append(pair)
    if len(sys.argv) > 2:
        contact_sheet(sys.argv[2], drawn)
        print(sys.argv[2])


if __name__ == "__main__":
    main()
