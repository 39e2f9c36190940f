#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keys/assignment_code.h"
#include "keys/assignment_tables.h"

namespace keys {

class LanguageLookup;

// Which bytes an entry search compares. The usual search compares the two code bytes; the label
// rules also search by type, by first byte, or by all three bytes.
enum class CodeMatch {
    kCodeBytes,
    kAllBytes,
    kFirstByte,
    kType,
    kTypeAndFirst,
};

constexpr bool CodesMatch(AssignmentCode entry, AssignmentCode code, CodeMatch match) {
    switch (match) {
        case CodeMatch::kCodeBytes:
            return entry.first == code.first && entry.second == code.second;
        case CodeMatch::kAllBytes:
            return entry == code;
        case CodeMatch::kFirstByte:
            return entry.first == code.first;
        case CodeMatch::kType:
            return entry.type == code.type;
        case CodeMatch::kTypeAndFirst:
            return entry.type == code.type && entry.first == code.first;
    }
    return false;
}

// The position of the first entry of a table (searched in order) that matches the code; nothing
// when the search passes the table's end.
template <typename Table>
constexpr std::optional<size_t> FindEntry(const Table& table, AssignmentCode code,
                                          CodeMatch match = CodeMatch::kCodeBytes) {
    for (size_t i = 0; i < table.size(); ++i) {
        if (CodesMatch(table[i].code, code, match)) return i;
    }
    return std::nullopt;
}

// The key-set panel page of an assignment type; -1 for a type without a page or an unknown type.
int PanelPageForType(uint8_t type);

// The name key at a position of the keyboard key names: the 142 table entries, then the four
// swing and wheel names (142..145). Empty beyond.
std::string_view KeyboardKeyNameKey(size_t position);

// Shoot presets are labelled on mice only; a keyboard has none.
enum class AssignmentDevice { kKeyboard, kMouse };

// The names of the device's macros in macro-list order; asked only for macro assignments.
using MacroListSource = std::function<std::vector<std::string>()>;

// The text shown on a key button for an assignment: a language key resolved to text, or a macro's
// name. Nothing means no label: the button keeps what it shows (the types whose labels are left
// unchanged, a macro index beyond the list, a code that matches no entry of its table).
std::optional<std::string> AssignmentDisplayName(AssignmentCode code,
                                                 const LanguageLookup& language,
                                                 AssignmentDevice device,
                                                 const MacroListSource& macros);

// The position in `KeyboardKeyTable` of the first of positions 0..112 whose scan code (PC set 1)
// and extended flag equal the captured ones; nothing when none does.
std::optional<size_t> EntryForScanCode(uint8_t scan_code, bool extended);

// Key capture's modifier options: 0 none, 1 Ctrl, 2 Shift, 3 Alt, 4 Win. A modifier entry at
// position p (below 8) gives option (p + 1) mod 5 + (p + 1) div 5, so the left and the right
// variant of a modifier give the same option.
constexpr int ModifierOptionForPosition(size_t position) {
    const int p = static_cast<int>(position) + 1;
    return p % 5 + p / 5;
}

// The first code byte an option stands for: option n is the left modifier's bit, 1 << (n - 1).
constexpr uint8_t ModifierBitForOption(int option) {
    return option >= 1 && option <= 4 ? static_cast<uint8_t>(1 << (option - 1)) : 0;
}

// What a captured key press does to the key-set panel's keyboard page.
struct KeyCapture {
    size_t position;            // the entry in `KeyboardKeyTable`
    int modifier_option;        // the option to select
    std::string_view name_key;  // the key field's name key; empty for a modifier
    AssignmentCode code;        // 20, the option's bit, the key's usage (0 for a modifier)
};

// Maps a captured key (scan code and extended flag) for the key-set panel. A modifier selects its
// own option and empties the key field; any other key keeps the selected option (none selected,
// or an option outside 0..4, counts as option 0) and fills the key field. Nothing for a key
// without a keyboard-key entry, which then changes nothing.
std::optional<KeyCapture> CaptureKey(uint8_t scan_code, bool extended, int selected_option);

}  // namespace keys
