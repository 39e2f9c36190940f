#include "device/headset/quendal_de6533_device.h"

#include "hid/supported_device.h"

namespace device {

CQuendalDE6533Device::CQuendalDE6533Device() {
    SetDeviceKind(hid::kKindHeadset);
}

CQuendalDE6533Device::~CQuendalDE6533Device() {
    // The threads work on this object: they end before its members go.
    StopThreads();
}

std::string_view CQuendalDE6533Device::GetClass() const {
    return "QuendalDE6533Device";
}

void CQuendalDE6533Device::OnConnected() {
    // The first reads of the device come with the full model; the page animates from here on.
    if (commandChannel().IsOpen()) StartPreviewThread();
}

}  // namespace device
