#pragma once

#include <systemd/sd-bus.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "os/event.h"

namespace os::testing {

// A notification area of our own: owns the watcher name, records registrations and can click
// an item. Runs on its own thread so that its synchronous calls do not block the item's loop.
class TrayWatcher {
  public:
    TrayWatcher() {
        thread_ = std::thread([this] { Run(); });
        ready_.Wait(10000);
    }
    ~TrayWatcher() {
        stop_ = true;
        thread_.join();
    }
    std::string Registered() {
        std::lock_guard<std::mutex> lock(m_);
        return registered_;
    }
    // Calls a method of the item, or reads its tool tip text, from the watcher's thread.
    void Click(const std::string& member, int x, int y) {
        Do([=, this] { CallItem(member, x, y); });
    }
    std::string ToolTipText() {
        std::string text;
        Do([&] {
            sd_bus_message* reply = nullptr;
            if (sd_bus_get_property(bus_, Registered().c_str(), "/StatusNotifierItem",
                                    "org.kde.StatusNotifierItem", "ToolTip", nullptr, &reply,
                                    "(sa(iiay)ss)") >= 0) {
                const char* icon = nullptr;
                const char* title = nullptr;
                const char* body = nullptr;
                sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss");
                sd_bus_message_read(reply, "s", &icon);
                sd_bus_message_skip(reply, "a(iiay)");
                sd_bus_message_read(reply, "ss", &title, &body);
                text = title ? title : "";
            }
            sd_bus_message_unref(reply);
        });
        return text;
    }

  private:
    static int OnRegister(sd_bus_message* m, void* userdata, sd_bus_error*) {
        auto* self = static_cast<TrayWatcher*>(userdata);
        const char* service = nullptr;
        sd_bus_message_read(m, "s", &service);
        std::lock_guard<std::mutex> lock(self->m_);
        self->registered_ = service ? service : "";
        return sd_bus_reply_method_return(m, "");
    }
    void CallItem(const std::string& member, int x, int y) {
        sd_bus_call_method(bus_, Registered().c_str(), "/StatusNotifierItem",
                           "org.kde.StatusNotifierItem", member.c_str(), nullptr, nullptr, "ii", x,
                           y);
    }
    void Do(std::function<void()> fn) {
        // Shared, so that the event outlives whichever side lets go of it last (a wait that
        // timed out included).
        auto done = std::make_shared<Event>();
        {
            std::lock_guard<std::mutex> lock(m_);
            work_ = [fn = std::move(fn), done] {
                fn();
                done->Set();
            };
        }
        done->Wait(10000);
    }
    void Run() {
        static const sd_bus_vtable vtable[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", &TrayWatcher::OnRegister, 0),
            SD_BUS_VTABLE_END,
        };
        sd_bus_open_user(&bus_);
        sd_bus_slot* slot = nullptr;
        sd_bus_add_object_vtable(bus_, &slot, "/StatusNotifierWatcher",
                                 "org.kde.StatusNotifierWatcher", vtable, this);
        sd_bus_request_name(bus_, "org.kde.StatusNotifierWatcher", 0);
        ready_.Set();
        while (!stop_) {
            while (sd_bus_process(bus_, nullptr) > 0) {
            }
            std::function<void()> w;
            {
                std::lock_guard<std::mutex> lock(m_);
                w.swap(work_);
            }
            if (w) w();
            sd_bus_wait(bus_, 10000);
        }
        sd_bus_slot_unref(slot);
        sd_bus_flush_close_unref(bus_);
    }

    sd_bus* bus_ = nullptr;
    std::thread thread_;
    Event ready_;
    std::atomic<bool> stop_{false};
    std::mutex m_;
    std::string registered_;
    std::function<void()> work_;
};

}  // namespace os::testing
