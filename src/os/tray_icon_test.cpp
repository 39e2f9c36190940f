#include "os/tray_icon.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "os/event.h"
#include "os/testing/private_session_bus.h"

namespace os {
namespace {

// A notification area of our own: owns the watcher name, records registrations and can click
// an item. Runs on its own thread so that its synchronous calls do not block the item's loop.
class Watcher {
  public:
    Watcher() {
        thread_ = std::thread([this] { Run(); });
        ready_.Wait(10000);
    }
    ~Watcher() {
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
        auto* self = static_cast<Watcher*>(userdata);
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
        Event done;
        {
            std::lock_guard<std::mutex> lock(m_);
            work_ = [&] {
                fn();
                done.Set();
            };
        }
        done.Wait(10000);
    }
    void Run() {
        static const sd_bus_vtable vtable[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", &Watcher::OnRegister, 0),
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

bool RunUntil(MessageLoop& loop, const std::function<bool()>& pred) {
    const int64_t until = MonotonicMs() + 10000;
    while (!pred() && MonotonicMs() < until) loop.RunOnce(10);
    return pred();
}

TEST(TrayIcon, RegistersWithAWatcherThatComesLaterAndTurnsClicksIntoCallbacks) {
    testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    MessageLoop loop;
    TrayIcon tray;
    std::vector<std::string> clicks;
    TrayIcon::Image icon{2, 1, {0xFF112233, 0x80FFFFFF}};
    ASSERT_TRUE(tray.Create(
        loop, "brasvik-m402", "Brasvik M402", "M402", icon,
        [&](int x, int y) {
            clicks.push_back("left " + std::to_string(x) + "," + std::to_string(y));
        },
        [&](int x, int y) {
            clicks.push_back("right " + std::to_string(x) + "," + std::to_string(y));
        }));
    EXPECT_TRUE(tray.Created());
    EXPECT_FALSE(tray.Registered());  // no notification area yet

    Watcher watcher;
    ASSERT_TRUE(RunUntil(loop, [&] { return tray.Registered(); }));
    EXPECT_EQ(watcher.Registered(), tray.serviceName());

    // The watcher's calls block until the item answers, so they run while this loop serves it.
    std::thread clicker([&] {
        EXPECT_EQ(watcher.ToolTipText(), "M402");
        watcher.Click("Activate", 10, 20);
        watcher.Click("ContextMenu", 30, 40);
    });
    ASSERT_TRUE(RunUntil(loop, [&] { return clicks.size() == 2; }));
    clicker.join();
    EXPECT_EQ(clicks[0], "left 10,20");
    EXPECT_EQ(clicks[1], "right 30,40");
    tray.Remove();
    EXPECT_FALSE(tray.Created());
}

}  // namespace
}  // namespace os
