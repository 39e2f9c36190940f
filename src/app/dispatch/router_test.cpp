#include "app/dispatch/router.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/dispatch/testing/fake_device_bar.h"
#include "app/main_wnd_ids.h"
#include "device/quendal_usb_device.h"
#include "hid/device_scan_thread.h"
#include "os/messages.h"
#include "os/power_events.h"
#include "toolkit/controls/slider_ui.h"
#include "toolkit/window_wnd.h"

namespace app::dispatch {
namespace {

// Records what the routes ask of the window.
class RecordingWindow : public IWindowRoutes {
  public:
    std::vector<std::string> calls;
    void Note(std::string what) { calls.push_back(std::move(what)); }

    void OnRootResized() override { Note("root resized"); }
    void CloseToTray() override { Note("close to tray"); }
    void SysCommand(uint32_t c) override { Note("syscommand " + std::to_string(c)); }
    void OpenSkinWindow(toolkit::CControlUI*) override { Note("skin"); }
    void OpenSettingsWindow(bool centred) override {
        Note(centred ? "settings centred" : "settings");
    }
    void OpenAboutWindow() override { Note("about"); }
    void HideWindow() override { Note("hide"); }
    void ToggleLightControl() override { Note("toggle light control"); }
    void OpenSystemSettings(int which) override {
        Note("system settings " + std::to_string(which));
    }
    void ResetSelectedToDefaults() override { Note("defaults"); }
    void StartWindowTimer(uintptr_t id, int ms) override {
        Note("timer " + std::to_string(id) + " " + std::to_string(ms));
    }
    void SetControlText(const std::string& name, const std::string& text) override {
        Note(name + "=" + text);
    }
    void SetInputHook(bool on) override { Note(on ? "hook on" : "hook off"); }
    void OnActivate(toolkit::WPARAM) override { Note("activate"); }
    void OnMouseLeave() override { Note("leave"); }
    void OnMouseHover() override { Note("hover"); }
    void OnMouseWheel() override { Note("wheel"); }
    void OnTitleMessage(toolkit::WPARAM, toolkit::LPARAM) override { Note("title"); }
    void ForwardToSettings(uint32_t, toolkit::WPARAM, toolkit::LPARAM) override { Note("forward"); }
    void OnLightControlMessage(toolkit::WPARAM, toolkit::LPARAM) override { Note("light control"); }
    void ReportToRuvuDuvo() override { Note("ruvuduvo"); }
    void OnDestroyMessage() override { Note("destroy"); }
    void OnSuspend() override { Note("suspend"); }
    void OnResume() override { Note("resume"); }
    void OnCopyData(toolkit::WPARAM, toolkit::LPARAM) override { Note("copydata"); }
    void OnDisplayChange() override { Note("display"); }
    void OnDpiChanged(toolkit::WPARAM, toolkit::LPARAM) override { Note("dpi"); }
    void OnTrayIcon(toolkit::LPARAM) override { Note("tray"); }
    void OnMenuCommand(toolkit::WPARAM) override { Note("menu"); }
    void ShowSettingProgress() override { Note("progress"); }
    void ApplyLanguage(int i) override { Note("language " + std::to_string(i)); }
    void ClearSettingsBadge() override { Note("badge"); }
    void OnFirmwareVersion(int, int v) override { Note("firmware " + std::to_string(v)); }
    bool OnTimer(uintptr_t id) override {
        Note("on timer " + std::to_string(id));
        return true;
    }
    void OnDpiLayoutTimer() override { Note("dpi layout"); }
    void OpenTrayMenu() override { Note("tray menu"); }
};

using testing::FakeDeviceBar;
using testing::RecordingLighting;
using TestDevice = testing::RecordingDevice;

TEST(RouterNames, SplitsAPrefixAndItsNumberOnce) {
    struct Case {
        const char* name;
        const char* prefix;
        int n;
    } cases[] = {
        {"DPI_slider_2", "DPI_slider_", 2},
        {"tilmo_DPI_slider_15", "tilmo_DPI_slider_", 15},
        {"6533_eq_option_0", "6533_eq_option_", 0},
        {"key_169", "key_", 169},
        {"setbtn1", "setbtn1", -1},  // digits without "_" before them
        {"key_", "key_", -1},
        {"Virtual7.1_Op_tab", "Virtual7.1_Op_tab", -1},
        {"_7", "_7", -1},
        {"key_12345678901", "key_12345678901", -1},  // too long for a number
        {"", "", -1},
    };
    for (const Case& c : cases) {
        const SplitName split = SplitControlName(c.name);
        EXPECT_EQ(split.prefix, c.prefix) << c.name;
        EXPECT_EQ(split.n, c.n) << c.name;
    }
}

TEST(RouterNames, FindsRowsWithoutRegardToCase) {
    struct Case {
        const char* type;
        const char* name;
        const char* row;  // null: no route
        int n;
    } cases[] = {
        {"click", "CLOSEBTN", "closebtn", -1},
        {"CLICK", "closebtn", "closebtn", -1},
        {"valuechanged", "dpi_SLIDER_3", "DPI_slider_", 3},
        {"movevaluechanged", "tilmo_dpi_slider_1", "tilmo_DPI_slider_", 1},
        {"movevaluechanged", "DPI_slider_1", "DPI_slider_", 1},
        {"click", "key_butt_keysave", "key_butt_keysave", -1},
        {"click", "Key_7", "key_", 7},
        {"click", "windowdeviceset_1", "windowdeviceset_", 1},
        {"selectchanged", "virtual7.1_op_tab", "Virtual7.1_Op_tab", -1},
        {"killfocus", "macro_delay", "macro_delay", -1},
        {"click", "macro_delay", "macro_delay", -1},
        {"click", "no_such_button", nullptr, -1},
        {"click", "DPI_slider_2", nullptr, -1},  // a slider's name under another type
        {"msenter", "closebtn", nullptr, -1},
    };
    for (const Case& c : cases) {
        int n = 99;
        const Route* route = Router::FindRoute(c.type, c.name, &n);
        if (c.row == nullptr) {
            EXPECT_EQ(route, nullptr) << c.type << " " << c.name;
            continue;
        }
        ASSERT_NE(route, nullptr) << c.type << " " << c.name;
        EXPECT_EQ(route->name, c.row) << c.type << " " << c.name;
        EXPECT_EQ(n, c.n) << c.type << " " << c.name;
    }
}

TEST(RouterTables, NoNameIsRoutedTwiceAndNoMessageTwice) {
    std::set<std::tuple<std::string, std::string, bool>> seen;
    for (const RouteTable& table : NotifyRouteTables()) {
        for (const Route& route : table.routes) {
            const auto key = std::make_tuple(toolkit::ToLowerAscii(table.type),
                                             toolkit::ToLowerAscii(route.name), route.indexed);
            EXPECT_TRUE(seen.insert(key).second) << table.type << " " << route.name;
            EXPECT_NE(route.handler, nullptr) << route.name;
            EXPECT_EQ(route.indexed, !route.name.empty() && route.name.back() == '_') << route.name;
        }
    }
    std::set<std::tuple<int, uint32_t, int64_t>> messages;
    for (const MessageRow& row : MessageTable()) {
        const auto key = std::make_tuple(static_cast<int>(row.source), row.number, row.wParam);
        EXPECT_TRUE(messages.insert(key).second) << row.meaning;
    }
    // Once a row is gated, every row after it is.
    bool gated = false;
    for (const MessageRow& row : MessageTable()) {
        if (gated) {
            EXPECT_EQ(row.gate, Gate::kAwake) << row.meaning;
        }
        gated = gated || row.gate == Gate::kAwake;
    }
    EXPECT_TRUE(gated);
}

class RouterTest : public ::testing::Test {
  protected:
    FakeDeviceBar bar_;
    RecordingWindow window_;
    Router router_{window_};

