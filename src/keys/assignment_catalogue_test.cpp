#include "keys/assignment_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "keys/language_lookup.h"

namespace keys {
namespace {

// A small English language file. Keys left out on purpose ("keyboard_key_K45") show as
// themselves.
class TestLanguage : public LanguageLookup {
  public:
    std::optional<std::string> Find(std::string_view key) const override {
        const auto it = texts_.find(std::string(key));
        if (it == texts_.end()) return std::nullopt;
        return it->second;
    }

  private:
    std::map<std::string, std::string> texts_ = {
        {"keyboard_key_LCtrl", "L-Ctrl"},
        {"keyboard_key_RAlt", "R-Alt"},
        {"keyboard_key_A", "A"},
        {"keyboard_key_FN", "Fn"},
        {"keyboard_key_M5", "M5"},
        {"keyboard_key_Volume Down", "Vol-"},
        {"custem_save", "Save"},
        {"close_text", "Off"},
        {"mouse_key_left", "Left button"},
        {"mouse_key_middle", "Middle button"},
        {"mouse_key_right", "Right button"},
        {"mouse_key_left_Swing", "Swing left"},
        {"mouse_key_right_Swing", "Swing right"},
        {"mouse_key_up_Swing", "Wheel up"},
        {"mouse_key_down_Swing", "Wheel down"},
        {"mouse_key_DPI_loop", "DPI cycle"},
        {"mouse_key_fire_key", "Fire"},
        {"mouse_key_DPI_shift", "DPI shift"},
        {"mouse_key_smart_key", "Smart key"},
        {"show_window", "Show window"},
        {"media_mute", "Mute"},
        {"media_calc", "Calculator"},
        {"system_wake_up", "Wake up"},
        {"gun_2_txt", "Gun 2"},
    };
};

constexpr AssignmentDevice kKeyboard = AssignmentDevice::kKeyboard;
constexpr AssignmentDevice kMouse = AssignmentDevice::kMouse;

struct LabelCase {
    AssignmentCode code;
    AssignmentDevice device;
    std::optional<std::string> label;
};

TEST(AssignmentDisplayNameTest, LabelsEveryType) {
    const LabelCase cases[] = {
        // Keyboard keys: exact entries, no function, shortcuts, combinations.
        {{0x20, 0x00, 0x04}, kKeyboard, "A"},
        {{0x20, 0x40, 0x00}, kKeyboard, "R-Alt"},
        {{0x20, 0x01, 0x04}, kKeyboard, "L-Ctrl+A"},
        {{0x20, 0x03, 0x04}, kKeyboard, "A"},  // no entry has modifier byte 3
        {{0x20, 0x10, 0x16}, kKeyboard, "Save"},
        {{0x20, 0x00, 0x00}, kKeyboard, "Off"},
        {{0x00, 0x00, 0x00}, kMouse, "Off"},
        {{0x20, 0x00, 0x64}, kKeyboard, "keyboard_key_K45"},  // unknown to the language file
        // A zero byte names no part: neither every plain key nor every modifier is listed.
        {{0x20, 0x00, 0xFF}, kKeyboard, ""},
        {{0x20, 0x05, 0x00}, kKeyboard, ""},
        // Mouse buttons come from the mouse table, whose middle and right differ from the
        // function list's.
        {{0x10, 0x04, 0x00}, kMouse, "Middle button"},
        {{0x10, 0x02, 0x00}, kMouse, "Right button"},
        {{0x10, 0x20, 0x00}, kMouse, std::nullopt},
        // Swing and wheel go by bit 7 of the second byte.
        {SwingCode(2, 5, true, 3), kMouse, "Swing right"},
        {SwingCode(2, 5, false, 3), kMouse, "Swing left"},
        {WheelCode(2, 5, true, 3), kMouse, "Wheel down"},
        {WheelCode(2, 5, false, 3), kMouse, "Wheel up"},
        {{0x13, 0x03, 0x00}, kMouse, "DPI cycle"},
        {{0x13, 0x07, 0x00}, kMouse, std::nullopt},
        {{0x14, 0x50, 0x02}, kMouse, "Fire"},
        {{0x16, 0x12, 0x34}, kMouse, "DPI shift"},
        {{0x23, 0x00, 0x00}, kKeyboard, "Show window"},
        {{0x22, 0x00, 0x07}, kKeyboard, "Save"},
        {{0x22, 0x00, 0x09}, kKeyboard, std::nullopt},
        {{0x30, 0xE2, 0x00}, kKeyboard, "Mute"},
        {{0x30, 0x92, 0x01}, kKeyboard, "Calculator"},
        {{0x30, 0x92, 0x02}, kKeyboard, std::nullopt},
        {{0x40, 0x04, 0x00}, kKeyboard, "Wake up"},
        // Shoot presets exist on mice only.
        {{0x72, 0x01, 0x00}, kMouse, "Gun 2"},
        {{0x72, 0x04, 0x00}, kMouse, std::nullopt},
        {{0x72, 0x01, 0x00}, kKeyboard, "关闭"},
        // Device functions: the function list first, then the keyboard table.
        {{0xA0, 0x02, 0x00}, kMouse, "Smart key"},
        {{0xA0, 0x00, 0x05}, kMouse, "Off"},
        {{0xA0, 0x01, 0x00}, kKeyboard, "Fn"},
        {{0xA0, 0x47, 0x01}, kKeyboard, "Vol-"},
        {{0xA0, 0x99, 0x00}, kKeyboard, std::nullopt},
        {{0xD0, 0xA2, 0x05}, kKeyboard, "M5"},
        {{0xD0, 0xA2, 0x01}, kKeyboard, std::nullopt},
        // Types whose label is left as it is, and unknown types.
        {{0x15, 0x00, 0x00}, kMouse, std::nullopt},
        {{0x21, 0x00, 0x00}, kMouse, std::nullopt},
        {{0x50, 0x00, 0x00}, kMouse, std::nullopt},
        {{0x60, 0x00, 0x00}, kMouse, std::nullopt},
        {{0xB0, 0x01, 0x02}, kKeyboard, std::nullopt},
        {{0xC0, 0x00, 0x00}, kKeyboard, std::nullopt},
        {{0x99, 0x00, 0x00}, kKeyboard, "关闭"},
        {{0x24, 0x00, 0x00}, kMouse, "关闭"},
    };
    const TestLanguage language;
    int macro_list_asked = 0;
    const MacroListSource macros = [&] {
        ++macro_list_asked;
        return std::vector<std::string>{"Reload"};
    };
    for (const LabelCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << "code " << int{c.code.type} << " "
                                        << int{c.code.first} << " " << int{c.code.second});
        EXPECT_EQ(AssignmentDisplayName(c.code, language, c.device, macros), c.label);
    }
    EXPECT_EQ(macro_list_asked, 0);
}

TEST(AssignmentDisplayNameTest, MacroLabelsNameTheMacroAtTheListPosition) {
    const TestLanguage language;
    const MacroListSource macros = [] { return std::vector<std::string>{"Reload", "连招 2"}; };
    EXPECT_EQ(AssignmentDisplayName({0x70, 0x01, 0x02}, language, kMouse, macros), "连招 2");
    EXPECT_EQ(AssignmentDisplayName({0x71, 0x00, 0x05}, language, kKeyboard, macros), "Reload");
    // A reference beyond the list (the macro was deleted elsewhere) shows no label.
    EXPECT_EQ(AssignmentDisplayName({0x70, 0x02, 0x00}, language, kMouse, macros), std::nullopt);
    EXPECT_EQ(AssignmentDisplayName({0x71, 0xFF, 0x01}, language, kMouse, macros), std::nullopt);
    // A device without a macro list.
    EXPECT_EQ(AssignmentDisplayName({0x70, 0x00, 0x00}, language, kMouse, nullptr), std::nullopt);
    EXPECT_EQ(AssignmentDisplayName({0x70, 0x00, 0x00}, language, kMouse,
                                    [] { return std::vector<std::string>{}; }),
              std::nullopt);
}

TEST(AssignmentCodeTest, SwingAndWheelEncodeDirectionAndCount) {
    // A wheel down by 3 is the signed byte -3; a swing right by 3 sets bit 7 on the count.
    EXPECT_EQ(WheelCode(2, 5, true, 3), (AssignmentCode{0x12, 0x25, 0xFD}));
    EXPECT_EQ(WheelCode(15, 15, false, 3), (AssignmentCode{0x12, 0xFF, 0x03}));
    EXPECT_EQ(SwingCode(2, 5, true, 3), (AssignmentCode{0x11, 0x25, 0x83}));
    EXPECT_EQ(SwingCode(0, 1, false, 3), (AssignmentCode{0x11, 0x01, 0x03}));
    // Delay and speed keep their low nibbles only.
    EXPECT_EQ(SwingCode(0x12, 0x34, false, 1).first, 0x24);
    EXPECT_EQ(RepeatCount(WheelCode(0, 0, true, 3)), 3);
    EXPECT_EQ(RepeatCount(WheelCode(0, 0, false, 3)), 3);
    EXPECT_EQ(RepeatCount(SwingCode(0, 0, true, 3)), 3);
}

TEST(AssignmentCodeTest, StoredValueIsTypeFirstSecond) {
    const AssignmentCode code{0x20, 0x01, 0x04};
    EXPECT_EQ(code.ToStoredValue(), 0x20 * 65536 + 0x01 * 256 + 0x04);
    EXPECT_EQ(AssignmentCode::FromStoredValue(code.ToStoredValue()), code);
    EXPECT_EQ(AssignmentCode::FromStoredValue(0xFFFFFF), (AssignmentCode{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(AssignmentCode::FromStoredValue(0), AssignmentCode{});
    // Values a damaged file may hold are no codes.
    EXPECT_EQ(AssignmentCode::FromStoredValue(-1), std::nullopt);
    EXPECT_EQ(AssignmentCode::FromStoredValue(0x1000000), std::nullopt);
}

TEST(FindEntryTest, SearchesInOrderByTheChosenBytes) {
    // The usual search compares the code bytes only, so the type does not matter.
    EXPECT_EQ(FindEntry(ShortcutTable, {0x00, 0x10, 0x16}), 3u);
    EXPECT_EQ(FindEntry(ShortcutTable, {0x00, 0x10, 0x16}, CodeMatch::kAllBytes), std::nullopt);
    EXPECT_EQ(FindEntry(ShortcutTable, {0x20, 0x10, 0x16}, CodeMatch::kAllBytes), 3u);
    // The first match wins: the function list has two entries of type 0xA0.
    EXPECT_EQ(FindEntry(FunctionList, {0xA0, 0x00, 0x00}, CodeMatch::kType), 8u);
    EXPECT_EQ(FindEntry(FunctionList, {0xA0, 0x00, 0x00}, CodeMatch::kTypeAndFirst), 9u);
    EXPECT_EQ(FindEntry(ConsumerTable, {0x30, 0x00, 0x00}), std::nullopt);
}

TEST(EntryForScanCodeTest, MatchesScanCodeAndExtendedFlag) {
    struct Case {
        uint8_t scan_code;
        bool extended;
        std::optional<std::string_view> name_key;
    };
    const Case cases[] = {
        {0x1E, false, "keyboard_key_A"},
        {0x1C, false, "keyboard_key_Enter"},
        {0x1C, true, "keyboard_key_Num Enter"},
        {0x45, false, "keyboard_key_Pause"},
        {0x45, true, "keyboard_key_Num Lock"},
        {0x52, false, "keyboard_key_Num 0"},
        {0x52, true, "keyboard_key_Insert"},
        {0x37, true, "keyboard_key_Print Scr"},
        {0x5D, true, "keyboard_key_App"},
        {0x72, false, "keyboard_key_K151"},
        {0x2B, false, "keyboard_key_xiegang"},  // the ISO key K42 reports the same scan code
        {0x1E, true, std::nullopt},
        {0x7F, false, std::nullopt},
        // Entries past position 112 carry no scan code and are never matched.
        {0x00, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << int{c.scan_code} << " " << c.extended);
        const std::optional<size_t> position = EntryForScanCode(c.scan_code, c.extended);
        ASSERT_EQ(position.has_value(), c.name_key.has_value());
        if (position) {
            EXPECT_LT(*position, kKeyboardScanCodeCount);
            EXPECT_EQ(KeyboardKeyTable[*position].name_key, *c.name_key);
        }
    }
}

TEST(KeyCaptureTest, LeftAndRightModifiersSelectTheSameOption) {
    const int expected_options[kKeyboardModifierCount] = {1, 2, 3, 4, 1, 2, 3, 4};
    for (size_t p = 0; p < kKeyboardModifierCount; ++p) {
        EXPECT_EQ(ModifierOptionForPosition(p), expected_options[p]) << p;
        const KeyboardKeyEntry& entry = KeyboardKeyTable[p];
        const std::optional<KeyCapture> capture =
            CaptureKey(entry.scan_code, entry.extended, /*selected_option=*/-1);
        ASSERT_TRUE(capture) << p;
        EXPECT_EQ(capture->position, p);
        EXPECT_EQ(capture->modifier_option, expected_options[p]);
        EXPECT_TRUE(capture->name_key.empty());
    }

    // Right Alt (0x38 extended) and left Alt (0x38) both give option 3, stored as 20 04 00;
    // right Shift gives option 2, stored as 20 02 00.
    const std::optional<KeyCapture> right_alt = CaptureKey(0x38, true, 1);
    const std::optional<KeyCapture> left_alt = CaptureKey(0x38, false, 1);
    ASSERT_TRUE(right_alt && left_alt);
    EXPECT_EQ(right_alt->modifier_option, 3);
    EXPECT_EQ(left_alt->modifier_option, 3);
    EXPECT_EQ(right_alt->code, (AssignmentCode{0x20, 0x04, 0x00}));
    EXPECT_EQ(left_alt->code, right_alt->code);
    const std::optional<KeyCapture> right_shift = CaptureKey(0x36, false, 0);
    ASSERT_TRUE(right_shift);
    EXPECT_EQ(right_shift->modifier_option, 2);
    EXPECT_EQ(right_shift->code, (AssignmentCode{0x20, 0x02, 0x00}));
}

TEST(KeyCaptureTest, KeysKeepTheSelectedModifierOption) {
    struct Case {
        uint8_t scan_code;
        bool extended;
        int selected_option;
        int option;
        AssignmentCode code;
    };
    const Case cases[] = {
        {0x1E, false, 1, 1, {0x20, 0x01, 0x04}},   // Ctrl + A
        {0x1E, false, 4, 4, {0x20, 0x08, 0x04}},   // Win + A
        {0x1E, false, 0, 0, {0x20, 0x00, 0x04}},   // A
        {0x1E, false, -1, 0, {0x20, 0x00, 0x04}},  // no option selected yet
        {0x1E, false, 7, 0, {0x20, 0x00, 0x04}},   // not an option
        {0x1C, true, 2, 2, {0x20, 0x02, 0x58}},    // Shift + Num Enter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << int{c.scan_code} << " option " << c.selected_option);
        const std::optional<KeyCapture> capture =
            CaptureKey(c.scan_code, c.extended, c.selected_option);
        ASSERT_TRUE(capture);
        EXPECT_EQ(capture->modifier_option, c.option);
        EXPECT_EQ(capture->code, c.code);
        EXPECT_EQ(capture->name_key, KeyboardKeyTable[capture->position].name_key);
        EXPECT_FALSE(capture->name_key.empty());
    }
    // A key without an entry changes nothing.
    EXPECT_EQ(CaptureKey(0x7F, false, 1), std::nullopt);
}

}  // namespace
}  // namespace keys
