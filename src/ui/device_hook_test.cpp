#include "ui/device_hook.h"

#include <linux/input-event-codes.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "os/forwarded_input_capture.h"
#include "os/message_loop.h"
#include "os/testing/x_input_driver.h"
#include "os/testing/xvfb_display.h"
#include "os/x11_input_capture.h"
#include "toolkit/backend/sdl_backend.h"
#include "toolkit/control_ui.h"
#include "toolkit/driver_window.h"

#include <SDL.h>

namespace ui {
namespace {

// What the target window got: the message, wParam and a copy of the record.
struct Received {
    uint32_t msg;
    os::WPARAM wParam;
    KBDLLHOOKSTRUCT key;
    MOUSEHOOKSTRUCTEX mouse;
};

class HookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The hook logs which source it uses: keep that out of the user's files.
        dataHome_ = std::filesystem::temp_directory_path() /
                    ("device_hook_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dataHome_ / "Brasvik M402");
        ::setenv("XDG_DATA_HOME", dataHome_.c_str(), 1);
        target_ = os::CreateTarget(&window_);
    }
    void TearDown() override {
        if (target_ != 0) os::DestroyTarget(target_);
        ::unsetenv("XDG_DATA_HOME");
        std::filesystem::remove_all(dataHome_);
    }

    static uint32_t Msg(const char* name) { return os::RegisterWindowMessage(name); }

    os::MessageLoop loop_;
    std::vector<Received> got_;
    os::FunctionTarget window_{[this](uint32_t msg, os::WPARAM w, os::LPARAM l) -> os::LRESULT {
        Received r{msg, w, {}, {}};
        if (msg == Msg("WM_HOOK_KEY_KBMACRO_MSG") || msg == Msg("WM_HOOK_KEY_SINGLEKEY_MSG") ||
            msg == Msg("WM_HOOK_KEY_HITKEY_MSG"))
            r.key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(l);
        else if (msg == Msg("WM_HOOK_KEY_MSMACRO_MSG") ||
                 msg == Msg("WM_HOOK_KEY_MSMACROLATER_MSG"))
            r.mouse = *reinterpret_cast<const MOUSEHOOKSTRUCTEX*>(l);
        got_.push_back(r);
        return 0;
    }};
    os::HWND target_ = 0;
    std::filesystem::path dataHome_;
};

class SyntheticHookTest : public HookTest {
  protected:
    SyntheticHookTest() {
        auto source = std::make_unique<os::ForwardedInputCapture>();
        source_ = source.get();
        hook_ = std::make_unique<CDeviceHook>(std::move(source));
    }
    bool Key(int linuxKey, bool down) { return source_->OfferKey({linuxKey, down, false, 7}); }

