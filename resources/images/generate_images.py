#!/usr/bin/env python3
"""Draws the program's toolbar images, icons and the fill-pattern bitmap and
writes them beside this script: PNG files for the PNG_DATA resources, .ico
files and fill_patterns.bmp. Only the standard library is used (zlib and
struct); the shapes are simple geometric figures, anti-aliased by sampling
each pixel 4 x 4 times. Run it by hand after changing a drawing and commit
what it writes; the build only reads the files.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4

INK = (60, 60, 60)
PAPER = (255, 255, 255)
BLUE = (42, 111, 214)
LIGHT_BLUE = (190, 215, 245)
GREEN = (46, 158, 79)
RED = (211, 59, 47)
YELLOW = (240, 190, 80)
DARK_YELLOW = (183, 134, 42)
GREY = (150, 150, 150)
LIGHT_GREY = (215, 215, 215)
BROWN = (150, 100, 55)


class Canvas:
    """RGBA picture of size x size pixels, drawn in design units of which
    `units` span the picture."""

    def __init__(self, size, units):
        self.size = size
        self.scale = size / units
        n = size * SAMPLES
        self.n = n
        self.rgba = [[0.0, 0.0, 0.0, 0.0] for _ in range(n * n)]

    def _fill(self, inside, box, color, alpha=1.0):
        x0, y0, x1, y1 = box
        k = self.scale * SAMPLES
        lo_x = max(0, int(x0 * k) - 1)
        hi_x = min(self.n, int(x1 * k) + 2)
        lo_y = max(0, int(y0 * k) - 1)
        hi_y = min(self.n, int(y1 * k) + 2)
        r, g, b = color
        for sy in range(lo_y, hi_y):
            y = (sy + 0.5) / k
            row = sy * self.n
            for sx in range(lo_x, hi_x):
                x = (sx + 0.5) / k
                if inside(x, y):
                    p = self.rgba[row + sx]
                    a = alpha
                    p[0] = r * a + p[0] * (1 - a)
                    p[1] = g * a + p[1] * (1 - a)
                    p[2] = b * a + p[2] * (1 - a)
                    p[3] = a + p[3] * (1 - a)

    def rect(self, x0, y0, x1, y1, color):
        self._fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), color)

    def box(self, x0, y0, x1, y1, fill, outline=INK, width=1.0):
        self.rect(x0, y0, x1, y1, outline)
        self.rect(x0 + width, y0 + width, x1 - width, y1 - width, fill)

    def poly(self, points, color):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit

        self._fill(inside, (min(xs), min(ys), max(xs), max(ys)), color)

    def line(self, x0, y0, x1, y1, width, color):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9
        h = width / 2

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            px, py = x0 + t * dx - x, y0 + t * dy - y
            return px * px + py * py <= h * h

        self._fill(inside, (min(x0, x1) - h, min(y0, y1) - h, max(x0, x1) + h, max(y0, y1) + h), color)

    def polyline(self, points, width, color):
        for a, b in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], width, color)

    def disk(self, cx, cy, r, color):
        self._fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, (cx - r, cy - r, cx + r, cy + r), color)

    def arc(self, cx, cy, r, width, start, end, color):
        """A ring of the given width from angle start to end (degrees,
        counter-clockwise from the right, y pointing down on screen)."""
        h = width / 2

        def inside(x, y):
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) > h:
                return False
            a = math.degrees(math.atan2(cy - y, x - cx)) % 360
            return (a - start) % 360 <= (end - start) % 360

        self._fill(inside, (cx - r - h, cy - r - h, cx + r + h, cy + r + h), color)

    def pixels(self):
        """Rows of (r, g, b, a) bytes, from the top."""
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        p = self.rgba[(y * SAMPLES + sy) * self.n + x * SAMPLES + sx]
                        acc[0] += p[0]
                        acc[1] += p[1]
                        acc[2] += p[2]
                        acc[3] += p[3]
                count = SAMPLES * SAMPLES
                a = acc[3] / count
                # Colours were blended over transparent black, so they are
                # premultiplied; straighten them for the file.
                rgb = [min(255, round(c / count / a)) if a > 0 else 0 for c in acc[:3]]
                row.append((rgb[0], rgb[1], rgb[2], round(a * 255)))
            out.append(row)
        return out


# ---- writers -------------------------------------------------------------

def png_bytes(rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico_bytes(pictures):
    """An icon file of 32-bit bitmap entries (with the AND mask older
    systems want)."""
    entries, images = [], []
    offset = 6 + 16 * len(pictures)
    for rows in pictures:
        size = len(rows)
        xor = b"".join(bytes((px[2], px[1], px[0], px[3])) for row in reversed(rows) for px in row)
        mask_stride = ((size + 31) // 32) * 4
        mask = b""
        for row in reversed(rows):
            line = bytearray(mask_stride)
            for x, px in enumerate(row):
                if px[3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(line)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        data = header + xor + mask
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset))
        images.append(data)
        offset += len(data)
    return struct.pack("<HHH", 0, 1, len(pictures)) + b"".join(entries) + b"".join(images)


# The cell fill patterns 2 to 18, rows from the top, a set bit drawn in the
# pattern colour; the same table as view/draw_context/fill_patterns.cpp (a
# Windows test compares the bitmap with it). Tile 0 stands for the solid fill.
FILL_PATTERNS = [
    [0xFF] * 8,
    [0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44],
    [0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA],
    [0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD],
    [0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF],
    [0xF7, 0xFF, 0x7F, 0xFF, 0xF7, 0xFF, 0x7F, 0xFF],
    [0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF],
    [0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33],
    [0x33, 0x99, 0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66],
    [0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99],
    [0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC],
    [0x00, 0x33, 0x00, 0xCC, 0x00, 0x33, 0x00, 0xCC],
    [0x00, 0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF],
    [0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77],
    [0x77, 0xBB, 0xDD, 0xEE, 0x77, 0xBB, 0xDD, 0xEE],
    [0x77, 0xEE, 0xDD, 0xBB, 0x77, 0xEE, 0xDD, 0xBB],
    [0x00, 0x77, 0x77, 0x77, 0x00, 0x77, 0x77, 0x77],
    [0x55, 0xBB, 0x55, 0xEE, 0x55, 0xBB, 0x55, 0xEE],
]


def fill_patterns_bmp():
    """A 1-bit bitmap of the tiles side by side: black (index 0) where a
    pattern bit is set, white elsewhere; rows from the bottom."""
    width, height = 8 * len(FILL_PATTERNS), 8
    stride = ((width + 31) // 32) * 4
    bits = b""
    for y in reversed(range(height)):
        line = bytes(0xFF ^ tile[y] for tile in FILL_PATTERNS)
        bits += line + b"\0" * (stride - len(line))
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(bits), 0, 0, 2, 2)
    offset = 14 + len(info) + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + info + palette + bits


# ---- drawings ---------------------------------------------------------------
# Large images are drawn on a 24-unit grid, small ones and icons on 16.

def page(c, x0, y0, x1, y1, fold=4):
    c.poly([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], INK)
    c.poly([(x0 + 1, y0 + 1), (x1 - fold - 0.4, y0 + 1), (x1 - 1, y0 + fold + 0.4), (x1 - 1, y1 - 1), (x0 + 1, y1 - 1)], PAPER)
    c.poly([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], LIGHT_GREY)


def text_lines(c, x0, x1, y, count, gap=2.5, color=GREY):
    for i in range(count):
        c.rect(x0, y + i * gap, x1, y + i * gap + 1, color)


def grid(c, x0, y0, x1, y1, cols, rows, header=True):
    c.box(x0, y0, x1, y1, PAPER)
    if header:
        c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + (y1 - y0) / rows, LIGHT_BLUE)
    for i in range(1, cols):
        x = x0 + (x1 - x0) * i / cols
        c.rect(x - 0.4, y0, x + 0.4, y1, GREY)
    for i in range(1, rows):
        y = y0 + (y1 - y0) * i / rows
        c.rect(x0, y - 0.4, x1, y + 0.4, GREY)


def folder(c, x0, y0, x1, y1, open_=False):
    c.poly([(x0, y0 + 2), (x0 + 6, y0 + 2), (x0 + 8, y0 + 4), (x1, y0 + 4), (x1, y1), (x0, y1)], DARK_YELLOW)
    if open_:
        c.poly([(x0 + 3, y0 + 7), (x1 + 2, y0 + 7), (x1 - 1, y1), (x0, y1)], YELLOW)
    else:
        c.rect(x0 + 1, y0 + 6, x1 - 1, y1 - 1, YELLOW)


def plus(c, cx, cy, r, width, color=GREEN):
    c.rect(cx - r, cy - width / 2, cx + r, cy + width / 2, color)
    c.rect(cx - width / 2, cy - r, cx + width / 2, cy + r, color)


def magnifier(c, cx, cy, r, width, handle):
    c.disk(cx, cy, r, LIGHT_BLUE)
    c.arc(cx, cy, r, width, 0, 359.9, INK)
    d = r / math.sqrt(2)
    c.line(cx + d, cy + d, cx + d + handle, cy + d + handle, width * 1.6, BROWN)


def arrow_head(c, tip, direction, size, color):
    dx, dy = direction
    n = math.hypot(dx, dy)
    dx, dy = dx / n, dy / n
    bx, by = tip[0] - dx * size, tip[1] - dy * size
    c.poly([tip, (bx - dy * size * 0.8, by + dx * size * 0.8), (bx + dy * size * 0.8, by - dx * size * 0.8)], color)


def curved_arrow(c, mirrored, units):
    s = units / 24
    cx = 12 * s
    if not mirrored:
        c.arc(cx + 1 * s, 14 * s, 6 * s, 2.6 * s, 270, 160, BLUE)
        arrow_head(c, (4 * s, 10 * s), (-0.3, 1), 5 * s, BLUE)
    else:
        c.arc(cx - 1 * s, 14 * s, 6 * s, 2.6 * s, 20, 270, BLUE)
        arrow_head(c, (20 * s, 10 * s), (0.3, 1), 5 * s, BLUE)


def printer(c, s):
    c.box(6 * s, 2 * s, 18 * s, 10 * s, PAPER)
    c.box(2 * s, 9 * s, 22 * s, 18 * s, LIGHT_GREY)
    c.rect(17 * s, 11 * s, 20 * s, 13 * s, GREEN)
    c.box(6 * s, 15 * s, 18 * s, 22 * s, PAPER)
    text_lines(c, 8 * s, 16 * s, 17.5 * s, 2, 2 * s)


def sort_bars(c, ascending):
    widths = [3, 6, 9, 12] if ascending else [12, 9, 6, 3]
    for i, w in enumerate(widths):
        c.rect(3, 4 + i * 5, 3 + w, 7 + i * 5, GREEN if ascending else RED)
    c.line(19, 3, 19, 18, 2.4, INK)
    arrow_head(c, (19, 22), (0, 1), 5, INK)


def sigma(c, s, color=BLUE):
    c.polyline([(17 * s, 6 * s), (17 * s, 4 * s), (6 * s, 4 * s), (12.5 * s, 12 * s), (6 * s, 20 * s),
                (17 * s, 20 * s), (17 * s, 18 * s)], 2.4 * s, color)


def lock(c, s, open_=False):
    if open_:
        c.arc(10.5 * s, 7 * s, 3.5 * s, 1.8 * s, 0, 180, GREY)
        c.rect(12.1 * s, 7 * s, 15.9 * s, 8 * s, PAPER)
    else:
        c.arc(8 * s, 7 * s, 3.5 * s, 1.8 * s, 0, 180, GREY)
        c.rect(3.6 * s, 7 * s, 5.4 * s, 8 * s, GREY)
        c.rect(10.6 * s, 7 * s, 12.4 * s, 8 * s, GREY)
    c.box(2 * s, 8 * s, 14 * s, 15 * s, YELLOW, DARK_YELLOW)
    c.rect(7.3 * s, 10 * s, 8.7 * s, 13 * s, INK)


def aligned_lines(c, side):
    """Four text lines of alternating length set to the left, centre or right."""
    for i, length in enumerate([16, 10, 16, 10]):
        x0 = {"left": 4, "centre": 12 - length / 2, "right": 20 - length}[side]
        c.rect(x0, 5 + i * 4, x0 + length, 7 + i * 4, INK)


def vertical_place(c, place):
    """A cell with a text bar at its top, middle or bottom."""
    c.box(3, 3, 21, 21, PAPER, GREY)
    y = {"top": 6, "middle": 11, "bottom": 16}[place]
    c.rect(6, y, 18, y + 2.5, INK)
    c.rect(6, y + 3.5 if place != "bottom" else y - 3.5, 14, (y + 5 if place != "bottom" else y - 2), GREY)


def overflow(c, kind):
    """A cell (the box) and how a long text meets its right edge."""
    c.box(2, 6, 15, 18, PAPER, GREY)
    if kind == "neighbours":
        c.rect(4, 11, 21, 13, INK)
        arrow_head(c, (23, 12), (1, 0), 3, BLUE)
    elif kind == "wrap":
        c.rect(4, 9, 13, 11, INK)
        c.rect(4, 13, 10, 15, INK)
        c.arc(17, 12, 3, 1.4, 270, 90, BLUE)
        arrow_head(c, (12.5, 15), (-1, 0), 3, BLUE)
    else:
        c.rect(5, 11.2, 12, 12.8, INK)
        arrow_head(c, (4, 12), (1, 0), 2.6, BLUE)
        arrow_head(c, (13, 12), (-1, 0), 2.6, BLUE)
        c.line(17, 9, 22, 9, 1.2, GREY)
        c.line(17, 15, 22, 15, 1.2, GREY)


def cell_grid(c, outer, inner):
    """Four cells: the outer edges and the inner lines in their own ink, or
    dotted grey where they are absent."""
    def edge(x0, y0, x1, y1, ink):
        if ink:
            c.line(x0, y0, x1, y1, 1.8, ink)
        else:
            steps = 8
            for i in range(0, steps, 2):
                t0, t1 = i / steps, (i + 1) / steps
                c.line(x0 + (x1 - x0) * t0, y0 + (y1 - y0) * t0, x0 + (x1 - x0) * t1, y0 + (y1 - y0) * t1, 1, GREY)
    for (x0, y0, x1, y1) in [(3, 3, 21, 3), (3, 21, 21, 21), (3, 3, 3, 21), (21, 3, 21, 21)]:
        edge(x0, y0, x1, y1, outer)
    edge(12, 3, 12, 21, inner)
    edge(3, 12, 21, 12, inner)


def letter_b(c):
    c.rect(6, 4, 9.5, 20, INK)
    c.arc(12, 8, 4, 3, 270, 90, INK)
    c.arc(12.5, 16, 4.2, 3, 270, 90, INK)
    c.rect(9, 4, 12, 5.5, INK)
    c.rect(9, 10.5, 12.5, 13.5, INK)
    c.rect(9, 18.5, 12.5, 20, INK)


def letter_u(c):
    c.line(7, 3, 7, 13, 2.2, INK)
    c.line(17, 3, 17, 13, 2.2, INK)
    c.arc(12, 13, 5, 2.2, 180, 360, INK)


def letter_s(c):
    c.arc(12, 8, 4, 2, 20, 270, INK)
    c.arc(12, 16, 4, 2, 200, 90, INK)


LARGE = {
    "new_workbook": lambda c: (page(c, 4, 2, 20, 22, 5), grid(c, 7, 10, 17, 19, 3, 3)),
    "open": lambda c: folder(c, 2, 3, 20, 20, open_=True),
    "save": lambda c: (c.box(3, 3, 21, 21, BLUE, (20, 60, 140)), c.rect(7, 4, 17, 11, PAPER),
                       text_lines(c, 8, 16, 6, 2), c.rect(8, 15, 16, 20, LIGHT_GREY), c.rect(13, 16, 15, 19, INK)),
    "new_worksheet": lambda c: (grid(c, 2, 4, 19, 21, 3, 4), c.disk(18, 6, 5, PAPER), plus(c, 18, 6, 4, 2.2)),
    "new_folder": lambda c: (folder(c, 2, 5, 19, 21), c.disk(18, 6, 5, PAPER), plus(c, 18, 6, 4, 2.2)),
    "cut": lambda c: (c.line(8, 3, 15, 15, 2, GREY), c.line(16, 3, 9, 15, 2, GREY),
                      c.arc(7, 18, 3.2, 1.8, 0, 359.9, RED), c.arc(17, 18, 3.2, 1.8, 0, 359.9, RED)),
    "copy": lambda c: (page(c, 2, 2, 14, 17, 3), text_lines(c, 4, 11, 6, 4), page(c, 9, 7, 21, 22, 3),
                       text_lines(c, 11, 18, 11, 4)),
    "paste": lambda c: (c.box(3, 4, 18, 22, (205, 160, 110), BROWN), c.box(7, 2, 14, 6, LIGHT_GREY),
                        page(c, 10, 9, 21, 22, 3), text_lines(c, 12, 18, 13, 3)),
    "print_preview": lambda c: (page(c, 3, 2, 17, 21, 4), text_lines(c, 5, 13, 7, 5), magnifier(c, 14, 14, 4.5, 1.6, 4)),
    "print": lambda c: printer(c, 1),
    "undo": lambda c: curved_arrow(c, False, 24),
    "redo": lambda c: curved_arrow(c, True, 24),
    "find": lambda c: magnifier(c, 10, 10, 6, 2.2, 6),
    "sort_ascending": lambda c: sort_bars(c, True),
    "sort_descending": lambda c: sort_bars(c, False),
    "insert_date": lambda c: (c.box(3, 4, 21, 21, PAPER), c.rect(3, 4, 21, 9, RED),
                              [c.rect(6 + 4 * i, 11 + 3.5 * j, 8.5 + 4 * i, 13 + 3.5 * j, GREY)
                               for i in range(4) for j in range(3)],
                              c.line(8, 2, 8, 6, 1.6, INK), c.line(16, 2, 16, 6, 1.6, INK)),
    "insert_formula": lambda c: sigma(c, 1),
    "composer": lambda c: (c.box(2, 3, 22, 21, PAPER), c.rect(2, 3, 22, 7, BLUE),
                           c.polyline([(16, 10), (9, 10), (13, 14), (9, 18), (16, 18)], 1.8, BLUE)),
    "insert_chart": lambda c: (c.rect(3, 3, 4.5, 21, INK), c.rect(3, 19.5, 21, 21, INK), c.rect(6, 12, 9, 19.5, BLUE),
                               c.rect(11, 6, 14, 19.5, RED), c.rect(16, 9, 19, 19.5, GREEN)),
    "insert_image": lambda c: (c.box(2, 4, 22, 20, LIGHT_BLUE), c.disk(16, 9, 2.5, YELLOW),
                               c.poly([(3, 19), (9, 10), (14, 19)], GREEN), c.poly([(10, 19), (15, 13), (21, 19)], (30, 120, 60))),
    "update_data": lambda c: (c.arc(12, 12, 7, 2.4, 20, 160, GREEN), arrow_head(c, (4, 13), (-0.2, 1), 4.5, GREEN),
                              c.arc(12, 12, 7, 2.4, 200, 340, GREEN), arrow_head(c, (20, 11), (0.2, -1), 4.5, GREEN)),
    "font_bold": letter_b,
    "font_italic": lambda c: (c.line(14, 4, 10, 20, 2.2, INK), c.line(11, 4, 17, 4, 1.6, INK),
                              c.line(7, 20, 13, 20, 1.6, INK)),
    "font_underline": lambda c: (letter_u(c), c.rect(5, 20, 19, 21.6, BLUE)),
    "font_strikeout": lambda c: (letter_s(c), c.rect(5, 11.2, 19, 12.8, RED)),
    "overflow_neighbours": lambda c: overflow(c, "neighbours"),
    "overflow_wrap": lambda c: overflow(c, "wrap"),
    "overflow_shrink": lambda c: overflow(c, "shrink"),
    "align_left": lambda c: aligned_lines(c, "left"),
    "align_centre": lambda c: aligned_lines(c, "centre"),
    "align_right": lambda c: aligned_lines(c, "right"),
    "align_top": lambda c: vertical_place(c, "top"),
    "align_middle": lambda c: vertical_place(c, "middle"),
    "align_bottom": lambda c: vertical_place(c, "bottom"),
    "borders_all": lambda c: cell_grid(c, INK, INK),
    "borders_outline": lambda c: cell_grid(c, INK, None),
    "borders_none": lambda c: cell_grid(c, None, None),
}

SMALL = {
    "small_go_to": lambda c: (c.line(2, 8, 11, 8, 2, BLUE), arrow_head(c, (14, 8), (1, 0), 4, BLUE)),
    "small_print_all": lambda c: printer(c, 16 / 24),
    "small_format": lambda c: (c.box(1, 2, 11, 12, PAPER), c.rect(2, 3, 10, 7, YELLOW), c.rect(2, 7, 10, 11, LIGHT_BLUE),
                               c.line(8, 14, 14, 5, 2.2, BROWN), c.disk(14.2, 4.5, 1.6, RED)),
    "small_next_page": lambda c: c.poly([(5, 3), (12, 8), (5, 13)], BLUE),
    "small_previous_page": lambda c: c.poly([(11, 3), (4, 8), (11, 13)], BLUE),
    "small_add": lambda c: plus(c, 8, 8, 6, 2.6),
    "small_delete": lambda c: (c.line(3, 3, 13, 13, 2.6, RED), c.line(13, 3, 3, 13, 2.6, RED)),
    "small_help": lambda c: (c.disk(8, 8, 7, BLUE), c.arc(8, 6, 2.6, 1.8, 270, 180, PAPER), c.rect(7.1, 8.3, 8.9, 10.5, PAPER),
                             c.disk(8, 12.5, 1.1, PAPER)),
    "small_close": lambda c: (c.line(4, 4, 12, 12, 1.8, INK), c.line(12, 4, 4, 12, 1.8, INK)),
    "small_use_selection": lambda c: (grid(c, 1, 1, 15, 15, 3, 3, header=False), c.box(5, 5, 15, 15, (0, 0, 0), BLUE, 1.6),
                                      c.rect(6.6, 6.6, 13.4, 13.4, LIGHT_BLUE)),
    "small_move_up": lambda c: (c.line(8, 14, 8, 6, 2.4, BLUE), arrow_head(c, (8, 2), (0, -1), 5, BLUE)),
    "small_move_down": lambda c: (c.line(8, 2, 8, 10, 2.4, BLUE), arrow_head(c, (8, 14), (0, 1), 5, BLUE)),
    "small_ok": lambda c: c.polyline([(2.5, 8.5), (6.5, 12.5), (13.5, 3.5)], 2.6, GREEN),
    "small_zoom_in": lambda c: (magnifier(c, 6.5, 6.5, 4.5, 1.4, 4), plus(c, 6.5, 6.5, 2.6, 1.4, INK)),
    "small_zoom_out": lambda c: (magnifier(c, 6.5, 6.5, 4.5, 1.4, 4), c.rect(3.9, 5.8, 9.1, 7.2, INK)),
    "small_tree": lambda c: (c.rect(3, 3, 4.2, 13, GREY), c.rect(3, 7.4, 8, 8.6, GREY), c.rect(3, 11.8, 8, 13, GREY),
                             c.box(1, 1, 6, 5, YELLOW, DARK_YELLOW), c.box(8, 6, 14, 10, PAPER), c.box(8, 10.5, 14, 14.5, PAPER)),
    "small_name_box": lambda c: (c.box(1, 3, 15, 13, PAPER), c.rect(3, 6, 4.5, 10, INK), c.rect(5.5, 6, 7, 10, INK),
                                 c.poly([(10, 7), (14, 7), (12, 9.5)], INK)),
}

ICONS = {
    "talvero": lambda c: (grid(c, 1, 2, 15, 15, 3, 4), c.rect(8, 8, 10, 14, BLUE), c.rect(11, 5.5, 13, 14, RED),
                          c.rect(5, 10, 7, 14, GREEN)),
    "protected": lambda c: lock(c, 1),
    "protected_read_only": lambda c: (lock(c, 1), c.disk(12.5, 12.5, 3.2, RED), c.rect(10.5, 11.8, 14.5, 13.2, PAPER)),
    "tree_folder": lambda c: folder(c, 1, 2, 14, 14),
    "tree_folder_open": lambda c: folder(c, 1, 2, 13, 14, open_=True),
    "tree_worksheet": lambda c: grid(c, 1, 2, 15, 14, 3, 4),
    "tree_worksheet_active": lambda c: (grid(c, 1, 2, 15, 14, 3, 4), c.box(5.7, 6.5, 10.6, 9.2, (0, 0, 0), GREEN, 1.2),
                                        c.rect(6.9, 7.7, 9.4, 8.0, LIGHT_BLUE)),
    "tree_workbook": lambda c: (c.box(4, 1, 15, 12, PAPER), c.box(2.5, 2.5, 13.5, 13.5, PAPER), grid(c, 1, 4, 12, 15, 3, 3)),
}


def draw(figure, size, units):
    c = Canvas(size, units)
    figure(c)
    return c.pixels()


def main():
    for name, figure in LARGE.items():
        with open(os.path.join(HERE, name + ".png"), "wb") as out:
            out.write(png_bytes(draw(figure, 24, 24)))
    for name, figure in SMALL.items():
        with open(os.path.join(HERE, name + ".png"), "wb") as out:
            out.write(png_bytes(draw(figure, 16, 16)))
    for name, figure in ICONS.items():
        with open(os.path.join(HERE, name + ".ico"), "wb") as out:
            out.write(ico_bytes([draw(figure, 16, 16), draw(figure, 32, 16)]))
    with open(os.path.join(HERE, "fill_patterns.bmp"), "wb") as out:
        out.write(fill_patterns_bmp())


if __name__ == "__main__":
    main()
