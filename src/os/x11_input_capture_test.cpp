#include "os/x11_input_capture.h"

#include <linux/input-event-codes.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include <gtest/gtest.h>

#include "os/message_loop.h"
#include "os/testing/x_input_driver.h"
#include "os/testing/xvfb_display.h"

namespace os {
namespace {

// The X core protocol's Caps Lock modifier bit.
constexpr unsigned kLockMask = 1u << 1;

constexpr unsigned X(int linuxKey) {
    return static_cast<unsigned>(linuxKey + 8);
}

struct RecordingSink : InputCaptureSink {
    std::vector<CapturedKey> keys;
    std::vector<CapturedButton> buttons;
    void OnCapturedKey(const CapturedKey& k) override { keys.push_back(k); }
    void OnCapturedButton(const CapturedButton& b) override { buttons.push_back(b); }
};

class X11InputCaptureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!xvfb_.ok()) GTEST_SKIP() << xvfb_.error();
        capture_ = CreateX11InputCapture();
        ASSERT_NE(capture_, nullptr);
        ASSERT_TRUE(client_.ok());
        ASSERT_TRUE(driver_.ok());
    }

    bool Serve(const std::function<bool()>& done) { return testing::ServeUntil(loop_, done); }

    testing::XvfbDisplay xvfb_;
    MessageLoop loop_;
    testing::XClientWindow client_;
    testing::XTestDriver driver_;
    std::unique_ptr<InputCapture> capture_;
    RecordingSink sink_;
};

TEST_F(X11InputCaptureTest, KeysGoToTheCaptureAndNotToTheFocusedProgram) {
    std::string error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    EXPECT_EQ(capture_->kind(), InputCapture::Kind::kX11Grab);
    driver_.Tap(X(KEY_A));
    driver_.Tap(X(KEY_RIGHTALT));
    ASSERT_TRUE(Serve([&] { return sink_.keys.size() >= 4; }));
    EXPECT_EQ(client_.KeyPresses(), 0);
    ASSERT_EQ(sink_.keys.size(), 4u);
    const int expected[4][2] = {{KEY_A, 1}, {KEY_A, 0}, {KEY_RIGHTALT, 1}, {KEY_RIGHTALT, 0}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sink_.keys[i].linuxKey, expected[i][0]) << i;
        EXPECT_EQ(sink_.keys[i].down, expected[i][1] == 1) << i;
        EXPECT_FALSE(sink_.keys[i].repeat) << i;
    }

    // Once stopped, the focused program types again and the capture hears nothing.
    capture_->Stop();
    EXPECT_FALSE(capture_->Active());
    driver_.Tap(X(KEY_B));
    loop_.RunOnce(50);
    EXPECT_EQ(client_.KeyPresses(), 1);
    EXPECT_EQ(sink_.keys.size(), 4u);
}

TEST_F(X11InputCaptureTest, HeldKeyRepeatsAsPressesThenOneRelease) {
    std::string error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    driver_.Key(X(KEY_S), true);
    // The server's auto-repeat starts after its delay; wait for the second press.
    ASSERT_TRUE(Serve([&] { return sink_.keys.size() >= 3; }));
    driver_.Key(X(KEY_S), false);
    ASSERT_TRUE(Serve([&] { return !sink_.keys.back().down; }));
    EXPECT_FALSE(sink_.keys.front().repeat);
    for (size_t i = 1; i + 1 < sink_.keys.size(); ++i) {
        EXPECT_TRUE(sink_.keys[i].down) << i;
        EXPECT_TRUE(sink_.keys[i].repeat) << i;
    }
    EXPECT_EQ(sink_.keys.back().linuxKey, KEY_S);
    EXPECT_EQ(client_.KeyPresses(), 0);
}

TEST_F(X11InputCaptureTest, LockKeysStillToggleWhileCaptured) {
    std::string error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    const unsigned before = client_.LockedModifiers();
    driver_.Tap(X(KEY_CAPSLOCK));
    ASSERT_TRUE(Serve([&] { return sink_.keys.size() >= 2; }));
    EXPECT_NE(client_.LockedModifiers() & kLockMask, before & kLockMask);
    driver_.Tap(X(KEY_CAPSLOCK));
    ASSERT_TRUE(Serve([&] { return sink_.keys.size() >= 4; }));
    EXPECT_EQ(client_.LockedModifiers() & kLockMask, before & kLockMask);
    EXPECT_EQ(client_.KeyPresses(), 0);
}

TEST_F(X11InputCaptureTest, ButtonsAreReportedWithThePointerAndNotTaken) {
    std::string error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    driver_.MovePointer(120, 80);
    // Left, middle, right, back, forward; the wheel (4) is not a button here.
    for (unsigned b : {1u, 2u, 3u, 4u, 8u, 9u}) {
        driver_.Button(b, true);
        driver_.Button(b, false);
    }
    ASSERT_TRUE(Serve([&] { return sink_.buttons.size() >= 10; }));
    loop_.RunOnce(50);
    ASSERT_EQ(sink_.buttons.size(), 10u);
    const int order[] = {1, 2, 3, 8, 9};
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(sink_.buttons[i].button, order[i / 2]) << i;
        EXPECT_EQ(sink_.buttons[i].down, i % 2 == 0) << i;
        EXPECT_EQ(sink_.buttons[i].x, 120) << i;
        EXPECT_EQ(sink_.buttons[i].y, 80) << i;
    }
    // The window under the pointer still got its clicks.
    EXPECT_GE(client_.ButtonPresses(), 5);
}

TEST_F(X11InputCaptureTest, KeyboardHeldByAnotherProgramFailsTheStartCleanly) {
    ASSERT_TRUE(client_.GrabKeyboard());
    std::string error;
    EXPECT_FALSE(capture_->Start(loop_, &sink_, {}, &error));
    EXPECT_EQ(error, "another program holds the keyboard");
    EXPECT_FALSE(capture_->Active());
    client_.UngrabKeyboard();
    // Nothing half-way: the buttons were not watched either.
    driver_.Button(1, true);
    driver_.Button(1, false);
    loop_.RunOnce(50);
    EXPECT_TRUE(sink_.buttons.empty());
}

TEST_F(X11InputCaptureTest, StartTwiceThenStopLeavesNoGrab) {
    std::string error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    EXPECT_TRUE(driver_.KeyboardGrabbed());
    capture_->Stop();
    EXPECT_FALSE(driver_.KeyboardGrabbed());
    capture_->Stop();  // twice is harmless
}

TEST_F(X11InputCaptureTest, ReleaseAllEndsEveryCapture) {
    std::string error;
    ASSERT_TRUE(capture_->Start(loop_, &sink_, {}, &error)) << error;
    ReleaseAllInputCaptures();
    EXPECT_FALSE(capture_->Active());
    EXPECT_FALSE(driver_.KeyboardGrabbed());
}

TEST_F(X11InputCaptureTest, GrabEndsWithAProcessKilledOutright) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        MessageLoop loop;
        RecordingSink sink;
        auto capture = CreateX11InputCapture();
        std::string error;
        const char ok = capture && capture->Start(loop, &sink, {}, &error) ? 1 : 0;
        (void)!::write(ready[1], &ok, 1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(ok, 1);
    EXPECT_TRUE(driver_.KeyboardGrabbed());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    // The server notices the closed connection when it next reads from it.
    EXPECT_TRUE(Serve([&] { return !driver_.KeyboardGrabbed(); }));
}

}  // namespace
}  // namespace os