    toolkit::TNotifyUI Event(const char* type, toolkit::CControlUI& sender) {
        toolkit::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = &sender;
        return msg;
    }
};

TEST_F(RouterTest, ReachesTheTargetOrDropsTheEvent) {
    toolkit::CSliderUI slider;
    slider.SetName("DPI_slider_2");
    slider.SetMaxValue(127);
    slider.SetValue(40);
    toolkit::TNotifyUI moved = Event("valuechanged", slider);

    // No device bar: taken by its row, dropped.
    EXPECT_TRUE(router_.Notify(moved));
    router_.SetDeviceBar(&bar_);
    // No device selected, then a keyboard: still no selected mouse.
    EXPECT_TRUE(router_.Notify(moved));
    TestDevice keyboard(1);
    bar_.selected = &keyboard;
    EXPECT_TRUE(router_.Notify(moved));
    EXPECT_TRUE(keyboard.calls.empty());
    // A mouse (also behind the receiver) gets the stage and value.
    TestDevice mouse(6);
    bar_.selected = &mouse;
    EXPECT_TRUE(router_.Notify(moved));
    EXPECT_EQ(mouse.calls, (std::vector<std::string>{"dpi 2=40"}));

    // "custom_bright_color_btn" with a mouse selected does nothing; with a keyboard it fills.
    toolkit::CControlUI button;
    button.SetName("custom_bright_color_btn");
    toolkit::TNotifyUI click = Event("click", button);
    EXPECT_TRUE(router_.Notify(click));
    EXPECT_EQ(mouse.calls.size(), 1u);
    bar_.selected = &keyboard;
    EXPECT_TRUE(router_.Notify(click));
    EXPECT_EQ(keyboard.calls, (std::vector<std::string>{"fill on"}));

    // A panel route: dropped while the page has no lighting panel, delivered once it has.
    button.SetName("color_option_4");
    click = Event("click", button);
    EXPECT_TRUE(router_.Notify(click));
    RecordingLighting lighting;
    keyboard.lighting = &lighting;
    EXPECT_TRUE(router_.Notify(click));
    EXPECT_EQ(lighting.calls, (std::vector<std::string>{"colour 4"}));

    // Window rows need no device bar; unknown names are not taken.
    router_.SetDeviceBar(nullptr);
    button.SetName("MinBtn");
    click = Event("click", button);
    EXPECT_TRUE(router_.Notify(click));
    button.SetName("unknown_btn");
    click = Event("click", button);
    EXPECT_FALSE(router_.Notify(click));
    EXPECT_EQ(window_.calls,
              (std::vector<std::string>{"syscommand " + std::to_string(toolkit::SC_MINIMIZE)}));
}

TEST_F(RouterTest, SliderLabelsAndTheDragEditShowTheValue) {
    toolkit::CSliderUI slider;
    slider.SetMaxValue(255);
    slider.SetValue(200);
    slider.SetName("G_light_slider");
    toolkit::TNotifyUI msg = Event("valuechanged", slider);
    router_.Notify(msg);
    slider.SetName("tilmo_DPI_slider_3");
    msg = Event("movevaluechanged", slider);
    router_.Notify(msg);
    EXPECT_EQ(window_.calls,
              (std::vector<std::string>{"G_light_label=G 200", "tilmo_DPI_edit_3=200"}));
}

TEST_F(RouterTest, MessagesBelowTheGateWaitForTheSystemToWake) {
    router_.SetDeviceBar(&bar_);
    bool handled = false;
    // Asleep: the removal and the timer are ignored; power and activation still arrive.
    EXPECT_TRUE(router_.Message(hid::WM_DEVICE_REMOVAL, 3, 0, false, handled));
    EXPECT_TRUE(router_.Message(os::WM_TIMER, kDpiLayoutTimer, 0, false, handled));
    EXPECT_TRUE(router_.Message(os::WM_ACTIVATE, 1, 0, false, handled));
    EXPECT_TRUE(
        router_.Message(os::WM_POWERBROADCAST, os::PBT_APMRESUMEAUTOMATIC, 0, false, handled));
    EXPECT_TRUE(bar_.calls.empty());
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"activate", "resume"}));
    // Awake: they go through.
    EXPECT_TRUE(router_.Message(hid::WM_DEVICE_REMOVAL, 3, 0, true, handled));
    EXPECT_TRUE(router_.Message(UWM_ITEM_SHOW_MSG, 1, 0, true, handled));
    EXPECT_EQ(bar_.calls, (std::vector<std::string>{"removal 3", "item 1 hidden"}));
    // Power codes other than suspend and resume, and unknown messages, are not taken.
    EXPECT_FALSE(
        router_.Message(os::WM_POWERBROADCAST, os::PBT_APMRESUMESUSPEND, 0, true, handled));
    EXPECT_FALSE(router_.Message(0x7777, 0, 0, true, handled));
    // The menu command is handled; the timer is handled when it is the window's.
    EXPECT_TRUE(router_.Message(UWM_MENU_COMMAND_MSG, 0, 0, true, handled));
    EXPECT_TRUE(handled);
    handled = false;
    EXPECT_TRUE(router_.Message(os::WM_TIMER, kTrayMenuTimer, 0, true, handled));
    EXPECT_TRUE(handled);
}

TEST_F(RouterTest, TimersReachTheirOwners) {
    router_.SetDeviceBar(&bar_);
    TestDevice keyboard(1);
    RecordingLighting lighting;
    keyboard.lighting = &lighting;
    bar_.selected = &keyboard;
    EXPECT_TRUE(router_.Timer(kDpiLayoutTimer));
    EXPECT_TRUE(router_.Timer(kReceiverPollTimer));
    EXPECT_TRUE(router_.Timer(kGameLightingTimer));
    EXPECT_TRUE(router_.Timer(kApplyProfileTimer));  // no profile panel: dropped
    EXPECT_FALSE(router_.Timer(4242));
    EXPECT_EQ(window_.calls, (std::vector<std::string>{"dpi layout"}));
    EXPECT_EQ(bar_.calls, (std::vector<std::string>{"poll"}));
    EXPECT_EQ(lighting.calls, (std::vector<std::string>{"restore"}));
}

}  // namespace
}  // namespace app::dispatch
