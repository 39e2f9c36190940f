#include "profile/profile_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "os/atomic_file.h"
#include "profile/folder_snapshot.h"
#include "profile/import_file.h"
#include "profile/message_keys.h"
#include "profile/name_rules.h"
#include "profile/temp_data_folder.h"

namespace profile {
namespace {

constexpr const char* kTemplate = R"({
   "profilename" : "factory",
   "profileUUID" : "factory",
   "Device" : [ { "LightInfo" : { "Red" : 10 }, "CustomEQNameInfo" : [ { "Name" : "flat" } ] } ]
})";

// Ids as the clock makes them, oldest first.
constexpr const char* kId1 = "2021_03_07_09_05_01_042";
constexpr const char* kId2 = "2021_03_07_09_05_01_043";
constexpr const char* kId3 = "2021_11_30_18_00_00_000";

class ProfileListTest : public ::testing::Test {
  protected:
    ProfileListTest() : outside_(data_.Folder() + "../outside.Json") {
        data_.WriteText("template.Json", kTemplate);
        os::WriteFileAtomically(outside_, "{\"keep\" : 1}");
    }
    ~ProfileListTest() override { os::SetAtomicWriteFailBeforeRenameForTesting(false); }

    // A list file of the given entries, with a profile file for each.
    void WriteList(const std::vector<ProfileList::Entry>& entries, int selected = 0) {
        Json::Value doc;
        doc["profileselect"] = selected;
        doc["profilelist"] = Json::Value(Json::arrayValue);
        for (const auto& e : entries) {
            Json::Value record;
            record["profilename"] = e.name;
            record["profileUUID"] = e.id;
            doc["profilelist"].append(record);
            WriteProfileFile(e.id, e.name);
        }
        file_.Write(doc, data_.Path("ProfileList.ini"));
    }
    void WriteProfileFile(const std::string& id, const std::string& name, int red = 1) {
        Json::Value doc;
        doc["profilename"] = name;
        doc["profileUUID"] = id;
        doc["Device"][0]["LightInfo"]["Red"] = red;
        file_.Write(doc, data_.Path(id + ".Json"));
    }
    ProfileList& Open(int kind = 2) {
        list_.SetDeviceKind(kind);
        list_.SetFolders(data_.Folder(), data_.Path("template.Json"));
        EXPECT_TRUE(list_.Init());
        return list_;
    }
    Json::Value ListFile() { return file_.Read(data_.Path("ProfileList.ini")); }
    Json::Value ProfileFile(int index) { return file_.Read(list_.ProfilePathAt(index)); }
    // Names and selection as a fresh reader of the folder sees them.
    std::pair<std::vector<std::string>, int> Reopened() {
        ProfileList again;
        again.SetFolders(data_.Folder(), data_.Path("template.Json"));
        again.Init();
        return {again.Names(), again.SelectedIndex()};
    }
    std::string WriteImport(const std::string& name, const std::string& text) {
        const std::string path = os::TempFolder() + name;
        os::WriteFileAtomically(path, text);
        imports_.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const auto& p : imports_) std::remove(p.c_str());
        std::remove(outside_.c_str());
    }

    TempDataFolder data_{"mouse"};
    JsonFile file_;
    ProfileList list_;
    std::string outside_;
    std::vector<std::string> imports_;
};

TEST_F(ProfileListTest, ANewDeviceGetsProfile1FromTheTemplate) {
    ProfileList& list = Open();
    ASSERT_EQ(list.Names(), std::vector<std::string>{"profile1"});
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_TRUE(ParseTimestampId(list.CurrentProfileId()));
    EXPECT_EQ(list.CurrentProfilePath(), data_.Path(list.CurrentProfileId() + ".Json"));

    const Json::Value stored = ListFile();
    EXPECT_EQ(stored["profileselect"], 0);
    ASSERT_EQ(stored["profilelist"].size(), 1u);
    const Json::Value& entry = stored["profilelist"][0];
    EXPECT_EQ(entry["profilename"], "profile1");
    EXPECT_EQ(entry["profileUUID"], list.CurrentProfileId());
    EXPECT_EQ(entry["profileislink"], 0);
    EXPECT_EQ(entry["profilelinkmame"], "");

    const Json::Value profile = ProfileFile(0);
    EXPECT_EQ(profile["profilename"], "profile1");
    EXPECT_EQ(profile["profileUUID"], list.CurrentProfileId());
    EXPECT_EQ(profile["Device"], file_.Read(data_.Path("template.Json"))["Device"]);

    // Read again, nothing is rebuilt.
    const std::string text = data_.ReadText("ProfileList.ini");
    EXPECT_EQ(Reopened().first, list.Names());
    EXPECT_EQ(data_.ReadText("ProfileList.ini"), text);
}

