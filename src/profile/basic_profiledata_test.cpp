#include "profile/basic_profiledata.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "os/atomic_file.h"
#include "profile/temp_data_folder.h"

namespace profile {
namespace {

// A template with sections for slots 0..2, each told apart by its red value.
constexpr const char* kTemplate = R"({
   "profilename" : "factory",
   "Device" : [
      { "LightInfo" : { "Red" : 10 } },
      { "LightInfo" : { "Red" : 11 } },
      { "LightInfo" : { "Red" : 12, "Green" : 7 },
        "KeyList" : [ { "Assignment" : 2097193, "DefaultAssignment" : 2097193 } ] }
   ]
})";

class BasicProfiledataTest : public ::testing::Test {
  protected:
    BasicProfiledataTest() {
        data_.WriteText("template.Json", kTemplate);
        doc_.SetDefaultPath(data_.Path("template.Json"));
        doc_.SetProfilePath(data_.Path("p.Json"));
    }
    Json::Value ReadFile(const std::string& name) { return file_.Read(data_.Path(name)); }
    Json::Value TemplateSection(int slot) {
        return file_.Read(data_.Path("template.Json"))["Device"][slot];
    }

    TempDataFolder data_;
    JsonFile file_;
    CBasicProfiledata doc_;
};

TEST_F(BasicProfiledataTest, MissingSectionComesFromTheTemplateAndIsStoredAtOnce) {
    data_.WriteText("p.Json", R"({"profilename" : "Work", "profileUUID" : "2021_03_07"})");
    doc_.SetDeviceSlot(2);
    CBasicProfiledata::LoadResult result{};
    const Json::Value section = doc_.LoadSection(data_.Path("p.Json"), &result);
    EXPECT_EQ(result, CBasicProfiledata::LoadResult::kFromTemplate);
    EXPECT_EQ(section, TemplateSection(2));
    EXPECT_EQ(doc_.GetProfileName(), "Work");

    const Json::Value root = ReadFile("p.Json");
    ASSERT_EQ(root["Device"].size(), 3u);
    EXPECT_TRUE(root["Device"][0].isNull());
    EXPECT_TRUE(root["Device"][1].isNull());
    EXPECT_EQ(root["Device"][2], TemplateSection(2));
    EXPECT_EQ(root["profilename"], "Work");
    EXPECT_EQ(root["profileUUID"], "2021_03_07");

    // Present now: a second load reads it and leaves the file alone.
    const std::string text = data_.ReadText("p.Json");
    EXPECT_EQ(doc_.LoadSection(data_.Path("p.Json"), &result), section);
    EXPECT_EQ(result, CBasicProfiledata::LoadResult::kLoaded);
    EXPECT_EQ(data_.ReadText("p.Json"), text);
}

