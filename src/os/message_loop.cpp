#include "os/message_loop.h"

#include <poll.h>
#include <strings.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "os/event.h"

namespace os {

namespace {

// A send from one thread to a target of another. The sender waits on its own waiter until done.
struct SendRecord;

// Where a thread waits while one of its sends is handled elsewhere. A thread with a loop uses the
// loop's waiter, so that sends to its own targets are served while it waits.
struct Waiter {
    std::mutex m;
    std::condition_variable cv;
    std::deque<std::shared_ptr<SendRecord>> incoming;  // sends to this thread's targets
    MessageLoop::Impl* loop = nullptr;
};

struct SendRecord {
    HWND hwnd;
    uint32_t msg;
    WPARAM w;
    LPARAM l;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<Waiter> sender;
};

struct Posted {
    HWND hwnd;
    uint32_t msg;
    WPARAM w;
    LPARAM l;
};

struct Timer {
    HWND hwnd;
    uintptr_t id;
    uint32_t period;
    int64_t due;
};

struct TargetEntry {
    MessageTarget* target;
    std::shared_ptr<MessageLoop::Impl> loop;
};

std::mutex g_targetsMutex;
std::unordered_map<HWND, TargetEntry> g_targets;
HWND g_nextHwnd = 0x10000;

thread_local std::shared_ptr<Waiter> t_waiter;
thread_local MessageLoop* t_loop = nullptr;
thread_local int t_inSend = 0;

std::shared_ptr<Waiter> CurrentWaiter() {
    if (!t_waiter) t_waiter = std::make_shared<Waiter>();
    return t_waiter;
}

void Complete(const std::shared_ptr<SendRecord>& rec, LRESULT result) {
    std::lock_guard<std::mutex> lock(rec->sender->m);
    rec->result = result;
    rec->done = true;
    rec->sender->cv.notify_all();
}

}  // namespace

struct MessageLoop::Impl {
    std::shared_ptr<Waiter> waiter;  // guards posted and tasks too (waiter->m)
    std::deque<Posted> posted;
    std::deque<std::function<void()>> tasks;
    int wakeFd = -1;
    std::thread::id thread;

    // Owner thread only.
    std::vector<Timer> timers;
    struct Watch {
        short events;
        std::shared_ptr<FdCallback> cb;
    };
    std::map<int, Watch> watches;
    std::atomic<bool> quit{false};
    std::atomic<int> exitCode{0};
    std::atomic<uint64_t> wakes{0};

    void Wake() {
        const uint64_t v = 1;
        while (::write(wakeFd, &v, sizeof v) < 0 && errno == EINTR) {
        }
    }

    void DrainWake() {
        uint64_t v;
        while (::read(wakeFd, &v, sizeof v) > 0) {
        }
    }

    static LRESULT Deliver(HWND hwnd, uint32_t msg, WPARAM w, LPARAM l, bool* found) {
        MessageTarget* t = nullptr;
        {
            std::lock_guard<std::mutex> lock(g_targetsMutex);
            auto it = g_targets.find(hwnd);
            if (it != g_targets.end()) t = it->second.target;
        }
        if (found) *found = t != nullptr;
        return t ? t->HandleMessage(msg, w, l) : 0;
    }

    // Serves one incoming send if there is one. The caller does not hold waiter->m.
    bool ServeOneSend() {
        std::shared_ptr<SendRecord> rec;
        {
            std::lock_guard<std::mutex> lock(waiter->m);
            if (waiter->incoming.empty()) return false;
            rec = std::move(waiter->incoming.front());
            waiter->incoming.pop_front();
        }
        ++t_inSend;
        const LRESULT r = Deliver(rec->hwnd, rec->msg, rec->w, rec->l, nullptr);
        --t_inSend;
        Complete(rec, r);
        return true;
    }

    // Serves what is due now: sends, then the posts and tasks queued before this turn, then due
    // timers. Returns whether anything ran.
    bool DispatchPending() {
        bool did = false;
        while (ServeOneSend()) did = true;

        std::deque<Posted> posts;
        std::deque<std::function<void()>> runs;
        {
            std::lock_guard<std::mutex> lock(waiter->m);
            posts.swap(posted);
            runs.swap(tasks);
        }
        for (const Posted& p : posts) {
            did = true;
            if (quit) break;
            Deliver(p.hwnd, p.msg, p.w, p.l, nullptr);
            while (ServeOneSend()) {
            }
        }
        for (auto& fn : runs) {
            did = true;
            if (quit) break;
            fn();
        }

        const int64_t now = MonotonicMs();
        std::vector<Timer> due;
        for (Timer& t : timers)
            if (t.due <= now) due.push_back(t);
        std::sort(due.begin(), due.end(),
                  [](const Timer& a, const Timer& b) { return a.due < b.due; });
        for (const Timer& d : due) {
            if (quit) break;
            // The timer may have been killed or restarted by an earlier handler of this turn.
            auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) {
                return t.hwnd == d.hwnd && t.id == d.id && t.due == d.due;
            });
            if (it == timers.end()) continue;
            it->due = MonotonicMs() + it->period;
            did = true;
            Deliver(d.hwnd, WM_TIMER, d.id, 0, nullptr);
        }
        return did;
    }

    int MsUntilNextTimer() const {
        if (timers.empty()) return -1;
        int64_t next = timers.front().due;
        for (const Timer& t : timers) next = std::min(next, t.due);
        return static_cast<int>(std::max<int64_t>(0, next - MonotonicMs()));
    }
};

