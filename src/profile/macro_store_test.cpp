#include "profile/macro_store.h"

#include <gtest/gtest.h>

#include <algorithm>
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

using Status = MacroStore::Status;

// Assignment codes as profiles store them: type << 16 | first << 8 | second.
constexpr int Play(int macro, int mode = 0) {
    return 0x70 << 16 | macro << 8 | mode;
}
constexpr int Repeat(int macro, int count) {
    return 0x71 << 16 | macro << 8 | count;
}
constexpr int kKeyA = 0x200004;
constexpr int kKeyB = 0x200005;
constexpr int kLeftButton = 0x100100;

constexpr const char* kIds[] = {"2024_05_01_09_03_07_042", "2024_05_01_09_03_07_043",
                                "2024_05_01_09_03_08_000", "2024_05_02_10_00_00_000"};

class MacroStoreTest : public ::testing::Test {
  protected:
    MacroStoreTest() { store_.SetFolder(data_.Folder()); }
    ~MacroStoreTest() override {
        os::SetAtomicWriteFailBeforeRenameForTesting(false);
        for (const auto& p : temp_) std::remove(p.c_str());
    }

    void WriteList(const std::vector<MacroStore::Entry>& entries) {
        Json::Value doc;
        doc["MacroInfo"] = Json::Value(Json::arrayValue);
        for (const auto& e : entries) {
            Json::Value record;
            record["MacroName"] = e.name;
            record["Guid"] = e.id;
            doc["MacroInfo"].append(record);
        }
        file_.Write(doc, data_.Path("macro.config"));
    }
    void WriteMacroFile(const std::string& id, const std::string& name, int events) {
        Json::Value doc;
        doc["Guid"] = id;
        doc["MacroName"] = name;
        doc["Version"] = 64;
        doc["Events"] = Json::Value(Json::arrayValue);
        for (int i = 0; i < events; ++i) {
            Json::Value e;
            e["Action"] = i % 2 == 0 ? "down" : "up";
            e["Button"] = 4 + i;
            e["Delay"] = "20";
            e["Type"] = 10;
            doc["Events"].append(e);
        }
        file_.Write(doc, data_.Path(id + ".mac"));
    }
    std::string TempFile(const std::string& name, const std::string& text) {
        const std::string path = os::TempFolder() + name;
        os::WriteFileAtomically(path, text);
        temp_.push_back(path);
        return path;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& e : store_.List()) names.push_back(e.name);
        return names;
    }
    Json::Value ListFile() { return file_.Read(data_.Path("macro.config")); }

    TempDataFolder data_{"keyboard"};
    JsonFile file_;
    MacroStore store_;
    std::vector<std::string> temp_;
};

TEST_F(MacroStoreTest, NewMacrosTakeTheLowestFreeDefaultName) {
    WriteList({{"macro_1", kIds[0]}, {"MACRO_2", kIds[1]}});
    store_.LoadList();
    const MacroStore::Result added = store_.AddMacro();
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(added.name, "macro_3");
    EXPECT_EQ(added.index, 2);

    const Json::Value stored = ListFile();
    ASSERT_EQ(stored["MacroInfo"].size(), 3u);
    EXPECT_EQ(stored["MacroInfo"][2]["MacroName"], "macro_3");
    const std::string id = stored["MacroInfo"][2]["Guid"].asString();
    EXPECT_EQ(id, store_.List()[2].id);
    EXPECT_TRUE(TimestampBefore(kIds[1], id));
    // No file until the first save; the macro has no events till then.
    EXPECT_FALSE(os::PathExists(data_.Path(id + ".mac")));
    EXPECT_TRUE(store_.LoadEvents(2).empty());
}

