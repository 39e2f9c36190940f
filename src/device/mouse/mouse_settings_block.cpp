#include "device/mouse/mouse_settings_block.h"

#include <algorithm>

#include "device/mouse/mouse_log.h"

namespace device::mouse {

namespace {

using profile::LightingRecord;

// value within 0..highest; the nearest end otherwise, with a note naming what.
int Bounded(int value, int highest, const char* what, std::vector<std::string>* notes) {
    if (value >= 0 && value <= highest) return value;
    const int kept = std::clamp(value, 0, highest);
    LogMouseProblem(notes, std::string(what) + " " + std::to_string(value) + " is out of range; " +
                               std::to_string(kept) + " is used");
    return kept;
}

// value within 0..highest; 0 otherwise: the page shows its first option for anything else.
int OrFirst(int value, int highest, const char* what, std::vector<std::string>* notes) {
    if (value >= 0 && value <= highest) return value;
    LogMouseProblem(
        notes, std::string(what) + " " + std::to_string(value) + " is out of range; 0 is used");
    return 0;
}

uint8_t ByteOf(uint16_t value, const char* what, std::vector<std::string>* notes) {
    return static_cast<uint8_t>(Bounded(value, 0xFF, what, notes));
}

void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}

uint16_t Get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

std::optional<uint16_t> ProfileBlockAddress(int profile) {
    if (profile < 0 || profile >= kProfileCount) {
        LogMouseProblem(nullptr,
                        "profile " + std::to_string(profile) + " does not exist on the mouse");
        return std::nullopt;
    }
    return static_cast<uint16_t>(profile * kProfileStride);
}

uint8_t LightModeCode(std::span<const int> modeCodes, int index) {
    if (modeCodes.empty()) return static_cast<uint8_t>(std::clamp(index, 0, 0xFF));
    if (index < 0 || index > kHighestLightModeIndex ||
        static_cast<size_t>(index) >= modeCodes.size())
        index = 0;
    return static_cast<uint8_t>(modeCodes[static_cast<size_t>(index)]);
}

uint8_t LightModeIndex(std::span<const int> modeCodes, uint8_t code) {
    const auto found = std::find(modeCodes.begin(), modeCodes.end(), code);
    return found == modeCodes.end() ? code : static_cast<uint8_t>(found - modeCodes.begin());
}

SettingsBlock EncodeSettingsBlock(const MouseSettings& s, std::span<const int> modeCodes,
                                  std::vector<std::string>* notes) {
    SettingsBlock b{};
    const LightingRecord& light = s.lighting;
    b[block::kActive] = s.active;
    const int mode = light[LightingRecord::kMode];
    if (mode > kHighestLightModeIndex ||
        (!modeCodes.empty() && static_cast<size_t>(mode) >= modeCodes.size()))
        LogMouseProblem(notes, "light mode " + std::to_string(mode) + " is sent as mode 0");
    b[block::kLightMode] = LightModeCode(modeCodes, mode);
    b[block::kBrightness] = static_cast<uint8_t>(
        Bounded(light[LightingRecord::kBrightness], kHighestLightLevel, "brightness", notes));
    b[block::kSpeed] =
        static_cast<uint8_t>(kHighestLightLevel - Bounded(light[LightingRecord::kSpeed],
                                                          kHighestLightLevel, "speed", notes));
    b[block::kDirection] = light[LightingRecord::kDirection];
    b[block::kColourful] = light[LightingRecord::kColourful];
    b[block::kRed] = light[LightingRecord::kRed];
    b[block::kGreen] = light[LightingRecord::kGreen];
    b[block::kBlue] = light[LightingRecord::kBlue];

    const int stage =
        OrFirst(s.system.reportStage, kReportRateStageCount - 1, "report-rate stage", notes);
    b[block::kReportRate] = static_cast<uint8_t>(3 - stage);  // stage 4 wraps to 0xFF
    b[block::kActiveStage] =
        static_cast<uint8_t>(OrFirst(s.activeStage, kDpiStageCount - 1, "active DPI stage", notes));

    if (s.stages.size() > kDpiStageCount)
        LogMouseProblem(
            notes, std::to_string(s.stages.size()) + " DPI stages; the mouse takes the first 7");
    const size_t stages = std::min<size_t>(s.stages.size(), kDpiStageCount);
    for (size_t i = 0; i < stages; ++i) {
        const profile::DpiStage& st = s.stages[i];
        uint8_t* at = b.data() + block::kFirstStage + i * block::kStageSize;
        at[0] = st.enabled;
        at[1] = st.separateXY;
        Put16(at + 2, st.dpiX);
        Put16(at + 4, st.dpiY);
        at[6] = st.red;
        at[7] = st.green;
        at[8] = st.blue;
    }

    b[block::kBleSleep1] = ByteOf(s.system.bleSleep1, "wireless sleep 1", notes);
    b[block::kBleSleep2] = ByteOf(s.system.bleSleep2, "wireless sleep 2", notes);
    b[block::kDeviceSleep1] = ByteOf(s.system.deviceSleep1, "device sleep 1", notes);
    b[block::kDeviceSleep2] = ByteOf(s.system.deviceSleep2, "device sleep 2", notes);
    b[block::kAntiShake] = ByteOf(s.system.antiShakeTime, "debounce time", notes);
    b[block::kLogoLedMode] = ByteOf(s.system.logoLedMode, "logo LED mode", notes);
    return b;
}

MouseSettings DecodeSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> b,
                                  std::span<const int> modeCodes, const MouseSettings& current,
                                  std::vector<std::string>* notes) {
    MouseSettings s = current;
    s.active = b[block::kActive];

    LightingRecord& light = s.lighting;
    const uint8_t code = b[block::kLightMode];
    light[LightingRecord::kMode] = LightModeIndex(modeCodes, code);
    if (!modeCodes.empty() &&
        std::find(modeCodes.begin(), modeCodes.end(), code) == modeCodes.end())
        LogMouseProblem(
            notes, "light mode code " + std::to_string(code) + " is not in the light mode list");
    light[LightingRecord::kBrightness] = static_cast<uint8_t>(
        Bounded(b[block::kBrightness], kHighestLightLevel, "brightness", notes));
    light[LightingRecord::kSpeed] = static_cast<uint8_t>(
        Bounded(kHighestLightLevel - b[block::kSpeed], kHighestLightLevel, "speed", notes));
    light[LightingRecord::kColourful] = b[block::kColourful];
    light[LightingRecord::kRed] = b[block::kRed];
    light[LightingRecord::kGreen] = b[block::kGreen];
    light[LightingRecord::kBlue] = b[block::kBlue];

    // The byte holds 3 minus the stage in 8 bits: read it back as a signed byte.
    const int stage = 3 - static_cast<int8_t>(b[block::kReportRate]);
    s.system.reportStage = static_cast<uint16_t>(
        OrFirst(stage, kReportRateStageCount - 1, "report-rate stage", notes));
    s.activeStage = OrFirst(b[block::kActiveStage], kDpiStageCount - 1, "active DPI stage", notes);

    s.stages.assign(kDpiStageCount, {});
    for (size_t i = 0; i < kDpiStageCount; ++i) {
        const uint8_t* at = b.data() + block::kFirstStage + i * block::kStageSize;
        s.stages[i] = {at[0], at[1], Get16(at + 2), Get16(at + 4), at[6], at[7], at[8]};
    }

    s.system.bleSleep1 = b[block::kBleSleep1];
    s.system.bleSleep2 = b[block::kBleSleep2];
    s.system.deviceSleep1 = b[block::kDeviceSleep1];
    s.system.deviceSleep2 = b[block::kDeviceSleep2];
    s.system.antiShakeTime = b[block::kAntiShake];
    s.system.logoLedMode = b[block::kLogoLedMode];
    return s;
}

int StageSliderPosition(const profile::DpiStage& stage) {
    return std::min<int>(stage.dpiX & 0xFF, kMaxEncodedDpi);
}

bool SetStageFromSlider(std::vector<profile::DpiStage>& stages, int stage, int position) {
    if (stage < 0 || stage >= kDpiStageCount) {
        LogMouseProblem(nullptr,
                        "DPI stage " + std::to_string(stage) + " does not exist on the mouse");
        return false;
    }
    if (stages.size() <= static_cast<size_t>(stage)) stages.resize(static_cast<size_t>(stage) + 1);
    // The mouse takes the position in both bytes of X.
    const uint16_t v = static_cast<uint16_t>(std::clamp(position, 0, kMaxEncodedDpi));
    stages[static_cast<size_t>(stage)].dpiX = static_cast<uint16_t>(v << 8 | v);
    return true;
}

int SleepMinutes(const profile::MouseSystemSettings& system) {
    return std::min(system.deviceSleep1, system.deviceSleep2);
}

}  // namespace device::mouse
