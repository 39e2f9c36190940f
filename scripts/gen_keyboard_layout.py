#!/usr/bin/env python3
"""Writes src/device/keyboard/keyboard_layout.h, the key layouts the keyboard previews animate.

Every table is laid out from the real key positions of the keyboard page (device_geometry.py,
which also places the page's buttons), so a wave that runs across the board runs across the
picture the user sees. Run it after changing the keyboard's geometry and commit what it writes.

What the tables are and how they are chosen:

- Key centres: the centre of each program key's button in page pixels at 96 DPI, rounded down
  as the page's integer positions give it; keys that have no place on the board are (-1, -1).
  The ripples measure distances with them.
- Key matrix, 6 rows by 23 columns: the row is the key's row on the board (function row first);
  the column is the one of 23 equal columns across the board's width that holds the key's centre.
  When two keys of a row fall into one column, the later one moves to the nearest free column of
  that row (no row has more than 23 keys), so every key sits in exactly one cell.
- Key order: every key of the board in reading order (rows top to bottom, keys left to right).
- Rings, 12 of at most 12 keys: the keys sorted by their distance from the board's centre, the
  distance measured with both axes scaled to the board's half width and half height (so the rings
  are ellipses with the board's proportions), cut into 12 bands of as equal a size as possible.
- Bars, 52 of at most 12 keys: slanted lines across the board, leaning half a key per row, moving
  from one key left of the board to one key right of it; each row gives the (at most) two keys
  whose centres lie nearest the line in that row, within one and a half keys of it.
- Ripple script: the keys that start the scripted ripple, in turn; corners and centre of the main
  block, then the number pad and the navigation block.
- Edge keys: the first and the last key of each matrix row and the top and the bottom key of each
  matrix column, without repeats, in the order a walk round the board meets them.
- Show: six-key groups of the first phase come from the key order; the second phase lights the
  pairs that mirror each other across the board's centre line, moving inwards; the third starts a
  ripple from the space bar; the fourth waits for Esc to go dark.
- Pulse table (192 entries): how a twinkling key's level follows its counter: a quick rise over
  the first 24 counts along the breathing curve, a slow fall over the next 96, dark for the rest.
"""

import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import device_geometry as g  # noqa: E402

OUT = os.path.join(g.ROOT, "src", "device", "keyboard", "keyboard_layout.h")
NONE = 255
ROWS, COLUMNS = 6, 23
RING_COUNT, RING_SIZE = 12, 12
BAR_COUNT, BAR_SIZE = 52, 12

BREATHING_RISE = [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 27, 30, 33, 36,
                  39, 42, 45, 49, 53, 57, 61, 65, 69, 73, 77, 81, 85, 89, 94, 99, 104, 109, 114,
                  119, 124, 129, 134, 140, 146, 152, 158, 164, 170, 176, 182, 188, 194, 200, 206,
                  213, 220, 227, 234, 241, 248, 255]


def keys():
    """{program key: (cx, cy, row)} for the keys on the board."""
    rows = sorted({rect[1] for _, rect, _, _ in g.keyboard_keys() if rect})
    if len(rows) != ROWS:
        raise SystemExit("expected %d key rows, found %d" % (ROWS, len(rows)))
    out = {}
    for index, rect, _, _ in g.keyboard_keys():
        if not rect:
            continue
        left, top, right, bottom = rect
        # A key two rows high (the number pad's Enter) belongs to its top row.
        out[index] = ((left + right) / 2, (top + bottom) / 2, rows.index(top))
    return out


def matrix(placed):
    grid = [[NONE] * COLUMNS for _ in range(ROWS)]
    for index in sorted(placed, key=lambda k: (placed[k][2], placed[k][0])):
        cx, _, row = placed[index]
        want = min(COLUMNS - 1, int(cx * COLUMNS / g.KB_WIDTH))
        free = [c for c in range(COLUMNS) if grid[row][c] == NONE]
        if not free:
            raise SystemExit("row %d has more than %d keys" % (row, COLUMNS))
        col = min(free, key=lambda c: (abs(c - want), c))
        grid[row][col] = index
    return grid


def reading_order(placed):
    return sorted(placed, key=lambda k: (placed[k][2], placed[k][0]))