    os::ForwardedInputCapture* source_;
    std::unique_ptr<CDeviceHook> hook_;
};

TEST_F(SyntheticHookTest, EachModeReportsWithItsOwnMessagesOrSwallowsSilently) {
    struct Case {
        int mode;
        const char* keyboard;
        const char* mouse;
    };
    const Case cases[] = {
        {1, "WM_HOOK_KEY_SINGLEKEY_MSG", nullptr},
        {2, "WM_HOOK_KEY_HITKEY_MSG", nullptr},
        {4, "WM_HOOK_KEY_KBMACRO_MSG", "WM_HOOK_KEY_MSMACRO_MSG"},
        {8, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"},
        {16, "WM_HOOK_KEY_KBMACROLATER_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG"},
        {32, "WM_HOOK_KEY_KBMACROSINGLE_MSG", "WM_HOOK_KEY_MSMACROSINGLE_MSG"},
        {256, "WM_HOOK_MOU_SINGLEKEY_MSG", nullptr},
        {1024, "WM_HOOK_MOU_KBMACRO_MSG", nullptr},
        {3, nullptr, nullptr},
        {64, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        got_.clear();
        ASSERT_EQ(hook_->Install(c.mode, target_, true, true), 1) << c.mode;
        EXPECT_TRUE(Key(KEY_A, true)) << c.mode;  // swallowed in every mode
        source_->OfferButton({1, true, 5, 6, 7});
        std::vector<uint32_t> expected;
        if (c.keyboard) expected.push_back(Msg(c.keyboard));
        if (c.mouse) expected.push_back(Msg(c.mouse));
        ASSERT_EQ(got_.size(), expected.size()) << c.mode;
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got_[i].msg, expected[i]) << c.mode;
    }
}

TEST_F(SyntheticHookTest, KeyRecordsCarryScanCodeVirtualKeyAndFlags) {
    ASSERT_EQ(hook_->Install(4, target_, true, true), 1);
    struct Case {
        int linuxKey;
        bool down;
        os::WPARAM wm;
        uint32_t vk, scan, flags;
    };
    const Case cases[] = {
        {KEY_A, true, os::WM_KEYDOWN, 'A', 0x1E, 0},
        {KEY_A, false, os::WM_KEYUP, 'A', 0x1E, LLKHF_UP},
        {KEY_RIGHTCTRL, true, os::WM_KEYDOWN, 163, 0x1D, LLKHF_EXTENDED},
        {KEY_RIGHTCTRL, false, os::WM_KEYUP, 163, 0x1D, LLKHF_EXTENDED | LLKHF_UP},
        // Alt makes the system-key messages, itself included.
        {KEY_LEFTALT, true, os::WM_SYSKEYDOWN, 164, 0x38, LLKHF_ALTDOWN},
        {KEY_F4, true, os::WM_SYSKEYDOWN, 115, 0x3E, LLKHF_ALTDOWN},
        {KEY_F4, false, os::WM_SYSKEYUP, 115, 0x3E, LLKHF_ALTDOWN | LLKHF_UP},
        {KEY_LEFTALT, false, os::WM_SYSKEYUP, 164, 0x38, LLKHF_ALTDOWN | LLKHF_UP},
        {KEY_DELETE, true, os::WM_KEYDOWN, 46, 0x53, LLKHF_EXTENDED},
    };
    for (const Case& c : cases) {
        got_.clear();
        Key(c.linuxKey, c.down);
        ASSERT_EQ(got_.size(), 1u) << c.linuxKey;
        EXPECT_EQ(got_[0].wParam, c.wm) << c.linuxKey;
        EXPECT_EQ(got_[0].key.vkCode, c.vk) << c.linuxKey;
        EXPECT_EQ(got_[0].key.scanCode, c.scan) << c.linuxKey;
        EXPECT_EQ(got_[0].key.flags, c.flags) << c.linuxKey;
        EXPECT_EQ(got_[0].key.time, 7u) << c.linuxKey;
    }
}

TEST_F(SyntheticHookTest, MouseRecordsCarryPositionAndExtraButton) {
    ASSERT_EQ(hook_->Install(16, target_, true, true), 1);
    struct Case {
        int button;
        bool down;
        os::WPARAM wm;
        uint32_t mouseData;
    };
    const Case cases[] = {
        {1, true, os::WM_LBUTTONDOWN, 0},        {1, false, os::WM_LBUTTONUP, 0},
        {3, true, os::WM_RBUTTONDOWN, 0},        {2, false, os::WM_MBUTTONUP, 0},
        {8, true, os::WM_XBUTTONDOWN, 1u << 16}, {9, false, os::WM_XBUTTONUP, 2u << 16},
    };
    for (const Case& c : cases) {
        got_.clear();
        source_->OfferButton({c.button, c.down, -20, 1079, 0});
        ASSERT_EQ(got_.size(), 1u) << c.button;
        EXPECT_EQ(got_[0].wParam, c.wm) << c.button;
        EXPECT_EQ(got_[0].mouse.x, -20) << c.button;
        EXPECT_EQ(got_[0].mouse.y, 1079) << c.button;
        EXPECT_EQ(got_[0].mouse.mouseData, c.mouseData) << c.button;
    }
    got_.clear();
    source_->OfferButton({4, true, 0, 0, 0});  // the wheel is not a button of the record
    EXPECT_TRUE(got_.empty());
}

TEST_F(SyntheticHookTest, InstallAndUninstallKeepExactlyOneCapture) {
    EXPECT_EQ(hook_->Uninstall(), 0);  // nothing installed
    ASSERT_EQ(hook_->Install(1, target_, true, true), 1);
    ASSERT_EQ(hook_->Install(4, target_, true, true), 1);
    EXPECT_TRUE(source_->Active());
    EXPECT_EQ(hook_->Mode(), 4);
    got_.clear();
    Key(KEY_B, true);
    ASSERT_EQ(got_.size(), 1u);  // one capture, one report
    EXPECT_EQ(got_[0].msg, Msg("WM_HOOK_KEY_KBMACRO_MSG"));
    EXPECT_EQ(hook_->Uninstall(), 1);
    EXPECT_FALSE(source_->Active());
    EXPECT_FALSE(Key(KEY_B, true));  // the key goes where it was meant to
    EXPECT_EQ(hook_->Uninstall(), 0);
}

TEST_F(SyntheticHookTest, TheCaptureSwitchMessageStartsKeyCaptureAndEndsAnyCapture) {
    hook_->OnCaptureSwitch(1, target_);
    EXPECT_TRUE(source_->Active());
    EXPECT_EQ(hook_->Mode(), 1);
    EXPECT_EQ(hook_->Target(), target_);
    hook_->OnCaptureSwitch(2, target_);  // not a switch value
    EXPECT_TRUE(source_->Active());
    hook_->OnCaptureSwitch(0, target_);
    EXPECT_FALSE(source_->Active());
    // A recording's capture ends on it too (a device switch while the hook is in use).
    ASSERT_EQ(hook_->Install(8, target_, true, true), 1);
    hook_->OnCaptureSwitch(0, target_);
    EXPECT_FALSE(source_->Active());
}

TEST_F(SyntheticHookTest, FailedInstallCapturesNothingAndSaysWhy) {
    ASSERT_EQ(hook_->Install(1, target_, true, true), 1);
    source_->FailNextStart("another program holds the keyboard");
    EXPECT_EQ(hook_->Install(4, target_, true, true), 0);
    EXPECT_NE(hook_->LastError().find("another program holds the keyboard"), std::string::npos);
    EXPECT_FALSE(source_->Active());
    EXPECT_EQ(hook_->Mode(), 1);  // mode and window keep their values
    got_.clear();
    EXPECT_FALSE(Key(KEY_A, true));
    source_->OfferButton({1, true, 0, 0, 0});
    EXPECT_TRUE(got_.empty());
    EXPECT_EQ(hook_->Uninstall(), 0);
}

TEST_F(SyntheticHookTest, CaptureEndsWithTheReceivingWindow) {
    ASSERT_EQ(hook_->Install(4, target_, true, true), 1);
    os::DestroyTarget(target_);
    target_ = 0;
    Key(KEY_A, true);
    EXPECT_FALSE(source_->Active());
    EXPECT_FALSE(Key(KEY_A, false));
}

TEST_F(SyntheticHookTest, FocusOnlyNoticeIsGivenOnce) {
    EXPECT_FALSE(hook_->TakeFocusOnlyNotice());  // a synthetic source is not focus-only
    CDeviceHook focusHook(
        std::make_unique<os::ForwardedInputCapture>(os::InputCapture::Kind::kFocusWindow));
    EXPECT_TRUE(focusHook.FocusOnly());
    EXPECT_TRUE(focusHook.TakeFocusOnlyNotice());
    EXPECT_FALSE(focusHook.TakeFocusOnlyNotice());
}

TEST_F(SyntheticHookTest, TheFocusWindowSourceTakesTheWindowsKeys) {
    CDeviceHook focusHook(
        std::make_unique<os::ForwardedInputCapture>(os::InputCapture::Kind::kFocusWindow));
    EXPECT_FALSE(os::FocusCaptureActive());
    EXPECT_FALSE(os::OfferKeyToFocusCapture({KEY_A, true, false, 1}));  // not installed
    ASSERT_EQ(focusHook.Install(1, target_, true, true), 1);
    EXPECT_TRUE(os::FocusCaptureActive());
    got_.clear();
    EXPECT_TRUE(os::OfferKeyToFocusCapture({KEY_A, true, false, 1}));
    ASSERT_EQ(got_.size(), 1u);
    EXPECT_EQ(got_[0].key.scanCode, 0x1Eu);
    focusHook.Uninstall();
    EXPECT_FALSE(os::OfferKeyToFocusCapture({KEY_A, false, false, 2}));
}

TEST(FocusWindowCapture, WindowKeysAreNamedByTheirLinuxKeyCodes) {
    const std::pair<int, int> cases[] = {
        {0x04, KEY_A},        {0x1E, KEY_1},         {0x28, KEY_ENTER},    {0x58, KEY_KPENTER},
        {0x50, KEY_LEFT},     {0x4C, KEY_DELETE},    {0x39, KEY_CAPSLOCK}, {0x53, KEY_NUMLOCK},
        {0xE0, KEY_LEFTCTRL}, {0xE4, KEY_RIGHTCTRL}, {0xE6, KEY_RIGHTALT}, {0xE7, KEY_RIGHTMETA},
    };
    for (const auto& [usage, key] : cases) EXPECT_EQ(LinuxKeyForUsage(usage), key) << usage;
    EXPECT_EQ(LinuxKeyForUsage(0), std::nullopt);
    EXPECT_EQ(LinuxKeyForUsage(0xE8), std::nullopt);
}

TEST(FocusWindowCapture, EveryLanguageHasTheNotice) {
    const std::filesystem::path skin = std::filesystem::path(BRASVIK_SOURCE_DIR) / "data/skin";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(skin)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("lan_", 0) != 0) continue;
        ++files;
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        EXPECT_NE(text.find(std::string("id=\"") + kFocusOnlyNoticeText + "\""), std::string::npos)
            << name;
    }
    EXPECT_GT(files, 0);
}

