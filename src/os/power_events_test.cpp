#include "os/power_events.h"

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <vector>

#include "os/event.h"
#include "os/testing/private_session_bus.h"

namespace os {
namespace {

// logind's sleep signal, sent on a private bus by a connection that owns logind's name.
TEST(PowerEvents, SleepAndWakeArriveAsPowerBroadcastCodes) {
    testing::PrivateSessionBus bus;
    if (!bus.ok()) GTEST_SKIP() << "no private bus: " << bus.error();
    MessageLoop loop;
    std::vector<uint32_t> codes;
    PowerEvents power;
    ASSERT_TRUE(power.Start(
        loop, [&](uint32_t pbt) { codes.push_back(pbt); }, bus.address()));

    sd_bus* logind = nullptr;
    ASSERT_GE(sd_bus_open_user(&logind), 0);
    ASSERT_GE(sd_bus_request_name(logind, "org.freedesktop.login1", 0), 0);
    const auto emit = [&](const char* sig, auto value) {
        ASSERT_GE(
            sd_bus_emit_signal(logind, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                               "PrepareForSleep", sig, value),
            0);
        sd_bus_flush(logind);
    };
    const auto waitFor = [&](size_t n) {
        const int64_t until = MonotonicMs() + 10000;
        while (codes.size() < n && MonotonicMs() < until) loop.RunOnce(50);
    };
    emit("b", 1);
    waitFor(1);
    EXPECT_EQ(codes, std::vector<uint32_t>{PBT_APMSUSPEND});
    // A malformed signal is dropped; the next good one still arrives.
    emit("s", "sleep");
    emit("b", 0);
    waitFor(3);
    EXPECT_EQ(codes, (std::vector<uint32_t>{PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC,
                                            PBT_APMRESUMESUSPEND}));
    sd_bus_flush_close_unref(logind);
    power.Stop();
    EXPECT_FALSE(power.Running());
}

TEST(PowerEvents, UnreachableBusStartsNothing) {
    MessageLoop loop;
    PowerEvents power;
    EXPECT_FALSE(power.Start(
        loop, [](uint32_t) {}, "unix:path=/nonexistent/bus"));
    EXPECT_FALSE(power.Running());
}

}  // namespace
}  // namespace os
