// The real program in demo mode, driven by brasvik-sim on a private session bus: the demo
// devices are plugged at start, answer the control program, and keep their memory across a
// restart of the program.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "os/event.h"
#include "os/testing/private_session_bus.h"
#include "sim_command.h"

extern char** environ;

namespace {

using e2e::Sim;

// Starts brasvik-m402 --headless with the demo option; ends it with SIGTERM and returns its exit
// code (-1 when it did not end in time).
class DemoProgram {
  public:
    explicit DemoProgram(const std::string& demoOption) {
        const std::string exe = std::string(BRASVIK_BINARY_DIR) + "/brasvik-m402";
        char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>("--headless"),
                        const_cast<char*>(demoOption.c_str()), nullptr};
        if (::posix_spawn(&pid_, exe.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = -1;
    }
    ~DemoProgram() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool ok() const { return pid_ > 0; }
    // Waits until brasvik-sim reaches the demo.
    bool WaitReady(std::string* status) {
        for (int i = 0; i < 200; ++i) {
            if (Sim("status", status) == 0) return true;
            os::SleepMs(100);
        }
        return false;
    }
    int Stop() {
        ::kill(pid_, SIGTERM);
        for (int waited = 0; waited < 30000; waited += 20) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            os::SleepMs(20);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
};

TEST(DemoMode, BrasvikSimDrivesTheDemoAndItsMemoryOutlivesARestart) {
    os::testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    char tmpl[] = "/tmp/brasvik-e2e-demo-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    std::string out;

    {
        DemoProgram program("--demo=ms,rx");
        ASSERT_TRUE(program.ok());
        ASSERT_TRUE(program.WaitReady(&out)) << out;
        EXPECT_NE(out.find("mouse: plugged"), std::string::npos) << out;
        EXPECT_NE(out.find("receiver: plugged, 0 frames, keyboard linked, mouse linked"),
                  std::string::npos)
            << out;
        EXPECT_NE(out.find("keyboard: unplugged"), std::string::npos) << out;
        // The mouse switches itself to profile 3, DPI stage 2.
        EXPECT_EQ(Sim("event mouse 0x1123", &out), 0) << out;
        EXPECT_EQ(Sim("battery mouse 150 battery", &out), 0) << out;
        EXPECT_NE(Sim("link headset", &out), 0) << out;
        EXPECT_EQ(program.Stop(), 0);
    }
    EXPECT_TRUE(std::filesystem::exists(dir + "/data/Brasvik M402/Demo/mouse.bin"));
    EXPECT_NE(Sim("status", &out), 0) << out;  // nobody running

    {
        DemoProgram program("--demo=ms");
        ASSERT_TRUE(program.ok());
        ASSERT_TRUE(program.WaitReady(&out)) << out;
        EXPECT_EQ(Sim("dump mouse settings", &out), 0) << out;
        EXPECT_NE(out.find("\n0000: 03 "), std::string::npos) << out;
        EXPECT_EQ(program.Stop(), 0);
    }

    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(dir);
}

}  // namespace
