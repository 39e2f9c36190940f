#pragma once

// The plain records that profile documents decode from and encode into their device sections.
// Device models, panels and profile documents pass them around by value.

#include <array>
#include <cstddef>
#include <cstdint>

#include "keys/assignment_code.h"

namespace profile {

// The 16-byte lighting record shared by device models, profile documents and the lighting panel.
// Only bytes 0..7 and 11..13 are stored in a profile; the others read as 0.
struct LightingRecord {
    static constexpr std::size_t kSize = 16;
    enum Byte : std::size_t {
        kMode = 0,        // light mode index into the device's light mode list
        kBrightness = 1,  // 0..4
        kSpeed = 2,       // 0..4
        kDirection = 3,   // 0 or 1
        kColourful = 4,   // 1 cycles through the colour wheel
        kRed = 5,
        kGreen = 6,
        kBlue = 7,
        kExtraMode = 11,  // keyboard: extra lighting value of its settings block
        kLightPage = 12,  // light page / custom group
        kOldMode = 13,    // previous light mode index, carried unchanged
    };

    std::array<std::uint8_t, kSize> bytes{};

    std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    friend bool operator==(const LightingRecord&, const LightingRecord&) = default;
};

// The 9-byte audio-lighting record, in its stored order.
struct AudioLightingRecord {
    std::uint8_t mode = 0;
    std::uint8_t backgroundRed = 0;
    std::uint8_t backgroundGreen = 0;
    std::uint8_t backgroundBlue = 0;
    std::uint8_t foregroundRed = 0;
    std::uint8_t foregroundGreen = 0;
    std::uint8_t foregroundBlue = 0;
    std::uint8_t colourful = 0;   // 0 or 1
    std::uint8_t colourType = 0;  // 1: the colour controls edit the foreground colour
    friend bool operator==(const AudioLightingRecord&, const AudioLightingRecord&) = default;
};

// One stored per-mode lighting entry of a profile's light list.
struct LightListEntry {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    bool direction = false;
    bool multiColour = false;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t present = 0;  // 0 for a null element of the list
    friend bool operator==(const LightListEntry&, const LightListEntry&) = default;
};

// One frame of a custom lighting effect.
struct EffectFrame {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    std::uint8_t multiColour = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    int time = 0;  // milliseconds the frame lasts
    int cycle = 0;
    friend bool operator==(const EffectFrame&, const EffectFrame&) = default;
};

// A key's assignment: its position and its assignment code. A profile holds the code as one
// integer (`keys::AssignmentCode::ToStoredValue`).
struct KeyAssignment {
    std::uint16_t position = 0;
    keys::AssignmentCode code;
    friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};

// A key's current assignment and its factory one.
struct KeyAssignmentPair {
    KeyAssignment current;
    KeyAssignment defaultAssignment;
    friend bool operator==(const KeyAssignmentPair&, const KeyAssignmentPair&) = default;
};

// One DPI stage of a mouse; the same 9 bytes as in the mouse's settings block.
struct DpiStage {
    std::uint8_t enabled = 0;
    std::uint8_t separateXY = 0;
    std::uint16_t dpiX = 0;  // encoded units
    std::uint16_t dpiY = 0;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const DpiStage&, const DpiStage&) = default;
};

// One key's colour in a custom lighting group.
struct KeyColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
    friend bool operator==(const KeyColour&, const KeyColour&) = default;
};

// The keyboard's "SystemStages" values. Repeat and repeat delay stay on this side; the flags and
// the polling rate go to the keyboard's settings block.
struct KeyboardSystemSettings {
    std::uint16_t repeat = 0;
    std::uint16_t repeatDelay = 0;
    std::uint16_t key6Flag = 0;
    std::uint16_t pollingRate = 0;
    std::uint16_t wFlag = 0;
    std::uint16_t winFlag = 0;
    friend bool operator==(const KeyboardSystemSettings&, const KeyboardSystemSettings&) = default;
};

// The mouse's twelve values of "SystemStages" and "ReportStages", in the order the mouse keeps
// them.
struct MouseSystemSettings {
    std::uint16_t doubleClickTime = 0;
    std::uint16_t mouseSpeed = 0;
    std::uint16_t pointerPrecision = 0;
    std::uint16_t scrollPage = 0;
    std::uint16_t wheelScrollLines = 0;
    std::uint16_t reportStage = 0;
    std::uint16_t bleSleep1 = 0;
    std::uint16_t bleSleep2 = 0;
    std::uint16_t deviceSleep1 = 0;
    std::uint16_t deviceSleep2 = 0;
    std::uint16_t logoLedMode = 0;
    std::uint16_t antiShakeTime = 0;
    friend bool operator==(const MouseSystemSettings&, const MouseSystemSettings&) = default;
};

// The headset's "SystemSetStages" values.
struct HeadsetSystemSettings {
    int magicEnable = 0;
    int magicType = 0;
    int eqType = 0;
    int customEqSelectIndex = 0;
    int micInSelect = 0;
    int micInValue = 0;
    int micMonitorSelect = 0;
    int micMonitorValue = 0;
    friend bool operator==(const HeadsetSystemSettings&, const HeadsetSystemSettings&) = default;
};

}  // namespace profile
