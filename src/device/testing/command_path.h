#pragma once

// Test and benchmark support: finding a plugged device's vendor command collection.

#include <cstdint>
#include <string>

#include "device/testing/collection_path.h"

namespace device::testing {

// The path of the plugged devices' vendor command collection (usage page 0xFF1C) with this
// product id; empty when none is plugged.
inline std::string CommandPath(uint16_t productId) {
    return CollectionPath(productId, kCommandUsagePage);
}

}  // namespace device::testing
