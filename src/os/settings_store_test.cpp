#include "os/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "os/atomic_file.h"
#include "os/folders.h"

namespace os {
namespace {

constexpr const char* kKey = "SOFTWARE\\Brasvik M402";

class SettingsStoreFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/brasvik-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        file_ = dir_ + "/settings.ini";
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Read(const std::string& path) {
        std::string text;
        return ReadWholeFile(path, text) ? text : "<missing>";
    }

    std::string dir_;
    std::string file_;
};

TEST_F(SettingsStoreFile, ADamagedFileIsKeptAsideBeforeItIsWrittenAfresh) {
    struct Case {
        const char* name;
        std::string text;
        std::optional<uint32_t> language;  // as read from the damaged file
        bool keptAside;
    };
    const Case cases[] = {
        {"sound", "[SOFTWARE\\Brasvik M402]\nLANGUAGE=dword:1033\n", 1033u, false},
        {"garbage",
         std::string("\x7f"
                     "ELF\x01\x00\x00garbage\n",
                     15),
         std::nullopt, true},
        {"a line that does not parse", "[SOFTWARE\\Brasvik M402]\nLANGUAGE=dword:1033\nzap\n",
         1033u, true},
        // Cut short in the middle of "dword:1031": 10 must not be taken for the value.
        {"last line cut short", "[SOFTWARE\\Brasvik M402]\nOLD=dword:1\nLANGUAGE=dword:10",
         std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ASSERT_TRUE(WriteFileAtomically(file_, c.text));
        SettingsStore store(file_);
        EXPECT_EQ(store.GetDword(kKey, "LANGUAGE"), c.language);
        EXPECT_EQ(Read(file_), c.text);  // reading alone changes nothing
        ASSERT_TRUE(store.SetDword(kKey, "OTHER", 7));
        EXPECT_EQ(Read(file_ + ".bad"), c.keptAside ? c.text : "<missing>");
        EXPECT_EQ(store.GetDword(kKey, "OTHER"), 7u);
        EXPECT_EQ(store.GetDword(kKey, "LANGUAGE"), c.language);
        // Written afresh, the file is sound: the next change keeps nothing more.
        ASSERT_TRUE(store.SetDword(kKey, "OTHER", 8));
        EXPECT_FALSE(PathExists(file_ + ".bad.2"));
    }
}

TEST_F(SettingsStoreFile, ASecondDamagedFileDoesNotOverwriteTheFirstCopy) {
    const std::string first = "[SOFTWARE\\Brasvik M402]\nLANGUAGE=dword:10";
    const std::string second = "junk\n";
    ASSERT_TRUE(WriteFileAtomically(file_, first));
    ASSERT_TRUE(SettingsStore(file_).SetDword(kKey, "LANGUAGE", 1033));
    ASSERT_TRUE(WriteFileAtomically(file_, second));
    ASSERT_TRUE(SettingsStore(file_).SetDword(kKey, "LANGUAGE", 1031));
    EXPECT_EQ(Read(file_ + ".bad"), first);
    EXPECT_EQ(Read(file_ + ".bad.2"), second);
    EXPECT_EQ(Read(file_), "[SOFTWARE\\Brasvik M402]\nLANGUAGE=dword:1031\n");
}

TEST_F(SettingsStoreFile, AFileThatCannotBeReadIsNeverWrittenOver) {
    // A folder where the file should be: it is there, and it cannot be read as a file.
    std::filesystem::create_directories(file_);
    SettingsStore store(file_);
    EXPECT_FALSE(store.KeyExists(kKey));
    EXPECT_FALSE(store.CreateKey(kKey));
    EXPECT_FALSE(store.SetDword(kKey, "LANGUAGE", 1033));
    EXPECT_TRUE(std::filesystem::is_directory(file_));
    EXPECT_FALSE(PathExists(file_ + ".bad"));
}

}  // namespace
}  // namespace os
