#!/usr/bin/env python3
"""Draws the device pictures of the skin into data/skin/.

  device/        the device pictures of the pages (keyboard, mouse, mouse pad, headset) and the
                 light, dial and marker pictures of their key and LED buttons
  common/device_ico/<p>_device_{normal,selected,synchro_normal,synchro_selected}.png
                 the device-bar pictures, for every picture prefix
  power/         the charge states and the paired phone of the power display
  main/          the window backgrounds of the keyboard and the mouse pages

Large pictures are drawn at 1.5 times their size at 96 DPI, so that they are sharp at 144 DPI
(the toolkit scales them down at 96 DPI); soft glows are drawn at their 96 DPI size. The page
pictures take their geometry from device_geometry.py, as the pages do.

It draws with the system's Cairo library (the one the program itself uses) through ctypes, so
it needs nothing beyond Python. Run it after changing a design and commit the PNGs.
"""

import ctypes
import ctypes.util
import math
import os

import device_geometry as g

SKIN = os.path.join(g.ROOT, "data", "skin")
HI = 1.5  # pictures for the pages are drawn at 144 DPI

_lib = ctypes.CDLL(ctypes.util.find_library("cairo") or "libcairo.so.2")
for _name in ("cairo_image_surface_create", "cairo_create", "cairo_pattern_create_linear",
              "cairo_pattern_create_radial"):
    getattr(_lib, _name).restype = ctypes.c_void_p


class _TextExtents(ctypes.Structure):
    _fields_ = [(n, ctypes.c_double) for n in
                ("x_bearing", "y_bearing", "width", "height", "x_advance", "y_advance")]


def _arg(v):
    if isinstance(v, float) or isinstance(v, int) and not isinstance(v, bool):
        return ctypes.c_double(v)
    return v


class Canvas:
    """A picture of w x h (96 DPI units) drawn at the given scale."""

    def __init__(self, w, h, scale=1.0):
        self.w, self.h = w, h
        pw, ph = int(round(w * scale)), int(round(h * scale))
        self.surface = ctypes.c_void_p(_lib.cairo_image_surface_create(0, pw, ph))  # ARGB32
        self.cr = ctypes.c_void_p(_lib.cairo_create(self.surface))
        self.call("scale", scale, scale)

    def call(self, name, *args):
        return getattr(_lib, "cairo_" + name)(self.cr, *[_arg(a) for a in args])

    def __getattr__(self, name):
        return lambda *args: self.call(name, *args)

    def rgba(self, c, a=1.0):
        self.call("set_source_rgba", c[0] / 255, c[1] / 255, c[2] / 255, a)

    def outline(self, c, a, width):
        """Strokes the path in colour c at alpha a."""
        self.set_line_width(width)
        self.rgba(c, a)
        self.stroke()

    def paint_fill(self, c, a=1.0):
        """Fills the path in colour c at alpha a."""
        self.rgba(c, a)
        self.fill()

    def round_rect(self, x, y, w, h, r):
        r = min(r, w / 2, h / 2)
        self.new_sub_path()
        self.arc(x + w - r, y + r, r, -math.pi / 2, 0)
        self.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
        self.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
        self.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
        self.close_path()

    def circle(self, x, y, r):
        self.new_sub_path()
        self.arc(x, y, r, 0, 2 * math.pi)

    def linear(self, x0, y0, x1, y1, stops):
        p = ctypes.c_void_p(_lib.cairo_pattern_create_linear(*[_arg(v) for v in (x0, y0, x1, y1)]))
        return self._use(p, stops)

    def radial(self, x, y, r0, r1, stops):
        p = ctypes.c_void_p(_lib.cairo_pattern_create_radial(
            *[_arg(v) for v in (x, y, r0, x, y, r1)]))
        return self._use(p, stops)

    def _use(self, p, stops):
        for offset, c, a in stops:
            _lib.cairo_pattern_add_color_stop_rgba(p, _arg(offset), _arg(c[0] / 255),
                                                   _arg(c[1] / 255), _arg(c[2] / 255), _arg(a))
        _lib.cairo_set_source(self.cr, p)
        _lib.cairo_pattern_destroy(p)

    def text(self, x, y, s, size, c, a=1.0, bold=False, align="left"):
        _lib.cairo_select_font_face(self.cr, b"Noto Sans", 0, 1 if bold else 0)
        self.set_font_size(size)
        ext = _TextExtents()
        _lib.cairo_text_extents(self.cr, s.encode(), ctypes.byref(ext))
        if align == "center":
            x -= ext.x_advance / 2
        elif align == "right":
            x -= ext.x_advance
        self.rgba(c, a)
        self.move_to(x, y)
        _lib.cairo_show_text(self.cr, s.encode())

    def save_png(self, *parts):
        path = os.path.join(SKIN, *parts)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        _lib.cairo_surface_flush(self.surface)
        if _lib.cairo_surface_write_to_png(self.surface, path.encode()) != 0:
            raise SystemExit("cannot write " + path)
        _lib.cairo_destroy(self.cr)
        _lib.cairo_surface_destroy(self.surface)


