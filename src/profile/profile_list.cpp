#include "profile/profile_list.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "os/debug_output.h"
#include "os/folders.h"
#include "profile/import_file.h"
#include "profile/json_access.h"
#include "profile/message_keys.h"
#include "profile/name_rules.h"
#include "profile/text_helpers.h"

namespace profile {
namespace {

void Log(const std::string& text) {
    os::DebugOutput("profile list: " + text + "\n");
}

using Result = ProfileList::Result;
using Status = ProfileList::Status;

Result Refused(Status status, std::string_view message = {}) {
    Result r;
    r.status = status;
    r.message = message;
    return r;
}

Result Done(int index) {
    Result r;
    r.status = Status::kDone;
    r.index = index;
    return r;
}

}  // namespace

void ProfileList::SetFolders(const std::string& userDataFolder,
                             const std::string& defaultTemplatePath) {
    folder_ = userDataFolder;
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
    templatePath_ = defaultTemplatePath;
}

bool ProfileList::Init() {
    if (folder_.empty()) return false;
    os::CreateDirectories(folder_);
    Load();
    return true;
}

std::vector<std::string> ProfileList::Names() const {
    return NamesOf(entries_);
}

std::string ProfileList::CurrentProfileId() const {
    return selected_ >= 0 && selected_ < Count() ? entries_[selected_].id : std::string();
}

std::string ProfileList::ProfilePathAt(int index) const {
    if (index < 0 || index >= Count()) return {};
    return folder_ + entries_[index].id + std::string(kProfileExtension);
}

std::vector<std::string> ProfileList::ProfilePaths() const {
    std::vector<std::string> paths;
    for (int i = 0; i < Count(); ++i) paths.push_back(ProfilePathAt(i));
    return paths;
}

// --- Loading and rebuilding ------------------------------------------------------------------

std::vector<ProfileList::Stored> ProfileList::ReadEntries(const Json::Value& list, int& selected,
                                                          bool& repaired) const {
    std::vector<Stored> entries;
    std::set<std::string> ids;
    const int storedSelection = selected;
    selected = 0;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const Json::Value& record = list[i];
        std::string id = StoredIdentifier(JsonMember(record, "profileUUID"));
        // The id becomes a file name: one that could name a file outside the folder, or the file
        // of an entry before it (whose deletion would take this one's file along), is refused.
        if (!record.isObject() || id.empty() || !ids.insert(id).second) {
            Log("entry " + std::to_string(i) + " of " + ListPath() +
                " names no profile file of its own and is dropped");
            repaired = true;
            continue;
        }
        if (static_cast<int>(i) == storedSelection) selected = static_cast<int>(entries.size());
        Stored s{{TextFromJson(JsonMember(record, "profilename")), std::move(id)}, record};
        entries.push_back(std::move(s));
    }
    // A profile without a name could not be told apart in the drop-down: it gets a default one.
    for (Stored& s : entries) {
        if (!IsBlank(s.entry.name)) continue;
        std::vector<std::string> names;
        for (const Stored& other : entries) names.push_back(other.entry.name);
        s.entry.name = FirstFreeNumberedName("profile", names);
        repaired = true;
    }
    return entries;
}

std::vector<ProfileList::Stored> ProfileList::RebuildFromFiles() const {
    std::vector<Stored> entries;
    for (Entry& found :
         FindStoredItems(folder_, kProfileExtension, "profilename", "profile", ListPath())) {
        entries.push_back({std::move(found), Json::Value()});
    }
    return entries;
}

void ProfileList::Load() {
    loaded_ = true;
    writable_ = true;
    stored_.clear();
    entries_.clear();
    const std::string path = ListPath();
    JsonFile::ReadResult result = JsonFile::ReadResult::kNoText;
    Json::Value doc = jsonFile_.Read(path, &result);
    const Json::Value& list = JsonMember(doc, "profilelist");
    const bool damaged = os::PathExists(path) && !list.isArray();

    int selected = static_cast<int>(JsonInt(JsonMember(doc, "profileselect")));
    bool repaired = false;
    std::vector<Stored> entries = ReadEntries(list, selected, repaired);
    document_ = doc.isObject() && !damaged ? doc : Json::Value(Json::objectValue);

    if (result == JsonFile::ReadResult::kUnreadable) {
        // It may hold the user's list: the profiles are found from their files, but the list is
        // not written over.
        writable_ = false;
    } else if ((damaged && result != JsonFile::ReadResult::kNoText) || repaired) {
        // What the file held is kept before it is replaced; when it cannot be, it is not
        // replaced either, and the list lives in memory only.
        writable_ = jsonFile_.KeepAside(path);
    }
    if (entries.empty()) {
        entries = RebuildFromFiles();
        selected = 0;
        repaired = true;
    }
    if (entries.empty()) {
        // A new device: one profile from the default template.
        const Entry first{"profile1", NewId()};
        if (writable_ && !WriteProfile(ReadTemplate(), first)) {
            Log("the first profile could not be written");
        }
        entries.push_back({first, Json::Value(Json::objectValue)});
    }
    if (selected < 0 || selected >= static_cast<int>(entries.size())) selected = 0;

    selected_ = selected;
    if (repaired || damaged) {
        if (!Commit(entries, selected)) {
            // Kept in memory all the same: the profiles exist, only their list is not stored.
            stored_ = std::move(entries);
            for (const Stored& s : stored_) entries_.push_back(s.entry);
        }
        return;
    }
    stored_ = std::move(entries);
    for (const Stored& s : stored_) entries_.push_back(s.entry);
}

