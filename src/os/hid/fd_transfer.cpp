#include "os/hid/fd_transfer.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "os/hid/hid_types.h"

namespace os::hid {

namespace {
// The pause before a refused (busy) write is tried again.
constexpr int kBusyPauseMs = 1;
}  // namespace

uint32_t ErrnoToError(int e) {
    switch (e) {
        case ENOENT:
            return kErrorFileNotFound;
        case EACCES:
        case EPERM:
            return kErrorAccessDenied;
        case ENODEV:
        case ENXIO:
        case EIO:
        case ESHUTDOWN:
            return kErrorDeviceNotConnected;
        case EINVAL:
            return kErrorInvalidParameter;
        default:
            return kErrorGenFailure;
    }
}

uint32_t WaitReady(int fd, short events, int64_t deadline, Event& closed, Event* abort) {
    for (;;) {
        pollfd fds[3] = {{fd, events, 0}, {closed.fd(), POLLIN, 0}, {-1, POLLIN, 0}};
        if (abort) fds[2].fd = abort->fd();
        int wait = -1;
        if (deadline >= 0) wait = static_cast<int>(std::max<int64_t>(0, deadline - MonotonicMs()));
        const int n = ::poll(fds, 3, wait);
        if (n < 0) {
            if (errno == EINTR) continue;
            return kErrorBadCommand;
        }
        if (n == 0) return kErrorTimeout;
        if ((fds[2].revents & POLLIN) && abort->Consume()) return kErrorOperationAborted;
        if (fds[1].revents & POLLIN) return kErrorOperationAborted;
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return kErrorDeviceNotConnected;
        if (fds[0].revents & events) return kErrorSuccess;
    }
}

uint32_t WriteReport(int fd, const uint8_t* report, uint32_t length, int64_t deadline,
                     Event& closed, Event* abort) {
    for (;;) {
        if (uint32_t e = WaitReady(fd, POLLOUT, deadline, closed, abort); e != kErrorSuccess)
            return e;
        const ssize_t put = ::write(fd, report, length);
        if (put >= 0)
            return static_cast<uint32_t>(put) == length ? kErrorSuccess : kErrorGenFailure;
        if (errno == EINTR) continue;
        if (errno != EAGAIN) return ErrnoToError(errno);
        // Busy although it polled ready: poll cannot be trusted to wait here, so pause (still
        // woken by a close or an abort) and try again while the deadline allows.
        const int64_t now = MonotonicMs();
        if (deadline >= 0 && now >= deadline) return kErrorTimeout;
        const int pause = deadline < 0
                              ? kBusyPauseMs
                              : static_cast<int>(std::min<int64_t>(kBusyPauseMs, deadline - now));
        pollfd fds[2] = {{closed.fd(), POLLIN, 0}, {abort ? abort->fd() : -1, POLLIN, 0}};
        if (::poll(fds, 2, pause) > 0) {
            if ((fds[1].revents & POLLIN) && abort->Consume()) return kErrorOperationAborted;
            if (fds[0].revents & POLLIN) return kErrorOperationAborted;
        }
    }
}

}  // namespace os::hid