TEST_F(BasicProfiledataTest, UnusableFilesAreReplacedFromTheTemplateAndKeptAside) {
    struct Case {
        const char* name;
        std::string text;
        bool keptAside;
    };
    const Case cases[] = {
        {"missing", "", false},
        {"truncated", R"({"Device" : [ { "LightInfo" : { "Red" : 25)", true},
        {"not an object", "[1, 2, 3]", true},
        {"garbage", std::string("\x89PNG\r\n\x1a\n\0\0", 10), true},
        {"nested too deep", std::string(50000, '[') + std::string(50000, ']'), true},
        {"Device of the wrong type", R"({"Device" : 5, "profilename" : "n"})", true},
        {"section of the wrong type", R"({"Device" : [ "x" ]})", true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(data_.Path("p.Json"));
        std::filesystem::remove(data_.Path("p.Json.bad"));
        if (!c.text.empty()) data_.WriteText("p.Json", c.text);
        EXPECT_EQ(doc_.LoadSection(data_.Path("p.Json")), TemplateSection(0)) << c.name;
        EXPECT_EQ(ReadFile("p.Json")["Device"][0], TemplateSection(0)) << c.name;
        EXPECT_EQ(doc_.ReadLightInfo()[LightingRecord::kRed], 10) << c.name;
        EXPECT_EQ(os::PathExists(data_.Path("p.Json.bad")), c.keptAside) << c.name;
        if (c.keptAside) {
            EXPECT_EQ(data_.ReadText("p.Json.bad"), c.text) << c.name;
        }
    }
}

// Each damaged file is kept: a later one does not replace the copy of an earlier one.
TEST_F(BasicProfiledataTest, EveryDamagedFileIsKeptAside) {
    const std::string texts[] = {"{ broken", "[ also broken",
                                 R"({"Device" : { "LightInfo" : { "Red" : 3 } },
                                     "profilename" : "Mine"})"};
    for (const std::string& text : texts) {
        data_.WriteText("p.Json", text);
        EXPECT_EQ(doc_.LoadSection(data_.Path("p.Json")), TemplateSection(0)) << text;
    }
    EXPECT_EQ(data_.ReadText("p.Json.bad"), texts[0]);
    EXPECT_EQ(data_.ReadText("p.Json.bad.2"), texts[1]);
    EXPECT_EQ(data_.ReadText("p.Json.bad.3"), texts[2]);
    // Only the damaged part is replaced in the file; the rest of the document stays.
    EXPECT_EQ(ReadFile("p.Json")["Device"][0], TemplateSection(0));
    EXPECT_EQ(ReadFile("p.Json")["profilename"], "Mine");
}

