#include "app/device_bar/device_set.h"

#include "device/quendal_usb_device.h"
#include "hid/supported_device.h"

namespace app {

bool DeviceSet::Add(Device* device) {
    if (device == nullptr) return false;
    auto& list = const_cast<std::vector<Device*>&>(ListFor(device->GetDeviceKind()));
    if (&list == &none_) return false;
    list.push_back(device);
    return true;
}

const std::vector<DeviceSet::Device*>& DeviceSet::ListFor(int kind) const {
    switch (kind) {
        case hid::kKindKeyboard:
        case hid::kKindReceiverKeyboard:
            return keyboards_;
        case hid::kKindMouse:
        case hid::kKindReceiverMouse:
            return mice_;
        case hid::kKindMousePad:
            return pads_;
        case hid::kKindHeadset:
            return headsets_;
        default:
            return none_;
    }
}

DeviceSet::Device* DeviceSet::FirstOf(int kind) const {
    const auto& list = ListFor(kind);
    return list.empty() ? nullptr : list.front();
}

void DeviceSet::ForEachPadMouseKeyboard(const Fn& fn) const {
    for (const auto* list : {&pads_, &mice_, &keyboards_})
        for (Device* d : *list) fn(*d);
}

void DeviceSet::ForEachDevice(const Fn& fn) const {
    ForEachPadMouseKeyboard(fn);
    for (Device* d : headsets_) fn(*d);
}

void DeviceSet::Clear() {
    pads_.clear();
    mice_.clear();
    keyboards_.clear();
    headsets_.clear();
}

}  // namespace app
