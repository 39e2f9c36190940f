#include "keys/assignment_tables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "keys/assignment_catalogue.h"

namespace keys {
namespace {

const KeyboardKeyEntry* KeyNamed(std::string_view name_key) {
    for (const KeyboardKeyEntry& entry : KeyboardKeyTable) {
        if (entry.name_key == name_key) return &entry;
    }
    return nullptr;
}

TEST(AssignmentTablesTest, KeyboardKeyTableTellingRows) {
    struct Row {
        std::string_view name_key;
        uint16_t virtual_key;
        AssignmentCode code;
    };
    const Row rows[] = {
        {"keyboard_key_LCtrl", 162, {0x20, 0x01, 0x00}},
        {"keyboard_key_RWin", 92, {0x20, 0x80, 0x00}},
        {"keyboard_key_A", 65, {0x20, 0x00, 0x04}},
        {"keyboard_key_0", 48, {0x20, 0x00, 0x27}},
        {"keyboard_key_xiegang", 220, {0x20, 0x00, 0x31}},
        {"keyboard_key_<", 188, {0x20, 0x00, 0x36}},
        {"keyboard_key_F12", 123, {0x20, 0x00, 0x45}},
        {"keyboard_key_Num Enter", 257, {0x20, 0x00, 0x58}},
        {"keyboard_key_Decimal", 110, {0x20, 0x00, 0x63}},
        {"keyboard_key_App", 93, {0x20, 0x00, 0x65}},
        {"keyboard_key_K45", 226, {0x20, 0x00, 0x64}},
        {"keyboard_key_K56", 193, {0x20, 0x00, 0x87}},
        {"keyboard_key_K14", 255, {0x20, 0x00, 0x89}},
        {"keyboard_key_K107", 194, {0x20, 0x00, 0x85}},
        {"keyboard_key_K131", 235, {0x20, 0x00, 0x8B}},
        {"keyboard_key_K132", 255, {0x20, 0x00, 0x8A}},
        {"keyboard_key_K133", 255, {0x20, 0x00, 0x88}},
        {"keyboard_key_K150", 233, {0x20, 0x00, 0x91}},
        {"keyboard_key_K151", 255, {0x20, 0x00, 0x90}},
        {"keyboard_key_K42", 191, {0x20, 0x00, 0x32}},
        {"keyboard_key_Power", 259, {0x40, 0x01, 0x00}},
        {"keyboard_key_Sleep", 260, {0x40, 0x02, 0x00}},
        {"keyboard_key_Wakeup", 261, {0x40, 0x04, 0x00}},
        {"keyboard_key_Launch App2", 0, {0xA0, 0x47, 0x00}},
        {"keyboard_key_Volume Mute", 0, {0xA0, 0x47, 0x03}},
        {"keyboard_key_M5", 0, {0xD0, 0xA2, 0x05}},
        {"keyboard_key_FN", 0, {0xA0, 0x01, 0x00}},
        {"keyboard_key_GM", 0, {0xA0, 0x1B, 0x00}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name_key);
        const KeyboardKeyEntry* entry = KeyNamed(row.name_key);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->virtual_key, row.virtual_key);
        EXPECT_EQ(entry->code, row.code);
    }
    // "Volume Down" and "Volume Up" name both a consumer key and a device function; the device
    // functions come later.
    EXPECT_EQ(KeyboardKeyTable[136].name_key, "keyboard_key_Volume Down");
    EXPECT_EQ(KeyboardKeyTable[136].code, (AssignmentCode{0xA0, 0x47, 0x01}));
    EXPECT_EQ(KeyboardKeyTable[137].code, (AssignmentCode{0xA0, 0x47, 0x02}));
    EXPECT_EQ(KeyboardKeyNameKey(142), "mouse_key_left_Swing");
    EXPECT_EQ(KeyboardKeyNameKey(145), "mouse_key_down_Swing");
    EXPECT_EQ(KeyboardKeyNameKey(146), "");
}

TEST(AssignmentTablesTest, KeyboardKeyTableSections) {
    std::set<uint8_t> usages;
    for (size_t p = 0; p < KeyboardKeyTable.size(); ++p) {
        SCOPED_TRACE(p);
        const KeyboardKeyEntry& entry = KeyboardKeyTable[p];
        if (p < kKeyboardModifierCount) {
            EXPECT_EQ(entry.code, (AssignmentCode{0x20, static_cast<uint8_t>(1 << p), 0}));
        } else if (p <= 113) {
            EXPECT_EQ(entry.code.type, 0x20);
            EXPECT_EQ(entry.code.first, 0);
            EXPECT_TRUE(usages.insert(entry.code.second).second) << "usage listed twice";
        } else if (p <= 131) {
            // The consumer functions again, with the media and browser virtual keys.
            EXPECT_TRUE(FindEntry(ConsumerTable, entry.code, CodeMatch::kAllBytes));
            EXPECT_GE(entry.virtual_key, 166);
            EXPECT_LE(entry.virtual_key, 183);
        } else if (p <= 134) {
            EXPECT_EQ(entry.code, SystemTable[p - 132].code);
        } else {
            EXPECT_EQ(entry.virtual_key, 0);
        }
        if (p >= kKeyboardScanCodeCount) {
            EXPECT_EQ(entry.scan_code, 0);
        }
    }
    EXPECT_EQ(usages.size(), 106u);
}

TEST(AssignmentTablesTest, ScanCodesAreUniqueAndExtendedWhereTheE0PrefixIs) {
    const std::set<std::string_view> extended = {
        "keyboard_key_RCtrl",     "keyboard_key_RAlt",      "keyboard_key_LWin",
        "keyboard_key_RWin",      "keyboard_key_App",       "keyboard_key_Insert",
        "keyboard_key_Home",      "keyboard_key_Page Up",   "keyboard_key_Delete",
        "keyboard_key_End",       "keyboard_key_Page Down", "keyboard_key_Right",
        "keyboard_key_Left",      "keyboard_key_Down",      "keyboard_key_Up",
        "keyboard_key_Print Scr", "keyboard_key_Num Lock",  "keyboard_key_Num /",
        "keyboard_key_Num Enter"};
    std::set<std::pair<uint8_t, bool>> seen;
    for (size_t p = 0; p < kKeyboardScanCodeCount; ++p) {
        const KeyboardKeyEntry& entry = KeyboardKeyTable[p];
        SCOPED_TRACE(entry.name_key);
        EXPECT_NE(entry.scan_code, 0);
        EXPECT_EQ(entry.extended, extended.count(entry.name_key) == 1);
        EXPECT_TRUE(seen.insert({entry.scan_code, entry.extended}).second) << "scan code twice";
        // Every key capture can find is the one it finds.
        EXPECT_EQ(EntryForScanCode(entry.scan_code, entry.extended), p);
    }
    const std::pair<std::string_view, uint8_t> scan_codes[] = {
        {"keyboard_key_Esc", 0x01},   {"keyboard_key_Print Scr", 0x37},
        {"keyboard_key_Pause", 0x45}, {"keyboard_key_Num Lock", 0x45},
        {"keyboard_key_Num /", 0x35}, {"keyboard_key_Num Enter", 0x1C},
        {"keyboard_key_K45", 0x56},   {"keyboard_key_K56", 0x73},
        {"keyboard_key_K14", 0x7D},   {"keyboard_key_K107", 0x7E},
        {"keyboard_key_K131", 0x7B},  {"keyboard_key_K132", 0x79},
        {"keyboard_key_K133", 0x70},  {"keyboard_key_K150", 0x71},
        {"keyboard_key_K151", 0x72},  {"keyboard_key_F11", 0x57},
    };
    for (const auto& [name_key, scan_code] : scan_codes) {
        SCOPED_TRACE(name_key);
        ASSERT_NE(KeyNamed(name_key), nullptr);
        EXPECT_EQ(KeyNamed(name_key)->scan_code, scan_code);
    }
}

TEST(AssignmentTablesTest, FunctionTablesSpotChecks) {
    EXPECT_EQ(MouseButtonTable[1].code, (AssignmentCode{0x10, 0x04, 0x00}));  // middle
    EXPECT_EQ(FunctionList[1].code, (AssignmentCode{0x10, 0x02, 0x00}));      // middle, too
    EXPECT_EQ(ConsumerTable[0].code, (AssignmentCode{0x30, 0x83, 0x01}));     // usage 0x0183
    EXPECT_EQ(ConsumerTable[13].code, (AssignmentCode{0x30, 0x2A, 0x02}));
    EXPECT_EQ(ShortcutTable[10].code, (AssignmentCode{0x20, 0x10, 0x2E}));
    EXPECT_EQ(EditFunctionTable[8].name_key, "custem_open");
    EXPECT_EQ(FunctionList[5].code, (AssignmentCode{0x14, 0x50, 0x02}));
    // Running-index tables carry their position as lead value.
    for (size_t i = 0; i < ConsumerTable.size(); ++i) {
        EXPECT_EQ(ConsumerTable[i].lead, i);
    }
    for (size_t i = 0; i < FunctionList.size(); ++i) {
        EXPECT_EQ(FunctionList[i].lead, i);
    }

    EXPECT_EQ(PanelPageForType(0x00), 0);
    EXPECT_EQ(PanelPageForType(0x20), 6);
    EXPECT_EQ(PanelPageForType(0x71), 9);
    EXPECT_EQ(PanelPageForType(0xB0), 11);
    EXPECT_EQ(PanelPageForType(0xA0), -1);
    EXPECT_EQ(PanelPageForType(0x99), -1);
}

TEST(AssignmentTablesTest, ProgramKeyTableRows) {
    const std::pair<size_t, AssignmentCode> rows[] = {
        {0, {0x20, 0x00, 0x29}},   {1, {0x20, 0x00, 0x3A}},   {15, {0x20, 0x00, 0x48}},
        {16, {0xA0, 0x47, 0x00}},  {19, {0xA0, 0x47, 0x03}},  {20, {0x20, 0x00, 0x00}},
        {21, {0x20, 0x00, 0x35}},  {34, {0x20, 0x00, 0x2A}},  {41, {0x20, 0x00, 0x56}},
        {55, {0x20, 0x00, 0x31}},  {61, {0x20, 0x00, 0x61}},  {75, {0x20, 0x00, 0x28}},
        {83, {0x20, 0x00, 0x88}},  {84, {0x20, 0x02, 0x00}},  {94, {0x20, 0x00, 0x38}},
        {95, {0x20, 0x20, 0x00}},  {103, {0x20, 0x00, 0x85}}, {104, {0x20, 0x00, 0x00}},
        {105, {0x20, 0x01, 0x00}}, {106, {0x20, 0x08, 0x00}}, {107, {0x20, 0x04, 0x00}},
        {108, {0x20, 0x00, 0x2C}}, {109, {0x20, 0x40, 0x00}}, {110, {0xA0, 0x01, 0x00}},
        {111, {0x20, 0x00, 0x65}}, {112, {0x20, 0x10, 0x00}}, {113, {0x20, 0x00, 0x50}},
        {119, {0x20, 0x00, 0x57}}, {120, {0xD0, 0xA2, 0x01}}, {124, {0xD0, 0xA2, 0x05}},
        {125, {0x20, 0x80, 0x00}}, {126, {0x30, 0xE2, 0x00}}, {127, {0x20, 0x00, 0x00}},
        {166, {0x20, 0x00, 0x00}}, {167, {0x00, 0x00, 0x00}}, {169, {0x00, 0x00, 0x00}},
    };
    for (const auto& [row, code] : rows) {
        EXPECT_EQ(ProgramKeyTable[row], code) << "row " << row;
    }

    // Every plain key a program key defaults to has a keyboard-key entry, so it gets a name.
    for (size_t row = 0; row < ProgramKeyTable.size(); ++row) {
        const AssignmentCode code = ProgramKeyTable[row];
        if (code.type != 0x20 || code.second == 0) continue;
        EXPECT_TRUE(FindEntry(KeyboardKeyTable, code, CodeMatch::kAllBytes)) << "row " << row;
    }
}

// The language files must know every name key the tables use; data/skin/lang/assignment_keys.txt
// lists them with their English and Chinese texts.
TEST(AssignmentTablesTest, LanguageKeyListHasEveryNameKey) {
    std::ifstream file(std::string(BRASVIK_SOURCE_DIR) + "/data/skin/lang/assignment_keys.txt");
    ASSERT_TRUE(file) << "assignment_keys.txt missing";
    std::map<std::string, std::pair<std::string, std::string>> texts;
    std::string line;
    while (std::getline(file, line)) {
        const size_t tab1 = line.find('\t');
        const size_t tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        const std::string key = line.substr(0, tab1);
        const std::string english = line.substr(tab1 + 1, tab2 - tab1 - 1);
        const std::string chinese = line.substr(tab2 + 1);
        EXPECT_FALSE(english.empty() || chinese.empty()) << key;
        EXPECT_TRUE(texts.emplace(key, std::pair{english, chinese}).second) << key << " twice";
    }

    std::set<std::string> used;
    const auto add = [&](const auto& table) {
        for (const auto& entry : table) {
            if (!entry.name_key.empty()) used.emplace(entry.name_key);
        }
    };
    add(MouseButtonTable);
    add(DpiFunctionTable);
    add(FireKeyTable);
    add(ConsumerTable);
    add(SystemTable);
    add(ShortcutTable);
    add(EditFunctionTable);
    add(FunctionList);
    add(KeyboardKeyTable);
    for (std::string_view key : ShootPresetNames) used.emplace(key);
    for (std::string_view key : KeyboardKeyExtraNames) used.emplace(key);
    for (const std::string& key : used) {
        EXPECT_EQ(texts.count(key), 1u) << key;
    }
    for (const auto& [key, text] : texts) {
        EXPECT_EQ(used.count(key), 1u) << key << " unused";
    }
}

}  // namespace
}  // namespace keys
