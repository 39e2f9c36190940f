#include "device/preview_ticker.h"

#include <algorithm>
#include <chrono>

#include "os/event.h"

namespace device {

PreviewTicker::~PreviewTicker() {
    std::lock_guard<std::mutex> life(lifeLock_);
    {
        std::lock_guard<std::mutex> lock(lock_);
        entries_.clear();
        stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

PreviewTicker& PreviewTicker::Shared() {
    static PreviewTicker ticker;
    return ticker;
}

PreviewTicker::Entry* PreviewTicker::Find(const PreviewClient* client) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.client == client; });
    return it == entries_.end() ? nullptr : &*it;
}

void PreviewTicker::Add(PreviewClient* client, int64_t firstTurnMs) {
    std::lock_guard<std::mutex> life(lifeLock_);
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (Entry* e = Find(client)) {
            e->due = firstTurnMs;
            e->woken = false;
        } else {
            entries_.push_back({client, firstTurnMs, false});
        }
        stop_ = false;
    }
    changed_.notify_all();
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void PreviewTicker::Remove(PreviewClient* client) {
    std::lock_guard<std::mutex> life(lifeLock_);
    bool last = false;
    {
        std::unique_lock<std::mutex> lock(lock_);
        turnDone_.wait(lock, [&] { return serving_ != client; });
        std::erase_if(entries_, [&](const Entry& e) { return e.client == client; });
        last = entries_.empty();
        if (last) stop_ = true;
    }
    if (!last) return;
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void PreviewTicker::Wake(PreviewClient* client) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        Entry* e = Find(client);
        if (e == nullptr) return;
        e->woken = true;
    }
    changed_.notify_all();
}

bool PreviewTicker::Has(const PreviewClient* client) const {
    std::lock_guard<std::mutex> lock(lock_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.client == client; });
}

bool PreviewTicker::Running() const {
    std::lock_guard<std::mutex> lock(lock_);
    return !stop_ && !entries_.empty();
}

void PreviewTicker::Run() {
    std::unique_lock<std::mutex> lock(lock_);
    while (!stop_) {
        int64_t next = PreviewClient::kNever;
        for (const Entry& e : entries_) next = std::min(next, e.woken ? 0 : e.due);
        const int64_t now = os::MonotonicMs();
        if (next == PreviewClient::kNever) {
            changed_.wait(lock);
            continue;
        }
        if (next > now) {
            // Whole milliseconds, as the clients count them: after the wait the clock has
            // reached the turn.
            changed_.wait_for(lock, std::chrono::milliseconds(next - now));
            continue;
        }
        due_.clear();
        for (const Entry& e : entries_)
            if (e.woken || e.due <= now) due_.push_back(e.client);
        for (PreviewClient* client : due_) {
            Entry* e = Find(client);
            if (e == nullptr || stop_) continue;  // removed while another turn ran
            const bool woken = e->woken;
            e->woken = false;
            serving_ = client;
            lock.unlock();
            const int64_t turnNow = os::MonotonicMs();
            const int64_t nextTurn = client->PreviewTurn(turnNow, woken);
            lock.lock();
            serving_ = nullptr;
            if (Entry* again = Find(client)) again->due = nextTurn;
            turnDone_.notify_all();
        }
    }
}

}  // namespace device
