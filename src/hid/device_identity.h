#pragma once

#include <cstdint>
#include <string>

namespace hid {

// One HID interface, whether expected (a catalogue row) or found (a present interface). The
// numeric fields are compared as plain unsigned 16-bit values.
struct DeviceIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;   // the "&mi_" part of the path
    uint16_t collectionNumber = 0;  // the "&col" part of the path; 0 when the path has none
    uint16_t kind = 0;              // device kind code: 1 keyboard, 2 mouse, 3 mouse pad, ...
    uint16_t role = 0;              // 0 vendor command interface, 0xFF event interface
    uint16_t connected = 0;         // 1 while present and owned by a device object
    uint16_t usagePage = 0;         // of the top-level collection
    uint16_t usage = 0;
    uint16_t linked = 0;  // 1 when the row takes part in receiver pairing
    uint16_t linkA = 0;   // partner row on the keyboard side
    uint16_t linkB = 0;   // partner row on the mouse side
    std::string path;     // device path of the present interface; empty when none
};

inline constexpr uint16_t kRoleCommand = 0;
inline constexpr uint16_t kRoleEvent = 0xFF;

}  // namespace hid
