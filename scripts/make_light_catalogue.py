#!/usr/bin/env python3
"""Writes the light mode catalogue data/DefaultData/default_light.json and its built-in copy
src/device/light_catalogue_defaults.h (what the program uses when the shipped file is damaged).

"DefaultLightName"[variant] lists the modes of one light variant (0 keyboard, 1 mouse, 2 mouse pad,
3 headset) in mode index order: the language key of the name, whether the mode is offered, and the
device's code for it. Indices the device plays from the light library (custom area effects) are
kept in their places but not offered: this program writes no light library of its own.
"AreaLightName"[variant] names the lighting areas of the variant.

The mode names are language keys of data/skin/lang/lighting.txt. Run it after changing a table,
then scripts/gen_language_files.py when names were added; commit the outputs.
"""

import json
import os
import subprocess

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
JSON_OUT = os.path.join(ROOT, "data", "DefaultData", "default_light.json")
HEADER_OUT = os.path.join(ROOT, "src", "device", "light_catalogue_defaults.h")

HIDDEN = "light_mode_custom_effect"

# (language key, offered); the code sent to the device is the index.
KEYBOARD = [
    (HIDDEN, False),                      # 0 custom area effects
    ("light_mode_wave", True),            # 1
    ("light_mode_vortex", True),          # 2
    ("light_mode_spectrum", True),        # 3
    ("light_mode_breathing", True),       # 4
    ("light_mode_static", True),          # 5
    ("light_mode_reactive", True),        # 6
    ("light_mode_ripple", True),          # 7
    ("light_mode_rainbow_ripple", True),  # 8
    ("light_mode_colour_drift", True),    # 9
    ("light_mode_row_wave", True),        # 10
    ("light_mode_starburst", True),       # 11
    ("light_mode_twinkle", True),         # 12
    ("light_mode_fast_twinkle", True),    # 13
    ("light_mode_edge_ripple", True),     # 14
    ("light_mode_preset_colour", True),   # 15
    ("light_mode_ring_wave", True),       # 16
    ("light_mode_off", True),             # 17
    ("light_mode_custom_keys", True),     # 18
    ("light_mode_raindrops", True),       # 19
    ("light_mode_smooth_wave", True),     # 20
    ("light_mode_magenta", True),         # 21
    (HIDDEN, False),                      # 22
    ("light_mode_blink", True),           # 23
    ("light_mode_moving_bars", True),     # 24
    ("light_mode_key_glow", True),        # 25
    ("light_mode_breathing_four", True),  # 26
    ("light_mode_blink_four", True),      # 27
    ("light_mode_cascade", True),         # 28
    ("light_mode_music", True),           # 29
    ("light_mode_sound_colour", True),    # 30
    (HIDDEN, False),                      # 31
    (HIDDEN, False),                      # 32
    ("light_mode_light_show", True),      # 33
]

MOUSE = [
    ("light_mode_static", True),          # 0
    ("light_mode_breathing", True),       # 1
    ("light_mode_wave", True),            # 2
    ("light_mode_spectrum", True),        # 3
    ("light_mode_rainbow_wave", True),    # 4
    ("light_mode_breathing_four", True),  # 5
    ("light_mode_off", True),             # 6
    ("light_mode_reactive", True),        # 7
    ("light_mode_blink_four", True),      # 8
    (HIDDEN, False),                      # 9 custom area effects
    ("light_mode_blink", True),           # 10
]

# The mouse pad and the headset share their modes.
STRIP = [
    ("light_mode_wave", True),            # 0
    ("light_mode_spectrum", True),        # 1
    ("light_mode_breathing", True),       # 2
    ("light_mode_static", True),          # 3
    ("light_mode_blink", True),           # 4
    (HIDDEN, False),                      # 5 custom area effects
    ("light_mode_flowing_ripple", True),  # 6
    ("light_mode_ripple", True),          # 7
    ("light_mode_off", True),             # 8
]

VARIANTS = [KEYBOARD, MOUSE, STRIP, STRIP]
AREAS = [
    ["light_area_keyboard"],
    ["light_area_mouse"],
    ["light_area_pad_edge"],
    ["light_area_earcups"],
]


def catalogue():
    return {
        "DefaultLightName": [
            [{"LightName": name, "visible": offered, "value": index}
             for index, (name, offered) in enumerate(modes)]
            for modes in VARIANTS
        ],
        "AreaLightName": [[{"LightName": name} for name in areas] for areas in AREAS],
    }


def header():
    lines = [
        "#pragma once",
        "",
        "// Written by scripts/make_light_catalogue.py together with DefaultData/default_light.json;",
        "// edit the script and run it again.",
        "",
        "#include <array>",
        "#include <span>",
        "",
        "namespace device::light_catalogue_defaults {",
        "",
        "struct Mode {",
        "    const char* name;  // language key",
        "    bool visible;",
        "    int value;  // the device's code",
        "};",
        "",
    ]
    names = []
    for variant, modes in enumerate(VARIANTS):
        name = "kVariant%d" % variant
        names.append(name)
        lines.append("inline constexpr Mode %s[] = {" % name)
        for index, (key, offered) in enumerate(modes):
            lines.append('    {"%s", %s, %d},' % (key, "true" if offered else "false", index))
        lines.append("};")
        lines.append("")
    for variant, areas in enumerate(AREAS):
        lines.append("inline constexpr const char* const kAreas%d[] = {%s};" % (
            variant, ", ".join('"%s"' % a for a in areas)))
    lines.append("")
    lines.append("// Indexed by light variant.")
    lines.append("inline constexpr std::array<std::span<const Mode>, %d> kVariants = {" % len(names))
    for name in names:
        lines.append("    std::span<const Mode>(%s)," % name)
    lines.append("};")
    lines.append("")
    lines.append("// Language keys of the lighting areas, indexed by light variant.")
    lines.append("inline constexpr std::array<std::span<const char* const>, %d> kAreas = {" % len(AREAS))
    for variant, areas in enumerate(AREAS):
        lines.append("    std::span<const char* const>(kAreas%d)," % variant)
    lines.append("};")
    lines.append("")
    lines.append("}  // namespace device::light_catalogue_defaults")
    return "\n".join(lines) + "\n"


def main():
    # The program's JSON writer lays members out in key order with three-space indentation.
    with open(JSON_OUT, "w", encoding="utf-8", newline="\n") as f:
        f.write(json.dumps(catalogue(), indent=3, sort_keys=True, separators=(",", " : ")) + "\n")
    with open(HEADER_OUT, "w", encoding="utf-8", newline="\n") as f:
        f.write(header())
    # The header is laid out as the rest of the sources are.
    try:
        subprocess.run(["clang-format", "-i", HEADER_OUT], check=True)
    except (OSError, subprocess.CalledProcessError) as e:
        print("clang-format could not lay out the header:", e)
    print("wrote", os.path.relpath(JSON_OUT, ROOT), "and", os.path.relpath(HEADER_OUT, ROOT))


if __name__ == "__main__":
    main()
