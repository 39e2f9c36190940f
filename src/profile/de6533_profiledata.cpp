#include "profile/de6533_profiledata.h"

#include <cmath>

#include "os/debug_output.h"
#include "profile/json_access.h"
#include "profile/record_fields.h"

namespace profile {
namespace {

using SystemField = RecordField<HeadsetSystemSettings, int>;
constexpr SystemField kSystemMembers[] = {
    {"MagicEnable", &HeadsetSystemSettings::magicEnable},
    {"MagicType", &HeadsetSystemSettings::magicType},
    {"EqType", &HeadsetSystemSettings::eqType},
    {"CustomEqSeletIndex", &HeadsetSystemSettings::customEqSelectIndex},
    {"MicInSelect", &HeadsetSystemSettings::micInSelect},
    {"MicInValue", &HeadsetSystemSettings::micInValue},
    {"MicMoniterSelect", &HeadsetSystemSettings::micMonitorSelect},
    {"MicMoniterValue", &HeadsetSystemSettings::micMonitorValue},
};

// The stored index of a preset, or -1 for the custom preset.
int PresetIndex(int preset) {
    if (preset == CDe6533Profiledata::kCustomPreset) return -1;
    if (preset < 1 || preset > 12) return 1;
    return preset;
}

bool Allowed(int index, int band) {
    if (!CBasicProfiledata::IndexAllowed(index, "equaliser")) return false;
    if (band >= 0 && band < CDe6533Profiledata::kBandCount) return true;
    os::DebugOutput("profile: equaliser band " + std::to_string(band) + " refused\n");
    return false;
}

}  // namespace

HeadsetSystemSettings CDe6533Profiledata::ReadHeadsetSystem() {
    system_ = ReadRecordMember(currentSection_, "SystemSetStages", kSystemMembers);
    return system_;
}

void CDe6533Profiledata::WriteHeadsetSystem(const HeadsetSystemSettings& values) {
    system_ = values;
    WriteRecordMember(currentSection_, "SystemSetStages", values, kSystemMembers);
}

std::vector<int> CDe6533Profiledata::ReadBands(const char* member, int index,
                                               std::vector<int>& cache) {
    cache.assign(kBandCount, 0);
    if (!Allowed(index, 0)) return cache;
    Json::Value& bands = WritableElement(WritableMember(currentSection_, member),
                                         static_cast<Json::ArrayIndex>(index));
    for (int b = 0; b < kBandCount; ++b) {
        Json::Value& band = WritableElement(bands, static_cast<Json::ArrayIndex>(b));
        if (band.isObject()) {
            cache[static_cast<std::size_t>(b)] =
                static_cast<int>(JsonInt(JsonMember(band, "value")));
        } else {
            band = Json::Value(Json::objectValue);
            band["value"] = 0;
        }
    }
    return cache;
}

void CDe6533Profiledata::WriteBand(const char* member, int index, int band, int value) {
    if (!Allowed(index, band)) return;
    Json::Value& bands = WritableElement(WritableMember(currentSection_, member),
                                         static_cast<Json::ArrayIndex>(index));
    WritableMember(WritableElement(bands, static_cast<Json::ArrayIndex>(band)), "value") = value;
}

std::vector<int> CDe6533Profiledata::ReadEqBands(int preset) {
    const int index = PresetIndex(preset);
    if (index < 0) return {};
    return ReadBands("EQHzValueInfo", index, eqBands_);
}

void CDe6533Profiledata::WriteEqBand(int preset, int band, int value) {
    const int index = PresetIndex(preset);
    if (index >= 0) WriteBand("EQHzValueInfo", index, band, value);
}

std::vector<int> CDe6533Profiledata::ReadCustomEqBands(int n) {
    return ReadBands("CustomEQHzValueInfo", n, customEqBands_);
}

void CDe6533Profiledata::WriteCustomEqBand(int n, int band, int value) {
    WriteBand("CustomEQHzValueInfo", n, band, value);
}

std::vector<std::string> CDe6533Profiledata::ReadCustomEqNames() {
    std::vector<std::string> names;
    const Json::Value& list = JsonMember(currentSection_, "CustomEQNameInfo");
    if (!list.isArray()) return names;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        names.push_back(TextFromJson(JsonMember(list[i], "Name")));
    return names;
}

void CDe6533Profiledata::WriteCustomEqNames(const std::vector<std::string>& names) {
    Json::Value list(Json::arrayValue);
    for (const std::string& name : names) {
        Json::Value entry(Json::objectValue);
        entry["Name"] = JsonFromText(name);
        list.append(entry);
    }
    WritableMember(currentSection_, "CustomEQNameInfo") = list;
}

std::vector<CDe6533Profiledata::AudioEffectValue> CDe6533Profiledata::ReadAudioEffectValues()
    const {
    std::vector<AudioEffectValue> values;
    const Json::Value& kept = JsonMember(currentSection_, "AudioEffectValues");
    if (!kept.isObject()) return values;
    for (const std::string& key : kept.getMemberNames()) {
        const Json::Value& v = kept[key];
        if (v.isNumeric())
            values.emplace_back(key, v.asDouble());
        else
            os::DebugOutput("profile: audio effect value \"" + key + "\" is not a number\n");
    }
    return values;
}

void CDe6533Profiledata::WriteAudioEffectValues(const std::vector<AudioEffectValue>& values) {
    Json::Value kept(Json::objectValue);
    for (const auto& [key, value] : values) {
        if (!std::isfinite(value)) {
            os::DebugOutput("profile: audio effect value \"" + key + "\" is not a number\n");
            continue;  // JSON has no such numbers: the file would not read back
        }
        // Whole numbers as integers, as every other value of a profile.
        if (std::floor(value) == value && std::abs(value) < 1e9)
            kept[key] = static_cast<Json::Int>(value);
        else
            kept[key] = value;
    }
    WritableMember(currentSection_, "AudioEffectValues") = kept;
}

}  // namespace profile
