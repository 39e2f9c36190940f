#include "profile/macro_store.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "os/atomic_file.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "profile/import_file.h"
#include "profile/json_access.h"
#include "profile/message_keys.h"
#include "profile/name_rules.h"
#include "profile/text_helpers.h"

namespace profile {
namespace {

// Assignment types whose first code byte is a macro number: play in a mode, play a number of
// times.
bool IsMacroType(int type) {
    return type == keys::assignment_type::kMacroMode || type == keys::assignment_type::kMacroRepeat;
}
constexpr int kMacroFileVersion = 64;

void Log(const std::string& text) {
    os::DebugOutput("macro store: " + text + "\n");
}

// The code a key holds after macro `deleted` is gone: its default for the deleted macro, the
// next lower number for a later one, else unchanged. Values outside the code range are left
// alone: they name no macro.
keys::AssignmentCode CodeAfterDelete(keys::AssignmentCode code, int deleted,
                                     keys::AssignmentCode defaultCode) {
    if (!IsMacroType(code.type) || code.first < deleted) return code;
    if (code.first == deleted) return defaultCode;
    --code.first;
    return code;
}

// Walks every key entry of every device section of a profile document. A key entry without its
// own "DefaultAssignment" takes the default template's for the same section and key.
bool ForgetMacroInDocument(Json::Value& doc, int deleted, const Json::Value& defaults) {
    bool changed = false;
    if (!JsonMember(doc, "Device").isArray()) return false;
    Json::Value& sections = doc["Device"];
    for (Json::ArrayIndex s = 0; s < sections.size(); ++s) {
        if (!JsonMember(sections[s], "KeyList").isArray()) continue;
        Json::Value& keyList = sections[s]["KeyList"];
        const Json::Value& defaultKeys =
            JsonMember(JsonElement(JsonMember(defaults, "Device"), s), "KeyList");
        for (Json::ArrayIndex k = 0; k < keyList.size(); ++k) {
            const Json::Value& current = JsonMember(keyList[k], "Assignment");
            if (!current.isNumeric()) continue;
            const Json::Value* def = &JsonMember(keyList[k], "DefaultAssignment");
            if (def->isNull()) def = &JsonMember(JsonElement(defaultKeys, k), "DefaultAssignment");
            // A value outside the code range names no macro; a default outside it gives none.
            const auto code = keys::AssignmentCode::FromStoredValue(JsonInt(current));
            if (!code) continue;
            const keys::AssignmentCode next =
                CodeAfterDelete(*code, deleted,
                                keys::AssignmentCode::FromStoredValue(JsonInt(*def))
                                    .value_or(keys::AssignmentCode{}));
            if (next != *code) {
                keyList[k]["Assignment"] = next.ToStoredValue();
                changed = true;
            }
        }
    }
    return changed;
}

int EventDelay(const Json::Value& value) {
    if (value.isString()) return MacroStore::DelayFromText(TextFromJson(value));
    if (value.isNumeric()) {
        return static_cast<int>(std::clamp<std::int64_t>(JsonInt(value), 0, MacroStore::kMaxDelay));
    }
    return 0;
}

// A whole number in min..max, or -1.
int EventNumber(const Json::Value& value, int max) {
    if (!value.isNumeric() || (value.isDouble() && !value.isIntegral())) return -1;
    const std::int64_t n = JsonInt(value);
    return n >= 0 && n <= max ? static_cast<int>(n) : -1;
}

using Result = MacroStore::Result;
using Status = MacroStore::Status;

Result Refused(Status status, std::string_view message = {}) {
    Result r;
    r.status = status;
    r.message = message;
    return r;
}

Result Done(int index, std::string name) {
    Result r;
    r.status = Status::kDone;
    r.index = index;
    r.name = std::move(name);
    return r;
}

}  // namespace

// --- Folder, list and identifiers ------------------------------------------------------------

void MacroStore::SetFolder(const std::string& folder) {
    folder_ = folder;
    if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
    loaded_ = false;
    stored_.clear();
    entries_.clear();
}

void MacroStore::SetEventLimit(int count) {
    eventLimit_ = std::clamp(count, 1, kDeviceImageEventLimit);
}

bool MacroStore::UsableId(int index) const {
    return index >= 0 && index < Count() && IsSafeFileName(entries_[index].id);
}

std::string MacroStore::MacroFilePath(int index) const {
    if (!UsableId(index)) return {};
    return folder_ + entries_[index].id + std::string(kMacroExtension);
}

std::vector<std::string> MacroStore::Names() const {
    return NamesOf(entries_);
}

std::vector<MacroStore::Stored> MacroStore::RebuildFromFiles() const {
    std::vector<Stored> entries;
    for (Entry& found : FindStoredItems(folder_, kMacroExtension, "MacroName", "macro_",
                                        folder_ + std::string(kListFileName))) {
        entries.push_back({std::move(found), Json::Value()});
    }
    return entries;
}

const std::vector<MacroStore::Entry>& MacroStore::LoadList() {
    loaded_ = true;
    writable_ = true;
    stored_.clear();
    entries_.clear();
    if (folder_.empty()) return entries_;

    const std::string path = folder_ + std::string(kListFileName);
    JsonFile::ReadResult result = JsonFile::ReadResult::kNoText;
    const Json::Value doc = jsonFile_.Read(path, &result);
    const Json::Value& list = JsonMember(doc, "MacroInfo");
    const bool exists = os::PathExists(path);
    if (exists && list.isArray()) {
        document_ = doc;
        for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
            // Every entry keeps its place, whatever it holds: the place is the macro's number.
            Entry e{TextFromJson(JsonMember(list[i], "MacroName")),
                    StoredIdentifier(JsonMember(list[i], "Guid"))};
            if (e.id.empty()) {
                Log("macro " + std::to_string(i) + " of " + path +
                    " has an identifier that names no file in its folder; it has no events");
            }
            entries_.push_back(e);
            stored_.push_back({std::move(e), list[i]});
        }
        return entries_;
    }

