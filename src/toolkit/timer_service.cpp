#include "toolkit/timer_service.h"

#include <algorithm>

#include "os/message_loop.h"

namespace toolkit {

namespace {

struct VirtualTimer {
    os::HWND hwnd;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
};

bool g_virtual = false;
uint64_t g_now = 0;
std::vector<VirtualTimer> g_timers;

}  // namespace

bool TimerService::Set(os::HWND hwnd, uintptr_t id, uint32_t periodMs) {
    if (!g_virtual) return os::SetTimer(hwnd, id, periodMs) != 0;
    if (hwnd == 0) return false;
    uint32_t period = std::max<uint32_t>(periodMs, 1);
    for (auto& t : g_timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.period = period;
            t.due = g_now + period;
            return true;
        }
    }
    g_timers.push_back({hwnd, id, period, g_now + period});
    return true;
}

bool TimerService::Kill(os::HWND hwnd, uintptr_t id) {
    if (!g_virtual) return os::KillTimer(hwnd, id);
    auto it = std::find_if(g_timers.begin(), g_timers.end(),
                           [&](const VirtualTimer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == g_timers.end()) return false;
    g_timers.erase(it);
    return true;
}

void TimerService::KillAll(os::HWND hwnd) {
    std::erase_if(g_timers, [&](const VirtualTimer& t) { return t.hwnd == hwnd; });
}

void TimerService::SetVirtual(bool on) {
    g_virtual = on;
    g_timers.clear();
}

bool TimerService::IsVirtual() {
    return g_virtual;
}
uint64_t TimerService::VirtualNow() {
    return g_now;
}

int TimerService::AdvanceVirtualTime(uint32_t ms) {
    uint64_t target = g_now + ms;
    int delivered = 0;
    for (;;) {
        auto next = std::min_element(
            g_timers.begin(), g_timers.end(),
            [](const VirtualTimer& a, const VirtualTimer& b) { return a.due < b.due; });
        if (next == g_timers.end() || next->due > target) break;
        g_now = next->due;
        next->due += next->period;
        os::HWND hwnd = next->hwnd;
        uintptr_t id = next->id;
        // The handler may set or kill timers, so the iterator is not used after this.
        os::SendMessage(hwnd, os::WM_TIMER, id, 0);
        ++delivered;
    }
    g_now = target;
    return delivered;
}

}  // namespace toolkit
