#!/usr/bin/env python3
"""Draws Perchling's artwork as pixel art and writes it in Windows file formats.

  skin/default.bmp  75x80  24-bit   golden fledgling on a branch with a leaf
  skin/night.bmp    66x80  8-bit    sleeping night fledgling in a nightcap, moon
  skin/ソラ.bmp     96x72  32-bit   sky-blue fledgling next to a cloud
  res/perchling.ico 48x48  8-bit    the fledgling's face (one image, AND mask)
  res/link.cur      32x32  1-bit    pointing hand, hotspot (5,5) at the fingertip

Skins use pure magenta (255,0,255) as the see-through background colour.
Standard library only.  Run from the repository root:

    python3 tools/make_art.py

The output is deterministic: running it again rewrites identical bytes.
"""
import math
import os
import struct

from pictures import MAGENTA, bmp_file

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
BG = "."                    # background character on every canvas

# Colours are looked up per picture by a one-letter key.
COMMON = {
    BG: MAGENTA, "k": (52, 30, 36), "e": (34, 22, 30), "E": (255, 255, 255),
    "o": (246, 146, 48), "O": (196, 92, 36), "l": (232, 128, 56), "L": (176, 86, 40),
    "b": (128, 86, 54), "n": (88, 58, 40), "m": (164, 118, 76),
    "g": (108, 180, 72), "G": (64, 128, 58), "y": (158, 214, 104),
}
GOLD = dict(COMMON, **{
    "B": (250, 202, 84), "d": (222, 152, 56), "h": (255, 234, 150),
    "w": (255, 242, 204), "x": (242, 214, 160), "W": (234, 166, 62),
    "V": (190, 118, 42), "p": (250, 150, 120)})
NIGHT = dict(COMMON, **{
    "k": (20, 16, 44), "e": (20, 16, 44), "B": (84, 84, 164), "d": (58, 54, 122),
    "h": (120, 124, 200), "w": (150, 152, 214), "x": (118, 118, 186),
    "W": (66, 62, 138), "V": (44, 40, 100), "p": (150, 110, 176),
    "o": (214, 150, 72), "O": (160, 100, 52), "l": (178, 112, 62), "L": (130, 80, 48),
    "b": (82, 62, 70), "n": (50, 38, 52), "m": (110, 86, 96),
    "c": (112, 64, 158), "C": (80, 44, 120), "s": (240, 232, 196),
    "M": (252, 232, 128), "N": (222, 190, 84), "z": (150, 160, 232)})
