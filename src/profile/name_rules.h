#pragma once

// Rules shared by the stored lists of a device's user data folder (the profile list and the macro
// list): how display names are compared and numbered, how file names are taken apart, and the
// time-stamp identifiers that name the stored files.

#include <json/value.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// An entry of a stored list: what the user sees and what names its file.
struct ListEntry {
    std::string name;  // display name, valid UTF-8
    std::string id;    // identifier: the file is <folder><id><extension>
    friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

std::vector<std::string> NamesOf(const std::vector<ListEntry>& entries);

// A display name as a list stores it: valid UTF-8, ending at an embedded NUL as a name read back
// from the file would.
std::string StoredName(std::string_view name);

// Display names are compared without regard to the case of ASCII letters; every other character
// compares as it is.
bool SameName(std::string_view a, std::string_view b);

// Position of the first name equal to name (case ignored), passing over position skip; -1 when
// there is none.
int FindName(const std::vector<std::string>& names, std::string_view name, int skip = -1);

// prefix + n for the lowest n from 1 up that no name equals: profile1, profile2 ...
std::string FirstFreeNumberedName(std::string_view prefix, const std::vector<std::string>& names);

// name, or name followed by "(1)", then "(2)" appended to that, and so on until no name equals it:
// Game, Game(1), Game(1)(2).
std::string NameWithCounterWhileTaken(std::string name, const std::vector<std::string>& names);

// The file name of a path: the text after the last '/' or '\'.
std::string_view FileNameOf(std::string_view path);

// The file name without folder and extension: the text before the last '.' of the file name (all
// of it when it has no '.').
std::string_view FileTitle(std::string_view path);

// Number of characters (code points) of a UTF-8 text; a byte that starts no well-formed sequence
// counts as one character.
std::size_t CharacterCount(std::string_view utf8);

// An identifier read from a list file ("profileUUID", "Guid"), which becomes a file name in the
// folder: the text when it is a string that IsSafeFileName allows (no NUL anywhere in it, no path
// separator, no "..", not empty) and valid UTF-8; "" for anything else.
std::string StoredIdentifier(const Json::Value& value);

// Time-stamp identifiers, "%d_%02d_%02d_%02d_%02d_%02d_%03d" from year, month, day, hour, minute,
// second and millisecond. The parts in that order, or nothing when the text is not one.
using TimestampParts = std::array<int, 7>;
std::optional<TimestampParts> ParseTimestampId(std::string_view id);

// Whether a is an earlier time stamp than b; identifiers that are no time stamps sort after all
// that are, by their text.
bool TimestampBefore(std::string_view a, std::string_view b);

// The identifier for a new stored item, given the clock's identifier now and the identifiers in
// use: now, unless an identifier in use is as late or later (a second item in the same
// millisecond, or a clock set back), in which case the millisecond after the latest one in use. So
// identifiers stay unique and sort in creation order, which is the order a damaged list is
// rebuilt in.
std::string NextTimestampId(const std::string& now, const std::vector<std::string>& inUse);

// Identifiers of the files in folder named <time-stamp identifier> + extension, in time-stamp
// order. Other files are no stored items of ours and are passed over.
std::vector<std::string> TimestampNamedFiles(const std::string& folder, std::string_view extension);

// The stored items of a folder found again from their files, for rebuilding a damaged list: one
// per time-stamp named file, in creation order, named by the file's nameKey member. Names are made
// unique as NameWithCounterWhileTaken does; a file without a name (or one that is damaged) gets
// defaultPrefix + n as FirstFreeNumberedName chooses it. Logged as a rebuild of listPath.
std::vector<ListEntry> FindStoredItems(const std::string& folder, std::string_view extension,
                                       const char* nameKey, std::string_view defaultPrefix,
                                       const std::string& listPath);

}  // namespace profile
