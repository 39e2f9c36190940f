#include "device/mouse/quendal_mouse_device.h"

#include "hid/supported_device.h"

namespace device {

CQuendalMouseDevice::CQuendalMouseDevice() {
    SetDeviceKind(hid::kKindMouse);
}

CQuendalMouseDevice::~CQuendalMouseDevice() {
    // The threads work on this object: they end before its members go.
    StopThreads();
}

std::string_view CQuendalMouseDevice::GetClass() const {
    return "QuendalMouseDevice";
}

void CQuendalMouseDevice::OnConnected() {
    // The first reads of the device come with the full model; the page animates from here on.
    if (commandChannel().IsOpen()) StartPreviewThread();
}

void CQuendalMouseDevice::RefreshPowerStatus() {
    if (!commandChannel().IsOpen()) return;
    if (powerIndicator_)
        powerIndicator_->ShowWirelessSign(command_.mode() == DeviceChannel::kReceiver);
    ReadAndShowPowerStatus();
}

bool CQuendalMouseDevice::IsLinked() {
    if (!command_.IsOpen() || command_.mode() != DeviceChannel::kReceiver) return false;
    // The receiver answers for both partners at once; only this one's byte counts.
    uint8_t partners[2] = {0, 0};
    return command_.QueryLink(partners) && partners[1] == 0xFF;
}

}  // namespace device
