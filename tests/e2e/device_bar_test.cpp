// The device bar of the real program in demo mode: brasvik-sim plugs, unplugs, unlinks and
// drains the simulated devices while a --script watches the main window. The script marks where
// it is by writing a screenshot; the test runs the next brasvik-sim command once it is there.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "os/atomic_file.h"
#include "os/event.h"
#include "os/testing/private_session_bus.h"
#include "sim_command.h"

extern char** environ;

namespace {

const std::string kBinary = BRASVIK_BINARY_DIR;

using e2e::Sim;

class DeviceBarE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!privateBus_.ok()) GTEST_SKIP() << "no private session bus: " << privateBus_.error();
        char tmpl[] = "/tmp/brasvik-e2e-bar-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
    }
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    // Starts the program with the demo kinds and the script.
    void Start(const std::string& kinds, const std::string& script) {
        const std::string file = dir_ + "/run.script";
        std::ofstream(file) << script;
        errFile_ = dir_ + "/run.err";
        const std::string exe = kBinary + "/brasvik-m402";
        const std::string demo = "--demo=" + kinds;
        char* argv[] = {const_cast<char*>(exe.c_str()),  const_cast<char*>(demo.c_str()),
                        const_cast<char*>("--headless"), const_cast<char*>("--script"),
                        const_cast<char*>(file.c_str()), nullptr};
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        if (::posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&fa);
    }
    // The marker the script writes when it reaches `name`; false when the program ended first.
    bool AwaitMark(const std::string& name) {
        for (int waited = 0; waited < 60000; waited += 50) {
            if (std::filesystem::exists(Mark(name))) return true;
            if (Ended()) return false;
            os::SleepMs(50);
        }
        return false;
    }
    std::string Mark(const std::string& name) const { return dir_ + "/" + name + ".png"; }
    void RunSim(const std::string& args) {
        std::string out;
        EXPECT_EQ(Sim(args, &out), 0) << args << ": " << out;
    }
    bool Ended() {
        int status = 0;
        if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            pid_ = -1;
        }
        return pid_ <= 0;
    }
    int Wait() {
        for (int waited = 0; waited < 120000 && !Ended(); waited += 20) os::SleepMs(20);
        return exit_;
    }
    std::string Err() const {
        std::string err;
        os::ReadWholeFile(errFile_, err);
        return err;
    }

    os::testing::PrivateSessionBus privateBus_;
    std::string dir_;
    std::string errFile_;
    pid_t pid_ = -1;
    int exit_ = -1;
};

TEST_F(DeviceBarE2E, UnpluggingAndReplugging) {
    // Items: 0 keyboard, 1 mouse, 2 mouse pad, 3 headset.
    Start("kb,ms,pad,hs",
          "window MainWnd\n"
          "wait-visible device_item[3] yes\n"
          "expect-visible device_item[0] yes\n"
          "expect-visible device_item[1] yes\n"
          "expect-visible device_item[2] yes\n"
          "expect-visible No_device_Link no\n"
          "click device_select[1]\n"
          "expect-visible device_power_value[1] yes\n"
          "screenshot " +
              Mark("four") +
              "\n"
              "wait-visible device_item[1] no\n"
              // The selection moved to the keyboard: its power display shows.
              "expect-visible device_power_value[0] yes\n"
              "expect-visible device_power_value[1] no\n"
              "screenshot " +
              Mark("mouse_gone") +
              "\n"
              "wait-visible No_device_Link yes\n"
              "screenshot " +
              Mark("none") +
              "\n"
              "wait-visible device_item[1] yes\n"
              "wait-visible device_item[3] yes\n"
              "expect-visible No_device_Link no\n"
              "wait-text device_power_value[1] 15%\n"
              "quit\n");
    ASSERT_TRUE(AwaitMark("four")) << Err();
    RunSim("unplug mouse");
    ASSERT_TRUE(AwaitMark("mouse_gone")) << Err();
    for (const char* kind : {"keyboard", "pad", "headset"}) RunSim(std::string("unplug ") + kind);
    ASSERT_TRUE(AwaitMark("none")) << Err();
    for (const char* kind : {"keyboard", "mouse", "pad", "headset"})
        RunSim(std::string("plug ") + kind);
    RunSim("battery mouse 15 battery");
    EXPECT_EQ(Wait(), 0) << Err();
}

TEST_F(DeviceBarE2E, UnlinkingAPartnerBehindTheReceiverHidesItsItem) {
    Start("rx",
          "window MainWnd\n"
          "wait-visible device_item[0] yes\n"
          "screenshot " +
              Mark("linked") +
              "\n"
              "wait-visible device_item[0] no\n"
              "screenshot " +
              Mark("unlinked") +
              "\n"
              "wait-visible device_item[0] yes\n"
              "quit\n");
    ASSERT_TRUE(AwaitMark("linked")) << Err();
    RunSim("unlink keyboard");
    ASSERT_TRUE(AwaitMark("unlinked")) << Err();
    RunSim("link keyboard");
    EXPECT_EQ(Wait(), 0) << Err();
}

TEST_F(DeviceBarE2E, UnlinkingTheMouseBehindTheReceiverHidesItsItem) {
    Start("rx",
          "window MainWnd\n"
          "wait-visible device_item[0] yes\n"
          "wait-visible device_item[1] yes\n"
          "screenshot " +
              Mark("linked") +
              "\n"
              "wait-visible device_item[1] no\n"
              "screenshot " +
              Mark("unlinked") +
              "\n"
              "wait-visible device_item[1] yes\n"
              "quit\n");
    ASSERT_TRUE(AwaitMark("linked")) << Err();
    RunSim("unlink mouse");
    ASSERT_TRUE(AwaitMark("unlinked")) << Err();
    RunSim("link mouse");
    EXPECT_EQ(Wait(), 0) << Err();
}

}  // namespace