// The whole way on a real X display: a user types into another program while mode 4 records.
class X11HookTest : public HookTest {
  protected:
    void SetUp() override {
        if (!xvfb_.ok()) GTEST_SKIP() << xvfb_.error();
        HookTest::SetUp();
        ASSERT_TRUE(client_.ok());
        ASSERT_TRUE(driver_.ok());
        auto source = os::CreateX11InputCapture();
        ASSERT_NE(source, nullptr);
        hook_ = std::make_unique<CDeviceHook>(std::move(source));
    }
    void TearDown() override {
        hook_.reset();
        HookTest::TearDown();
    }
    bool Serve(const std::function<bool()>& done) { return os::testing::ServeUntil(loop_, done); }

    os::testing::XvfbDisplay xvfb_;
    os::testing::XClientWindow client_;
    os::testing::XTestDriver driver_;
    std::unique_ptr<CDeviceHook> hook_;
};

TEST_F(X11HookTest, KeysTypedIntoAnotherProgramReachTheWindowWithTheirScanCodes) {
    ASSERT_EQ(hook_->Install(4, target_, true, true), 1) << hook_->LastError();
    struct Case {
        int linuxKey;
        uint32_t vk, scan;
        bool extended;
    };
    const Case cases[] = {
        {KEY_ESC, 27, 0x01, false},
        {KEY_Q, 'Q', 0x10, false},
        {KEY_5, '5', 0x06, false},
        {KEY_ENTER, 13, 0x1C, false},
        {KEY_KPENTER, 257, 0x1C, true},  // the key table's own lead value    {KEY_LEFTCTRL, 162,
                                         // 0x1D, false},
        {KEY_RIGHTCTRL, 163, 0x1D, true},
        {KEY_RIGHTALT, 165, 0x38, true},
        {KEY_KPSLASH, 111, 0x35, true},
        {KEY_HOME, 36, 0x47, true},
        {KEY_UP, 38, 0x48, true},
        {KEY_PAGEDOWN, 34, 0x51, true},
        {KEY_INSERT, 45, 0x52, true},
        {KEY_LEFTMETA, 91, 0x5B, true},
        {KEY_F12, 123, 0x58, false},
        {KEY_KP7, 103, 0x47, false},
    };
    for (const Case& c : cases) {
        got_.clear();
        driver_.Tap(static_cast<unsigned>(c.linuxKey + 8));
        ASSERT_TRUE(Serve([&] { return got_.size() >= 2; })) << c.linuxKey;
        ASSERT_EQ(got_.size(), 2u) << c.linuxKey;
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(got_[i].msg, Msg("WM_HOOK_KEY_KBMACRO_MSG")) << c.linuxKey;
            EXPECT_EQ(got_[i].key.scanCode, c.scan) << c.linuxKey;
            EXPECT_EQ((got_[i].key.flags & LLKHF_EXTENDED) != 0, c.extended) << c.linuxKey;
            EXPECT_EQ((got_[i].key.flags & LLKHF_UP) != 0, i == 1) << c.linuxKey;
        }
        EXPECT_EQ(got_[0].key.vkCode, c.vk) << c.linuxKey;
        // Right Alt alone is a system key, as the left one is.
        const bool alt = c.linuxKey == KEY_RIGHTALT;
        EXPECT_EQ(got_[0].wParam, alt ? os::WM_SYSKEYDOWN : os::WM_KEYDOWN) << c.linuxKey;
        EXPECT_EQ(got_[1].wParam, alt ? os::WM_SYSKEYUP : os::WM_KEYUP) << c.linuxKey;
    }
    EXPECT_EQ(client_.KeyPresses(), 0);

    // A back-button click on the other program reaches the window and the program alike.
    got_.clear();
    driver_.MovePointer(30, 40);
    driver_.Button(8, true);
    driver_.Button(8, false);
    ASSERT_TRUE(Serve([&] { return got_.size() >= 2; }));
    EXPECT_EQ(got_[0].msg, Msg("WM_HOOK_KEY_MSMACRO_MSG"));
    EXPECT_EQ(got_[0].wParam, os::WM_XBUTTONDOWN);
    EXPECT_EQ(got_[0].mouse.mouseData >> 16, XBUTTON1);
    EXPECT_EQ(got_[0].mouse.x, 30);
    EXPECT_EQ(got_[0].mouse.y, 40);
    EXPECT_EQ(client_.ButtonPresses(), 1);

    EXPECT_EQ(hook_->Uninstall(), 1);
    EXPECT_FALSE(driver_.KeyboardGrabbed());
    driver_.Tap(KEY_A + 8);
    EXPECT_EQ(client_.KeyPresses(), 1);
}

