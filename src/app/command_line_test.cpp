#include "app/command_line.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(CommandLine, ParsesEveryOption) {
    const char* argv[] = {"brasvik-m402", "--demo=keyboard,mouse",
                          "--headless",   "--script",
                          "s.txt",        "--version",
                          "--help",       "--doctor"};
    const CommandLineOptions o = ParseCommandLine(8, argv);
    EXPECT_TRUE(o.demo);
    EXPECT_EQ(o.demoKinds, "keyboard,mouse");
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.scriptFile, "s.txt");
    EXPECT_TRUE(o.version);
    EXPECT_TRUE(o.help);
    EXPECT_TRUE(o.doctor);
    EXPECT_TRUE(o.errors.empty());
}

TEST(CommandLine, ReportsUnknownOptionsAndMissingValues) {
    const char* argv[] = {"brasvik-m402", "--frobnicate", "--script"};
    const CommandLineOptions o = ParseCommandLine(3, argv);
    ASSERT_EQ(o.errors.size(), 2u);
    EXPECT_EQ(o.errors[0], "unknown option: --frobnicate");
    EXPECT_EQ(o.errors[1], "--script needs a file name");
}

}  // namespace
}  // namespace app
