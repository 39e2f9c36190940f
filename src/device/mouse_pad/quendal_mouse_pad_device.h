#pragma once

#include "device/quendal_usb_device.h"

namespace device {

// The mouse pad's model and page. Until the full model arrives it is the base model with the
// pad's kind: the page, its LED ring and the preview thread.
class CQuendalMousePadDevice : public CQuendalUSBDevice {
  public:
    CQuendalMousePadDevice();
    ~CQuendalMousePadDevice() override;

    std::string_view GetClass() const override;
    void OnConnected() override;
};

}  // namespace device
