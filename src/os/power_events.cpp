#include "os/power_events.h"

#include <poll.h>
#include <systemd/sd-bus.h>

#include <cstring>

#include "os/debug_output.h"

namespace os {

struct PowerEvents::Impl {
    MessageLoop* loop = nullptr;
    sd_bus* bus = nullptr;
    sd_bus_slot* slot = nullptr;
    Handler handler;

    void ProcessAll() {
        for (int i = 0; bus != nullptr && i < 1000; ++i) {
            const int r = sd_bus_process(bus, nullptr);
            if (r < 0) {
                DebugOutput(std::string("power events: connection lost: ") + std::strerror(-r) +
                            "\n");
                Close();
                return;
            }
            if (r == 0) break;
        }
    }

    void Close() {
        if (loop != nullptr && bus != nullptr) loop->UnwatchFd(sd_bus_get_fd(bus));
        sd_bus_slot_unref(slot);
        slot = nullptr;
        if (bus != nullptr) sd_bus_flush_close_unref(bus);
        bus = nullptr;
    }

    static int OnPrepareForSleep(sd_bus_message* m, void* userdata, sd_bus_error*) {
        auto* self = static_cast<Impl*>(userdata);
        int sleeping = 0;
        if (sd_bus_message_read(m, "b", &sleeping) < 0) {
            DebugOutput("power events: malformed PrepareForSleep signal ignored\n");
            return 0;
        }
        if (!self->handler) return 0;
        if (sleeping) {
            self->handler(PBT_APMSUSPEND);
        } else {
            self->handler(PBT_APMRESUMEAUTOMATIC);
            self->handler(PBT_APMRESUMESUSPEND);
        }
        return 0;
    }
};

PowerEvents::PowerEvents() : impl_(std::make_unique<Impl>()) {}

PowerEvents::~PowerEvents() {
    Stop();
}

bool PowerEvents::Start(MessageLoop& loop, Handler handler, const std::string& busAddress) {
    Stop();
    Impl& d = *impl_;
    int r = 0;
    if (busAddress.empty()) {
        r = sd_bus_open_system(&d.bus);
    } else {
        r = sd_bus_new(&d.bus);
        if (r >= 0) r = sd_bus_set_address(d.bus, busAddress.c_str());
        if (r >= 0) r = sd_bus_set_bus_client(d.bus, 1);
        if (r >= 0) r = sd_bus_start(d.bus);
    }
    if (r >= 0)
        r = sd_bus_match_signal(d.bus, &d.slot, "org.freedesktop.login1", "/org/freedesktop/login1",
                                "org.freedesktop.login1.Manager", "PrepareForSleep",
                                &Impl::OnPrepareForSleep, &d);
    if (r < 0) {
        DebugOutput(std::string("power events: no system bus: ") + std::strerror(-r) + "\n");
        d.Close();
        return false;
    }
    d.loop = &loop;
    d.handler = std::move(handler);
    loop.WatchFd(sd_bus_get_fd(d.bus), POLLIN, [&d](short) { d.ProcessAll(); });
    d.ProcessAll();
    return true;
}

void PowerEvents::Stop() {
    impl_->Close();
    impl_->handler = nullptr;
}

bool PowerEvents::Running() const {
    return impl_->bus != nullptr;
}

}  // namespace os