TEST_F(MacroStoreTest, ImportTakesTheTitleOrACounterAndCopiesTheFile) {
    WriteList({{"jump", kIds[0]}});
    const std::string text =
        "{\"Events\" : [ { \"Action\" : \"down\", \"Button\" : 44, "
        "\"Delay\" : \"30\", \"Type\" : 10 } ], \"Guid\" : \"x\"}\n";
    const std::string jump = TempFile("Jump.mac", text);
    for (const char* expected : {"2", "3"}) {
        const MacroStore::Result imported = store_.ImportMacro(jump);
        ASSERT_TRUE(imported.ok()) << expected;
        EXPECT_EQ(imported.name, expected);
        EXPECT_EQ(data_.ReadText(store_.List()[imported.index].id + ".mac"), text);
        EXPECT_EQ(store_.LoadEvents(imported.index),
                  (std::vector<MacroEvent>{{.down = true, .button = 44, .type = 10, .delay = 30}}));
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"jump", "2", "3"}));

    // Without a clash the title is the name.
    EXPECT_EQ(store_.ImportMacro(TempFile("Run fast.mac", text)).name, "Run fast");
}

TEST_F(MacroStoreTest, ImportFileNameLengths) {
    const std::string text = R"({"Events" : []})";
    struct Case {
        const char* name;
        bool accepted;
    };
    const Case cases[] = {
        {"abcdefghijklmno.mac", true},                 // 15 characters before ".mac"
        {"abcdefghijklmnop.mac", false},               // 16
        {"abcdefghijklmn.macx", true},                 // 19 in all
        {"abcdefghijklmno.macx", false},               // 20 in all
        {"跳跃跳跃跳跃跳跃跳跃跳跃跳跃跳.mac", true},  // characters, not bytes
        {"跳跃跳跃跳跃跳跃跳跃跳跃跳跃跳跃.mac", false},
    };
    for (const Case& c : cases) {
        const MacroStore::Result r = store_.ImportMacro(TempFile(c.name, text));
        EXPECT_EQ(r.ok(), c.accepted) << c.name;
        if (!c.accepted) {
            EXPECT_EQ(r.status, Status::kNameTooLong) << c.name;
            EXPECT_EQ(r.message, message_key::kMacroFileNameTooLong) << c.name;
        }
    }
    EXPECT_EQ(store_.Count(), 3);
}

TEST_F(MacroStoreTest, ImportOfWhatIsNoMacroChangesNothing) {
    WriteList({{"jump", kIds[0]}});
    std::string big = R"({"Events" : [], "pad" : ")";
    big.append(kMaxImportBytes, ' ');
    big += "\"}";
    const std::string sources[] = {
        TempFile("text.mac", "A down 10"),
        TempFile("array.mac", R"([{"Action" : "down"}])"),
        TempFile("noevents.mac", R"({"Guid" : "x"})"),
        TempFile("events.mac", R"({"Events" : {"Action" : "down"}})"),
        TempFile("empty.mac", ""),
        TempFile("big.mac", big),
        os::TempFolder() + "no-such.mac",
        "/dev/zero",
    };
    store_.LoadList();
    const auto before = FolderSnapshot(data_.Folder());
    for (const std::string& source : sources) {
        const MacroStore::Result r = store_.ImportMacro(source);
        EXPECT_EQ(r.status, Status::kNotAMacro) << source;
        EXPECT_EQ(r.message, message_key::kMacroNotImported) << source;
    }
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
    EXPECT_EQ(Names(), std::vector<std::string>{"jump"});
}

TEST_F(MacroStoreTest, FiftyMacrosAtMost) {
    for (int i = 0; i < MacroStore::kMaxMacros; ++i) ASSERT_TRUE(store_.AddMacro().ok()) << i;
    EXPECT_EQ(Names().back(), "macro_50");
    std::vector<std::string> ids;
    for (const auto& e : store_.List()) ids.push_back(e.id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::unique(ids.begin(), ids.end()), ids.end());

    const auto before = FolderSnapshot(data_.Folder());
    const MacroStore::Result added = store_.AddMacro();
    const MacroStore::Result imported = store_.ImportMacro(TempFile("Jump.mac", "{\"Events\":[]}"));
    for (const auto& r : {added, imported}) {
        EXPECT_EQ(r.status, Status::kListFull);
        EXPECT_EQ(r.message, message_key::kListFull);
        EXPECT_EQ(r.name, "");
    }
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
}

