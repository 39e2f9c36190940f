#pragma once

#include "device/quendal_usb_device.h"

namespace device {

// The keyboard's model and page. Until the full model arrives it is the base model with the
// keyboard's kind: the page, its LEDs, the preview thread, the power status and the link check
// through the receiver.
class CQuendalKeyboardDevice : public CQuendalUSBDevice {
  public:
    CQuendalKeyboardDevice();
    ~CQuendalKeyboardDevice() override;

    std::string_view GetClass() const override;
    void OnConnected() override;
    void RefreshPowerStatus() override;
    // Reached through the receiver: true when the receiver answers that this partner is linked.
    bool IsLinked() override;
};

}  // namespace device
