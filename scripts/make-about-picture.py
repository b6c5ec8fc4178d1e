#!/usr/bin/env python3
"""Makes app/about.jpg, the picture of the about panel: the program's name
beside a leaf crossed by an arrow, 288 x 88 pixels.

The artwork is drawn here, pixel by pixel (four samples per pixel in each
direction for smooth edges), written as a PPM and compressed with cjpeg
(Debian's libjpeg-turbo-progs) as a baseline JPEG with all three components
sampled 1 x 1. Its JFIF segment is then set to version 1.02 with a density
of 100 x 100 and no unit, and an Adobe segment (APP14, colour transform
YCbCr) and a Ducky segment (APP12, the quality) follow it; the Ducky segment
is padded so that the file has exactly 7344 bytes.

    python3 scripts/make-about-picture.py [OUTPUT]      (default app/about.jpg)
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 288, 88
SUPER = 4
FILE_SIZE = 7344

# 5 x 8 cells per letter; '#' is ink.
GLYPHS = {
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#", "....."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#", "....."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", "....."],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#..", "....."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", "....."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", "....."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###.", "....."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####", "....."],
    "f": ["..##.", ".#..#", ".#...", "###..", ".#...", ".#...", ".#...", "....."],
}
NAME = "Quiverleaf"
CELL = 3.2            # pixels per glyph cell
TEXT_LEFT, TEXT_TOP = 88.0, 30.0


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def background(x, y):
    top, bottom = (250, 248, 236), (214, 234, 214)
    c = mix(top, bottom, y / HEIGHT)
    if y > HEIGHT - 6:  # a ground line
        c = mix(c, (84, 130, 84), 0.6)
    return c


def in_text(x, y):
    cx = int((x - TEXT_LEFT) // CELL)
    cy = int((y - TEXT_TOP) // CELL)
    if cy < 0 or cy >= 8 or cx < 0:
        return False
    letter, col = divmod(cx, 6)
    if letter >= len(NAME) or col >= 5:
        return False
    return GLYPHS[NAME[letter]][cy][col] == "#"


def leaf(x, y):
    """Distance-like value: < 0 inside the leaf. The leaf is a lens between
    two circles, tilted, centred at (44, 44)."""
    a = math.radians(-35)
    dx, dy = x - 44, y - 44
    u = dx * math.cos(a) - dy * math.sin(a)
    v = dx * math.sin(a) + dy * math.cos(a)
    r, d = 40.0, 28.0  # circle radius, centre offset across the leaf
    inside = max(math.hypot(u, v - d), math.hypot(u, v + d)) - r
    return inside, u, v


def arrow(x, y):
    """Returns the colour of the arrow at (x, y), or None."""
    # A shaft from lower left to upper right, above the leaf's midrib.
    x0, y0, x1, y1 = 6.0, 78.0, 82.0, 8.0
    lx, ly = x1 - x0, y1 - y0
    length = math.hypot(lx, ly)
    ux, uy = lx / length, ly / length
    t = (x - x0) * ux + (y - y0) * uy
    n = -(x - x0) * uy + (y - y0) * ux
    if 0 <= t <= length - 10 and abs(n) <= 1.1:
        return (110, 72, 40)
    # The head: a triangle at the far end.
    if length - 12 <= t <= length and abs(n) <= (length - t) * 0.45:
        return (70, 70, 78)
    # The fletching: two vanes at the near end.
    if 2 <= t <= 16 and 1 <= abs(n) <= 5 + (16 - t) * 0.15 and (t + abs(n)) % 5 < 3.5:
        return (190, 52, 44)
    return None


def sample(x, y):
    c = background(x, y)
    inside, u, v = leaf(x, y)
    if inside < 0:
        shade = 0.5 + 0.5 * (v / 14.0)
        c = mix((58, 142, 66), (34, 98, 44), max(0.0, min(1.0, shade)))
        if abs(v) < 0.8 and abs(u) < 26:  # the midrib
            c = (170, 210, 140)
        elif abs(v - abs(u) * 0.55 + 0) < 0.6 and 4 < abs(u) < 24 and u * v >= 0:
            c = mix(c, (150, 196, 120), 0.7)  # veins
    a = arrow(x, y)
    if a:
        c = a
    if in_text(x, y):
        c = (30, 74, 40)
    return c


def render():
    pixels = bytearray()
    step = 1.0 / SUPER
    for py in range(HEIGHT):
        for px in range(WIDTH):
            r = g = b = 0.0
            for sy in range(SUPER):
                for sx in range(SUPER):
                    c = sample(px + (sx + 0.5) * step, py + (sy + 0.5) * step)
                    r += c[0]
                    g += c[1]
                    b += c[2]
            n = SUPER * SUPER
            pixels += bytes((round(r / n), round(g / n), round(b / n)))
    return bytes(pixels)


def compress(ppm_path, quality):
    return subprocess.run(
        ["cjpeg", "-quality", str(quality), "-sample", "1x1", "-baseline", "-optimize", ppm_path],
        check=True, capture_output=True).stdout


def segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def finish(jpeg, quality):
    """Replaces cjpeg's JFIF segment and adds the Adobe and Ducky ones."""
    assert jpeg[:4] == b"\xff\xd8\xff\xe0"
    app0_length = struct.unpack(">H", jpeg[4:6])[0]
    rest = jpeg[4 + app0_length:]
    jfif = segment(0xE0, b"JFIF\0" + bytes((1, 2, 0)) + struct.pack(">HH", 100, 100) + b"\0\0")
    adobe = segment(0xEE, b"Adobe" + struct.pack(">HHHB", 100, 0, 0, 1))
    ducky = b"Ducky" + struct.pack(">HHI", 1, 4, quality) + b"\0\0"
    fixed = 2 + len(jfif) + len(adobe) + 4 + len(ducky) + len(rest)
    if fixed > FILE_SIZE:
        return None
    ducky += b"\0" * (FILE_SIZE - fixed)
    return b"\xff\xd8" + jfif + segment(0xEC, ducky) + adobe + rest


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "app", "about.jpg")
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "about.ppm")
        with open(ppm, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT))
            f.write(render())
        # The best quality that still fits the file size.
        for quality in range(95, 40, -1):
            result = finish(compress(ppm, quality), quality)
            if result:
                break
        else:
            sys.exit("the picture does not fit in %d bytes" % FILE_SIZE)
    with open(out, "wb") as f:
        f.write(result)
    print("%s: %d bytes, quality %d" % (out, len(result), quality))


if __name__ == "__main__":
    main()
