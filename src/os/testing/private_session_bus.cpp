#include "os/testing/private_session_bus.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace os::testing {

PrivateSessionBus::PrivateSessionBus() {
    int fds[2];
    if (::pipe(fds) != 0) {
        error_ = "pipe failed";
        return;
    }
    const std::string printFd = "--print-address=" + std::to_string(fds[1]);
    std::vector<char*> argv = {const_cast<char*>("dbus-daemon"),   const_cast<char*>("--session"),
                               const_cast<char*>("--nofork"),      const_cast<char*>("--nopidfile"),
                               const_cast<char*>(printFd.c_str()), nullptr};
    // Its own complaints (resource limits it may not raise here) would only clutter test output.
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int r = ::posix_spawnp(&pid, "dbus-daemon", &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    ::close(fds[1]);
    if (r != 0) {
        ::close(fds[0]);
        error_ = std::string("cannot start dbus-daemon: ") + std::strerror(r);
        return;
    }
    pid_ = pid;
    std::string line;
    pollfd p{fds[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&p, 1, 10000) == 1) {
        char buf[512];
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        line.append(buf, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    const size_t nl = line.find('\n');
    if (nl == std::string::npos) {
        error_ = "dbus-daemon printed no address";
        return;
    }
    address_ = line.substr(0, nl);
    if (const char* prev = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        hadPrevious_ = true;
        previous_ = prev;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

PrivateSessionBus::~PrivateSessionBus() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    if (hadPrevious_)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", previous_.c_str(), 1);
    else if (!address_.empty())
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace os::testing
