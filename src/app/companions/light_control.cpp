#include "app/companions/light_control.h"

#include "app/app_globals.h"
#include "app/dispatch/device_bar_target.h"
#include "device/quendal_usb_device.h"
#include "os/debug_output.h"

namespace app {

void LightControl::Toggle(os::SessionBus& bus) {
    flag_ = flag_ ? 0 : 1;
    if (!bus.Broadcast(Globals().UWM_LIGHT_CONTROL_ANNOUNCE_MSG, 1, flag_))
        os::DebugOutput("lighting control: no session bus, the announce went nowhere\n");
}

bool LightControl::OnMessage(os::WPARAM wParam, os::LPARAM lParam) {
    if (wParam != 1 || (lParam != 0 && lParam != 1)) return false;
    flag_ = static_cast<int>(lParam);
    return true;
}

void LightControl::PassToDevices(IDeviceBarTarget* bar, int value) {
    if (bar == nullptr) return;
    bar->ForEachPadMouseKeyboard(
        [value](device::CQuendalUSBDevice& device) { device.SetLightingSwitch(value); });
}

}  // namespace app