TEST_F(MacroStoreTest, RenameRefusesBlankAndTakenNamesTheMacrosOwnIncluded) {
    WriteList({{"jump", kIds[0]}, {"Run", kIds[1]}});
    WriteMacroFile(kIds[0], "jump", 2);
    store_.LoadList();
    struct Case {
        const char* name;
        Status status;
        std::string_view message;
    };
    const Case cases[] = {
        {"", Status::kNameBlank, {}},
        {"  ", Status::kNameBlank, {}},
        {"jump", Status::kNameTaken, message_key::kNameTaken},
        {"JUMP", Status::kNameTaken, message_key::kNameTaken},
        {"run", Status::kNameTaken, message_key::kNameTaken},
    };
    for (const Case& c : cases) {
        const MacroStore::Result r = store_.RenameMacro(0, c.name);
        EXPECT_EQ(r.status, c.status) << '"' << c.name << '"';
        EXPECT_EQ(r.message, c.message) << '"' << c.name << '"';
    }
    const std::string file = data_.ReadText(std::string(kIds[0]) + ".mac");
    ASSERT_TRUE(store_.RenameMacro(0, "Leap").ok());
    EXPECT_EQ(ListFile()["MacroInfo"][0]["MacroName"], "Leap");
    // The identifier and the file stay.
    EXPECT_EQ(store_.List()[0].id, kIds[0]);
    EXPECT_EQ(data_.ReadText(std::string(kIds[0]) + ".mac"), file);
    EXPECT_EQ(store_.RenameMacro(5, "x").status, Status::kNothingToDo);
}

TEST_F(MacroStoreTest, SaveClampsDelaysAndCutsToTheEventLimit) {
    store_.AddMacro();
    // Delays as the editor's rows show them.
    std::vector<MacroEvent> events;
    for (const char* shown : {"", "0", "5", "10", "-3", "abc", "70000", " 42ms"}) {
        events.push_back(
            {.down = true, .button = 4, .type = 10, .delay = MacroStore::DelayFromText(shown)});
    }
    const MacroStore::SavedEvents saved = store_.SaveEvents(0, events);
    ASSERT_TRUE(saved.written);
    EXPECT_EQ(saved.message, "");
    std::vector<int> delays;
    for (const auto& e : saved.events) delays.push_back(e.delay);
    EXPECT_EQ(delays, (std::vector<int>{10, 10, 10, 10, 10, 10, 65535, 42}));

    const Json::Value doc = file_.Read(store_.MacroFilePath(0));
    EXPECT_EQ(doc["Events"][0]["Delay"], "10");
    EXPECT_EQ(doc["Events"][6]["Delay"], "65535");
    EXPECT_EQ(doc["Events"][0]["Action"], "down");
    EXPECT_EQ(doc["Guid"], store_.List()[0].id);
    EXPECT_EQ(doc["MacroName"], "macro_1");
    EXPECT_EQ(doc["Version"], 64);
    EXPECT_EQ(store_.LoadEvents(0), saved.events);

    struct Limit {
        int limit;
        std::size_t given;
        std::size_t kept;
    };
    const Limit limits[] = {
        {MacroStore::kKeyboardEventLimit, 95, 90},
        {MacroStore::kKeyboardEventLimit, 90, 90},
        {MacroStore::kMouseEventLimit, 61, 60},
        {MacroStore::kDefaultEventLimit, 251, 250},
        {1000, 300, 250},  // no device holds more than its image does
    };
    for (const Limit& l : limits) {
        store_.SetEventLimit(l.limit);
        const MacroStore::SavedEvents cut =
            store_.SaveEvents(0, std::vector<MacroEvent>(l.given, MacroEvent{.type = 10}));
        EXPECT_EQ(cut.events.size(), l.kept) << l.limit << " " << l.given;
        EXPECT_EQ(cut.message, l.kept < l.given ? message_key::kTooManyEvents : "") << l.given;
        EXPECT_EQ(store_.LoadEvents(0).size(), l.kept);
    }
}

