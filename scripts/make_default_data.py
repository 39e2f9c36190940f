#!/usr/bin/env python3
"""Writes the factory profile templates data/DefaultData/{keyboard,mouse,MousePad,HD}.Json.

The files are laid out exactly as the program's own JSON writer lays them out (three-space
indentation, members in key order, short arrays of plain values on one line), so that a template
rewritten by the program differs from the shipped one only where values changed.

Run from anywhere: scripts/make_default_data.py
"""

import json
import os

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
OUT = os.path.join(ROOT, "data", "DefaultData")


def code(t, first, second):
    return t * 65536 + first * 256 + second


def key(usage):
    """A plain keyboard key: type 0x20, no modifier, the HID usage."""
    return code(0x20, 0x00, usage)


# The keyboard page's 170 program keys with their factory assignments, by key button index.
def program_keys():
    rows = []
    rows += [key(u) for u in [0x29] + list(range(0x3A, 0x49))]  # 0..15 Esc, F1..F12, PrtSc, ScrLk, Pause
    rows += [code(0xA0, 0x47, n) for n in range(4)]  # 16..19 device functions
    rows += [code(0x20, 0, 0)]  # 20
    rows += [key(u) for u in [0x35] + list(range(0x1E, 0x28)) + [0x2D, 0x2E, 0x2A]]  # 21..34
    rows += [key(u) for u in [0x49, 0x4A, 0x4B, 0x53, 0x54, 0x55, 0x56]]  # 35..41
    rows += [key(u) for u in [0x2B, 0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13,
                              0x2F, 0x30, 0x31]]  # 42..55
    rows += [key(u) for u in [0x4C, 0x4D, 0x4E, 0x5F, 0x60, 0x61]]  # 56..61
    rows += [key(u) for u in [0x32, 0x39, 0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F,
                              0x33, 0x34, 0x28]]  # 62..75
    rows += [key(u) for u in [0x5C, 0x5D, 0x5E, 0x8A, 0x8B, 0x90, 0x91, 0x88]]  # 76..83
    rows += [code(0x20, 0x02, 0)]  # 84 left Shift
    rows += [key(u) for u in [0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38]]  # 85..94
    rows += [code(0x20, 0x20, 0)]  # 95 right Shift
    rows += [key(u) for u in [0x52, 0x59, 0x5A, 0x5B, 0x87, 0x89, 0x64, 0x85]]  # 96..103
    rows += [code(0x20, 0, 0)]  # 104
    rows += [code(0x20, 0x01, 0), code(0x20, 0x08, 0), code(0x20, 0x04, 0)]  # 105..107 LCtrl LWin LAlt
    rows += [key(0x2C)]  # 108 Space
    rows += [code(0x20, 0x40, 0)]  # 109 right Alt
    rows += [code(0xA0, 0x01, 0)]  # 110 Fn
    rows += [key(0x65)]  # 111 App
    rows += [code(0x20, 0x10, 0)]  # 112 right Ctrl
    rows += [key(u) for u in [0x50, 0x51, 0x4F, 0x62, 0x63, 0x58, 0x57]]  # 113..119
    rows += [code(0xD0, 0xA2, n) for n in range(1, 6)]  # 120..124 device keys
    rows += [code(0x20, 0x80, 0)]  # 125 right Win
    rows += [code(0x30, 0xE2, 0x00)]  # 126 mute
    rows += [code(0x20, 0, 0)] * 40  # 127..166
    rows += [0] * 3  # 167..169
    assert len(rows) == 170, len(rows)
    return rows


# The mouse's 11 programmable buttons in the mouse's key order.
MOUSE_BUTTONS = [
    code(0x10, 0x01, 0x00),  # left
    code(0x10, 0x02, 0x00),  # right
    code(0x10, 0x04, 0x00),  # middle
    code(0x10, 0x10, 0x00),  # forward
    code(0x10, 0x08, 0x00),  # back
    code(0x13, 0x01, 0x00),  # DPI up
    code(0x13, 0x02, 0x00),  # DPI down
    code(0x13, 0x03, 0x00),  # DPI cycle
    code(0xA0, 0x1B, 0x00),  # game mode
    code(0x16, 0x90, 0x01),  # DPI shift
    code(0x14, 0x78, 0x02),  # fire key
]