// A profile that is there but cannot be read holds the user's settings as far as anyone knows:
// it is neither replaced from the template nor saved over, and no copy is made of what could not
// be read. The device works on the template's section meanwhile.
TEST_F(BasicProfiledataTest, UnreadableProfileIsNeverWrittenOver) {
    namespace fs = std::filesystem;
    const std::string path = data_.Path("p.Json");
    struct Case {
        const char* name;
        std::function<void()> make;
        std::function<bool()> unchanged;
    };
    const std::string stored = R"({"Device" : [ { "LightInfo" : { "Red" : 77 } } ]})";
    const Case cases[] = {
        // Reading the start of a process's memory map fails with EIO, a real I/O error.
        {"I/O error", [&] { fs::create_symlink("/proc/self/mem", path); },
         [&] { return fs::is_symlink(path) && fs::read_symlink(path) == "/proc/self/mem"; }},
        {"a folder", [&] { fs::create_directory(path); }, [&] { return fs::is_directory(path); }},
        // Skipped under root, which reads the file anyway.
        {"permission denied",
         [&] {
             data_.WriteText("p.Json", stored);
             fs::permissions(path, fs::perms::none);
         },
         [&] {
             fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
             return data_.ReadText("p.Json") == stored;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        if (std::ifstream(path).peek() != EOF) {
            fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
            fs::remove_all(path);
            continue;
        }
        CBasicProfiledata doc;
        doc.SetDefaultPath(data_.Path("template.Json"));
        doc.SetProfilePath(path);
        CBasicProfiledata::LoadResult result{};
        const Json::Value section = doc.LoadSection(path, &result);
        EXPECT_EQ(result, CBasicProfiledata::LoadResult::kUnreadable);
        LightingRecord record = doc.ReadLightInfo();
        record[LightingRecord::kBlue] = 5;
        doc.WriteLightInfo(record);
        const bool saved = doc.Save();
        const bool written = doc.WriteSection(section, path);
        EXPECT_TRUE(c.unchanged());
        EXPECT_FALSE(os::PathExists(path + ".bad"));
        EXPECT_EQ(section, TemplateSection(0));
        EXPECT_FALSE(saved);
        EXPECT_FALSE(written);
        fs::remove_all(path);
    }

    // Once the file can be read, a load reads it and saving works again.
    fs::create_directory(path);
    CBasicProfiledata::LoadResult result{};
    doc_.LoadSection(path, &result);
    EXPECT_EQ(result, CBasicProfiledata::LoadResult::kUnreadable);
    fs::remove(path);
    data_.WriteText("p.Json", stored);
    doc_.LoadSection(path, &result);
    EXPECT_EQ(result, CBasicProfiledata::LoadResult::kLoaded);
    EXPECT_EQ(doc_.ReadLightInfo()[LightingRecord::kRed], 77);
    EXPECT_TRUE(doc_.Save());
}

TEST_F(BasicProfiledataTest, WithoutTemplateEveryReadGivesDefaults) {
    CBasicProfiledata doc;
    doc.SetDefaultPath(data_.Path("absent.Json"));
    CBasicProfiledata::LoadResult result{};
    EXPECT_TRUE(doc.LoadSection(data_.Path("p.Json"), &result).isNull());
    EXPECT_EQ(result, CBasicProfiledata::LoadResult::kNoSection);
    EXPECT_TRUE(doc.ReadKeyList().empty());
    EXPECT_EQ(doc.ReadLightInfo(), LightingRecord{});
    EXPECT_EQ(doc.ReadAudioLightInfo(), AudioLightingRecord{});
    EXPECT_TRUE(doc.ReadLightList().empty());
    EXPECT_TRUE(doc.ReadEffectFrames().empty());
    EXPECT_FALSE(os::PathExists(data_.Path("p.Json")));

    // Saving a section that was never there must not wipe what the file holds for the slot.
    data_.WriteText("kept.Json", R"({"Device" : [ { "LightInfo" : { "Red" : 5 } } ]})");
    doc.SetProfilePath(data_.Path("kept.Json"));
    EXPECT_FALSE(doc.Save());
    EXPECT_EQ(ReadFile("kept.Json")["Device"][0]["LightInfo"]["Red"], 5);
}

TEST_F(BasicProfiledataTest, SavingToAMissingFileWritesOnlyDevice) {
    doc_.SetDeviceSlot(1);
    doc_.LoadSection(data_.Path("p.Json"));
    ASSERT_TRUE(doc_.WriteSection(TemplateSection(2), data_.Path("new.Json")));
    const Json::Value root = ReadFile("new.Json");
    EXPECT_EQ(root.getMemberNames(), std::vector<std::string>{"Device"});
    ASSERT_EQ(root["Device"].size(), 2u);
    EXPECT_TRUE(root["Device"][0].isNull());
    EXPECT_EQ(root["Device"][1], TemplateSection(2));
}

TEST_F(BasicProfiledataTest, SaveKeepsOtherSlotsAndTopLevelMembers) {
    data_.WriteText("p.Json", R"({"profilename" : "Mine", "profileUUID" : "id",
        "Device" : [ { "LightInfo" : { "Red" : 1 } }, { "LightInfo" : { "Red" : 2 } } ]})");
    doc_.SetDeviceSlot(1);
    doc_.LoadSection(data_.Path("p.Json"));
    LightingRecord record = doc_.ReadLightInfo();
    record[LightingRecord::kBlue] = 99;
    doc_.WriteLightInfo(record);
    ASSERT_TRUE(doc_.Save());

    const Json::Value root = ReadFile("p.Json");
    EXPECT_EQ(root["profilename"], "Mine");
    EXPECT_EQ(root["profileUUID"], "id");
    EXPECT_EQ(root["Device"][0]["LightInfo"]["Red"], 1);
    EXPECT_EQ(root["Device"][1]["LightInfo"]["Red"], 2);
    EXPECT_EQ(root["Device"][1]["LightInfo"]["Blue"], 99);
}

TEST_F(BasicProfiledataTest, InterruptedSaveLeavesTheOldFileWhole) {
    doc_.LoadSection(data_.Path("p.Json"));
    const std::string before = data_.ReadText("p.Json");
    const std::size_t entries = data_.EntryCount();
    LightingRecord record;
    record[LightingRecord::kRed] = 200;
    doc_.WriteLightInfo(record);

    os::SetAtomicWriteFailBeforeRenameForTesting(true);
    const bool saved = doc_.Save();
    // A load that has to store a missing section still hands the section out.
    const Json::Value section = doc_.LoadSection(data_.Path("other.Json"));
    os::SetAtomicWriteFailBeforeRenameForTesting(false);

    EXPECT_FALSE(saved);
    EXPECT_EQ(data_.ReadText("p.Json"), before);
    EXPECT_EQ(section, TemplateSection(0));
    EXPECT_FALSE(os::PathExists(data_.Path("other.Json")));
    EXPECT_EQ(data_.EntryCount(), entries);  // no temporary file left behind
}

TEST_F(BasicProfiledataTest, KeyListIsDecodedAndWrittenByListPosition) {
    doc_.SetDeviceSlot(2);
    doc_.LoadSection(data_.Path("p.Json"));
    const std::vector<KeyAssignmentPair> read = doc_.ReadKeyList();
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].current, (KeyAssignment{0, 0x20, 0x00, 0x29}));
    EXPECT_EQ(read[0].defaultAssignment, (KeyAssignment{0, 0x20, 0x00, 0x29}));

    // Stored key positions out of order: the list position picks the element.
    const std::vector<KeyAssignmentPair> list = {
        {{5, 0x70, 0x02, 0x01}, {5, 0x20, 0x00, 0x04}},
        {{0, 0x10, 0x01, 0x00}, {0, 0x20, 0x00, 0x05}},
    };
    doc_.WriteKeyList(list);
    ASSERT_TRUE(doc_.Save());
    const Json::Value keys = ReadFile("p.Json")["Device"][2]["KeyList"];
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0]["Assignment"], 0x700201);
    EXPECT_EQ(keys[0]["DefaultAssignment"], 2097193);  // never written
    EXPECT_EQ(keys[1]["Assignment"], 0x100100);
    EXPECT_FALSE(keys[1].isMember("DefaultAssignment"));
    const std::vector<KeyAssignmentPair> back = doc_.ReadKeyList();
    EXPECT_EQ(back[1].current, (KeyAssignment{1, 0x10, 0x01, 0x00}));
}

