"""Geometry of the device pictures, shared by the page generator and the picture generator.

Every position is in window pixels at 96 DPI, relative to the device picture (the page's
"SelectPanel"). The pictures are drawn at 1.5 times these sizes so that they stay sharp at
144 DPI; the toolkit scales them down at 96 DPI.
"""

import os
import re

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

# ---------------------------------------------------------------------------------------------
# Keyboard
#
# The keyboard page has 170 program keys. Key i is the row i of the program key table in
# src/keys/assignment_tables.h: its default assignment names the key (type 0x20 with a HID keyboard
# usage or a modifier bit, 0x30 a consumer usage, 0xA0/0xD0 the keyboard's own functions). The
# table below places every key by that default assignment, so the page and the table cannot
# drift apart: a key the table has but the layout does not place stops the generator.
#
# The layout is a full-size board (function row, main block, navigation block, number pad) with
# the extras of this keyboard: the macro keys M1..M5 and the volume dial in a column on the left,
# four media keys above the number pad. The main block also carries the keys that only some
# regional layouts have (the ISO keys beside Enter and left Shift, the Japanese Yen, Ro, Muhenkan,
# Henkan and Kana keys, the Korean Hanja and Han/Yeong keys, the Brazilian keypad comma), each
# at its usual place, so every key of every layout has a button of its own and no two overlap.
# Rows of the table whose default is "no key" (0x20 0x00 0x00 or all zero) have no key on the
# board: their buttons exist, hidden, with an empty rectangle, so the rubber band never selects
# them.

KB_UNIT = 28  # one key unit in pixels
KB_MARGIN_X = 16
KB_MARGIN_Y = 16
KB_ROW_GAP = 0.5  # between the function row and the number row, in units
KB_MAIN_X = 1.5  # the main block starts right of the macro column

# (type, code1, code2) -> (x, y, width, height, legend, shape); x, y, w, h in key units. x is
# relative to the main block, y to the number row (the function row is y = -1 - KB_ROW_GAP).
F = -1 - KB_ROW_GAP
NAV = 15.5
PAD = 19.0


def _usage(u):
    return (0x20, 0x00, u)


KB_KEYS = {}


def _row(y, x, entries):
    for entry in entries:
        code, width, legend = entry
        if code is not None:
            KB_KEYS[code] = (x, y, width, 1, legend, "key")
        x += width


