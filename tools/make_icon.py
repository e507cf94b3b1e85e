#!/usr/bin/env python3
"""Draws Tarnview's icon: a small camera under a night sky with stars and a crescent
moon. Writes one 32x32 24-bit image as ui/tarnview.ico."""
import os
import struct

SIZE = 32


def sky(x, y):
    # Deep blue at the top, a little lighter towards the horizon.
    t = y / (SIZE - 1)
    return (int(70 + 60 * t), int(18 + 30 * t), int(8 + 14 * t))  # blue, green, red


def draw():
    px = [[sky(x, y) for x in range(SIZE)] for y in range(SIZE)]  # rows top-down, BGR

    def put(x, y, bgr):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = bgr

    # Stars: bright points, two with small crosses.
    for x, y in [(3, 3), (11, 2), (17, 6), (27, 4), (6, 10), (19, 12), (14, 13), (29, 13), (2, 16)]:
        put(x, y, (235, 245, 255))
    for cx, cy in [(11, 2), (19, 12)]:
        for dx, dy in [(-1, 0), (1, 0), (0, -1), (0, 1)]:
            put(cx + dx, cy + dy, (150, 190, 230))

    # Crescent moon: a pale disc with a sky-coloured disc cut out of it.
    for y in range(SIZE):
        for x in range(SIZE):
            inside = (x - 25) ** 2 + (y - 7) ** 2 <= 16
            cut = (x - 27) ** 2 + (y - 6) ** 2 <= 12
            if inside and not cut:
                put(x, y, (170, 235, 250))

    # Camera body, viewfinder hump and lens.
    for y in range(18, 30):
        for x in range(4, 28):
            put(x, y, (70, 70, 72))
    for y in range(15, 18):
        for x in range(9, 16):
            put(x, y, (70, 70, 72))
    for x in range(4, 28):
        put(x, 18, (120, 120, 124))
    for y in range(SIZE):
        for x in range(SIZE):
            d = (x - 16) ** 2 + (y - 24) ** 2
            if d <= 25:
                put(x, y, (30, 30, 30))
            if d <= 12:
                put(x, y, (140, 90, 40))
            if d <= 2:
                put(x, y, (255, 230, 200))
    put(24, 20, (60, 200, 255))  # a small lamp
    return px


def write_ico(path, px):
    xor = b"".join(bytes(c for bgr in row for c in bgr) for row in reversed(px))
    mask = bytes(4 * SIZE)  # every pixel opaque
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, "..", "ui", "tarnview.ico"), draw())