    // Missing or damaged: the macro files present are found again. A damaged list is kept
    // first; when it cannot be, or cannot be read at all, it is not written over and the list
    // lives in memory only.
    document_ = Json::Value(Json::objectValue);
    if (result == JsonFile::ReadResult::kUnreadable) {
        writable_ = false;
    } else if (exists && result != JsonFile::ReadResult::kNoText) {
        writable_ = jsonFile_.KeepAside(path);
    }
    std::vector<Stored> rebuilt = RebuildFromFiles();
    if ((exists || !rebuilt.empty()) && Commit(rebuilt)) return entries_;
    stored_ = std::move(rebuilt);
    for (const Stored& s : stored_) entries_.push_back(s.entry);
    return entries_;
}

void MacroStore::EnsureLoaded() {
    if (!loaded_) LoadList();
}

bool MacroStore::Commit(std::vector<Stored> entries) {
    const std::string path = folder_ + std::string(kListFileName);
    if (!writable_) {
        Log(path + " can be neither read nor kept aside; it is not written over");
        return false;
    }
    Json::Value doc = document_.isObject() ? document_ : Json::Value(Json::objectValue);
    Json::Value& list = doc["MacroInfo"];
    list = Json::Value(Json::arrayValue);
    for (Stored& s : entries) {
        if (!s.record.isObject()) s.record = Json::Value(Json::objectValue);
        s.record["MacroName"] = JsonFromText(s.entry.name);
        // An identifier that was refused is left as it stood; it names no file of ours.
        if (!s.entry.id.empty() || !s.record.isMember("Guid")) {
            s.record["Guid"] = JsonFromText(s.entry.id);
        }
        list.append(s.record);
    }
    if (!jsonFile_.Write(doc, path)) return false;
    document_ = std::move(doc);
    stored_ = std::move(entries);
    entries_.clear();
    for (const Stored& s : stored_) entries_.push_back(s.entry);
    return true;
}

std::string MacroStore::NewId() const {
    std::vector<std::string> inUse = TimestampNamedFiles(folder_, kMacroExtension);
    for (const Entry& e : entries_) inUse.push_back(e.id);
    return NextTimestampId(MakeTimestampId(), inUse);
}

std::string MacroStore::ChooseName(std::string_view baseName) const {
    const std::vector<std::string> names = Names();
    if (IsBlank(baseName)) return FirstFreeNumberedName("macro_", names);
    // A taken base name is replaced by a bare number, checked against the whole list again.
    std::string name = StoredName(baseName);
    for (int counter = 2; FindName(names, name) >= 0; ++counter) name = std::to_string(counter);
    return name;
}

// --- List operations -------------------------------------------------------------------------

MacroStore::Result MacroStore::AddMacro(std::string_view baseName) {
    EnsureLoaded();
    if (folder_.empty()) return {};
    if (Count() >= kMaxMacros) return Refused(Status::kListFull, message_key::kListFull);
    const Entry entry{ChooseName(baseName), NewId()};
    std::vector<Stored> entries = stored_;
    entries.push_back({entry, Json::Value(Json::objectValue)});
    if (!Commit(std::move(entries))) return Refused(Status::kWriteFailed);
    return Done(Count() - 1, entry.name);
}