// --- Writing ---------------------------------------------------------------------------------

bool ProfileList::Commit(std::vector<Stored> entries, int selected) {
    if (!writable_) {
        Log(ListPath() + " can be neither read nor kept aside; it is not written over");
        return false;
    }
    Json::Value doc = document_;
    Json::Value& list = WritableMember(doc, "profilelist");
    list = Json::Value(Json::arrayValue);
    for (Stored& s : entries) {
        Json::Value& record = s.record;
        if (!record.isObject()) record = Json::Value(Json::objectValue);
        record["profilename"] = JsonFromText(s.entry.name);
        record["profileUUID"] = JsonFromText(s.entry.id);
        record["profileislink"] = 0;
        record["profilelinkmame"] = "";
        list.append(record);
    }
    doc["profileselect"] = selected;
    if (!jsonFile_.Write(doc, ListPath())) return false;

    document_ = std::move(doc);
    stored_ = std::move(entries);
    entries_.clear();
    for (const Stored& s : stored_) entries_.push_back(s.entry);
    selected_ = selected;
    return true;
}

std::string ProfileList::NewId() const {
    std::vector<std::string> inUse = TimestampNamedFiles(folder_, kProfileExtension);
    for (const Entry& e : entries_) inUse.push_back(e.id);
    return NextTimestampId(MakeTimestampId(), inUse);
}

Json::Value ProfileList::ReadTemplate() const {
    Json::Value doc = jsonFile_.Read(templatePath_);
    if (!doc.isObject()) {
        Log("default template " + templatePath_ + " cannot be read");
        return Json::Value(Json::objectValue);
    }
    return doc;
}

bool ProfileList::WriteProfile(Json::Value document, const Entry& entry) const {
    if (!document.isObject()) document = Json::Value(Json::objectValue);
    document["profilename"] = JsonFromText(entry.name);
    document["profileUUID"] = JsonFromText(entry.id);
    return jsonFile_.Write(document, folder_ + entry.id + std::string(kProfileExtension));
}

void ProfileList::RemoveProfileFile(const std::string& id) const {
    std::error_code ec;
    const std::string path = folder_ + id + std::string(kProfileExtension);
    std::filesystem::remove(path, ec);
    if (ec) Log("profile file " + path + " could not be removed: " + ec.message());
}

ProfileList::Result ProfileList::Append(const std::string& name, Json::Value document,
                                        bool select) {
    const Entry entry{name, NewId()};
    if (!WriteProfile(std::move(document), entry)) return Refused(Status::kWriteFailed);
    std::vector<Stored> entries = stored_;
    entries.push_back({entry, Json::Value(Json::objectValue)});
    const int index = static_cast<int>(entries.size()) - 1;
    if (!Commit(std::move(entries), select ? index : selected_)) {
        RemoveProfileFile(entry.id);
        return Refused(Status::kWriteFailed);
    }
    return Done(index);
}

// --- Operations ------------------------------------------------------------------------------

bool ProfileList::Select(int index) {
    if (index < 0 || index >= Count()) return false;
    if (index == selected_) return true;
    if (Commit(stored_, index)) return true;
    selected_ = index;
    return false;
}

ProfileList::Result ProfileList::Add() {
    if (!loaded_) return {};
    if (Count() >= kMaxProfiles) return Refused(Status::kListFull, message_key::kListFull);
    return Append(FirstFreeNumberedName("profile", Names()), ReadTemplate(), false);
}

ProfileList::Result ProfileList::Copy() {
    if (!loaded_ || selected_ < 0 || selected_ >= Count()) return {};
    if (Count() >= kMaxProfiles) return Refused(Status::kListFull, message_key::kListFull);
    const std::vector<std::string> names = Names();
    std::string name = entries_[selected_].name + " copy";
    while (FindName(names, name) >= 0) name += " copy";
    // A source file that is missing or damaged gives a copy that takes its sections from the
    // default template when it is first applied.
    return Append(name, jsonFile_.Read(CurrentProfilePath()), false);
}

