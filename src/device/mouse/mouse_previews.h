#pragma once

// The mouse's own lighting preview steps. Each moves the page's LED colours one step on from
// the lighting record's parameters; they run on the device's preview thread, one at a time, and
// touch nothing but the preview and the state below.

#include <array>
#include <atomic>
#include <cstdint>

#include "device/lighting_preview.h"
#include "device/mouse/mouse_tables.h"

namespace device::mouse {

// What the mouse's steps keep between runs, beside the preview's own state. Only the preview
// thread touches it, except for the restart request, which any thread may set.
struct MousePreviewState {
    int wavePosition = 0;                  // 0..191 colourful, 0..95 single colour
    int colourOffset = 0;                  // 0..191, the wave colours' drift
    std::array<bool, kLedCount> rising{};  // reactive: the LED is still climbing
    std::atomic<bool> restartReactive{false};
};

// Colourful: the seven LED groups show colour-wheel entries 7 places apart, the wave moving one
// place per step. Single colour: the groups show the colour at the breathing curve's value of
// consecutive positions.
void PreviewWave(LightingPreview& preview, MousePreviewState& state, const PreviewParams& p);

// A wave of colours 12 wheel places apart from group to group, carried through the wave ring:
// each group lights when the ring's crest reaches it and then fades; the colours drift on.
void PreviewWaveColours(LightingPreview& preview, MousePreviewState& state, const PreviewParams& p);

// Every LED that was triggered climbs by 15 per step up to 255, then fades.
void PreviewReactive(LightingPreview& preview, MousePreviewState& state, const PreviewParams& p);
// The mouse reported a click: at the next reactive step every LED starts again from dark. Safe
// from any thread.
void TriggerReactive(MousePreviewState& state);

}  // namespace device::mouse
