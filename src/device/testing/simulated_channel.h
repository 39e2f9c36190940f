#pragma once

// Test support: a device channel opened on a simulated device's command collection on the virtual
// HID bus, on its cable or through the simulated receiver.

#include <string>

#include "device/device_channel.h"
#include "hid/device_path.h"
#include "hid/hid_device.h"
#include "os/testing/virtual_device_test.h"

namespace device::testing {

// The path of the plugged devices' vendor command collection (usage page 0xFF1C) with this
// product id.
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

// The simulated devices plug themselves in and out.
class SimulatedChannel : public os::testing::VirtualDeviceTest {
  protected:
    static constexpr uint16_t kMouseProductId = 0x22A9;
    static constexpr uint16_t kReceiverProductId = 0x22AA;

    bool Open(DeviceChannel& ch, uint16_t productId, bool receiver) {
        const std::string path = CommandPath(productId);
        hid::HidDevice& h = receiver ? ch.receiverHandle() : ch.directHandle();
        if (path.empty() || !h.Open(path, true, true, true, false)) return false;
        ch.SetOpen(true);
        ch.SetConnectionType(receiver ? DeviceChannel::kConnectionReceiver : 1);
        return true;
    }
};

}  // namespace device::testing