MessageLoop::MessageLoop() : impl_(std::make_shared<Impl>()) {
    impl_->waiter = CurrentWaiter();
    impl_->waiter->loop = impl_.get();
    impl_->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    impl_->thread = std::this_thread::get_id();
    t_loop = this;
}

MessageLoop::~MessageLoop() {
    // Targets left on this loop go away; senders still waiting on them get 0.
    std::vector<HWND> mine;
    {
        std::lock_guard<std::mutex> lock(g_targetsMutex);
        for (auto& [h, e] : g_targets)
            if (e.loop == impl_) mine.push_back(h);
    }
    for (HWND h : mine) DestroyTarget(h);
    std::deque<std::shared_ptr<SendRecord>> left;
    {
        std::lock_guard<std::mutex> lock(impl_->waiter->m);
        left.swap(impl_->waiter->incoming);
        impl_->waiter->loop = nullptr;
    }
    for (auto& rec : left) Complete(rec, 0);
    ::close(impl_->wakeFd);
    if (t_loop == this) t_loop = nullptr;
}

MessageLoop* MessageLoop::Current() {
    return t_loop;
}

int MessageLoop::Run() {
    while (RunOnce(kInfinite)) {
    }
    return impl_->exitCode;
}

bool MessageLoop::RunUntil(const std::function<bool()>& done) {
    while (!done()) {
        if (!RunOnce(kInfinite)) return false;
    }
    return true;
}

bool MessageLoop::RunOnce(int timeoutMs) {
    Impl& d = *impl_;
    if (d.quit) return false;
    if (d.DispatchPending()) return !d.quit;

    int wait = d.MsUntilNextTimer();
    if (timeoutMs >= 0 && (wait < 0 || timeoutMs < wait)) wait = timeoutMs;

    std::vector<pollfd> fds;
    std::vector<std::shared_ptr<FdCallback>> cbs;
    fds.push_back({d.wakeFd, POLLIN, 0});
    for (auto& [fd, w] : d.watches) {
        fds.push_back({fd, w.events, 0});
        cbs.push_back(w.cb);
    }
    const int n = ::poll(fds.data(), fds.size(), wait);
    ++d.wakes;
    if (n > 0) {
        if (fds[0].revents) d.DrainWake();
        for (size_t i = 1; i < fds.size(); ++i) {
            if (fds[i].revents == 0) continue;
            // A callback may remove a later watch; only call watches still present.
            auto it = d.watches.find(fds[i].fd);
            if (it == d.watches.end() || it->second.cb != cbs[i - 1]) continue;
            (*cbs[i - 1])(fds[i].revents);
            if (d.quit) return false;
        }
    }
    d.DispatchPending();
    return !d.quit;
}

void MessageLoop::Quit(int exitCode) {
    impl_->exitCode = exitCode;
    impl_->quit = true;
    impl_->Wake();
}

bool MessageLoop::QuitRequested() const {
    return impl_->quit;
}
int MessageLoop::ExitCode() const {
    return impl_->exitCode;
}

void MessageLoop::WatchFd(int fd, short events, FdCallback cb) {
    impl_->watches[fd] = Impl::Watch{events, std::make_shared<FdCallback>(std::move(cb))};
}

void MessageLoop::UnwatchFd(int fd) {
    impl_->watches.erase(fd);
}

void MessageLoop::PostTask(std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> lock(impl_->waiter->m);
        impl_->tasks.push_back(std::move(fn));
    }
    impl_->Wake();
}

uint64_t MessageLoop::WakeCount() const {
    return impl_->wakes;
}

HWND CreateTarget(MessageTarget* target) {
    MessageLoop* loop = MessageLoop::Current();
    if (loop == nullptr || target == nullptr) return 0;
    std::lock_guard<std::mutex> lock(g_targetsMutex);
    const HWND h = g_nextHwnd++;
    g_targets[h] = TargetEntry{target, loop->impl()};
    return h;
}

namespace {

std::shared_ptr<MessageLoop::Impl> LoopOf(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_targetsMutex);
    auto it = g_targets.find(hwnd);
    return it == g_targets.end() ? nullptr : it->second.loop;
}

}  // namespace

