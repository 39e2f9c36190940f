#!/usr/bin/env python3
"""Writes the four device pages under data/skin/XML/DeviceXml/.

A page is the device model's own control tree: the device picture (the "SelectPanel") with the
key buttons "key_" N and, in the light container "tilmo_light", the LED buttons "light_" N; the
power display "device_power_Layout"; the row of function tabs; and the two tab layouts whose
pages the feature panels fill ("device_function_switch" holds "device_key_function_switch" as
its page 0, see CQuendalUSBDevice::SetFunctionTab).

The key and LED positions come from device_geometry.py, which the picture generator
(gen_device_images.py) shares, so buttons and pictures line up. Run both after changing a design
and commit what they write.
"""

import os
from xml.sax.saxutils import quoteattr

import device_geometry as g

OUT = os.path.join(g.ROOT, "data", "skin", "XML", "DeviceXml")

# Page area of the main window at 96 DPI: 1000 x 640 minus title bar, device bar, status bar
# and the area's inset.
PAGE_WIDTH, PAGE_HEIGHT = 964, 438

HEADER = """<?xml version="1.0" encoding="utf-8"?>
<!-- Written by scripts/gen_device_pages.py from scripts/device_geometry.py; edit those and run
     the script again. -->
<!-- %s -->
<Window>
  <Font id="20" name="Noto Sans" size="10"/>
  <Font id="21" name="Noto Sans" size="13"/>
  <Font id="22" name="Noto Sans" size="14" bold="true"/>
  <Font id="23" name="Noto Sans" size="12"/>
  <Font id="24" name="Noto Sans" size="8"/>
  <Font id="25" name="Noto Sans" size="7"/>
  <Style name="device_area" value="bkcolor=&quot;#C81C1F25&quot; bordercolor=&quot;#FF2C3038&quot; bordersize=&quot;1&quot; borderround=&quot;8,8&quot; inset=&quot;16,12,16,12&quot; childpadding=&quot;8&quot;"/>
  <Style name="device_area_title" value="height=&quot;22&quot; font=&quot;22&quot; textcolor=&quot;#FFE8EAED&quot;"/>
  <Style name="device_tab" value="width=&quot;100&quot; height=&quot;32&quot; font=&quot;21&quot; textcolor=&quot;#FF9AA1AC&quot; hottextcolor=&quot;#FFFFFFFF&quot; selectedtextcolor=&quot;#FFFFFFFF&quot; bkcolor=&quot;#FF1E2128&quot; hotbkcolor=&quot;#FF2A2E36&quot; selectedbkcolor=&quot;#FF2F7CF6&quot; borderround=&quot;6,6&quot;"/>
  <Style name="kb_key" value="font=&quot;20&quot; textcolor=&quot;#FFD5D9E0&quot; hottextcolor=&quot;#FFFFFFFF&quot; pushedtextcolor=&quot;#FF8FB6FF&quot; bkcolor=&quot;#F0202329&quot; hotbkcolor=&quot;#F02E333C&quot; bordercolor=&quot;#FF3A3F48&quot; bordersize=&quot;1&quot; borderround=&quot;4,4&quot; keysetimage=&quot;file='device/key_marker.png' dest='0,0,6,6'&quot;"/>
  <Style name="kb_light" value="mouse=&quot;false&quot; lightimage=&quot;file='device/key_light.png' corner='8,8,8,8'&quot;"/>
  <Style name="spot_key" value="bkcolor=&quot;#00000000&quot; hotbkcolor=&quot;#402F7CF6&quot; bordercolor=&quot;#002F7CF6&quot; borderround=&quot;6,6&quot; keysetimage=&quot;file='device/key_marker.png' dest='0,0,6,6'&quot;"/>
  <Style name="dot_light" value="mouse=&quot;false&quot; lightimage=&quot;file='device/led_light.png'&quot;"/>
"""

FOOTER = """</Window>
"""

