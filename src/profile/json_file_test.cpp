#include "profile/json_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "os/atomic_file.h"
#include "profile/json_access.h"
#include "profile/temp_data_folder.h"

namespace profile {
namespace {

TEST(JsonFile, WritesStyledUtf8TextAndReadsItBack) {
    TempDataFolder data;
    JsonFile file;
    Json::Value root;
    root["profilename"] = JsonFromText("游戏 Профиль 🎮");
    root["tab"] = "a\tb\x01";
    root["b"] = 1;
    root["a"] = Json::Value(Json::arrayValue);
    root["a"].append(1);
    root["a"].append(2);
    ASSERT_TRUE(file.Write(root, data.Path("p.Json")));

    const std::string text = data.ReadText("p.Json");
    EXPECT_EQ(text,
              "{\n"
              "   \"a\" : [ 1, 2 ],\n"
              "   \"b\" : 1,\n"
              "   \"profilename\" : \"游戏 Профиль 🎮\",\n"
              "   \"tab\" : \"a\\tb\\u0001\"\n"
              "}\n");
    JsonFile::ReadResult result;
    const Json::Value back = file.Read(data.Path("p.Json"), &result);
    EXPECT_EQ(result, JsonFile::ReadResult::kParsed);
    EXPECT_EQ(back, root);
    EXPECT_EQ(TextFromJson(back["profilename"]), "游戏 Профиль 🎮");
}

TEST(JsonFile, EscapedTextFromOtherWritersReadsAsUtf8) {
    TempDataFolder data;
    data.WriteText("e.Json", R"({"n" : "\u6e38\u620f \ud83c\udfae \\u6e38", "s" : "\udc00"})");
    JsonFile file;
    const Json::Value v = file.Read(data.Path("e.Json"));
    EXPECT_EQ(TextFromJson(v["n"]), "游戏 🎮 \\u6e38");
    ASSERT_TRUE(file.Write(v, data.Path("e.Json")));
    // A backslash written as an escape stays one; only real escapes become UTF-8.
    EXPECT_NE(data.ReadText("e.Json").find(R"("游戏 🎮 \\u6e38")"), std::string::npos);
    const Json::Value back = file.Read(data.Path("e.Json"));
    EXPECT_EQ(back["n"], v["n"]);
    // A lone surrogate is no character: its bytes come out as U+FFFD, and the rewrite stores one.
    EXPECT_EQ(TextFromJson(v["s"]), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(TextFromJson(back["s"]), "\xEF\xBF\xBD");
}

TEST(JsonFile, MissingEmptyOrBrokenFilesReadAsNull) {
    TempDataFolder data;
    JsonFile file;
    struct Case {
        const char* name;
        std::string text;
        JsonFile::ReadResult result;
    };
    const Case cases[] = {
        {"empty", "", JsonFile::ReadResult::kNoText},
        {"open brace", "{", JsonFile::ReadResult::kUnparsable},
        {"truncated", R"({"Device" : [ { "LightInfo" : { "Red" : 25)",
         JsonFile::ReadResult::kUnparsable},
        {"binary", std::string("\x00\xFF\x7B\x22", 4), JsonFile::ReadResult::kUnparsable},
        {"deep", std::string(100000, '['), JsonFile::ReadResult::kUnparsable},
    };
    for (const Case& c : cases) {
        data.WriteText("f.Json", c.text);
        JsonFile::ReadResult result;
        EXPECT_TRUE(file.Read(data.Path("f.Json"), &result).isNull()) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
    }
    JsonFile::ReadResult result;
    EXPECT_TRUE(file.Read(data.Path("absent.Json"), &result).isNull());
    EXPECT_EQ(result, JsonFile::ReadResult::kNoText);
    EXPECT_TRUE(file.Read(data.Path("absent/f.Json"), &result).isNull());
    EXPECT_EQ(result, JsonFile::ReadResult::kNoText);
    // A file that is there but cannot be read is told apart from a missing one.
    std::filesystem::create_directory(data.Path("folder.Json"));
    EXPECT_TRUE(file.Read(data.Path("folder.Json"), &result).isNull());
    EXPECT_EQ(result, JsonFile::ReadResult::kUnreadable);
    std::filesystem::create_symlink("/proc/self/mem", data.Path("eio.Json"));
    EXPECT_TRUE(file.Read(data.Path("eio.Json"), &result).isNull());
    EXPECT_EQ(result, JsonFile::ReadResult::kUnreadable);
}

TEST(JsonFile, DamagedFilesAreKeptAsideWithoutReplacingEarlierCopies) {
    TempDataFolder data;
    JsonFile file;
    const std::string texts[] = {"{", "[1,", "\x89PNG"};
    const char* const copies[] = {"f.Json.bad", "f.Json.bad.2", "f.Json.bad.3"};
    for (const std::string& text : texts) {
        data.WriteText("f.Json", text);
        EXPECT_TRUE(file.KeepAside(data.Path("f.Json")));
    }
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(data.ReadText(copies[i]), texts[i]);
    // The file itself is left for the caller to replace.
    EXPECT_EQ(data.ReadText("f.Json"), texts[2]);

    // Nothing to copy: no copy, and the caller is told.
    const std::size_t entries = data.EntryCount();
    EXPECT_FALSE(file.KeepAside(data.Path("absent.Json")));
    std::filesystem::create_directory(data.Path("folder.Json"));
    EXPECT_FALSE(file.KeepAside(data.Path("folder.Json")));
    EXPECT_EQ(data.EntryCount(), entries + 1);
}

TEST(JsonFile, FailedWriteLeavesTheOldFileAndReportsIt) {
    TempDataFolder data;
    JsonFile file;
    Json::Value v;
    v["x"] = 1;
    ASSERT_TRUE(file.Write(v, data.Path("keep.Json")));
    const std::string before = data.ReadText("keep.Json");

    v["x"] = 2;
    os::SetAtomicWriteFailBeforeRenameForTesting(true);
    const bool written = file.Write(v, data.Path("keep.Json"));
    os::SetAtomicWriteFailBeforeRenameForTesting(false);
    EXPECT_FALSE(written);
    EXPECT_EQ(data.ReadText("keep.Json"), before);
    EXPECT_EQ(data.EntryCount(), 1u);

    EXPECT_FALSE(file.Write(v, data.Path("no such folder/x.Json")));
    EXPECT_FALSE(file.Write(v, ""));
}

TEST(JsonAccess, WrongTypesReadAsAbsent) {
    Json::Value v;
    v["int"] = 7;
    v["real"] = 2.9;
    v["big"] = Json::UInt64(0x1FFFFFFFFull);
    v["huge"] = 1e300;
    v["text"] = "7";
    v["flag"] = true;
    v["arr"].append(5);
    EXPECT_EQ(JsonInt(JsonMember(v, "int")), 7);
    EXPECT_EQ(JsonInt(JsonMember(v, "real")), 2);
    EXPECT_EQ(static_cast<std::uint16_t>(JsonInt(JsonMember(v, "big"))), 0xFFFF);
    EXPECT_EQ(JsonInt(JsonMember(v, "huge")), 0);
    EXPECT_EQ(JsonInt(JsonMember(v, "text")), 0);
    EXPECT_EQ(JsonInt(JsonMember(v, "flag")), 1);
    EXPECT_EQ(JsonInt(JsonMember(v, "arr")), 0);
    EXPECT_EQ(JsonInt(JsonMember(v, "absent")), 0);
    EXPECT_TRUE(JsonMember(v["int"], "x").isNull());  // member of a number
    EXPECT_TRUE(JsonElement(v["text"], 0).isNull());  // element of a string
    EXPECT_TRUE(JsonElement(v["arr"], 1).isNull());   // past the end
    EXPECT_EQ(JsonInt(JsonElement(v["arr"], 0)), 5);
    EXPECT_TRUE(JsonBool(JsonMember(v, "real")));
    EXPECT_FALSE(JsonBool(JsonMember(v, "text")));
    EXPECT_EQ(TextFromJson(JsonMember(v, "int")), "");
    EXPECT_EQ(TextFromJson(Json::Value(std::string("ab\0cd", 5))), "ab");

    Json::Value w = 5;
    WritableMember(w, "a") = 1;
    EXPECT_EQ(w["a"], 1);
    WritableElement(WritableMember(w, "a"), 2) = 3;
    EXPECT_EQ(w["a"].size(), 3u);
}

}  // namespace
}  // namespace profile
