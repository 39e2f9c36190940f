#pragma once

// The mouse's fixed data: its program buttons, its LEDs and the sizes of its settings.

#include <array>
#include <cstddef>
#include <cstdint>

#include "keys/assignment_code.h"

namespace device::mouse {

// A program button: the page's name for it and the key-table entry the mouse holds for it when it
// leaves the factory. The mouse's key table is searched for that entry to find where the button
// sits on the device.
struct ProgramButton {
    const char* pageName;
    keys::AssignmentCode defaultEntry;
};

inline constexpr int kButtonCount = 11;
inline constexpr std::array<ProgramButton, kButtonCount> kProgramButtons = {{
    {"mouse_key_left", {0x10, 0x01, 0x00}},
    {"mouse_key_right", {0x10, 0x02, 0x00}},
    {"mouse_key_middle", {0x10, 0x04, 0x00}},
    {"mouse_key_forward", {0x10, 0x10, 0x00}},
    {"mouse_key_back", {0x10, 0x08, 0x00}},
    {"mouse_key_DPI_add", {0x13, 0x01, 0x00}},
    {"mouse_key_DPI_sub", {0x13, 0x02, 0x00}},
    {"mouse_key_DPI_loop", {0x13, 0x03, 0x00}},
    {"keyboard_key_GM", {0xA0, 0x1B, 0x00}},
    {"mouse_key_M8_key", {0x16, 0x90, 0x01}},
    {"mouse_key_fire_key", {0x14, 0x78, 0x02}},
}};

// A button the mouse's key table does not hold; such buttons are left out when writing.
inline constexpr uint8_t kButtonAbsent = 170;

// The LEDs, and the groups the wave moves through: the LEDs facing each other on the two sides
// light together, the three at the back as one.
inline constexpr int kLedCount = 15;
struct LedGroup {
    uint8_t count;
    std::array<uint8_t, 3> leds;
};
inline constexpr int kLedGroupCount = 7;
inline constexpr std::array<LedGroup, kLedGroupCount> kLedGroups = {{
    {2, {0, 13, 0}},
    {2, {1, 12, 0}},
    {2, {2, 11, 0}},
    {2, {3, 10, 0}},
    {2, {4, 9, 0}},
    {2, {5, 8, 0}},
    {3, {6, 14, 7}},
}};

inline constexpr int kDpiStageCount = 7;
// A stage's DPI travels as an encoded value 0..127, the position of its slider.
inline constexpr int kMaxEncodedDpi = 127;
// "polling_rate_option_" 0..4.
inline constexpr int kReportRateStageCount = 5;
// Light mode indices the settings block can carry; a higher index is sent as index 0's code.
inline constexpr int kHighestLightModeIndex = 11;
// Brightness and speed levels run 0..4.
inline constexpr int kHighestLightLevel = 4;

}  // namespace device::mouse
