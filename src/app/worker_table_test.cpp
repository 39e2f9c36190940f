#include "app/worker_table.h"

#include <gtest/gtest.h>

#include <atomic>

#include "os/event.h"
#include "os/message_loop.h"

namespace app {
namespace {

TEST(WorkerTable, StopAllJoinsWorkersAndDoesNotWaitLongerThanASecondPerHangingOne) {
    WorkerTable table;
    table.CreateSlots(0x1234);
    std::atomic<int> stoppedCleanly{0};
    auto polite = [&](std::shared_ptr<WorkerContext> ctx) {
        while (!ctx->StopRequested(1)) {
        }
        ++stoppedCleanly;
    };
    ASSERT_TRUE(table.Start(0, polite));
    ASSERT_TRUE(table.Start(8, polite));
    EXPECT_FALSE(table.Start(8, polite));  // slot taken
    EXPECT_FALSE(table.Start(20, polite));
    auto release = std::make_shared<os::Event>(true);
    ASSERT_TRUE(table.Start(3, [release](std::shared_ptr<WorkerContext> ctx) {
        EXPECT_EQ(ctx->owner, 0x1234u);
        release->Wait(os::kInfinite);  // ignores its stop event
    }));

    const int64_t t0 = os::MonotonicMs();
    table.StopAll();
    const int64_t took = os::MonotonicMs() - t0;
    EXPECT_EQ(stoppedCleanly, 2);
    EXPECT_GE(took, WorkerTable::kStopTimeoutMs - 50);
    EXPECT_LT(took, 3 * WorkerTable::kStopTimeoutMs);
    EXPECT_FALSE(table.HasSlots());
    EXPECT_EQ(os::WorkerThread::AbandonedRunning(), 1);
    release->Set();
    for (int i = 0; i < 500 && os::WorkerThread::AbandonedRunning() != 0; ++i) os::SleepMs(5);
    EXPECT_EQ(os::WorkerThread::AbandonedRunning(), 0);
}

TEST(WorkerTable, AStopBeforeTheWorkerResetItsEventStillStopsIt) {
    WorkerTable table;
    table.CreateSlots(0x1234);
    std::atomic<bool> stopped{false};
    // Like the device scan thread: it resets its stop event when it starts, here late.
    ASSERT_TRUE(table.Start(0, [&](std::shared_ptr<WorkerContext> ctx) {
        os::SleepMs(50);
        ctx->stopEvent->Reset();
        while (!ctx->StopRequested(1)) {
        }
        stopped = true;
    }));
    table.StopAll();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(os::WorkerThread::AbandonedRunning(), 0);
}

TEST(WorkerTable, StopAllAnswersASendTheWorkerIsBlockedIn) {
    os::MessageLoop loop;
    std::atomic<int> handled{0};
    os::FunctionTarget window([&](uint32_t msg, os::WPARAM, os::LPARAM) -> os::LRESULT {
        if (msg == 3090) ++handled;
        return 1;
    });
    const os::HWND hwnd = os::CreateTarget(&window);
    WorkerTable table;
    table.CreateSlots(hwnd);
    auto sending = std::make_shared<os::Event>(true);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    // Like the scan thread reporting an arrival just as the program quits.
    ASSERT_TRUE(table.Start(0, [sending, ended](std::shared_ptr<WorkerContext> ctx) {
        sending->Set();
        os::SendMessage(ctx->owner, 3090, 0, 0);
        while (!ctx->StopRequested(1)) {
        }
        *ended = true;
    }));
    ASSERT_EQ(sending->Wait(5000), os::kWaitObject0);
    table.StopAll();
    EXPECT_TRUE(*ended);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(os::WorkerThread::AbandonedRunning(), 0);
    os::DestroyTarget(hwnd);
}

}  // namespace
}  // namespace app