// A stored value outside 24 bits comes from a damaged or foreign file and is no code: cutting it
// to its low bytes would make up an assignment that then goes to the device. Such a key reads as
// its default; a default outside 24 bits reads as no function.
TEST_F(BasicProfiledataTest, AssignmentsOutside24BitsReadAsTheKeysDefault) {
    data_.WriteText("p.Json", R"({"Device" : [ { "KeyList" : [
        { "Assignment" : 19922945, "DefaultAssignment" : 2097193 },
        { "Assignment" : -1, "DefaultAssignment" : 2097193 },
        { "Assignment" : 1e30, "DefaultAssignment" : 2097193 },
        { "Assignment" : 4294967297, "DefaultAssignment" : 2097193 },
        { "Assignment" : 16777215, "DefaultAssignment" : 2097193 },
        { "Assignment" : 16777216, "DefaultAssignment" : -5 },
        { "Assignment" : 1048832, "DefaultAssignment" : 16777216 }
    ] } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    const std::vector<KeyAssignmentPair> read = doc_.ReadKeyList();
    ASSERT_EQ(read.size(), 7u);
    constexpr keys::AssignmentCode kFactory{0x20, 0x00, 0x29};
    constexpr keys::AssignmentCode kNone{};
    const keys::AssignmentCode expected[][2] = {
        {kFactory, kFactory},
        {kFactory, kFactory},
        {kFactory, kFactory},
        {kFactory, kFactory},
        // FF FF FF is within 24 bits: a code like any other.
        {{0xFF, 0xFF, 0xFF}, kFactory},
        {kNone, kNone},
        {{0x10, 0x01, 0x00}, kNone},
    };
    for (std::size_t i = 0; i < read.size(); ++i) {
        const auto position = static_cast<std::uint16_t>(i);
        EXPECT_EQ(read[i].current, (KeyAssignment{position, expected[i][0]})) << i;
        EXPECT_EQ(read[i].defaultAssignment, (KeyAssignment{position, expected[i][1]})) << i;
    }

    // What is saved back is the default's code, never the cut one.
    doc_.WriteKeyList(read);
    ASSERT_TRUE(doc_.Save());
    const Json::Value keys = ReadFile("p.Json")["Device"][0]["KeyList"];
    for (Json::ArrayIndex i = 0; i < 4; ++i) EXPECT_EQ(keys[i]["Assignment"], 2097193) << i;
    EXPECT_EQ(keys[4]["Assignment"], 16777215);
    EXPECT_EQ(keys[5]["Assignment"], 0);
    EXPECT_EQ(keys[6]["Assignment"], 1048832);
}