TEST_F(ProfileListTest, AddNamesTheLowestFreeNumberAndLeavesTheSelection) {
    WriteList({{"profile1", kId1}, {"Profile2", kId2}}, 1);
    ProfileList& list = Open();
    const ProfileList::Result added = list.Add();
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(added.index, 2);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"profile1", "Profile2", "profile3"}));
    EXPECT_EQ(list.SelectedIndex(), 1);
    EXPECT_EQ(list.CurrentProfileId(), kId2);
    EXPECT_EQ(Reopened(), std::make_pair(list.Names(), 1));

    const Json::Value profile = ProfileFile(2);
    EXPECT_EQ(profile["profilename"], "profile3");
    EXPECT_EQ(profile["profileUUID"], list.Entries()[2].id);
    EXPECT_EQ(profile["Device"][0]["LightInfo"]["Red"], 10);
    // Added after the others, so a rebuild finds it in its place.
    EXPECT_TRUE(TimestampBefore(kId2, list.Entries()[2].id));
}

TEST_F(ProfileListTest, CopyAppendsCopyUntilTheNameIsFree) {
    WriteList({{"A", kId1}, {"A copy", kId2}});
    WriteProfileFile(kId1, "A", 77);
    ProfileList& list = Open();
    const ProfileList::Result copied = list.Copy();
    ASSERT_TRUE(copied.ok());
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"A", "A copy", "A copy copy"}));
    EXPECT_EQ(list.SelectedIndex(), 0);
    const Json::Value profile = ProfileFile(copied.index);
    EXPECT_EQ(profile["profilename"], "A copy copy");
    EXPECT_EQ(profile["profileUUID"], list.Entries()[2].id);
    EXPECT_EQ(profile["Device"][0]["LightInfo"]["Red"], 77);
}

TEST_F(ProfileListTest, ImportUnderTheFileTitleWithACounterWhileTaken) {
    WriteList({{"profile1", kId1}});
    ProfileList& list = Open();
    const std::string game =
        WriteImport("Game.json", R"({"profilename" : "x", "profileUUID" : "../../evil",
                                     "Device" : [ { "LightInfo" : { "Red" : 5 } } ]})");
    for (const char* expected : {"Game", "Game(1)", "Game(1)(2)"}) {
        const ProfileList::Result imported = list.Import(game);
        ASSERT_TRUE(imported.ok()) << expected;
        EXPECT_EQ(ProfileList::ImportAnswer(imported), 1);
        EXPECT_EQ(list.Names()[imported.index], expected);
        // The imported profile is selected; its sections are used as they are, its name and id
        // are its own.
        EXPECT_EQ(list.SelectedIndex(), imported.index);
        const Json::Value profile = ProfileFile(imported.index);
        EXPECT_EQ(profile["profilename"], expected);
        EXPECT_EQ(profile["profileUUID"], list.CurrentProfileId());
        EXPECT_EQ(profile["Device"][0]["LightInfo"]["Red"], 5);
    }
    EXPECT_EQ(Reopened(), std::make_pair(list.Names(), 3));
    EXPECT_EQ(data_.ReadText("../outside.Json"), "{\"keep\" : 1}");
}

