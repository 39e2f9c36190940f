#include "device/mouse/mouse_previews.h"

#include <algorithm>

namespace device::mouse {

namespace {

constexpr int kGroupSpacing = 7;        // wheel places between the wave's groups
constexpr int kWaveColourSpacing = 12;  // and between the wave colours' groups
constexpr int kSingleWaveLimit = 96;    // the last group still reads inside the breathing curve
constexpr int kReactiveRise = 15;

uint8_t BrightnessOf(uint8_t level) {
    return kBrightnessTable[std::min<size_t>(level, kBrightnessTable.size() - 1)];
}

// One step up (direction 0) or down, wrapping within 0..limit-1.
int Advance(int position, int limit, uint8_t direction) {
    position = std::clamp(position, 0, limit - 1);
    if (direction == 0) return position + 1 >= limit ? 0 : position + 1;
    return position == 0 ? limit - 1 : position - 1;
}

void SetGroup(LightingPreview& preview, const LedGroup& group, LedColour colour) {
    for (uint8_t i = 0; i < group.count; ++i) preview.SetLed(group.leds[i], colour);
}

}  // namespace

void PreviewWave(LightingPreview& preview, MousePreviewState& state, const PreviewParams& p) {
    const int limit = p.colourful ? kColourWheelSize : kSingleWaveLimit;
    state.wavePosition = Advance(state.wavePosition, limit, p.direction);
    const uint8_t top = BrightnessOf(p.brightness);
    for (int g = 0; g < kLedGroupCount; ++g) {
        LedColour c;
        if (p.colourful) {
            const Rgb wheel =
                kColourWheel[(state.wavePosition + g * kGroupSpacing) % kColourWheelSize];
            c = {wheel.red, wheel.green, wheel.blue, top};
        } else {
            const int level = kBreathingCurve[(state.wavePosition + g) % kBreathingCurveSize];
            c = {p.colour.red, p.colour.green, p.colour.blue,
                 static_cast<uint8_t>(level * top / 256)};
        }
        SetGroup(preview, kLedGroups[g], c);
    }
}

void PreviewWaveColours(LightingPreview& preview, MousePreviewState& state,
                        const PreviewParams& p) {
    const auto& ring = preview.waveRing();
    if (std::all_of(ring.begin(), ring.end(), [](uint8_t v) { return v == 0; }))
        preview.SetWaveRing(0, 1);  // a fresh wave starts with one crest
    preview.RotateWaveRing(p.direction);
    // The levels of the first ring places are the groups' levels.
    preview.MarkFirstLeds();
    state.colourOffset = Advance(state.colourOffset, kColourWheelSize, 0);
    const uint8_t top = BrightnessOf(p.brightness);
    for (int g = 0; g < kLedGroupCount; ++g) {
        preview.FadeStep(g, 0);
        const Rgb wheel =
            kColourWheel[(state.colourOffset + g * kWaveColourSpacing) % kColourWheelSize];
        SetGroup(preview, kLedGroups[g],
                 {wheel.red, wheel.green, wheel.blue,
                  static_cast<uint8_t>(preview.level(g) * top / 255)});
    }
}

void PreviewReactive(LightingPreview& preview, MousePreviewState& state, const PreviewParams& p) {
    if (state.restartReactive.exchange(false)) {
        for (int i = 0; i < kLedCount; ++i) preview.SetLevel(i, 0);
        state.rising.fill(true);
    }
    const uint8_t top = BrightnessOf(p.brightness);
    for (int i = 0; i < kLedCount; ++i) {
        if (state.rising[i]) {
            const int level = std::min(preview.level(i) + kReactiveRise, 255);
            preview.SetLevel(i, static_cast<uint8_t>(level));
            if (level == 255) state.rising[i] = false;
        } else {
            preview.FadeStep(i, 0);
        }
        const Rgb c = p.colourful ? kColourWheel[i * kColourWheelSize / kLedCount] : p.colour;
        preview.SetLed(
            i, {c.red, c.green, c.blue, static_cast<uint8_t>(preview.level(i) * top / 255)});
    }
}

void TriggerReactive(MousePreviewState& state) {
    state.restartReactive = true;
}

}  // namespace device::mouse
