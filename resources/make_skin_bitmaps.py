#!/usr/bin/env python3
"""Draws the eight bitmaps of the skinned dialog frame as 8-bit BMP files.

Run by hand from this folder when the artwork changes; the .bmp files it
writes are checked in and compiled into the library by ks_dazazu.rc:

    python3 make_skin_bitmaps.py

Each piece continues the lines that the frame painter draws around it, so
the pieces join the painted frame without a seam: the caption strip has
lines at rows 8, 9, 10 (the rail) and 15, 16, 18, 19 (the body's top), the
bottom strip at rows 1, 2, 3 and 9, 10, 11, the sides at columns 0 to 4 and
w-6 to w-2.
"""

import math
import os
import struct

G6E, G56, G4A, G3F, G38, G34, G26, G15 = (0x6E,) * 3, (0x56,) * 3, (0x4A,) * 3, (0x3F,) * 3, \
    (0x38,) * 3, (0x34,) * 3, (0x26,) * 3, (0x15,) * 3
LETTER = (0xD8, 0xD8, 0xD8)
ACCENT = (0x3E, 0x91, 0x67)  # the progress bar's green, as (r, g, b)
RIVET = (0x8C, 0x8C, 0x8C)

TAB_WIDTH = 102  # flat top of the caption tab; the slope runs 15 pixels further

# Frame rims, from the outer edge inwards.
LEFT_RIM = [G6E, G56, G38, G26, G15]
RIGHT_RIM = [G15, G26, G38, G56, G6E]  # from the outer (right) edge inwards
# Rows of the caption strip from 15 down, and of the bottom strip from its top.
TOP_ROWS = [G6E, G56, G38, G26, G15, G38, G38, G38]
BOTTOM_ROWS = [G38, G6E, G56, G3F, G38, G38, G38, G38, G38, G34, G26, G15]
RAIL_ROWS = [G6E, G56, G3F, G38, G38, G38, G38]  # rows 8 to 14


class Image:
    def __init__(self, width, height, fill=G38):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def save(self, path):
        palette = sorted({c for row in self.pixels for c in row})
        assert len(palette) <= 256
        index = {c: i for i, c in enumerate(palette)}
        stride = (self.width + 3) & ~3
        rows = b""
        for row in reversed(self.pixels):  # bottom-up
            line = bytes(index[c] for c in row)
            rows += line + b"\0" * (stride - self.width)
        colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
        offset = 14 + 40 + len(colours)
        header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 8, 0, len(rows),
                           2835, 2835, len(palette), 0)
        with open(path, "wb") as out:
            out.write(header + info + colours + rows)


