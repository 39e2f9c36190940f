#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace os {

// A worker thread that is joined with a time-out.
//
// A thread cannot be killed safely in C++ (it may hold a lock or be inside the C library). Where
// the system terminates a worker that did not stop in time, this layer abandons it instead: the
// thread is detached, everything its function captured stays alive until it returns (the function
// object is owned by the thread itself), and the process exit does not wait for it (see
// ExitProcess). Workers therefore capture what they use by shared ownership or by value, never by
// reference to objects that the shutdown destroys.
class WorkerThread {
  public:
    WorkerThread() = default;
    ~WorkerThread();  // abandons a thread that is still running
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts fn on a new thread; false when a thread is already held or cannot be created.
    bool Start(std::function<void()> fn);

    // Waits up to timeoutMs (kInfinite: for ever) for the thread to end. Returns kWaitObject0
    // when it ended (and is joined), kWaitTimeout when it is still running, kWaitFailed when no
    // thread is held.
    uint32_t Join(int timeoutMs);

    // Lets go of a thread that did not end: it is detached and counted as abandoned.
    void Abandon();

    bool HasThread() const { return state_ != nullptr; }
    bool Finished() const;

    // Threads abandoned while still running and not yet ended.
    static int AbandonedRunning();

    struct State;

  private:
    std::shared_ptr<State> state_;
};

// Ends the process with code. When abandoned workers are still running, the C++ exit sequence
// (static destructors) would race them, so the process ends at once after flushing the standard
// streams; otherwise it returns normally to the caller, which returns from main.
void ExitProcessIfAbandoned(int code);

}  // namespace os
