#pragma once

#include <cstdint>
#include <vector>

#include "os/messages.h"

namespace toolkit {

// Window timers of the UI thread. Normally they run on the os message loop's clock; in virtual
// mode (tests, scripted runs) they wait until AdvanceVirtualTime moves the clock, so that a test
// decides exactly which timers fire and in which order, without sleeping.
class TimerService {
  public:
    static bool Set(os::HWND hwnd, uintptr_t id, uint32_t periodMs);
    static bool Kill(os::HWND hwnd, uintptr_t id);
    static void KillAll(os::HWND hwnd);

    static void SetVirtual(bool on);
    static bool IsVirtual();
    // Moves the virtual clock by ms, delivering WM_TIMER for every period that ends on the way,
    // in due order. Returns how many timer messages were delivered.
    static int AdvanceVirtualTime(uint32_t ms);
    static uint64_t VirtualNow();
};

}  // namespace toolkit
