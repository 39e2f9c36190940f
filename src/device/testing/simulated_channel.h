#pragma once

// Test support: a device channel opened on a simulated device's command collection on the virtual
// HID bus, on its cable or through the simulated receiver.

#include <memory>
#include <string>

#include "device/device_channel.h"
#include "device/testing/command_path.h"
#include "os/testing/virtual_device_test.h"
#include "sim/firmware.h"
#include "sim/receiver_firmware.h"
#include "sim/simulated_device.h"

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

// A simulated mouse with the channel open on it: on its cable (parameter false) or behind a
// receiver it is linked to (true).
class SimulatedMouse : public SimulatedChannel, public ::testing::WithParamInterface<bool> {
  public:
    // Test names: "Cable", "Receiver".
    static std::string PathName(const ::testing::TestParamInfo<bool>& info) {
        return info.param ? "Receiver" : "Cable";
    }

  protected:
    void SetUp() override {
        SimulatedChannel::SetUp();
        if (GetParam()) {
            auto rx = std::make_shared<sim::ReceiverFirmware>();
            rx->Pair(sim::ReceiverFirmware::Partner::kMouse, mouse_);
            ASSERT_TRUE(rx->SetLinked(sim::ReceiverFirmware::Partner::kMouse, true));
            plug_ = std::make_unique<sim::SimulatedDevice>(rx);
        } else {
            plug_ = std::make_unique<sim::SimulatedDevice>(mouse_);
        }
        ASSERT_TRUE(plug_->Plug());
        ASSERT_TRUE(Open(ch_, GetParam() ? kReceiverProductId : kMouseProductId, GetParam()));
        ch_.SetReceiverTarget(2);
    }

    std::shared_ptr<sim::Firmware> mouse_ = std::make_shared<sim::Firmware>(sim::Kind::kMouse);
    std::unique_ptr<sim::SimulatedDevice> plug_;
    DeviceChannel ch_;
};

}  // namespace device::testing
