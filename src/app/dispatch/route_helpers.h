#pragma once

#include <string>

#include "app/dispatch/router.h"

namespace device {
class CQuendalUSBDevice;
}

namespace app::dispatch {

// The few rows whose handling is more than one call into one owner.

// "Close_bkColor_btn": the audio lighting read back from the lighting panel, with a black
// background, stored, saved, and the lighting reloaded from the profile.
void ClearAudioBackground(device::CQuendalUSBDevice& device);
// Empties the text of a control of the device's page (nothing when the page has none).
void ClearPageText(device::CQuendalUSBDevice& device, const std::string& name);
// A function tab chosen: the tab number to the device, then to its profile panel (when its page
// has one).
void SelectFunctionTab(const RouteCall& call, int tab);
// prefix + n ("tilmo_DPI_edit_" + 2).
std::string IndexedName(const char* prefix, int n);
// The sender's value as "%d".
std::string ValueText(const RouteCall& call);

}  // namespace app::dispatch
