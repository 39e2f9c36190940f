#pragma once

#include "device/command_frame.h"

namespace device {

// The device bar's power display of one device, as the device model drives it.
class IPowerIndicator {
  public:
    virtual ~IPowerIndicator() = default;
    // The 6-byte power status as read, with byte 3 set to 1 when the device is reached through
    // the receiver.
    virtual void ShowPowerBlock(const PowerStatusBlock& block) = 0;
    virtual void ShowWirelessSign(bool show) = 0;
};

}  // namespace device
