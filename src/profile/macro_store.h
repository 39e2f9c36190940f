#pragma once

#include <json/value.h>

#include <string>
#include <string_view>
#include <vector>

#include "profile/json_file.h"
#include "profile/name_rules.h"
#include "profile/profile_records.h"

namespace profile {

// One event of a macro, as its file stores it: "Action" ("down" or "up"), "Button", "Type" and
// "Delay" (milliseconds to wait after the event, stored as decimal text).
struct MacroEvent {
    bool down = false;
    int button = 0;  // 0..255: button bit, distance, modifier bit or HID usage, by type
    int type = 0;    // 0..127: 1 mouse button, 4 / 5 pointer move, 9 modifier, 10 key
    int delay = 0;   // 0..65535 ms; saved as at least kMinDelay
    friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

// The macros of one keyboard or mouse: the list file "macro.config" in the device's user data
// folder, whose entry positions are the macro numbers that key assignments store, and one file
// <id>.mac per macro beside it. The macro editor drives the list operations and shows the message
// keys they hand back; the device models read the list and the events to build the device's
// macro memory.
//
// The list in memory is what was last read or written; every change writes the whole list file
// atomically and changes the memory only when the write succeeded. Identifiers read from the list
// become file names and are used only when they name a file inside the folder; an entry whose
// identifier is unusable keeps its place (and so the numbers of the macros after it) but has no
// file to read, write or delete.
//
// Used from the UI thread only.
class MacroStore {
  public:
    static constexpr std::string_view kListFileName = "macro.config";
    static constexpr std::string_view kMacroExtension = ".mac";
    static constexpr int kMaxMacros = 50;
    static constexpr int kKeyboardEventLimit = 90;
    static constexpr int kMouseEventLimit = 60;
    static constexpr int kDefaultEventLimit = 250;      // until the device page sets its own
    static constexpr int kDeviceImageEventLimit = 250;  // events of one macro the device can hold
    static constexpr int kMinDelay = 10;
    static constexpr int kMaxDelay = 65535;
    // An imported file's title has at most 15 characters, its whole name at most 19.
    static constexpr std::size_t kMaxImportTitle = 15;
    static constexpr std::size_t kMaxImportFileName = 19;

    using Entry = ListEntry;  // name and id; the file is <folder><id>.mac

    enum class Status {
        kDone,
        kNothingToDo,  // no folder, or an index outside the list
        kListFull,
        kNameBlank,
        kNameTaken,
        kNameTooLong,  // an import file name
        kNotAMacro,    // an import file that is no macro document
        kNoFile,       // a macro whose identifier names no file inside the folder
        kUnreadable,   // a file that is there but cannot be read, and so is not written over
        kWriteFailed,  // the disk refused a write; nothing stored changed
    };

    struct Result {
        Status status = Status::kNothingToDo;
        std::string_view message;  // language key for the caller's message box, or empty
        int index = -1;            // the macro the operation created, changed or deleted
        std::string name;          // its name after the operation

        bool ok() const { return status == Status::kDone; }
    };

    struct SavedEvents {
        std::vector<MacroEvent> events;  // what was saved: cut to the limit, delays clamped
        std::string_view message;        // "message_text_17" when events were cut
        bool written = false;
    };

    struct Deletion {
        Status status = Status::kNothingToDo;
        int index = -1;                            // the deleted macro's number
        std::vector<std::string> changedProfiles;  // profile files whose key lists changed
    };

    // The device's user data folder. The list is read again at the next use.
    void SetFolder(const std::string& folder);
    // Events a macro may hold (90 keyboard, 60 mouse); 1..kDeviceImageEventLimit.
    void SetEventLimit(int count);
    int EventLimit() const { return eventLimit_; }