# Colours of the skin's dark theme.
ACCENT = (47, 124, 246)
ACCENT_LIGHT = (120, 170, 255)
SHELL = (38, 42, 50)
SHELL_LIGHT = (62, 68, 80)
SHELL_DARK = (22, 24, 29)
EDGE = (82, 89, 102)
TEXT = (232, 234, 237)
MUTED = (154, 161, 172)
WHITE = (255, 255, 255)


def soft_glow(c, x, y, w, h, r, colour, strength, spread):
    """A soft halo around a rounded rectangle: rings of decreasing alpha."""
    steps = 8
    for i in range(steps, 0, -1):
        d = spread * i / steps
        c.round_rect(x - d, y - d, w + 2 * d, h + 2 * d, r + d)
        c.paint_fill(colour, strength * (1 - i / (steps + 1)) / steps * 2)


# ---- page pictures ----------------------------------------------------------------------------


def keyboard():
    w, h = g.KB_WIDTH, g.KB_HEIGHT
    c = Canvas(w, h, HI)
    # case with a brushed top face and a bevel
    c.round_rect(2, 4, w - 4, h - 6, 14)
    c.paint_fill((0, 0, 0), 0.45)
    c.round_rect(1, 1, w - 2, h - 4, 14)
    c.linear(0, 0, 0, h, [(0, SHELL_LIGHT, 1), (0.08, SHELL, 1), (1, SHELL_DARK, 1)])
    c.fill()
    c.round_rect(1.5, 1.5, w - 3, h - 5, 13.5)
    c.outline(EDGE, 0.8, 1)
    # the plate the keys sit in: one well per block
    u = g.KB_UNIT
    blocks = [(-g.KB_MAIN_X, g.F, 1, 6 + g.KB_ROW_GAP), (0, g.F, 15, 1),
              (0, 0, 15, 5), (g.NAV, g.F, 3, 1), (g.NAV, 0, 3, 5), (g.PAD, g.F, 4, 1),
              (g.PAD, 0, 4, 5)]
    for bx, by, bw, bh in blocks:
        l, t, r, b = g.kb_rect(bx, by, bw, bh)
        c.round_rect(l - 2, t - 2, r - l + 4, b - t + 4, 5)
        c.paint_fill((10, 11, 14), 0.9)
    # the brand on the front edge
    c.text(g.KB_MARGIN_X + 2, h - 5, "BRASVIK", 7, MUTED, 0.8, bold=True)
    return c.save_png("device", "keyboard.png")


def key_light():
    # white halo; the LED colour tints it
    c = Canvas(28, 28)
    soft_glow(c, 1.5, 1.5, 25, 25, 5, WHITE, 0.9, 1.5)
    c.round_rect(1.5, 1.5, 25, 25, 5)
    c.paint_fill(WHITE, 1)
    c.save_png("device", "key_light.png")