TEST_F(MacroStoreTest, EventsLoadWhateverFormTheirValuesTake) {
    WriteList({{"strings", kIds[0]}, {"numbers", kIds[1]}});
    data_.WriteText(std::string(kIds[0]) + ".mac", R"({"Events" : [
        { "Action" : "down", "Button" : 4, "Delay" : "120", "Type" : 10 },
        { "Action" : "up", "Button" : 4, "Delay" : "0", "Type" : 10 },
        { "Action" : "down", "Button" : 1, "Delay" : "70000", "Type" : 1 } ]})");
    data_.WriteText(std::string(kIds[1]) + ".mac", R"({"Events" : [
        { "Action" : "down", "Button" : 4, "Delay" : 120, "Type" : 10 },
        { "Action" : "UP", "Button" : 4.0, "Delay" : 0, "Type" : 10 },
        { "Action" : "down", "Button" : 1, "Delay" : 7e4, "Type" : 1 },
        { "Action" : "down", "Button" : 300, "Delay" : 10, "Type" : 10 },
        { "Action" : "down", "Button" : 4, "Delay" : 10, "Type" : 200 },
        { "Action" : "down", "Button" : "4", "Delay" : 10, "Type" : 10 },
        { "Action" : "down", "Button" : 4.5, "Delay" : 10, "Type" : 10 },
        "no event", 7 ]})");
    store_.LoadList();
    const std::vector<MacroEvent> expected = {
        {.down = true, .button = 4, .type = 10, .delay = 120},
        {.down = false, .button = 4, .type = 10, .delay = 0},
        {.down = true, .button = 1, .type = 1, .delay = 65535},
    };
    EXPECT_EQ(store_.LoadEvents(0), expected);
    EXPECT_EQ(store_.LoadEvents(1), expected);
}

class MacroDeletionTest : public MacroStoreTest {
  protected:
    // A profile with keys on every macro, in sections for two slots; key 5 has no default of its
    // own (the template's is used).
    void WriteProfile(const std::string& name, std::vector<int> assignments) {
        Json::Value doc;
        doc["profilename"] = name;
        for (Json::ArrayIndex slot : {0u, 1u}) {
            Json::Value& keys = doc["Device"][slot]["KeyList"];
            for (std::size_t i = 0; i < assignments.size(); ++i) {
                keys[static_cast<Json::ArrayIndex>(i)]["Assignment"] = assignments[i];
                if (i != 5) keys[static_cast<Json::ArrayIndex>(i)]["DefaultAssignment"] = kKeyA;
            }
        }
        doc["Device"][0]["LightInfo"]["Red"] = 3;
        file_.Write(doc, data_.Path(name + ".Json"));
    }
    std::vector<int> Assignments(const std::string& name, Json::ArrayIndex slot) {
        std::vector<int> codes;
        const Json::Value doc = file_.Read(data_.Path(name + ".Json"));
        for (const auto& k : doc["Device"][slot]["KeyList"]) {
            codes.push_back(k["Assignment"].asInt());
        }
        return codes;
    }
    void SetUp() override {
        WriteList({{"m0", kIds[0]}, {"m1", kIds[1]}, {"m2", kIds[2]}, {"m3", kIds[3]}});
        for (int i = 0; i < 4; ++i) WriteMacroFile(kIds[i], "m" + std::to_string(i), 2);
        Json::Value defaults;
        for (Json::ArrayIndex slot : {0u, 1u}) {
            for (Json::ArrayIndex k = 0; k < 6; ++k) {
                defaults["Device"][slot]["KeyList"][k]["DefaultAssignment"] = kKeyB;
            }
        }
        file_.Write(defaults, data_.Path("template.Json"));
        store_.LoadList();
    }
    std::vector<std::string> Paths(std::initializer_list<const char*> names) {
        std::vector<std::string> paths;
        for (const char* n : names) paths.push_back(data_.Path(std::string(n) + ".Json"));
        return paths;
    }
};

