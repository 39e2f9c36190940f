#!/usr/bin/env python3
"""Draws the skin window's background pictures into data/skin/skinimage/.

The pictures are the main window's backgrounds (800x572, the window's size at 96 DPI; the skin
window shows them scaled down as its picture buttons) and the hover frame of those buttons.
Plain Python (zlib) so that it runs anywhere; run it again after changing a design and commit
the PNGs.
"""

import math
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 800, 572


def write_png(path, width, height, rows, alpha=False):
    """rows: one bytes object per row, RGB or RGBA."""
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter type none; zlib still folds the smooth gradients well
        raw.extend(row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    colour_type = 6 if alpha else 2
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def add(a, b, k):
    return tuple(a[i] + b[i] * k for i in range(3))


def glow(x, y, cx, cy, radius):
    d = math.hypot(x - cx, y - cy) / radius
    return max(0.0, 1.0 - d) ** 2


def vignette(x, y):
    dx = (x / WIDTH - 0.5) * 2
    dy = (y / HEIGHT - 0.5) * 2
    return 1.0 - 0.35 * min(1.0, (dx * dx + dy * dy) / 2) ** 1.5


def midnight(x, y):
    c = mix((14, 18, 34), (34, 20, 52), (x / WIDTH + y / HEIGHT) / 2)
    return add(c, (60, 90, 200), 0.55 * glow(x, y, WIDTH * 0.85, HEIGHT * 0.1, 520))


def aurora(x, y):
    c = mix((8, 20, 24), (10, 14, 20), y / HEIGHT)
    band1 = HEIGHT * (0.35 + 0.08 * math.sin(x / 95.0))
    band2 = HEIGHT * (0.55 + 0.06 * math.sin(x / 140.0 + 1.7))
    c = add(c, (20, 150, 130), 0.45 * math.exp(-((y - band1) / 60.0) ** 2))
    return add(c, (30, 90, 160), 0.35 * math.exp(-((y - band2) / 45.0) ** 2))


def carbon(x, y):
    cell = 6
    u, v = (x // cell), (y // cell)
    fx, fy = (x % cell) / cell, (y % cell) / cell
    # A twill: alternating cells run across or down, each shaded along its length.
    along = fx if (u + v) % 2 == 0 else fy
    shade = 0.55 + 0.45 * math.sin(along * math.pi)
    base = 18 + 12 * shade
    c = (base, base + 1, base + 4)
    return add(c, (40, 60, 90), 0.4 * glow(x, y, WIDTH * 0.5, -HEIGHT * 0.2, 700))


def crimson(x, y):
    c = mix((22, 10, 14), (12, 10, 14), x / WIDTH)
    c = add(c, (190, 30, 50), 0.5 * glow(x, y, WIDTH * 0.1, HEIGHT * 1.05, 560))
    streak = (x + y * 1.6) % 160
    if streak < 2.5:
        c = add(c, (120, 30, 40), 0.25)
    return c


def grid(x, y):
    c = mix((10, 16, 30), (8, 10, 18), y / HEIGHT)
    line = (x % 40 == 0) or (y % 40 == 0)
    if line:
        c = add(c, (40, 80, 130), 0.35)
    return add(c, (30, 110, 200), 0.4 * glow(x, y, WIDTH * 0.5, HEIGHT * 0.5, 420))


def dusk(x, y):
    c = mix((40, 18, 60), (120, 50, 30), y / HEIGHT)
    c = mix(c, (20, 12, 30), 0.45 + 0.25 * (x / WIDTH))
    return add(c, (220, 120, 60), 0.3 * glow(x, y, WIDTH * 0.7, HEIGHT * 0.95, 380))


DESIGNS = [midnight, aurora, carbon, crimson, grid, dusk]


def draw(design):
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            r, g, b = design(x, y)
            k = vignette(x, y)
            row.extend((min(255, max(0, int(r * k))), min(255, max(0, int(g * k))),
                        min(255, max(0, int(b * k)))))
        rows.append(bytes(row))
    return rows


def hover_frame():
    size, border = 16, 2
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            edge = x < border or y < border or x >= size - border or y >= size - border
            row.extend((255, 255, 255, 235) if edge else (0, 0, 0, 0))
        rows.append(bytes(row))
    return size, rows


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(root, "data", "skin", "skinimage")
    os.makedirs(out, exist_ok=True)
    for i, design in enumerate(DESIGNS, start=1):
        path = os.path.join(out, "skin_%d.png" % i)
        write_png(path, WIDTH, HEIGHT, draw(design))
        print(path)
    size, rows = hover_frame()
    write_png(os.path.join(out, "frame_hot.png"), size, size, rows, alpha=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
