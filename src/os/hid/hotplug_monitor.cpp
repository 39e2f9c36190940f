#include "os/hid/hotplug_monitor.h"

#include <libudev.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "os/debug_output.h"
#include "os/hid/hid_platform.h"
#include "os/hid/virtual_bus.h"

namespace os::hid {

struct HotplugMonitor::Impl {
    udev* u = nullptr;
    udev_monitor* monitor = nullptr;
    std::shared_ptr<Event> busChanged;

    int MonitorFd() const { return monitor ? udev_monitor_get_fd(monitor) : -1; }

    void OpenUdevMonitor() {
        u = udev_new();
        if (u) monitor = udev_monitor_new_from_netlink(u, "udev");
        if (monitor &&
            udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) >= 0 &&
            udev_monitor_enable_receiving(monitor) >= 0)
            return;
        DebugOutput(
            "device discovery: no udev monitor for hidraw nodes; they are looked for on "
            "the fallback timer only\n");
        if (monitor) udev_monitor_unref(monitor);
        monitor = nullptr;
    }

    // Takes every queued udev notice; true when there was one.
    bool DrainUdev() {
        bool any = false;
        while (udev_device* d = udev_monitor_receive_device(monitor)) {
            udev_device_unref(d);
            any = true;
        }
        return any;
    }
};

HotplugMonitor::HotplugMonitor() : impl_(std::make_unique<Impl>()) {
    const uint32_t backends = SelectedBackends();
    if (backends & kBackendHidraw) impl_->OpenUdevMonitor();
    if (backends & kBackendVirtual) {
        impl_->busChanged = std::make_shared<Event>(true, false);
        VirtualBus::Instance().AddWatch(impl_->busChanged);
    }
}

HotplugMonitor::~HotplugMonitor() {
    if (impl_->busChanged) VirtualBus::Instance().RemoveWatch(impl_->busChanged);
    if (impl_->monitor) udev_monitor_unref(impl_->monitor);
    if (impl_->u) udev_unref(impl_->u);
}

bool HotplugMonitor::watchingHidraw() const {
    return impl_->monitor != nullptr;
}

HotplugMonitor::Wake HotplugMonitor::Wait(Event& stop, int timeoutMs) {
    const int64_t deadline = timeoutMs < 0 ? -1 : MonotonicMs() + timeoutMs;
    for (;;) {
        pollfd fds[3] = {{stop.fd(), POLLIN, 0},
                         {impl_->MonitorFd(), POLLIN, 0},
                         {impl_->busChanged ? impl_->busChanged->fd() : -1, POLLIN, 0}};
        const int wait =
            deadline < 0 ? -1 : static_cast<int>(std::max<int64_t>(0, deadline - MonotonicMs()));
        const int n = ::poll(fds, 3, wait);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            // Nothing to wait on would work either: behave as a time-out, so the caller still
            // makes its slow passes.
            DebugOutput("device discovery: waiting for changes failed\n");
            return Wake::kTimeout;
        }
        if (fds[0].revents & POLLIN) return Wake::kStop;
        bool changed = false;
        if (fds[1].revents & POLLIN) changed = impl_->DrainUdev() || changed;
        if (fds[2].revents & POLLIN) {
            // Reset before the caller looks: a plug after this sets it again.
            impl_->busChanged->Reset();
            changed = true;
        }
        if (changed) return Wake::kChange;
        if (n == 0 || (deadline >= 0 && MonotonicMs() >= deadline)) return Wake::kTimeout;
    }
}

}  // namespace os::hid