TEST_F(MacroDeletionTest, DeletingMacro2Of4RenumbersEveryProfile) {
    const std::vector<int> before = {Play(2, 1),  Repeat(3, 5), Play(1),
                                     kLeftButton, Play(0, 3),   Repeat(2, 2)};
    WriteProfile("current", before);
    WriteProfile("other", before);
    WriteProfile("untouched", {kKeyA, Play(0), Play(1)});
    const std::string untouched = data_.ReadText("untouched.Json");

    const MacroStore::Deletion deletion = store_.DeleteMacro(
        2, Paths({"other", "untouched", "current"}), data_.Path("template.Json"));
    ASSERT_EQ(deletion.status, Status::kDone);
    EXPECT_EQ(deletion.index, 2);
    EXPECT_EQ(deletion.changedProfiles, Paths({"other", "current"}));

    // Keys on macro 2 fall back to their defaults (key 5 to the template's), keys on macro 3 now
    // name macro 2, the rest stay; in every section.
    const std::vector<int> after = {kKeyA, Repeat(2, 5), Play(1), kLeftButton, Play(0, 3), kKeyB};
    for (const char* name : {"current", "other"}) {
        for (Json::ArrayIndex slot : {0u, 1u}) EXPECT_EQ(Assignments(name, slot), after) << name;
        const Json::Value doc = file_.Read(data_.Path(std::string(name) + ".Json"));
        EXPECT_EQ(doc["profilename"], name);
        EXPECT_EQ(doc["Device"][0]["LightInfo"]["Red"], 3);
        EXPECT_FALSE(doc["Device"][0]["KeyList"][5].isMember("DefaultAssignment"));
    }
    EXPECT_EQ(data_.ReadText("untouched.Json"), untouched);

    const Json::Value list = ListFile()["MacroInfo"];
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2]["Guid"], kIds[3]);
    EXPECT_EQ(list[2]["MacroName"], "m3");
    EXPECT_EQ(store_.Count(), 3);
    EXPECT_FALSE(os::PathExists(data_.Path(std::string(kIds[2]) + ".mac")));
    EXPECT_TRUE(os::PathExists(data_.Path(std::string(kIds[3]) + ".mac")));
    EXPECT_EQ(store_.LoadEvents(2).size(), 2u);

    EXPECT_EQ(store_.DeleteMacro(3, {}, "").status, Status::kNothingToDo);
    EXPECT_EQ(store_.DeleteMacro(-1, {}, "").index, -1);
}

TEST_F(MacroDeletionTest, ARefusedWriteDeletesNothing) {
    WriteProfile("current", {Play(2), Play(3)});
    const auto before = FolderSnapshot(data_.Folder());
    os::SetAtomicWriteFailBeforeRenameForTesting(true);
    const MacroStore::Deletion deletion =
        store_.DeleteMacro(2, Paths({"current"}), data_.Path("template.Json"));
    // No profile to change: the list is the first write, and the file stays with it.
    const MacroStore::Deletion listOnly = store_.DeleteMacro(2, {}, "");
    os::SetAtomicWriteFailBeforeRenameForTesting(false);
    EXPECT_EQ(deletion.status, Status::kWriteFailed);
    EXPECT_TRUE(deletion.changedProfiles.empty());
    EXPECT_EQ(listOnly.status, Status::kWriteFailed);
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
    EXPECT_EQ(store_.Count(), 4);
}

TEST_F(MacroDeletionTest, AProfileThatCannotBeReadStopsTheDeletion) {
    WriteProfile("current", {Play(2), Play(3)});
    os::CreateDirectories(data_.Path("unreadable.Json"));
    const auto before = FolderSnapshot(data_.Folder());
    // The first profile is rewritten before the second turns out unreadable; it is put back.
    const MacroStore::Deletion deletion =
        store_.DeleteMacro(2, Paths({"current", "unreadable"}), data_.Path("template.Json"));
    EXPECT_EQ(deletion.status, Status::kUnreadable);
    EXPECT_EQ(deletion.index, -1);
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
    EXPECT_EQ(store_.Count(), 4);
}

