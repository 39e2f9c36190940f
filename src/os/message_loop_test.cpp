#include "os/message_loop.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <thread>
#include <vector>

#include "os/event.h"

namespace os {
namespace {

constexpr uint32_t kMsgAdd = WM_USER + 1;
constexpr uint32_t kMsgPing = WM_USER + 2;

TEST(MessageLoop, CrossThreadSendBlocksUntilHandledAndReturnsTheResult) {
    MessageLoop loop;
    std::atomic<bool> handling{false};
    FunctionTarget target([&](uint32_t msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg != kMsgAdd) return 0;
        handling = true;
        SleepMs(50);  // the sender must still be blocked when this returns
        return static_cast<LRESULT>(w) + l;
    });
    const HWND h = CreateTarget(&target);
    ASSERT_NE(h, 0u);

    std::atomic<LRESULT> got{-1};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        got = SendMessage(h, kMsgAdd, 40, 2);
        returned = true;
        PostMessage(h, WM_QUIT, 0, 0);
    });
    loop.RunUntil([&] { return returned.load(); });
    worker.join();
    EXPECT_TRUE(handling);
    EXPECT_EQ(got, 42);
    DestroyTarget(h);
}

TEST(MessageLoop, TwoThreadsSendingToEachOtherDoNotDeadlock) {
    // Thread B's target, while handling A's send, sends back to A's target.
    std::atomic<HWND> hb{0};
    std::atomic<bool> bDone{false};
    Event bReady;
    std::thread b([&] {
        MessageLoop loopB;
        HWND ha = 0;
        FunctionTarget tb([&](uint32_t msg, WPARAM w, LPARAM) -> LRESULT {
            if (msg == kMsgPing) {
                ha = static_cast<HWND>(w);
                return SendMessage(ha, kMsgAdd, 1, 2) * 10;
            }
            return 0;
        });
        hb = CreateTarget(&tb);
        bReady.Set();
        loopB.RunUntil([&] { return bDone.load(); });
        DestroyTarget(hb);
    });
    ASSERT_EQ(bReady.Wait(5000), kWaitObject0);

    MessageLoop loopA;
    FunctionTarget ta([](uint32_t msg, WPARAM w, LPARAM l) -> LRESULT {
        return msg == kMsgAdd ? static_cast<LRESULT>(w) + l : 0;
    });
    const HWND ha = CreateTarget(&ta);
    // A is blocked in this send while B's handler sends to A: A must serve it meanwhile.
    EXPECT_EQ(SendMessage(hb, kMsgPing, ha, 0), 30);
    bDone = true;
    PostMessage(hb, WM_NULL, 0, 0);
    b.join();
    DestroyTarget(ha);
}

TEST(MessageLoop, SendToTargetThatGoesAwayReturnsZero) {
    MessageLoop loop;
    FunctionTarget target([](uint32_t, WPARAM, LPARAM) -> LRESULT { return 7; });
    const HWND h = CreateTarget(&target);
    std::atomic<LRESULT> got{-1};
    Event sent;
    std::thread worker([&] {
        sent.Set();
        got = SendMessage(h, kMsgAdd, 0, 0);
    });
    ASSERT_EQ(sent.Wait(5000), kWaitObject0);
    SleepMs(20);  // let the send be queued; destroying first is also fine (it finds no target)
    DestroyTarget(h);
    worker.join();
    EXPECT_EQ(got, 0);
    EXPECT_EQ(SendMessage(h, kMsgAdd, 0, 0), 0);
    EXPECT_FALSE(PostMessage(h, kMsgAdd, 0, 0));
}

TEST(MessageLoop, TimersFireInDueOrderAndAQuietLoopSleeps) {
    MessageLoop loop;
    std::vector<uintptr_t> fired;
    HWND h = 0;
    FunctionTarget target([&](uint32_t msg, WPARAM w, LPARAM) -> LRESULT {
        if (msg == WM_TIMER) {
            fired.push_back(w);
            KillTimer(h, w);  // one shot each
        }
        return 0;
    });
    h = CreateTarget(&target);
    SetTimer(h, 3, 90);
    SetTimer(h, 1, 10);
    SetTimer(h, 2, 50);
    loop.RunUntil([&] { return fired.size() == 3; });
    EXPECT_EQ(fired, (std::vector<uintptr_t>{1, 2, 3}));

    // With no timer and nothing posted, a wait of 300 ms wakes once (the time-out), not in a
    // busy loop.
    const uint64_t before = loop.WakeCount();
    loop.RunOnce(300);
    EXPECT_LE(loop.WakeCount() - before, 2u);
    DestroyTarget(h);
}

TEST(MessageLoop, QuitEndsRunWithTheExitCodeAndModalLoopsLeaveItPending) {
    MessageLoop loop;
    FunctionTarget target([&](uint32_t msg, WPARAM, LPARAM) -> LRESULT {
        if (msg == kMsgPing) {
            // A modal loop inside a handler sees the quit and leaves it for the outer loop.
            PostQuitMessage(5);
            EXPECT_FALSE(MessageLoop::Current()->RunUntil([] { return false; }));
        }
        return 0;
    });
    const HWND h = CreateTarget(&target);
    PostMessage(h, kMsgPing, 0, 0);
    EXPECT_EQ(loop.Run(), 5);
    DestroyTarget(h);
}

TEST(MessageLoop, WatchedDescriptorsWakeTheLoop) {
    MessageLoop loop;
    Event ev(false);
    int calls = 0;
    loop.WatchFd(ev.fd(), POLLIN, [&](short) {
        ++calls;
        ev.Consume();
    });
    std::thread t([&] {
        SleepMs(20);
        ev.Set();
    });
    loop.RunUntil([&] { return calls == 1; });
    t.join();
    loop.UnwatchFd(ev.fd());
    EXPECT_EQ(calls, 1);
}

TEST(RegisteredMessages, SameNameSameNumberInRange) {
    const uint32_t a = RegisterWindowMessage("UWM_MOUSERBUTTONDOWN_USER_MSG");
    const uint32_t b = RegisterWindowMessage("UWM_MOUSERBUTTONDOWN_USER_MSG");
    const uint32_t c = RegisterWindowMessage("Game_Start");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_GE(a, kRegisteredMessageFirst);
    EXPECT_LE(c, kRegisteredMessageLast);
    EXPECT_EQ(RegisterWindowMessage("game_start"), c);
    EXPECT_EQ(RegisteredMessageName(c), "Game_Start");
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
    EXPECT_EQ(RegisteredMessageName(0x1234), "");
}

}  // namespace
}  // namespace os
