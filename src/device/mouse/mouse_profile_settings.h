#pragma once

// Between the mouse's profile document and the settings block's records, and the page's rules
// for the values the block carries.

#include <vector>

#include "device/mouse/mouse_settings_block.h"
#include "profile/mouse_profiledata.h"
#include "profile/profile_records.h"

namespace device::mouse {

// What the block is built from: the profile's lighting record, its twelve values, its DPI stages
// and active stage. The active value (byte 0) is 0; the writer sets its own.
MouseSettings SettingsFromProfile(profile::CMouseProfiledata& doc);

// What a read from the mouse changes in the profile (in memory; the caller saves): the lighting
// record, the twelve values and the active DPI stage. The DPI stages stay the profile's: the
// mouse is brought to them, not the other way round.
void ApplyReadToProfile(profile::CMouseProfiledata& doc, const MouseSettings& read);

// The "polling_rate_option_" that shows a report-rate stage: a stage outside 0..4 shows option 0.
int ReportRateOption(int stage);

// The one enabled stage among several, whose check box must not be cleared: -1 while two or
// more stages are enabled (or none).
int SoleEnabledStage(const std::vector<profile::DpiStage>& stages);

// The pointer sliders of the page, kept in the profile only (nothing goes to the mouse or to the
// desktop's own pointer settings). Moving the scroll slider also clears the scroll-by-page flag.
enum class PointerSlider { kDoubleClick, kPointerSpeed, kScrollSpeed };
void SetPointerSlider(profile::MouseSystemSettings& system, PointerSlider slider, int position);

}  // namespace device::mouse
