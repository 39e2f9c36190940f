#include "device/keyboard/quendal_keyboard_device.h"

#include "hid/supported_device.h"

namespace device {

CQuendalKeyboardDevice::CQuendalKeyboardDevice() {
    SetDeviceKind(hid::kKindKeyboard);
}

CQuendalKeyboardDevice::~CQuendalKeyboardDevice() {
    // The threads work on this object: they end before its members go.
    StopThreads();
}

std::string_view CQuendalKeyboardDevice::GetClass() const {
    return "QuendalKeyboardDevice";
}

void CQuendalKeyboardDevice::OnConnected() {
    // The first reads of the device come with the full model; the page animates from here on.
    if (commandChannel().IsOpen()) StartPreviewThread();
}

void CQuendalKeyboardDevice::RefreshPowerStatus() {
    if (!commandChannel().IsOpen()) return;
    if (powerIndicator_)
        powerIndicator_->ShowWirelessSign(command_.mode() == DeviceChannel::kReceiver);
    ReadAndShowPowerStatus();
}

bool CQuendalKeyboardDevice::IsLinked() {
    if (!command_.IsOpen() || command_.mode() != DeviceChannel::kReceiver) return false;
    // The receiver answers for both partners at once; only this one's byte counts.
    uint8_t partners[2] = {0, 0};
    return command_.QueryLink(partners) && partners[0] == 0xFF;
}

}  // namespace device