def key_list(codes):
    return [{"Assignment": c, "DefaultAssignment": c} for c in codes]


def light_info(mode, colourful=1, rgb=(255, 0, 0)):
    return {
        "SelectItem": mode, "Light": 4, "Speed": 2, "Fx": 0, "MultiColor": colourful,
        "Red": rgb[0], "Green": rgb[1], "Blue": rgb[2],
        "ZZCCLedMode": 0, "CustomGroup": 0, "OldLedmode": mode,
    }


def light_list(mode_count):
    """One stored entry per light mode of the device, each at full brightness, middle speed."""
    return [{
        "LEDREGMode": m, "LEDBrightness": 4, "LEDSpeed": 2, "LEDDirection": 0, "LEDMultiColor": 1,
        "red": 255, "green": 0, "blue": 0,
    } for m in range(mode_count)]


def keyboard():
    return {
        "KeyList": key_list(program_keys()),
        "LightInfo": light_info(1),
        "AudioLightInfo": {
            "AudioMode": 0, "BkColorR": 0, "BkColorG": 0, "BkColorB": 255,
            "FgColorR": 255, "FgColorG": 0, "FgColorB": 0,
            "7ColorFlags": 1, "ColorTypeFlags": 1,
        },
        "LightList": light_list(34),
        "SystemStages": {
            "Repeat": 31, "RepeatDelay": 1, "Key6Flag": 0, "PollingRate": 0, "WFlag": 0,
            "WinFlag": 0,
        },
        "CustomLightMode": {"CustomLightModeGroupIndex": 0, "LightColorInfo": []},
    }


# Seven DPI stages: encoded slider positions (both bytes of X hold the position, as a stage set
# from its slider does), each with its own colour; the first five are enabled.
DPI_STAGES = [
    (4, (255, 0, 0)),
    (9, (255, 128, 0)),
    (15, (255, 255, 0)),
    (23, (0, 255, 0)),
    (31, (0, 255, 255)),
    (39, (0, 0, 255)),
    (47, (255, 0, 255)),
]


def mouse():
    stages = [{
        "StageActive": 1 if i < 5 else 0, "StageXY": 0,
        "StageDPIX": pos * 257, "StageDPIY": pos * 257,
        "StageColorR": rgb[0], "StageColorG": rgb[1], "StageColorB": rgb[2],
    } for i, (pos, rgb) in enumerate(DPI_STAGES)]
    return {
        "KeyList": key_list(MOUSE_BUTTONS),
        "LightInfo": light_info(2),
        "LightList": light_list(11),
        "DPIStages": {"StageActive": 1, "StageDPIs": stages},
        "SystemStages": {
            "DoubleClickTime": 500, "MouseSpeed": 10, "PointerPrecision": 1, "ScorllPage": 0,
            "WheelScorlllinse": 3, "Logoledmode": 0, "AntiShakeTime": 4,
        },
        "ReportStages": {
            "StageActive": 3, "ble_sleep1": 2, "ble_sleep2": 10, "device_sleep1": 2,
            "device_sleep2": 10,
        },
    }


def mouse_pad():
    return {"LightInfo": light_info(0), "LightList": light_list(9)}


# Equaliser presets, ten bands from 31 Hz to 16 kHz, gains in dB (0 is flat). Index 0 is never
# selected (preset 0 reads preset 1) and is flat as well; preset 13 is the custom equaliser.
EQ_PRESETS = [
    [0, 0, 0, 0, 0, 0, 0, 0, 0, 0],            # 0: unused, flat
    [0, 0, 0, 0, 0, 0, 0, 0, 0, 0],            # 1: flat
    [6, 5, 4, 2, 0, 0, 0, 0, 0, 0],            # 2: bass boost
    [0, 0, 0, 0, 0, 1, 2, 4, 5, 6],            # 3: treble boost
    [-2, -2, -1, 1, 3, 4, 3, 1, 0, -1],        # 4: vocal
    [5, 4, 2, -1, -2, -1, 1, 3, 4, 5],         # 5: rock
    [-1, 1, 3, 4, 3, 0, -1, -1, 1, 2],         # 6: pop
    [3, 2, 1, 2, -1, -1, 0, 1, 2, 3],          # 7: jazz
    [4, 3, 2, 1, -1, -1, 0, 2, 3, 4],          # 8: classical
    [5, 4, 1, 0, -2, 2, 1, 2, 4, 5],           # 9: electronic
    [-2, -1, 0, 1, 3, 4, 5, 4, 2, 0],          # 10: game (footsteps and voices forward)
    [4, 3, 2, 0, 1, 2, 2, 1, 2, 3],            # 11: movie
    [-1, 0, 1, 2, 2, 1, 0, -1, -2, -3],        # 12: soft (late-night listening)
]


