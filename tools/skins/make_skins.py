#!/usr/bin/env python3
"""Draws Pellmark's window pictures and writes them as PNG files (RGB, no alpha).

    python3 tools/skins/make_skins.py [output folder]     (default: chrome/res)

Every picture is drawn twice, for 96 and for 144 DPI, from the same layout in 96-DPI
pixels, so that a window at 150 % shows sharp pictures instead of stretched ones. Shapes
are anti-aliased from their distance to each pixel; text comes from ImageMagick's
`convert` with the DejaVu Sans font (scripts/install-deps.sh installs both). The main
window's skin is pure red, RGB(255, 0, 0), wherever the window is cut away; no other
pixel of it is pure red. Change a colour or a position below and run the script again.
"""

import math
import os
import subprocess
import sys

from png import write_png

RED = (255, 0, 0)

# The palette: calm slate blues on light grey.
OUTLINE = (30, 43, 56)
HEADER_TOP = (50, 96, 142)
HEADER_BOTTOM = (34, 72, 112)
BODY_TOP = (240, 243, 247)
BODY_BOTTOM = (226, 231, 238)
PANEL = (255, 255, 255)
PANEL_BORDER = (190, 200, 212)
TAB_IDLE_TOP = (226, 232, 239)
TAB_IDLE_BOTTOM = (214, 222, 231)
TAB_TEXT_IDLE = (84, 100, 118)
TAB_TEXT_ACTIVE = (28, 58, 90)
ACCENT = (232, 137, 58)
TILE_TOP = (255, 255, 255)
TILE_BOTTOM = (233, 238, 244)
TILE_BORDER = (184, 195, 208)
TILE_DOWN_TOP = (196, 211, 228)
TILE_DOWN_BOTTOM = (214, 226, 238)
TILE_DOWN_BORDER = (120, 144, 170)
CAPTION = (70, 86, 104)
WHITE = (255, 255, 255)

# The main window, in 96-DPI pixels. The page area is where the form shows its pages.
SKIN_W, SKIN_H = 468, 332
HEADER_H = 44
PAGE = (56, 80, 377, 225)
TABS = (56, 50, 377, 30)
SIDE_BUTTON = 40
SIDE_BUTTONS = [(8, 88), (8, 156), (8, 224)]
SIDE_CAPTIONS = ["Start", "Patterns", "Desktop"]
MENU_BUTTON = (428, 9, 30, 26)
WEB_IMAGE = (301, 310, 132, 18)
TAB_LABELS = {1: ["Positions", "Show/Hide", "Special Icons"],
              2: ["Icon Size", "Explorer", "Captions"]}