TEST_F(X11HookTest, InstallTwiceThenUninstallLeavesNoGrab) {
    ASSERT_EQ(hook_->Install(1, target_, true, true), 1) << hook_->LastError();
    ASSERT_EQ(hook_->Install(4, target_, true, true), 1) << hook_->LastError();
    EXPECT_TRUE(driver_.KeyboardGrabbed());
    EXPECT_EQ(hook_->Uninstall(), 1);
    EXPECT_FALSE(driver_.KeyboardGrabbed());
    EXPECT_EQ(hook_->Uninstall(), 0);
}

TEST_F(X11HookTest, KeyboardHeldElsewhereFailsInstall) {
    ASSERT_TRUE(client_.GrabKeyboard());
    EXPECT_EQ(hook_->Install(4, target_, true, true), 0);
    EXPECT_EQ(hook_->LastError(),
              "input hook: key capture is not possible: another program holds the keyboard");
    client_.UngrabKeyboard();
    EXPECT_FALSE(driver_.KeyboardGrabbed());
}

// Where the desktop has no global capture, the program's own window hands its keys to the hook
// and its field gets no text; buttons are reported and still reach the window.
TEST_F(X11HookTest, OwnWindowHandsItsKeysToTheFocusWindowCapture) {
    ASSERT_TRUE(toolkit::InstallSdlBackend(loop_));
    {
        toolkit::DriverWindow wnd(R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,200">
  <VerticalLayout bkcolor="#FF202428"><Edit name="field" height="40"/></VerticalLayout>
</Window>)");
        ASSERT_NE(wnd.Create(0, "Own", toolkit::UI_WNDSTYLE_DIALOG, 0, 500, 100, 320, 200), 0u);
        wnd.ShowWindow(true);
        SDL_Window* sdlWindow = nullptr;
        ASSERT_TRUE(Serve([&] {
            for (uint32_t id = 1; id < 32 && sdlWindow == nullptr; ++id) {
                SDL_Window* w = SDL_GetWindowFromID(id);
                if (w != nullptr && (SDL_GetWindowFlags(w) & SDL_WINDOW_SHOWN)) sdlWindow = w;
            }
            return sdlWindow != nullptr;
        }));
        toolkit::CControlUI* field = wnd.GetPaintManager().FindControl("field");
        ASSERT_NE(field, nullptr);
        field->SetFocus();

        CDeviceHook focusHook(
            std::make_unique<os::ForwardedInputCapture>(os::InputCapture::Kind::kFocusWindow));
        ASSERT_EQ(focusHook.Install(4, target_, true, true), 1);

        const uint32_t id = SDL_GetWindowID(sdlWindow);
        const auto push = [&](SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); };
        const auto key = [&](uint32_t type, SDL_Scancode sc) {
            SDL_Event e{};
            e.type = type;
            e.key.windowID = id;
            e.key.keysym.scancode = sc;
            push(e);
        };
        const auto text = [&](const char* t) {
            SDL_Event e{};
            e.type = SDL_TEXTINPUT;
            e.text.windowID = id;
            std::snprintf(e.text.text, sizeof e.text.text, "%s", t);
            push(e);
        };
        // The backend reads its queue when the display connection stirs: move the pointer.
        int wiggle = 0;
        const auto serveUntil = [&](const std::function<bool()>& done) {
            return Serve([&] {
                driver_.MovePointer(600 + (++wiggle % 2), 150);
                return done();
            });
        };
        key(SDL_KEYDOWN, SDL_SCANCODE_RALT);
        text("x");
        key(SDL_KEYUP, SDL_SCANCODE_RALT);
        SDL_Event click{};
        click.type = SDL_MOUSEBUTTONDOWN;
        click.button.windowID = id;
        click.button.button = SDL_BUTTON_X1;
        click.button.x = 10;
        click.button.y = 20;
        push(click);
        ASSERT_TRUE(serveUntil([&] { return got_.size() >= 3; }));
        ASSERT_EQ(got_.size(), 3u);
        EXPECT_EQ(got_[0].msg, Msg("WM_HOOK_KEY_KBMACRO_MSG"));
        EXPECT_EQ(got_[0].wParam, os::WM_SYSKEYDOWN);
        EXPECT_EQ(got_[0].key.scanCode, 0x38u);
        EXPECT_EQ(got_[0].key.flags & LLKHF_EXTENDED, LLKHF_EXTENDED);
        EXPECT_EQ(got_[1].wParam, os::WM_SYSKEYUP);
        EXPECT_EQ(got_[2].msg, Msg("WM_HOOK_KEY_MSMACRO_MSG"));
        EXPECT_EQ(got_[2].wParam, os::WM_XBUTTONDOWN);
        EXPECT_EQ(got_[2].mouse.mouseData >> 16, XBUTTON1);
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(sdlWindow, &wx, &wy);
        EXPECT_EQ(got_[2].mouse.x, wx + 10);
        EXPECT_EQ(got_[2].mouse.y, wy + 20);
        EXPECT_EQ(field->GetText(), "");

        // Once the capture ends, the window types again.
        focusHook.Uninstall();
        text("y");
        EXPECT_TRUE(serveUntil([&] { return field->GetText() == "y"; })) << field->GetText();
        wnd.DestroyWindow();
    }
    toolkit::UninstallSdlBackend();
}

}  // namespace
}  // namespace ui
