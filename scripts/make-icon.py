#!/usr/bin/env python3
"""Draws Quiverleaf's icon, a ring-bound notebook with a leaf on it, and
writes it as a Windows icon file: one 32 x 32 image, 32 bits per pixel with
an alpha channel.

The artwork is plain geometry sampled 4 x 4 times per pixel, so its edges
are smooth without any imaging library. Run it again after changing the
drawing and commit the .ico it writes:

    python3 scripts/make-icon.py app/Quiverleaf.ico
"""
import math
import struct
import sys

SIZE = 32
SUB = 4  # samples per pixel along each axis


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and x0 <= x <= x1 and y0 <= y <= y1
    return inside


def ring(cx, cy, r_out, r_in):
    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return r_in * r_in <= d <= r_out * r_out
    return inside


def line(x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width * half_width
    return inside


def leaf(cx, cy, length, width, angle):
    """A pointed leaf: the overlap of two circles, turned by angle."""
    half = length / 2
    # Two circles through both tips whose overlap is `width` wide.
    offset = (half * half - (width / 2) ** 2) / width
    radius = offset + width / 2
    cos_a, sin_a = math.cos(angle), math.sin(angle)

    def inside(x, y):
        u = (x - cx) * cos_a + (y - cy) * sin_a
        v = -(x - cx) * sin_a + (y - cy) * cos_a
        return (u * u + (v - offset) ** 2 <= radius * radius and
                u * u + (v + offset) ** 2 <= radius * radius)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def layers():
    """Shapes back to front, each with its straight (not premultiplied) RGBA."""
    out = []
    # The blue cover peeks out behind the pages on the right and bottom.
    out.append((rounded_rect(7.0, 3.5, 27.5, 29.5, 2.5), (40, 86, 140, 255)))
    # The pages.
    page = rounded_rect(6.0, 2.5, 25.5, 27.5, 1.5)
    out.append((page, (94, 78, 58, 255)))
    out.append((rounded_rect(7.0, 3.5, 24.5, 26.5, 1.0), (253, 249, 236, 255)))
    # Ruled lines, left clear of the rings.
    for y in (9.5, 13.5, 17.5, 21.5):
        out.append((line(11.0, y, 22.5, y, 0.45), (150, 186, 222, 255)))
    out.append((line(10.0, 5.0, 10.0, 25.5, 0.35), (226, 120, 120, 200)))
    # Binding rings over the left edge.
    for y in (6.5, 11.5, 16.5, 21.5):
        out.append((ring(6.0, y, 2.2, 1.2), (96, 100, 110, 255)))
    # The leaf lies across the lower right corner, with its stalk and midrib.
    out.append((line(16.0, 28.5, 19.5, 25.0, 0.7), (58, 110, 40, 255)))
    body = leaf(23.0, 21.0, 15.0, 8.0, -math.pi / 4)
    out.append((body, (46, 120, 44, 255)))
    out.append((leaf(23.0, 21.0, 13.4, 6.4, -math.pi / 4), (104, 178, 74, 255)))
    out.append((minus(line(18.5, 26.0, 27.5, 16.0, 0.4), lambda x, y: not body(x, y)),
                (46, 120, 44, 255)))
    return out


def render():
    """Returns SIZE rows of SIZE straight-alpha (r, g, b, a) tuples, top row first."""
    shapes = layers()
    pixels = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            # Average premultiplied colour over the sub-samples.
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUB):
                for sx in range(SUB):
                    x = px + (sx + 0.5) / SUB
                    y = py + (sy + 0.5) / SUB
                    r = g = b = a = 0.0
                    for inside, (cr, cg, cb, ca) in shapes:
                        if inside(x, y):
                            sa = ca / 255.0
                            r = cr * sa + r * (1 - sa)
                            g = cg * sa + g * (1 - sa)
                            b = cb * sa + b * (1 - sa)
                            a = sa + a * (1 - sa)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = SUB * SUB
            alpha = acc[3] / n
            if alpha <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c / n / alpha)) for c in acc[:3]) +
                           (int(round(alpha * 255)),))
        pixels.append(row)
    return pixels


def ico_bytes(pixels):
    # The image is a device-independent bitmap without its file header:
    # bottom-up BGRA rows, then a 1-bit AND mask that 32-bit icons still
    # carry for old readers (set where the pixel is fully transparent).
    xor = b"".join(struct.pack("<4B", b, g, r, a)
                   for row in reversed(pixels) for (r, g, b, a) in row)
    mask_stride = ((SIZE + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-icon.py OUTPUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(ico_bytes(render()))


if __name__ == "__main__":
    main()
