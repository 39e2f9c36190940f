#include "os/event.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "os/atomic_file.h"
#include "os/worker_thread.h"

namespace os {
namespace {

TEST(Event, ManualAndAutoResetAndMultipleWaits) {
    Event manual(true), autoReset(false);
    EXPECT_EQ(manual.Wait(0), kWaitTimeout);
    manual.Set();
    manual.Set();
    EXPECT_EQ(manual.Wait(0), kWaitObject0);
    EXPECT_EQ(manual.Wait(0), kWaitObject0);  // stays set
    manual.Reset();
    EXPECT_FALSE(manual.IsSet());

    autoReset.Set();
    EXPECT_EQ(WaitForAny({&manual, &autoReset}, 0), kWaitObject0 + 1);
    EXPECT_EQ(autoReset.Wait(0), kWaitTimeout);  // the first wait took it

    const int64_t t0 = MonotonicMs();
    EXPECT_EQ(WaitForAny({&manual, &autoReset}, 60), kWaitTimeout);
    EXPECT_GE(MonotonicMs() - t0, 55);
    EXPECT_EQ(WaitForAny({}, 0), kWaitFailed);
}

TEST(WorkerThread, JoinsAStoppedWorkerAndAbandonsOneThatIgnoresItsStopEvent) {
    auto stop = std::make_shared<Event>(true);
    WorkerThread good;
    ASSERT_TRUE(good.Start([stop] {
        while (stop->Wait(1) == kWaitTimeout) {
        }
    }));
    auto release = std::make_shared<Event>(true);
    WorkerThread stubborn;
    ASSERT_TRUE(stubborn.Start([release] { release->Wait(kInfinite); }));

    stop->Set();
    EXPECT_EQ(good.Join(1000), kWaitObject0);
    EXPECT_FALSE(good.HasThread());

    const int64_t t0 = MonotonicMs();
    EXPECT_EQ(stubborn.Join(200), kWaitTimeout);
    EXPECT_LT(MonotonicMs() - t0, 1000);
    stubborn.Abandon();
    EXPECT_EQ(WorkerThread::AbandonedRunning(), 1);
    release->Set();  // the abandoned thread still owns what it captured and ends cleanly
    for (int i = 0; i < 500 && WorkerThread::AbandonedRunning() != 0; ++i) SleepMs(5);
    EXPECT_EQ(WorkerThread::AbandonedRunning(), 0);
    EXPECT_EQ(good.Join(0), kWaitFailed);
}

TEST(AtomicFile, ReplacesWholeOrLeavesTheOldFile) {
    char dir[] = "/tmp/brasvik-atomic-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/a.json";
    std::string err, back;
    ASSERT_TRUE(WriteFileAtomically(path, "old", &err)) << err;

    SetAtomicWriteFailBeforeRenameForTesting(true);
    EXPECT_FALSE(WriteFileAtomically(path, "new", &err));
    SetAtomicWriteFailBeforeRenameForTesting(false);
    EXPECT_FALSE(err.empty());
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, "old");

    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    ASSERT_TRUE(ReadWholeFile(path, back));
    EXPECT_EQ(back, "new");
    EXPECT_FALSE(WriteFileAtomically(std::string(dir) + "/missing/b.json", "x", &err));
    EXPECT_FALSE(ReadWholeFile(std::string(dir) + "/missing/b.json", back));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace os