def dial():
    s = 22
    c = Canvas(s, s, 3)
    c.circle(s / 2, s / 2, s / 2 - 0.5)
    c.radial(s / 2 - 3, s / 2 - 4, 1, s / 2, [(0, (92, 99, 112), 1), (1, (30, 33, 39), 1)])
    c.fill()
    for i in range(24):
        a = 2 * math.pi * i / 24
        c.move_to(s / 2 + (s / 2 - 2.5) * math.cos(a), s / 2 + (s / 2 - 2.5) * math.sin(a))
        c.line_to(s / 2 + (s / 2 - 0.8) * math.cos(a), s / 2 + (s / 2 - 0.8) * math.sin(a))
    c.outline((12, 13, 16), 0.8, 0.6)
    c.circle(s / 2, s / 2 - 5, 1.2)
    c.paint_fill(TEXT, 0.9)
    c.save_png("device", "dial.png")
    c = Canvas(26, 26)
    c.circle(13, 13, 12)
    c.radial(13, 13, 6, 13, [(0, WHITE, 1), (0.55, WHITE, 0.9), (1, WHITE, 0)])
    c.fill()
    c.save_png("device", "dial_light.png")


def led_lights():
    c = Canvas(12, 12, 2)
    c.circle(6, 6, 6)
    c.radial(6, 6, 0, 6, [(0, WHITE, 1), (0.45, WHITE, 0.95), (1, WHITE, 0)])
    c.fill()
    c.save_png("device", "led_light.png")
    for name, (w, h) in (("h", (g.PAD_LED_W, g.PAD_LED_H)), ("v", (g.PAD_LED_H, g.PAD_LED_W))):
        c = Canvas(w, h, 2)
        soft_glow(c, 2, 2, w - 4, h - 4, min(w, h) / 2 - 2, WHITE, 0.8, 2)
        c.round_rect(3, 3, w - 6, h - 6, min(w, h) / 2 - 3)
        c.paint_fill(WHITE, 1)
        c.save_png("device", "strip_light_%s.png" % name)


def key_marker():
    c = Canvas(6, 6, 3)
    c.move_to(0, 0)
    c.line_to(6, 0)
    c.line_to(0, 6)
    c.close_path()
    c.paint_fill(ACCENT_LIGHT, 1)
    c.save_png("device", "key_marker.png")


def mouse_outline(c, body, inset=0.0):
    """The shell outline along device_geometry's edge curve, shrunk by inset on every side."""
    cx, cy = (body[0] + body[2]) / 2, (body[1] + body[3]) / 2
    half_w, half_h = (body[2] - body[0]) / 2, (body[3] - body[1]) / 2
    sx, sy = (half_w - inset) / half_w, (half_h - inset) / half_h
    steps = 240
    left, right = [], []
    for i in range(steps + 1):
        y = body[1] + (body[3] - body[1]) * i / steps
        ys = cy + (y - cy) * sy
        left.append((cx + (g._ms_edge_x(y, True) - cx) * sx, ys))
        right.append((cx + (g._ms_edge_x(y, False) - cx) * sx, ys))
    c.move_to(*left[0])
    for p in left[1:] + right[::-1]:
        c.line_to(*p)
    c.close_path()


def brand_mark(c, x, y, s, colour, a):
    """The brand's mark: a chevron over a bar."""
    c.move_to(x - s, y - s * 0.4)
    c.line_to(x, y + s * 0.45)
    c.line_to(x + s, y - s * 0.4)
    c.outline(colour, a, s * 0.32)
    c.move_to(x - s * 0.55, y + s * 0.95)
    c.line_to(x + s * 0.55, y + s * 0.95)
    c.stroke()


