#!/usr/bin/env python3
"""Draws the program's desktop icon into packaging/icons/.

One design in a 256-unit square: a dark rounded tile carrying the blue ring of the tray icon.
Writes the scalable SVG and PNGs of every size the icon theme is given (16 to 256 pixels). The
PNGs are drawn from the same shapes with anti-aliased edges (coverage from the signed distance to
each edge), so both versions agree. Plain Python (zlib); run it again after changing the design
and commit the files.
"""

import math
import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
NAME = "org.brasvik.M402"

TILE_TOP = (0x26, 0x30, 0x42)
TILE_BOTTOM = (0x10, 0x15, 0x1F)
TILE_RADIUS = 48
TILE_INSET = 16
BLUE = (0x2A, 0x7B, 0xE4)
WHITE = (0xF4, 0xF7, 0xFB)
# Concentric discs from the outside in: radius and colour.
DISCS = ((84, BLUE), (64, WHITE), (50, BLUE))


def rounded_rect_distance(x, y):
    """Signed distance (units) to the tile's edge; negative inside."""
    half = (256 - 2 * TILE_INSET) / 2
    qx = abs(x - 128) - (half - TILE_RADIUS)
    qy = abs(y - 128) - (half - TILE_RADIUS)
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - TILE_RADIUS


def over(dst, colour, alpha):
    """Straight-alpha 'source over' of one colour onto an RGBA pixel (floats 0..1 alpha)."""
    r, g, b, a = dst
    out_a = alpha + a * (1 - alpha)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda c, d: (c * alpha + d * a * (1 - alpha)) / out_a
    return (mix(colour[0], r), mix(colour[1], g), mix(colour[2], b), out_a)


def coverage(distance_units, unit_per_pixel):
    return max(0.0, min(1.0, 0.5 - distance_units / unit_per_pixel))


def draw(size):
    unit = 256 / size
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            x = (px + 0.5) * unit
            y = (py + 0.5) * unit
            pixel = (0.0, 0.0, 0.0, 0.0)
            t = (y - TILE_INSET) / (256 - 2 * TILE_INSET)
            t = max(0.0, min(1.0, t))
            tile = tuple(TILE_TOP[i] + (TILE_BOTTOM[i] - TILE_TOP[i]) * t for i in range(3))
            pixel = over(pixel, tile, coverage(rounded_rect_distance(x, y), unit))
            for radius, colour in DISCS:
                d = math.hypot(x - 128, y - 128) - radius
                pixel = over(pixel, colour, coverage(d, unit))
            r, g, b, a = pixel
            row.extend((round(r), round(g), round(b), round(a * 255)))
        rows.append(bytes(row))
    return rows


def write_png(path, size, rows):
    raw = b"".join(b"\x00" + row for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def hex_colour(c):
    return "#%02x%02x%02x" % c


def svg():
    side = 256 - 2 * TILE_INSET
    discs = "\n".join(
        f'  <circle cx="128" cy="128" r="{r}" fill="{hex_colour(c)}"/>' for r, c in DISCS)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <defs>
    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{hex_colour(TILE_TOP)}"/>
      <stop offset="1" stop-color="{hex_colour(TILE_BOTTOM)}"/>
    </linearGradient>
  </defs>
  <rect x="{TILE_INSET}" y="{TILE_INSET}" width="{side}" height="{side}" rx="{TILE_RADIUS}" fill="url(#tile)"/>
{discs}
</svg>
"""


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packaging", "icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        write_png(os.path.join(out, f"{NAME}-{size}.png"), size, draw(size))
    with open(os.path.join(out, f"{NAME}.svg"), "w") as f:
        f.write(svg())


if __name__ == "__main__":
    main()