SKY = dict(COMMON, **{
    "k": (28, 48, 88), "e": (22, 34, 64), "B": (124, 194, 244), "d": (80, 148, 214),
    "h": (178, 226, 252), "w": (236, 246, 255), "x": (200, 224, 246),
    "W": (96, 168, 230), "V": (60, 120, 190), "p": (250, 162, 150),
    "C": (252, 252, 255), "Q": (204, 220, 240), "q": (120, 150, 190),
    "Y": (255, 214, 80), "U": (250, 170, 60)})


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[BG] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x] if 0 <= x < self.w and 0 <= y < self.h else BG

    def put(self, x, y, ch):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = ch

    def ellipse(self, cx, cy, rx, ry, ch, dark=None, light=None, clip=None, tilt=0.0):
        """Filled ellipse, turned by `tilt` radians; optional shade toward the
        lower right, highlight toward the upper left. Returns the pixels covered."""
        mask = set()
        co, si, r = math.cos(tilt), math.sin(tilt), max(rx, ry)
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                px, py = x + 0.5 - cx, y + 0.5 - cy
                nx, ny = (px * co + py * si) / rx, (py * co - px * si) / ry
                if nx * nx + ny * ny > 1 or (clip and (x, y) not in clip):
                    continue
                d = 0.45 * nx + 0.9 * ny
                c = ch
                if dark and d > 0.62:
                    c = dark
                elif light and d < -0.5 and nx * nx + ny * ny > 0.45:
                    c = light
                self.put(x, y, c)
                mask.add((x, y))
        return mask

    def poly(self, pts, ch):
        """Filled polygon (even-odd rule at pixel centres)."""
        mask = set()
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            for x in range(self.w):
                inside, j = False, len(pts) - 1
                for i in range(len(pts)):
                    (xi, yi), (xj, yj) = pts[i], pts[j]
                    if (yi > y + 0.5) != (yj > y + 0.5):
                        if x + 0.5 < xi + (y + 0.5 - yi) * (xj - xi) / (yj - yi):
                            inside = not inside
                    j = i
                if inside:
                    self.put(x, y, ch)
                    mask.add((x, y))
        return mask

    def stamp(self, x0, y0, rows, flip=False):
        """Copy an ASCII pattern; spaces are left untouched."""
        for dy, row in enumerate(rows):
            row = row[::-1] if flip else row
            for dx, ch in enumerate(row):
                if ch != " ":
                    self.put(x0 + dx, y0 + dy, ch)

    def inner_line(self, mask, ch):
        """Line the part of a shape's edge that lies against other shapes."""
        for x, y in [p for p in mask if any(
                q not in mask and self.get(*q) != BG
                for q in ((p[0] + 1, p[1]), (p[0] - 1, p[1]), (p[0], p[1] + 1), (p[0], p[1] - 1)))]:
            self.put(x, y, ch)

    def outline(self, ch="k", by=None, bare=""):
        """1-px outline around the silhouette; `by` picks another outline
        colour from the neighbouring fill colour; `bare` colours get none."""
        by = by or {}
        todo = []
        for y in range(self.h):
            for x in range(self.w):
                if self.px[y][x] != BG:
                    continue
                nb = [self.get(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
                nb = [c for c in nb if c != BG and c not in bare]
                if nb:
                    todo.append((x, y, next((by[c] for c in nb if c in by), ch)))
        for x, y, c in todo:
            self.put(x, y, c)


EYE_OPEN = [" eee ", "eEEee", "eEeee", "eeeee", "eeeee", " eee "]
EYE_SHUT = ["e   e", " eee "]
BEAK = [" OOOOO ", "OoooooO", " OooOO ", "  OOO  "]
TUFT = ["  hB      ",
        " hBB   hB",
        " hBB  hBB",
        "  BBB BB ",
        "   BBBBB ",
        "    BBB  ",
        "    BBB  "]
FOOT = ["llllLL", "L L  L"]              # toes on the branch, claws over its edge
LEAF = ["    ggg", "  gyyyg", " gyyggG", " gygGG ", " ggGG  ", "gG     "]
Z_BIG = ["zzzzz", "   zz", "  zz ", " zz  ", "zzzzz"]
Z_SMALL = ["zzzz", "  zz", " zz ", "zzzz"]
BARK = ["mmmmmmmmbmmmmmmmmmmm",   # tiled along the branch, top row is lit
        "bbbbbbbbbbbbbbbbbbbb",
        "bbnnnnbbbbbbbbbbbbbb",
        "bbbbbbbbbbbbbnnnbbbb",
        "bbbbbbbbbbbbbbbbbbbb",
        "nnnnnnnbbnnnnnnnnnnn",
        "nnnnnnnnnnnnnnnnnnnn"]


def branch(c, x0, x1, y, twig_at=None):
    """Straight branch with bark marks, rounded ends and an optional leafy twig."""
    for x in range(x0, x1 + 1):
        end = x in (x0, x1)
        for i, row in enumerate(BARK):
            if not (end and i in (0, len(BARK) - 1)):
                c.put(x, y + i, row[(x - x0) % len(row)])
    if twig_at is not None:
        for i in range(4):
            c.put(twig_at + i, y - 1 - i, "b")
            c.put(twig_at + i + 1, y - 1 - i, "n")
        c.stamp(twig_at + 3, y - 10, LEAF)


def bird(c, cx, cy, rx, ry, branch_y, eyes=EYE_OPEN, wing_lift=0):
    """Round fledgling centred at (cx, cy), feet gripping a branch at branch_y.
    Draw the branch first: the toes are laid over it."""
    c.poly([(cx - rx * 0.5, cy + ry * 0.2), (cx - rx - 9, cy + ry * 0.5),
            (cx - rx - 5, cy + ry * 0.66), (cx - rx - 9, cy + ry * 0.86),
            (cx - rx - 3, cy + ry * 0.8),
            (cx - rx * 0.5, cy + ry * 0.7)], "W")                       # tail
    for dx in (-5, 4):                                                    # legs
        for y in range(int(cy + ry * 0.8), branch_y):
            c.put(cx + dx, y, "l")
            c.put(cx + dx + 1, y, "L")
        c.stamp(cx + dx - 2, branch_y - 1, FOOT)
    body = c.ellipse(cx, cy, rx, ry, "B", "d", "h")
    c.inner_line(body, "k")
    c.ellipse(cx + 1, cy + ry * 0.42, rx * 0.58, ry * 0.5, "w", "x", clip=body)
    for side in (-1, 1):                                                  # wings
        wx, wy = cx + side * (rx - 3), cy + ry * 0.28 - wing_lift
        wing = c.ellipse(wx, wy, 5, ry * 0.44, "W", tilt=0.3 * side)
        for x, y in wing:
            if y > wy + ry * 0.12 or (side > 0 and x > wx + 1):
                c.put(x, y, "V")
        c.inner_line(wing, "k")
    ey = int(cy - ry * 0.32)
    ew = len(eyes[0])
    c.stamp(cx - 5 - ew, ey, eyes)
    c.stamp(cx + 6, ey, eyes, flip=True)
    c.stamp(cx - 3, ey + (4 if len(eyes) > 2 else 3), BEAK)
    for x0 in (cx - 10, cx + 7):                                          # cheeks
        c.stamp(x0, ey + 6, ["ppp", " p "])
    c.stamp(cx - 5, int(cy - ry) - 5, TUFT)


def draw_default():
    c = Canvas(75, 80)
    branch(c, 1, 72, 63, twig_at=56)
    bird(c, 38, 36, 23, 22, 63)
    c.outline("k", by={"m": "n", "b": "n", "g": "G", "y": "G", "G": "n"})
    return c, GOLD


def draw_night():
    c = Canvas(66, 80)
    c.ellipse(54, 11, 8.5, 8.5, "M", "N")                                # moon
    c.ellipse(49, 7, 8, 8, BG)
    branch(c, 2, 63, 64)
    bird(c, 31, 40, 19, 18, 64, eyes=EYE_SHUT)
    c.poly([(14, 28), (46, 27), (40, 17), (30, 13), (22, 14)], "c")      # nightcap
    c.poly([(22, 14), (30, 13), (16, 8), (8, 14), (6, 22), (10, 21)], "C")
    for x in range(13, 48):
        for y in range(25, 29):
            if c.get(x, y) in "cC" or (y > 26 and c.get(x, y) in "Bhd"):
                c.put(x, y, "s" if (x + y) % 5 else "x")
    c.ellipse(7, 24, 3.2, 3.2, "s", "x")                                  # pompom
    c.stamp(50, 28, Z_BIG)
    c.stamp(59, 22, Z_SMALL)
    c.stamp(3, 40, [" s ", "sss", " s "])
    c.stamp(58, 38, ["s"])
    c.outline("k", by={"M": "N", "N": "N", "s": "V", "m": "n", "b": "n"}, bare="z")
    return c, NIGHT


def draw_sky():
    c = Canvas(96, 72)
    c.ellipse(86, 9, 5.5, 5.5, "Y", "U")                                  # sun behind
    cloud = set()
    for cx, cy, r in ((62, 20, 7), (72, 14, 9), (83, 19, 8), (70, 23, 7), (88, 24, 5)):
        cloud |= c.ellipse(cx, cy, r, r * 0.85, "C")
    for x, y in cloud:
        if y >= 24 or (x, y + 1) not in cloud:
            c.put(x, y, "Q")
    c.inner_line(cloud, "q")
    branch(c, 4, 93, 58, twig_at=78)
    bird(c, 34, 31, 20, 19, 58, wing_lift=3)
    c.outline("k", by={"C": "q", "Q": "q", "Y": "U", "U": "O", "m": "n", "b": "n",
                       "g": "G", "y": "G", "G": "n"})
    return c, SKY


def draw_icon():
    c = Canvas(48, 48)
    head = c.ellipse(24, 27, 20, 18, "B", "d", "h")
    c.ellipse(24.5, 37, 12, 8, "w", "x", clip=head)
    eye = ["  ee  ", " eEEe ", "eeEeee", "eeeeee", "eeeeee", " eeee "]
    c.stamp(10, 20, eye)
    c.stamp(32, 20, eye, flip=True)
    c.stamp(19, 27, [" OOOOOOOO ", "OooooooooO", " OooooooO ", "  OoooOO  ", "   OOOO   "])
    c.stamp(7, 29, ["pppp", " pp "])
    c.stamp(37, 29, ["pppp", " pp "])
    c.stamp(19, 4, TUFT)
    c.outline("k")
    return c, GOLD


HAND = """
....XXX
...XoooX
...XoooX
...XoooX
...XoooX
...XoooXXX
...XoooXooXXX
...XoooXooXooXXX
...XoooXooXooXooX
XXXXoooXooXooXooX
XooXooooooooooooX
XoooooooooooooooX
.XooooooooooooooX
..XoooooooooooooX
..XooooooooooooX
...XoooooooooooX
....XooooooooooX
....XXXXXXXXXXX"""


def draw_cursor():
    c = Canvas(32, 32)
    c.stamp(0, 5, [r.replace(".", " ") for r in HAND.strip().split("\n")])  # tip at (5,5)
    return c


# ---------------------------------------------------------------- writers
def write(path, data):
    path = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def check_colours(c, colours):
    for row in c.px:
        for ch in row:
            r, g, b = colours[ch]
            if ch != BG and r > 180 and b > 180 and g < 120:
                raise ValueError("near-magenta colour %r in a skin" % ch)


def save_skin(path, c, colours, bits):
    check_colours(c, colours)
    if bits == 8:
        keys = sorted({ch for row in c.px for ch in row}, key=lambda k: (k != BG, k))
        palette = []                       # magenta first, then each colour once
        for k in keys:
            if colours[k] not in palette:
                palette.append(colours[k])
        rows = [bytes(palette.index(colours[ch]) for ch in row) for row in c.px]
        write(path, bmp_file(c.w, c.h, 8, rows, palette))
    else:
        extra = b"\0" if bits == 32 else b""      # 32-bit BI_RGB: the 4th byte is unused
        rows = [b"".join(bytes(colours[ch][::-1]) + extra for ch in row) for row in c.px]
        write(path, bmp_file(c.w, c.h, bits, rows))


def mask_rows(c, keep):
    """1-bpp rows: bit set where keep(ch) is true."""
    out = []
    for row in c.px:
        bits = bytearray((c.w + 7) // 8)
        for x, ch in enumerate(row):
            if keep(ch):
                bits[x // 8] |= 0x80 >> (x % 8)
        out.append(bytes(bits))
    return out


def dib_with_mask(c, bits, xor_rows, palette, clr_used=None):
    """Icon/cursor image: BITMAPINFOHEADER with doubled height and biSizeImage
    covering both masks, palette, XOR rows, then the AND mask (1 = see-through)."""
    img = bmp_file(c.w, c.h, bits, xor_rows, palette, clr_used)[14:]
    andm = bmp_file(c.w, c.h, 1, mask_rows(c, lambda ch: ch == BG))[14 + 40:]
    size = len(img) - 40 - 4 * len(palette) + len(andm)
    return img[:8] + struct.pack("<i", c.h * 2) + img[12:20] + struct.pack("<I", size) + \
        img[24:] + andm


def save_icon(path, c, colours):
    keys = sorted({ch for row in c.px for ch in row}, key=lambda k: (k != BG, k))
    palette = [(0, 0, 0)] + [colours[k] for k in keys if k != BG]
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {k: i for i, k in enumerate(kk for kk in keys if kk != BG)}
    rows = [bytes(0 if ch == BG else index[ch] + 1 for ch in row) for row in c.px]
    img = dib_with_mask(c, 8, rows, palette, clr_used=0)      # 0 = all 256
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", c.w, c.h, 0, 0, 1, 8, len(img), 6 + 16)  # planes, bpp
    write(path, head + entry + img)


def save_cursor(path, c, hot):
    xor = mask_rows(c, lambda ch: ch == "o")                     # white fill
    img = dib_with_mask(c, 1, xor, [(0, 0, 0), (255, 255, 255)])
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", c.w, c.h, 2, 0, hot[0], hot[1], len(img), 6 + 16)  # hotspot
    write(path, head + entry + img)


def main():
    save_skin("skin/default.bmp", *draw_default(), bits=24)
    save_skin("skin/night.bmp", *draw_night(), bits=8)
    save_skin("skin/ソラ.bmp", *draw_sky(), bits=32)
    save_icon("res/perchling.ico", *draw_icon())
    save_cursor("res/link.cur", draw_cursor(), (5, 5))


if __name__ == "__main__":
    main()
