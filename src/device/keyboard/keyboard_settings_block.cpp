#include "device/keyboard/keyboard_settings_block.h"

#include <algorithm>

namespace device::keyboard {

namespace {

using R = profile::LightingRecord;

// The modes whose colours the program streams: the keyboard keeps its last effect meanwhile.
constexpr bool IsStreamedCode(int code) {
    return code == 29 || code == 30;
}

uint8_t Level(uint8_t value, int* outOfRange) {
    if (value <= kMaxLevel) return value;
    ++*outOfRange;
    return kMaxLevel;
}

uint8_t Flag(uint8_t value, int* outOfRange) {
    if (value <= 1) return value;
    ++*outOfRange;
    return 1;
}

}  // namespace

uint16_t SettingsBlockAddress(int slot) {
    if (slot < 0 || slot > kMaxActiveIndex) slot = 0;
    return static_cast<uint16_t>(slot * kSettingsSlotStride);
}

uint8_t ModeCodeOf(int modeIndex, LightModeCodes codes) {
    const int code = modeIndex >= 0 && static_cast<size_t>(modeIndex) < codes.size()
                         ? codes[modeIndex]
                         : modeIndex;
    if (IsStreamedCode(code)) return kStreamedModeCode;
    return static_cast<uint8_t>(code);
}

SettingsBlock EncodeSettingsBlock(const profile::LightingRecord& r,
                                  const profile::KeyboardSystemSettings& system,
                                  LightModeCodes codes, std::array<uint8_t, 2> keptBytes,
                                  uint8_t activeValue) {
    SettingsBlock b{};
    b[0] = activeValue;
    b[1] = ModeCodeOf(r[R::kMode], codes);
    b[2] = r[R::kBrightness];
    b[3] = static_cast<uint8_t>(kMaxLevel - std::min<int>(r[R::kSpeed], kMaxLevel));
    b[4] = r[R::kDirection];
    b[5] = r[R::kColourful];
    b[6] = r[R::kRed];
    b[7] = r[R::kGreen];
    b[8] = r[R::kBlue];
    b[10] = keptBytes[0];
    b[11] = keptBytes[1];
    b[18] = r[R::kExtraMode];
    b[19] = static_cast<uint8_t>(system.wFlag);
    b[20] = static_cast<uint8_t>(system.key6Flag);
    b[21] = static_cast<uint8_t>(system.winFlag);
    b[22] = static_cast<uint8_t>(system.pollingRate);
    b[25] = r[R::kLightPage];
    return b;
}

DecodedSettings DecodeSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> b,
                                    const profile::LightingRecord& current,
                                    const profile::KeyboardSystemSettings& currentSystem,
                                    LightModeCodes codes) {
    DecodedSettings d;
    d.record = current;
    d.system = currentSystem;
    d.activeIndex = b[0];
    if (d.activeIndex > kMaxActiveIndex) {
        ++d.outOfRange;
        d.activeIndex = 0;
    }

    const uint8_t code = b[1];
    const auto found = std::find(codes.begin(), codes.end(), static_cast<int>(code));
    if (found != codes.end()) {
        d.record[R::kMode] = static_cast<uint8_t>(found - codes.begin());
    } else if (code == kStreamedModeCode || !codes.empty()) {
        d.modeKept = true;
        if (code != kStreamedModeCode) ++d.outOfRange;
    } else {
        d.record[R::kMode] = code;  // no list to look in: the code is the index
    }

    d.record[R::kBrightness] = Level(b[2], &d.outOfRange);
    d.record[R::kSpeed] = static_cast<uint8_t>(kMaxLevel - Level(b[3], &d.outOfRange));
    d.record[R::kDirection] = Flag(b[4], &d.outOfRange);
    d.record[R::kColourful] = Flag(b[5], &d.outOfRange);
    d.record[R::kRed] = b[6];
    d.record[R::kGreen] = b[7];
    d.record[R::kBlue] = b[8];
    d.keptBytes = {b[10], b[11]};
    d.record[R::kExtraMode] = b[18];
    d.record[R::kLightPage] = b[25];
    if (b[25] > kMaxLightPage) {
        ++d.outOfRange;
        d.record[R::kLightPage] = 0;
    }
    d.system.wFlag = Flag(b[19], &d.outOfRange);
    d.system.key6Flag = Flag(b[20], &d.outOfRange);
    d.system.winFlag = Flag(b[21], &d.outOfRange);
    return d;
}

int RepeatDelayOption(uint16_t repeatDelay) {
    return repeatDelay <= 3 ? repeatDelay : 0;
}

int RepeatDelayMs(int option) {
    return (option >= 0 && option <= 3 ? option : 0) * 250 + 250;
}

int PollingRateOption(uint16_t pollingRate) {
    return pollingRate <= 3 ? pollingRate : 0;
}

}  // namespace device::keyboard
