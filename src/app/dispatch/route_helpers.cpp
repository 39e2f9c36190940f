#include "app/dispatch/route_helpers.h"

#include "device/quendal_usb_device.h"
#include "os/debug_output.h"
#include "toolkit/control_ui.h"
#include "toolkit/paint_manager_ui.h"

namespace app::dispatch {

void ClearAudioBackground(device::CQuendalUSBDevice& device) {
    profile::AudioLightingRecord record = device.GetAudioLighting();
    record.backgroundRed = 0;
    record.backgroundGreen = 0;
    record.backgroundBlue = 0;
    device.SetAudioLighting(record);
    device.SaveProfile();
    device.LoadLightingFromProfile();
}

void ClearPageText(device::CQuendalUSBDevice& device, const std::string& name) {
    toolkit::CPaintManagerUI* pm = device.GetManager();
    toolkit::CControlUI* control = pm ? pm->FindSubControlByName(&device, name) : nullptr;
    if (control == nullptr) {
        os::DebugOutput("no " + name + " on the page of " + device.GetDisplayName() + "\n");
        return;
    }
    control->SetText("");
}

void SelectFunctionTab(const RouteCall& call, int tab) {
    call.device->SetFunctionTab(tab);
    if (device::IProfilePanelView* panel = call.device->ProfilePanel())
        panel->SelectFunctionTab(tab);
    else
        os::DebugOutput("function tab: the page has no profile panel\n");
}

std::string IndexedName(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

std::string ValueText(const RouteCall& call) {
    return std::to_string(call.Value());
}

}  // namespace app::dispatch
