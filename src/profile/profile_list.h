#pragma once

#include <json/value.h>

#include <string>
#include <string_view>
#include <vector>

#include "profile/json_file.h"
#include "profile/name_rules.h"

namespace profile {

// The profiles of one device: the list file "ProfileList.ini" in the device's user data folder
// (a JSON document despite its name), the profile files it names (<id>.Json beside it), and the
// operations on whole profiles that the profile panel offers. The panel mirrors Names() in its
// drop-down and shows the message keys the operations hand back; the device model takes
// CurrentProfilePath() as the file of the profile it applies.
//
// The list in memory is what was last read or written; every change writes the whole list file
// at once (atomically) and changes the memory only when the write succeeded. Profile files are
// written before the list names them and removed after it has stopped naming them, so a crash
// never leaves a list that names a missing file. Identifiers read from the list file become file
// names and are used only when they name a file inside the folder.
//
// Used from the UI thread only.
class ProfileList {
  public:
    static constexpr std::string_view kFileName = "ProfileList.ini";
    static constexpr std::string_view kProfileExtension = ".Json";
    static constexpr int kMaxProfiles = 50;
    static constexpr int kHeadsetKind = 7;

    using Entry = ListEntry;  // name and id; the file is <folder><id>.Json

    enum class Status {
        kDone,
        kNothingToDo,  // no list loaded, no selection, one profile left, an empty name
        kListFull,
        kNameBlank,
        kNameTaken,
        kNotAProfile,  // an import or export source that is no profile document
        kNoTemplate,   // a reset without a readable default template
        kUnreadable,   // a reset of a profile file that is there but cannot be read
        kWriteFailed,  // the disk refused a write; nothing stored changed
    };

    struct Result {
        Status status = Status::kNothingToDo;
        std::string_view message;  // language key for the caller's message box, or empty
        int index = -1;            // the profile the operation created, changed or selected

        bool ok() const { return status == Status::kDone; }
    };

    // Device kind (1 keyboard, 2 mouse, 3 mouse pad, 7 headset): a headset's reset keeps its
    // custom equalisers.
    void SetDeviceKind(int kind) { kind_ = kind; }
    // The device's user data folder and its default profile template.
    void SetFolders(const std::string& userDataFolder, const std::string& defaultTemplatePath);

    // Reads the list file. A missing, damaged or empty list is rebuilt from the profile files in
    // the folder, in the order they were created (a damaged file is first kept aside as
    // ProfileList.ini.bad; one that cannot be read at all is not written over, and the list then
    // lives in memory only); with no profile files it becomes one profile "profile1" made from
    // the default template. False only when no folder is set.
    bool Init();
    bool IsLoaded() const { return loaded_; }

    int Count() const { return static_cast<int>(entries_.size()); }
    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<std::string> Names() const;
    // -1 before Init.
    int SelectedIndex() const { return selected_; }
    std::string CurrentProfileId() const;
    std::string CurrentProfilePath() const { return ProfilePathAt(selected_); }
    // "" for an index outside the list.
    std::string ProfilePathAt(int index) const;
    std::vector<std::string> ProfilePaths() const;
    std::string ListPath() const { return folder_ + std::string(kFileName); }

    // Makes entry index the selected profile and records it in the list file. The selection moves
    // even when the file cannot be written; false then (and for an index outside the list).
    bool Select(int index);

    // A new profile "profile" + n (the lowest n no profile has) from the default template,
    // appended; the selection stays. "message_text_30" when the list is full.
    Result Add();
    // A copy of the selected profile named "<name> copy" (" copy" again while that is taken),
    // appended; the selection stays. "message_text_30" when the list is full.
    Result Copy();
    // The selected profile rewritten from the default template, keeping its name and id (and a
    // headset's custom equaliser names and bands). Nothing changes when the template or the
    // profile file is there but cannot be read.
    Result Reset();
    // Renames the selected profile: "message_text_25" for a blank name, "message_text_5" when
    // another profile has the name (case ignored); its own name in other letters is fine.
    Result Rename(std::string_view name);
    // Imports a profile file (a JSON object with "profilename" and "profileUUID", at most
    // kMaxImportBytes) under the file's title, "(n)" appended while the name is taken, and
    // selects it. "message_text_33" for a file that is no profile, "message_text_34" when the
    // list is full; nothing stored changes then.
    Result Import(const std::string& sourcePath);
    // Writes the selected profile's document to targetPath; a profile file that cannot be read
    // as a profile is not exported.
    Result Export(const std::string& targetPath) const;
    // Deletes the selected profile and its file and selects the one before it (the new first
    // one when the first was deleted). Does nothing with one profile left.
    Result Delete();

    // The numbers the panel's rename and import have always answered: rename 1 done, 0 taken
    // (or nothing done), 2 blank; import 1 done, 0 list full, -1 otherwise.
    static int RenameAnswer(const Result& result);
    static int ImportAnswer(const Result& result);

  private:
    struct Stored {
        Entry entry;
        Json::Value record;  // the entry as read, so members this version does not know survive
    };

    void Load();
    std::vector<Stored> ReadEntries(const Json::Value& list, int& selected, bool& repaired) const;
    std::vector<Stored> RebuildFromFiles() const;
    bool Commit(std::vector<Stored> entries, int selected);
    std::string NewId() const;
    Json::Value ReadTemplate() const;
    bool WriteProfile(Json::Value document, const Entry& entry) const;
    void RemoveProfileFile(const std::string& id) const;
    Result Append(const std::string& name, Json::Value document, bool select);

    int kind_ = 0;
    std::string folder_;
    std::string templatePath_;
    bool loaded_ = false;
    bool writable_ = true;  // false while the list file can be neither read nor kept aside
    Json::Value document_;  // the list document as read, for members this version does not know
    std::vector<Stored> stored_;
    std::vector<Entry> entries_;
    int selected_ = -1;
    JsonFile jsonFile_;
};

}  // namespace profile
