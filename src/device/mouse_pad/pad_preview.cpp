#include "device/mouse_pad/pad_preview.h"

#include <algorithm>

namespace device {

namespace {

uint8_t BrightnessOf(uint8_t level) {
    return kBrightnessTable[std::min<size_t>(level, kBrightnessTable.size() - 1)];
}

int Wrap(int value, int period) {
    return ((value % period) + period) % period;
}

// Turns the first `places` positions of the wave ring by one: towards position 0 when
// `direction` is 0, away from it otherwise.
void TurnRing(LightingPreview& preview, int places, int direction) {
    const auto& ring = preview.waveRing();
    if (direction == 0) {
        const uint8_t first = ring[0];
        for (int i = 0; i + 1 < places; ++i) preview.SetWaveRing(i, ring[i + 1]);
        preview.SetWaveRing(places - 1, first);
    } else {
        const uint8_t last = ring[places - 1];
        for (int i = places - 1; i > 0; --i) preview.SetWaveRing(i, ring[i - 1]);
        preview.SetWaveRing(0, last);
    }
}

void Ripple(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p, int leds,
            int places, int direction, int fadeKind) {
    const auto& ring = preview.waveRing();
    if (std::all_of(ring.begin(), ring.begin() + places, [](uint8_t v) { return v == 0; }))
        preview.SetWaveRing(0, 1);  // a fresh ripple starts with one crest
    if (state.runs % 2 == 0) {
        preview.MarkFirstLeds();
        TurnRing(preview, places, direction);
    }
    ++state.runs;
    const int top = BrightnessOf(p.brightness);
    int colour = preview.colourPosition();
    for (int i = 0; i < leds; ++i) {
        preview.FadeStep(i, fadeKind);
        const Rgb c = p.colourful ? kColourWheel[colour] : p.colour;
        preview.SetLed(
            i, {c.red, c.green, c.blue, static_cast<uint8_t>(preview.level(i) * top / 255)});
        colour = (colour + kRippleColourSpacing) % kColourWheelSize;
    }
}

}  // namespace

void PadStepA(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p) {
    state.base = Wrap(state.base + (p.direction == 0 ? 1 : -1), kColourWheelSize);
    const int top = BrightnessOf(p.brightness);
    const int n = preview.LedCount();
    for (int i = 0; i < n; ++i) {
        const int position = state.base + 1 + kWaveSpacing * i;
        if (p.colourful) {
            const Rgb c = kColourWheel[position % kColourWheelSize];
            preview.SetLed(i, {c.red, c.green, c.blue, static_cast<uint8_t>(top)});
        } else {
            const int curve = kBreathingCurve[position % kWaveSingleColourPeriod];
            preview.SetLed(i, {p.colour.red, p.colour.green, p.colour.blue,
                               static_cast<uint8_t>(curve * top / 256)});
        }
    }
}

void PadStepB(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p) {
    // Turned against the direction byte.
    Ripple(preview, state, p, std::min(kNarrowRippleLeds, preview.LedCount()), kNarrowRippleRing,
           p.direction == 0 ? 1 : 0, kPadNarrowRippleMode);
}

void PadStepC(LightingPreview& preview, PadPreviewState& state, const PreviewParams& p) {
    Ripple(preview, state, p, preview.LedCount(), kWaveRingSize, p.direction, kPadWideRippleMode);
}

}  // namespace device