def mouse():
    w, h = g.MS_WIDTH, g.MS_HEIGHT
    c = Canvas(w, h, HI)
    body = g.MS_BODY
    cx = (body[0] + body[2]) / 2
    # floor shadow
    c.save()
    c.translate(cx, body[3] - 4)
    c.scale(1, 0.12)
    c.circle(0, 0, 92)
    c.radial(0, 0, 10, 92, [(0, (0, 0, 0), 0.55), (1, (0, 0, 0), 0)])
    c.fill()
    c.restore()
    # side buttons stand out of the left flank
    for (l, t, r, b), _ in [g.MS_KEYS[i] for i in (3, 4, 10)]:
        c.round_rect(l, t, r - l + 6, b - t, 4)
        c.linear(l, 0, r + 6, 0, [(0, (70, 76, 88), 1), (1, (40, 44, 52), 1)])
        c.fill()
    (l, t, r, b), _ = g.MS_KEYS[9]
    c.round_rect(l - 6, t, r - l + 6, b - t, 4)
    c.linear(l - 6, 0, r, 0, [(0, (40, 44, 52), 1), (1, (70, 76, 88), 1)])
    c.fill()
    # shell
    mouse_outline(c, body)
    c.linear(body[0], 0, body[2], 0, [(0, SHELL_DARK, 1), (0.3, SHELL, 1), (0.55, SHELL_LIGHT, 1),
                                      (1, SHELL_DARK, 1)])
    c.fill()
    mouse_outline(c, body, 1)
    c.outline(EDGE, 0.9, 1.2)
    # light channel along the flanks and round the back, where the LEDs shine
    c.save()
    mouse_outline(c, body, 4)
    c.outline((8, 9, 12), 0.9, 9)
    c.restore()
    mouse_outline(c, body, 12)
    c.linear(body[0], 0, body[2], 0, [(0, SHELL, 1), (0.5, (54, 60, 70), 1), (1, SHELL, 1)])
    c.fill()
    # the two main buttons, following the shell, and the split between them
    c.save()
    mouse_outline(c, body, 12)
    c.clip()
    for i in (0, 1):
        # the buttons meet under the wheel; their keys leave the wheel's strip free
        (l, t, r, b), _ = g.MS_KEYS[i]
        l, r = (l, cx - 1) if i == 0 else (cx + 1, r)
        c.round_rect(l, t - 30, r - l, b - t + 30, 10)
        c.linear(0, t, 0, b, [(0, (66, 72, 84), 1), (1, (44, 48, 57), 1)])
        c.fill()
    c.restore()
    seam = g.MS_KEYS[0][0][3]
    c.move_to(g._ms_edge_x(seam, True) + 12, seam + 6)
    c.curve_to(cx - 30, seam - 2, cx + 30, seam - 2, g._ms_edge_x(seam, False) - 12, seam + 6)
    c.outline((10, 11, 14), 0.9, 1.2)
    c.move_to(cx, body[1] + 10)
    c.line_to(cx, seam + 2)
    c.outline((10, 11, 14), 1, 2)
    # wheel in its slot
    (l, t, r, b), _ = g.MS_KEYS[2]
    c.round_rect(l - 3, t - 3, r - l + 6, b - t + 6, 8)
    c.paint_fill((10, 11, 14), 1)
    c.round_rect(l + 1, t, r - l - 2, b - t, 7)
    c.linear(0, t, 0, b, [(0, (40, 44, 52), 1), (0.5, (110, 118, 132), 1), (1, (40, 44, 52), 1)])
    c.fill()
    for k in range(9):
        y = t + 4 + k * (b - t - 8) / 8
        c.move_to(l + 2, y)
        c.line_to(r - 2, y)
    c.outline((20, 22, 26), 0.8, 0.8)
    # DPI buttons, DPI cycle and game-mode key behind the wheel
    for i in (5, 6, 7, 8):
        (l, t, r, b), _ = g.MS_KEYS[i]
        c.round_rect(l, t, r - l, b - t, 4)
        c.paint_fill((28, 31, 37), 1)
        c.round_rect(l + 0.5, t + 0.5, r - l - 1, b - t - 1, 4)
        c.outline(EDGE, 0.9, 1)
    for i, s in ((5, "+"), (6, "-")):
        (l, t, r, b), _ = g.MS_KEYS[i]
        c.text((l + r) / 2, b - 3.5, s, 11, MUTED, 1, bold=True, align="center")
    (l, t, r, b), _ = g.MS_KEYS[7]
    c.text((l + r) / 2, b - 4.5, "DPI", 7.5, MUTED, 1, bold=True, align="center")
    (l, t, r, b), _ = g.MS_KEYS[8]
    c.text((l + r) / 2, b - 4, "GM", 7.5, MUTED, 1, bold=True, align="center")
    # side-button grips
    for i in (3, 4, 10, 9):
        (l, t, r, b), _ = g.MS_KEYS[i]
        x = l + 4 if i != 9 else r - 4
        c.move_to(x, t + 6)
        c.line_to(x, b - 6)
        c.outline((120, 128, 142), 0.7, 1.4)
    # logo in the palm rest
    l, t, r, b = g.MS_LOGO
    brand_mark(c, (l + r) / 2, (t + b) / 2 - 3, 9, (130, 138, 152), 0.9)
    # cable leaving the front
    c.move_to(cx, body[1] + 2)
    c.curve_to(cx, 12, cx + 6, 6, cx + 4, 0)
    c.outline((20, 22, 26), 1, 4)
    c.save_png("device", "mouse.png")
    # the logo's own light: the mark in white, tinted by the LED colour
    c = Canvas(r - l, b - t, 2)
    brand_mark(c, (r - l) / 2, (b - t) / 2 - 3, 9, WHITE, 1)
    c.save_png("device", "logo_light.png")


