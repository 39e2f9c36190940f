#pragma once

#include <cstdint>

#include "os/event.h"

namespace os::hid {

// Transfers on a non-blocking device descriptor, for the backends that have one. deadline is on
// the MonotonicMs clock (-1: none); closed is the handle's closed event; abort may be null.

// The last-error value for an errno of the device calls.
uint32_t ErrnoToError(int e);

// Waits until fd is ready for events (POLLIN or POLLOUT), the deadline passes (kErrorTimeout),
// the handle is closed or abort is signalled (kErrorOperationAborted). A hang-up is a disconnect.
uint32_t WaitReady(int fd, short events, int64_t deadline, Event& closed, Event* abort);

// Writes one report whole. A descriptor may say it is ready and still refuse the write as busy
// (a hidraw node always polls writable): such a write is tried again after a short pause, and a
// report that has not gone by the deadline fails with kErrorTimeout.
uint32_t WriteReport(int fd, const uint8_t* report, uint32_t length, int64_t deadline,
                     Event& closed, Event* abort);

}  // namespace os::hid
