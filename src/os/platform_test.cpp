#include "os/platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "os/atomic_file.h"
#include "os/event.h"

namespace os {
namespace {

TEST(Platform, StartProgramRunsInItsWorkingFolderWithArguments) {
    char tmpl[] = "/tmp/brasvik-start-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    ASSERT_TRUE(
        StartProgram("/bin/sh", {"-c", "pwd > out.txt; echo \"$0\" >> out.txt", "arg"}, dir));
    std::string out;
    for (int i = 0; i < 500 && out.find('\n', out.find('\n') + 1) == std::string::npos; ++i) {
        SleepMs(10);
        ReadWholeFile(dir + "/out.txt", out);
    }
    EXPECT_EQ(out, dir + "\narg\n");
    EXPECT_FALSE(StartProgram("/nonexistent/updater", {}));
    std::filesystem::remove_all(dir);
}

TEST(Platform, PrivateFontNeedsAFontFile) {
    EXPECT_FALSE(AddPrivateFont("/nonexistent/Font/Simplified_Chinese.ttf"));
    EXPECT_FALSE(AddPrivateFont("/etc/hostname"));
    const std::string thai = "/usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf";
    if (!std::filesystem::exists(thai)) GTEST_SKIP() << "no Noto Thai font installed";
    EXPECT_TRUE(AddPrivateFont(thai));
}

}  // namespace
}  // namespace os
