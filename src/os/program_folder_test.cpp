#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "os/folders.h"

namespace os {
namespace {

// The build tree keeps the skin beside the executable; an install keeps it in
// <prefix>/share/brasvik-m402.
TEST(ProgramFolder, BesideTheExecutableOrUnderShare) {
    char tmpl[] = "/tmp/brasvik-program-folder-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    const std::string root = std::filesystem::canonical(dir).string();
    std::filesystem::create_directories(root + "/build/skin");
    std::filesystem::create_directories(root + "/prefix/bin");
    std::filesystem::create_directories(root + "/prefix/share/brasvik-m402/skin");
    std::filesystem::create_directories(root + "/bare/bin");

    EXPECT_EQ(ProgramFolderOf(root + "/build"), root + "/build/");
    EXPECT_EQ(ProgramFolderOf(root + "/prefix/bin/"), root + "/prefix/share/brasvik-m402/");
    EXPECT_EQ(ProgramFolderOf(root + "/bare/bin"), root + "/bare/bin/");  // nothing found
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace os