# (option name, tab number, language id)
TABS = {
    "deng": ("deng_Op_tab", 1, "function_tab_lighting"),
    "key": ("key_Op_tab", 2, "function_tab_keys"),
    "macro": ("macro_Op_tab", 3, "function_tab_macro"),
    "system": ("system_Op_tab", 4, "function_tab_system"),
    "cursor": ("cursor_Op_tab", 5, "function_tab_cursor"),
    "voice": ("6533_voice_Op_tab", 6, "function_tab_voice"),
    "magic": ("magic_Op_tab", 7, "function_tab_magic"),
    "virtual": ("Virtual7.1_Op_tab", 8, "function_tab_virtual71"),
    "otherset": ("otherset_Op_tab", 9, "function_tab_otherset"),
}

# The areas the feature panels fill: (name, language id of the heading). The area of a tab
# that a device does not have stays in the tab layout, empty and never shown, so that the page
# indices of both switches mean the same on every page.
AREAS = {
    "profile": ("device_profile_area", "device_area_profile"),
    "deng": ("device_light_area", "function_tab_lighting"),
    "key": ("device_key_area", "function_tab_keys"),
    "macro": ("device_macro_area", "function_tab_macro"),
    "system": ("device_system_area", "function_tab_system"),
    "cursor": ("device_cursor_area", "function_tab_cursor"),
    "voice": ("device_voice_area", "function_tab_voice"),
    "magic": ("device_magic_area", "function_tab_magic"),
    "virtual": ("device_virtual71_area", "function_tab_virtual71"),
    "otherset": ("device_otherset_area", "function_tab_otherset"),
}


def attrs(**kw):
    return " ".join("%s=%s" % (k.rstrip("_").replace("__", "."), quoteattr(str(v)))
                    for k, v in kw.items())


def rect(r):
    return "%d,%d,%d,%d" % tuple(int(round(v)) for v in r)


# The panels that ship, by area: the skin file each area includes.
PANELS = {
    "profile": "XML\\CustomControlXML\\DeviceProfile.xml",
    "deng": "XML\\CustomControlXML\\LightControl.xml",
}


def area(key, indent, used, extra="", titled=True):
    name, title = AREAS[key]
    pad = " " * indent
    if used and key in PANELS:
        extra += '%s  <Include source="%s"/>\n' % (pad, PANELS[key])
    if not used:
        return '%s<VerticalLayout name="%s_unused" visible="false"/>\n' % (pad, name)
    heading = ""
    if titled:
        heading = ('%s  <Label name="%s_title" style="device_area_title" resourcetext="true" '
                   'text="%s"/>\n') % (pad, name, title)
    return ('%s<VerticalLayout name="%s" style="device_area">\n%s%s'
            '%s</VerticalLayout>\n') % (pad, name, heading, extra, pad)


def profile_area(indent, titled):
    """The profile area and its panel; where the area is short the panel goes without the
    heading."""
    return area("profile", indent, True, "", titled)


def function_switch(tabs, indent):
    """The two tab layouts; page numbers as CQuendalUSBDevice::SetFunctionTab selects them."""
    pad = " " * indent
    kb_or_ms = "key" in tabs
    key_pages = ["deng", "macro" if "macro" in tabs else "virtual", "cursor",
                 "system" if kb_or_ms else None, "otherset"]
    fn_pages = [None, "key" if kb_or_ms else "voice",
                None if kb_or_ms else ("magic" if "magic" in tabs else "system")]
    def page(key, name, inner):
        if key is None:
            return '%s<VerticalLayout name="%s" visible="false"/>\n' % (" " * inner, name)
        return area(key, inner, key in tabs)

    out = '%s<TabLayout name="device_function_switch">\n' % pad
    out += '%s  <TabLayout name="device_key_function_switch">\n' % pad
    for i, key in enumerate(key_pages):
        out += page(key, "device_key_function_page_%d" % i, indent + 4)
    out += '%s  </TabLayout>\n' % pad
    for i, key in enumerate(fn_pages[1:], start=1):
        out += page(key, "device_function_page_%d" % i, indent + 2)
    out += '%s</TabLayout>\n' % pad
    return out