# A 5 x 7 pixel alphabet for the title lettering.
GLYPHS = {
    "k": ["#....", "#....", "#..#.", "#.#..", "##...", "#.#..", "#..#."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    ":": [".", ".", "#", ".", ".", "#", "."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "z": [".....", ".....", "#####", "...#.", "..#..", ".#...", "#####"],
    "A": ["..#..", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
}


def draw_text(image, x, y, text, colour):
    """Bold lettering (each stroke two pixels wide) with a dark drop shadow."""
    for pass_colour, dx in ((G15, 1), (colour, 0)):
        cx = x
        for ch in text:
            glyph = GLYPHS[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit == "#":
                        for bold in (0, 1):
                            image.set(cx + gx + bold + dx, y + gy + dx, pass_colour)
            cx += len(glyph[0]) + 2
    return cx


def slope_x(y):
    """The caption tab's right edge at row y: 15 pixels across 16 rows."""
    return TAB_WIDTH + (15 * y) // 16


def caption_tab():
    image = Image(123, 23)
    # What the painter draws under it, so the rail and body lines run on.
    for y, colour in enumerate(RAIL_ROWS):
        for x in range(123):
            image.set(x, 8 + y, colour)
    for y, colour in enumerate(TOP_ROWS):
        for x in range(123):
            image.set(x, 15 + y, colour)
    # The tab: one raised plate from the left border to its sloped edge.
    for y in range(0, 18):
        for x in range(0, slope_x(y)):
            image.set(x, y, G38)
    for x in range(1, slope_x(0)):
        image.set(x, 0, G6E)
    for x in range(1, slope_x(1)):
        image.set(x, 1, G56)
    for y in range(1, 23):
        image.set(0, y, G6E)
        image.set(1, y, G56)
    for y in range(0, 17):
        image.set(slope_x(y) - 1, y, G6E)
        image.set(slope_x(y) - 2, y, G56)
    # The inner edge of the frame below it, turning the corner at the left.
    for x in range(3, 123):
        image.set(x, 18, G26)
    for x in range(4, 123):
        image.set(x, 19, G15)
    for y in range(18, 23):
        image.set(2, y, G38)
        image.set(3, y, G26)
    for y in range(19, 23):
        image.set(4, y, G15)
    # A recessed strip for the title, and the title itself.
    for x in range(6, 90):
        image.set(x, 3, G26)
        image.set(x, 13, G4A)
    for y in range(3, 14):
        image.set(5, y, G26)
        image.set(90, y, G4A)
    for y in range(4, 13):
        for x in range(6, 90):
            image.set(x, y, G34)
    end = draw_text(image, 10, 5, "ks::", ACCENT)
    draw_text(image, end + 2, 5, "DazAzu", LETTER)
    # Three grooves that follow the slope.
    for groove in range(3):
        for y in range(4, 12):
            image.set(93 + groove * 3 + (y - 4) // 2, y, G26)
            image.set(94 + groove * 3 + (y - 4) // 2, y, G4A)
    return image


def rail_end():
    """Drawn at (M - 3, 8): the rail's sloped end over the body's top rows."""
    image = Image(9, 12)
    for y in range(12):
        colour = RAIL_ROWS[y] if y < 7 else TOP_ROWS[y - 7]
        for x in range(9):
            image.set(x, y, colour)
    for y in range(7):
        edge = 3 + y  # the region's slope: (M, 8) to (M + 7, 15)
        for x in range(edge, 9):
            image.set(x, y, G38)
        image.set(edge - 1, y, G6E)
        image.set(edge - 2, y, G56 if y > 0 else G6E)
    return image


def top_right():
    """Drawn at (w - 8, 15): the top rows turn into the right rim."""
    image = Image(7, 9)
    for y in range(9):
        for x in range(7):
            dx = 6 - x  # from the outer right edge
            if dx >= 5 or (y < dx and y < len(TOP_ROWS)):
                colour = TOP_ROWS[min(y, len(TOP_ROWS) - 1)]
            else:
                colour = RIGHT_RIM[dx]
            image.set(x, y, colour)
    return image


def bottom_left():
    """Drawn at the bottom strip's (0, 0): the left rim turns into the bottom rows."""
    image = Image(9, 12)
    for y in range(12):
        for x in range(9):
            from_bottom = 11 - y
            if x < 5 and 11 * x < 5 * from_bottom + 5:
                colour = LEFT_RIM[x]
            else:
                colour = BOTTOM_ROWS[y]
            image.set(x, y, colour)
    return image


def bottom_right(width=7):
    """Drawn at the bottom strip's (w - 8, 0): the right rim turns into the bottom rows."""
    image = Image(width, 12)
    for y in range(12):
        for x in range(width):
            dx = width - 1 - x
            from_bottom = 11 - y
            if dx < 5 and 11 * dx < 5 * from_bottom + 5:
                colour = RIGHT_RIM[dx]
            else:
                colour = BOTTOM_ROWS[y]
            image.set(x, y, colour)
    return image


def bottom_right_sizable():
    """As the bottom-right corner, with a grip of diagonal dots."""
    image = bottom_right(10)
    for step in range(3):
        for k in range(step + 1):
            x, y = 6 - 2 * k + 0, 8 - 2 * (step - k)
            image.set(x - 2 * (2 - step) + 2, y, G6E)
            image.set(x - 2 * (2 - step) + 3, y + 1, G15)
    return image


def badge():
    """Drawn at (w - 118, h - 13): a small plate with rounded ends on the
    tab that hangs below the frame's bottom edge."""
    image = Image(92, 13)
    for y in range(13):
        strip_row = y + 5
        colour = BOTTOM_ROWS[strip_row] if strip_row < len(BOTTOM_ROWS) else G38
        for x in range(92):
            image.set(x, y, colour)
    # The tab below the body: chamfered at both lower corners, dark outer edge.
    for y in range(7, 13):
        inset_left = (y - 7) * 5 // 6
        inset_right = (y - 7)
        for x in range(inset_left, 92 - inset_right):
            image.set(x, y, G38)
        image.set(inset_left, y, G26)
        image.set(91 - inset_right, y, G15)
    for x in range(5, 86):
        image.set(x, 12, G15)
        image.set(x, 11, G26)
    # The plate.
    left, right, top, bottom = 8, 83, 1, 11  # right and bottom exclusive
    radius = (bottom - top) / 2.0
    cy = top + radius

    def inside(px, py):
        cx = min(max(px + 0.5, left + radius), right - radius)
        return math.hypot(px + 0.5 - cx, py + 0.5 - cy) <= radius

    for y in range(top, bottom):
        for x in range(left, right):
            if not inside(x, y):
                continue
            if not inside(x, y - 1) or not inside(x - 1, y):
                colour = G6E
            elif not inside(x, y + 1) or not inside(x + 1, y):
                colour = G15
            else:
                colour = G4A
            image.set(x, y, colour)
    # Rivets at the rounded ends and an engraved line between them.
    for rx in (left + 5, right - 6):
        image.set(rx, 5, RIVET)
        image.set(rx + 1, 5, G6E)
        image.set(rx, 6, G56)
        image.set(rx + 1, 6, G26)
    for x in range(left + 10, right - 10):
        image.set(x, 5, G26)
        image.set(x, 6, G56)
    return image


PIECES = {
    "skin_bottom_left.bmp": bottom_left,  # 110
    "skin_bottom_right.bmp": bottom_right,  # 111
    "skin_badge.bmp": badge,  # 112
    "skin_bottom_right_sizable.bmp": bottom_right_sizable,  # 114
    "skin_rail_end.bmp": rail_end,  # 115
    "skin_caption_tab.bmp": caption_tab,  # 116
    "skin_top_right.bmp": top_right,  # 117
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, draw in PIECES.items():
        draw().save(os.path.join(here, name))


if __name__ == "__main__":
    main()
