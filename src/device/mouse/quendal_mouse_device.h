#pragma once

#include "device/quendal_usb_device.h"

namespace device {

// The mouse's model and page. Until the full model arrives it is the base model with the mouse's
// kind: the page, its LEDs, the preview thread, the power status and the link check through the
// receiver.
class CQuendalMouseDevice : public CQuendalUSBDevice {
  public:
    CQuendalMouseDevice();
    ~CQuendalMouseDevice() override;

    std::string_view GetClass() const override;
    void OnConnected() override;
    void RefreshPowerStatus() override;
    // Reached through the receiver: true when the receiver answers that this partner is linked.
    bool IsLinked() override;
};

}  // namespace device