MacroStore::Result MacroStore::RenameMacro(int index, std::string_view name) {
    EnsureLoaded();
    if (index < 0 || index >= Count()) return {};
    if (IsBlank(name)) return Refused(Status::kNameBlank);
    const std::string stored = StoredName(name);
    // The macro's own name counts as taken too.
    if (FindName(Names(), stored) >= 0) return Refused(Status::kNameTaken, message_key::kNameTaken);
    std::vector<Stored> entries = stored_;
    entries[index].entry.name = stored;
    if (!Commit(std::move(entries))) return Refused(Status::kWriteFailed);
    return Done(index, stored);
}

MacroStore::Deletion MacroStore::DeleteMacro(int index,
                                             const std::vector<std::string>& profilePaths,
                                             const std::string& defaultTemplatePath) {
    EnsureLoaded();
    Deletion deletion;
    if (index < 0 || index >= Count()) return deletion;

    // 1. The key lists of every profile, each file rewritten only when something changed. What
    //    was there is kept so that a refused write can be undone.
    const Json::Value defaults =
        defaultTemplatePath.empty() ? Json::Value() : jsonFile_.Read(defaultTemplatePath);
    std::vector<std::pair<std::string, Json::Value>> rewritten;
    const auto refuse = [&](Status status, const std::string& why) {
        Log("macro " + std::to_string(index) + " not deleted: " + why);
        for (const auto& [path, old] : rewritten) {
            if (!jsonFile_.Write(old, path)) Log(path + " could not be put back");
        }
        Deletion refused;
        refused.status = status;
        return refused;
    };
    for (const std::string& path : profilePaths) {
        JsonFile::ReadResult result = JsonFile::ReadResult::kNoText;
        Json::Value doc = jsonFile_.Read(path, &result);
        // Its keys may name later macros, which would then name the wrong ones.
        if (result == JsonFile::ReadResult::kUnreadable) {
            return refuse(Status::kUnreadable, path + " cannot be read");
        }
        if (!doc.isObject()) continue;
        const Json::Value before = doc;
        if (!ForgetMacroInDocument(doc, index, defaults)) continue;
        if (!jsonFile_.Write(doc, path)) {
            return refuse(Status::kWriteFailed, path + " could not be rewritten");
        }
        rewritten.emplace_back(path, before);
        deletion.changedProfiles.push_back(path);
    }

    // 2. The list, before the file, so that it never names a file that is gone.
    const std::string file = MacroFilePath(index);
    const std::string id = entries_[index].id;
    std::vector<Stored> entries = stored_;
    entries.erase(entries.begin() + index);
    if (!Commit(std::move(entries))) return refuse(Status::kWriteFailed, "the list not written");

    // 3. The file, unless another entry names it too.
    const bool shared =
        std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.id == id; });
    if (!file.empty() && !shared) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        if (ec) Log("macro file " + file + " could not be removed: " + ec.message());
    }
    deletion.status = Status::kDone;
    deletion.index = index;
    return deletion;
}

// --- Events ----------------------------------------------------------------------------------

int MacroStore::DelayFromText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (text[i] - '0'), kMaxDelay);
    }
    return negative ? 0 : static_cast<int>(value);
}

std::vector<MacroEvent> MacroStore::LoadEvents(int index) const {
    const std::string path = MacroFilePath(index);
    if (path.empty()) return {};
    return EventsOf(jsonFile_.Read(path), path);
}

std::vector<MacroEvent> MacroStore::EventsOf(const Json::Value& doc, std::string_view source) {
    std::vector<MacroEvent> events;
    const Json::Value& list = JsonMember(doc, "Events");
    if (!list.isArray()) return events;
    int dropped = 0;
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const Json::Value& e = list[i];
        const int button = EventNumber(JsonMember(e, "Button"), 255);
        const int type = EventNumber(JsonMember(e, "Type"), 127);
        if (button < 0 || type < 0) {
            ++dropped;
            continue;
        }
        events.push_back({TextFromJson(JsonMember(e, "Action")) == "down", button, type,
                          EventDelay(JsonMember(e, "Delay"))});
    }
    if (dropped > 0) {
        Log(std::string(source) + ": " + std::to_string(dropped) +
            " events without a valid button or type");
    }
    return events;
}

Json::Value MacroStore::Document(int index, const std::vector<MacroEvent>& events) const {
    Json::Value doc(Json::objectValue);
    Json::Value& list = doc["Events"];
    list = Json::Value(Json::arrayValue);
    for (const MacroEvent& e : events) {
        Json::Value event(Json::objectValue);
        event["Action"] = e.down ? "down" : "up";
        event["Button"] = e.button;
        event["Delay"] = std::to_string(e.delay);
        event["Type"] = e.type;
        list.append(event);
    }
    doc["Guid"] = JsonFromText(entries_[index].id);
    doc["MacroName"] = JsonFromText(entries_[index].name);
    doc["Version"] = kMacroFileVersion;
    return doc;
}

