#include "profile/keyboard_profiledata.h"

#include <gtest/gtest.h>

#include "profile/temp_data_folder.h"

namespace profile {
namespace {

class KeyboardProfiledataTest : public ::testing::Test {
  protected:
    KeyboardProfiledataTest() {
        data_.WriteText("p.Json", R"({"Device" : [ {
            "SystemStages" : { "Repeat" : 31, "RepeatDelay" : 70000, "WinFlag" : 1 },
            "CustomLightMode" : { "CustomLightModeGroupIndex" : 2, "LightColorInfo" : [
                [ { "Red" : 1, "Green" : 2, "Blue" : 3, "Alpha" : 4 }, null ] ] } } ]})");
        doc_.SetProfilePath(data_.Path("p.Json"));
        doc_.LoadSection(data_.Path("p.Json"));
    }
    Json::Value Saved() {
        EXPECT_TRUE(doc_.Save());
        return JsonFile().Read(data_.Path("p.Json"))["Device"][0];
    }

    TempDataFolder data_;
    CKeyboardProfiledata doc_;
};

TEST_F(KeyboardProfiledataTest, SystemValuesAreSixSixteenBitValues) {
    EXPECT_EQ(doc_.ReadKeyboardSystem(), (KeyboardSystemSettings{31, 70000 & 0xFFFF, 0, 0, 0, 1}));
    doc_.WriteKeyboardSystem({10, 2, 1, 3, 1, 0});
    const Json::Value stages = Saved()["SystemStages"];
    EXPECT_EQ(stages["Repeat"], 10);
    EXPECT_EQ(stages["PollingRate"], 3);
    EXPECT_EQ(doc_.ReadKeyboardSystem(), (KeyboardSystemSettings{10, 2, 1, 3, 1, 0}));
}

TEST_F(KeyboardProfiledataTest, FirstReadOfAGroupLaysItOutInTheSection) {
    EXPECT_EQ(doc_.ReadCustomGroupIndex(), 2);
    // The read that fills: group 0 has one colour and a null; group 3 does not exist yet.
    const std::vector<KeyColour> colours = doc_.ReadCustomGroupColours(0, 3);
    EXPECT_EQ(colours, (std::vector<KeyColour>{{1, 2, 3, 4}, {}, {}}));
    const std::vector<KeyColour> fresh = doc_.ReadCustomGroupColours(3, 2);
    EXPECT_EQ(fresh, std::vector<KeyColour>(2));
    const Json::Value groups = Saved()["CustomLightMode"]["LightColorInfo"];
    ASSERT_EQ(groups.size(), 4u);
    ASSERT_EQ(groups[0].size(), 3u);
    EXPECT_EQ(groups[0][2]["Alpha"], 0);
    EXPECT_EQ(groups[0][1].size(), 4u);
    ASSERT_EQ(groups[3].size(), 2u);
    EXPECT_EQ(groups[3][1]["Red"], 0);
}

TEST_F(KeyboardProfiledataTest, NoFillReadChangesNothing) {
    const std::string before = JsonFile::StyledText(doc_.LoadSection(data_.Path("p.Json")));
    EXPECT_EQ(doc_.ReadCustomGroupColoursNoFill(0, 3),
              (std::vector<KeyColour>{{1, 2, 3, 4}, {}, {}}));
    EXPECT_EQ(doc_.ReadCustomGroupColoursNoFill(9, 2), std::vector<KeyColour>(2));
    EXPECT_EQ(doc_.ReadCustomGroupColoursNoFill(-1, 1), std::vector<KeyColour>(1));
    EXPECT_EQ(JsonFile::StyledText(Saved()), before);
}

TEST_F(KeyboardProfiledataTest, ColoursGoToTheSelectedGroup) {
    doc_.WriteCustomGroupIndex(1);
    doc_.WriteCustomGroupColours({{255, 0, 0, 255}, {0, 0, 255, 128}});
    const Json::Value mode = Saved()["CustomLightMode"];
    EXPECT_EQ(mode["CustomLightModeGroupIndex"], 1);
    EXPECT_EQ(mode["LightColorInfo"][1][1]["Blue"], 255);
    EXPECT_EQ(mode["LightColorInfo"][1][1]["Alpha"], 128);
    EXPECT_EQ(mode["LightColorInfo"][0][0]["Red"], 1);  // other groups untouched
    EXPECT_EQ(doc_.ReadCustomGroupColours(1, 2),
              (std::vector<KeyColour>{{255, 0, 0, 255}, {0, 0, 255, 128}}));
}

TEST_F(KeyboardProfiledataTest, AGroupIndexFromADamagedFileCannotGrowTheDocument) {
    data_.WriteText("p.Json", R"({"Device" : [ { "CustomLightMode" :
        { "CustomLightModeGroupIndex" : 2000000000 } } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    const int group = doc_.ReadCustomGroupIndex();
    EXPECT_EQ(doc_.ReadCustomGroupColours(group, 170), std::vector<KeyColour>(170));
    doc_.WriteCustomGroupColours({{1, 1, 1, 1}});
    EXPECT_FALSE(Saved()["CustomLightMode"].isMember("LightColorInfo"));
}

}  // namespace
}  // namespace profile
