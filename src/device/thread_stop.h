#pragma once

#include <cstdint>

#include "os/event.h"
#include "os/worker_thread.h"

namespace device {

// What to do with a thread that has not ended when the stop wait runs out.
enum class StopOverrun {
    // It uses only what it shares with its owner: let it go; it ends on its own later.
    kAbandon,
    // It works on its owner's memory: keep waiting, since letting it go would leave it running on
    // freed memory.
    kWaitForEnd,
};

// Signals stop, waits up to timeoutMs for the worker and writes the stop text for the wait
// result to the debugger output. Returns the wait result (kWaitObject0 when the thread ended in
// time). Nothing is done for a worker that holds no thread.
uint32_t StopWorker(os::WorkerThread& worker, os::Event& stop, int timeoutMs, StopOverrun overrun);

}  // namespace device
