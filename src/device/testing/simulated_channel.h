#pragma once

// Test support: a device channel opened on a simulated device's command collection on the virtual
// HID bus, on its cable or through the simulated receiver.

#include <string>

#include "device/device_channel.h"
#include "device/testing/command_path.h"
#include "os/testing/virtual_device_test.h"

namespace device::testing {

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
