#include "os/worker_thread.h"

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "os/event.h"

namespace os {
namespace {
std::atomic<int> g_abandonedRunning{0};
}

struct WorkerThread::State {
    std::mutex m;
    std::condition_variable cv;
    bool finished = false;
    bool abandoned = false;
    std::thread thread;
};

WorkerThread::~WorkerThread() {
    if (state_) Abandon();
}

bool WorkerThread::Start(std::function<void()> fn) {
    if (state_) return false;
    auto st = std::make_shared<State>();
    try {
        // The thread holds its own reference to the state, so an abandoned thread outlives us.
        st->thread = std::thread([st, fn = std::move(fn)]() mutable {
            fn();
            fn = nullptr;  // release what the function captured before reporting the end
            std::lock_guard<std::mutex> lock(st->m);
            st->finished = true;
            if (st->abandoned) --g_abandonedRunning;
            st->cv.notify_all();
        });
    } catch (const std::system_error&) {
        return false;
    }
    state_ = std::move(st);
    return true;
}

uint32_t WorkerThread::Join(int timeoutMs) {
    if (!state_) return kWaitFailed;
    {
        std::unique_lock<std::mutex> lock(state_->m);
        if (timeoutMs < 0) {
            state_->cv.wait(lock, [&] { return state_->finished; });
        } else if (!state_->cv.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                        [&] { return state_->finished; })) {
            return kWaitTimeout;
        }
    }
    if (state_->thread.joinable()) state_->thread.join();
    state_.reset();
    return kWaitObject0;
}

bool WorkerThread::Finished() const {
    if (!state_) return true;
    std::lock_guard<std::mutex> lock(state_->m);
    return state_->finished;
}

void WorkerThread::Abandon() {
    if (!state_) return;
    {
        std::lock_guard<std::mutex> lock(state_->m);
        if (!state_->finished) {
            state_->abandoned = true;
            ++g_abandonedRunning;
        }
    }
    if (state_->thread.joinable()) {
        if (Finished())
            state_->thread.join();
        else
            state_->thread.detach();
    }
    state_.reset();
}

int WorkerThread::AbandonedRunning() {
    return g_abandonedRunning.load();
}

void ExitProcessIfAbandoned(int code) {
    if (g_abandonedRunning.load() == 0) return;
    std::fflush(nullptr);
    ::_exit(code);
}

}  // namespace os
