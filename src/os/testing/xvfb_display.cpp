#include "os/testing/xvfb_display.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "os/event.h"

extern char** environ;

namespace os::testing {

XvfbDisplay::XvfbDisplay(int width, int height) {
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    for (int n = 90 + (::getpid() % 50); n < 400 && name_.empty(); n += 7) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
        struct stat st;
        if (::stat(socket.c_str(), &st) == 0 || ::stat(lock.c_str(), &st) == 0) continue;
        const std::string display = ":" + std::to_string(n);
        std::vector<char*> argv = {
            const_cast<char*>("Xvfb"),         const_cast<char*>(display.c_str()),
            const_cast<char*>("-screen"),      const_cast<char*>("0"),
            const_cast<char*>(screen.c_str()), const_cast<char*>("-nolisten"),
            const_cast<char*>("tcp"),          nullptr};
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        const int r = ::posix_spawnp(&pid, "Xvfb", &fa, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&fa);
        if (r != 0) {
            error_ = std::string("cannot start Xvfb: ") + std::strerror(r);
            return;
        }
        // Ready once its socket exists; give up on this number if it exits first.
        for (int i = 0; i < 500; ++i) {
            if (::stat(socket.c_str(), &st) == 0) {
                pid_ = pid;
                name_ = display;
                break;
            }
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid) break;
            SleepMs(10);
        }
        if (name_.empty()) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    if (name_.empty()) {
        if (error_.empty()) error_ = "no Xvfb display came up";
        return;
    }
    if (const char* prev = std::getenv("DISPLAY")) {
        hadPrevious_ = true;
        previous_ = prev;
    }
    ::setenv("DISPLAY", name_.c_str(), 1);
}

XvfbDisplay::~XvfbDisplay() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    if (hadPrevious_)
        ::setenv("DISPLAY", previous_.c_str(), 1);
    else if (!name_.empty())
        ::unsetenv("DISPLAY");
}

}  // namespace os::testing
