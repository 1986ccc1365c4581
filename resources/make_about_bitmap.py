#!/usr/bin/env python3
"""Draws the about box's picture, 268 x 142 pixels, as an 8-bit BMP file.

Run by hand from this folder when the artwork changes; the .bmp file it
writes is checked in and compiled into the library by ks_dazazu.rc:

    python3 make_about_bitmap.py

The picture sits inside the skinned frame at (5, 20), so it uses the
frame's dark greys: a recessed plate with the plug-in's name in large
lettering, what it does, its version and maker, and a wire-frame
icosphere such as the plug-in might import, drawn with the frame's green.
"""

import math
import os

from make_skin_bitmaps import ACCENT, G15, G26, G34, G38, G3F, G4A, G56, G6E, GLYPHS, \
    LETTER, Image

WIDTH, HEIGHT = 268, 142
DIM = (0x9A, 0x9A, 0x9A)

# More of the same 5 x 7 alphabet, for the smaller texts.
SMALL = dict(GLYPHS)
SMALL.update({
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "I": ["###", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    "p": [".....", ".....", "####.", "#...#", "####.", "#....", "#...."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "i": [".#.", "...", "##.", ".#.", ".#.", ".#.", "###"],
    "n": [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "c": [".....", ".....", ".###.", "#....", "#....", "#...#", ".###."],
    "f": ["..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#..."],
    "l": ["##.", ".#.", ".#.", ".#.", ".#.", ".#.", "###"],
    "y": [".....", ".....", "#...#", "#...#", ".####", "....#", ".###."],
    "(": ["..#", ".#.", "#..", "#..", "#..", ".#.", "..#"],
    ")": ["#..", ".#.", "..#", "..#", "..#", ".#.", "#.."],
    ".": ["..", "..", "..", "..", "..", "##", "##"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    " ": ["...", "...", "...", "...", "...", "...", "..."],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "d": ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    "g": [".....", ".....", ".####", "#...#", ".####", "....#", ".###."],
    "h": ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    "/": ["....#", "...#.", "...#.", "..#..", ".#...", ".#...", "#...."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
})


def text_width(text, scale=1, gap=1):
    return sum((len(SMALL[ch][0]) + gap) * scale for ch in text) - gap * scale


def draw_text(image, x, y, text, colour, scale=1, gap=1, shadow=G15):
    """Lettering of square pixels scale wide, with a drop shadow one pixel
    down and right; answers where the next letter would start."""
    passes = ((shadow, 1), (colour, 0)) if shadow else ((colour, 0),)
    for pass_colour, d in passes:
        cx = x
        for ch in text:
            glyph = SMALL[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit != "#":
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            image.set(cx + gx * scale + sx + d, y + gy * scale + sy + d,
                                      pass_colour)
            cx += (len(glyph[0]) + gap) * scale
    return cx


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def background(image):
    """A recessed plate: dark rim, inner bevel, and a soft vertical shade."""
    for y in range(HEIGHT):
        shade = mix(G34, G26, y / (HEIGHT - 1))
        for x in range(WIDTH):
            image.set(x, y, shade)
    for x in range(WIDTH):
        image.set(x, 0, G15)
        image.set(x, 1, G26)
        image.set(x, HEIGHT - 1, G56)
        image.set(x, HEIGHT - 2, G3F)
    for y in range(HEIGHT):
        image.set(0, y, G15)
        image.set(1, y, G26)
        image.set(WIDTH - 1, y, G56)
        image.set(WIDTH - 2, y, G3F)


def icosphere():
    """An icosahedron split once: 42 points on the unit sphere and its edges."""
    t = (1 + 5 ** 0.5) / 2
    points = [(-1, t, 0), (1, t, 0), (-1, -t, 0), (1, -t, 0), (0, -1, t), (0, 1, t),
              (0, -1, -t), (0, 1, -t), (t, 0, -1), (t, 0, 1), (-t, 0, -1), (-t, 0, 1)]
    faces = [(0, 11, 5), (0, 5, 1), (0, 1, 7), (0, 7, 10), (0, 10, 11), (1, 5, 9), (5, 11, 4),
             (11, 10, 2), (10, 7, 6), (7, 1, 8), (3, 9, 4), (3, 4, 2), (3, 2, 6), (3, 6, 8),
             (3, 8, 9), (4, 9, 5), (2, 4, 11), (6, 2, 10), (8, 6, 7), (9, 8, 1)]
    points = [normalise(p) for p in points]
    middle = {}

    def halfway(a, b):
        key = (min(a, b), max(a, b))
        if key not in middle:
            pa, pb = points[a], points[b]
            points.append(normalise(tuple((pa[i] + pb[i]) / 2 for i in range(3))))
            middle[key] = len(points) - 1
        return middle[key]

    split = []
    for a, b, c in faces:
        ab, bc, ca = halfway(a, b), halfway(b, c), halfway(c, a)
        split += [(a, ab, ca), (b, bc, ab), (c, ca, bc), (ab, bc, ca)]
    return points, split


def normalise(p):
    n = math.sqrt(sum(v * v for v in p))
    return tuple(v / n for v in p)


def rotate(p, yaw, pitch):
    x, y, z = p
    x, z = x * math.cos(yaw) + z * math.sin(yaw), -x * math.sin(yaw) + z * math.cos(yaw)
    y, z = y * math.cos(pitch) - z * math.sin(pitch), y * math.sin(pitch) + z * math.cos(pitch)
    return x, y, z


def plot(image, x, y, colour, strength):
    """Blends colour over the pixel by strength, in steps of an eighth so the
    palette stays small."""
    if not (2 <= x < WIDTH - 2 and 2 <= y < HEIGHT - 2) or strength <= 0:
        return
    strength = round(min(strength, 1.0) * 8) / 8
    image.set(x, y, mix(image.get(x, y), colour, strength))


def line(image, a, b, colour, strength):
    """An anti-aliased line (Xiaolin Wu's)."""
    (x0, y0), (x1, y1) = a, b
    steep = abs(y1 - y0) > abs(x1 - x0)
    if steep:
        x0, y0, x1, y1 = y0, x0, y1, x1
    if x0 > x1:
        x0, x1, y0, y1 = x1, x0, y1, y0
    gradient = (y1 - y0) / (x1 - x0) if x1 != x0 else 0.0
    x = math.floor(x0)
    while x <= math.ceil(x1):
        y = y0 + gradient * (x - x0)
        lower = math.floor(y)
        frac = y - lower
        for yy, w in ((lower, 1 - frac), (lower + 1, frac)):
            px, py = (yy, x) if steep else (x, yy)
            plot(image, px, py, colour, w * strength)
        x += 1


def draw_sphere(image, cx, cy, radius):
    points, faces = icosphere()
    seen = [rotate(p, 0.55, -0.35) for p in points]
    screen = [(cx + p[0] * radius, cy - p[1] * radius) for p in seen]
    # A shadow on the plate's floor, then the edges back to front.
    for y in range(int(cy + radius * 0.8), int(cy + radius * 1.05)):
        for x in range(int(cx - radius), int(cx + radius) + 1):
            d = ((x - cx) / radius) ** 2 + ((y - (cy + radius * 0.93)) / (radius * 0.12)) ** 2
            if d < 1:
                plot(image, x, y, G15, 0.5 * (1 - d))
    edges = set()
    for a, b, c in faces:
        for e in ((a, b), (b, c), (c, a)):
            edges.add((min(e), max(e)))
    ordered = sorted(edges, key=lambda e: seen[e[0]][2] + seen[e[1]][2])
    for a, b in ordered:
        depth = (seen[a][2] + seen[b][2]) / 2  # -1 far, 1 near
        near = (depth + 1) / 2
        colour = mix(G4A, ACCENT, near)
        line(image, screen[a], screen[b], colour, 0.45 + 0.55 * near)
    for i, p in enumerate(seen):
        if p[2] > 0.2:
            x, y = int(round(screen[i][0])), int(round(screen[i][1]))
            plot(image, x, y, LETTER, 0.5 + 0.5 * p[2])


def about_picture():
    image = Image(WIDTH, HEIGHT)
    background(image)
    draw_sphere(image, 207, 66, 44)
    end = draw_text(image, 14, 18, "ks::", ACCENT, scale=3)
    draw_text(image, end + 2, 18, "DazAzu", LETTER, scale=3)
    # An engraved rule under the name.
    for x in range(14, 150):
        image.set(x, 50, G15)
        image.set(x, 51, G56)
    draw_text(image, 14, 60, "PLY Importer", LETTER, scale=2)
    draw_text(image, 14, 86, "ascii + binary big/little", DIM)
    draw_text(image, 14, 97, "Version 1.00", DIM)
    draw_text(image, 14, 122, "(c) 2026 Kestrova", G6E)
    return fit_palette(image)


def fit_palette(image, limit=256):
    """Rounds the blended colours coarser and coarser until at most limit
    remain, as an 8-bit bitmap needs; the frame's own colours stay exact."""
    exact = {G15, G26, G34, G38, G3F, G4A, G56, G6E, LETTER, ACCENT, DIM}

    def rounded_colour(colour, step):
        if step == 1 or colour in exact:
            return colour
        return tuple(min(255, (c // step) * step + step // 2) for c in colour)

    step = 1
    while True:
        rounded = [[rounded_colour(c, step) for c in row] for row in image.pixels]
        if len({c for row in rounded for c in row}) <= limit:
            image.pixels = rounded
            return image
        step += 1


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    about_picture().save(os.path.join(here, "about_picture.bmp"))


if __name__ == "__main__":
    main()
