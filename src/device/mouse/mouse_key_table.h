#pragma once

// The mouse's buttons in its key table: where each program button sits, and the table the model
// writes from a profile's assignments, with the macros the assignments name packed into device
// macro slots.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "device/mouse/mouse_tables.h"
#include "profile/profile_records.h"

namespace device::mouse {

// The device key index of each program button; kButtonAbsent for one the table does not hold.
using ButtonMap = std::array<uint8_t, kButtonCount>;

// Searches the key table (3 bytes per key, keyCount keys, cut to what table holds) for each
// button's factory entry; the first match counts.
ButtonMap BuildButtonMap(std::span<const uint8_t> table, int keyCount);

struct KeyTableWrite {
    std::vector<uint8_t> table;   // the device's table with the buttons' assignments in it
    std::vector<int> macroSlots;  // macro numbers in device slot order: slot 0 first
};

// The key table to write: deviceTable (the table as read from the mouse) with each placed
// button's current assignment (keys[i] for program button i) at its device index. A macro
// assignment names its macro by device slot: the macros take slots 0, 1, 2 ... in the order the
// buttons first name them, and buttons naming one macro share its slot. A macro number not below
// macroCount has no macro behind it; that button gets its default assignment back (the factory
// entry when the profile has none), logged.
KeyTableWrite BuildKeyTable(std::span<const uint8_t> deviceTable, const ButtonMap& map,
                            const std::vector<profile::KeyAssignmentPair>& keys, int macroCount,
                            std::vector<std::string>* notes = nullptr);

}  // namespace device::mouse