# Function row: Esc, F1..F12 in groups of four, the print/scroll/pause keys, media keys.
KB_KEYS[_usage(0x29)] = (0, F, 1, 1, "Esc", "key")
for i in range(12):
    KB_KEYS[_usage(0x3A + i)] = (2 + i + 0.5 * (i // 4), F, 1, 1, "F%d" % (i + 1), "key")
KB_KEYS[_usage(0x46)] = (NAV, F, 1, 1, "PrtSc", "key")
KB_KEYS[_usage(0x47)] = (NAV + 1, F, 1, 1, "ScrLk", "key")
KB_KEYS[_usage(0x48)] = (NAV + 2, F, 1, 1, "Pause", "key")
KB_KEYS[(0xA0, 0x47, 0x00)] = (PAD, F, 1, 1, "Calc", "key")  # launch application 2
KB_KEYS[(0xA0, 0x47, 0x01)] = (PAD + 1, F, 1, 1, "Vol-", "key")
KB_KEYS[(0xA0, 0x47, 0x02)] = (PAD + 2, F, 1, 1, "Vol+", "key")
KB_KEYS[(0xA0, 0x47, 0x03)] = (PAD + 3, F, 1, 1, "Mute", "key")

# Number row; the Yen key (JIS) sits between "=" and Backspace.
_row(0, 0, [(_usage(0x35), 1, "`")] +
     [(_usage(0x1E + i), 1, str((i + 1) % 10)) for i in range(10)] +
     [(_usage(0x2D), 1, "-"), (_usage(0x2E), 1, "="), (_usage(0x89), 1, "¥"),
      (_usage(0x2A), 1, "Bksp")])
# Tab row.
_row(1, 0, [(_usage(0x2B), 1.5, "Tab")] +
     [(_usage(u), 1, ch) for u, ch in zip([0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C,
                                           0x12, 0x13, 0x2F, 0x30], "QWERTYUIOP[]")] +
     [(_usage(0x31), 1.5, "\\")])
# Home row; the ISO key left of Enter (non-US #).
_row(2, 0, [(_usage(0x39), 1.75, "Caps")] +
     [(_usage(u), 1, ch) for u, ch in zip([0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E,
                                           0x0F, 0x33, 0x34], "ASDFGHJKL;'")] +
     [(_usage(0x32), 1, "#"), (_usage(0x28), 1.25, "Enter")])
# Shift row; the ISO key right of left Shift (non-US \) and Ro (JIS) left of right Shift.
_row(3, 0, [((0x20, 0x02, 0x00), 1.25, "Shift"), (_usage(0x64), 1, "<>")] +
     [(_usage(u), 1, ch) for u, ch in zip([0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36,
                                           0x37, 0x38], "ZXCVBNM,./")] +
     [(_usage(0x87), 1, "ろ"), ((0x20, 0x20, 0x00), 1.75, "Shift")])
# Bottom row; Muhenkan left of the space bar, Henkan and Kana right of it (JIS).
_row(4, 0, [((0x20, 0x01, 0x00), 1.25, "Ctrl"), ((0x20, 0x08, 0x00), 1.25, "Win"),
            ((0x20, 0x04, 0x00), 1.25, "Alt"), (_usage(0x8B), 1, "無変"),
            (_usage(0x2C), 3, ""), (_usage(0x8A), 1, "変換"), (_usage(0x88), 1, "かな"),
            ((0x20, 0x40, 0x00), 1, "Alt"), ((0x20, 0x80, 0x00), 1, "Win"),
            ((0xA0, 0x01, 0x00), 1, "Fn"), (_usage(0x65), 1, "Menu"),
            ((0x20, 0x10, 0x00), 1.25, "Ctrl")])

# Navigation block; the Korean Hanja and Han/Yeong keys flank the Up arrow.
for col, (u, legend) in enumerate([(0x49, "Ins"), (0x4A, "Home"), (0x4B, "PgUp")]):
    KB_KEYS[_usage(u)] = (NAV + col, 0, 1, 1, legend, "key")
for col, (u, legend) in enumerate([(0x4C, "Del"), (0x4D, "End"), (0x4E, "PgDn")]):
    KB_KEYS[_usage(u)] = (NAV + col, 1, 1, 1, legend, "key")
KB_KEYS[_usage(0x91)] = (NAV, 3, 1, 1, "한자", "key")
KB_KEYS[_usage(0x52)] = (NAV + 1, 3, 1, 1, "↑", "key")
KB_KEYS[_usage(0x90)] = (NAV + 2, 3, 1, 1, "한/영", "key")
for col, (u, legend) in enumerate([(0x50, "←"), (0x51, "↓"), (0x4F, "→")]):
    KB_KEYS[_usage(u)] = (NAV + col, 4, 1, 1, legend, "key")

# Number pad; the plus key is one unit high so that the Brazilian keypad comma fits below it.
for col, (u, legend) in enumerate([(0x53, "Num"), (0x54, "/"), (0x55, "*"), (0x56, "-")]):
    KB_KEYS[_usage(u)] = (PAD + col, 0, 1, 1, legend, "key")
for row, base in enumerate([0x5F, 0x5C, 0x59]):
    for col in range(3):
        KB_KEYS[_usage(base + col)] = (PAD + col, 1 + row, 1, 1, str(7 - 3 * row + col), "key")
KB_KEYS[_usage(0x57)] = (PAD + 3, 1, 1, 1, "+", "key")
KB_KEYS[_usage(0x85)] = (PAD + 3, 2, 1, 1, ",", "key")
KB_KEYS[_usage(0x58)] = (PAD + 3, 3, 1, 2, "Ent", "key")
KB_KEYS[_usage(0x62)] = (PAD, 4, 2, 1, "0", "key")
KB_KEYS[_usage(0x63)] = (PAD + 2, 4, 1, 1, ".", "key")

# The macro column left of the main block and the volume dial above it (its press mutes).
KB_KEYS[(0x30, 0xE2, 0x00)] = (-KB_MAIN_X, F, 1, 1, "", "dial")
for i in range(5):
    KB_KEYS[(0xD0, 0xA2, 0x01 + i)] = (-KB_MAIN_X, i, 1, 1, "M%d" % (i + 1), "key")

NO_KEY = {(0x20, 0x00, 0x00), (0x00, 0x00, 0x00)}


def program_key_codes():
    """The 170 default assignments of the keyboard page's program keys, in index order."""
    path = os.path.join(ROOT, "src", "keys", "assignment_tables.h")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    start = text.index("ProgramKeyTable")
    body = text[start:text.index("}};", start)]
    codes = [tuple(int(v, 16) for v in m.groups())
             for m in re.finditer(r"\{(0x[0-9A-Fa-f]+), (0x[0-9A-Fa-f]+), (0x[0-9A-Fa-f]+)\}",
                                  body)]
    if len(codes) != 170:
        raise SystemExit("expected 170 program keys in %s, found %d" % (path, len(codes)))
    return codes


def kb_rect(x, y, w, h):
    """Pixel rectangle (left, top, right, bottom) of a key at layout units x, y, w, h."""
    left = KB_MARGIN_X + (x + KB_MAIN_X) * KB_UNIT
    top = KB_MARGIN_Y + (y - F) * KB_UNIT
    return (round(left), round(top), round(left + w * KB_UNIT), round(top + h * KB_UNIT))


KB_WIDTH = KB_MARGIN_X * 2 + round((KB_MAIN_X + PAD + 4) * KB_UNIT)
KB_HEIGHT = KB_MARGIN_Y * 2 + round((5 - F) * KB_UNIT)


def keyboard_keys():
    """[(index, rect or None, legend, shape)] for the 170 program keys."""
    out = []
    placed = set()
    for index, code in enumerate(program_key_codes()):
        if code in NO_KEY:
            out.append((index, None, "", "none"))
            continue
        if code not in KB_KEYS:
            raise SystemExit("program key %d %s has no place on the keyboard" % (index, code))
        if code in placed:
            raise SystemExit("program key %d %s is placed twice" % (index, code))
        placed.add(code)
        x, y, w, h, legend, shape = KB_KEYS[code]
        out.append((index, kb_rect(x, y, w, h), legend, shape))
    return out


# ---------------------------------------------------------------------------------------------
# Mouse (top view). 11 buttons in the order of the mouse's program buttons, 15 LEDs: the left
# strip 0..6 runs from the front to the back, the right strip 13..7 likewise, 14 sits at the back
# in the middle; the wave preview lights the pairs {0, 13} ... {5, 8} and {6, 14, 7} together, so
# it runs from the front of the mouse to its back.

MS_WIDTH, MS_HEIGHT = 300, 404
MS_BODY = (62, 24, 238, 364)  # bounding box of the shell

# index: (rect, language id of the name)
MS_KEYS = [
    ((77, 40, 135, 158), "mouse_key_left"),
    ((165, 40, 223, 158), "mouse_key_right"),
    ((140, 62, 160, 112), "mouse_key_middle"),
    ((50, 176, 66, 212), "mouse_key_forward"),
    ((50, 218, 66, 254), "mouse_key_back"),
    ((138, 122, 162, 138), "mouse_key_DPI_add"),
    ((138, 142, 162, 158), "mouse_key_DPI_sub"),
    ((136, 166, 164, 182), "mouse_key_DPI_loop"),
    ((136, 190, 164, 204), "keyboard_key_GM"),
    ((234, 186, 250, 224), "mouse_key_M8_key"),
    ((52, 112, 68, 156), "mouse_key_fire_key"),
]


def _ms_edge_x(y, left):
    """x of the shell's outline at height y (the same curve the picture draws)."""
    import math
    top, bottom = MS_BODY[1], MS_BODY[3]
    cx = (MS_BODY[0] + MS_BODY[2]) / 2
    half = (MS_BODY[2] - MS_BODY[0]) / 2
    t = min(1.0, max(0.0, (y - top) / (bottom - top)))
    front = math.sqrt(max(0.0, 1 - (max(0.0, 0.2 - t) / 0.2) ** 2))
    back = math.sqrt(max(0.0, 1 - (max(0.0, t - 0.68) / 0.32) ** 2))
    body = 0.84 + 0.16 * math.sin(math.pi * min(1.0, max(0.0, (t - 0.15) / 0.75)))
    waist = 1 - 0.06 * math.exp(-((t - 0.42) / 0.12) ** 2)
    w = half * front * back * body * waist
    return cx - w if left else cx + w


MS_LED_SIZE = 12


def mouse_leds():
    """[(index, centre x, centre y)] of the 15 LEDs, in the light channel along the edge."""
    out = []
    top, bottom = MS_BODY[1], MS_BODY[3]
    for i in range(7):
        y = top + (bottom - top) * (0.27 + i * 0.09)
        out.append((i, _ms_edge_x(y, True) + 5.5, y))
        out.append((13 - i, _ms_edge_x(y, False) - 5.5, y))
    out.append((14, (MS_BODY[0] + MS_BODY[2]) / 2, bottom - 5.5))
    return sorted(out)


MS_LOGO = (134, 262, 166, 294)

# ---------------------------------------------------------------------------------------------
# Mouse pad: a wide pad seen from above, with its light strip along the edge. The 15 LEDs run
# clockwise from the cable hub at the top right, so the wave preview travels around the pad.

PAD_WIDTH, PAD_HEIGHT = 714, 214
PAD_BODY = (20, 18, 694, 196)
PAD_LED_W, PAD_LED_H = 22, 10
_PAD_INSET = 7
# The cable hub sits on the top edge near the right corner, centred between two LEDs of the
# strip; the strip starts (LED 0) right of it.
_PAD_HUB_AT = PAD_BODY[2] - PAD_BODY[0] - 2 * _PAD_INSET - 120  # along the top edge
PAD_HUB = (PAD_BODY[0] + _PAD_INSET + _PAD_HUB_AT - 42, 8,
           PAD_BODY[0] + _PAD_INSET + _PAD_HUB_AT + 42, 30)


def pad_leds():
    """[(index, centre x, centre y, horizontal)] spread evenly along the pad's edge."""
    left, top, right, bottom = PAD_BODY
    l, t, r, b = left + _PAD_INSET, top + _PAD_INSET, right - _PAD_INSET, bottom - _PAD_INSET
    w, h = r - l, b - t
    perimeter = 2 * (w + h)
    out = []
    for i in range(15):
        d = (_PAD_HUB_AT + perimeter * (i + 0.5) / 15) % perimeter
        if d < w:
            out.append((i, l + d, t, True))
        elif d < w + h:
            out.append((i, r, t + d - w, False))
        elif d < 2 * w + h:
            out.append((i, r - (d - w - h), b, True))
        else:
            out.append((i, l, b - (d - 2 * w - h), False))
    return out


# ---------------------------------------------------------------------------------------------
# Headset (front view): the headband and two ear cups; LEDs 0..6 ring the left cup, 7..12 the
# right one (the two halves the headset's colour reports address).

HS_WIDTH, HS_HEIGHT = 300, 412
HS_CUP_L = (84, 272)  # centres
HS_CUP_R = (216, 272)
HS_CUP_R_OUT = 56
HS_LED_RING = 40
HS_LED_SIZE = 12


def headset_leds():
    import math
    out = []
    for i in range(7):
        a = math.radians(-90 + i * 360 / 7)
        out.append((i, HS_CUP_L[0] + HS_LED_RING * math.cos(a),
                    HS_CUP_L[1] + HS_LED_RING * math.sin(a)))
    for i in range(6):
        a = math.radians(-90 + i * 360 / 6)
        out.append((7 + i, HS_CUP_R[0] + HS_LED_RING * math.cos(a),
                    HS_CUP_R[1] + HS_LED_RING * math.sin(a)))
    return out
