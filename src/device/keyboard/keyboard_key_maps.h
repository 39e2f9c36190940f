#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "keys/assignment_code.h"

namespace device::keyboard {

inline constexpr int kProgramKeyCount = 170;
inline constexpr int kLedCount = 114;
// A program key with no device key or no LED.
inline constexpr uint8_t kUnmapped = 255;

// Where each of the page's program keys sits on the keyboard: its entry in the device's key table
// and its LED. Built from what the keyboard reports after it connects.
struct KeyboardKeyMaps {
    std::array<uint8_t, kProgramKeyCount> keyToDevice;
    std::array<uint8_t, kProgramKeyCount> keyToLed;

    KeyboardKeyMaps() {
        keyToDevice.fill(kUnmapped);
        keyToLed.fill(kUnmapped);
    }

    // The program key at a device key-table position, -1 when no program key has it.
    int ProgramKeyAt(int devicePosition) const;
    // kUnmapped for keys out of range.
    uint8_t DevicePosition(int programKey) const;
    uint8_t Led(int programKey) const;
};

// Builds both maps.
//
// keyTable: the device's key table, 3 bytes per key (type, code 1, code 2); its length is the
// number of keys the device reported times 3. Program key i takes the first device entry equal to
// its default assignment that no earlier program key took: two program keys with the same default
// (the page's unused rows are all "no key") never share one device key, whose assignment one of
// them would then overwrite.
//
// ledTable: one LED index per device key. An LED index of kLedCount or more is no LED; a device
// position beyond the table has none either.
KeyboardKeyMaps BuildKeyMaps(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledTable,
                             std::span<const keys::AssignmentCode, kProgramKeyCount> defaults);

// The same with the keyboard page's own program key table.
KeyboardKeyMaps BuildKeyMaps(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledTable);

}  // namespace device::keyboard
