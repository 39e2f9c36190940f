// The factory templates that ship in the program folder: each loads as a complete profile, reads
// back into sensible records, and survives a rewrite by the program unchanged.

#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "profile/de6533_profiledata.h"
#include "profile/keyboard_profiledata.h"
#include "profile/mouse_profiledata.h"
#include "profile/temp_data_folder.h"

namespace profile {
namespace {

constexpr const char* kTemplates[] = {"keyboard", "mouse", "MousePad", "HD"};

TEST(DefaultData, EveryTemplateLoadsIntoANewProfileAndRoundTrips) {
    for (const char* name : kTemplates) {
        TempDataFolder data(name);
        const std::string templatePath = TempDataFolder::TemplatePath(name);
        JsonFile file;
        JsonFile::ReadResult result;
        const Json::Value root = file.Read(templatePath, &result);
        ASSERT_EQ(result, JsonFile::ReadResult::kParsed) << name;
        ASSERT_TRUE(root["Device"][0].isObject()) << name;
        EXPECT_TRUE(root.isMember("profilename")) << name;
        EXPECT_TRUE(root.isMember("profileUUID")) << name;
        // Written by the program's writer, byte for byte.
        std::string shipped;
        ASSERT_TRUE(os::ReadWholeFile(templatePath, shipped));
        EXPECT_EQ(JsonFile::StyledText(root), shipped) << name;

        CBasicProfiledata doc;
        doc.SetDefaultPath(templatePath);
        doc.SetProfilePath(data.Path("new.Json"));
        EXPECT_EQ(doc.LoadSection(data.Path("new.Json")), root["Device"][0]) << name;
        const LightingRecord light = doc.ReadLightInfo();
        EXPECT_EQ(light[LightingRecord::kBrightness], 4) << name;
        const std::vector<LightListEntry> list = doc.ReadLightList();
        EXPECT_FALSE(list.empty()) << name;
        for (const LightListEntry& e : list) EXPECT_EQ(e.present, 1) << name;
        doc.WriteLightInfo(light);
        doc.WriteKeyList(doc.ReadKeyList());
        ASSERT_TRUE(doc.Save()) << name;
        EXPECT_EQ(file.Read(data.Path("new.Json"))["Device"][0], root["Device"][0]) << name;
    }
}

TEST(DefaultData, KeyboardHasItsProgramKeysAndSettings) {
    TempDataFolder data("keyboard");
    CKeyboardProfiledata doc;
    doc.SetDefaultPath(TempDataFolder::TemplatePath("keyboard"));
    doc.LoadSection(data.Path("p.Json"));
    const std::vector<KeyAssignmentPair> keys = doc.ReadKeyList();
    ASSERT_EQ(keys.size(), 170u);
    for (const KeyAssignmentPair& k : keys) EXPECT_EQ(k.current, k.defaultAssignment);
    // Spot checks across the key table: (program key, type, first, second).
    const std::tuple<int, int, int, int> rows[] = {
        {0, 0x20, 0x00, 0x29},   {12, 0x20, 0x00, 0x45},  {15, 0x20, 0x00, 0x48},
        {16, 0xA0, 0x47, 0x00},  {19, 0xA0, 0x47, 0x03},  {20, 0x20, 0x00, 0x00},
        {22, 0x20, 0x00, 0x1E},  {34, 0x20, 0x00, 0x2A},  {41, 0x20, 0x00, 0x56},
        {42, 0x20, 0x00, 0x2B},  {64, 0x20, 0x00, 0x04},  {75, 0x20, 0x00, 0x28},
        {83, 0x20, 0x00, 0x88},  {84, 0x20, 0x02, 0x00},  {95, 0x20, 0x20, 0x00},
        {103, 0x20, 0x00, 0x85}, {105, 0x20, 0x01, 0x00}, {106, 0x20, 0x08, 0x00},
        {107, 0x20, 0x04, 0x00}, {108, 0x20, 0x00, 0x2C}, {109, 0x20, 0x40, 0x00},
        {110, 0xA0, 0x01, 0x00}, {111, 0x20, 0x00, 0x65}, {112, 0x20, 0x10, 0x00},
        {119, 0x20, 0x00, 0x57}, {120, 0xD0, 0xA2, 0x01}, {124, 0xD0, 0xA2, 0x05},
        {125, 0x20, 0x80, 0x00}, {126, 0x30, 0xE2, 0x00}, {166, 0x20, 0x00, 0x00},
        {167, 0x00, 0x00, 0x00}, {169, 0x00, 0x00, 0x00},
    };
    for (const auto& [index, type, first, second] : rows) {
        const KeyAssignment& k = keys[static_cast<std::size_t>(index)].defaultAssignment;
        EXPECT_EQ(
            k, (KeyAssignment{static_cast<std::uint16_t>(index), static_cast<std::uint8_t>(type),
                              static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(second)}))
            << "key " << index;
    }
    EXPECT_EQ(doc.ReadKeyboardSystem().repeatDelay, 1);
    EXPECT_EQ(doc.ReadAudioLightInfo().colourType, 1);
    EXPECT_EQ(doc.ReadCustomGroupIndex(), 0);
    EXPECT_EQ(doc.ReadCustomGroupColoursNoFill(0, 170), std::vector<KeyColour>(170));
}

TEST(DefaultData, MouseHasElevenButtonsAndSevenDistinctStages) {
    TempDataFolder data("mouse");
    CMouseProfiledata doc;
    doc.SetDefaultPath(TempDataFolder::TemplatePath("mouse"));
    doc.LoadSection(data.Path("p.Json"));
    const int buttons[] = {0x100100, 0x100200, 0x100400, 0x101000, 0x100800, 0x130100,
                           0x130200, 0x130300, 0xA01B00, 0x169001, 0x147802};
    const std::vector<KeyAssignmentPair> keys = doc.ReadKeyList();
    ASSERT_EQ(keys.size(), std::size(buttons));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].defaultAssignment.code.ToStoredValue(), buttons[i]) << i;
        EXPECT_EQ(keys[i].current, keys[i].defaultAssignment) << i;
    }
    const std::vector<DpiStage> stages = doc.ReadDpiStages();
    ASSERT_EQ(stages.size(), 7u);
    std::set<std::tuple<int, int, int>> colours;
    for (const DpiStage& s : stages) {
        colours.insert({s.red, s.green, s.blue});
        EXPECT_EQ(s.dpiX, (s.dpiX & 0xFF) * 257);  // both bytes hold the slider position
        EXPECT_LE(s.dpiX & 0xFF, 127);
    }
    EXPECT_EQ(colours.size(), 7u);
    EXPECT_LT(doc.GetActiveDpiStage(), 7);
    EXPECT_EQ(stages[static_cast<std::size_t>(doc.GetActiveDpiStage())].enabled, 1);
    const MouseSystemSettings system = doc.ReadMouseSystem();
    EXPECT_GT(system.doubleClickTime, 0);
    EXPECT_GT(system.deviceSleep1, 0);
}