TEST_F(ProfileListTest, RenameRules) {
    WriteList({{"Work", kId1}, {"Game", kId2}});
    ProfileList& list = Open();
    struct Case {
        const char* name;
        ProfileList::Status status;
        std::string_view message;
        int answer;
    };
    const Case cases[] = {
        {"   ", ProfileList::Status::kNameBlank, message_key::kNameBlank, 2},
        {"\t\xE3\x80\x80", ProfileList::Status::kNameBlank, message_key::kNameBlank, 2},
        {"game", ProfileList::Status::kNameTaken, message_key::kNameTaken, 0},
        {"", ProfileList::Status::kNothingToDo, {}, 0},
    };
    for (const Case& c : cases) {
        const ProfileList::Result r = list.Rename(c.name);
        EXPECT_EQ(r.status, c.status) << '"' << c.name << '"';
        EXPECT_EQ(r.message, c.message) << '"' << c.name << '"';
        EXPECT_EQ(ProfileList::RenameAnswer(r), c.answer) << '"' << c.name << '"';
    }
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"Work", "Game"}));

    // Its own name in other letters is no clash.
    ASSERT_TRUE(list.Rename("WORK").ok());
    ASSERT_TRUE(list.Rename("Büro \xFF").ok());
    EXPECT_EQ(list.Names()[0], "Büro \xEF\xBF\xBD");
    EXPECT_EQ(ListFile()["profilelist"][0]["profilename"], "Büro \xEF\xBF\xBD");
    EXPECT_EQ(ProfileFile(0)["profilename"], "Büro \xEF\xBF\xBD");
    EXPECT_EQ(list.CurrentProfileId(), kId1);
}

TEST_F(ProfileListTest, DeleteSelectsThePreviousProfileAndRemovesTheFile) {
    WriteList({{"one", kId1}, {"two", kId2}, {"three", kId3}}, 0);
    ProfileList& list = Open();
    const ProfileList::Result first = list.Delete();
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.index, 0);
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"two", "three"}));
    EXPECT_EQ(list.CurrentProfileId(), kId2);
    EXPECT_FALSE(os::PathExists(data_.Path(std::string(kId1) + ".Json")));

    list.Select(1);
    EXPECT_EQ(list.Delete().index, 0);
    EXPECT_EQ(Reopened(), std::make_pair(std::vector<std::string>{"two"}, 0));

    // The last profile stays.
    EXPECT_EQ(list.Delete().status, ProfileList::Status::kNothingToDo);
    EXPECT_TRUE(os::PathExists(data_.Path(std::string(kId2) + ".Json")));
}

TEST_F(ProfileListTest, FiftyProfilesAtMost) {
    ProfileList& list = Open();
    for (int i = 2; i <= ProfileList::kMaxProfiles; ++i) ASSERT_TRUE(list.Add().ok()) << i;
    EXPECT_EQ(list.Count(), 50);
    EXPECT_EQ(list.Names().back(), "profile50");
    // Fifty profiles, fifty files: ids made within one millisecond do not collide.
    EXPECT_EQ(TimestampNamedFiles(data_.Folder(), ".Json").size(), 50u);

    const auto before = FolderSnapshot(data_.Folder());
    const std::string game = WriteImport("Game.json", R"({"profilename":"a","profileUUID":"b"})");
    const struct {
        ProfileList::Result result;
        std::string_view message;
    } refusals[] = {
        {list.Add(), message_key::kListFull},
        {list.Copy(), message_key::kListFull},
        {list.Import(game), message_key::kProfileListFull},
    };
    for (const auto& r : refusals) {
        EXPECT_EQ(r.result.status, ProfileList::Status::kListFull);
        EXPECT_EQ(r.result.message, r.message);
    }
    EXPECT_EQ(ProfileList::ImportAnswer(refusals[2].result), 0);
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
}

