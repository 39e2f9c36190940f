#include "profile/name_rules.h"

#include <gtest/gtest.h>

#include "profile/temp_data_folder.h"

namespace profile {
namespace {

TEST(NameRulesTest, NamesCompareWithoutCaseOfAsciiLetters) {
    EXPECT_TRUE(SameName("Profile2", "profile2"));
    EXPECT_TRUE(SameName("MACRO_2", "macro_2"));
    EXPECT_FALSE(SameName("Game", "Game "));
    // Other characters compare as they are.
    EXPECT_FALSE(SameName("Ä", "ä"));
    EXPECT_TRUE(SameName("配置", "配置"));

    const std::vector<std::string> names = {"profile1", "Profile2", "Work"};
    EXPECT_EQ(FindName(names, "WORK"), 2);
    EXPECT_EQ(FindName(names, "work", 2), -1);
    EXPECT_EQ(FirstFreeNumberedName("profile", names), "profile3");
    EXPECT_EQ(FirstFreeNumberedName("macro_", names), "macro_1");
    EXPECT_EQ(FirstFreeNumberedName("profile", {"profile2"}), "profile1");
}

TEST(NameRulesTest, FileNamesAndTitles) {
    struct Case {
        const char* path;
        const char* name;
        const char* title;
    };
    const Case cases[] = {
        {"/home/a/Game.json", "Game.json", "Game"},
        {"C:\\macros\\Jump.mac", "Jump.mac", "Jump"},
        {"mixed/sep\\x.y.mac", "x.y.mac", "x.y"},
        {"/home/a/noext", "noext", "noext"},
        {"/home/a/.mac", ".mac", ""},
        {"/home/a/", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
        EXPECT_EQ(FileTitle(c.path), c.title) << c.path;
    }
    EXPECT_EQ(CharacterCount("abc"), 3u);
    EXPECT_EQ(CharacterCount("跳跃宏"), 3u);
    EXPECT_EQ(CharacterCount("\xff\xfe"), 2u);
}

TEST(NameRulesTest, TimestampIdentifiersParseOnlyInTheirFormat) {
    EXPECT_EQ(ParseTimestampId("2021_03_07_09_05_01_042"),
              (TimestampParts{2021, 3, 7, 9, 5, 1, 42}));
    for (const char* bad : {"", "2021_03_07_09_05_01", "2021_3_07_09_05_01_042",
                            "2021_03_07_09_05_01_0420", "2021_03_07_09_05_01_042.Json",
                            "../2021_03_07_09_05_01_042", "x2021_03_07_09_05_01_042", "mouse"}) {
        EXPECT_FALSE(ParseTimestampId(bad)) << bad;
    }
    // Numbers, not texts, decide the order; names that are no time stamps go last.
    EXPECT_TRUE(TimestampBefore("999_12_31_23_59_59_999", "2021_01_01_00_00_00_000"));
    EXPECT_TRUE(TimestampBefore("2021_01_01_00_00_00_000", "notes"));
    EXPECT_FALSE(TimestampBefore("notes", "2021_01_01_00_00_00_000"));
}

TEST(NameRulesTest, NewIdentifiersAreUniqueAndLaterThanEveryOneInUse) {
    struct Case {
        const char* now;
        std::vector<std::string> inUse;
        const char* expected;
    };
    const Case cases[] = {
        {"2021_03_07_09_05_01_042", {}, "2021_03_07_09_05_01_042"},
        {"2021_03_07_09_05_01_042", {"2021_03_07_09_05_01_041"}, "2021_03_07_09_05_01_042"},
        // A second item in the same millisecond.
        {"2021_03_07_09_05_01_042", {"2021_03_07_09_05_01_042"}, "2021_03_07_09_05_01_043"},
        // The clock set back: after the latest in use, carrying into the next day and year.
        {"2021_03_07_09_05_01_042",
         {"2021_12_31_23_59_59_999", "2021_06_01_00_00_00_000"},
         "2022_01_01_00_00_00_000"},
        {"2024_01_01_00_00_00_000", {"2024_02_28_23_59_59_999"}, "2024_02_29_00_00_00_000"},
        // Identifiers of no real time are passed over.
        {"2021_03_07_09_05_01_042",
         {"2021_13_40_09_05_01_042", "notes", "99999_01_01_00_00_00_000"},
         "2021_03_07_09_05_01_042"},
    };
    for (const Case& c : cases) EXPECT_EQ(NextTimestampId(c.now, c.inUse), c.expected) << c.now;
}

TEST(NameRulesTest, TimestampNamedFilesAreFoundInCreationOrder) {
    TempDataFolder data;
    for (const char* name :
         {"2021_03_07_09_05_01_042.Json", "999_01_01_00_00_00_000.Json",
          "2020_12_31_23_59_59_999.Json", "mouse.Json", "2021_03_07_09_05_01_042.json",
          "2021_03_07_09_05_01_043.mac", "ProfileList.ini", "2021_03_07_09_05_01_044.Json.bad"}) {
        data.WriteText(name, "{}");
    }
    os::CreateDirectories(data.Path("2022_01_01_00_00_00_000.Json"));
    EXPECT_EQ(TimestampNamedFiles(data.Folder(), ".Json"),
              (std::vector<std::string>{"999_01_01_00_00_00_000", "2020_12_31_23_59_59_999",
                                        "2021_03_07_09_05_01_042"}));
    EXPECT_EQ(TimestampNamedFiles(data.Folder(), ".mac"),
              (std::vector<std::string>{"2021_03_07_09_05_01_043"}));
    EXPECT_TRUE(TimestampNamedFiles(data.Path("missing/"), ".mac").empty());
}

}  // namespace
}  // namespace profile