    // Reads "macro.config". A missing or damaged list is rebuilt from the macro files in the
    // folder, in the order they were created (a damaged file is first kept aside as
    // macro.config.bad; one that cannot be read at all is not written over, and the list then
    // lives in memory only); with no files the list is empty.
    const std::vector<Entry>& LoadList();
    const std::vector<Entry>& List() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    // "" when the index is outside the list or its identifier names no file inside the folder.
    std::string MacroFilePath(int index) const;

    // A new macro named baseName, or "macro_" + n (the lowest n no macro has) without one. A
    // base name that is taken gives way to "2", then "3" ... "message_text_30" when the list is
    // full. The macro file is first written by SaveEvents.
    Result AddMacro(std::string_view baseName = {});
    // Renames a macro; a blank name is refused, and so is any name a macro has, its own included
    // ("message_text_5").
    Result RenameMacro(int index, std::string_view name);
    // Deletes a macro, its file and its entry; the later macros move up one number. First every
    // "Device" section of every given profile file is brought in line: a key assigned to the
    // deleted macro gets its default assignment back (from the default template when the key
    // entry has none), a key assigned to a later macro names it by its new number. When a
    // profile cannot be read or rewritten nothing is deleted and the profiles already rewritten
    // are put back.
    Deletion DeleteMacro(int index, const std::vector<std::string>& profilePaths,
                         const std::string& defaultTemplatePath);

    // The events of a macro; empty for a macro without a file. Events whose "Button" or "Type" is
    // no number in range come from a damaged file and are passed over.
    std::vector<MacroEvent> LoadEvents(int index) const;
    // The "Events" of a macro document, or of a shoot file, which holds its events the same way,
    // read as LoadEvents reads them; what is passed over is logged with source.
    static std::vector<MacroEvent> EventsOf(const Json::Value& doc, std::string_view source);
    // Writes the macro file: at most EventLimit() events ("message_text_17" when there were
    // more), every delay clamped to kMinDelay..kMaxDelay. A file that is there but cannot be read
    // is not written over.
    SavedEvents SaveEvents(int index, std::vector<MacroEvent> events) const;

    // Imports a macro file under its title (see AddMacro for a taken name), copying it byte for
    // byte. "message_text_35" when the title has more than 15 characters or the file name more
    // than 19, "message_text_30" when the list is full, "macro_import_refused" when the file is
    // no JSON object with "Events" or larger than kMaxImportBytes; nothing stored changes then.
    Result ImportMacro(const std::string& sourcePath);
    // Copies a macro's file to targetPath; a macro never saved is exported as an empty macro.
    Result ExportMacro(int index, const std::string& targetPath) const;

    // A delay as the editor's row shows it, read by plain decimal conversion: leading blanks, an
    // optional sign, digits; no digits give 0; the result is clamped to 0..kMaxDelay.
    static int DelayFromText(std::string_view text);

    // Key assignments that name macros (play in a mode, play a number of times); their first
    // code byte is the macro's number.
    static bool NamesMacro(const KeyAssignment& assignment, int index);
    static bool IsMacroAssigned(const std::vector<KeyAssignmentPair>& list, int index);
    // The key list after macro index was deleted, as DeleteMacro does it in the profile files;
    // true when something changed.
    static bool ForgetMacro(std::vector<KeyAssignmentPair>& list, int index);

  private:
    struct Stored {
        Entry entry;
        Json::Value record;  // the entry as read, so members this version does not know survive
    };

    void EnsureLoaded();
    std::vector<Stored> RebuildFromFiles() const;
    bool Commit(std::vector<Stored> entries);
    std::string NewId() const;
    std::string ChooseName(std::string_view baseName) const;
    std::vector<std::string> Names() const;
    bool UsableId(int index) const;
    Json::Value Document(int index, const std::vector<MacroEvent>& events) const;

    std::string folder_;
    int eventLimit_ = kDefaultEventLimit;
    bool loaded_ = false;
    bool writable_ = true;  // false while the list file can be neither read nor kept aside
    Json::Value document_;
    std::vector<Stored> stored_;
    std::vector<Entry> entries_;
    JsonFile jsonFile_;
};

}  // namespace profile
