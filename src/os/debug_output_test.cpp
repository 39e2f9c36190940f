#include "os/debug_output.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace os {
namespace {

// Run in a fresh process: whether debug output is on is read once per process.
TEST(DebugOutput, EveryTextEndsItsOwnLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::setenv("BRASVIK_DEBUG", "1", 1);
    EXPECT_EXIT(
        {
            DebugOutput("错误\n");
            DebugOutput("19");
            DebugOutput("");  // nothing at all
            DebugOutput("写成功！");
            DebugOutput("two\nlines");
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "^错误\n19\n写成功！\ntwo\nlines\n$");
    ::unsetenv("BRASVIK_DEBUG");
}

}  // namespace
}  // namespace os
