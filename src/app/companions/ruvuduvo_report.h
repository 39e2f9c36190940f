#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "os/session_bus.h"

namespace app {

// The report of the device kinds to the "RuvuDuvo" program: copy-data record 5 of 1024 bytes,
// little-endian 32-bit values: 2, 5, 0, 2, the number of devices, then vendor id, product id and
// kind of each device; the rest zero.
inline constexpr uintptr_t kRuvuDuvoRecord = 5;
inline constexpr size_t kRuvuDuvoBlockBytes = 1024;

struct ReportedDevice {
    uint16_t vendorId;
    uint16_t productId;
    int kind;
};

// The device kinds the program supports, one per device page, in page order.
std::span<const ReportedDevice> ReportedDevices();

std::array<uint8_t, kRuvuDuvoBlockBytes> BuildRuvuDuvoBlock(
    std::span<const ReportedDevice> devices);

// Sends the block to the top-level window titled "RuvuDuvo"; false (and nothing sent) when it
// does not run.
bool ReportToRuvuDuvo(os::SessionBus& bus, os::HWND mainWindow,
                      std::span<const ReportedDevice> devices);

}  // namespace app