TEST_F(ProfileListTest, ImportOfWhatIsNoProfileChangesNothing) {
    WriteList({{"profile1", kId1}});
    ProfileList& list = Open();
    std::string big = R"({"profilename":"a","profileUUID":"b","pad":")";
    big.append(kMaxImportBytes, 'x');
    big += "\"}";
    const std::string sources[] = {
        WriteImport("text.json", "profile1 = red"),
        WriteImport("array.json", R"([{"profilename":"a","profileUUID":"b"}])"),
        WriteImport("noname.json", R"({"profileUUID":"b","Device":[]})"),
        WriteImport("noid.json", R"({"profilename":"a","Device":[]})"),
        WriteImport("empty.json", ""),
        WriteImport("big.json", big),
        os::TempFolder() + "no-such-profile.json",
        data_.Folder(),
        "/dev/zero",
    };
    const auto before = FolderSnapshot(data_.Folder());
    for (const std::string& source : sources) {
        const ProfileList::Result r = list.Import(source);
        EXPECT_EQ(r.status, ProfileList::Status::kNotAProfile) << source;
        EXPECT_EQ(r.message, message_key::kProfileNotImported) << source;
        EXPECT_EQ(ProfileList::ImportAnswer(r), -1) << source;
    }
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
    EXPECT_EQ(list.Names(), std::vector<std::string>{"profile1"});
}

TEST_F(ProfileListTest, IdentifiersThatCouldNameFilesElsewhereAreDropped) {
    data_.WriteText("ProfileList.ini", R"({
        "profileselect" : 5,
        "profilelist" : [
            { "profilename" : "up", "profileUUID" : "../outside" },
            { "profilename" : "ok", "profileUUID" : "2021_03_07_09_05_01_042" },
            { "profilename" : "abs", "profileUUID" : "/tmp/x" },
            { "profilename" : "back", "profileUUID" : "..\\outside" },
            { "profilename" : "dots", "profileUUID" : ".." },
            { "profilename" : "nul", "profileUUID" : "2021_03_07_09_05_01_044\u0000" },
            { "profilename" : "none", "profileUUID" : "" },
            { "profilename" : "nothing" },
            "not an entry",
            { "profilename" : "twin", "profileUUID" : "2021_03_07_09_05_01_042" },
            { "profilename" : "last", "profileUUID" : "2021_03_07_09_05_01_043" },
            { "profilename" : " ", "profileUUID" : "2021_03_07_09_05_01_045" }
        ]})");
    const std::string original = data_.ReadText("ProfileList.ini");
    ProfileList& list = Open();
    // A blank name is no name either.
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"ok", "last", "profile1"}));
    EXPECT_EQ(list.SelectedIndex(), 0);
    for (const std::string& path : list.ProfilePaths()) {
        EXPECT_EQ(path.rfind(data_.Folder(), 0), 0u) << path;
    }
    // What the list held is kept; the list is stored repaired.
    EXPECT_EQ(data_.ReadText("ProfileList.ini.bad"), original);
    EXPECT_EQ(Reopened().first, list.Names());

    list.Select(1);
    ASSERT_TRUE(list.Delete().ok());
    EXPECT_EQ(data_.ReadText("../outside.Json"), "{\"keep\" : 1}");
}

TEST_F(ProfileListTest, ADamagedListIsKeptAsideAndRebuiltFromTheProfileFiles) {
    // Written in another order than they were made; foreign files beside them.
    WriteProfileFile(kId3, "Night");
    WriteProfileFile(kId1, "Work");
    WriteProfileFile(kId2, "work");  // a name that clashes
    data_.WriteText(std::string("2021_04_01_00_00_00_000.Json"), "damaged");
    data_.WriteText("mouse.Json", R"({"profilename" : "not a profile"})");
    data_.WriteText("notes.Json", "{}");
    data_.WriteText("ProfileList.ini", "{ \"profilelist\" : [ { \"profilename\" : ");

    ProfileList& list = Open();
    EXPECT_EQ(data_.ReadText("ProfileList.ini.bad"), "{ \"profilelist\" : [ { \"profilename\" : ");
    EXPECT_EQ(list.Names(), (std::vector<std::string>{"Work", "work(1)", "profile1", "Night"}));
    EXPECT_EQ(list.Entries()[0].id, kId1);
    EXPECT_EQ(list.Entries()[3].id, kId3);
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(Reopened().first, list.Names());

    // A second damage keeps the first copy and adds another.
    data_.WriteText("ProfileList.ini", "[]");
    ProfileList again;
    again.SetFolders(data_.Folder(), data_.Path("template.Json"));
    again.Init();
    EXPECT_EQ(data_.ReadText("ProfileList.ini.bad.2"), "[]");
    EXPECT_EQ(again.Names(), list.Names());
}

