#include "profile/mouse_profiledata.h"

#include <gtest/gtest.h>

#include "profile/temp_data_folder.h"

namespace profile {
namespace {

class MouseProfiledataTest : public ::testing::Test {
  protected:
    MouseProfiledataTest() : data_("mouse") { doc_.SetProfilePath(data_.Path("p.Json")); }
    void Load(const std::string& text) {
        data_.WriteText("p.Json", text);
        doc_.LoadSection(data_.Path("p.Json"));
    }
    Json::Value Saved() {
        EXPECT_TRUE(doc_.Save());
        return JsonFile().Read(data_.Path("p.Json"))["Device"][0];
    }

    TempDataFolder data_;
    CMouseProfiledata doc_;
};

TEST_F(MouseProfiledataTest, ShorterStoredStageListLeavesLaterCachedStagesAlone) {
    const std::vector<DpiStage> five = {{1, 0, 257, 257, 1, 1, 1},
                                        {1, 0, 514, 514, 2, 2, 2},
                                        {1, 0, 771, 771, 3, 3, 3},
                                        {1, 1, 1028, 2056, 4, 4, 4},
                                        {0, 0, 1285, 1285, 5, 5, 5}};
    Load(R"({"Device" : [ {} ]})");
    doc_.WriteDpiStages(five);
    Load(R"({"Device" : [ { "DPIStages" : { "StageActive" : 2, "StageDPIs" : [
        { "StageActive" : 1, "StageXY" : 1, "StageDPIX" : 70000, "StageDPIY" : 10,
          "StageColorR" : 255, "StageColorG" : 0, "StageColorB" : 9 },
        null, { "StageDPIX" : 3 } ] } } ]})");
    const std::vector<DpiStage> stages = doc_.ReadDpiStages();
    ASSERT_EQ(stages.size(), 5u);
    EXPECT_EQ(stages[0], (DpiStage{1, 1, 70000 & 0xFFFF, 10, 255, 0, 9}));
    EXPECT_EQ(stages[1], DpiStage{});
    EXPECT_EQ(stages[2], (DpiStage{0, 0, 3, 0, 0, 0, 0}));
    EXPECT_EQ(stages[3], five[3]);
    EXPECT_EQ(stages[4], five[4]);
    EXPECT_EQ(doc_.GetActiveDpiStage(), 2);
}

TEST_F(MouseProfiledataTest, LongerStoredListIsAppendedAndStagesRoundTrip) {
    Load(R"({"Device" : [ {} ]})");
    EXPECT_TRUE(doc_.ReadDpiStages().empty());  // no "DPIStages": cache unchanged
    const std::vector<DpiStage> stages = {{1, 0, 2570, 2570, 255, 0, 0}, {1, 1, 10, 20, 0, 255, 0}};
    doc_.WriteDpiStages(stages);
    doc_.SetActiveDpiStage(1);
    const Json::Value dpi = Saved()["DPIStages"];
    EXPECT_EQ(dpi["StageActive"], 1);
    EXPECT_EQ(dpi["StageDPIs"][0]["StageDPIX"], 2570);
    EXPECT_EQ(dpi["StageDPIs"][1]["StageColorG"], 255);
    EXPECT_EQ(dpi["StageDPIs"][1].size(), 7u);

    CMouseProfiledata fresh;
    fresh.LoadSection(data_.Path("p.Json"));
    EXPECT_EQ(fresh.ReadDpiStages(), stages);
    EXPECT_EQ(fresh.GetActiveDpiStage(), 1);
}

TEST_F(MouseProfiledataTest, SystemValuesSpanTwoObjects) {
    Load(R"({"Device" : [ { "ReportStages" : { "StageActive" : 3, "ble_sleep1" : 5 } } ]})");
    // Without "SystemStages" nothing is read, "ReportStages" included.
    EXPECT_EQ(doc_.ReadMouseSystem(), MouseSystemSettings{});

    Load(
        R"({"Device" : [ { "SystemStages" : { "DoubleClickTime" : 500, "AntiShakeTime" : 4 } } ]})");
    EXPECT_EQ(doc_.ReadMouseSystem(), (MouseSystemSettings{500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4}));

    const MouseSystemSettings values{500, 10, 1, 0, 3, 2, 1, 10, 2, 20, 1, 8};
    doc_.WriteMouseSystem(values);
    const Json::Value section = Saved();
    EXPECT_EQ(section["SystemStages"]["WheelScorlllinse"], 3);
    EXPECT_EQ(section["SystemStages"]["Logoledmode"], 1);
    EXPECT_EQ(section["ReportStages"]["StageActive"], 2);
    EXPECT_EQ(section["ReportStages"]["device_sleep2"], 20);
    EXPECT_EQ(doc_.ReadMouseSystem(), values);
}

}  // namespace
}  // namespace profile