def headset():
    return {
        "LightInfo": light_info(0),
        "LightList": light_list(9),
        "SystemSetStages": {
            "MagicEnable": 0, "MagicType": 0, "EqType": 1, "CustomEqSeletIndex": 0,
            "MicInSelect": 1, "MicInValue": 80, "MicMoniterSelect": 0, "MicMoniterValue": 50,
        },
        "EQHzValueInfo": [[{"value": v} for v in bands] for bands in EQ_PRESETS],
        "CustomEQHzValueInfo": [],
        "CustomEQNameInfo": [],
    }


def document(section):
    return {"profilename": "profile1", "profileUUID": "", "Device": [section]}


# --- the program's styled layout ------------------------------------------------------------

RIGHT_MARGIN = 74
INDENT = "   "


class StyledWriter:
    def __init__(self):
        self.doc = ""
        self.indent = ""

    def write(self, value):
        self.doc = ""
        self.indent = ""
        self.value(value)
        return self.doc + "\n"

    def scalar(self, v):
        if v is None:
            return "null"
        if isinstance(v, bool):
            return "true" if v else "false"
        if isinstance(v, int):
            return str(v)
        if isinstance(v, str):
            return json.dumps(v, ensure_ascii=True)
        raise TypeError(v)

    def write_indent(self):
        if self.doc:
            if self.doc[-1] == " ":
                return
            if self.doc[-1] != "\n":
                self.doc += "\n"
        self.doc += self.indent

    def with_indent(self, text):
        self.write_indent()
        self.doc += text

    def value(self, v):
        if isinstance(v, dict):
            if not v:
                self.doc += "{}"
                return
            self.with_indent("{")
            self.indent += INDENT
            names = sorted(v)
            for i, name in enumerate(names):
                self.with_indent(json.dumps(name))
                self.doc += " : "
                self.value(v[name])
                if i + 1 < len(names):
                    self.doc += ","
            self.indent = self.indent[:-len(INDENT)]
            self.with_indent("}")
        elif isinstance(v, list):
            self.array(v)
        else:
            self.doc += self.scalar(v)

    def array(self, v):
        if not v:
            self.doc += "[]"
            return
        # One line when every element is a plain value (or an empty container), there are fewer
        # than 25 of them and the line stays within the right margin; else one element per line.
        texts = None
        if len(v) * 3 < RIGHT_MARGIN and not any(isinstance(c, (dict, list)) and c for c in v):
            texts = [self.scalar(c) if not isinstance(c, (dict, list))
                     else ("{}" if isinstance(c, dict) else "[]") for c in v]
            if 4 + (len(v) - 1) * 2 + sum(len(t) for t in texts) >= RIGHT_MARGIN:
                texts = None
        if texts is not None:
            self.doc += "[ " + ", ".join(texts) + " ]"
            return
        self.with_indent("[")
        self.indent += INDENT
        for i, child in enumerate(v):
            self.write_indent()
            self.value(child)
            if i + 1 < len(v):
                self.doc += ","
        self.indent = self.indent[:-len(INDENT)]
        self.with_indent("]")


def main():
    writer = StyledWriter()
    for name, section in [("keyboard", keyboard()), ("mouse", mouse()),
                          ("MousePad", mouse_pad()), ("HD", headset())]:
        path = os.path.join(OUT, name + ".Json")
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(writer.write(document(section)))
        print("wrote", os.path.relpath(path, ROOT))


if __name__ == "__main__":
    main()
