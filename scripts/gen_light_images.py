#!/usr/bin/env python3
"""Draws the lighting panel's pictures into data/skin/light/: the slider rail and its filled
part, the slider thumb, the option circles and the ring around the chosen colour swatch.

The pictures are drawn at twice their 96 DPI size (the thumb, the circles and the ring), so they
stay sharp at 144 DPI; the rails are stretched along the slider and drawn at their own size.
Plain Python (zlib); run it again after changing a design and commit the PNGs.
"""

import math
import os

from gen_skin_images import write_png

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "skin", "light")


def canvas(w, h, shade):
    """shade(x, y) -> (r, g, b, a) sampled 4 x 4 per pixel."""
    rows = []
    for y in range(h):
        row = bytearray()
        for x in range(w):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(4):
                for sx in range(4):
                    r, g, b, a = shade(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3] / 16
            if a > 0:
                row.extend(int(round(acc[i] / acc[3])) for i in range(3))
            else:
                row.extend((0, 0, 0))
            row.append(int(round(a * 255)))
        rows.append(bytes(row))
    return rows


def rail(colour, w=24, h=22, thickness=4):
    top = (h - thickness) / 2
    radius = thickness / 2

    def shade(x, y):
        cy = min(max(y, top + radius), top + thickness - radius)
        cx = min(max(x, radius), w - radius)
        inside = math.hypot(x - cx, y - cy) <= radius
        return colour + ((1.0,) if inside else (0.0,))
    return canvas(w, h, shade)


def disc(size, fill, ring=None, ring_width=0, inner=None, inner_radius=0):
    c = size / 2

    def shade(x, y):
        d = math.hypot(x - c, y - c)
        if inner is not None and d <= inner_radius:
            return inner + (1.0,)
        if ring is not None and c - ring_width <= d <= c:
            return ring + (1.0,)
        if fill is not None and d <= c:
            return fill + (1.0,)
        return (0, 0, 0, 0.0)
    return canvas(size, size, shade)


def save(name, w, h, rows):
    write_png(os.path.join(OUT, name), w, h, rows, alpha=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    save("slider_rail.png", 24, 22, rail((58, 63, 72)))
    save("slider_fill.png", 24, 22, rail((47, 124, 246)))
    save("slider_thumb.png", 28, 28, disc(28, (232, 234, 237), ring=(47, 124, 246), ring_width=3))
    save("radio_off.png", 36, 36, disc(36, (22, 24, 29), ring=(110, 117, 128), ring_width=3))
    save("radio_on.png", 36, 36, disc(36, (22, 24, 29), ring=(47, 124, 246), ring_width=3,
                                      inner=(47, 124, 246), inner_radius=8))
    save("swatch_ring.png", 36, 36, disc(36, None, ring=(255, 255, 255), ring_width=4))
    print("wrote the lighting panel's pictures into", os.path.relpath(OUT))


if __name__ == "__main__":
    main()
