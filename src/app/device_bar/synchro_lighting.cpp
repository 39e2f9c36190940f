#include "app/device_bar/synchro_lighting.h"

#include "device/preview_tables.h"

namespace app {

namespace {

using profile::LightingRecord;

int BrightnessValue(uint8_t index) {
    return device::kBrightnessTable[index < device::kBrightnessTable.size() ? index : 4];
}

}  // namespace

const SynchroModeRow* SynchroModesOf(int kind) {
    switch (kind) {
        case 1:
        case 9:
            return &kKeyboardSynchroModes;
        case 2:
        case 6:
            return &kMouseSynchroModes;
        case 3:
        case 7:
            return &kPadHeadsetSynchroModes;
        default:
            return nullptr;
    }
}

std::optional<SynchroMode> SynchroModeOf(int kind, int lightMode) {
    const SynchroModeRow* row = SynchroModesOf(kind);
    if (row == nullptr) return std::nullopt;
    for (int m = 0; m < kSynchroModeCount; ++m)
        if (row->modes[m] == lightMode) return static_cast<SynchroMode>(m);
    return std::nullopt;
}

std::optional<uint8_t> LightModeOf(int kind, SynchroMode mode) {
    const SynchroModeRow* row = SynchroModesOf(kind);
    if (row == nullptr) return std::nullopt;
    return row->modes[static_cast<int>(mode)];
}

void SynchroLighting::Set(SynchroMode mode, const LightingRecord& r) {
    std::lock_guard<std::mutex> lock(lock_);
    mode_ = mode;
    brightness_ = r[LightingRecord::kBrightness];
    speed_ = r[LightingRecord::kSpeed];
    direction_ = r[LightingRecord::kDirection];
    colourful_ = r[LightingRecord::kColourful];
    red_ = r[LightingRecord::kRed];
    green_ = r[LightingRecord::kGreen];
    blue_ = r[LightingRecord::kBlue];
    fourth_ = r[8];
}

SynchroMode SynchroLighting::mode() const {
    std::lock_guard<std::mutex> lock(lock_);
    return mode_;
}

int SynchroLighting::speed() const {
    std::lock_guard<std::mutex> lock(lock_);
    return speed_;
}

std::optional<LightingRecord> SynchroLighting::RecordFor(int kind) const {
    std::lock_guard<std::mutex> lock(lock_);
    const std::optional<uint8_t> lightMode = LightModeOf(kind, mode_);
    if (!lightMode) return std::nullopt;
    LightingRecord r;
    r[LightingRecord::kMode] = *lightMode;
    r[LightingRecord::kBrightness] = brightness_;
    r[LightingRecord::kSpeed] = speed_;
    r[LightingRecord::kDirection] = direction_;
    r[LightingRecord::kColourful] = colourful_;
    r[LightingRecord::kRed] = red_;
    r[LightingRecord::kGreen] = green_;
    r[LightingRecord::kBlue] = blue_;
    r[8] = fourth_;
    return r;
}

device::LedColour SynchroLighting::Step(int64_t nowMs) {
    std::lock_guard<std::mutex> lock(lock_);
    const int size = device::kColourWheelSize;
    const device::Rgb fixed{red_, green_, blue_};
    auto wheel = [&] { return device::kColourWheel[colourPosition_ % size]; };
    auto colour = [](device::Rgb c, int level) {
        return device::LedColour{c.red, c.green, c.blue, static_cast<uint8_t>(level)};
    };
    const int bright = BrightnessValue(brightness_);
    switch (mode_) {
        case SynchroMode::kBreathing: {
            const int n = device::kBreathingCurveSize;
            ramp_ = direction_ == 0 ? (ramp_ + 1) % n : (ramp_ + n - 1) % n;
            if (colourful_ != 0 && ramp_ < 2) colourPosition_ = colourPosition_ % (size - 16) + 16;
            const int level = bright * device::kBreathingCurve[ramp_] / 256;
            return colour(colourful_ != 0 ? wheel() : fixed, level);
        }
        case SynchroMode::kStatic:
            return colour(fixed, bright);
        case SynchroMode::kBlink: {
            const int64_t period =
                int64_t{device::SpeedTableValue(device::PreviewPace::kBlink, speed_)} * 200;
            if (lastToggleMs_ < 0 || nowMs - lastToggleMs_ >= period) {
                lastToggleMs_ = nowMs;
                on_ = !on_;
                colourPosition_ += 14;
                if (colourPosition_ >= size) colourPosition_ = 0;
            }
            if (!on_) return {};
            return colour(colourful_ != 0 ? wheel() : fixed, bright);
        }
        case SynchroMode::kSpectrum:
            colourPosition_ = colourPosition_ % (size - 1) + 1;
            return colour(wheel(), bright);
        case SynchroMode::kOff:
            return {};
    }
    return {};
}

}  // namespace app
