#pragma once

#include <functional>
#include <memory>
#include <string>

#include "os/message_loop.h"

namespace os {

// WM_POWERBROADCAST event codes (wParam).
inline constexpr uint32_t PBT_APMSUSPEND = 0x0004;
inline constexpr uint32_t PBT_APMRESUMESUSPEND = 0x0007;
inline constexpr uint32_t PBT_APMRESUMEAUTOMATIC = 0x0012;

// Suspend and resume of the machine, from logind's PrepareForSleep signal on the system bus:
// before the machine sleeps the handler gets PBT_APMSUSPEND, after it woke up
// PBT_APMRESUMEAUTOMATIC and then PBT_APMRESUMESUSPEND. Without a reachable system bus nothing
// happens. Served on the loop's thread.
class PowerEvents {
  public:
    using Handler = std::function<void(uint32_t pbt)>;

    PowerEvents();
    ~PowerEvents();
    PowerEvents(const PowerEvents&) = delete;
    PowerEvents& operator=(const PowerEvents&) = delete;

    // busAddress: empty for the system bus, or a D-Bus address (tests use a private bus).
    bool Start(MessageLoop& loop, Handler handler, const std::string& busAddress = "");
    void Stop();
    bool Running() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace os
