#!/usr/bin/env python3
"""Draws the profile panel's pictures into data/skin/profile/.

  combo.png, combo_hot.png   the drop-down's frame with its arrow (the arrow lies in the frame's
                             right corner, which keeps its size when the frame stretches)
  <action>.png               the 16 x 16 symbols of the panel's buttons, drawn at 1.5 times
                             their size so that they are sharp at 144 DPI

Uses the Canvas of gen_device_images.py (the system's Cairo through ctypes). Run it after changing
a design and commit the PNGs.
"""

import math

from gen_device_images import Canvas, EDGE, MUTED, TEXT, ACCENT_LIGHT

FIELD = (22, 24, 29)
HOT_EDGE = (90, 120, 170)


def combo(name, edge, arrow):
    c = Canvas(60, 30)
    c.round_rect(0.5, 0.5, 59, 29, 4)
    c.paint_fill(FIELD)
    c.round_rect(0.5, 0.5, 59, 29, 4)
    c.outline(edge, 1.0, 1)
    c.move_to(41, 12.5)
    c.line_to(45.5, 17.5)
    c.line_to(50, 12.5)
    c.set_line_cap(1)
    c.set_line_join(1)
    c.outline(arrow, 1.0, 1.8)
    c.save_png("profile", name)


def symbol(name, draw):
    c = Canvas(16, 16, 1.5)
    c.set_line_cap(1)
    c.set_line_join(1)
    draw(c)
    c.save_png("profile", name + ".png")


def stroke(c):
    c.outline(TEXT, 0.92, 1.6)


def add(c):
    c.move_to(8, 2.5)
    c.line_to(8, 13.5)
    c.move_to(2.5, 8)
    c.line_to(13.5, 8)
    stroke(c)


def delete(c):
    # A waste bin.
    c.move_to(2.5, 4)
    c.line_to(13.5, 4)
    c.move_to(6, 4)
    c.line_to(6.5, 2)
    c.line_to(9.5, 2)
    c.line_to(10, 4)
    c.move_to(4, 4)
    c.line_to(4.8, 14)
    c.line_to(11.2, 14)
    c.line_to(12, 4)
    c.move_to(6.7, 6.5)
    c.line_to(6.9, 11.5)
    c.move_to(9.3, 6.5)
    c.line_to(9.1, 11.5)
    stroke(c)


def copy(c):
    c.round_rect(5.5, 5.5, 8, 8.5, 1.5)
    stroke(c)
    c.move_to(3, 10.5)
    c.line_to(3, 3.5)
    c.arc(4.5, 3.5, 1.5, math.pi, 1.5 * math.pi)
    c.line_to(10.5, 2)
    stroke(c)


def reset(c):
    c.new_sub_path()
    c.arc(8, 8.5, 5.2, -0.9 * math.pi, 0.75 * math.pi)
    stroke(c)
    # Arrow head at the start of the arc.
    x = 8 + 5.2 * math.cos(-0.9 * math.pi)
    y = 8.5 + 5.2 * math.sin(-0.9 * math.pi)
    c.move_to(x - 0.2, y - 3.3)
    c.line_to(x, y)
    c.line_to(x + 3.2, y + 0.4)
    stroke(c)


def factory(c):
    # A factory with a sawtooth roof: back to the device's own settings.
    c.move_to(2.5, 13.5)
    c.line_to(2.5, 6)
    c.line_to(6, 8.5)
    c.line_to(6, 6)
    c.line_to(9.5, 8.5)
    c.line_to(9.5, 2.5)
    c.line_to(13.5, 2.5)
    c.line_to(13.5, 13.5)
    c.close_path()
    stroke(c)
    c.move_to(5, 11)
    c.line_to(7, 11)
    c.move_to(9, 11)
    c.line_to(11, 11)
    stroke(c)


def tray(c):
    c.move_to(2.5, 10)
    c.line_to(2.5, 13.5)
    c.line_to(13.5, 13.5)
    c.line_to(13.5, 10)
    stroke(c)


def arrow(c, tail, tip):
    """A vertical arrow at x 8 from y tail to y tip, its head at the tip."""
    c.move_to(8, tail)
    c.line_to(8, tip)
    head = 3.2 if tip > tail else -3.2
    c.move_to(4.8, tip - head)
    c.line_to(8, tip)
    c.line_to(11.2, tip - head)
    stroke(c)


def import_(c):
    tray(c)
    arrow(c, 2, 10.2)


def export(c):
    tray(c)
    arrow(c, 10, 2)


def menu(c):
    for y in (4, 8, 12):
        c.move_to(3, y)
        c.line_to(13, y)
    stroke(c)


def save(c):
    c.move_to(2.8, 8.5)
    c.line_to(6.3, 12)
    c.line_to(13.2, 4.2)
    c.outline(ACCENT_LIGHT, 1.0, 1.9)


def main():
    combo("combo.png", EDGE, MUTED)
    combo("combo_hot.png", HOT_EDGE, TEXT)
    for name, draw in (("add", add), ("delete", delete), ("copy", copy), ("reset", reset), ("factory", factory),
                       ("import", import_), ("export", export), ("menu", menu), ("save", save)):
        symbol(name, draw)


if __name__ == "__main__":
    main()