LOGO = 64


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Canvas:
    """RGB pixels as floats, drawn in 96-DPI units scaled by `scale`."""

    def __init__(self, width, height, scale, colour):
        self.scale = scale
        self.w = round(width * scale)
        self.h = round(height * scale)
        self.px = [list(colour) for _ in range(self.w * self.h)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        a = min(alpha, 1.0)
        for i in range(3):
            p[i] += (colour[i] - p[i]) * a

    def rounded(self, box, radius, paint, inset=0.0, alpha=1.0, threshold=False):
        """Fills a rounded rectangle (96-DPI units); `paint(t)` gives the colour at
        relative height t. With `threshold` the edge is hard: a pixel is in or out."""
        s = self.scale
        left, top, width, height = box
        x0, y0 = (left + inset) * s, (top + inset) * s
        x1, y1 = (left + width - inset) * s, (top + height - inset) * s
        r = max(radius - inset, 0) * s
        cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
        hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
        for y in range(max(int(y0) - 1, 0), min(int(math.ceil(y1)) + 1, self.h)):
            colour = paint((y + 0.5 - y0) / max(y1 - y0, 1))
            qy = abs(y + 0.5 - cy) - hy
            for x in range(max(int(x0) - 1, 0), min(int(math.ceil(x1)) + 1, self.w)):
                qx = abs(x + 0.5 - cx) - hx
                outside = math.hypot(max(qx, 0), max(qy, 0))
                d = outside + min(max(qx, qy), 0) - r
                cover = min(max(0.5 - d, 0.0), 1.0)
                if threshold:
                    cover = 1.0 if cover >= 0.5 else 0.0
                self.blend(x, y, colour, cover * alpha)

    def disc(self, cx, cy, radius, colour, alpha=1.0):
        self.rounded((cx - radius, cy - radius, 2 * radius, 2 * radius), radius,
                     lambda t: colour, alpha=alpha)

    def line(self, x0, y0, x1, y1, width, colour):
        """A straight stroke with round ends."""
        s = self.scale
        ax, ay, bx, by = x0 * s, y0 * s, x1 * s, y1 * s
        half = width * s / 2
        lo_x, hi_x = int(min(ax, bx) - half - 1), int(max(ax, bx) + half + 2)
        lo_y, hi_y = int(min(ay, by) - half - 1), int(max(ay, by) + half + 2)
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy or 1.0
        for y in range(max(lo_y, 0), min(hi_y, self.h)):
            for x in range(max(lo_x, 0), min(hi_x, self.w)):
                px, py = x + 0.5 - ax, y + 0.5 - ay
                t = min(max((px * dx + py * dy) / length2, 0.0), 1.0)
                d = math.hypot(px - t * dx, py - t * dy) - half
                self.blend(x, y, colour, min(max(0.5 - d, 0.0), 1.0))

    def text(self, text, left, top, width, height, points, colour, bold=False, align="center"):
        """Text centred (or left-aligned) in a box, from an ImageMagick coverage mask."""
        size = max(round(points * self.scale), 6)
        font = "DejaVu-Sans-Bold" if bold else "DejaVu-Sans"
        pgm = subprocess.run(
            ["convert", "-background", "black", "-fill", "white", "-font", font,
             "-pointsize", str(size), "-density", "72", "-depth", "8", "label:" + text,
             "-trim", "+repage", "pgm:-"],
            check=True, capture_output=True).stdout
        fields = pgm.split(maxsplit=3)  # P5, width, height, then maxval and the pixels
        mw, mh = int(fields[1]), int(fields[2])
        mask = pgm[len(pgm) - mw * mh:]
        s = self.scale
        if align == "center":
            ox = round(left * s + (width * s - mw) / 2)
        else:
            ox = round(left * s)
        oy = round(top * s + (height * s - mh) / 2)
        for y in range(mh):
            for x in range(mw):
                self.blend(ox + x, oy + y, colour, mask[y * mw + x] / 255.0)

    def rows(self):
        for y in range(self.h):
            yield bytes(min(max(int(round(c)), 0), 255)
                        for x in range(self.w) for c in self.px[y * self.w + x])

    def pixel(self, x, y):
        return tuple(min(max(int(round(c)), 0), 255) for c in self.px[y * self.w + x])


def vertical(top, bottom):
    return lambda t: mix(top, bottom, min(max(t, 0.0), 1.0))


def solid(colour):
    return lambda t: colour


def draw_logo_mark(c, left, top, size):
    """The program's mark: a desktop tile holding four icons, one of them pinned."""
    c.rounded((left, top, size, size), size * 0.22, vertical((64, 122, 178), (36, 78, 124)))
    c.rounded((left, top, size, size), size * 0.22, solid((255, 255, 255)), alpha=0.10,
              inset=0)
    c.rounded((left, top, size, size * 0.5), size * 0.22, solid(WHITE), alpha=0.08)
    cell = size * 0.25
    gap = size * 0.12
    start = left + (size - 2 * cell - gap) / 2
    for row in range(2):
        for col in range(2):
            x = start + col * (cell + gap)
            y = top + (size - 2 * cell - gap) / 2 + row * (cell + gap)
            pinned = row == 0 and col == 1
            c.rounded((x, y, cell, cell), cell * 0.28,
                      solid(ACCENT if pinned else (236, 242, 248)))
    # The pin: a ring round the marked icon's corner.
    x = start + cell + gap + cell
    y = top + (size - 2 * cell - gap) / 2
    c.disc(x - cell * 0.05, y + cell * 0.05, size * 0.07, WHITE)


def main_skin(scale):
    c = Canvas(SKIN_W, SKIN_H, scale, RED)
    whole = (0, 0, SKIN_W, SKIN_H)
    # The outline is the outermost ring; its outer edge is hard, because the window's
    # region cuts there and a soft edge would blend into the cut-away red.
    c.rounded(whole, 16, solid(OUTLINE), threshold=True)
    cut = [c.pixel(x, y) == RED for y in range(c.h) for x in range(c.w)]
    c.rounded(whole, 16, vertical(BODY_TOP, BODY_BOTTOM), inset=1)
    # Header band, inside the outline ring.
    s = scale
    for y in range(c.h):
        yy = (y + 0.5) / s
        if yy > HEADER_H + 1:
            break
        colour = mix(HEADER_TOP, HEADER_BOTTOM, min(yy / HEADER_H, 1.0))
        for x in range(c.w):
            if cut[y * c.w + x]:
                continue
            cover = min(max(HEADER_H * s - y, 0.0), 1.0)
            inside_x = (x + 0.5) / s
            c.blend(x, y, colour, cover * inside_cover(inside_x, yy))
    c.line(16, 1.6, SKIN_W - 16, 1.6, 1, (110, 150, 190))
    c.line(1, HEADER_H + 0.5, SKIN_W - 1, HEADER_H + 0.5, 1, (20, 52, 84))
    draw_logo_mark(c, 14, 8, 28)
    # The menu button's pressed look, shown when its picture is taken away.
    mx, my, mw, mh = MENU_BUTTON
    c.rounded((mx, my, mw, mh), 6, solid((20, 48, 78)))
    c.rounded((mx, my, mw, mh), 6, solid((14, 36, 60)), inset=1)
    for i in range(3):
        y = my + 8 + i * 5
        c.line(mx + 9, y + 0.5, mx + mw - 9, y + 0.5, 2, (200, 214, 230))
    # Tab strip shadow and the page panel, with a soft drop shadow.
    px, py, pw, ph = PAGE
    for spread, alpha in ((3, 0.05), (2, 0.07), (1, 0.10)):
        c.rounded((px - spread, py - spread + 1, pw + 2 * spread, ph + 2 * spread), 6,
                  solid((40, 60, 80)), alpha=alpha)
    c.rounded((px - 1, py - 1, pw + 2, ph + 2), 3, solid(PANEL_BORDER))
    c.rounded((px, py, pw, ph), 2, solid(PANEL))
    tx, ty, tw, th = TABS
    c.rounded((tx, ty, tw, th), 6, vertical(TAB_IDLE_TOP, TAB_IDLE_BOTTOM))
    # Side column: a faint rail behind the buttons, captions under them.
    c.rounded((4, 80, 48, 204), 10, solid((214, 222, 231)), alpha=0.55)
    for (bx, by), caption in zip(SIDE_BUTTONS, SIDE_CAPTIONS):
        c.rounded((bx, by, SIDE_BUTTON, SIDE_BUTTON), 9, solid(TILE_BORDER))
        c.text(caption, bx - 6, by + SIDE_BUTTON + 2, SIDE_BUTTON + 12, 14, 8.5, CAPTION)
    # Footer: the version strip and the place of the web image.
    c.text("Desktop icons, always where you left them", 58, 310, 230, 18, 8, (110, 124, 140),
           align="left")
    # Red only where the window is cut away.
    for y in range(c.h):
        for x in range(c.w):
            if (c.pixel(x, y) == RED) != cut[y * c.w + x]:
                raise SystemExit(f"the skin's pixel {x},{y} is red by accident")
    return c


# The body's rounded outline, as a function the header fill uses to stay inside it.
def inside_cover(x, y):
    r = 16 - 1
    left, top, right, bottom = 1, 1, SKIN_W - 1, SKIN_H - 1
    cx = min(max(x, left + r), right - r)
    cy = min(max(y, top + r), bottom - r)
    d = math.hypot(x - cx, y - cy) - r
    return min(max(0.5 - d, 0.0), 1.0)


def check_no_red(c):
    """No drawn pixel may be the transparent red by accident."""
    for y in range(c.h):
        for x in range(c.w):
            if c.pixel(x, y) == RED:
                raise SystemExit("a picture other than the skin holds pure red")


def side_button(scale, pressed):
    c = Canvas(SIDE_BUTTON, SIDE_BUTTON, scale, (214, 222, 231))
    box = (0, 0, SIDE_BUTTON, SIDE_BUTTON)
    if pressed:
        c.rounded(box, 9, solid(TILE_DOWN_BORDER))
        c.rounded(box, 9, vertical(TILE_DOWN_TOP, TILE_DOWN_BOTTOM), inset=1)
        c.line(6, 2.2, SIDE_BUTTON - 6, 2.2, 1.4, (150, 170, 192))  # inner shadow
        c.rounded((SIDE_BUTTON / 2 - 9, SIDE_BUTTON - 8, 18, 3), 1.5, solid(ACCENT))
    else:
        c.rounded(box, 9, solid(TILE_BORDER))
        c.rounded(box, 9, vertical(TILE_TOP, TILE_BOTTOM), inset=1)
        c.line(7, SIDE_BUTTON - 2.2, SIDE_BUTTON - 7, SIDE_BUTTON - 2.2, 1, (200, 209, 220))
        c.rounded((SIDE_BUTTON / 2 - 9, SIDE_BUTTON - 8, 18, 3), 1.5, solid((200, 210, 222)))
    # The chevron that says "go there".
    cx, cy = SIDE_BUTTON / 2, SIDE_BUTTON / 2 - 3
    colour = TAB_TEXT_ACTIVE if pressed else (92, 110, 130)
    c.line(cx - 4, cy - 6, cx + 3, cy, 2.2, colour)
    c.line(cx + 3, cy, cx - 4, cy + 6, 2.2, colour)
    check_no_red(c)
    return c


def tab_strip(scale, section, selected):
    tx, ty, tw, th = TABS
    c = Canvas(tw, th, scale, BODY_TOP)
    # The strip sits on the body colour at the height of the tabs.
    c.rounded((0, 0, tw, th + 8), 6, vertical(TAB_IDLE_TOP, TAB_IDLE_BOTTOM))
    width = tw / 3
    for i, label in enumerate(TAB_LABELS[section]):
        left = i * width
        if i == selected:
            c.rounded((left, 0, width, th + 8), 6, solid(PANEL_BORDER))
            c.rounded((left + 1, 1, width - 2, th + 8), 5, solid(PANEL))
            c.rounded((left + 10, 1, width - 20, 2.5), 1.2, solid(ACCENT))
            c.text(label, left, 2, width, th - 2, 9, TAB_TEXT_ACTIVE, bold=True)
        else:
            c.text(label, left, 2, width, th - 2, 9, TAB_TEXT_IDLE)
            if i > 0 and i != selected + 1:
                c.line(left + 0.5, 8, left + 0.5, th - 6, 1, (188, 198, 210))
    # The line the page panel continues from, except under the selected tab.
    sel_left = selected * width
    c.line(0, th - 0.5, sel_left + 1, th - 0.5, 1, PANEL_BORDER)
    c.line(sel_left + width - 1, th - 0.5, tw, th - 0.5, 1, PANEL_BORDER)
    check_no_red(c)
    return c


def menu_button(scale):
    mx, my, mw, mh = MENU_BUTTON
    c = Canvas(mw, mh, scale, mix(HEADER_TOP, HEADER_BOTTOM, (my + mh / 2) / HEADER_H))
    # The header's gradient behind the button, then a light glass tile.
    for y in range(c.h):
        yy = my + (y + 0.5) / scale
        colour = mix(HEADER_TOP, HEADER_BOTTOM, min(yy / HEADER_H, 1.0))
        for x in range(c.w):
            c.px[y * c.w + x] = list(colour)
    c.rounded((0, 0, mw, mh), 6, solid(WHITE), alpha=0.22)
    c.rounded((0, 0, mw, mh), 6, solid(WHITE), alpha=0.10, inset=1)
    for i in range(3):
        y = 8 + i * 5
        c.line(9, y + 0.5, mw - 9, y + 0.5, 2, WHITE)
    check_no_red(c)
    return c


def web_image(scale):
    wx, wy, ww, wh = WEB_IMAGE
    c = Canvas(ww, wh, scale, BODY_BOTTOM)
    # A small globe, then the address.
    cx, cy, r = 9, wh / 2, 6.5
    c.disc(cx, cy, r, (48, 96, 150))
    c.disc(cx, cy, r - 1.3, (236, 242, 248))
    c.line(cx - r + 1.5, cy, cx + r - 1.5, cy, 1.1, (48, 96, 150))
    c.line(cx, cy - r + 1.5, cx, cy + r - 1.5, 1.1, (48, 96, 150))
    c.rounded((cx - 2.6, cy - r + 1.2, 5.2, 2 * r - 2.4), 2.6, solid((48, 96, 150)))
    c.rounded((cx - 1.5, cy - r + 2.3, 3.0, 2 * r - 4.6), 1.5, solid((236, 242, 248)))
    c.text("www.pellmark.example", 20, 0, ww - 20, wh, 8.5, (40, 90, 150), align="left")
    check_no_red(c)
    return c


def about_logo(scale):
    c = Canvas(LOGO, LOGO, scale, (240, 240, 240))
    # A soft shadow under the mark.
    for spread, alpha in ((3, 0.06), (2, 0.08), (1, 0.12)):
        c.rounded((4 - spread, 6 - spread, 56 + 2 * spread, 56 + 2 * spread), 14,
                  solid((40, 60, 80)), alpha=alpha)
    draw_logo_mark(c, 4, 4, 56)
    check_no_red(c)
    return c


# The wallpaper picker, in 96-DPI pixels. Its cut-away colour is whatever its top-left
# pixel is (magenta here); desktop/frmSelectWallpaper.cpp places its controls on the panel.
MAGENTA = (255, 0, 255)
PICKER_W, PICKER_H = 500, 366
PICKER_HEADER_H = 42
PICKER_PANEL = (10, 52, 480, 304)
PICKER_PREVIEW = (226, 64, 252, 166)
PICKER_QUIT = (466, 10, 22, 22)


def wallpaper_skin(scale):
    c = Canvas(PICKER_W, PICKER_H, scale, MAGENTA)
    whole = (0, 0, PICKER_W, PICKER_H)
    c.rounded(whole, 14, solid(OUTLINE), threshold=True)
    cut = [c.pixel(x, y) == MAGENTA for y in range(c.h) for x in range(c.w)]
    c.rounded(whole, 14, vertical(BODY_TOP, BODY_BOTTOM), inset=1)
    # The header band: rounded at the top, straight where it meets the body.
    c.rounded((0, 0, PICKER_W, PICKER_HEADER_H + 20), 14,
              vertical(HEADER_TOP, mix(HEADER_TOP, HEADER_BOTTOM, 1.4)), inset=1)
    c.rounded((1, PICKER_HEADER_H, PICKER_W - 2, 20), 0, solid(BODY_TOP))
    c.line(14, 1.6, PICKER_W - 14, 1.6, 1, (110, 150, 190))
    c.line(1, PICKER_HEADER_H + 0.5, PICKER_W - 1, PICKER_HEADER_H + 0.5, 1, (20, 52, 84))
    draw_logo_mark(c, 12, 8, 26)
    # The quit button: a glass tile with a cross.
    qx, qy, qw, qh = PICKER_QUIT
    c.rounded((qx, qy, qw, qh), 6, solid(WHITE), alpha=0.20)
    c.rounded((qx, qy, qw, qh), 6, solid(WHITE), alpha=0.08, inset=1)
    c.line(qx + 7, qy + 7, qx + qw - 7, qy + qh - 7, 2, WHITE)
    c.line(qx + qw - 7, qy + 7, qx + 7, qy + qh - 7, 2, WHITE)
    # The panel the controls stand on, with a soft drop shadow.
    px, py, pw, ph = PICKER_PANEL
    for spread, alpha in ((3, 0.05), (2, 0.07), (1, 0.10)):
        c.rounded((px - spread, py - spread + 1, pw + 2 * spread, ph + 2 * spread), 6,
                  solid((40, 60, 80)), alpha=alpha)
    c.rounded((px - 1, py - 1, pw + 2, ph + 2), 4, solid(PANEL_BORDER))
    c.rounded((px, py, pw, ph), 3, solid(PANEL))
    # A rule between the lists and the preview, and a frame round the preview's well.
    c.line(218.5, py + 12, 218.5, py + ph - 12, 1, (226, 231, 238))
    vx, vy, vw, vh = PICKER_PREVIEW
    c.rounded((vx - 1, vy - 1, vw + 2, vh + 2), 2, solid(PANEL_BORDER))
    c.rounded((vx, vy, vw, vh), 0, solid((236, 240, 245)))
    # The cut-away colour only where the window is cut away.
    for y in range(c.h):
        for x in range(c.w):
            if (c.pixel(x, y) == MAGENTA) != cut[y * c.w + x]:
                raise SystemExit(f"the picker's pixel {x},{y} is magenta by accident")
    return c


PICTURES = {
    "main-skin": main_skin,
    "wallpaper-skin": wallpaper_skin,
    "side-button-up": lambda s: side_button(s, False),
    "side-button-down": lambda s: side_button(s, True),
    "menu-button": menu_button,
    "web-image": web_image,
    "about-logo": about_logo,
}
for _section in (1, 2):
    for _tab in range(3):
        PICTURES[f"tabs-{_section}-{_tab}"] = (
            lambda s, sec=_section, tab=_tab: tab_strip(s, sec, tab))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "chrome", "res")
    os.makedirs(folder, exist_ok=True)
    for name, draw in PICTURES.items():
        for dpi, scale in ((96, 1.0), (144, 1.5)):
            canvas = draw(scale)
            path = os.path.join(folder, f"{name}-{dpi}.png")
            write_png(path, canvas.w, canvas.h, canvas.rows(), alpha=False)
            print(f"{path}: {canvas.w} x {canvas.h}")


if __name__ == "__main__":
    main()