TEST_F(BasicProfiledataTest, ScratchSectionEditsAnotherProfileWithoutTouchingTheCurrentOne) {
    doc_.SetDeviceSlot(2);
    doc_.LoadSection(data_.Path("p.Json"));
    doc_.LoadScratchSection(data_.Path("q.Json"));
    std::vector<KeyAssignmentPair> list = doc_.ReadScratchKeyList();
    ASSERT_EQ(list.size(), 1u);
    list[0].current = {0, 0x13, 0x03, 0x00};
    doc_.WriteScratchKeyList(list);
    ASSERT_TRUE(doc_.SaveScratchTo(data_.Path("q.Json")));

    EXPECT_EQ(ReadFile("q.Json")["Device"][2]["KeyList"][0]["Assignment"], 0x130300);
    EXPECT_EQ(doc_.ReadKeyList()[0].current, (KeyAssignment{0, 0x20, 0x00, 0x29}));
    EXPECT_EQ(ReadFile("p.Json")["Device"][2]["KeyList"][0]["Assignment"], 2097193);
}

TEST_F(BasicProfiledataTest, LightInfoStoresElevenBytes) {
    data_.WriteText("p.Json", R"({"Device" : [ { "LightInfo" : {
        "SelectItem" : 3, "Light" : 4, "Speed" : 2, "Fx" : 1, "MultiColor" : 2, "Red" : 255,
        "Green" : 300, "Blue" : "blue", "ZZCCLedMode" : 5, "CustomGroup" : 6, "OldLedmode" : 7 } } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    LightingRecord expected;
    expected.bytes = {3, 4, 2, 1, 1, 255, 300 & 0xFF, 0, 0, 0, 0, 5, 6, 7, 0, 0};
    EXPECT_EQ(doc_.ReadLightInfo(), expected);

    LightingRecord written = expected;
    written[LightingRecord::kColourful] = 2;
    written[8] = written[9] = written[10] = written[14] = written[15] = 9;  // not stored
    doc_.WriteLightInfo(written);
    ASSERT_TRUE(doc_.Save());
    const Json::Value info = ReadFile("p.Json")["Device"][0]["LightInfo"];
    EXPECT_EQ(info.size(), 11u);
    EXPECT_EQ(info["MultiColor"], 1);
    EXPECT_EQ(info["Green"], 44);
    EXPECT_EQ(doc_.ReadLightInfo(), expected);
}

TEST_F(BasicProfiledataTest, AudioLightInfoRoundTrips) {
    doc_.LoadSection(data_.Path("p.Json"));
    const AudioLightingRecord record{2, 1, 2, 3, 4, 5, 6, 1, 1};
    doc_.WriteAudioLightInfo(record);
    ASSERT_TRUE(doc_.Save());
    const Json::Value info = ReadFile("p.Json")["Device"][0]["AudioLightInfo"];
    EXPECT_EQ(info["FgColorB"], 6);
    EXPECT_EQ(info["7ColorFlags"], 1);
    AudioLightingRecord flagsAsTwo = record;
    flagsAsTwo.colourful = 2;
    doc_.WriteAudioLightInfo(flagsAsTwo);
    EXPECT_EQ(doc_.ReadAudioLightInfo(), record);
}

