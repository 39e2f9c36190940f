#include "os/event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

namespace os {

// The eventfd counter is non-zero while the event is set and zero while it is reset: Set adds
// one, and a read (Reset, or the wait that consumes an auto-reset event) takes the whole count.
Event::Event(bool manualReset, bool initiallySet)
    : fd_(::eventfd(initiallySet ? 1 : 0, EFD_CLOEXEC | EFD_NONBLOCK)), manualReset_(manualReset) {}

Event::~Event() {
    if (fd_ >= 0) ::close(fd_);
}

void Event::Set() {
    const uint64_t v = 1;
    while (::write(fd_, &v, sizeof v) < 0 && errno == EINTR) {
    }
}

void Event::Reset() {
    uint64_t v = 0;
    while (::read(fd_, &v, sizeof v) < 0 && errno == EINTR) {
    }
}

bool Event::IsSet() const {
    pollfd p{fd_, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

bool Event::Consume() {
    if (manualReset_) return IsSet();
    uint64_t v = 0;
    for (;;) {
        if (::read(fd_, &v, sizeof v) == sizeof v) return true;
        if (errno != EINTR) return false;
    }
}

uint32_t Event::Wait(int timeoutMs) {
    Event* self = this;
    return WaitForAny(std::span<Event* const>(&self, 1), timeoutMs);
}

int64_t MonotonicMs() {
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

void SleepMs(int ms) {
    if (ms <= 0) return;
    timespec ts{ms / 1000, (ms % 1000) * 1000000L};
    while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

uint32_t WaitForAny(std::span<Event* const> events, int timeoutMs) {
    if (events.empty() || events.size() > 64) return kWaitFailed;
    std::vector<pollfd> fds(events.size());
    for (size_t i = 0; i < events.size(); ++i) fds[i] = {events[i]->fd(), POLLIN, 0};
    const int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
    for (;;) {
        int wait = -1;
        if (deadline >= 0) wait = static_cast<int>(std::max<int64_t>(0, deadline - MonotonicMs()));
        const int n = ::poll(fds.data(), fds.size(), wait);
        if (n < 0 && errno != EINTR) return kWaitFailed;
        if (n > 0) {
            for (size_t i = 0; i < fds.size(); ++i) {
                if ((fds[i].revents & POLLIN) && events[i]->Consume())
                    return kWaitObject0 + static_cast<uint32_t>(i);
            }
        }
        if (deadline >= 0 && MonotonicMs() >= deadline) return kWaitTimeout;
    }
}

}  // namespace os
