#pragma once

#include <memory>

#include "os/event.h"

namespace os::hid {

// Tells device discovery when interfaces of the selected backends may have come or gone: the
// kernel's hidraw add and remove events (through a udev monitor, so a node is announced once its
// rules, permissions included, have been applied) and the virtual bus's plugs and unplugs.
// Discovery runs its pass when told, rather than listing every interface over and over.
//
// Where the udev monitor cannot be had (no netlink socket, as in some containers), the monitor
// says so with a debug line and only the waits' time-out wakes discovery for hidraw.
class HotplugMonitor {
  public:
    // Starts listening for the backends selected now (see hid_platform.h).
    HotplugMonitor();
    ~HotplugMonitor();
    HotplugMonitor(const HotplugMonitor&) = delete;
    HotplugMonitor& operator=(const HotplugMonitor&) = delete;

    enum class Wake { kChange, kStop, kTimeout };
    // Waits up to timeoutMs (kInfinite: for ever) for a change or for stop. A change takes every
    // notice that has come so far, so a burst of them (one device brings several nodes) wakes
    // the caller once or twice, not once per notice.
    Wake Wait(Event& stop, int timeoutMs);

    bool watchingHidraw() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace os::hid
