#!/usr/bin/env python3
"""Writes the scene bitmaps 256..263 and icon 256 as PNG files next to this script,
and the icon at the sizes of the desktop icon theme into icons/ beside it.

Standard library only: the PNG chunks are put together by hand and compressed
with zlib. Colour pictures are 8-bit palette images, masks 1-bit greyscale
(1 = white = outside, 0 = black = inside), the icon a 4-bit palette image.
Run it again after changing a picture and commit the PNG files with it.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_rows(rows, depth):
    """Filter type 0 rows of palette indices or grey levels packed at `depth` bits."""
    raw = bytearray()
    for row in rows:
        raw.append(0)
        if depth == 8:
            raw.extend(row)
            continue
        per_byte = 8 // depth
        for start in range(0, len(row), per_byte):
            byte = 0
            group = row[start:start + per_byte]
            for i, value in enumerate(group):
                byte |= value << (8 - depth * (i + 1))
            raw.append(byte)
    return bytes(raw)


def write_png(name, width, height, rows, depth, palette=None):
    colour_type = 3 if palette is not None else 0
    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0))
    if palette is not None:
        data += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data += chunk(b"IDAT", zlib.compress(pack_rows(rows, depth), 9))
    data += chunk(b"IEND", b"")
    path = os.path.join(HERE, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def palette_picture(name, width, height, colour_at):
    """A picture of at most 256 colours given as a function (x, y) -> (r, g, b)."""
    palette, index, rows = [], {}, []
    for y in range(height):
        row = []
        for x in range(width):
            c = tuple(max(0, min(255, int(round(v)))) for v in colour_at(x, y))
            if c not in index:
                index[c] = len(palette)
                palette.append(c)
            row.append(index[c])
        rows.append(row)
    assert len(palette) <= 256, name
    write_png(name, width, height, rows, 8, palette)


def mask_picture(name, width, height, inside):
    rows = [[0 if inside(x, y) else 1 for x in range(width)] for y in range(height)]
    write_png(name, width, height, rows, 1)


def disc(size):
    """Inside test and a light-from-top-left shade for a disc filling a size x size square."""
    centre = (size - 1) / 2.0
    radius = size / 2.0

    def inside(x, y):
        return (x - centre) ** 2 + (y - centre) ** 2 <= (radius - 0.25) ** 2

    def shade(x, y):
        # 1 at the highlight up and left of the centre, 0 at the far rim.
        hx, hy = centre - radius * 0.35, centre - radius * 0.35
        d = math.hypot(x - hx, y - hy) / (radius * 1.35)
        rim = math.hypot(x - centre, y - centre) / radius
        v = max(0.0, 1.0 - d) * (0.85 if rim > 0.9 else 1.0)
        return round(v * 48) / 48.0  # few enough steps for a 256-colour palette

    return inside, shade


def block(x, y):
    # Light grey block with a raised edge: lighter top and left, darker bottom and right.
    if y == 24 or x == 100:
        return (112, 112, 112)
    if y == 23 or x == 99:
        return (150, 150, 150)
    if y <= 1 or x <= 1:
        return (240, 240, 240)
    return (200, 200, 200)


def main():
    palette_picture("bitmap256_block.png", 101, 25, block)

    joint_inside, joint_shade = disc(51)

    def joint(x, y):
        if not joint_inside(x, y):
            return (0, 0, 0)
        v = 120 + 125 * joint_shade(x, y)
        return (v, v, v)

    palette_picture("bitmap257_joint.png", 51, 51, joint)
    mask_picture("bitmap258_joint_mask.png", 51, 51, joint_inside)

    def link(x, y):
        # One grey per column, bright along the middle: a round bar seen from above.
        t = (x - 15) / 16.0
        v = 110 + 130 * math.sqrt(1 - t * t)
        return (v, v, v)

    palette_picture("bitmap259_link.png", 31, 181, link)

    def claw_profile(x):
        t = (x - 25) / 26.0
        return math.sqrt(1 - t * t)

    palette_picture("bitmap260_claw_open.png", 51, 15,
                    lambda x, y: (0, 0, 90 + 100 * claw_profile(x)))
    palette_picture("bitmap261_claw_held.png", 51, 15,
                    lambda x, y: (90 + 100 * claw_profile(x), 0, 0))

    ball_inside, ball_shade = disc(57)

    def ball(x, y):
        if not ball_inside(x, y):
            return (0, 0, 0)
        v = ball_shade(x, y)
        return (40 + 150 * v, 110 + 140 * v, 120 + 135 * v)

    palette_picture("bitmap262_ball.png", 57, 57, ball)
    mask_picture("bitmap263_ball_mask.png", 57, 57, ball_inside)

    # Icon: 32 x 32, the 16 standard colours; a grey arm over a block holding a cyan ball.
    vga = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    white, grey, dark, cyan, teal, blue, red = 15, 7, 8, 14, 6, 12, 9
    icon = [[white] * 32 for _ in range(32)]

    def put(x, y, c):
        if 0 <= x < 32 and 0 <= y < 32:
            icon[y][x] = c

    def bar(x0, y0, x1, y1, c, half=1):
        steps = max(abs(x1 - x0), abs(y1 - y0))
        for s in range(steps + 1):
            x = round(x0 + (x1 - x0) * s / steps)
            y = round(y0 + (y1 - y0) * s / steps)
            for dx in range(-half, half + 1):
                for dy in range(-half, half + 1):
                    put(x + dx, y + dy, c)

    for y in range(26, 32):
        for x in range(0, 11):
            icon[y][x] = dark if y == 26 or x == 10 else grey
    for y in range(28, 32):
        for x in range(22, 32):
            icon[y][x] = dark if y == 28 or x == 22 else grey
    bar(26, 27, 26, 12, grey)
    bar(26, 12, 14, 6, grey)
    bar(14, 6, 8, 14, grey)
    bar(5, 15, 11, 15, blue, 0)
    for y in range(16, 23):
        for x in range(4, 13):
            if (x - 8) ** 2 + (y - 19) ** 2 <= 12:
                put(x, y, cyan if (x + y) < 27 else teal)
    for (x, y) in ((26, 27), (26, 12), (14, 6), (8, 14)):
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                put(x + dx, y + dy, dark)
    put(5, 16, red)
    write_png("icon256.png", 32, 32, icon, 4, vga)
    theme_icons(icon, vga)


def theme_icons(icon, palette):
    """The 32 x 32 icon at the other sizes of the hicolor theme: icons/<n>x<n>.png.

    The icon is pixel art, so a smooth resampler would only blur it. Larger sizes
    repeat each pixel (exactly 2, 4 and 8 times for 64, 128 and 256; alternately
    once and twice for 48), which keeps the edges sharp and the 16 colours. The
    16 x 16 icon averages each 2 x 2 block instead: picking one pixel of four would
    drop the one-pixel lines, averaging keeps them as a half tone.
    """
    size = len(icon)
    for n in (48, 64, 128, 256):
        rows = [[icon[y * size // n][x * size // n] for x in range(n)] for y in range(n)]
        write_png("icons/%dx%d.png" % (n, n), n, n, rows, 4, palette)

    def average(x, y):
        block = [palette[icon[2 * y + dy][2 * x + dx]] for dy in (0, 1) for dx in (0, 1)]
        return tuple(sum(c[i] for c in block) / 4.0 for i in range(3))

    palette_picture("icons/16x16.png", size // 2, size // 2, average)


if __name__ == "__main__":
    main()