def rings(placed):
    cx, cy = g.KB_WIDTH / 2, g.KB_HEIGHT / 2

    def distance(k):
        x, y, _ = placed[k]
        return math.hypot((x - cx) / (g.KB_WIDTH / 2), (y - cy) / (g.KB_HEIGHT / 2))

    ordered = sorted(placed, key=lambda k: (distance(k), k))
    out, at = [], 0
    for r in range(RING_COUNT):
        size = len(ordered) // RING_COUNT + (1 if r < len(ordered) % RING_COUNT else 0)
        if size > RING_SIZE:
            raise SystemExit("ring %d would hold %d keys" % (r, size))
        ring = ordered[at:at + size]
        at += size
        out.append(ring + [NONE] * (RING_SIZE - len(ring)))
    return out


def bars(placed):
    unit = g.KB_UNIT
    start = -unit
    step = (g.KB_WIDTH + 2 * unit) / (BAR_COUNT - 1)
    out = []
    for p in range(BAR_COUNT):
        chosen = []
        for r in range(ROWS):
            x = start + p * step + (r - ROWS / 2) * unit / 2
            in_row = [k for k in placed if placed[k][2] == r]
            near = sorted(in_row, key=lambda k: (abs(placed[k][0] - x), k))
            chosen += [k for k in near[:2] if abs(placed[k][0] - x) < 1.5 * unit]
        chosen = chosen[:BAR_SIZE]
        out.append(chosen + [NONE] * (BAR_SIZE - len(chosen)))
    return out


def by_code(code):
    for index, c in enumerate(g.program_key_codes()):
        if c == code:
            return index
    raise SystemExit("no program key has the default %s" % (code,))


def usage(u):
    return by_code((0x20, 0x00, u))


def edge_keys(grid):
    seen, out = set(), []

    def add(k):
        if k != NONE and k not in seen:
            seen.add(k)
            out.append(k)

    for c in range(COLUMNS):  # along the top
        add(next((grid[r][c] for r in range(ROWS) if grid[r][c] != NONE), NONE))
    for r in range(ROWS):  # down the right side
        add(next((grid[r][c] for c in reversed(range(COLUMNS)) if grid[r][c] != NONE), NONE))
    for c in reversed(range(COLUMNS)):  # back along the bottom
        add(next((grid[r][c] for r in reversed(range(ROWS)) if grid[r][c] != NONE), NONE))
    for r in reversed(range(ROWS)):  # up the left side
        add(next((grid[r][c] for c in range(COLUMNS) if grid[r][c] != NONE), NONE))
    return out


def show_pairs(placed):
    cx = g.KB_WIDTH / 2
    left = sorted((k for k in placed if placed[k][0] < cx), key=lambda k: placed[k][0])
    pairs = []
    for k in left:
        x, y, row = placed[k]
        mirror = [m for m in placed if placed[m][2] == row and placed[m][0] > cx]
        if not mirror:
            continue
        m = min(mirror, key=lambda m: (abs((2 * cx - x) - placed[m][0]), m))
        if (k, m) not in pairs:
            pairs.append((k, m))
        if len(pairs) == 16:
            break
    return pairs


def pulse():
    rise = [BREATHING_RISE[round(i * 63 / 23)] for i in range(24)]
    fall = [BREATHING_RISE[round((95 - i) * 63 / 95)] for i in range(96)]
    return rise + fall + [0] * (192 - len(rise) - len(fall))


def fmt_list(values, per_line=12, indent="    "):
    lines = []
    for i in range(0, len(values), per_line):
        lines.append(indent + ", ".join(str(v) for v in values[i:i + per_line]) + ",")
    return "\n".join(lines)


def table(comment, name, count_name, count, size_name, size, rows):
    """Lines of a constexpr table of count rows of size keys, with its two size constants."""
    lines = ["// " + comment,
             "inline constexpr int %s = %d;" % (count_name, count),
             "inline constexpr int %s = %d;" % (size_name, size),
             "inline constexpr std::array<std::array<uint8_t, %s>, %s> %s = {{" %
             (size_name, count_name, name)]
    lines += ["    {%s}," % ", ".join(str(v) for v in row) for row in rows]
    lines.append("}};\n")
    return lines