TEST(DefaultData, HeadsetHasThirteenPresetsOfTenBands) {
    TempDataFolder data("HD");
    CDe6533Profiledata doc;
    doc.SetDefaultPath(TempDataFolder::TemplatePath("HD"));
    const Json::Value section = doc.LoadSection(data.Path("p.Json"));
    ASSERT_EQ(section["EQHzValueInfo"].size(), 13u);
    std::set<std::vector<int>> curves;
    for (int preset = 1; preset <= 12; ++preset) {
        const std::vector<int> bands = doc.ReadEqBands(preset);
        ASSERT_EQ(bands.size(), 10u);
        for (int v : bands) {
            EXPECT_GE(v, -12);
            EXPECT_LE(v, 12);
        }
        curves.insert(bands);
    }
    EXPECT_EQ(curves.size(), 12u);
    EXPECT_EQ(doc.ReadEqBands(1), std::vector<int>(10));  // preset 1 is flat
    EXPECT_TRUE(doc.ReadEqBands(13).empty());
    EXPECT_TRUE(doc.ReadCustomEqNames().empty());
    EXPECT_EQ(section["CustomEQHzValueInfo"].size(), 0u);
    EXPECT_EQ(doc.ReadHeadsetSystem().eqType, 1);
    // Reading the presets created nothing: the template is complete.
    doc.SetProfilePath(data.Path("p.Json"));
    ASSERT_TRUE(doc.Save());
    EXPECT_EQ(JsonFile().Read(data.Path("p.Json"))["Device"][0], section);
}

}  // namespace
}  // namespace profile