def mousepad():
    w, h = g.PAD_WIDTH, g.PAD_HEIGHT
    c = Canvas(w, h, HI)
    l, t, r, b = g.PAD_BODY
    c.round_rect(l + 3, t + 6, r - l, b - t, 16)
    c.paint_fill((0, 0, 0), 0.5)
    # light strip: a translucent rim all round
    c.round_rect(l, t, r - l, b - t, 16)
    c.paint_fill((16, 18, 22), 1)
    c.round_rect(l + 3, t + 3, r - l - 6, b - t - 6, 13)
    c.outline((70, 76, 88), 0.55, 5)
    # cloth surface with a fine weave
    c.round_rect(l + 12, t + 12, r - l - 24, b - t - 24, 9)
    c.linear(l, t, r, b, [(0, (34, 37, 44), 1), (1, (22, 24, 29), 1)])
    c.fill_preserve()
    c.save()
    c.clip()
    c.set_line_width(0.4)
    c.rgba(WHITE, 0.025)
    for x in range(l, r, 3):
        c.move_to(x, t)
        c.line_to(x, b)
    c.stroke()
    c.restore()
    # the hub with the cable and the wireless charging mark
    hl, ht, hr, hb = g.PAD_HUB
    c.round_rect(hl, ht, hr - hl, hb - ht, 8)
    c.linear(0, ht, 0, hb, [(0, SHELL_LIGHT, 1), (1, SHELL_DARK, 1)])
    c.fill()
    c.round_rect(hl + 0.5, ht + 0.5, hr - hl - 1, hb - ht - 1, 8)
    c.outline(EDGE, 1, 1)
    brand_mark(c, hl + 16, (ht + hb) / 2 - 1.5, 4.5, MUTED, 1)
    c.text(hl + 28, (ht + hb) / 2 + 3.5, "BRASVIK", 8, MUTED, 1, bold=True)
    # charging spot for a phone in the top left corner
    c.circle(l + 60, t + 58, 28)
    c.outline(MUTED, 0.35, 1.2)
    for k, rad in enumerate((6, 11, 16)):
        c.new_sub_path()
        c.arc(l + 60, t + 64, rad, math.radians(225), math.radians(315))
    c.outline(MUTED, 0.5, 1.6)
    c.circle(l + 60, t + 64, 2)
    c.paint_fill(MUTED, 0.5)
    c.save_png("device", "mousepad.png")