def main():
    placed = keys()
    grid = matrix(placed)
    order = reading_order(placed)
    ring_table = rings(placed)
    bar_table = bars(placed)
    edges = edge_keys(grid)
    script = [usage(0x14), usage(0x13), usage(0x1D), usage(0x38), usage(0x0A), usage(0x5D),
              usage(0x4A), usage(0x52), usage(0x2C), usage(0x29)]
    pairs = show_pairs(placed)
    groups = [order[(i * 6 + j * 7) % len(order)] for i in range(20) for j in range(6)]
    space, esc = usage(0x2C), usage(0x29)

    centres = []
    for i in range(170):
        if i in placed:
            centres.append("{%d, %d}" % (int(placed[i][0]), int(placed[i][1])))
        else:
            centres.append("{-1, -1}")

    out = []
    out.append("#pragma once\n")
    out.append("// Written by scripts/gen_keyboard_layout.py from the keyboard page's key positions")
    out.append("// (scripts/device_geometry.py); edit those and run the script again. The script's")
    out.append("// notes say how each table is laid out. Entries are program key indices; kNoKey")
    out.append("// marks an empty place.\n")
    out.append("#include <array>\n#include <cstdint>\n")
    out.append("namespace device::keyboard {\n")
    out.append("inline constexpr uint8_t kNoKey = 255;\n")
    out.append("struct KeyCentre {\n    int16_t x;\n    int16_t y;\n};\n")
    out.append("// Centre of each program key's button in page pixels at 96 DPI; (-1, -1) off the board.")
    out.append("inline constexpr int kKeyUnit = %d;  // one key's width in page pixels" % g.KB_UNIT)
    out.append("inline constexpr std::array<KeyCentre, 170> kKeyCentres = {{")
    for i in range(0, 170, 6):
        out.append("    " + ", ".join(centres[i:i + 6]) + ",  // %d.." % i)
    out.append("}};\n")
    out += table("The board as 6 rows (function row first) of 23 columns.", "kKeyMatrix",
                 "kMatrixRows", ROWS, "kMatrixColumns", COLUMNS, grid)
    out.append("// Every key of the board in reading order.")
    out.append("inline constexpr std::array<uint8_t, %d> kKeyOrder = {" % len(order))
    out.append(fmt_list(order))
    out.append("};\n")
    out += table("Rings round the board's centre, innermost first.", "kRings", "kRingCount",
                 RING_COUNT, "kRingSize", RING_SIZE, ring_table)
    out += table("Slanted bars from the left of the board to its right.", "kBars", "kBarCount",
                 BAR_COUNT, "kBarSize", BAR_SIZE, bar_table)
    out.append("// The keys the scripted ripple starts from, in turn.")
    out.append("inline constexpr std::array<uint8_t, %d> kRippleScript = {%s};\n" %
               (len(script), ", ".join(str(v) for v in script)))
    out.append("// The keys round the edge of the board, walking clockwise from the top left.")
    out.append("inline constexpr std::array<uint8_t, %d> kEdgeKeys = {" % len(edges))
    out.append(fmt_list(edges))
    out.append("};\n")
    out += table("The show, first phase: six keys at a time.", "kShowGroups", "kShowGroupCount",
                 20, "kShowGroupSize", 6, [groups[i * 6:i * 6 + 6] for i in range(20)])
    out += table("The show, second phase: pairs mirrored across the centre, moving inwards.",
                 "kShowPairs", "kShowPairCount", len(pairs), "kShowPairSize", 2, pairs)
    out.append("// The show, third phase: the key its ripple starts from; the last phase waits for")
    out.append("// kShowLastKey to go dark.")
    out.append("inline constexpr uint8_t kShowRippleKey = %d;" % space)
    out.append("inline constexpr uint8_t kShowLastKey = %d;\n" % esc)
    out.append("// A twinkling key's level along its counter.")
    out.append("inline constexpr std::array<uint8_t, 192> kPulseTable = {")
    out.append(fmt_list(pulse(), 16))
    out.append("};\n")
    out.append("}  // namespace device::keyboard")
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    # The header is formatted like the rest of the sources.
    subprocess.run(["clang-format", "-i", OUT], check=True)


if __name__ == "__main__":
    main()
