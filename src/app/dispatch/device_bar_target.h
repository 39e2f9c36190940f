#pragma once

#include <functional>

#include "toolkit/ui_types.h"

namespace device {
class CQuendalUSBDevice;
}

namespace toolkit {
struct TNotifyUI;
}

namespace app {

// What the main window's routes reach in the device bar: the device set, its items and pages, the
// arrival and removal of devices, the selection and the synchronised lighting. The device bar
// implements it; the router holds a pointer to it and drops an event with a debug line while
// there is none.
class IDeviceBarTarget {
  public:
    virtual ~IDeviceBarTarget() = default;

    // "windowinit": one page set (power indicator, page, item) per device descriptor.
    virtual void BuildPages() = 0;
    // WM_DEVICE_ARRIVAL / WM_DEVICE_REMOVAL with the interface-slot index.
    virtual void OnDeviceArrival(int slot) = 0;
    virtual void OnDeviceRemoval(int slot) = 0;
    // Message 3331: show (1) or hide (0) device-bar item `item`.
    virtual void OnItemShowMessage(int item, bool show) = 0;
    // Timer 1068: the receiver poll after a receiver arrival.
    virtual void OnReceiverPollTimer() = 0;
    // The system has resumed: reconcile every slot whose state changed while it slept.
    virtual void OnResume() = 0;

    // "selectchanged" of "device_select" / "synchro_device_select".
    virtual void OnDeviceSelectChanged(toolkit::TNotifyUI& msg) = 0;
    virtual void OnSynchroSelectChanged(toolkit::TNotifyUI& msg) = 0;
    // "device_select_next" / "device_select_prev".
    virtual void SelectNext() = 0;
    virtual void SelectPrevious() = 0;
    // "deng_same_mode": synchronised lighting across the devices.
    virtual void SynchroniseLighting() = 0;

    virtual int VisibleItemCount() const = 0;
    // The device of the selected, visible item, or null; the two below only when it is of that
    // kind (a keyboard: kinds 1 and 9; a mouse: kinds 2 and 6).
    virtual device::CQuendalUSBDevice* SelectedDevice() const = 0;
    virtual device::CQuendalUSBDevice* SelectedKeyboard() const = 0;
    virtual device::CQuendalUSBDevice* SelectedMouse() const = 0;
    // The one "for every mouse pad, mouse and keyboard" loop, in that order (headsets apart).
    virtual void ForEachPadMouseKeyboard(
        const std::function<void(device::CQuendalUSBDevice&)>& fn) const = 0;
    // Every device of every kind: pads, mice, keyboards, headsets.
    virtual void ForEachDevice(const std::function<void(device::CQuendalUSBDevice&)>& fn) const = 0;
};

}  // namespace app
