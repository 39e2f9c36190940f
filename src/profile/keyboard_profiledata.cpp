#include "profile/keyboard_profiledata.h"

#include "profile/json_access.h"
#include "profile/record_fields.h"

namespace profile {
namespace {

using SystemField = RecordField<KeyboardSystemSettings, std::uint16_t>;
constexpr SystemField kSystemMembers[] = {
    {"Repeat", &KeyboardSystemSettings::repeat},
    {"RepeatDelay", &KeyboardSystemSettings::repeatDelay},
    {"Key6Flag", &KeyboardSystemSettings::key6Flag},
    {"PollingRate", &KeyboardSystemSettings::pollingRate},
    {"WFlag", &KeyboardSystemSettings::wFlag},
    {"WinFlag", &KeyboardSystemSettings::winFlag},
};

using ColourField = RecordField<KeyColour, std::uint8_t>;
constexpr ColourField kColourMembers[] = {
    {"Red", &KeyColour::red},
    {"Green", &KeyColour::green},
    {"Blue", &KeyColour::blue},
    {"Alpha", &KeyColour::alpha},
};

bool GroupAllowed(int group, int count) {
    return CBasicProfiledata::IndexAllowed(group, "custom colour group") &&
           CBasicProfiledata::IndexAllowed(count, "custom colour count");
}

}  // namespace

KeyboardSystemSettings CKeyboardProfiledata::ReadKeyboardSystem() {
    system_ = ReadRecordMember(currentSection_, "SystemStages", kSystemMembers);
    return system_;
}

void CKeyboardProfiledata::WriteKeyboardSystem(const KeyboardSystemSettings& values) {
    system_ = values;
    WriteRecordMember(currentSection_, "SystemStages", values, kSystemMembers);
}

int CKeyboardProfiledata::ReadCustomGroupIndex() {
    customGroupIndex_ = static_cast<int>(JsonInt(
        JsonMember(JsonMember(currentSection_, "CustomLightMode"), "CustomLightModeGroupIndex")));
    return customGroupIndex_;
}

void CKeyboardProfiledata::WriteCustomGroupIndex(int group) {
    customGroupIndex_ = group;
    WritableMember(WritableMember(currentSection_, "CustomLightMode"),
                   "CustomLightModeGroupIndex") = group;
}

std::vector<KeyColour> CKeyboardProfiledata::ReadCustomGroupColours(int group, int count) {
    if (!GroupAllowed(group, count)) return ReadCustomGroupColoursNoFill(group, count);
    Json::Value& colours = WritableElement(
        WritableMember(WritableMember(currentSection_, "CustomLightMode"), "LightColorInfo"),
        static_cast<Json::ArrayIndex>(group));
    std::vector<KeyColour> list;
    for (int i = 0; i < count; ++i) {
        Json::Value& element = WritableElement(colours, static_cast<Json::ArrayIndex>(i));
        KeyColour colour;
        if (element.isObject()) {
            ReadRecordFields(element, colour, kColourMembers);
        } else {
            element = Json::Value(Json::objectValue);
            WriteRecordFields(element, colour, kColourMembers);
        }
        list.push_back(colour);
    }
    groupColours_ = list;
    return groupColours_;
}

std::vector<KeyColour> CKeyboardProfiledata::ReadCustomGroupColoursNoFill(int group,
                                                                          int count) const {
    std::vector<KeyColour> list(static_cast<std::size_t>(count > 0 ? count : 0));
    if (group < 0) return list;
    const Json::Value& colours =
        JsonElement(JsonMember(JsonMember(currentSection_, "CustomLightMode"), "LightColorInfo"),
                    static_cast<Json::ArrayIndex>(group));
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Json::Value& element = JsonElement(colours, static_cast<Json::ArrayIndex>(i));
        if (element.isObject()) ReadRecordFields(element, list[i], kColourMembers);
    }
    return list;
}

void CKeyboardProfiledata::WriteCustomGroupColours(const std::vector<KeyColour>& list) {
    if (list.empty()) return;
    if (!GroupAllowed(customGroupIndex_, static_cast<int>(list.size()))) return;
    Json::Value& colours = WritableElement(
        WritableMember(WritableMember(currentSection_, "CustomLightMode"), "LightColorInfo"),
        static_cast<Json::ArrayIndex>(customGroupIndex_));
    for (std::size_t i = 0; i < list.size(); ++i) {
        WriteRecordFields(WritableElement(colours, static_cast<Json::ArrayIndex>(i)), list[i],
                          kColourMembers);
    }
}

}  // namespace profile