def headset():
    w, h = g.HS_WIDTH, g.HS_HEIGHT
    c = Canvas(w, h, HI)
    lx, ly = g.HS_CUP_L
    rx, ry = g.HS_CUP_R
    cx = w / 2
    # headband: a steel arch and the padded band under it, ending in the yokes
    def arch(inset):
        c.move_to(lx - 2 + inset, ly - 64)
        c.curve_to(lx - 34 + inset, 10 + inset * 1.6, rx + 34 - inset, 10 + inset * 1.6,
                   rx + 2 - inset, ly - 64)

    arch(0)
    c.outline((58, 63, 74), 1, 7)
    arch(9)
    c.outline((30, 33, 39), 1, 15)
    arch(9)
    c.outline(EDGE, 0.7, 0.8)
    c.text(cx, 73, "BRASVIK", 7, MUTED, 0.9, bold=True, align="center")
    for x in (lx, rx):
        c.round_rect(x - 7, ly - 80, 14, 30, 5)
        c.linear(x - 7, 0, x + 7, 0, [(0, (40, 44, 52), 1), (0.5, (70, 76, 88), 1),
                                      (1, (40, 44, 52), 1)])
        c.fill()
    # microphone boom from the left cup
    c.move_to(lx - 30, ly + 30)
    c.curve_to(lx - 44, ly + 70, lx - 10, ly + 100, cx - 36, ly + 102)
    c.outline((36, 40, 47), 1, 5)
    c.round_rect(cx - 42, ly + 96, 18, 12, 6)
    c.paint_fill((56, 61, 72), 1)
    # ear cups with their light ring and the cushion
    for x, y in ((lx, ly), (rx, ry)):
        c.circle(x + 2, y + 5, g.HS_CUP_R_OUT)
        c.paint_fill((0, 0, 0), 0.45)
        c.circle(x, y, g.HS_CUP_R_OUT)
        c.radial(x - 14, y - 18, 4, g.HS_CUP_R_OUT + 6,
                 [(0, SHELL_LIGHT, 1), (0.7, SHELL, 1), (1, SHELL_DARK, 1)])
        c.fill()
        c.circle(x, y, g.HS_CUP_R_OUT - 0.5)
        c.outline(EDGE, 0.9, 1)
        c.circle(x, y, g.HS_LED_RING)
        c.outline((8, 9, 12), 0.95, 11)
        c.circle(x, y, g.HS_LED_RING - 10)
        c.radial(x - 6, y - 8, 2, g.HS_LED_RING - 8, [(0, (58, 64, 75), 1), (1, (30, 33, 39), 1)])
        c.fill()
        brand_mark(c, x, y - 2, 8, (130, 138, 152), 0.9)
    c.save_png("device", "headset.png")


# ---- device bar -------------------------------------------------------------------------------

ICON_W, ICON_H = 80, 48  # size of a device-bar picture at 96 DPI


def icon_keyboard(c, col, a):
    c.round_rect(10, 12, 60, 26, 4)
    c.outline(col, a, 2)
    for row in range(3):
        for k in range(9):
            c.rectangle(15 + k * 5.9, 16.5 + row * 5.5, 3.6, 3.4)
    c.rectangle(24, 33, 31, 2.6)
    c.paint_fill(col, a)


def icon_mouse(c, col, a):
    c.round_rect(28, 6, 24, 36, 12)
    c.outline(col, a, 2)
    c.move_to(40, 7)
    c.line_to(40, 20)
    c.stroke()
    c.round_rect(38.5, 11, 3, 6, 1.5)
    c.fill()