ProfileList::Result ProfileList::Reset() {
    if (!loaded_ || selected_ < 0 || selected_ >= Count()) return {};
    Json::Value doc = jsonFile_.Read(templatePath_);
    if (!doc.isObject()) {
        Log("reset refused: default template " + templatePath_ + " cannot be read");
        return Refused(Status::kNoTemplate);
    }
    JsonFile::ReadResult result = JsonFile::ReadResult::kNoText;
    const Json::Value current = jsonFile_.Read(CurrentProfilePath(), &result);
    if (result == JsonFile::ReadResult::kUnreadable) {
        Log("reset refused: " + CurrentProfilePath() + " cannot be read and is left as it is");
        return Refused(Status::kUnreadable);
    }
    if (kind_ == kHeadsetKind) {
        const Json::Value& section = JsonElement(JsonMember(current, "Device"), 0);
        Json::Value& target = WritableElement(WritableMember(doc, "Device"), 0);
        for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
            const Json::Value& kept = JsonMember(section, key);
            if (!kept.isNull()) WritableMember(target, key) = kept;
        }
    }
    if (!WriteProfile(std::move(doc), entries_[selected_])) return Refused(Status::kWriteFailed);
    return Done(selected_);
}

ProfileList::Result ProfileList::Rename(std::string_view name) {
    if (!loaded_ || selected_ < 0 || selected_ >= Count() || name.empty()) return {};
    if (IsBlank(name)) return Refused(Status::kNameBlank, message_key::kNameBlank);
    const std::string stored = StoredName(name);
    if (FindName(Names(), stored, selected_) >= 0) {
        return Refused(Status::kNameTaken, message_key::kNameTaken);
    }
    std::vector<Stored> entries = stored_;
    entries[selected_].entry.name = stored;
    if (!Commit(std::move(entries), selected_)) return Refused(Status::kWriteFailed);

    // The profile file carries the name too. The list is what counts, so a file that cannot be
    // read as a profile is left to the profile document, which keeps a damaged file aside.
    const std::string path = CurrentProfilePath();
    Json::Value doc = jsonFile_.Read(path);
    if (doc.isObject()) {
        doc["profilename"] = JsonFromText(stored);
        if (!jsonFile_.Write(doc, path)) Log("the new name could not be written into " + path);
    }
    return Done(selected_);
}

ProfileList::Result ProfileList::Import(const std::string& sourcePath) {
    if (!loaded_) return Refused(Status::kNothingToDo, message_key::kProfileNotImported);
    const ImportFile file = ReadImportFile(sourcePath);
    if (!file.ok() || JsonMember(file.document, "profilename").isNull() ||
        JsonMember(file.document, "profileUUID").isNull()) {
        Log("import of " + sourcePath + " refused: " +
            (file.ok() ? "no \"profilename\" and \"profileUUID\"" : ImportStatusText(file.status)));
        return Refused(Status::kNotAProfile, message_key::kProfileNotImported);
    }
    if (Count() >= kMaxProfiles) return Refused(Status::kListFull, message_key::kProfileListFull);

    std::string name = StoredName(FileTitle(sourcePath));
    if (IsBlank(name)) name = FirstFreeNumberedName("profile", Names());
    Result result = Append(NameWithCounterWhileTaken(name, Names()), file.document, true);
    if (result.status == Status::kWriteFailed) result.message = message_key::kProfileNotImported;
    return result;
}

ProfileList::Result ProfileList::Export(const std::string& targetPath) const {
    if (!loaded_ || selected_ < 0 || selected_ >= Count() || targetPath.empty()) return {};
    const std::string source = CurrentProfilePath();
    const Json::Value doc = jsonFile_.Read(source);
    if (!doc.isObject()) {
        Log("export refused: " + source + " cannot be read as a profile");
        return Refused(Status::kNotAProfile);
    }
    if (!jsonFile_.Write(doc, targetPath)) return Refused(Status::kWriteFailed);
    return Done(selected_);
}

ProfileList::Result ProfileList::Delete() {
    if (!loaded_ || selected_ < 0 || selected_ >= Count() || Count() < 2) return {};
    const int deleted = selected_;
    const std::string id = entries_[deleted].id;
    std::vector<Stored> entries = stored_;
    entries.erase(entries.begin() + deleted);
    const int selected = deleted > 0 ? deleted - 1 : 0;
    if (!Commit(std::move(entries), selected)) return Refused(Status::kWriteFailed);
    RemoveProfileFile(id);
    return Done(selected);
}

int ProfileList::RenameAnswer(const Result& result) {
    switch (result.status) {
        case Status::kDone:
            return 1;
        case Status::kNameBlank:
            return 2;
        default:
            return 0;
    }
}

int ProfileList::ImportAnswer(const Result& result) {
    switch (result.status) {
        case Status::kDone:
            return 1;
        case Status::kListFull:
            return 0;
        default:
            return -1;
    }
}

}  // namespace profile
