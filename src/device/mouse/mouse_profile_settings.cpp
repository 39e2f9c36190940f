#include "device/mouse/mouse_profile_settings.h"

#include <algorithm>

namespace device::mouse {

MouseSettings SettingsFromProfile(profile::CMouseProfiledata& doc) {
    MouseSettings s;
    s.lighting = doc.ReadLightInfo();
    s.system = doc.ReadMouseSystem();
    s.stages = doc.ReadDpiStages();
    s.activeStage = doc.GetActiveDpiStage();
    return s;
}

void ApplyReadToProfile(profile::CMouseProfiledata& doc, const MouseSettings& read) {
    doc.WriteLightInfo(read.lighting);
    doc.WriteMouseSystem(read.system);
    doc.SetActiveDpiStage(read.activeStage);
}

int ReportRateOption(int stage) {
    return stage >= 0 && stage < kReportRateStageCount ? stage : 0;
}

int SoleEnabledStage(const std::vector<profile::DpiStage>& stages) {
    int found = -1;
    const size_t n = std::min<size_t>(stages.size(), kDpiStageCount);
    for (size_t i = 0; i < n; ++i) {
        if (stages[i].enabled == 0) continue;
        if (found >= 0) return -1;
        found = static_cast<int>(i);
    }
    return found;
}

void SetPointerSlider(profile::MouseSystemSettings& system, PointerSlider slider, int position) {
    const auto value = static_cast<uint16_t>(std::clamp(position, 0, 0xFFFF));
    switch (slider) {
        case PointerSlider::kDoubleClick:
            system.doubleClickTime = value;
            break;
        case PointerSlider::kPointerSpeed:
            system.mouseSpeed = value;
            break;
        case PointerSlider::kScrollSpeed:
            system.wheelScrollLines = value;
            system.scrollPage = 0;
            break;
    }
}

}  // namespace device::mouse