TEST_F(BasicProfiledataTest, LightListMarksNullEntriesAbsent) {
    data_.WriteText("p.Json", R"({"Device" : [ { "LightList" : [
        { "LEDREGMode" : 4, "LEDBrightness" : 3, "LEDSpeed" : 2, "LEDDirection" : 1,
          "LEDMultiColor" : true, "red" : 9, "green" : 8, "blue" : 7 },
        null, 5, {} ] } ]})");
    doc_.LoadSection(data_.Path("p.Json"));
    const std::vector<LightListEntry> list = doc_.ReadLightList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], (LightListEntry{4, 3, 2, true, true, 9, 8, 7, 1}));
    EXPECT_EQ(list[1], LightListEntry{});
    EXPECT_EQ(list[2], LightListEntry{});
    EXPECT_EQ(list[3], (LightListEntry{0, 0, 0, false, false, 0, 0, 0, 1}));
}

TEST_F(BasicProfiledataTest, EffectFramesFollowTheLibraryEntryOfTheCachedMode) {
    data_.WriteText("p.Json", R"({"Device" : [ {}, { "LightInfo" : { "SelectItem" : 2 } } ]})");
    data_.WriteText("tilmo_light.config", R"({"LightInfo" : [ [], [
        { "Guid" : "first" }, { "Guid" : "nofile" }, { "Guid" : "effect-1", "LightName" : "Mine" },
        { "Guid" : "../outside" }, { "Guid" : "/tmp/x" }, {} ] ]})");
    data_.WriteText("effect-1.light", R"({"LEDEffectList" : [
        { "LEDREGMode" : 1, "LEDBrightness" : 4, "LEDSpeed" : 3, "LEDDirection" : 1,
          "LEDMultiColor" : 0, "red" : 255, "green" : 128, "blue" : 0, "Time" : 1500, "Cyle" : 2 },
        { "Time" : 20 } ]})");
    // A file the refused names would reach if they were followed.
    data_.WriteText("../outside.light", R"({"LEDEffectList" : [ {} ]})");

    doc_.SetDeviceSlot(1);
    doc_.LoadSection(data_.Path("p.Json"));
    doc_.ReadLightInfo();
    EXPECT_TRUE(doc_.ReadEffectFrames().empty());  // library not loaded yet
    doc_.LoadLightLibrary(data_.Path("tilmo_light.config"));
    const std::vector<EffectFrame> frames = doc_.ReadEffectFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], (EffectFrame{1, 4, 3, 1, 0, 255, 128, 0, 1500, 2}));
    EXPECT_EQ(frames[1], (EffectFrame{0, 0, 0, 0, 0, 0, 0, 0, 20, 0}));

    // Entry 1 names no file; 3 and 4 would leave the folder; 5 has no name; 6 is past the end.
    for (int mode : {1, 3, 4, 5, 6}) {
        LightingRecord record;
        record[LightingRecord::kMode] = static_cast<std::uint8_t>(mode);
        doc_.WriteLightInfo(record);
        doc_.ReadLightInfo();
        EXPECT_TRUE(doc_.ReadEffectFrames().empty()) << mode;
    }
}

TEST_F(BasicProfiledataTest, PathsAndSlotIgnoreUnusableValues) {
    doc_.SetProfilePath("");
    EXPECT_EQ(doc_.GetProfilePath(), data_.Path("p.Json"));
    doc_.SetDefaultPath("");  // still the template
    EXPECT_EQ(doc_.LoadSection(data_.Path("p.Json")), TemplateSection(0));
    doc_.SetDeviceSlot(2);
    doc_.SetDeviceSlot(-1);
    doc_.SetDeviceSlot(CBasicProfiledata::kMaxIndex + 1);
    EXPECT_EQ(doc_.GetDeviceSlot(), 2);
    doc_.SetLightLibraryPath(data_.Path("tilmo_light.config"));
    EXPECT_EQ(doc_.GetLightLibraryPath(), data_.Path("tilmo_light.config"));
}

}  // namespace
}  // namespace profile