TEST(MacroReferencesTest, KeyListsInMemoryFollowTheSameRule) {
    const auto pair = [](std::uint16_t position, int current, int def) {
        return KeyAssignmentPair{{position, *keys::AssignmentCode::FromStoredValue(current)},
                                 {position, *keys::AssignmentCode::FromStoredValue(def)}};
    };
    std::vector<KeyAssignmentPair> list = {pair(0, Play(1, 2), kKeyA), pair(1, Repeat(4, 9), kKeyA),
                                           pair(2, Play(0), kKeyA), pair(3, kLeftButton, kKeyB)};
    EXPECT_TRUE(MacroStore::IsMacroAssigned(list, 1));
    EXPECT_TRUE(MacroStore::IsMacroAssigned(list, 4));
    EXPECT_FALSE(MacroStore::IsMacroAssigned(list, 2));
    EXPECT_FALSE(MacroStore::ForgetMacro(list, 7));
    ASSERT_TRUE(MacroStore::ForgetMacro(list, 1));
    const std::vector<KeyAssignmentPair> expected = {
        pair(0, kKeyA, kKeyA), pair(1, Repeat(3, 9), kKeyA), pair(2, Play(0), kKeyA),
        pair(3, kLeftButton, kKeyB)};
    EXPECT_EQ(list, expected);
}

TEST_F(MacroStoreTest, IdentifiersThatCouldNameFilesElsewhereKeepTheirPlaceButNoFile) {
    const std::string outside = data_.Folder() + "../evil.mac";
    os::WriteFileAtomically(outside, R"({"Events" : [ {"Button" : 4, "Type" : 10} ]})");
    const std::string outsideText = data_.ReadText("../evil.mac");
    data_.WriteText("macro.config", R"({"MacroInfo" : [
        { "MacroName" : "up", "Guid" : "../evil" },
        { "MacroName" : "nul", "Guid" : "2024_05_01_09_03_07_042\u0000" },
        { "MacroName" : "dots", "Guid" : ".." },
        { "MacroName" : "none" },
        "not an entry",
        { "MacroName" : "fine", "Guid" : "2024_05_01_09_03_07_043" } ]})");
    WriteMacroFile(kIds[0], "nul", 3);
    WriteMacroFile(kIds[1], "fine", 2);
    store_.LoadList();
    ASSERT_EQ(store_.Count(), 6);
    EXPECT_EQ(store_.List()[5].name, "fine");
    EXPECT_EQ(store_.LoadEvents(5).size(), 2u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(store_.MacroFilePath(i), "") << i;
        EXPECT_TRUE(store_.LoadEvents(i).empty()) << i;
        EXPECT_FALSE(store_.SaveEvents(i, {MacroEvent{.type = 10}}).written) << i;
        EXPECT_EQ(store_.ExportMacro(i, os::TempFolder() + "brasvik-x.mac").status,
                  Status::kNoFile);
    }
    ASSERT_EQ(store_.DeleteMacro(0, {}, "").status, Status::kDone);
    EXPECT_EQ(data_.ReadText("../evil.mac"), outsideText);
    // The refused identifiers stay as they stood in the list; the names and places of the others
    // are kept.
    const Json::Value list = ListFile()["MacroInfo"];
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[1]["Guid"], "..");
    EXPECT_EQ(list[4]["Guid"], kIds[1]);
    EXPECT_TRUE(os::PathExists(data_.Path(std::string(kIds[0]) + ".mac")));
}

TEST_F(MacroStoreTest, ADamagedListIsKeptAsideAndRebuiltFromTheMacroFiles) {
    WriteMacroFile(kIds[3], "Fourth", 1);
    WriteMacroFile(kIds[0], "First", 1);
    WriteMacroFile(kIds[2], "first", 1);  // a clashing name
    data_.WriteText(std::string(kIds[1]) + ".mac", "damaged");
    data_.WriteText("ShootData_1.mac", R"({"Events" : []})");
    data_.WriteText("macro.config", "{ \"MacroInfo\" : [ ");

    store_.LoadList();
    EXPECT_EQ(data_.ReadText("macro.config.bad"), "{ \"MacroInfo\" : [ ");
    EXPECT_EQ(Names(), (std::vector<std::string>{"First", "macro_1", "first(1)", "Fourth"}));
    EXPECT_EQ(store_.List()[2].id, kIds[2]);
    EXPECT_EQ(ListFile()["MacroInfo"].size(), 4u);

    // A missing list finds the files again too; an empty one stays empty.
    std::remove(data_.Path("macro.config").c_str());
    store_.SetFolder(data_.Folder());
    EXPECT_EQ(store_.LoadList().size(), 4u);
    EXPECT_FALSE(os::PathExists(data_.Path("macro.config.bad.2")));
    data_.WriteText("macro.config", R"({"MacroInfo" : []})");
    EXPECT_TRUE(store_.LoadList().empty());
}