def tab_row(tabs, group, indent):
    pad = " " * indent
    out = '%s<HorizontalLayout name="device_function_tabs" height="32" childpadding="6">\n' % pad
    for key in tabs:
        name, _, text = TABS[key]
        sel = ' selected="true"' if key == "deng" else ""
        out += '%s  <Option name="%s" style="device_tab" group="%s" resourcetext="true" text="%s"%s/>\n' % (
            pad, name, group, text, sel)
    out += '%s  <Control/>\n%s</HorizontalLayout>\n' % (pad, pad)
    return out


def power_layout(indent, visible, column=0):
    """The power display. In a column of its own (column = its width) the whole column is the
    layout, so that the panels beside it take its room when the device has no battery."""
    pad = " " * indent
    hidden = "" if visible else ' visible="false"'
    row = ('%s<HorizontalLayout %sheight="34" bkcolor="#C81C1F25" '
           'bordercolor="#FF2C3038" bordersize="1" borderround="8,8" inset="12,0,12,0" '
           'childpadding="8"%s>\n'
           '%s  <Control width="22" height="14" padding="0,10,0,0" '
           'bkimage="file=\'power/powered.png\'"/>\n'
           '%s  <Label name="device_power_title" font="23" textcolor="#FF9AA1AC" '
           'resourcetext="true" text="device_power_title"/>\n'
           '%s</HorizontalLayout>\n')
    if not column:
        return row % (pad, 'name="device_power_Layout" ', hidden, pad, pad, pad)
    inner = pad + "  "
    return ('%s<VerticalLayout name="device_power_Layout" width="%d"%s>\n' % (pad, column, hidden) +
            row % (inner, "", "", inner, inner, inner) +
            '%s  <Control/>\n%s</VerticalLayout>\n' % (pad, pad))


def text_test(indent):
    # The pages resolve language texts by handing the id to this label and reading it back.
    return '%s<Label name="text_test" resourcetext="true" visible="false"/>\n' % (" " * indent)


def keyboard_index_comment(indent):
    """Which key each index is, for the reader of the page."""
    pad = " " * indent
    names = []
    pad_left = g.kb_rect(g.PAD, 0, 1, 1)[0]
    middle = g.kb_rect(7.5, 0, 1, 1)[0]
    for index, r, legend, shape in g.keyboard_keys():
        if r is None:
            name = "none"
        elif shape == "dial":
            name = "volume dial"
        elif legend == "":
            name = "Space"
        elif r[0] >= pad_left and legend not in ("Calc", "Vol-", "Vol+", "Mute"):
            name = "pad " + legend
        elif legend in ("Shift", "Ctrl", "Alt", "Win"):
            name = ("L" if r[0] < middle else "R") + legend
        else:
            name = legend
        names.append("%d %s" % (index, name))
    lines = [", ".join(names[i:i + 12]) for i in range(0, len(names), 12)]
    text = ("%s<!-- key_N / light_N: row N of the program key table (src/keys/assignment_tables.h), "
            "placed by its default assignment; rows that name no key stay hidden.\n" % pad)
    text += "".join("%s     %s\n" % (pad, line.replace("--", "- -")) for line in lines)
    return text.rstrip("\n") + " -->\n"


