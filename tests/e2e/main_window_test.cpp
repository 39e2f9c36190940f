// The real program in demo mode without a display, driven by --script: screenshots of the main
// window in English and in Chinese at 96 and 144 DPI (kept in build/screenshots/ to be looked
// at), the close button hiding the window while the program runs on, and a failing step.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "os/atomic_file.h"
#include "os/event.h"
#include "os/settings_store.h"
#include "os/testing/private_session_bus.h"
#include "os/testing/tray_watcher.h"

extern char** environ;

namespace {

const std::string kBinary = BRASVIK_BINARY_DIR;

struct ScriptRun {
    int exitCode = -1;
    std::string err;
};

// Runs brasvik-m402 --demo --headless --script script with the environment of this process and
// extra variables; waits up to two minutes.
ScriptRun RunScript(const std::string& dir, const std::string& script,
                    const std::vector<std::string>& env = {}) {
    const std::string scriptFile = dir + "/run.script";
    std::ofstream(scriptFile) << script;
    const std::string errFile = dir + "/run.err";
    const std::string exe = kBinary + "/brasvik-m402";
    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) envStrings.emplace_back(*e);
    for (const std::string& e : env) envStrings.push_back(e);
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(exe.c_str()),        const_cast<char*>("--demo"),
                    const_cast<char*>("--headless"),       const_cast<char*>("--script"),
                    const_cast<char*>(scriptFile.c_str()), nullptr};
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    ScriptRun run;
    const bool started = ::posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv, envp.data()) == 0;
    posix_spawn_file_actions_destroy(&fa);
    if (!started) return run;
    for (int waited = 0; waited < 120000; waited += 20) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        os::SleepMs(20);
    }
    if (run.exitCode < 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    os::ReadWholeFile(errFile, run.err);
    return run;
}

// Width and height from a PNG file's header; 0, 0 when it is none.
std::pair<uint32_t, uint32_t> PngSize(const std::string& path) {
    std::string data;
    if (!os::ReadWholeFile(path, data) || data.size() < 24 || data.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto be = [&](size_t at) {
        return (uint32_t(uint8_t(data[at])) << 24) | (uint32_t(uint8_t(data[at + 1])) << 16) |
               (uint32_t(uint8_t(data[at + 2])) << 8) | uint32_t(uint8_t(data[at + 3]));
    };
    return {be(16), be(20)};
}

class MainWindowE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!privateBus_.ok()) GTEST_SKIP() << "no private session bus: " << privateBus_.error();
        char tmpl[] = "/tmp/brasvik-e2e-window-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    // The "Language_ID" of entry index of the shipped Language.config, or -1.
    static int LanguageId(int index) {
        std::ifstream in(kBinary + "/DefaultData/Language.config");
        Json::Value doc;
        Json::CharReaderBuilder builder;
        std::string errors;
        if (!in || !Json::parseFromStream(builder, in, &doc, &errors)) return -1;
        const Json::Value& list = doc["Language"];
        if (!list.isArray() || static_cast<int>(list.size()) <= index) return -1;
        return list[index]["Language_ID"].asInt();
    }

    os::testing::PrivateSessionBus privateBus_;
    std::string dir_;
};

TEST_F(MainWindowE2E, ScreenshotsInEnglishAndChineseAt96And144Dpi) {
    ASSERT_GE(LanguageId(1), 0) << "no shipped Language.config";
    const std::string out = kBinary + "/screenshots";
    std::filesystem::create_directories(out);
    struct Shot {
        const char* language;
        int index;
        int dpi;
    } shots[] = {{"en", 1, 96}, {"en", 1, 144}, {"zh", 0, 96}, {"zh", 0, 144}};
    for (const Shot& s : shots) {
        const int id = LanguageId(s.index);
        if (id < 0) {
            ADD_FAILURE() << "no Language.config entry " << s.index;
            continue;
        }
        os::SettingsStore store(dir_ + "/config/Brasvik M402/settings.ini");
        ASSERT_TRUE(store.SetDword("SOFTWARE\\Brasvik M402", "LANGUAGE", id));
        const std::string png = out + "/main_" + s.language + "_" + std::to_string(s.dpi) + ".png";
        std::filesystem::remove(png);
        const ScriptRun run = RunScript(dir_,
                                        "# the main window as it comes up\n"
                                        "window MainWnd\n"
                                        "wait 700\n"
                                        "expect-visible closebtn yes\n"
                                        "screenshot " +
                                            png +
                                            "\n"
                                            "quit\n",
                                        {"BRASVIK_DPI=" + std::to_string(s.dpi)});
        EXPECT_EQ(run.exitCode, 0) << s.language << " " << s.dpi << ":\n" << run.err;
        const auto [w, h] = PngSize(png);
        EXPECT_EQ(w, 1000u * s.dpi / 96) << png;
        EXPECT_EQ(h, 640u * s.dpi / 96) << png;
    }
    // The two languages read differently.
    std::string en, zh;
    os::ReadWholeFile(out + "/main_en_96.png", en);
    os::ReadWholeFile(out + "/main_zh_96.png", zh);
    EXPECT_NE(en, zh);
}

TEST_F(MainWindowE2E, CloseHidesTheWindowAndTheProgramRunsOnUntilTheScriptEnds) {
    // A notification area to hide to: without one the window is minimised instead (see the
    // main window's unit tests). Every device that arrives brings the window to the front: the
    // demo's four come first.
    os::testing::TrayWatcher watcher;
    const ScriptRun run = RunScript(dir_,
                                    "wait-visible device_item[3] yes\n"
                                    "wait 500\n"
                                    "click closebtn\n"
                                    "expect-visible MainWnd no\n"
                                    "wait 500\n"
                                    "expect-visible MainWnd no\n"
                                    "expect-visible root yes\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(watcher.Registered().empty());
}

TEST_F(MainWindowE2E, SkinButtonOpensTheSkinWindowWhosePictureRestylesTheMainWindow) {
    const std::string out = kBinary + "/screenshots";
    std::filesystem::create_directories(out);
    const ScriptRun run = RunScript(dir_,
                                    "click skinbtn\n"
                                    "window SkinFrame\n"
                                    "screenshot " +
                                        out +
                                        "/skin_frame.png\n"
                                        "click skin_image_btn\n"
                                        "window MainWnd\n"
                                        "wait 100\n"
                                        "screenshot " +
                                        out + "/main_skin_picture.png\n",
                                    {"BRASVIK_DPI=96"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::string ini;
    os::ReadWholeFile(dir_ + "/data/Brasvik M402/main.ini", ini);
    EXPECT_NE(ini.find("skinimage/skin_1.png"), std::string::npos) << ini;
    EXPECT_EQ(PngSize(out + "/main_skin_picture.png").first, 1000u);
}

TEST_F(MainWindowE2E, AFailingStepEndsTheProgramNamingItsLine) {
    const ScriptRun run = RunScript(dir_,
                                    "# line 1\n"
                                    "wait 10\n"
                                    "click no_such_button\n"
                                    "quit\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("line 3: click no_such_button: no control named 'no_such_button'"),
              std::string::npos)
        << run.err;
    // A script that is not one ends the program before it starts.
    const ScriptRun bad = RunScript(dir_, "clik closebtn\n");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("line 1: unknown step 'clik'"), std::string::npos) << bad.err;
}

}  // namespace