def icon_pad(c, col, a, soft):
    c.round_rect(8, 12, 64, 26, 6 if soft else 3)
    c.outline(col, a, 2)
    if soft:
        for x in range(16, 66, 8):
            c.move_to(x, 17)
            c.line_to(x - 4, 33)
        c.outline(col, a * 0.5, 0.8)
    else:
        c.round_rect(12, 16, 56, 18, 2)
        c.paint_fill(col, a * 0.25)
    c.round_rect(56, 9, 12, 5, 2)
    c.paint_fill(col, a)


def icon_headset(c, col, a):
    c.new_sub_path()
    c.arc(40, 26, 18, math.pi, 2 * math.pi)
    c.outline(col, a, 2.4)
    for x in (22, 58):
        c.round_rect(x - 5, 22, 10, 18, 4)
        c.fill()
    c.move_to(20, 38)
    c.curve_to(20, 44, 28, 45, 32, 44)
    c.set_line_width(1.6)
    c.stroke()


def icon_hub(c, col, a):
    c.round_rect(18, 16, 44, 18, 4)
    c.outline(col, a, 2)
    for k in range(4):
        c.rectangle(23 + k * 9.5, 22, 6, 5)
    c.fill()
    c.move_to(40, 16)
    c.line_to(40, 7)
    c.stroke()


def icon_unknown(c, col, a):
    c.round_rect(22, 8, 36, 32, 6)
    c.outline(col, a, 2)
    c.text(40, 32, "?", 20, col, a, bold=True, align="center")


def sync_badge(c, col, a):
    x, y = 66, 11
    c.circle(x, y, 8)
    c.paint_fill((21, 23, 27), 1)
    c.circle(x, y, 7.5)
    c.outline(col, a, 1.2)
    for start in (0.15, 1.15):
        c.new_sub_path()
        c.arc(x, y, 4.2, math.pi * start, math.pi * (start + 0.7))
        c.stroke()
        ex = x + 4.2 * math.cos(math.pi * (start + 0.7))
        ey = y + 4.2 * math.sin(math.pi * (start + 0.7))
        c.circle(ex, ey, 1.1)
        c.fill()


def device_icons():
    icons = {
        "kb": icon_keyboard,
        "ms": icon_mouse,
        "hard_mp": lambda c, col, a: icon_pad(c, col, a, False),
        "soft_mp": lambda c, col, a: icon_pad(c, col, a, True),
        "hd": icon_headset,
        "hub": icon_hub,
        "unknow": icon_unknown,
    }
    for prefix, draw in icons.items():
        for state in ("normal", "selected", "synchro_normal", "synchro_selected"):
            c = Canvas(ICON_W, ICON_H, HI)
            selected = state.endswith("selected")
            if selected:
                c.circle(40, 25, 26)
                c.radial(40, 25, 2, 26, [(0, ACCENT, 0.35), (1, ACCENT, 0)])
                c.fill()
            col = ACCENT_LIGHT if selected else MUTED
            draw(c, col, 1.0)
            if state.startswith("synchro"):
                sync_badge(c, ACCENT_LIGHT if selected else TEXT, 1.0)
            c.save_png("common", "device_ico", "%s_device_%s.png" % (prefix, state))


# ---- power display ----------------------------------------------------------------------------


def battery(c, fill=None, bolt=False, plug=False):
    c.round_rect(1, 2, 18, 10, 2.5)
    c.outline(TEXT, 0.9, 1.4)
    c.round_rect(19.6, 5, 2, 4, 0.8)
    c.fill()
    if fill is not None:
        c.round_rect(3, 4, 14, 6, 1.2)
        c.paint_fill(fill, 1)
    if bolt:
        c.move_to(11.5, 2.2)
        c.line_to(7, 7.6)
        c.line_to(10, 7.6)
        c.line_to(8.5, 11.8)
        c.line_to(13, 6.4)
        c.line_to(10, 6.4)
        c.close_path()
        c.paint_fill((255, 196, 0), 1)