def keyboard_panel(indent):
    pad = " " * indent
    keys = g.keyboard_keys()
    out = keyboard_index_comment(indent)
    out += ('%s<SelectPanel name="SelectPanel" width="%d" height="%d" '
           'bkimage="file=\'device/keyboard.png\'">\n') % (pad, g.KB_WIDTH, g.KB_HEIGHT)
    out += ('%s  <Container name="tilmo_light" float="true" pos="0,0,%d,%d" mouse="false" '
            'mousechild="false">\n') % (pad, g.KB_WIDTH, g.KB_HEIGHT)
    for index, r, _, shape in keys:
        if r is None:
            out += '%s    <DeviceKeyButton name="light_%d" visible="false"/>\n' % (pad, index)
            continue
        # The light shines round the key cap; the dial has a ring of its own.
        light = r
        extra = ""
        if shape == "dial":
            extra = ' lightimage="file=\'device/dial_light.png\'"'
        out += '%s    <DeviceKeyButton name="light_%d" float="true" pos="%s" style="kb_light"%s/>\n' % (
            pad, index, rect(light), extra)
    out += '%s  </Container>\n' % pad
    for index, r, legend, shape in keys:
        if r is None:
            out += '%s  <DeviceKeyButton name="key_%d" visible="false"/>\n' % (pad, index)
            continue
        cap = (r[0] + 2, r[1] + 2, r[2] - 2, r[3] - 2)
        if shape == "dial":
            knob = (r[0] + 4, r[1] + 4, r[2] - 4, r[3] - 4)
            out += ('%s  <DeviceKeyButton name="key_%d" float="true" pos="%s" style="kb_key" '
                    'borderround="10,10" bkimage="file=\'device/dial.png\'"/>\n') % (
                        pad, index, rect(knob))
            continue
        # Long legends on one-unit caps take the small font, as printed key caps do.
        width = sum(2 if ord(ch) > 0x2000 else 1 for ch in legend)
        small = ""
        if r[2] - r[0] <= g.KB_UNIT and (width >= 4 or legend == "Num"):
            small = ' font="%d"' % (25 if width >= 5 else 24)
        out += '%s  <DeviceKeyButton name="key_%d" float="true" pos="%s" style="kb_key" text=%s%s/>\n' % (
            pad, index, rect(cap), quoteattr(legend), small)
    out += '%s</SelectPanel>\n' % pad
    return out


def dot_leds(leds, size, indent, width, height):
    pad = " " * indent
    out = ('%s<Container name="tilmo_light" float="true" pos="0,0,%d,%d" mouse="false" '
           'mousechild="false">\n') % (pad, width, height)
    for led in leds:
        index, x, y = led[0], led[1], led[2]
        if len(led) > 3:
            w, h = (g.PAD_LED_W, g.PAD_LED_H) if led[3] else (g.PAD_LED_H, g.PAD_LED_W)
            extra = ' lightimage="file=\'device/strip_light_%s.png\'"' % ("h" if led[3] else "v")
        else:
            w = h = size
            extra = ""
        r = (x - w / 2, y - h / 2, x + w / 2, y + h / 2)
        out += '%s  <DeviceKeyButton name="light_%d" float="true" pos="%s" style="dot_light"%s/>\n' % (
            pad, index, rect(r), extra)
    out += '%s</Container>\n' % pad
    return out


def write(name, comment, root_class, root_name, body):
    text = HEADER % comment
    text += '  <%s name="%s">\n%s  </%s>\n' % (root_class, root_name, body, root_class)
    text += FOOTER
    with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
        f.write(text)


def wide_page(picture_row_name, panel, tabs, group, battery, picture_height):
    """Picture across the top with the power display and profile beside it; tabs; panels."""
    body = '    <VerticalLayout childpadding="10">\n'
    body += '      <HorizontalLayout name="%s" height="%d" childpadding="12">\n' % (
        picture_row_name, picture_height)
    body += panel(8)
    body += '        <VerticalLayout childpadding="8">\n'
    body += power_layout(10, battery)
    body += profile_area(10, True)
    body += '        </VerticalLayout>\n'
    body += '      </HorizontalLayout>\n'
    body += tab_row(tabs, group, 6)
    body += function_switch(tabs, 6)
    body += text_test(6)
    body += '    </VerticalLayout>\n'
    return body


