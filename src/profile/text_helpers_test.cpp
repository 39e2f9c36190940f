#include "profile/text_helpers.h"

#include <gtest/gtest.h>

#include <regex>

namespace profile {
namespace {

TEST(TextHelpers, TimestampIdFormatsLocalTimeWithMilliseconds) {
    EXPECT_EQ(MakeTimestampId(2021, 3, 7, 9, 5, 1, 42), "2021_03_07_09_05_01_042");
    EXPECT_EQ(MakeTimestampId(2021, 12, 31, 23, 59, 59, 999), "2021_12_31_23_59_59_999");
    EXPECT_TRUE(
        std::regex_match(MakeTimestampId(), std::regex(R"(\d{4}_\d\d_\d\d_\d\d_\d\d_\d\d_\d{3})")));
}

TEST(TextHelpers, Hex8IsEightUpperCaseDigits) {
    EXPECT_EQ(ToHex8(0), "00000000");
    EXPECT_EQ(ToHex8(0xFF00A0B1u), "FF00A0B1");
    EXPECT_EQ(ToHex8(0xABCu), "00000ABC");
    EXPECT_EQ(ToHex8(0xFFFFFFFFu), "FFFFFFFF");
}

TEST(TextHelpers, SplitIndexedNameCutsAtTheLastUnderscore) {
    struct Case {
        const char* name;
        bool split;
        const char* prefix;
        int number;
    };
    const Case cases[] = {
        {"key_12", true, "key_", 12},      {"DPI_slider_3", true, "DPI_slider_", 3},
        {"light_0_", true, "light_0_", 0},  // nothing after the last '_'
        {"key_x7", true, "key_", 0},       {"key_7x", true, "key_", 7},
        {"key_-2", true, "key_", -2},      {"key_99999999999", true, "key_", 2147483647},
        {"logo", false, "", -1},           {"", false, "", -1},
    };
    for (const Case& c : cases) {
        std::string prefix;
        int number = -1;
        EXPECT_EQ(SplitIndexedName(c.name, prefix, number), c.split) << c.name;
        EXPECT_EQ(prefix, c.prefix) << c.name;
        EXPECT_EQ(number, c.number) << c.name;
    }
}

TEST(TextHelpers, BlankMeansOnlyWhiteSpace) {
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_TRUE(IsBlank(" \t\r\n"));
    EXPECT_TRUE(IsBlank("\xE3\x80\x80"));  // ideographic space
    EXPECT_TRUE(IsBlank(" \xC2\xA0 "));    // no-break space
    EXPECT_FALSE(IsBlank(" a "));
    EXPECT_FALSE(IsBlank("\xE4\xB8\xAD"));
    EXPECT_FALSE(IsBlank("\xFF"));
}

TEST(TextHelpers, SafeFileNamesStayInTheirFolder) {
    for (const char* ok : {"2021_03_07_09_05_01_042", "{4d1e55b2-f16f-11cf}", "a.b", "效果"})
        EXPECT_TRUE(IsSafeFileName(ok)) << ok;
    for (const char* bad : {"", "..", "../x", "a/b", "/etc/passwd", "a\\b", "x..y"})
        EXPECT_FALSE(IsSafeFileName(bad)) << bad;
    EXPECT_FALSE(IsSafeFileName(std::string_view("a\0b", 3)));
}

TEST(TextHelpers, InvalidUtf8IsReplaced) {
    EXPECT_EQ(ToValidUtf8("plain"), "plain");
    EXPECT_EQ(ToValidUtf8("\xE6\xB8\xB8\xE6\x88\x8F"), "\xE6\xB8\xB8\xE6\x88\x8F");
    EXPECT_EQ(ToValidUtf8("a\xFF"
                          "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(ToValidUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");                  // overlong '/'
    EXPECT_EQ(ToValidUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");  // surrogate
    EXPECT_EQ(ToValidUtf8("\xE6\xB8"), "\xEF\xBF\xBD\xEF\xBF\xBD");                  // cut short
}

}  // namespace
}  // namespace profile