MacroStore::SavedEvents MacroStore::SaveEvents(int index, std::vector<MacroEvent> events) const {
    SavedEvents saved;
    if (static_cast<int>(events.size()) > eventLimit_) {
        events.resize(static_cast<std::size_t>(eventLimit_));
        saved.message = message_key::kTooManyEvents;
    }
    for (MacroEvent& e : events) {
        e.delay = std::clamp(e.delay, kMinDelay, kMaxDelay);
        e.button = std::clamp(e.button, 0, 255);
        e.type = std::clamp(e.type, 0, 127);
    }
    saved.events = std::move(events);
    const std::string path = MacroFilePath(index);
    if (path.empty()) {
        Log("macro " + std::to_string(index) + " has no file of its own; its events are not saved");
        return saved;
    }
    JsonFile::ReadResult result = JsonFile::ReadResult::kNoText;
    jsonFile_.Read(path, &result);
    if (result == JsonFile::ReadResult::kUnreadable) {
        Log(path + " cannot be read; it is not written over");
        return saved;
    }
    saved.written = jsonFile_.Write(Document(index, saved.events), path);
    return saved;
}

// --- Import and export -----------------------------------------------------------------------

MacroStore::Result MacroStore::ImportMacro(const std::string& sourcePath) {
    EnsureLoaded();
    if (folder_.empty()) return {};
    if (CharacterCount(FileTitle(sourcePath)) > kMaxImportTitle ||
        CharacterCount(FileNameOf(sourcePath)) > kMaxImportFileName) {
        return Refused(Status::kNameTooLong, message_key::kMacroFileNameTooLong);
    }
    if (Count() >= kMaxMacros) return Refused(Status::kListFull, message_key::kListFull);
    const ImportFile file = ReadImportFile(sourcePath);
    if (!file.ok() || !JsonMember(file.document, "Events").isArray()) {
        Log("import of " + sourcePath +
            " refused: " + (file.ok() ? "no \"Events\"" : ImportStatusText(file.status)));
        return Refused(Status::kNotAMacro, message_key::kMacroNotImported);
    }

    // The file first, then the list that names it.
    const Entry entry{ChooseName(FileTitle(sourcePath)), NewId()};
    const std::string target = folder_ + entry.id + std::string(kMacroExtension);
    std::string error;
    if (!os::WriteFileAtomically(target, file.text, &error)) {
        Log("import of " + sourcePath + " failed: " + error);
        return Refused(Status::kWriteFailed, message_key::kMacroNotImported);
    }
    std::vector<Stored> entries = stored_;
    entries.push_back({entry, Json::Value(Json::objectValue)});
    if (!Commit(std::move(entries))) {
        std::error_code ec;
        std::filesystem::remove(target, ec);
        return Refused(Status::kWriteFailed, message_key::kMacroNotImported);
    }
    return Done(Count() - 1, entry.name);
}

MacroStore::Result MacroStore::ExportMacro(int index, const std::string& targetPath) const {
    if (index < 0 || index >= Count() || targetPath.empty()) return {};
    const std::string source = MacroFilePath(index);
    if (source.empty()) return Refused(Status::kNoFile);
    std::string text;
    if (os::PathExists(source)) {
        if (!os::ReadWholeFile(source, text)) {
            Log("export refused: " + source + " cannot be read");
            return Refused(Status::kNoFile);
        }
    } else {
        text = JsonFile::StyledText(Document(index, {}));
    }
    std::string error;
    if (!os::WriteFileAtomically(targetPath, text, &error)) {
        Log("export to " + targetPath + " failed: " + error);
        return Refused(Status::kWriteFailed);
    }
    return Done(index, entries_[index].name);
}

// --- Key assignments -------------------------------------------------------------------------

bool MacroStore::NamesMacro(const KeyAssignment& assignment, int index) {
    return IsMacroType(assignment.code.type) && assignment.code.first == index;
}

bool MacroStore::IsMacroAssigned(const std::vector<KeyAssignmentPair>& list, int index) {
    return std::any_of(list.begin(), list.end(),
                       [&](const KeyAssignmentPair& k) { return NamesMacro(k.current, index); });
}

bool MacroStore::ForgetMacro(std::vector<KeyAssignmentPair>& list, int index) {
    bool changed = false;
    for (KeyAssignmentPair& k : list) {
        const keys::AssignmentCode next =
            CodeAfterDelete(k.current.code, index, k.defaultAssignment.code);
        if (next != k.current.code) {
            k.current.code = next;
            changed = true;
        }
    }
    return changed;
}

}  // namespace profile
