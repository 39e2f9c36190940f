#include "app/worker_table.h"

#include <algorithm>
#include <string>

#include "os/debug_output.h"
#include "os/message_loop.h"

namespace app {

WorkerTable::~WorkerTable() {
    if (HasSlots()) StopAll();
}

void WorkerTable::CreateSlots(os::HWND owner) {
    if (HasSlots()) return;
    for (auto& c : contexts_) {
        c = std::make_shared<WorkerContext>();
        c->owner = owner;
        c->stopEvent = std::make_shared<os::Event>(true, false);
    }
}

bool WorkerTable::Start(int slot, std::function<void(std::shared_ptr<WorkerContext>)> fn) {
    if (slot < 0 || slot >= kSlots || !contexts_[slot] || threads_[slot].HasThread()) return false;
    std::shared_ptr<WorkerContext> ctx = contexts_[slot];
    return threads_[slot].Start([ctx, fn = std::move(fn)] { fn(ctx); });
}

bool WorkerTable::Running(int slot) const {
    return slot >= 0 && slot < kSlots && threads_[slot].HasThread() && !threads_[slot].Finished();
}

std::shared_ptr<WorkerContext> WorkerTable::Context(int slot) const {
    return slot >= 0 && slot < kSlots ? contexts_[slot] : nullptr;
}

void WorkerTable::StopAll() {
    for (auto& c : contexts_)
        if (c) c->stopEvent->Set();
    for (int i = 0; i < kSlots; ++i) {
        // A worker resets its stop event when it starts; one that had not started yet when the
        // event was set would clear the request and run on, so the event is set again while the
        // wait lasts. The wait stays within its second.
        const int64_t until = os::MonotonicMs() + kStopTimeoutMs;
        uint32_t r = os::kWaitTimeout;
        for (;;) {
            if (contexts_[i]) contexts_[i]->stopEvent->Set();
            // A worker blocked in a send to this thread's windows (the scan thread reporting an
            // arrival) can only see its stop request once the send is answered.
            os::ServeSentMessages();
            const int64_t left = until - os::MonotonicMs();
            r = threads_[i].Join(static_cast<int>(std::clamp<int64_t>(left, 0, kStopPollMs)));
            if (r != os::kWaitTimeout || left <= kStopPollMs) break;
        }
        if (r == os::kWaitObject0) {
            os::DebugOutput("所有对象处于激发状态\n");
        } else if (r == os::kWaitTimeout) {
            os::DebugOutput("所有对象处于非激发状态，超时\n");
            // Where a thread would be terminated, it is let go: it keeps its context alive.
            threads_[i].Abandon();
        } else {
            os::DebugOutput("错误\n");
            os::DebugOutput(std::to_string(i));
        }
    }
    for (auto& c : contexts_) c.reset();
}

}  // namespace app