TEST_F(ProfileListTest, AMissingOrEmptyListFindsTheProfileFilesAgain) {
    for (const char* listText : {"", R"({"profilelist" : [], "profileselect" : 0})"}) {
        WriteProfileFile(kId2, "Second");
        WriteProfileFile(kId1, "First");
        std::remove(data_.Path("ProfileList.ini").c_str());
        if (*listText) data_.WriteText("ProfileList.ini", listText);
        ProfileList list;
        list.SetFolders(data_.Folder(), data_.Path("template.Json"));
        list.Init();
        EXPECT_EQ(list.Names(), (std::vector<std::string>{"First", "Second"})) << listText;
        EXPECT_FALSE(os::PathExists(data_.Path("ProfileList.ini.bad"))) << listText;
    }
}

TEST_F(ProfileListTest, AListThatCannotBeReadIsNotWrittenOver) {
    // A folder where the list should be reads as a file that is there but cannot be read.
    os::CreateDirectories(data_.Path("ProfileList.ini"));
    WriteProfileFile(kId1, "Work");
    ProfileList& list = Open();
    EXPECT_EQ(list.Names(), std::vector<std::string>{"Work"});
    EXPECT_EQ(list.CurrentProfileId(), kId1);
    const auto before = FolderSnapshot(data_.Folder());
    EXPECT_EQ(list.Add().status, ProfileList::Status::kWriteFailed);
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
    EXPECT_TRUE(os::IsDirectory(data_.Path("ProfileList.ini")));

    // Nor is a profile file that cannot be read reset.
    std::filesystem::remove(data_.Path(std::string(kId1) + ".Json"));
    os::CreateDirectories(data_.Path(std::string(kId1) + ".Json"));
    EXPECT_EQ(list.Reset().status, ProfileList::Status::kUnreadable);
    EXPECT_TRUE(os::IsDirectory(data_.Path(std::string(kId1) + ".Json")));
}

