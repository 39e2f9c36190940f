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
#include "os/testing/tray_watcher.h"

namespace os {
namespace {

using testing::TrayWatcher;

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

    TrayWatcher watcher;
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