void DestroyTarget(HWND hwnd) {
    std::shared_ptr<MessageLoop::Impl> loop;
    {
        std::lock_guard<std::mutex> lock(g_targetsMutex);
        auto it = g_targets.find(hwnd);
        if (it == g_targets.end()) return;
        loop = it->second.loop;
        g_targets.erase(it);
    }
    std::erase_if(loop->timers, [&](const Timer& t) { return t.hwnd == hwnd; });
    std::deque<std::shared_ptr<SendRecord>> orphaned;
    {
        std::lock_guard<std::mutex> lock(loop->waiter->m);
        std::erase_if(loop->posted, [&](const Posted& p) { return p.hwnd == hwnd; });
        auto& in = loop->waiter->incoming;
        for (auto it = in.begin(); it != in.end();) {
            if ((*it)->hwnd == hwnd) {
                orphaned.push_back(std::move(*it));
                it = in.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& rec : orphaned) Complete(rec, 0);
}

bool IsTarget(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_targetsMutex);
    return g_targets.count(hwnd) != 0;
}

bool PostMessage(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<MessageLoop::Impl> loop = LoopOf(hwnd);
    if (!loop) return false;
    {
        std::lock_guard<std::mutex> lock(loop->waiter->m);
        loop->posted.push_back(Posted{hwnd, msg, wParam, lParam});
    }
    loop->Wake();
    return true;
}

LRESULT SendMessage(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<MessageLoop::Impl> loop = LoopOf(hwnd);
    if (!loop) return 0;
    if (loop->thread == std::this_thread::get_id())
        return MessageLoop::Impl::Deliver(hwnd, msg, wParam, lParam, nullptr);

    auto rec = std::make_shared<SendRecord>();
    rec->hwnd = hwnd;
    rec->msg = msg;
    rec->w = wParam;
    rec->l = lParam;
    rec->sender = CurrentWaiter();
    {
        std::lock_guard<std::mutex> lock(loop->waiter->m);
        if (loop->waiter->loop == nullptr) return 0;  // the loop is ending
        loop->waiter->incoming.push_back(rec);
        loop->waiter->cv.notify_all();
    }
    loop->Wake();

    // Wait for the answer; meanwhile serve sends to this thread's own targets.
    Waiter& me = *rec->sender;
    std::unique_lock<std::mutex> lock(me.m);
    while (!rec->done) {
        if (!me.incoming.empty() && me.loop != nullptr) {
            MessageLoop::Impl* mine = me.loop;
            lock.unlock();
            mine->ServeOneSend();
            lock.lock();
            continue;
        }
        me.cv.wait(lock);
    }
    return rec->result;
}

int ServeSentMessages() {
    MessageLoop* loop = MessageLoop::Current();
    if (loop == nullptr) return 0;
    int n = 0;
    while (loop->impl()->ServeOneSend()) ++n;
    return n;
}

bool InSendMessage() {
    return t_inSend > 0;
}

uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t periodMs) {
    std::shared_ptr<MessageLoop::Impl> loop = LoopOf(hwnd);
    if (!loop || loop->thread != std::this_thread::get_id()) return 0;
    const int64_t due = MonotonicMs() + periodMs;
    for (Timer& t : loop->timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.period = periodMs;
            t.due = due;
            return id;
        }
    }
    loop->timers.push_back(Timer{hwnd, id, periodMs, due});
    return id;
}

bool KillTimer(HWND hwnd, uintptr_t id) {
    std::shared_ptr<MessageLoop::Impl> loop = LoopOf(hwnd);
    if (!loop || loop->thread != std::this_thread::get_id()) return false;
    return std::erase_if(loop->timers,
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; }) > 0;
}

void PostQuitMessage(int exitCode) {
    if (MessageLoop* loop = MessageLoop::Current()) loop->Quit(exitCode);
}

namespace {
std::mutex g_registeredMutex;
std::vector<std::string> g_registered;  // index + 0xC000 is the number
}  // namespace

uint32_t RegisterWindowMessage(const std::string& name) {
    if (name.empty()) return 0;
    std::lock_guard<std::mutex> lock(g_registeredMutex);
    // Names compare without regard to case, as registered message names do.
    for (size_t i = 0; i < g_registered.size(); ++i)
        if (::strcasecmp(g_registered[i].c_str(), name.c_str()) == 0)
            return kRegisteredMessageFirst + static_cast<uint32_t>(i);
    if (g_registered.size() > kRegisteredMessageLast - kRegisteredMessageFirst) return 0;
    g_registered.push_back(name);
    return kRegisteredMessageFirst + static_cast<uint32_t>(g_registered.size() - 1);
}

std::string RegisteredMessageName(uint32_t msg) {
    std::lock_guard<std::mutex> lock(g_registeredMutex);
    if (msg < kRegisteredMessageFirst) return "";
    const size_t i = msg - kRegisteredMessageFirst;
    return i < g_registered.size() ? g_registered[i] : "";
}

uint32_t FindRegisteredMessage(const std::string& name) {
    std::lock_guard<std::mutex> lock(g_registeredMutex);
    for (size_t i = 0; i < g_registered.size(); ++i)
        if (::strcasecmp(g_registered[i].c_str(), name.c_str()) == 0)
            return kRegisteredMessageFirst + static_cast<uint32_t>(i);
    return 0;
}

}  // namespace os
