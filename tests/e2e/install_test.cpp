// The program as installed: `cmake --install` into a temporary prefix lays out a program that
// runs from there (version, a scripted headless screenshot, its own --doctor finding the program
// folder under share/), with a desktop entry and metainfo the desktop's tools accept; and the
// Debian package CPack builds carries the same tree, computed library dependencies and the
// post-install step that applies the udev rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "os/atomic_file.h"
#include "os/testing/private_session_bus.h"
#include "os/testing/run_program.h"
#include "os/testing/temp_user_folders.h"

namespace {

const std::string kBinary = BRASVIK_BINARY_DIR;
const std::string kCMake = BRASVIK_CMAKE_COMMAND;

// Runs a program, its output into a file of the scratch folder.
os::testing::ProgramRun RunTool(const std::string& dir, const std::vector<std::string>& args) {
    return os::testing::RunProgram(args, dir + "/run.out");
}

class InstallE2E : public ::testing::Test {
  protected:
    os::testing::TempUserFolders folders_{"brasvik-e2e-install"};
    const std::string dir_ = folders_.path();
};

// Every file the layout promises, relative to the prefix.
const std::vector<std::string> kLayout = {
    "bin/brasvik-m402",
    "bin/brasvik-sim",
    "share/brasvik-m402/skin/res.xml",
    "share/brasvik-m402/skin/main.xml",
    "share/brasvik-m402/DefaultData/Language.config",
    "share/brasvik-m402/DefaultData/keyboard.Json",
    "share/brasvik-m402/Update",
    "lib/udev/rules.d/70-brasvik-m402.rules",
    "share/applications/org.brasvik.M402.desktop",
    "share/metainfo/org.brasvik.M402.metainfo.xml",
    "share/icons/hicolor/16x16/apps/org.brasvik.M402.png",
    "share/icons/hicolor/32x32/apps/org.brasvik.M402.png",
    "share/icons/hicolor/48x48/apps/org.brasvik.M402.png",
    "share/icons/hicolor/256x256/apps/org.brasvik.M402.png",
    "share/icons/hicolor/scalable/apps/org.brasvik.M402.svg",
};

TEST_F(InstallE2E, InstalledProgramRunsFromItsPrefix) {
    os::testing::PrivateSessionBus bus;
    if (!bus.ok()) GTEST_SKIP() << "no private session bus: " << bus.error();
    const std::string prefix = dir_ + "/prefix";
    const os::testing::ProgramRun install =
        RunTool(dir_, {kCMake, "--install", kBinary, "--prefix", prefix});
    ASSERT_EQ(install.exitCode, 0) << install.output;
    for (const std::string& f : kLayout)
        EXPECT_TRUE(std::filesystem::exists(prefix + "/" + f)) << f << " not installed";
    EXPECT_FALSE(std::filesystem::exists(prefix + "/share/brasvik-m402/Update/.keep"));
    // The fonts are links to the system's files, never dangling ones to the build tree.
    for (const auto& f : std::filesystem::directory_iterator(prefix + "/share/brasvik-m402/Font")) {
        EXPECT_TRUE(std::filesystem::is_symlink(f.symlink_status())) << f.path();
        EXPECT_TRUE(std::filesystem::exists(f.path())) << f.path() << " dangles";
    }

    const std::string exe = prefix + "/bin/brasvik-m402";
    const os::testing::ProgramRun version = RunTool(dir_, {exe, "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("brasvik-m402 ", 0), 0u) << version.output;

    // A scripted run from the install: the window is built from the installed skin.
    const std::string shot = dir_ + "/installed.png";
    std::ofstream(dir_ + "/shot.script")
        << "wait 500\nscreenshot " << shot << "\nexpect-visible MainWnd yes\nquit\n";
    const os::testing::ProgramRun script =
        RunTool(dir_, {exe, "--demo", "--headless", "--script", dir_ + "/shot.script"});
    EXPECT_EQ(script.exitCode, 0) << script.output;
    std::string png;
    ASSERT_TRUE(os::ReadWholeFile(shot, png)) << script.output;
    EXPECT_EQ(png.compare(1, 3, "PNG"), 0);

    // The installed program finds its folder under share/ and knows where its rules are.
    const os::testing::ProgramRun doctor = RunTool(dir_, {exe, "--doctor"});
    const std::string folder = std::filesystem::canonical(prefix).string() + "/share/brasvik-m402/";
    EXPECT_NE(doctor.output.find("  program folder: " + folder + " has the skin"),
              std::string::npos)
        << doctor.output;
    if (doctor.output.find("  udev rules: /") == std::string::npos) {  // not installed for udev
        EXPECT_NE(doctor.output.find("sudo install -m 644 " +
                                     std::filesystem::canonical(prefix).string() +
                                     "/lib/udev/rules.d/70-brasvik-m402.rules /etc/udev/rules.d/"),
                  std::string::npos)
            << doctor.output;
    }
}

// The Debian package: library dependencies computed from the binaries, the tree under /usr, the
// post-install step that applies the udev rules, and a program that runs once unpacked.
TEST_F(InstallE2E, DebianPackage) {
    if (!os::testing::HaveProgram("dpkg-deb") || !os::testing::HaveProgram("dpkg-shlibdeps"))
        GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps missing (scripts/setup.sh installs dpkg-dev)";
    const std::string out = dir_ + "/package";
    const os::testing::ProgramRun cpack =
        RunTool(dir_, {BRASVIK_CPACK_COMMAND, "--config", kBinary + "/CPackConfig.cmake", "-G",
                       "DEB", "-B", out});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.output;
    std::string deb;
    for (const auto& f : std::filesystem::directory_iterator(out))
        if (f.path().extension() == ".deb") deb = f.path().string();
    ASSERT_FALSE(deb.empty()) << cpack.output;

    const os::testing::ProgramRun fields =
        RunTool(dir_, {"dpkg-deb", "-f", deb, "Package", "Depends", "Recommends"});
    EXPECT_NE(fields.output.find("Package: brasvik-m402\n"), std::string::npos) << fields.output;
    // Libraries the program always links (the package names differ between releases only by
    // their version suffix).
    for (const char* dependency : {" libc6 ", " libsdl2-2.0", " libudev1 ", " libsystemd0 ",
                                   " libjsoncpp", " libpugixml", " libcairo2 ", " libpango"})
        EXPECT_NE(fields.output.find(dependency), std::string::npos) << dependency << "\n"
                                                                     << fields.output;
    EXPECT_NE(fields.output.find("Recommends: fonts-noto-core, fonts-noto-cjk"), std::string::npos)
        << fields.output;

    const os::testing::ProgramRun contents = RunTool(dir_, {"dpkg-deb", "-c", deb});
    for (const char* path :
         {"./usr/bin/brasvik-m402", "./usr/bin/brasvik-sim",
          "./usr/lib/udev/rules.d/70-brasvik-m402.rules", "./usr/share/brasvik-m402/skin/res.xml",
          "./usr/share/brasvik-m402/DefaultData/Language.config",
          "./usr/share/applications/org.brasvik.M402.desktop",
          "./usr/share/metainfo/org.brasvik.M402.metainfo.xml",
          "./usr/share/icons/hicolor/scalable/apps/org.brasvik.M402.svg"})
        EXPECT_NE(contents.output.find(std::string(path) + "\n"), std::string::npos) << path;
    EXPECT_EQ(contents.output.find(dir_), std::string::npos) << "a path of the build leaked in";

    const os::testing::ProgramRun postinst = RunTool(dir_, {"dpkg-deb", "-I", deb, "postinst"});
    EXPECT_NE(postinst.output.find("udevadm control --reload-rules"), std::string::npos)
        << postinst.output;
    EXPECT_NE(postinst.output.find("udevadm trigger --subsystem-match=hidraw"), std::string::npos);

    // Unpacked into a scratch root, the program runs and finds its folder.
    const std::string root = dir_ + "/root";
    ASSERT_EQ(RunTool(dir_, {"dpkg-deb", "-x", deb, root}).exitCode, 0);
    const os::testing::ProgramRun version =
        RunTool(dir_, {root + "/usr/bin/brasvik-m402", "--version"});
    EXPECT_EQ(version.output.rfind("brasvik-m402 ", 0), 0u) << version.output;
    const os::testing::ProgramRun doctor =
        RunTool(dir_, {root + "/usr/bin/brasvik-m402", "--doctor"});
    EXPECT_NE(doctor.output.find("  program folder: " + std::filesystem::canonical(root).string() +
                                 "/usr/share/brasvik-m402/ has the skin"),
              std::string::npos)
        << doctor.output;
}

// The desktop's own checkers accept the desktop entry and the metainfo.
TEST_F(InstallE2E, DesktopEntryAndMetainfoValidate) {
    const std::string packaging = std::string(BRASVIK_SOURCE_DIR) + "/packaging/";
    const std::vector<std::pair<std::vector<std::string>, std::string>> checks = {
        {{"desktop-file-validate"}, "org.brasvik.M402.desktop"},
        {{"appstreamcli", "validate", "--no-net"}, "org.brasvik.M402.metainfo.xml"},
    };
    int ran = 0;
    for (const auto& [tool, file] : checks) {
        if (!os::testing::HaveProgram(tool[0].c_str())) continue;
        std::vector<std::string> args = tool;
        args.push_back(packaging + file);
        const os::testing::ProgramRun v = RunTool(dir_, args);
        EXPECT_EQ(v.exitCode, 0) << tool[0] << ": " << v.output;
        ++ran;
    }
    if (ran < 2)
        GTEST_SKIP() << "desktop-file-validate or appstreamcli missing (scripts/setup.sh installs "
                        "desktop-file-utils and appstream)";
}

}  // namespace
