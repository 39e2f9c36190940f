#include "device/lighting_preview.h"

#include <algorithm>

namespace device {

namespace {

uint8_t BrightnessOf(uint8_t level) {
    return kBrightnessTable[std::min<size_t>(level, kBrightnessTable.size() - 1)];
}

}  // namespace

PreviewParams PreviewParams::FromRecord(const profile::LightingRecord& r) {
    PreviewParams p;
    p.brightness = r[profile::LightingRecord::kBrightness];
    p.speed = r[profile::LightingRecord::kSpeed];
    p.direction = r[profile::LightingRecord::kDirection];
    p.colourful = r[profile::LightingRecord::kColourful];
    p.colour = {r[profile::LightingRecord::kRed], r[profile::LightingRecord::kGreen],
                r[profile::LightingRecord::kBlue]};
    return p;
}

PreviewParams PreviewParams::FromFrame(const profile::EffectFrame& f) {
    PreviewParams p;
    p.brightness = f.brightness;
    p.speed = f.speed;
    p.direction = f.direction;
    p.colourful = f.multiColour;
    p.colour = {f.red, f.green, f.blue};
    return p;
}

LightingPreview::LightingPreview() {
    for (auto& led : leds_) led.store(0, std::memory_order_relaxed);
}

uint32_t LightingPreview::Pack(LedColour c) {
    return static_cast<uint32_t>(c.red) | (static_cast<uint32_t>(c.green) << 8) |
           (static_cast<uint32_t>(c.blue) << 16) | (static_cast<uint32_t>(c.brightness) << 24);
}

LedColour LightingPreview::Unpack(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

void LightingPreview::SetLedCount(int count) {
    ledCount_.store(std::clamp(count, 0, kMaxLeds), std::memory_order_relaxed);
}

void LightingPreview::SetLed(int index, LedColour colour) {
    if (index < 0 || index >= LedCount()) return;
    Store(index, Pack(colour));
}

std::optional<LedColour> LightingPreview::Led(int index) const {
    if (index < 0 || index >= LedCount()) return std::nullopt;
    return Unpack(leds_[index].load(std::memory_order_relaxed));
}

void LightingPreview::Fill(Rgb colour, uint8_t brightness) {
    const uint32_t v = Pack({colour.red, colour.green, colour.blue, brightness});
    const int n = LedCount();
    for (int i = 0; i < n; ++i) Store(i, v);
}

void LightingPreview::SetBrightness(uint8_t brightness) {
    const int n = LedCount();
    for (int i = 0; i < n; ++i) {
        uint32_t v = leds_[i].load(std::memory_order_relaxed);
        while (!leds_[i].compare_exchange_weak(
            v, (v & 0x00FFFFFFu) | (static_cast<uint32_t>(brightness) << 24),
            std::memory_order_relaxed)) {
        }
    }
}

bool LightingPreview::AdvanceRamp(uint8_t direction) {
    if (direction == 0)
        ramp_ = ramp_ + 1 >= kBreathingCurveSize ? 0 : ramp_ + 1;
    else
        ramp_ = ramp_ == 0 ? kBreathingCurveSize - 1 : ramp_ - 1;
    return ramp_ == 0;
}

void LightingPreview::AdvanceColour(int step) {
    colourPosition_ = (colourPosition_ + step) % kColourWheelSize;
}

bool LightingPreview::BlinkToggle(PreviewPace pace, uint8_t speed, int64_t nowMs) {
    const int64_t period = static_cast<int64_t>(SpeedTableValue(pace, speed)) * 200;
    if (nowMs - lastToggleMs_ < period) return false;
    lastToggleMs_ = nowMs;
    blinkOn_ = !blinkOn_;
    return true;
}

void LightingPreview::Static(const PreviewParams& p) {
    Fill(p.colour, BrightnessOf(p.brightness));
}

void LightingPreview::Spectrum(const PreviewParams& p) {
    if (p.direction == 0)
        colourPosition_ = colourPosition_ + 1 >= kColourWheelSize ? 0 : colourPosition_ + 1;
    else
        colourPosition_ = colourPosition_ == 0 ? kColourWheelSize - 1 : colourPosition_ - 1;
    Fill(kColourWheel[colourPosition_], BrightnessOf(p.brightness));
}

void LightingPreview::Breathing(const PreviewParams& p) {
    if (AdvanceRamp(p.direction) && p.colourful) AdvanceColour(kColourStep);
    const uint8_t level =
        static_cast<uint8_t>(kBreathingCurve[ramp_] * BrightnessOf(p.brightness) / 256);
    Fill(p.colourful ? kColourWheel[colourPosition_] : p.colour, level);
}

void LightingPreview::BreathingFourColours(const PreviewParams& p) {
    if (AdvanceRamp(p.direction)) AdvanceColour(kColourStep);
    const uint8_t level =
        static_cast<uint8_t>(kBreathingCurve[ramp_] * BrightnessOf(p.brightness) / 256);
    Fill(kBreathingFourColours[(colourPosition_ / kColourStep) % kBreathingFourColours.size()],
         level);
}

void LightingPreview::Blink(const PreviewParams& p, PreviewPace pace, int64_t nowMs) {
    if (BlinkToggle(pace, p.speed, nowMs) && p.colourful) AdvanceColour(kColourStep);
    if (!blinkOn_) return Fill({0, 0, 0}, 0);
    Fill(p.colourful ? kColourWheel[colourPosition_] : p.colour, BrightnessOf(p.brightness));
}

void LightingPreview::BlinkFourColours(const PreviewParams& p, PreviewPace pace, int64_t nowMs) {
    // The colour moves on as the LEDs light up; moving it on the switch to dark as well would
    // skip every other colour.
    if (BlinkToggle(pace, p.speed, nowMs) && blinkOn_) AdvanceColour(kColourStep);
    if (!blinkOn_) return Fill({0, 0, 0}, 0);
    Fill(kBlinkFourColours[(colourPosition_ / kColourStep) % kBlinkFourColours.size()],
         BrightnessOf(p.brightness));
}

void LightingPreview::Off() {
    Fill({0, 0, 0}, 0);
}

void LightingPreview::Wave(const PreviewParams& p) {
    if (std::all_of(waveRing_.begin(), waveRing_.end(), [](uint8_t v) { return v == 0; }))
        waveRing_[0] = 1;  // a fresh wave starts with one crest
    RotateWaveRing(p.direction);
    MarkFirstLeds();
    const int n = LedCount();
    const int top = BrightnessOf(p.brightness);
    for (int i = 0; i < n; ++i) {
        const int offset = FadeStep(i, 0);
        const Rgb c =
            p.colourful ? kColourWheel[(colourPosition_ + offset) % kColourWheelSize] : p.colour;
        Store(i, Pack({c.red, c.green, c.blue, static_cast<uint8_t>(levels_[i] * top / 255)}));
    }
}

int LightingPreview::FadeStep(int index, int kind) {
    if (index < 0 || index >= kMaxLeds) return 0;
    const FadeRule& rule = kFadeRules[kind >= 0 && kind < kFadeKindCount ? kind : 0];
    int level = levels_[index];
    int amount;
    if (level & 0x80)
        amount = rule.bit7;
    else if (level & 0x40)
        amount = rule.bit6;
    else if (level & 0x20)
        amount = rule.bit5;
    else if (level > rule.floor)
        amount = rule.above;
    else
        amount = level;
    level = std::max(0, level - amount);
    levels_[index] = static_cast<uint8_t>(level);
    return (255 - level) * (kColourWheelSize - 1) / 255;
}

void LightingPreview::MarkFirstLeds() {
    for (int i = 0; i < kWaveRingLit; ++i)
        if (waveRing_[i] != 0) levels_[i] = 255;
}

void LightingPreview::RotateWaveRing(int direction) {
    if (direction == 0)
        std::rotate(waveRing_.begin(), waveRing_.begin() + 1, waveRing_.end());
    else
        std::rotate(waveRing_.rbegin(), waveRing_.rbegin() + 1, waveRing_.rend());
}

void LightingPreview::ClearState() {
    levels_.fill(0);
    waveRing_.fill(0);
}

}  // namespace device
