// The preview thread the devices share: every client keeps its own pace, a wake brings a turn at
// once, and removing a client waits for its turn under way.
#include "device/preview_ticker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "os/event.h"

namespace device {
namespace {

// One ticker for these tests, in storage no other object takes over later: the thread sanitizer
// would take its locks for those of an object that once lived at the same place.
PreviewTicker& Ticker() {
    static PreviewTicker ticker;
    return ticker;
}

// Asks for a turn every periodMs (kNever: only when woken) and records what it was given.
class Recorder : public PreviewClient {
  public:
    explicit Recorder(int64_t periodMs) : period_(periodMs) {}
    // Gone from the ticker before its members go, whatever the test did.
    ~Recorder() override { Ticker().Remove(this); }
    int64_t PreviewTurn(int64_t nowMs, bool woken) override {
        inTurn_ = true;
        std::lock_guard<std::mutex> lock(lock_);
        turns_.push_back({nowMs, asked_, woken});
        if (holdMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(holdMs_));
        inTurn_ = false;
        asked_ = period_ == kNever ? kNever : nowMs + period_;
        return asked_;
    }
    struct Turn {
        int64_t at;
        int64_t asked;
        bool woken;
    };
    std::vector<Turn> turns() {
        std::lock_guard<std::mutex> lock(lock_);
        return turns_;
    }
    void Ask(int64_t firstMs) { asked_ = firstMs; }
    void Hold(int ms) { holdMs_ = ms; }
    std::atomic<bool> inTurn_{false};

  private:
    const int64_t period_;
    std::mutex lock_;
    std::vector<Turn> turns_;
    int64_t asked_ = 0;
    std::atomic<int> holdMs_{0};
};

bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    for (int64_t until = os::MonotonicMs() + ms; os::MonotonicMs() < until;) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

TEST(PreviewTicker, EveryClientKeepsItsOwnPaceAndNoTurnComesEarly) {
    PreviewTicker& ticker = Ticker();
    Recorder fast(3), slow(7), steady(PreviewClient::kNever);
    const int64_t start = os::MonotonicMs();
    for (Recorder* r : {&fast, &slow, &steady}) {
        r->Ask(start + 1);
        ticker.Add(r, start + 1);
    }
    ASSERT_TRUE(WaitFor([&] { return fast.turns().size() >= 20 && slow.turns().size() >= 8; }));
    ticker.Remove(&fast);
    ticker.Remove(&slow);
    for (Recorder* r : {&fast, &slow}) {
        for (const Recorder::Turn& t : r->turns()) {
            EXPECT_GE(t.at, t.asked);
            EXPECT_FALSE(t.woken);
        }
    }
    // The steady one had its first turn and then slept.
    EXPECT_EQ(steady.turns().size(), 1u);
    ticker.Wake(&steady);
    ASSERT_TRUE(WaitFor([&] { return steady.turns().size() == 2; }));
    EXPECT_TRUE(steady.turns()[1].woken);
    EXPECT_TRUE(ticker.Running());
    ticker.Remove(&steady);
    EXPECT_FALSE(ticker.Running());
    EXPECT_FALSE(ticker.Has(&steady));
    // A client that is gone is not woken.
    ticker.Wake(&steady);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(steady.turns().size(), 2u);
}

TEST(PreviewTicker, RemovingAClientWaitsForItsTurnAndStopsTheOthersNot) {
    PreviewTicker& ticker = Ticker();
    Recorder busy(1), other(2);
    busy.Hold(50);
    const int64_t start = os::MonotonicMs();
    ticker.Add(&busy, start);
    ticker.Add(&other, start);
    ASSERT_TRUE(WaitFor([&] { return busy.inTurn_.load(); }));
    ticker.Remove(&busy);
    EXPECT_FALSE(busy.inTurn_);
    // Once Remove returned no turn of it runs or comes.
    const size_t turns = busy.turns().size();
    const size_t otherTurns = other.turns().size();
    ASSERT_TRUE(WaitFor([&] { return other.turns().size() >= otherTurns + 5; }));
    EXPECT_EQ(busy.turns().size(), turns);
    ticker.Remove(&other);
    // Added again, the thread starts again.
    ticker.Add(&other, os::MonotonicMs());
    const size_t again = other.turns().size();
    EXPECT_TRUE(WaitFor([&] { return other.turns().size() > again; }));
}

}  // namespace
}  // namespace device
