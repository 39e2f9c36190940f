#pragma once

// The mouse pad's own preview steps, over the LEDs of a LightingPreview. The headset runs the
// same steps over its LEDs (headset/headset_preview.h).
//
//   step A (mode 0)  wave: a base position moves one place per run; LED i shows the colour-wheel
//                    entry base + 1 + 7i (colourful) or the single colour at the breathing-curve
//                    level of that position (wrapping within half the curve's period, 96)
//   step B (mode 7)  ripple over the first 7 LEDs, ring of 8 places turned against the direction
//   step C (mode 6)  ripple over every LED, ring of 23 places turned with the direction
// A ripple refreshes and turns its ring every second run; every run each LED fades (FadeStep,
// kind = the light mode index) and takes the colour-wheel entry 12 places beyond the previous
// LED's (colourful) or the single colour.

#include "device/lighting_preview.h"

namespace device {

// What the steps keep between runs, besides the preview's levels and wave ring.
struct PadPreviewState {
    int base = 0;  // step A's position, 0..191
    int runs = 0;  // ripple runs since the last reset
};

// The light modes that run these steps.
inline constexpr int kPadWaveMode = 0;
inline constexpr int kPadNarrowRippleMode = 7;
inline constexpr int kPadWideRippleMode = 6;
inline constexpr int kPadLedCount = 15;

inline constexpr int kNarrowRippleLeds = 7;
inline constexpr int kNarrowRippleRing = 8;
inline constexpr int kRippleColourSpacing = 12;
inline constexpr int kWaveSpacing = 7;
inline constexpr int kWaveSingleColourPeriod = 96;

void PadStepA(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p);
void PadStepB(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p);
void PadStepC(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p);

}  // namespace device
