#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace app {
namespace {

TEST(IniFile, SetChangesOnlyItsLinesAndKeepsTheRest) {
    const std::string path = ::testing::TempDir() + "ini_file_test.ini";
    std::ofstream(path) << "; written by hand\n[Other]\nflags=7\n\n[SKINIMAGE]\r\nFlags = 1\n"
                           "IMAGE=a.png\nExtra=x\n";
    IniFile ini(path);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.Get("skinimage", "FLAGS"), "1");
    EXPECT_EQ(ini.Get("Other", "FLAGS"), "7");
    ini.Set("SKINIMAGE", "FLAGS", "0");
    ini.Set("SKINIMAGE", "New", "line\nbreak");
    ini.Set("Third", "IMAGE", "b.png");
    ASSERT_TRUE(ini.Save());
    IniFile again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.Text(),
              "; written by hand\n[Other]\nflags=7\n\n[SKINIMAGE]\nFLAGS=0\nIMAGE=a.png\nExtra=x\n"
              "New=line break\n\n[Third]\nIMAGE=b.png\n");
    std::filesystem::remove(path);

    IniFile missing(path);
    EXPECT_TRUE(missing.Load());
    EXPECT_EQ(missing.Get("SKINIMAGE", "IMAGE", "none"), "none");
}

}  // namespace
}  // namespace app
