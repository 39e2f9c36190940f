#include "app/game_lighting.h"

#include <gtest/gtest.h>

#include "app/app_globals.h"
#include "os/event.h"
#include "os/message_loop.h"
#include "os/session_bus.h"
#include "os/testing/private_session_bus.h"

namespace app {
namespace {

using Byte = profile::LightingRecord::Byte;

// A device page's lighting as the game events see it.
struct FakePage : IGameLightingTarget {
    profile::LightingRecord stored;
    std::vector<int> shown;
    int syncCleared = 0;
    int stores = 0;

    const void* Identity() const override { return this; }
    void ClearLightingSync() override { ++syncCleared; }
    void ShowLightMode(int mode) override { shown.push_back(mode); }
    profile::LightingRecord GetLightingRecord() override { return stored; }
    void StoreLighting(const profile::LightingRecord& r) override {
        stored = r;
        ++stores;
    }
};

// Timer 1066 on a clock the test moves: it fires once its period has passed since it was last
// started, unless killed.
struct FakeClock {
    int64_t now = 0;
    int64_t due = -1;
    CGameLighting::Timer Timer() {
        return {.start =
                    [this](uintptr_t id, uint32_t ms) {
                        EXPECT_EQ(id, CGameLighting::kRestoreTimerId);
                        due = now + ms;
                    },
                .kill = [this](uintptr_t) { due = -1; }};
    }
    // Advances by ms; true when the timer came due on the way (the owner then calls
    // OnRestoreTimer, which kills it).
    bool Advance(int64_t ms) {
        now += ms;
        return due >= 0 && now >= due;
    }
};

class GameLightingTest : public ::testing::Test {
  protected:
    FakeClock clock_;
    CGameLighting game_{clock_.Timer()};
    FakePage page_;
};

TEST_F(GameLightingTest, StartFromAnOutOfRangeModeShowsTheEventThenModeOne) {
    page_.stored[Byte::kMode] = 25;
    game_.OnGameEvent(&page_, 0, 3);
    EXPECT_EQ(page_.stored[Byte::kMode], 3);
    EXPECT_EQ(page_.stored[Byte::kOldMode], 1);
    EXPECT_EQ(page_.shown, std::vector<int>{3});
    EXPECT_EQ(page_.syncCleared, 1);

    EXPECT_FALSE(clock_.Advance(4999));
    EXPECT_TRUE(clock_.Advance(1));
    game_.OnRestoreTimer(&page_);
    EXPECT_EQ(page_.stored[Byte::kMode], 1);
    EXPECT_EQ(page_.shown, (std::vector<int>{3, 1}));
    EXPECT_EQ(page_.syncCleared, 2);
    EXPECT_EQ(clock_.due, -1);  // the timer fires once
}

TEST_F(GameLightingTest, TheLastEventLastsFiveSeconds) {
    page_.stored[Byte::kMode] = 6;
    game_.OnGameEvent(&page_, 0, 3);
    EXPECT_FALSE(clock_.Advance(3000));
    game_.OnGameEvent(&page_, 1, 9);
    EXPECT_EQ(page_.stored[Byte::kMode], 9);
    EXPECT_FALSE(clock_.Advance(4999));  // 7999 ms after the first event
    EXPECT_EQ(page_.stored[Byte::kMode], 9);
    EXPECT_TRUE(clock_.Advance(1));
    game_.OnRestoreTimer(&page_);
    EXPECT_EQ(page_.stored[Byte::kMode], 6);
}

TEST_F(GameLightingTest, ParametersDecideWhatIsRemembered) {
    struct Case {
        os::WPARAM wParam;
        os::LPARAM lParam;
        uint8_t modeBefore;
        uint8_t expectMode, expectOld;
        bool timer;
    };
    const Case cases[] = {
        {0, 4, 7, 4, 7, true},     // remembers the user's mode
        {0, 4, 0, 4, 1, true},     // off returns to mode 1
        {0, 4, 20, 4, 20, true},   // the last mode of the list is kept
        {1, 4, 7, 4, 9, true},     // 1 and 2 keep what was remembered
        {2, 5, 7, 5, 9, true},     //
        {3, 4, 7, 7, 9, true},     // other values change nothing, but time the restore
        {0, 256, 7, 7, 9, false},  // a mode that does not fit the record is refused
        {0, -1, 7, 7, 9, false},   //
    };
    for (const Case& c : cases) {
        FakePage page;
        page.stored[Byte::kMode] = c.modeBefore;
        page.stored[Byte::kOldMode] = 9;
        CGameLighting game(clock_.Timer());
        clock_.due = -1;
        game.OnGameEvent(&page, c.wParam, c.lParam);
        EXPECT_EQ(page.stored[Byte::kMode], c.expectMode) << c.wParam << "/" << c.lParam;
        EXPECT_EQ(page.stored[Byte::kOldMode], c.expectOld) << c.wParam << "/" << c.lParam;
        EXPECT_EQ(clock_.due >= 0, c.timer) << c.wParam << "/" << c.lParam;
    }
}

TEST_F(GameLightingTest, RepeatedStartsKeepTheUsersMode) {
    page_.stored[Byte::kMode] = 6;
    game_.OnGameEvent(&page_, 0, 3);
    clock_.Advance(2000);
    game_.OnGameEvent(&page_, 0, 4);  // a second start while the first still shows
    EXPECT_EQ(page_.stored[Byte::kOldMode], 6);
    EXPECT_TRUE(clock_.Advance(5000));
    game_.OnRestoreTimer(&page_);
    EXPECT_EQ(page_.stored[Byte::kMode], 6);
}

TEST_F(GameLightingTest, WithoutASelectedPageOnlyTheTimerRuns) {
    game_.OnGameEvent(nullptr, 0, 3);
    EXPECT_TRUE(clock_.Advance(5000));
    game_.OnRestoreTimer(&page_);  // a page selected meanwhile keeps its lighting
    EXPECT_EQ(page_.stores, 0);
    EXPECT_TRUE(page_.shown.empty());
}

TEST_F(GameLightingTest, TheRestoreReachesOnlyTheChangedPage) {
    FakePage other;
    other.stored[Byte::kMode] = 8;
    other.stored[Byte::kOldMode] = 2;
    game_.OnGameEvent(&page_, 0, 3);
    EXPECT_TRUE(clock_.Advance(5000));
    game_.OnRestoreTimer(&other);  // the user switched pages in between
    EXPECT_EQ(other.stored[Byte::kMode], 8);
    EXPECT_EQ(other.stores, 0);
}

TEST(GameMessages, TheFourRegisteredNamesAreGameMessages) {
    RegisterOtherMessages();
    for (uint32_t msg : Globals().gameMessages) EXPECT_TRUE(CGameLighting::IsGameMessage(msg));
    EXPECT_FALSE(CGameLighting::IsGameMessage(Globals().hookMessages[0]));
    EXPECT_FALSE(CGameLighting::IsGameMessage(0));
}

// Timer 1066 on the owner window: a game event starts it with five seconds.
TEST(GameMessages, TheRestoreTimerRunsOnTheOwnerWindow) {
    os::MessageLoop loop;
    os::FunctionTarget window([](uint32_t, os::WPARAM, os::LPARAM) { return os::LRESULT{0}; });
    const os::HWND hwnd = os::CreateTarget(&window);
    CGameLighting game(hwnd);
    game.OnGameEvent(nullptr, 0, 3);
    // KillTimer finds it: the timer was set.
    EXPECT_TRUE(os::KillTimer(hwnd, CGameLighting::kRestoreTimerId));
    os::DestroyTarget(hwnd);
}

// A game integration broadcasts over the session bus; the published main window hands the message
// to the game lighting, which changes the selected page.
TEST(GameMessages, ABroadcastFromAGameReachesTheSelectedPage) {
    os::testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    RegisterOtherMessages();
    os::MessageLoop loop;
    FakeClock clock;
    CGameLighting game(clock.Timer());
    FakePage page;
    page.stored[Byte::kMode] = 6;
    os::FunctionTarget window([&](uint32_t msg, os::WPARAM w, os::LPARAM l) -> os::LRESULT {
        if (CGameLighting::IsGameMessage(msg)) game.OnGameEvent(&page, w, l);
        return 0;
    });
    const os::HWND hwnd = os::CreateTarget(&window);
    os::SessionBus bus;
    ASSERT_TRUE(bus.Connect(loop));
    bus.PublishWindow(hwnd, "MainWnd", kAppTitle);

    // Another program on the bus: its own connection, the message by its name.
    os::SessionBus gameProgram;
    ASSERT_TRUE(gameProgram.Connect(loop));
    ASSERT_TRUE(gameProgram.Broadcast(os::RegisterWindowMessage("Game_Kill"), 0, 3));
    const int64_t until = os::MonotonicMs() + 10000;
    while (page.stores == 0 && os::MonotonicMs() < until) loop.RunOnce(20);
    EXPECT_EQ(page.stored[Byte::kMode], 3);
    EXPECT_EQ(page.stored[Byte::kOldMode], 6);
    EXPECT_EQ(clock.due, int64_t{CGameLighting::kRestoreDelayMs});
    bus.UnpublishWindow(hwnd);
    os::DestroyTarget(hwnd);
}

}  // namespace
}  // namespace app
