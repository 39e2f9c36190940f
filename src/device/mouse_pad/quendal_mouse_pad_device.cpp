#include "device/mouse_pad/quendal_mouse_pad_device.h"

#include "hid/supported_device.h"

namespace device {

CQuendalMousePadDevice::CQuendalMousePadDevice() {
    SetDeviceKind(hid::kKindMousePad);
}

CQuendalMousePadDevice::~CQuendalMousePadDevice() {
    // The threads work on this object: they end before its members go.
    StopThreads();
}

std::string_view CQuendalMousePadDevice::GetClass() const {
    return "QuendalMousePadDevice";
}

void CQuendalMousePadDevice::OnConnected() {
    // The first reads of the device come with the full model; the page animates from here on.
    if (commandChannel().IsOpen()) StartPreviewThread();
}

}  // namespace device
