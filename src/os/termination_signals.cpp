#include "os/termination_signals.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace os {

namespace {

sigset_t TerminationSet() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void BlockTerminationSignals() {
    const sigset_t set = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void WatchTerminationSignals(MessageLoop& loop, std::function<void(int)> onSignal) {
    const sigset_t set = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    const int fd = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd < 0) return;
    // The descriptor lives as long as the process.
    loop.WatchFd(fd, POLLIN, [fd, onSignal = std::move(onSignal)](short) {
        signalfd_siginfo info;
        while (::read(fd, &info, sizeof info) == sizeof info)
            onSignal(static_cast<int>(info.ssi_signo));
    });
}

}  // namespace os
