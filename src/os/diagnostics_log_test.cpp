#include "os/diagnostics_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "os/atomic_file.h"
#include "os/folders.h"
#include "os/testing/temp_user_folders.h"

namespace os {
namespace {

std::tm At(int y, int mo, int d, int h, int mi, int s) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    return t;
}

class DiagnosticsLog : public ::testing::Test {
  protected:
    void SetUp() override { UserDataFolder(true); }
    static std::string Read() {
        std::string s;
        ReadWholeFile(LogFilePath(), s);
        return s;
    }
    static void Fill(size_t bytes) { std::ofstream(LogFilePath()) << std::string(bytes, 'x'); }
    os::testing::TempUserFolders folders_;
    const std::string dir_ = folders_.path() + "/data";
};

TEST_F(DiagnosticsLog, EntryIsStampedWithLocalTimeAndEndsTheLine) {
    EXPECT_EQ(LogFilePath(), dir_ + "/Brasvik M402/Vorlix.log");
    AppendLogAt(LogFilePath(), "send 09 frame", At(2026, 3, 3, 9, 5, 7));
    AppendLogAt(LogFilePath(), "second", At(2026, 12, 31, 23, 59, 59));
    EXPECT_EQ(Read(), "2026-03-03-09-05-07:send 09 frame\n2026-12-31-23-59-59:second\n");
    AppendLog("now");
    EXPECT_EQ(Read().back(), '\n');
}

TEST_F(DiagnosticsLog, FourMebibyteBoundary) {
    // Exactly at the limit: appended to.
    Fill(kLogSizeLimit);
    AppendLogAt(LogFilePath(), "kept", At(2026, 1, 2, 3, 4, 5));
    EXPECT_EQ(Read().size(), kLogSizeLimit + std::string("2026-01-02-03-04-05:kept\n").size());
    // One byte over: the next entry empties the file and is its only line.
    Fill(kLogSizeLimit + 1);
    AppendLogAt(LogFilePath(), "fresh", At(2026, 1, 2, 3, 4, 5));
    EXPECT_EQ(Read(), "2026-01-02-03-04-05:fresh\n");
}

TEST_F(DiagnosticsLog, MissingFolderLosesOnlyTheEntry) {
    std::filesystem::remove_all(dir_ + "/Brasvik M402");
    AppendLog("lost");  // must not crash or create the folder
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/Brasvik M402"));
}

}  // namespace
}  // namespace os
