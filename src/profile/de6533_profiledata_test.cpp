#include "profile/de6533_profiledata.h"

#include <gtest/gtest.h>

#include <cmath>

#include "profile/temp_data_folder.h"

namespace profile {
namespace {

class De6533ProfiledataTest : public ::testing::Test {
  protected:
    De6533ProfiledataTest() : data_("HD") {
        // Preset index i holds bands i*10 + b, so a read tells which index it took.
        Json::Value presets(Json::arrayValue);
        for (int i = 0; i <= 12; ++i)
            for (int b = 0; b < 10; ++b) presets[i][b]["value"] = i * 10 + b;
        Json::Value root;
        root["Device"][0]["EQHzValueInfo"] = presets;
        JsonFile().Write(root, data_.Path("p.Json"));
        doc_.SetProfilePath(data_.Path("p.Json"));
        doc_.LoadSection(data_.Path("p.Json"));
    }
    static std::vector<int> BandsOf(int index) {
        std::vector<int> bands;
        for (int b = 0; b < 10; ++b) bands.push_back(index * 10 + b);
        return bands;
    }
    Json::Value Saved() {
        EXPECT_TRUE(doc_.Save());
        return JsonFile().Read(data_.Path("p.Json"))["Device"][0];
    }

    TempDataFolder data_;
    CDe6533Profiledata doc_;
};

TEST_F(De6533ProfiledataTest, PresetNumbersMapToStoredPresets) {
    struct Case {
        int preset;
        int index;  // -1: nothing comes back
    };
    for (const Case c : {Case{0, 1}, Case{1, 1}, Case{5, 5}, Case{12, 12}, Case{13, -1},
                         Case{14, 1}, Case{20, 1}, Case{-3, 1}}) {
        EXPECT_EQ(doc_.ReadEqBands(c.preset), c.index < 0 ? std::vector<int>{} : BandsOf(c.index))
            << c.preset;
    }
}

TEST_F(De6533ProfiledataTest, MissingBandsReadAsZeroAndAreCreated) {
    data_.WriteText("p.Json", R"({"Device" : [ { "EQHzValueInfo" : [ null, [ { "value" : 4 } ] ],
        "CustomEQHzValueInfo" : 7 } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    EXPECT_EQ(doc_.ReadEqBands(1), (std::vector<int>{4, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(doc_.ReadEqBands(3), std::vector<int>(10));
    EXPECT_EQ(doc_.ReadCustomEqBands(1), std::vector<int>(10));
    const Json::Value section = Saved();
    ASSERT_EQ(section["EQHzValueInfo"].size(), 4u);
    EXPECT_EQ(section["EQHzValueInfo"][1].size(), 10u);
    EXPECT_EQ(section["EQHzValueInfo"][3][9]["value"], 0);
    EXPECT_EQ(section["CustomEQHzValueInfo"][1][9]["value"], 0);
}

TEST_F(De6533ProfiledataTest, BandWritesChangeOneBand) {
    doc_.WriteEqBand(4, 2, -6);
    doc_.WriteEqBand(0, 9, 7);   // preset 0 is preset 1
    doc_.WriteEqBand(13, 0, 5);  // the custom preset has no stored preset bands: ignored
    doc_.WriteEqBand(4, 10, 5);  // no such band: ignored
    doc_.WriteCustomEqBand(0, 3, 12);
    const Json::Value section = Saved();
    EXPECT_EQ(section["EQHzValueInfo"][4][2]["value"], -6);
    EXPECT_EQ(section["EQHzValueInfo"][1][9]["value"], 7);
    EXPECT_EQ(section["EQHzValueInfo"][0][0]["value"], 0);
    EXPECT_EQ(section["EQHzValueInfo"][4].size(), 10u);
    EXPECT_EQ(section["CustomEQHzValueInfo"][0][3]["value"], 12);
    std::vector<int> custom(10);
    custom[3] = 12;
    EXPECT_EQ(doc_.ReadCustomEqBands(0), custom);
}

TEST_F(De6533ProfiledataTest, CustomIndexFromADamagedFileCannotGrowTheDocument) {
    const Json::Value before = doc_.LoadSection(data_.Path("p.Json"));
    EXPECT_EQ(doc_.ReadCustomEqBands(2000000000), std::vector<int>(10));
    EXPECT_EQ(doc_.ReadCustomEqBands(-1), std::vector<int>(10));
    doc_.WriteCustomEqBand(2000000000, 0, 1);
    EXPECT_EQ(Saved(), before);
}

TEST_F(De6533ProfiledataTest, SystemValuesAndCustomNamesRoundTrip) {
    EXPECT_EQ(doc_.ReadHeadsetSystem(), HeadsetSystemSettings{});
    const HeadsetSystemSettings values{1, 3, 13, 2, 1, 80, 0, 50};
    doc_.WriteHeadsetSystem(values);
    const std::vector<std::string> names = {"Bass", "低音 🎧", ""};
    doc_.WriteCustomEqNames(names);
    const Json::Value section = Saved();
    EXPECT_EQ(section["SystemSetStages"]["CustomEqSeletIndex"], 2);
    EXPECT_EQ(section["SystemSetStages"]["MicMoniterValue"], 50);
    EXPECT_EQ(section["CustomEQNameInfo"][1]["Name"], "低音 🎧");

    CDe6533Profiledata fresh;
    fresh.LoadSection(data_.Path("p.Json"));
    EXPECT_EQ(fresh.ReadHeadsetSystem(), values);
    EXPECT_EQ(fresh.ReadCustomEqNames(), names);
    doc_.WriteCustomEqNames({"only"});
    EXPECT_EQ(doc_.ReadCustomEqNames(), std::vector<std::string>{"only"});
}

TEST_F(De6533ProfiledataTest, AudioEffectValuesAreKeptAndOddMembersLeftOut) {
    EXPECT_TRUE(doc_.ReadAudioEffectValues().empty());
    doc_.WriteAudioEffectValues({{"playback/XearSurrHP_Enable", 1},
                                 {"capture/RFX_ROOMSIZE", 40},
                                 {"capture/Enable_ENC_LFX", std::nan("")}});
    const Json::Value section = Saved();
    EXPECT_EQ(section["AudioEffectValues"]["capture/RFX_ROOMSIZE"], 40);
    EXPECT_EQ(doc_.ReadAudioEffectValues(),
              (std::vector<CDe6533Profiledata::AudioEffectValue>{
                  {"capture/RFX_ROOMSIZE", 40}, {"playback/XearSurrHP_Enable", 1}}));

    data_.WriteText("p.Json", R"({"Device" : [ { "AudioEffectValues" : {
        "playback/EQ_Slider1" : -3, "playback/RFX_ENVIRONMENT" : "loud", "capture/x" : null,
        "capture/ENC_SELFCALIB" : 1.0 } } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    EXPECT_EQ(doc_.ReadAudioEffectValues(),
              (std::vector<CDe6533Profiledata::AudioEffectValue>{{"capture/ENC_SELFCALIB", 1},
                                                                 {"playback/EQ_Slider1", -3}}));
    data_.WriteText("p.Json", R"({"Device" : [ { "AudioEffectValues" : [ 1, 2 ] } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    EXPECT_TRUE(doc_.ReadAudioEffectValues().empty());
}

}  // namespace
}  // namespace profile