TEST_F(ProfileListTest, ARefusedWriteChangesNothing) {
    WriteList({{"one", kId1}, {"two", kId2}}, 1);
    ProfileList& list = Open();
    const auto before = FolderSnapshot(data_.Folder());
    const std::string game = WriteImport("Game.json", R"({"profilename":"a","profileUUID":"b"})");

    os::SetAtomicWriteFailBeforeRenameForTesting(true);
    EXPECT_EQ(list.Add().status, ProfileList::Status::kWriteFailed);
    EXPECT_EQ(list.Copy().status, ProfileList::Status::kWriteFailed);
    EXPECT_EQ(list.Reset().status, ProfileList::Status::kWriteFailed);
    EXPECT_EQ(list.Rename("three").status, ProfileList::Status::kWriteFailed);
    EXPECT_EQ(list.Import(game).message, message_key::kProfileNotImported);
    EXPECT_EQ(list.Delete().status, ProfileList::Status::kWriteFailed);
    EXPECT_EQ(list.Export(os::TempFolder() + "brasvik-export.json").status,
              ProfileList::Status::kWriteFailed);
    // The selection moves on screen even when it cannot be remembered.
    EXPECT_FALSE(list.Select(0));
    EXPECT_EQ(list.SelectedIndex(), 0);
    os::SetAtomicWriteFailBeforeRenameForTesting(false);

    EXPECT_EQ(list.Names(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
}

TEST_F(ProfileListTest, ResetRewritesFromTheTemplate) {
    WriteList({{"Work", kId1}});
    Json::Value mine = file_.Read(data_.Path(std::string(kId1) + ".Json"));
    mine["Device"][0]["CustomEQNameInfo"][0]["Name"] = "mine";
    mine["Device"][0]["CustomEQHzValueInfo"][0][0]["value"] = 6;
    file_.Write(mine, data_.Path(std::string(kId1) + ".Json"));

    for (const int kind : {2, ProfileList::kHeadsetKind}) {
        ProfileList& list = Open(kind);
        ASSERT_TRUE(list.Reset().ok());
        const Json::Value profile = ProfileFile(0);
        EXPECT_EQ(profile["profilename"], "Work");
        EXPECT_EQ(profile["profileUUID"], kId1);
        EXPECT_EQ(profile["Device"][0]["LightInfo"]["Red"], 10);
        if (kind == ProfileList::kHeadsetKind) {
            // A headset keeps its custom equalisers.
            EXPECT_EQ(profile["Device"][0]["CustomEQNameInfo"][0]["Name"], "flat");
            file_.Write(mine, data_.Path(std::string(kId1) + ".Json"));
            ASSERT_TRUE(list.Reset().ok());
            EXPECT_EQ(ProfileFile(0)["Device"][0]["CustomEQNameInfo"][0]["Name"], "mine");
            EXPECT_EQ(ProfileFile(0)["Device"][0]["CustomEQHzValueInfo"][0][0]["value"], 6);
        } else {
            EXPECT_EQ(profile["Device"][0]["CustomEQNameInfo"][0]["Name"], "flat");
        }
    }

    // Without a template the profile stays as it is.
    std::remove(data_.Path("template.Json").c_str());
    const auto before = FolderSnapshot(data_.Folder());
    EXPECT_EQ(list_.Reset().status, ProfileList::Status::kNoTemplate);
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
}

TEST_F(ProfileListTest, ExportWritesTheSelectedProfile) {
    WriteList({{"Work", kId1}, {"Broken", kId2}});
    data_.WriteText(std::string(kId2) + ".Json", "{ damaged");
    ProfileList& list = Open();
    const std::string target = os::TempFolder() + "brasvik-export-test.json";
    imports_.push_back(target);
    ASSERT_TRUE(list.Export(target).ok());
    EXPECT_EQ(file_.Read(target), ProfileFile(0));

    // A damaged profile is not exported over what the target holds.
    os::WriteFileAtomically(target, "earlier");
    list.Select(1);
    EXPECT_EQ(list.Export(target).status, ProfileList::Status::kNotAProfile);
    std::string text;
    os::ReadWholeFile(target, text);
    EXPECT_EQ(text, "earlier");
    EXPECT_EQ(list.Export("").status, ProfileList::Status::kNothingToDo);
}

TEST_F(ProfileListTest, MembersThisVersionDoesNotKnowSurvive) {
    data_.WriteText("ProfileList.ini", R"({
        "profileselect" : 0, "cloud" : { "user" : "x" },
        "profilelist" : [ { "profilename" : "Work", "profileUUID" : "2021_03_07_09_05_01_042",
                            "profileislink" : 1, "shared" : true } ] })");
    ProfileList& list = Open();
    ASSERT_TRUE(list.Add().ok());
    const Json::Value stored = ListFile();
    EXPECT_EQ(stored["cloud"]["user"], "x");
    EXPECT_EQ(stored["profilelist"][0]["shared"], true);
    EXPECT_EQ(stored["profilelist"][0]["profileislink"], 0);
    EXPECT_EQ(stored["profileselect"], 0);
}

TEST_F(ProfileListTest, SelectionIsRememberedAndAnOutOfRangeOneIsRepaired) {
    WriteList({{"one", kId1}, {"two", kId2}}, 7);
    ProfileList& list = Open();
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_TRUE(list.Select(1));
    EXPECT_FALSE(list.Select(2));
    EXPECT_FALSE(list.Select(-1));
    EXPECT_EQ(list.CurrentProfileId(), kId2);
    EXPECT_EQ(Reopened().second, 1);
}

TEST_F(ProfileListTest, NothingHappensWithoutAFolder) {
    ProfileList list;
    EXPECT_FALSE(list.Init());
    EXPECT_EQ(list.Add().status, ProfileList::Status::kNothingToDo);
    EXPECT_EQ(list.Import("/dev/null").message, message_key::kProfileNotImported);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.CurrentProfilePath(), "");
}

}  // namespace
}  // namespace profile
