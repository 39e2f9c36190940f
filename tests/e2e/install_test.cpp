// The program as installed: `cmake --install` into a temporary prefix lays out a program that
// runs from there (version, a scripted headless screenshot, its own --doctor finding the program
// folder under share/), with a desktop entry and metainfo the desktop's tools accept; and the
// Debian package CPack builds carries the same tree, computed library dependencies and the
// post-install step that applies the udev rules.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "os/atomic_file.h"
#include "os/testing/private_session_bus.h"

extern char** environ;

namespace {

const std::string kBinary = BRASVIK_BINARY_DIR;
const std::string kCMake = BRASVIK_CMAKE_COMMAND;

struct Result {
    int exitCode = -1;
    std::string out;  // standard output and error together
};

// Runs argv with this process's environment, output into a file in dir.
Result RunTool(const std::string& dir, const std::vector<std::string>& args) {
    Result r;
    const std::string outFile = dir + "/run.out";
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    pid_t pid = -1;
    const bool started = ::posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&fa);
    if (!started) return r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    os::ReadWholeFile(outFile, r.out);
    return r;
}

bool HaveTool(const char* name) {
    for (const char* dir : {"/usr/bin", "/bin", "/usr/local/bin"})
        if (::access((std::string(dir) + "/" + name).c_str(), X_OK) == 0) return true;
    return false;
}

