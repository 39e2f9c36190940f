#pragma once

#include <array>
#include <functional>
#include <memory>

#include "os/event.h"
#include "os/messages.h"
#include "os/worker_context.h"
#include "os/worker_thread.h"

namespace app {

using os::WorkerContext;

// The main window's twenty worker slots: slot 0 the device scan thread, slot 8 the lighting
// synchronisation thread; the rest are free.
class WorkerTable {
  public:
    static constexpr int kSlots = 20;
    static constexpr int kStopTimeoutMs = 1000;
    static constexpr int kStopPollMs = 10;

    WorkerTable() = default;
    ~WorkerTable();

    // Creates the twenty stop events and contexts for owner (once).
    void CreateSlots(os::HWND owner);
    bool HasSlots() const { return contexts_[0] != nullptr; }

    // Starts fn on a new thread in slot; false when the slot is taken or the thread cannot start.
    bool Start(int slot, std::function<void(std::shared_ptr<WorkerContext>)> fn);
    bool Running(int slot) const;
    std::shared_ptr<WorkerContext> Context(int slot) const;

    // The shutdown order: set every stop event, then wait for each slot's thread up to one second,
    // writing the outcome of each wait to the debug output; a thread that does not end in time is
    // abandoned. Then every slot is emptied. Messages sent to this thread's windows meanwhile are
    // answered, so that a worker blocked in a send can end.
    void StopAll();

  private:
    std::array<std::shared_ptr<WorkerContext>, kSlots> contexts_;
    std::array<os::WorkerThread, kSlots> threads_;
};

}  // namespace app
