#pragma once

#include <memory>

#include "os/event.h"
#include "os/messages.h"

namespace os {

// What each worker thread of a window is handed: the window it reports to and its stop event.
// The worker owns a share of it, so an abandoned worker never touches freed memory.
struct WorkerContext {
    HWND owner = 0;
    std::shared_ptr<Event> stopEvent;

    // The workers' stop check: true once the stop event is set (waits up to ms for it).
    bool StopRequested(int ms = 1) const { return stopEvent->Wait(ms) != kWaitTimeout; }
};

}  // namespace os