def tall_page(picture_row_name, panel, tabs, group, battery, hint=""):
    """Picture on the left; power display, profile, tabs and panels on the right."""
    body = '    <HorizontalLayout childpadding="12">\n'
    body += '      <VerticalLayout name="%s" width="%d" childpadding="6">\n' % (
        picture_row_name, g.MS_WIDTH)
    body += panel(8)
    body += hint
    body += '      </VerticalLayout>\n'
    body += '      <VerticalLayout childpadding="10">\n'
    body += '        <HorizontalLayout height="96" childpadding="10">\n'
    body += profile_area(10, False)
    body += power_layout(10, battery, column=190)
    body += '        </HorizontalLayout>\n'
    body += tab_row(tabs, group, 8)
    body += function_switch(tabs, 8)
    body += text_test(8)
    body += '      </VerticalLayout>\n'
    body += '    </HorizontalLayout>\n'
    return body


def picture(indent, image, width, height, content):
    """The device picture with the buttons content() writes at indent + 2."""
    pad = " " * indent
    return ('%s<SelectPanel name="SelectPanel" width="%d" height="%d" '
            'bkimage="file=\'device/%s\'">\n%s%s</SelectPanel>\n') % (
                pad, width, height, image, content(indent + 2), pad)


def mouse_panel(indent):
    def content(inner):
        pad = " " * inner
        out = dot_leds(g.mouse_leds(), g.MS_LED_SIZE, inner, g.MS_WIDTH, g.MS_HEIGHT)
        for index, (r, text) in enumerate(g.MS_KEYS):
            out += ('%s<DeviceKeyButton name="key_%d" float="true" pos="%s" style="spot_key" '
                    'resourcetext="true" tooltip="%s"/>\n') % (pad, index, rect(r), text)
        out += ('%s<DeviceKeyButton name="logo" float="true" pos="%s" mouse="false" '
                'lightimage="file=\'device/logo_light.png\'"/>\n') % (pad, rect(g.MS_LOGO))
        return out

    return picture(indent, "mouse.png", g.MS_WIDTH, g.MS_HEIGHT, content)


def pad_panel(indent):
    return picture(indent, "mousepad.png", g.PAD_WIDTH, g.PAD_HEIGHT,
                   lambda inner: dot_leds(g.pad_leds(), 0, inner, g.PAD_WIDTH, g.PAD_HEIGHT))


def headset_panel(indent):
    return picture(indent, "headset.png", g.HS_WIDTH, g.HS_HEIGHT,
                   lambda inner: dot_leds(g.headset_leds(), g.HS_LED_SIZE, inner, g.HS_WIDTH,
                                          g.HS_HEIGHT))


def main():
    os.makedirs(OUT, exist_ok=True)
    write("keyboarddevice_7322.xml",
          "The keyboard page: a full-size board of 170 program keys (key_N) and their lights "
          "(light_N).",
          "QuendalKeyboardDevice", "keyboarddevice_7322_page",
          wide_page("keyboard_device_key_light", keyboard_panel,
                    ["deng", "key", "macro", "system"], "kb_function_tab", True, g.KB_HEIGHT))
    hint = ('        <Text name="device_tishi_info" height="24" align="center" font="23" '
            'textcolor="#FF9AA1AC" resourcetext="true" text="device_tishi_info_text"/>\n')
    write("mousedevice.xml",
          "The mouse page: 11 buttons (key_N) and 15 LEDs (light_N) on the mouse seen from above.",
          "QuendalMouseDevice", "mousedevice_page",
          tall_page("mouse_device_key_light", mouse_panel,
                    ["deng", "key", "macro", "system", "cursor", "otherset"], "ms_function_tab",
                    True, hint))
    write("mousepaddevice.xml",
          "The mouse pad page: the pad's light strip of 15 LEDs (light_N).",
          "QuendalMousePadDevice", "mousepaddevice_page",
          wide_page("mousepad_device_key_light", pad_panel, ["deng"], "pad_function_tab", False,
                    g.PAD_HEIGHT))
    write("de6533device.xml",
          "The headset page: 13 LEDs (light_N) around the two ear cups.",
          "QuendalDE6533Device", "de6533device_page",
          tall_page("de6533_device_key_light", headset_panel,
                    ["deng", "voice", "magic", "virtual"], "hs_function_tab", False))


if __name__ == "__main__":
    main()
