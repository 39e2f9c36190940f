// Two real processes of the program on a private session bus: the second start wakes the first
// and ends; the first ends through its shutdown order on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "os/atomic_file.h"
#include "os/event.h"
#include "os/message_loop.h"
#include "os/session_bus.h"
#include "os/testing/private_session_bus.h"

extern char** environ;

namespace {

class Program {
  public:
    Program(const std::string& errFile) {
        const std::string exe = std::string(BRASVIK_BINARY_DIR) + "/brasvik-m402";
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        char* argv[] = {const_cast<char*>(exe.c_str()), const_cast<char*>("--headless"), nullptr};
        ok_ = ::posix_spawn(&pid_, exe.c_str(), &fa, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&fa);
    }
    ~Program() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            Wait(10000);
        }
    }
    bool ok() const { return ok_; }
    pid_t pid() const { return pid_; }
    // The exit code, or -1 when it did not end within ms.
    int Wait(int ms) {
        for (int waited = 0; waited <= ms; waited += 10) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            os::SleepMs(10);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    bool ok_ = false;
    bool exited_ = false;
};

std::string Read(const std::string& path) {
    std::string s;
    os::ReadWholeFile(path, s);
    return s;
}

bool WaitFor(const std::string& path, const std::string& text, int ms) {
    for (int waited = 0; waited <= ms; waited += 20) {
        if (Read(path).find(text) != std::string::npos) return true;
        os::SleepMs(20);
    }
    return false;
}

TEST(SingleInstance, SecondStartWakesTheFirstAndExitsZero) {
    os::testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    char tmpl[] = "/tmp/brasvik-e2e-XXXXXX";
    const std::string dir = ::mkdtemp(tmpl);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ::setenv("BRASVIK_DEBUG", "1", 1);

    Program first(dir + "/first.err");
    ASSERT_TRUE(first.ok());
    // Wait until the first instance's main window can be found on the bus.
    std::string peer;
    {
        os::MessageLoop loop;
        os::SessionBus probe;
        ASSERT_TRUE(probe.Connect(loop));
        os::SessionBus::RemoteWindow w;
        for (int i = 0; i < 500 && !w; ++i) {
            w = probe.FindWindow("MainWnd", "Brasvik M402");
            if (!w) os::SleepMs(20);
        }
        ASSERT_TRUE(w) << Read(dir + "/first.err");
        peer = w.peer;
    }
    // Calls and broadcasts it cannot take are dropped with a debug line, and it lives on.
    const std::string send = "dbus-send --session --print-reply --dest=" + peer +
                             " /org/brasvik/M402 org.brasvik.M402.Messages.";
    EXPECT_NE(std::system((send + "Send uint32:1 string:NoSuchMessage uint64:0 int64:0 "
                                  ">/dev/null 2>&1")
                              .c_str()),
              0);
    EXPECT_NE(std::system((send + "CopyData string:malformed >/dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(std::system("dbus-send --session --type=signal /org/brasvik/M402 "
                          "org.brasvik.M402.Messages.Broadcast string:NoSuchMessage uint64:0 "
                          "int64:0"),
              0);
    EXPECT_TRUE(WaitFor(dir + "/first.err", "broadcast of unknown message", 20000))
        << Read(dir + "/first.err");
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/data/Brasvik M402"));

    Program second(dir + "/second.err");
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.Wait(20000), 0);
    // The first writes its wake-up text with wParam 0 and lParam 1.
    EXPECT_TRUE(WaitFor(dir + "/first.err", "，0d1d", 20000)) << Read(dir + "/first.err");

    ::kill(first.pid(), SIGTERM);
    EXPECT_EQ(first.Wait(30000), 0);
    const std::string out = Read(dir + "/first.err");
    EXPECT_NE(out.find("退出测试"), std::string::npos) << out;
    EXPECT_NE(out.find("错误\n19"), std::string::npos) << out;

    ::unsetenv("BRASVIK_DEBUG");
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(dir);
}

}  // namespace
