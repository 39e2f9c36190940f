#include "profile/basic_profiledata.h"

#include <optional>

#include "os/debug_output.h"
#include "profile/json_access.h"
#include "profile/record_fields.h"
#include "profile/text_helpers.h"

namespace profile {
namespace {

struct LightInfoMember {
    const char* member;
    std::size_t byte;
    bool flag;
};

// "LightInfo" members and their bytes in the lighting record.
constexpr LightInfoMember kLightInfoMembers[] = {
    {"SelectItem", LightingRecord::kMode, false},
    {"Light", LightingRecord::kBrightness, false},
    {"Speed", LightingRecord::kSpeed, false},
    {"Fx", LightingRecord::kDirection, false},
    {"MultiColor", LightingRecord::kColourful, true},
    {"Red", LightingRecord::kRed, false},
    {"Green", LightingRecord::kGreen, false},
    {"Blue", LightingRecord::kBlue, false},
    {"ZZCCLedMode", LightingRecord::kExtraMode, false},
    {"CustomGroup", LightingRecord::kLightPage, false},
    {"OldLedmode", LightingRecord::kOldMode, false},
};

using AudioField = RecordField<AudioLightingRecord, std::uint8_t>;
constexpr AudioField kAudioLightMembers[] = {
    {"AudioMode", &AudioLightingRecord::mode},
    {"BkColorR", &AudioLightingRecord::backgroundRed},
    {"BkColorG", &AudioLightingRecord::backgroundGreen},
    {"BkColorB", &AudioLightingRecord::backgroundBlue},
    {"FgColorR", &AudioLightingRecord::foregroundRed},
    {"FgColorG", &AudioLightingRecord::foregroundGreen},
    {"FgColorB", &AudioLightingRecord::foregroundBlue},
    {"7ColorFlags", &AudioLightingRecord::colourful, true},
    {"ColorTypeFlags", &AudioLightingRecord::colourType, true},
};

std::uint8_t ByteMember(const Json::Value& object, const char* member) {
    return static_cast<std::uint8_t>(JsonInt(JsonMember(object, member)));
}

// A key's stored code. Absent or of the wrong type it reads as no function, as absent members do;
// a number outside 24 bits is no code at all.
std::optional<keys::AssignmentCode> StoredCode(const Json::Value& value) {
    if (value.isNumeric() && (value.asDouble() < 0 || value.asDouble() > 0xFFFFFF))
        return std::nullopt;
    return keys::AssignmentCode::FromStoredValue(JsonInt(value));
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void CBasicProfiledata::SetProfilePath(const std::string& path) {
    if (!path.empty()) profilePath_ = path;
}

void CBasicProfiledata::SetDefaultPath(const std::string& path) {
    if (!path.empty()) defaultPath_ = path;
}

bool CBasicProfiledata::IndexAllowed(int index, const char* what) {
    if (index >= 0 && index <= kMaxIndex) return true;
    os::DebugOutput(std::string("profile: ") + what + " " + std::to_string(index) + " refused\n");
    return false;
}

void CBasicProfiledata::SetDeviceSlot(int slot) {
    if (IndexAllowed(slot, "device slot")) deviceSlot_ = slot;
}

bool CBasicProfiledata::ReadDocumentForUpdate(const std::string& path, Json::Value& root) {
    JsonFile::ReadResult result;
    root = jsonFile_.Read(path, &result);
    if (result == JsonFile::ReadResult::kUnreadable) {
        os::DebugOutput("profile: " + path + " cannot be read; it is left as it is\n");
        return false;
    }
    // A file that holds something other than a profile is not simply overwritten: it may be the
    // user's profile damaged, or another program's record, and either is worth keeping.
    if (!root.isObject()) {
        if (result != JsonFile::ReadResult::kNoText && !jsonFile_.KeepAside(path)) return false;
        root = Json::Value(Json::objectValue);
        return true;
    }
    // A "Device" or a section of the wrong type is kept the same way; the rest of the document (the
    // name, the other slots) stays in the file, and the write puts the part right.
    const Json::Value& devices = JsonMember(root, "Device");
    const Json::Value& section = JsonElement(devices, static_cast<Json::ArrayIndex>(deviceSlot_));
    const bool sound =
        (devices.isNull() || devices.isArray()) && (section.isNull() || section.isObject());
    return sound || jsonFile_.KeepAside(path);
}

Json::Value CBasicProfiledata::LoadInto(Json::Value& section, bool& unreadable,
                                        const std::string& path, LoadResult* result) {
    const auto slot = static_cast<Json::ArrayIndex>(deviceSlot_);
    JsonFile::ReadResult readResult;
    const Json::Value root = jsonFile_.Read(path, &readResult);
    unreadable = readResult == JsonFile::ReadResult::kUnreadable;
    if (&section == &currentSection_) profileName_ = TextFromJson(JsonMember(root, "profilename"));
    const Json::Value& stored = JsonElement(JsonMember(root, "Device"), slot);
    section = stored.isObject() ? stored : Json::Value();
    LoadResult outcome = LoadResult::kLoaded;
    if (section.isNull()) {
        const Json::Value defaults = jsonFile_.Read(defaultPath_);
        const Json::Value& fromTemplate = JsonElement(JsonMember(defaults, "Device"), slot);
        section = fromTemplate.isObject() ? fromTemplate : Json::Value();
        outcome = section.isObject() ? LoadResult::kFromTemplate : LoadResult::kNoSection;
        if (unreadable) {
            os::DebugOutput("profile: " + path +
                            " cannot be read; the factory settings are used and not saved\n");
            outcome = LoadResult::kUnreadable;
        } else if (section.isObject()) {
            // The section is stored at once, so that the file is complete from its first load on.
            WriteSection(section, path);
        }
    }
    if (result) *result = outcome;
    return section;
}

Json::Value CBasicProfiledata::LoadSection(const std::string& path, LoadResult* result) {
    return LoadInto(currentSection_, currentUnreadable_, path, result);
}

Json::Value CBasicProfiledata::LoadScratchSection(const std::string& path, LoadResult* result) {
    return LoadInto(scratchSection_, scratchUnreadable_, path, result);
}

bool CBasicProfiledata::Save() {
    return WriteSection(currentSection_, profilePath_);
}

bool CBasicProfiledata::WriteSection(const Json::Value& section, const std::string& path) {
    // A section that was never loaded would wipe the device's stored settings.
    if (!section.isObject()) {
        os::DebugOutput("profile: no device section to save into " + path + "\n");
        return false;
    }
    // Nor may a section that stands in for an unreadable file replace what the file holds once it
    // can be read again.
    if ((&section == &currentSection_ && currentUnreadable_) ||
        (&section == &scratchSection_ && scratchUnreadable_)) {
        os::DebugOutput("profile: " + path + " was not read; the section is not saved\n");
        return false;
    }
    Json::Value root;
    if (!ReadDocumentForUpdate(path, root)) return false;
    WritableElement(WritableMember(root, "Device"), static_cast<Json::ArrayIndex>(deviceSlot_)) =
        section;
    return jsonFile_.Write(root, path);
}

bool CBasicProfiledata::SaveScratchTo(const std::string& path) {
    return WriteSection(scratchSection_, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& root, const std::string& path) {
    return jsonFile_.Write(root, path);
}

Json::Value CBasicProfiledata::LoadLightLibrary(const std::string& path) {
    lightLibrary_ = jsonFile_.Read(path);
    lightLibraryFolder_ = FolderOf(path);
    return lightLibrary_;
}

std::vector<KeyAssignmentPair> CBasicProfiledata::ReadKeyListOf(const Json::Value& section) {
    std::vector<KeyAssignmentPair> list;
    const Json::Value& keys = JsonMember(section, "KeyList");
    if (!keys.isArray()) return list;
    list.reserve(keys.size());
    for (Json::ArrayIndex i = 0; i < keys.size(); ++i) {
        const Json::Value& key = keys[i];
        const auto position = static_cast<std::uint16_t>(i);
        const std::optional<keys::AssignmentCode> stored =
            StoredCode(JsonMember(key, "Assignment"));
        const std::optional<keys::AssignmentCode> factory =
            StoredCode(JsonMember(key, "DefaultAssignment"));
        if (!stored || !factory) {
            os::DebugOutput("profile: key " + std::to_string(i) +
                            " has a stored code outside 24 bits; it reads as its default\n");
        }
        const keys::AssignmentCode defaultCode = factory.value_or(keys::AssignmentCode{});
        list.push_back({{position, stored.value_or(defaultCode)}, {position, defaultCode}});
    }
    return list;
}

void CBasicProfiledata::WriteKeyListInto(Json::Value& section,
                                         const std::vector<KeyAssignmentPair>& list) {
    if (list.empty()) return;
    Json::Value& keys = WritableMember(section, "KeyList");
    for (std::size_t i = 0; i < list.size(); ++i) {
        WritableMember(WritableElement(keys, static_cast<Json::ArrayIndex>(i)), "Assignment") =
            static_cast<int>(list[i].current.code.ToStoredValue());
    }
}

std::vector<KeyAssignmentPair> CBasicProfiledata::ReadKeyList() {
    keyList_ = ReadKeyListOf(currentSection_);
    return keyList_;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyAssignmentPair>& list) {
    keyList_ = list;
    WriteKeyListInto(currentSection_, list);
}

std::vector<KeyAssignmentPair> CBasicProfiledata::ReadScratchKeyList() {
    scratchKeyList_ = ReadKeyListOf(scratchSection_);
    return scratchKeyList_;
}

void CBasicProfiledata::WriteScratchKeyList(const std::vector<KeyAssignmentPair>& list) {
    scratchKeyList_ = list;
    WriteKeyListInto(scratchSection_, list);
}

LightingRecord CBasicProfiledata::ReadLightInfo() {
    const Json::Value& info = JsonMember(currentSection_, "LightInfo");
    if (!info.isObject()) {
        lightingRecord_ = defaultLightingRecord_;
        return lightingRecord_;
    }
    LightingRecord record;
    for (const auto& m : kLightInfoMembers) {
        const Json::Value& v = JsonMember(info, m.member);
        record[m.byte] = m.flag ? (JsonBool(v) ? 1 : 0) : static_cast<std::uint8_t>(JsonInt(v));
    }
    lightingRecord_ = record;
    return lightingRecord_;
}

void CBasicProfiledata::WriteLightInfo(const LightingRecord& record) {
    Json::Value info(Json::objectValue);
    for (const auto& m : kLightInfoMembers)
        info[m.member] = m.flag ? (record[m.byte] != 0 ? 1 : 0) : static_cast<int>(record[m.byte]);
    WritableMember(currentSection_, "LightInfo") = info;
}

AudioLightingRecord CBasicProfiledata::ReadAudioLightInfo() {
    audioLighting_ = ReadRecordMember(currentSection_, "AudioLightInfo", kAudioLightMembers);
    return audioLighting_;
}

void CBasicProfiledata::WriteAudioLightInfo(const AudioLightingRecord& record) {
    audioLighting_ = record;
    Json::Value info(Json::objectValue);
    WriteRecordFields(info, record, kAudioLightMembers);
    WritableMember(currentSection_, "AudioLightInfo") = info;
}

std::vector<LightListEntry> CBasicProfiledata::ReadLightList() {
    lightList_.clear();
    const Json::Value& list = JsonMember(currentSection_, "LightList");
    if (list.isArray()) {
        lightList_.resize(list.size());
        for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
            const Json::Value& e = list[i];
            if (!e.isObject()) continue;
            LightListEntry& entry = lightList_[i];
            entry.mode = ByteMember(e, "LEDREGMode");
            entry.brightness = ByteMember(e, "LEDBrightness");
            entry.speed = ByteMember(e, "LEDSpeed");
            entry.direction = JsonBool(JsonMember(e, "LEDDirection"));
            entry.multiColour = JsonBool(JsonMember(e, "LEDMultiColor"));
            entry.red = ByteMember(e, "red");
            entry.green = ByteMember(e, "green");
            entry.blue = ByteMember(e, "blue");
            entry.present = 1;
        }
    }
    return lightList_;
}

std::vector<EffectFrame> CBasicProfiledata::ReadEffectFrames() {
    effectFrames_.clear();
    if (lightLibrary_.isNull()) return effectFrames_;
    const Json::Value& slotEntries = JsonElement(JsonMember(lightLibrary_, "LightInfo"),
                                                 static_cast<Json::ArrayIndex>(deviceSlot_));
    const Json::Value& entry = JsonElement(slotEntries, lightingRecord_[LightingRecord::kMode]);
    const std::string guid = TextFromJson(JsonMember(entry, "Guid"));
    if (guid.empty()) return effectFrames_;
    if (!IsSafeFileName(guid)) {
        os::DebugOutput("profile: effect name \"" + guid + "\" refused: it leaves its folder\n");
        return effectFrames_;
    }
    const Json::Value frames = jsonFile_.Read(lightLibraryFolder_ + guid + ".light");
    const Json::Value& list = JsonMember(frames, "LEDEffectList");
    if (!list.isArray()) return effectFrames_;
    effectFrames_.resize(list.size());
    for (Json::ArrayIndex k = 0; k < list.size(); ++k) {
        const Json::Value& e = list[k];
        EffectFrame& f = effectFrames_[k];
        f.mode = ByteMember(e, "LEDREGMode");
        f.brightness = ByteMember(e, "LEDBrightness");
        f.speed = ByteMember(e, "LEDSpeed");
        f.direction = ByteMember(e, "LEDDirection");
        f.multiColour = ByteMember(e, "LEDMultiColor");
        f.red = ByteMember(e, "red");
        f.green = ByteMember(e, "green");
        f.blue = ByteMember(e, "blue");
        f.time = static_cast<int>(JsonInt(JsonMember(e, "Time")));
        f.cycle = static_cast<int>(JsonInt(JsonMember(e, "Cyle")));
    }
    return effectFrames_;
}

}  // namespace profile
