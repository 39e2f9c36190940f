#include "profile/mouse_profiledata.h"

#include "profile/json_access.h"
#include "profile/record_fields.h"

namespace profile {
namespace {

using SystemField = RecordField<MouseSystemSettings, std::uint16_t>;

// The Windows-side values and the logo and debounce settings.
constexpr SystemField kSystemMembers[] = {
    {"DoubleClickTime", &MouseSystemSettings::doubleClickTime},
    {"MouseSpeed", &MouseSystemSettings::mouseSpeed},
    {"PointerPrecision", &MouseSystemSettings::pointerPrecision},
    {"ScorllPage", &MouseSystemSettings::scrollPage},
    {"WheelScorlllinse", &MouseSystemSettings::wheelScrollLines},
    {"Logoledmode", &MouseSystemSettings::logoLedMode},
    {"AntiShakeTime", &MouseSystemSettings::antiShakeTime},
};

// The report rate and the sleep timers.
constexpr SystemField kReportMembers[] = {
    {"StageActive", &MouseSystemSettings::reportStage},
    {"ble_sleep1", &MouseSystemSettings::bleSleep1},
    {"ble_sleep2", &MouseSystemSettings::bleSleep2},
    {"device_sleep1", &MouseSystemSettings::deviceSleep1},
    {"device_sleep2", &MouseSystemSettings::deviceSleep2},
};

using StageByte = RecordField<DpiStage, std::uint8_t>;
using StageWord = RecordField<DpiStage, std::uint16_t>;
constexpr StageByte kStageByteMembers[] = {
    {"StageActive", &DpiStage::enabled}, {"StageXY", &DpiStage::separateXY},
    {"StageColorR", &DpiStage::red},     {"StageColorG", &DpiStage::green},
    {"StageColorB", &DpiStage::blue},
};
constexpr StageWord kStageWordMembers[] = {
    {"StageDPIX", &DpiStage::dpiX},
    {"StageDPIY", &DpiStage::dpiY},
};

}  // namespace

std::vector<DpiStage> CMouseProfiledata::ReadDpiStages() {
    const Json::Value& dpi = JsonMember(currentSection_, "DPIStages");
    if (!dpi.isObject()) return dpiStages_;
    activeDpiStage_ = static_cast<int>(JsonInt(JsonMember(dpi, "StageActive")));
    const Json::Value& stored = JsonMember(dpi, "StageDPIs");
    if (!stored.isArray()) return dpiStages_;
    if (dpiStages_.size() < stored.size()) dpiStages_.resize(stored.size());
    for (Json::ArrayIndex i = 0; i < stored.size(); ++i) {
        DpiStage stage;
        if (stored[i].isObject()) {
            ReadRecordFields(stored[i], stage, kStageByteMembers);
            ReadRecordFields(stored[i], stage, kStageWordMembers);
        }
        dpiStages_[i] = stage;
    }
    return dpiStages_;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages) {
    dpiStages_ = stages;
    if (stages.empty()) return;
    Json::Value& stored = WritableMember(WritableMember(currentSection_, "DPIStages"), "StageDPIs");
    for (std::size_t i = 0; i < stages.size(); ++i) {
        Json::Value& stage = WritableElement(stored, static_cast<Json::ArrayIndex>(i));
        WriteRecordFields(stage, stages[i], kStageByteMembers);
        WriteRecordFields(stage, stages[i], kStageWordMembers);
    }
}

void CMouseProfiledata::SetActiveDpiStage(int stage) {
    activeDpiStage_ = stage;
    WritableMember(WritableMember(currentSection_, "DPIStages"), "StageActive") = stage;
}

MouseSystemSettings CMouseProfiledata::ReadMouseSystem() {
    MouseSystemSettings values;
    const Json::Value& system = JsonMember(currentSection_, "SystemStages");
    if (system.isObject()) {
        ReadRecordFields(system, values, kSystemMembers);
        const Json::Value& report = JsonMember(currentSection_, "ReportStages");
        if (report.isObject()) ReadRecordFields(report, values, kReportMembers);
    }
    system_ = values;
    return system_;
}

void CMouseProfiledata::WriteMouseSystem(const MouseSystemSettings& values) {
    system_ = values;
    WriteRecordMember(currentSection_, "SystemStages", values, kSystemMembers);
    WriteRecordMember(currentSection_, "ReportStages", values, kReportMembers);
}

}  // namespace profile
