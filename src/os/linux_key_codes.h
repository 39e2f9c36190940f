#pragma once

#include <linux/input-event-codes.h>

#include <array>
#include <cstdint>
#include <optional>

// Key capture and macro recording find keys by PC scan code (set 1) and extended flag, the way
// the keyboard hook record reports them. On Linux the input hook sees Linux key codes (evdev
// KEY_*); this table turns them into the scan codes that the keyboard key table of keys/ carries.
// X11 key codes, as XInput2 reports them, are the Linux key codes plus 8.
//
// For the main block and the keypad (KEY_ESC .. KEY_KPDOT) the Linux key code is the set-1 scan
// code itself; the keys behind the E0 prefix carry the extended flag. Num Lock is reported
// extended and Pause is not (its E1 sequence reads as 0x45), as the hook record has them. The
// record's virtual-key code is the lead value of the key table entry that the scan code finds.

namespace os {

struct LinuxKeyScanCode {
    uint16_t linux_key;
    uint8_t scan_code;
    bool extended;
};

inline constexpr int kX11KeycodeOffset = 8;

// Sorted by Linux key code.
inline constexpr std::array<LinuxKeyScanCode, 147> LinuxKeyScanCodeTable = {{
    {KEY_ESC, 0x01, false},
    {KEY_1, 0x02, false},
    {KEY_2, 0x03, false},
    {KEY_3, 0x04, false},
    {KEY_4, 0x05, false},
    {KEY_5, 0x06, false},
    {KEY_6, 0x07, false},
    {KEY_7, 0x08, false},
    {KEY_8, 0x09, false},
    {KEY_9, 0x0A, false},
    {KEY_0, 0x0B, false},
    {KEY_MINUS, 0x0C, false},
    {KEY_EQUAL, 0x0D, false},
    {KEY_BACKSPACE, 0x0E, false},
    {KEY_TAB, 0x0F, false},
    {KEY_Q, 0x10, false},
    {KEY_W, 0x11, false},
    {KEY_E, 0x12, false},
    {KEY_R, 0x13, false},
    {KEY_T, 0x14, false},
    {KEY_Y, 0x15, false},
    {KEY_U, 0x16, false},
    {KEY_I, 0x17, false},
    {KEY_O, 0x18, false},
    {KEY_P, 0x19, false},
    {KEY_LEFTBRACE, 0x1A, false},
    {KEY_RIGHTBRACE, 0x1B, false},
    {KEY_ENTER, 0x1C, false},
    {KEY_LEFTCTRL, 0x1D, false},
    {KEY_A, 0x1E, false},
    {KEY_S, 0x1F, false},
    {KEY_D, 0x20, false},
    {KEY_F, 0x21, false},
    {KEY_G, 0x22, false},
    {KEY_H, 0x23, false},
    {KEY_J, 0x24, false},
    {KEY_K, 0x25, false},
    {KEY_L, 0x26, false},
    {KEY_SEMICOLON, 0x27, false},
    {KEY_APOSTROPHE, 0x28, false},
    {KEY_GRAVE, 0x29, false},
    {KEY_LEFTSHIFT, 0x2A, false},
    {KEY_BACKSLASH, 0x2B, false},
    {KEY_Z, 0x2C, false},
    {KEY_X, 0x2D, false},
    {KEY_C, 0x2E, false},
    {KEY_V, 0x2F, false},
    {KEY_B, 0x30, false},
    {KEY_N, 0x31, false},
    {KEY_M, 0x32, false},
    {KEY_COMMA, 0x33, false},
    {KEY_DOT, 0x34, false},
    {KEY_SLASH, 0x35, false},
    {KEY_RIGHTSHIFT, 0x36, false},
    {KEY_KPASTERISK, 0x37, false},
    {KEY_LEFTALT, 0x38, false},
    {KEY_SPACE, 0x39, false},
    {KEY_CAPSLOCK, 0x3A, false},
    {KEY_F1, 0x3B, false},
    {KEY_F2, 0x3C, false},
    {KEY_F3, 0x3D, false},
    {KEY_F4, 0x3E, false},
    {KEY_F5, 0x3F, false},
    {KEY_F6, 0x40, false},
    {KEY_F7, 0x41, false},
    {KEY_F8, 0x42, false},
    {KEY_F9, 0x43, false},
    {KEY_F10, 0x44, false},
    {KEY_NUMLOCK, 0x45, true},
    {KEY_SCROLLLOCK, 0x46, false},
    {KEY_KP7, 0x47, false},
    {KEY_KP8, 0x48, false},
    {KEY_KP9, 0x49, false},
    {KEY_KPMINUS, 0x4A, false},
    {KEY_KP4, 0x4B, false},
    {KEY_KP5, 0x4C, false},
    {KEY_KP6, 0x4D, false},
    {KEY_KPPLUS, 0x4E, false},
    {KEY_KP1, 0x4F, false},
    {KEY_KP2, 0x50, false},
    {KEY_KP3, 0x51, false},
    {KEY_KP0, 0x52, false},
    {KEY_KPDOT, 0x53, false},
    {KEY_102ND, 0x56, false},
    {KEY_F11, 0x57, false},
    {KEY_F12, 0x58, false},
    {KEY_RO, 0x73, false},
    {KEY_HENKAN, 0x79, false},
    {KEY_KATAKANAHIRAGANA, 0x70, false},
    {KEY_MUHENKAN, 0x7B, false},
    {KEY_KPENTER, 0x1C, true},
    {KEY_RIGHTCTRL, 0x1D, true},
    {KEY_KPSLASH, 0x35, true},
    {KEY_SYSRQ, 0x37, true},
    {KEY_RIGHTALT, 0x38, true},
    {KEY_HOME, 0x47, true},
    {KEY_UP, 0x48, true},
    {KEY_PAGEUP, 0x49, true},
    {KEY_LEFT, 0x4B, true},
    {KEY_RIGHT, 0x4D, true},
    {KEY_END, 0x4F, true},
    {KEY_DOWN, 0x50, true},
    {KEY_PAGEDOWN, 0x51, true},
    {KEY_INSERT, 0x52, true},
    {KEY_DELETE, 0x53, true},
    {KEY_MUTE, 0x20, true},
    {KEY_VOLUMEDOWN, 0x2E, true},
    {KEY_VOLUMEUP, 0x30, true},
    {KEY_POWER, 0x5E, true},
    {KEY_KPEQUAL, 0x59, false},
    {KEY_PAUSE, 0x45, false},
    {KEY_KPCOMMA, 0x7E, false},
    {KEY_HANGEUL, 0x72, false},
    {KEY_HANJA, 0x71, false},
    {KEY_YEN, 0x7D, false},
    {KEY_LEFTMETA, 0x5B, true},
    {KEY_RIGHTMETA, 0x5C, true},
    {KEY_COMPOSE, 0x5D, true},
    {KEY_STOP, 0x68, true},
    {KEY_CALC, 0x21, true},
    {KEY_SLEEP, 0x5F, true},
    {KEY_WAKEUP, 0x63, true},
    {KEY_MAIL, 0x6C, true},
    {KEY_BOOKMARKS, 0x66, true},
    {KEY_COMPUTER, 0x6B, true},
    {KEY_BACK, 0x6A, true},
    {KEY_FORWARD, 0x69, true},
    {KEY_NEXTSONG, 0x19, true},
    {KEY_PLAYPAUSE, 0x22, true},
    {KEY_PREVIOUSSONG, 0x10, true},
    {KEY_STOPCD, 0x24, true},
    {KEY_HOMEPAGE, 0x32, true},
    {KEY_REFRESH, 0x67, true},
    {KEY_F13, 0x64, false},
    {KEY_F14, 0x65, false},
    {KEY_F15, 0x66, false},
    {KEY_F16, 0x67, false},
    {KEY_F17, 0x68, false},
    {KEY_F18, 0x69, false},
    {KEY_F19, 0x6A, false},
    {KEY_F20, 0x6B, false},
    {KEY_F21, 0x6C, false},
    {KEY_F22, 0x6D, false},
    {KEY_F23, 0x6E, false},
    {KEY_F24, 0x76, false},
    {KEY_SEARCH, 0x65, true},
    {KEY_MEDIA, 0x6D, true},
}};

struct ScanCode {
    uint8_t scan_code;
    bool extended;

    constexpr bool operator==(const ScanCode&) const = default;
};

// The set-1 scan code and extended flag of a Linux key code; nothing for a key without one.
std::optional<ScanCode> ScanCodeForLinuxKey(int linux_key);

}  // namespace os