class InstallE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/brasvik-e2e-install-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    std::string dir_;
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
    const Result install = RunTool(dir_, {kCMake, "--install", kBinary, "--prefix", prefix});
    ASSERT_EQ(install.exitCode, 0) << install.out;
    for (const std::string& f : kLayout)
        EXPECT_TRUE(std::filesystem::exists(prefix + "/" + f)) << f << " not installed";
    EXPECT_FALSE(std::filesystem::exists(prefix + "/share/brasvik-m402/Update/.keep"));
    // The fonts are links to the system's files, never dangling ones to the build tree.
    for (const auto& f : std::filesystem::directory_iterator(prefix + "/share/brasvik-m402/Font")) {
        EXPECT_TRUE(std::filesystem::is_symlink(f.symlink_status())) << f.path();
        EXPECT_TRUE(std::filesystem::exists(f.path())) << f.path() << " dangles";
    }

    const std::string exe = prefix + "/bin/brasvik-m402";
    const Result version = RunTool(dir_, {exe, "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("brasvik-m402 ", 0), 0u) << version.out;

    // A scripted run from the install: the window is built from the installed skin.
    const std::string shot = dir_ + "/installed.png";
    std::ofstream(dir_ + "/shot.script")
        << "wait 500\nscreenshot " << shot << "\nexpect-visible MainWnd yes\nquit\n";
    const Result script =
        RunTool(dir_, {exe, "--demo", "--headless", "--script", dir_ + "/shot.script"});
    EXPECT_EQ(script.exitCode, 0) << script.out;
    std::string png;
    ASSERT_TRUE(os::ReadWholeFile(shot, png)) << script.out;
    EXPECT_EQ(png.compare(1, 3, "PNG"), 0);

    // The installed program finds its folder under share/ and knows where its rules are.
    const Result doctor = RunTool(dir_, {exe, "--doctor"});
    const std::string folder = std::filesystem::canonical(prefix).string() + "/share/brasvik-m402/";
    EXPECT_NE(doctor.out.find("  program folder: " + folder + " has the skin"), std::string::npos)
        << doctor.out;
    if (doctor.out.find("  udev rules: /") == std::string::npos) {  // not installed for udev
        EXPECT_NE(
            doctor.out.find("sudo install -m 644 " + std::filesystem::canonical(prefix).string() +
                            "/lib/udev/rules.d/70-brasvik-m402.rules /etc/udev/rules.d/"),
            std::string::npos)
            << doctor.out;
    }
}

// The Debian package: library dependencies computed from the binaries, the tree under /usr, the
// post-install step that applies the udev rules, and a program that runs once unpacked.
TEST_F(InstallE2E, DebianPackage) {
    if (!HaveTool("dpkg-deb") || !HaveTool("dpkg-shlibdeps"))
        GTEST_SKIP() << "dpkg-deb or dpkg-shlibdeps missing (scripts/setup.sh installs dpkg-dev)";
    const std::string out = dir_ + "/package";
    const Result cpack = RunTool(dir_, {BRASVIK_CPACK_COMMAND, "--config",
                                        kBinary + "/CPackConfig.cmake", "-G", "DEB", "-B", out});
    ASSERT_EQ(cpack.exitCode, 0) << cpack.out;
    std::string deb;
    for (const auto& f : std::filesystem::directory_iterator(out))
        if (f.path().extension() == ".deb") deb = f.path().string();
    ASSERT_FALSE(deb.empty()) << cpack.out;

    const Result fields =
        RunTool(dir_, {"dpkg-deb", "-f", deb, "Package", "Depends", "Recommends"});
    EXPECT_NE(fields.out.find("Package: brasvik-m402\n"), std::string::npos) << fields.out;
    // Libraries the program always links (the package names differ between releases only by
    // their version suffix).
    for (const char* dependency : {" libc6 ", " libsdl2-2.0", " libudev1 ", " libsystemd0 ",
                                   " libjsoncpp", " libpugixml", " libcairo2 ", " libpango"})
        EXPECT_NE(fields.out.find(dependency), std::string::npos) << dependency << "\n"
                                                                  << fields.out;
    EXPECT_NE(fields.out.find("Recommends: fonts-noto-core, fonts-noto-cjk"), std::string::npos)
        << fields.out;

    const Result contents = RunTool(dir_, {"dpkg-deb", "-c", deb});
    for (const char* path :
         {"./usr/bin/brasvik-m402", "./usr/bin/brasvik-sim",
          "./usr/lib/udev/rules.d/70-brasvik-m402.rules", "./usr/share/brasvik-m402/skin/res.xml",
          "./usr/share/brasvik-m402/DefaultData/Language.config",
          "./usr/share/applications/org.brasvik.M402.desktop",
          "./usr/share/metainfo/org.brasvik.M402.metainfo.xml",
          "./usr/share/icons/hicolor/scalable/apps/org.brasvik.M402.svg"})
        EXPECT_NE(contents.out.find(std::string(path) + "\n"), std::string::npos) << path;
    EXPECT_EQ(contents.out.find(dir_), std::string::npos) << "a path of the build leaked in";

    const Result postinst = RunTool(dir_, {"dpkg-deb", "-I", deb, "postinst"});
    EXPECT_NE(postinst.out.find("udevadm control --reload-rules"), std::string::npos)
        << postinst.out;
    EXPECT_NE(postinst.out.find("udevadm trigger --subsystem-match=hidraw"), std::string::npos);

    // Unpacked into a scratch root, the program runs and finds its folder.
    const std::string root = dir_ + "/root";
    ASSERT_EQ(RunTool(dir_, {"dpkg-deb", "-x", deb, root}).exitCode, 0);
    const Result version = RunTool(dir_, {root + "/usr/bin/brasvik-m402", "--version"});
    EXPECT_EQ(version.out.rfind("brasvik-m402 ", 0), 0u) << version.out;
    const Result doctor = RunTool(dir_, {root + "/usr/bin/brasvik-m402", "--doctor"});
    EXPECT_NE(doctor.out.find("  program folder: " + std::filesystem::canonical(root).string() +
                              "/usr/share/brasvik-m402/ has the skin"),
              std::string::npos)
        << doctor.out;
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
        if (!HaveTool(tool[0].c_str())) continue;
        std::vector<std::string> args = tool;
        args.push_back(packaging + file);
        const Result v = RunTool(dir_, args);
        EXPECT_EQ(v.exitCode, 0) << tool[0] << ": " << v.out;
        ++ran;
    }
    if (ran < 2)
        GTEST_SKIP() << "desktop-file-validate or appstreamcli missing (scripts/setup.sh installs "
                        "desktop-file-utils and appstream)";
}

}  // namespace