def power_pictures():
    c = Canvas(22, 14, 3)
    battery(c)
    c.save_png("power", "powered.png")
    c = Canvas(22, 14, 3)
    battery(c, bolt=True)
    c.save_png("power", "powering.png")
    c = Canvas(22, 14, 3)
    battery(c, fill=(52, 199, 89))
    c.save_png("power", "power.png")

    def phone(c, notch, punch, radius):
        c.round_rect(3, 1, 12, 22, radius)
        c.outline(TEXT, 0.9, 1.4)
        if notch:
            c.round_rect(6.5, 1.6, 5, 1.8, 0.9)
            c.fill()
        if punch:
            c.circle(9, 3.6, 0.9)
            c.fill()
        if not notch and not punch:
            c.move_to(7.5, 20.3)
            c.line_to(10.5, 20.3)
            c.set_line_width(1.1)
            c.stroke()

    for name, notch, punch, radius in (("iphone", True, False, 3.2), ("samsung", False, True, 2),
                                       ("other", False, False, 1.6)):
        c = Canvas(18, 24, 3)
        phone(c, notch, punch, radius)
        c.save_png("power", "Phone_type_%s.png" % name)
    c = Canvas(18, 24, 3)
    c.round_rect(3, 1, 12, 22, 2)
    c.outline(MUTED, 0.6, 1.4)
    c.move_to(1.5, 22.5)
    c.line_to(16.5, 1.5)
    c.outline((232, 90, 90), 1, 1.6)
    c.save_png("power", "Phone_type_no_device.png")


# ---- window backgrounds -----------------------------------------------------------------------


def background(name, motif):
    w, h = 1000, 640
    c = Canvas(w, h, 1)
    c.rectangle(0, 0, w, h)
    c.linear(0, 0, w, h, [(0, (19, 21, 26), 1), (1, (14, 15, 19), 1)])
    c.fill()
    motif(c, w, h)
    c.rectangle(0, 0, w, h)
    c.radial(w / 2, h / 2, 200, 700, [(0, (0, 0, 0), 0), (1, (0, 0, 0), 0.35)])
    c.fill()
    c.save_png("main", name)


def motif_keyboard(c, w, h):
    # a wash of blue light from the lower right and a field of faint key caps
    c.rectangle(0, 0, w, h)
    c.radial(w * 0.85, h * 0.95, 0, 520, [(0, ACCENT, 0.22), (1, ACCENT, 0)])
    c.fill()
    for row in range(7):
        for col in range(26):
            x = 520 + col * 22 - row * 8
            y = 430 + row * 22
            fade = max(0.0, 1 - math.hypot(x - 850, y - 600) / 420)
            if fade <= 0:
                continue
            c.round_rect(x, y, 18, 18, 3)
            c.outline((120, 150, 210), 0.10 * fade, 1)


def motif_mouse(c, w, h):
    # a wash of violet-blue light and contour lines around a point, like a sensor's trace
    c.rectangle(0, 0, w, h)
    c.radial(w * 0.82, h * 0.78, 0, 560, [(0, (96, 80, 240), 0.20), (1, (96, 80, 240), 0)])
    c.fill()
    for k in range(14):
        c.save()
        c.translate(w * 0.82, h * 0.78)
        c.scale(1.0, 1.45)
        c.circle(0, 0, 40 + k * 26)
        c.restore()
        c.outline((150, 140, 255), 0.085 * (1 - k / 14), 1)


def main():
    keyboard()
    key_light()
    dial()
    led_lights()
    key_marker()
    mouse()
    mousepad()
    headset()
    device_icons()
    power_pictures()
    background("background_kb.png", motif_keyboard)
    background("background_ms.png", motif_mouse)


if __name__ == "__main__":
    main()
