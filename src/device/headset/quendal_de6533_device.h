#pragma once

#include "device/quendal_usb_device.h"

namespace device {

// The headset's model and page. Until the full model arrives it is the base model with the
// headset's kind: the page, its LED ring and the preview thread.
class CQuendalDE6533Device : public CQuendalUSBDevice {
  public:
    CQuendalDE6533Device();
    ~CQuendalDE6533Device() override;

    std::string_view GetClass() const override;
    void OnConnected() override;
};

}  // namespace device
