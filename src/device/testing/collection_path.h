#pragma once

// Test support: finding the collections of the devices plugged on the virtual bus.

#include <cstdint>
#include <string>

#include "hid/device_path.h"
#include "hid/hid_device.h"

namespace device::testing {

inline constexpr uint16_t kCommandUsagePage = 0xFF1C;
inline constexpr uint16_t kEventUsagePage = 0x0C;

// The path of a plugged device's collection with this usage page (the last one found), empty
// when there is none.
inline std::string CollectionPath(uint16_t productId, uint16_t usagePage) {
    hid::HidDevice probe;
    if (!probe.Enumerate()) return "";
    std::string found;
    while (const char* p = probe.NextPath()) {
        if (hid::ParseProductId(p) != productId) continue;
        hid::HidDevice d;
        if (d.Open(p, true, false, true, false) && d.UsagePage() == usagePage) found = p;
    }
    return found;
}

}  // namespace device::testing