TEST_F(MacroStoreTest, FilesThatCannotBeReadAreNotWrittenOver) {
    // Folders where the files should be read as files that are there but cannot be read.
    os::CreateDirectories(data_.Path("macro.config"));
    WriteMacroFile(kIds[0], "jump", 2);
    os::CreateDirectories(data_.Path(std::string(kIds[1]) + ".mac"));
    store_.LoadList();
    // Found from the files; the folder that holds no macro is passed over.
    EXPECT_EQ(Names(), std::vector<std::string>{"jump"});
    const auto before = FolderSnapshot(data_.Folder());
    EXPECT_EQ(store_.AddMacro().status, Status::kWriteFailed);
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);

    std::filesystem::remove_all(data_.Path("macro.config"));
    WriteList({{"jump", kIds[0]}, {"gone", kIds[1]}});
    store_.LoadList();
    EXPECT_FALSE(store_.SaveEvents(1, {MacroEvent{.type = 10}}).written);
    EXPECT_TRUE(os::IsDirectory(data_.Path(std::string(kIds[1]) + ".mac")));
}

TEST_F(MacroStoreTest, ANewDeviceWritesNothingUntilAMacroIsAdded) {
    EXPECT_TRUE(store_.LoadList().empty());
    EXPECT_EQ(data_.EntryCount(), 0u);
}

TEST_F(MacroStoreTest, ExportCopiesTheFileAndANeverSavedMacroAsAnEmptyOne) {
    WriteList({{"jump", kIds[0]}, {"new", kIds[1]}});
    data_.WriteText(std::string(kIds[0]) + ".mac", "{\"Events\" : [], \"x\" : 1}\n\n");
    store_.LoadList();
    const std::string target = os::TempFolder() + "brasvik-export-test.mac";
    temp_.push_back(target);
    ASSERT_TRUE(store_.ExportMacro(0, target).ok());
    std::string text;
    os::ReadWholeFile(target, text);
    EXPECT_EQ(text, "{\"Events\" : [], \"x\" : 1}\n\n");

    ASSERT_TRUE(store_.ExportMacro(1, target).ok());
    const Json::Value doc = file_.Read(target);
    EXPECT_TRUE(doc["Events"].isArray());
    EXPECT_EQ(doc["Events"].size(), 0u);
    EXPECT_EQ(doc["MacroName"], "new");
    EXPECT_EQ(store_.ExportMacro(2, target).status, Status::kNothingToDo);
}

TEST_F(MacroStoreTest, ARefusedWriteChangesNothing) {
    WriteList({{"jump", kIds[0]}});
    store_.LoadList();
    const auto before = FolderSnapshot(data_.Folder());
    const std::string jump = TempFile("Run.mac", R"({"Events" : []})");
    os::SetAtomicWriteFailBeforeRenameForTesting(true);
    EXPECT_EQ(store_.AddMacro().status, Status::kWriteFailed);
    EXPECT_EQ(store_.RenameMacro(0, "Leap").status, Status::kWriteFailed);
    EXPECT_EQ(store_.ImportMacro(jump).status, Status::kWriteFailed);
    EXPECT_FALSE(store_.SaveEvents(0, {MacroEvent{.type = 10}}).written);
    os::SetAtomicWriteFailBeforeRenameForTesting(false);
    EXPECT_EQ(Names(), std::vector<std::string>{"jump"});
    EXPECT_EQ(FolderSnapshot(data_.Folder()), before);
}

}  // namespace
}  // namespace profile
