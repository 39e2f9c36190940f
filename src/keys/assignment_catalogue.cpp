#include "keys/assignment_catalogue.h"

#include <utility>

#include "keys/language_lookup.h"

namespace keys {

namespace {

namespace at = assignment_type;

// The label of every type the catalogue does not know. It is the system's own fixed text and is
// not translated.
constexpr std::string_view kUnknownTypeLabel = "关闭";

constexpr std::string_view kNoFunctionNameKey = "close_text";

// Positions of the swing and wheel names after the keyboard keys.
constexpr size_t kSwingLeftName = 142;
constexpr size_t kSwingRightName = 143;
constexpr size_t kWheelUpName = 144;
constexpr size_t kWheelDownName = 145;

template <typename Table>
std::optional<std::string> EntryName(const Table& table, AssignmentCode code, CodeMatch match,
                                     const LanguageLookup& language) {
    const std::optional<size_t> position = FindEntry(table, code, match);
    if (!position) return std::nullopt;
    return language.Text(table[*position].name_key);
}

// Keyboard keys (and type 0): the exact key, no function, a shortcut, or else the names of the
// modifier and the key that make up the code, joined with "+".
std::string KeyboardKeyLabel(AssignmentCode code, const LanguageLookup& language) {
    if (auto name = EntryName(KeyboardKeyTable, code, CodeMatch::kAllBytes, language)) {
        return *name;
    }
    if (code.first == 0 && code.second == 0) return language.Text(kNoFunctionNameKey);
    if (auto name = EntryName(ShortcutTable, code, CodeMatch::kAllBytes, language)) return *name;

    // A zero byte names nothing: matching it would list every plain key (first byte 0) or every
    // modifier (second byte 0) of the table instead of the parts of the code.
    std::string label;
    for (const KeyboardKeyEntry& entry : KeyboardKeyTable) {
        if (entry.code.type != code.type) continue;
        const bool modifier_part = code.first != 0 && entry.code.first == code.first;
        const bool key_part = code.second != 0 && entry.code.second == code.second;
        if (!modifier_part && !key_part) continue;
        if (!label.empty()) label += '+';
        label += language.Text(entry.name_key);
    }
    return label;
}

std::optional<std::string> MacroLabel(AssignmentCode code, const MacroListSource& macros) {
    if (!macros) return std::nullopt;
    std::vector<std::string> names = macros();
    if (code.first >= names.size()) return std::nullopt;
    return std::move(names[code.first]);
}

}  // namespace

int PanelPageForType(uint8_t type) {
    for (const AssignmentTypeInfo& info : AssignmentTypeTable) {
        if (info.type == type) return info.panel_page;
    }
    return -1;
}

std::string_view KeyboardKeyNameKey(size_t position) {
    if (position < KeyboardKeyTable.size()) return KeyboardKeyTable[position].name_key;
    position -= KeyboardKeyTable.size();
    if (position < KeyboardKeyExtraNames.size()) return KeyboardKeyExtraNames[position];
    return {};
}

std::optional<std::string> AssignmentDisplayName(AssignmentCode code,
                                                 const LanguageLookup& language,
                                                 AssignmentDevice device,
                                                 const MacroListSource& macros) {
    switch (code.type) {
        case at::kNone:
        case at::kKeyboardKey:
            return KeyboardKeyLabel(code, language);
        case at::kMouseButton:
            return EntryName(MouseButtonTable, code, CodeMatch::kFirstByte, language);
        case at::kSwing:
            return language.Text(
                KeyboardKeyNameKey((code.second & 0x80) != 0 ? kSwingRightName : kSwingLeftName));
        case at::kWheel:
            return language.Text(
                KeyboardKeyNameKey((code.second & 0x80) != 0 ? kWheelDownName : kWheelUpName));
        case at::kDpiFunction:
            return EntryName(DpiFunctionTable, code, CodeMatch::kFirstByte, language);
        case at::kFireKey:
            return language.Text(FireKeyTable[0].name_key);
        case at::kDpiShift:
        case at::kShowWindow:
            return EntryName(FunctionList, code, CodeMatch::kType, language);
        case at::kEditFunction:
            return EntryName(EditFunctionTable, code, CodeMatch::kCodeBytes, language);
        case at::kConsumer:
            return EntryName(ConsumerTable, code, CodeMatch::kCodeBytes, language);
        case at::kSystem:
            return EntryName(SystemTable, code, CodeMatch::kCodeBytes, language);
        case at::kMacroMode:
        case at::kMacroRepeat:
            return MacroLabel(code, macros);
        case at::kShootPreset:
            if (device != AssignmentDevice::kMouse) return std::string(kUnknownTypeLabel);
            if (code.first >= ShootPresetNames.size()) return std::nullopt;
            return language.Text(ShootPresetNames[code.first]);
        case at::kDeviceFunction:
        case at::kDeviceKeyCode:
            if (auto name = EntryName(FunctionList, code, CodeMatch::kTypeAndFirst, language)) {
                return name;
            }
            return EntryName(KeyboardKeyTable, code, CodeMatch::kAllBytes, language);
        // Firmware-defined types that keep whatever the button shows.
        case at::kType15:
        case 0x21:
        case 0x50:
        case 0x60:
        case at::kShortcutPage:
        case 0xC0:
            return std::nullopt;
        default:
            return std::string(kUnknownTypeLabel);
    }
}

std::optional<size_t> EntryForScanCode(uint8_t scan_code, bool extended) {
    for (size_t i = 0; i < kKeyboardScanCodeCount; ++i) {
        const KeyboardKeyEntry& entry = KeyboardKeyTable[i];
        if (entry.scan_code == scan_code && entry.extended == extended) return i;
    }
    return std::nullopt;
}

std::optional<KeyCapture> CaptureKey(uint8_t scan_code, bool extended, int selected_option) {
    const std::optional<size_t> position = EntryForScanCode(scan_code, extended);
    if (!position) return std::nullopt;
    const KeyboardKeyEntry& entry = KeyboardKeyTable[*position];
    if (entry.code.type != at::kKeyboardKey) return std::nullopt;

    if (*position < kKeyboardModifierCount) {
        const int option = ModifierOptionForPosition(*position);
        return KeyCapture{
            *position, option, {}, {at::kKeyboardKey, ModifierBitForOption(option), 0}};
    }
    const int option = selected_option >= 0 && selected_option <= 4 ? selected_option : 0;
    return KeyCapture{*position,
                      option,
                      entry.name_key,
                      {at::kKeyboardKey, ModifierBitForOption(option), entry.code.second}};
}

}  // namespace keys
