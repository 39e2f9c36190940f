#pragma once

// Test and benchmark support: finding a plugged device's vendor command collection.

#include <cstdint>
#include <string>

#include "hid/device_path.h"
#include "hid/hid_device.h"

namespace device::testing {

// The path of the plugged devices' vendor command collection (usage page 0xFF1C) with this
// product id; empty when none is plugged.
inline std::string CommandPath(uint16_t productId) {
    hid::HidDevice probe;
    if (!probe.Enumerate()) return "";
    std::string found;
    while (const char* p = probe.NextPath()) {
        if (hid::ParseProductId(p) != productId) continue;
        hid::HidDevice d;
        if (d.Open(p, true, false, true, false) && d.UsagePage() == 0xFF1C) found = p;
    }
    return found;
}

}  // namespace device::testing
