#include "app/companions/ruvuduvo_report.h"

#include <algorithm>

#include "app/device_bar/device_descriptors.h"
#include "os/debug_output.h"

namespace app {

namespace {

// The ids and kinds of the device descriptors, in their order.
constexpr std::array<ReportedDevice, kDeviceDescriptors.size()> kDevices = [] {
    std::array<ReportedDevice, kDeviceDescriptors.size()> devices{};
    for (size_t i = 0; i < kDeviceDescriptors.size(); ++i)
        devices[i] = {kDeviceDescriptors[i].vendorId, kDeviceDescriptors[i].productId,
                      kDeviceDescriptors[i].kind};
    return devices;
}();

constexpr int kTimeoutMs = 1500;

void Put(std::array<uint8_t, kRuvuDuvoBlockBytes>& block, size_t index, uint32_t value) {
    for (size_t b = 0; b < 4; ++b) block[index * 4 + b] = static_cast<uint8_t>(value >> (8 * b));
}

}  // namespace

std::span<const ReportedDevice> ReportedDevices() {
    return kDevices;
}

std::array<uint8_t, kRuvuDuvoBlockBytes> BuildRuvuDuvoBlock(
    std::span<const ReportedDevice> devices) {
    std::array<uint8_t, kRuvuDuvoBlockBytes> block{};
    constexpr size_t kHeader = 5;
    constexpr size_t kValues = kRuvuDuvoBlockBytes / 4;
    // Only as many devices as the block holds.
    const size_t count = std::min(devices.size(), (kValues - kHeader) / 3);
    const uint32_t header[kHeader] = {2, 5, 0, 2, static_cast<uint32_t>(count)};
    for (size_t i = 0; i < kHeader; ++i) Put(block, i, header[i]);
    for (size_t d = 0; d < count; ++d) {
        Put(block, kHeader + 3 * d, devices[d].vendorId);
        Put(block, kHeader + 3 * d + 1, devices[d].productId);
        Put(block, kHeader + 3 * d + 2, static_cast<uint32_t>(devices[d].kind));
    }
    return block;
}

bool ReportToRuvuDuvo(os::SessionBus& bus, os::HWND mainWindow,
                      std::span<const ReportedDevice> devices) {
    const os::SessionBus::RemoteWindow window = bus.FindWindow("", "RuvuDuvo");
    if (!window) {
        os::DebugOutput("RuvuDuvo is not running\n");
        return false;
    }
    const auto block = BuildRuvuDuvoBlock(devices);
    bool ok = false;
    bus.SendCopyData(window, mainWindow, kRuvuDuvoRecord, block.data(), block.size(), kTimeoutMs,
                     &ok);
    return ok;
}

}  // namespace app
