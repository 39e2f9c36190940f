#include "app/main_wnd.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/app_globals.h"
#include "app/dispatch/testing/fake_device_bar.h"
#include "app/msg_wnd.h"
#include "app/tray_menu_anchor.h"
#include "hid/device_scan_thread.h"
#include "os/event.h"
#include "os/power_events.h"
#include "os/testing/private_session_bus.h"
#include "os/testing/tray_watcher.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/menu_wnd.h"
#include "toolkit/skin_changed_observer.h"
#include "toolkit/testing/skin_fixture.h"

namespace app {
namespace {

using toolkit::UiPoint;
using toolkit::UiRect;

// A main skin with the names the window looks for; the shipped one has the same names.
constexpr const char* kMainSkin = R"(<Window size="800,572" caption="0,0,0,40">
  <VerticalLayout name="root" bkcolor="#FF15171B">
    <HorizontalLayout height="40">
      <Control/>
      <Button name="skinbtn" width="30" height="30"/>
      <Button name="minbtn" width="30" height="30"/>
      <Button name="maxbtn" width="30" height="30"/>
      <Button name="restorebtn" width="30" height="30"/>
      <Button name="closebtn" width="30" height="30"/>
    </HorizontalLayout>
    <Label name="No_device_Link" text="no device" visible="false"/>
    <HorizontalLayout height="30">
      <Button name="default_btn" width="60"/>
      <Button name="control_light_status" width="120"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

constexpr const char* kMenuSkin = R"(<Window>
  <Menu width="120">
    <MenuElement name="setwnd_menu" text="Settings" height="30"/>
    <MenuElement name="exit" text="Exit" height="30"/>
  </Menu>
</Window>)";

bool RunUntil(os::MessageLoop& loop, const std::function<bool()>& done, int ms = 20000) {
    const int64_t until = os::MonotonicMs() + ms;
    while (!done() && os::MonotonicMs() < until) loop.RunOnce(10);
    return done();
}

class MainWndTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        if (!privateBus_.ok()) GTEST_SKIP() << "no private session bus: " << privateBus_.error();
        SkinFixture::SetUp();
        setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        unsetenv("BRASVIK_DPI");
        WriteFile("res.xml", R"(<Res><Xml name="XML_MAIN" value="main.xml"/>
<Xml name="XML_MSG" value="msgwnd.xml"/></Res>)");
        std::ifstream box(std::string(BRASVIK_SOURCE_DIR) + "/data/skin/msgwnd.xml");
        WriteFile("msgwnd.xml", std::string(std::istreambuf_iterator<char>(box), {}));
        WriteFile("main.xml", kMainSkin);
        WriteFile("menu.xml", kMenuSkin);
        ASSERT_TRUE(toolkit::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(RegisterTitleMessage());
        RegisterOtherMessages();
        ASSERT_TRUE(bus_.Connect(*loop_));
        wnd_ = std::make_unique<CMainWnd>(bus_);
        ASSERT_NE(wnd_->Create(0, kAppTitle, CMainWnd::kStyle, 0, 0, 0, CMainWnd::kCreateWidth,
                               CMainWnd::kCreateHeight),
                  0u)
            << wnd_->GetBuildError();
        wnd_->CenterWindow();
        wndDriver_ = std::make_unique<toolkit::UiTestDriver>(*wnd_, wnd_->GetPaintManager());
        wndDriver_->Render();  // the first paint sends "windowinit"
    }
    void TearDown() override {
        wndDriver_.reset();
        wnd_.reset();
        busOwner_.reset();  // before the loop it watches
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        if (loop_) SkinFixture::TearDown();
    }
    // Waits for the first device scan to show the window, then lets timer 1011 lay it out.
    void UntilShown() {
        ASSERT_TRUE(RunUntil(*loop_, [&] { return wnd_->IsShown(); }));
        wndDriver_->AdvanceTimers(100);
    }
    // Answers the next questions the window asks with their confirm (true) or cancel button, one
    // after the other, and keeps their text ids.
    void Answer(std::vector<bool> answers, toolkit::HWND previous = 0, int turns = 100000) {
        loop_->PostTask([this, answers, previous, turns] {
            CMsgWnd* box = CMsgWnd::Current();
            if (box == nullptr || box->GetHWND() == previous) {
                if (turns > 0)
                    Answer(answers, previous, turns - 1);
                else
                    ADD_FAILURE() << "no question asked";
                return;
            }
            toolkit::UiTestDriver d(*box, box->GetPaintManager());
            d.Render();
            asked_.push_back(d.Find("MessageText")->GetRawText());
            d.Click(answers.front() ? "confirm_btn" : "cancel_btn");
            if (answers.size() > 1) Answer({answers.begin() + 1, answers.end()}, box->GetHWND());
        });
    }
    void Pump() {
        for (int i = 0; i < 20; ++i) loop_->RunOnce(0);
        wndDriver_->Pump();
    }

    os::testing::PrivateSessionBus privateBus_;
    std::unique_ptr<os::SessionBus> busOwner_ = std::make_unique<os::SessionBus>();
    os::SessionBus& bus_ = *busOwner_;
    std::unique_ptr<CMainWnd> wnd_;
    std::unique_ptr<toolkit::UiTestDriver> wndDriver_;
    std::vector<std::string> asked_;  // the text ids of the questions answered
};

TEST_F(MainWndTest, ComesUpHiddenUntilTheFirstScanThenAtTheDpiLayout) {
    EXPECT_TRUE(wnd_->initialised());
    EXPECT_EQ(Globals().mainWindow.load(), wnd_->GetHWND());
    EXPECT_EQ(Globals().screenWidth.load(), 1920);
    EXPECT_TRUE(wnd_->workers().Running(kDeviceScanSlot));
    UntilShown();
    EXPECT_EQ(wnd_->wakeCount(), 1);
    // 1920 x 1080 is a large screen: 1000 x 640 at 144 DPI, centred.
    EXPECT_EQ(wnd_->GetPaintManager().GetDPI(), 144);
    EXPECT_EQ(wnd_->GetWindowRect(), (UiRect{210, 60, 1710, 1020}));
    // No device bar items yet: the no-device notice shows.
    EXPECT_TRUE(wnd_->GetPaintManager().FindControl("No_device_Link")->IsVisible());

    // Published under its class and title for the other programs.
    EXPECT_TRUE(bus_.FindWindow("MainWnd", kAppTitle));
}

TEST_F(MainWndTest, DpiLayoutFollowsTheScreenAndTheEnvironment) {
    EXPECT_EQ(CMainWnd::LayoutDpi(1920, 1080), 144);
    EXPECT_EQ(CMainWnd::LayoutDpi(1440, 900), 96);
    EXPECT_EQ(CMainWnd::LayoutDpi(1501, 960), 96);
    setenv("BRASVIK_DPI", "120", 1);
    EXPECT_EQ(CMainWnd::LayoutDpi(1920, 1080), 120);
    unsetenv("BRASVIK_DPI");
    EXPECT_EQ(CMainWnd::AcceptedDpi(168), 168);
    EXPECT_EQ(CMainWnd::AcceptedDpi(100), 96);

    UntilShown();
    setenv("BRASVIK_DPI", "96", 1);
    wnd_->SendMessage(os::WM_DISPLAYCHANGE, 0, 0);
    unsetenv("BRASVIK_DPI");
    EXPECT_EQ(wnd_->GetPaintManager().GetDPI(), 96);
    EXPECT_EQ(wnd_->GetWindowRect(), (UiRect{460, 220, 1460, 860}));
    EXPECT_TRUE(wnd_->IsShown());

    // The desktop's suggestion on a DPI change: the DPI and the size, centred.
    const UiRect suggested{0, 0, 1250, 800};
    wnd_->SendMessage(os::WM_DPICHANGED, 120, reinterpret_cast<os::LPARAM>(&suggested));
    EXPECT_EQ(wnd_->GetPaintManager().GetDPI(), 120);
    EXPECT_EQ(wnd_->GetWindowRect(), (UiRect{335, 140, 1585, 940}));
}

TEST_F(MainWndTest, TitleBarButtonsHideMinimiseMaximiseAndRestore) {
    UntilShown();
    ASSERT_TRUE(wndDriver_->Click("minbtn"));
    EXPECT_TRUE(wnd_->IsIconic());
    EXPECT_FALSE(wnd_->IsShown());
    ASSERT_TRUE(wndDriver_->Click("restorebtn"));
    EXPECT_TRUE(wnd_->IsShown());
    ASSERT_TRUE(wndDriver_->Click("maxbtn"));
    EXPECT_TRUE(wnd_->IsZoomed());
    ASSERT_TRUE(wndDriver_->Click("restorebtn"));

    // Without a notification area the icon that brings the window back is missing: close
    // minimises instead of hiding.
    ASSERT_FALSE(wnd_->trayIcon().Registered());
    ASSERT_TRUE(wndDriver_->Click("closebtn"));
    Pump();
    EXPECT_TRUE(wnd_->IsWindowVisible());
    EXPECT_TRUE(wnd_->IsIconic());
    ASSERT_TRUE(wndDriver_->Click("restorebtn"));

    // Once a notification area shows the icon, close hides to the tray; the program keeps
    // running.
    os::testing::TrayWatcher watcher;
    ASSERT_TRUE(RunUntil(*loop_, [&] { return wnd_->trayIcon().Registered(); }));
    ASSERT_TRUE(wndDriver_->Click("closebtn"));
    Pump();
    EXPECT_FALSE(wnd_->IsWindowVisible());
    EXPECT_NE(wnd_->GetHWND(), 0u);
    EXPECT_FALSE(loop_->QuitRequested());
    EXPECT_TRUE(wnd_->trayIcon().Created());
    EXPECT_TRUE(wnd_->workers().HasSlots());

    // A second start (the title message with 0, 1 from another program) shows it again.
    os::SessionBus second;
    ASSERT_TRUE(second.Connect(*loop_));
    ASSERT_TRUE(second.Broadcast(Globals().UWM_TITLE_MSG, 0, 1));
    ASSERT_TRUE(RunUntil(*loop_, [&] { return wnd_->IsShown(); }));
    EXPECT_EQ(wnd_->wakeCount(), 2);
}

TEST_F(MainWndTest, SkinChangesRestyleTheRoot) {
    toolkit::CControlUI* root = wnd_->GetPaintManager().FindControl("root");
    toolkit::SkinChangedParam colour{true, 0xFF204060, ""};
    EXPECT_EQ(toolkit::CSkinChangedObserver::GetInstance().Broadcast(colour), 1);
    EXPECT_EQ(root->GetBkColor(), 0xFF204060u);
    toolkit::SkinChangedParam picture{false, 0, "common/background.png"};
    toolkit::CSkinChangedObserver::GetInstance().Broadcast(picture);
    EXPECT_EQ(root->GetBkColor(), 0u);
    EXPECT_EQ(root->GetBkImage(), "common/background.png");
}

TEST_F(MainWndTest, TrayClicksToggleTheWindowAndOpenTheMenuWhoseExitShutsDown) {
    os::testing::TrayWatcher watcher;
    ASSERT_TRUE(RunUntil(*loop_, [&] { return wnd_->trayIcon().Registered(); }));
    UntilShown();
    // The watcher's calls wait for the icon's answer, so they run beside this loop.
    auto click = [&](const std::string& member, int x, int y) {
        os::Event done;
        std::thread t([&] {
            watcher.Click(member, x, y);
            done.Set();
        });
        RunUntil(*loop_, [&] { return done.Wait(0) != os::kWaitTimeout; });
        t.join();
        Pump();
    };
    click("Activate", 100, 100);
    EXPECT_FALSE(wnd_->IsWindowVisible());
    click("Activate", 100, 100);
    EXPECT_TRUE(wnd_->IsShown());
    EXPECT_EQ(wnd_->GetPaintManager().GetDPI(), 144);  // brought back at the DPI layout

    // A right click opens the menu 10 ms later at the cursor (no panel known).
    click("ContextMenu", 1700, 900);
    EXPECT_EQ(wnd_->trayMenu(), 0u);
    wndDriver_->AdvanceTimers(10);
    const toolkit::HWND menuHwnd = wnd_->trayMenu();
    ASSERT_NE(menuHwnd, 0u);
    auto* menu = dynamic_cast<toolkit::CMenuWnd*>(toolkit::CWindowWnd::FromHandle(menuHwnd));
    ASSERT_NE(menu, nullptr);
    const UiRect at = menu->GetWindowRect();
    EXPECT_EQ(at.left, 1700);
    EXPECT_EQ(at.top, 900);
    // "exit" ends the program through the shutdown order.
    {
        toolkit::UiTestDriver menuDriver(*menu, menu->GetPaintManager());
        ASSERT_TRUE(menuDriver.Click("exit"));
    }
    Pump();
    EXPECT_EQ(wnd_->GetHWND(), 0u);
    EXPECT_TRUE(loop_->QuitRequested());
    EXPECT_EQ(loop_->ExitCode(), 0);
    EXPECT_FALSE(wnd_->trayIcon().Created());
    EXPECT_FALSE(wnd_->workers().HasSlots());
    EXPECT_EQ(Globals().mainWindow.load(), 0u);
    EXPECT_FALSE(bus_.FindWindow("MainWnd", kAppTitle));
}

// The window with a device bar of a keyboard, a mouse, a mouse pad and a headset; the keyboard is
// selected.
class MainWndDevicesTest : public MainWndTest {
  protected:
    void SetUp() override {
        MainWndTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        bar_.devices = {&keyboard_, &mouse_, &pad_, &headset_};
        wnd_->SetDeviceBar(&bar_);
    }
    void TearDown() override {
        if (wnd_) wnd_->SetDeviceBar(nullptr);
        Globals().systemAwake = 1;
        MainWndTest::TearDown();
    }
    std::string Text(const char* name) {
        return wnd_->GetPaintManager().FindControl(name)->GetText();
    }

    testing::RecordingDevice keyboard_{1};
    testing::RecordingDevice mouse_{6};
    testing::RecordingDevice pad_{3};
    testing::RecordingDevice headset_{7};
    testing::FakeDeviceBar bar_;
};

TEST_F(MainWndDevicesTest, FirmwareBelow272AsksAndRefusingEndsTheProgram) {
    wnd_->SendMessage(UWM_FIRMWARE_VERSION_MSG, 0x22A9, 272);
    EXPECT_EQ(CMsgWnd::Current(), nullptr);
    EXPECT_TRUE(asked_.empty());
    // Confirmed, but the build ships no updater: the user is told, the program goes on.
    ASSERT_NE(access(CMainWnd::UpdaterPath().c_str(), X_OK), 0);
    Answer({true, true});
    wnd_->SendMessage(UWM_FIRMWARE_VERSION_MSG, 0x22A9, 271);
    EXPECT_EQ(asked_,
              (std::vector<std::string>{"UpdateTiShiText", "message_text_updater_missing"}));
    EXPECT_NE(wnd_->GetHWND(), 0u);
    // With the updater in place, confirming starts it in its folder with "On the upgrade".
    const std::string updater = CMainWnd::UpdaterPath();
    const std::string folder = std::filesystem::path(updater).parent_path();
    const std::string marker = dir_ + "/updater-ran";
    std::filesystem::create_directories(folder);
    std::ofstream(updater) << "#!/bin/sh\necho \"$*|$(pwd)\" > '" << marker << "'\n";
    std::filesystem::permissions(updater, std::filesystem::perms::owner_all);
    Answer({true});
    wnd_->SendMessage(UWM_FIRMWARE_VERSION_MSG, 0x22A9, 271);
    EXPECT_EQ(asked_.size(), 3u);
    for (int i = 0; i < 500 && !std::filesystem::exists(marker); ++i) os::SleepMs(10);
    std::ifstream ran(marker);
    std::string line;
    std::getline(ran, line);
    EXPECT_EQ(line, "On the upgrade|" + std::string(std::filesystem::canonical(folder)));
    std::filesystem::remove_all(folder);
    // Refused: the program ends through the shutdown order.
    Answer({false});
    wnd_->SendMessage(UWM_FIRMWARE_VERSION_MSG, 0x22A9, 271);
    EXPECT_EQ(asked_.back(), "UpdateTiShiText");
    Pump();
    EXPECT_EQ(wnd_->GetHWND(), 0u);
    EXPECT_TRUE(loop_->QuitRequested());
    EXPECT_EQ(loop_->ExitCode(), 0);
}

TEST_F(MainWndDevicesTest, DefaultsAskFirstAndResetOnlyTheSelectedDevice) {
    // Cancelled: nothing changes.
    bar_.selected = &keyboard_;
    Answer({false});
    ASSERT_TRUE(wndDriver_->Click("default_btn"));
    EXPECT_EQ(asked_, (std::vector<std::string>{"message_text_22"}));
    EXPECT_TRUE(keyboard_.calls.empty());
    // Confirmed without a selected device: nothing changes either.
    bar_.selected = nullptr;
    Answer({true});
    ASSERT_TRUE(wndDriver_->Click("default_btn"));
    EXPECT_EQ(asked_.size(), 2u);
    EXPECT_TRUE(keyboard_.calls.empty());
    // Confirmed: the selected device's default profile, key assignments and settings.
    bar_.selected = &keyboard_;
    Answer({true});
    ASSERT_TRUE(wndDriver_->Click("default_btn"));
    EXPECT_EQ(keyboard_.calls, (std::vector<std::string>{"reload profile", "write keys 0",
                                                         "write settings 0,0,1,1920,1080"}));
    EXPECT_TRUE(mouse_.calls.empty());
}

TEST_F(MainWndDevicesTest, SleepHoldsDeviceMessagesUntilResumeWhichReconciles) {
    EXPECT_EQ(keyboard_.GetLightingSwitch(), 0);
    wnd_->SendMessage(os::WM_POWERBROADCAST, os::PBT_APMSUSPEND, 0);
    EXPECT_EQ(Globals().systemAwake.load(), 0);
    wnd_->SendMessage(hid::WM_DEVICE_REMOVAL, 3, 0);
    wnd_->SendMessage(UWM_APPLY_LANGUAGE_MSG, 1, 0);
    EXPECT_TRUE(bar_.calls.empty());
    EXPECT_TRUE(keyboard_.calls.empty());
    // Activation still arrives while asleep.
    wnd_->SendMessage(os::WM_ACTIVATE, 1, 0);
    EXPECT_TRUE(wnd_->active());
    EXPECT_TRUE(pad_.GetWindowActive());

    wnd_->SendMessage(os::WM_POWERBROADCAST, os::PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ(Globals().systemAwake.load(), 1);
    EXPECT_EQ(bar_.calls, (std::vector<std::string>{"resume"}));
    // The devices take the lighting back; the headset is not one of them.
    EXPECT_EQ(keyboard_.GetLightingSwitch(), 1);
    EXPECT_EQ(pad_.GetLightingSwitch(), 1);
    EXPECT_EQ(headset_.GetLightingSwitch(), 0);
    wnd_->SendMessage(hid::WM_DEVICE_REMOVAL, 3, 0);
    EXPECT_EQ(bar_.calls.back(), "removal 3");
}

TEST_F(MainWndDevicesTest, TheLightingControlFlagFollowsTheClickAndTheControlMessage) {
    EXPECT_EQ(wnd_->lightControl(), 1);
    ASSERT_TRUE(wndDriver_->Click("control_light_status"));
    EXPECT_EQ(wnd_->lightControl(), 0);
    EXPECT_EQ(Text("control_light_status"), "不控制灯光");
    for (auto* d : {&keyboard_, &mouse_, &pad_}) EXPECT_EQ(d->GetLightingSwitch(), 0);

    const uint32_t control = Globals().UWM_LIGHT_CONTROL_MSG;
    wnd_->SendMessage(control, 0, 1);  // wParam other than 1: ignored
    EXPECT_EQ(wnd_->lightControl(), 0);
    wnd_->SendMessage(control, 1, 1);
    EXPECT_EQ(wnd_->lightControl(), 1);
    EXPECT_EQ(Text("control_light_status"), "控制灯光");
    for (auto* d : {&keyboard_, &mouse_, &pad_}) EXPECT_EQ(d->GetLightingSwitch(), 1);
}

TEST_F(MainWndDevicesTest, AudioDataReachesTheKeyboardsAndLanguageRelabelsKeyboardsAndMice) {
    std::array<int32_t, 500> frame{};
    frame[0] = 400;
    auto send = [&](uintptr_t record, const void* data, uint32_t bytes) {
        os::COPYDATASTRUCT cds{record, bytes, data};
        wnd_->SendMessage(os::WM_COPYDATA, 0, reinterpret_cast<os::LPARAM>(&cds));
    };
    send(1, frame.data(), sizeof frame);
    frame[0] = 0;
    send(1, frame.data(), sizeof frame);
    EXPECT_TRUE(keyboard_.calls.empty());
    send(1, frame.data(), 0);  // no data: not a frame
    EXPECT_TRUE(keyboard_.calls.empty());
    send(1, frame.data(), sizeof frame);
    const uint8_t bands[6] = {1, 2, 3, 4, 5, 6};
    send(2, bands, sizeof bands);
    // The third frame changed nothing against the second: level 0.
    EXPECT_EQ(keyboard_.calls, (std::vector<std::string>{"levels 500 0", "bands 6"}));
    EXPECT_TRUE(mouse_.calls.empty());
    EXPECT_EQ(wnd_->audioBands()[5], 6);

    keyboard_.calls.clear();
    wnd_->SendMessage(UWM_APPLY_LANGUAGE_MSG, 1, 0);
    EXPECT_EQ(keyboard_.calls, (std::vector<std::string>{"relabel"}));
    EXPECT_EQ(mouse_.calls, (std::vector<std::string>{"relabel"}));
    EXPECT_TRUE(pad_.calls.empty());
}

// The settings window stand-in: a message target that records what reaches it.
std::vector<uint32_t> g_settingsMessages;
os::FunctionTarget g_settingsTarget([](uint32_t msg, os::WPARAM, os::LPARAM) -> os::LRESULT {
    g_settingsMessages.push_back(msg);
    return 0;
});
os::HWND g_settingsHwnd = 0;
std::vector<std::string> g_opened;

class RecordingHook : public IInputHookTarget {
  public:
    void Install(os::HWND window) override {
        calls.push_back(window != 0 ? "install" : "install without a window");
    }
    void Remove() override { calls.push_back("remove"); }
    std::vector<std::string> calls;
};

TEST_F(MainWndDevicesTest, ChildWindowsHookAndGameLightingReachTheirOwners) {
    UntilShown();
    g_settingsMessages.clear();
    g_opened.clear();
    g_settingsHwnd = os::CreateTarget(&g_settingsTarget);
    wnd_->SetChildWindowOpeners({
        .openSettings = [](os::HWND, bool centred) -> os::HWND {
            g_opened.push_back(centred ? "settings centred" : "settings");
            return g_settingsHwnd;
        },
        .openAbout = [](os::HWND) -> os::HWND {
            g_opened.push_back("about");
            return 0;
        },
    });
    auto menu = [&](const char* name) {
        auto* cmd = new toolkit::MenuCmd;
        cmd->szName = name;
        wnd_->SendMessage(UWM_MENU_COMMAND_MSG, reinterpret_cast<os::WPARAM>(cmd), 0);
    };
    // Forwarded only while the settings window is open.
    const uint32_t forward = Globals().UWM_SETTINGS_FORWARD_MSG;
    wnd_->SendMessage(forward, 1, 2);
    wnd_->SendMessage(UWM_OPEN_SETTINGS_MSG, 0, 0);
    menu("about_menu");
    menu("setwnd_menu");
    menu("macro_copy");  // no macro editor: dropped
    EXPECT_EQ(g_opened,
              (std::vector<std::string>{"settings centred", "about", "settings centred"}));
    wnd_->SendMessage(forward, 1, 2);
    Pump();
    EXPECT_EQ(g_settingsMessages, (std::vector<uint32_t>{forward}));
    // The close button closes it.
    os::testing::TrayWatcher watcher;
    ASSERT_TRUE(RunUntil(*loop_, [&] { return wnd_->trayIcon().Registered(); }));
    ASSERT_TRUE(wndDriver_->Click("closebtn"));
    EXPECT_EQ(g_settingsMessages.back(), os::WM_CLOSE);
    EXPECT_FALSE(keyboard_.GetWindowShown());
    os::DestroyTarget(g_settingsHwnd);

    // The input hook: on and off by message, and for the key capture field's focus.
    RecordingHook hook;
    wnd_->SendMessage(UWM_INPUT_HOOK_MSG, 1, 0);  // no hook yet: dropped
    wnd_->SetInputHook(&hook);
    wnd_->SendMessage(UWM_INPUT_HOOK_MSG, 1, 0);
    wnd_->SendMessage(UWM_INPUT_HOOK_MSG, 0, 0);
    wnd_->SendMessage(UWM_INPUT_HOOK_MSG, 7, 0);
    EXPECT_EQ(hook.calls, (std::vector<std::string>{"install", "remove"}));
    wnd_->SetInputHook(nullptr);

    // A game event sets the selected device's lighting through its panel; 5 s later the panel's
    // own lighting comes back.
    testing::RecordingLighting lighting;
    keyboard_.lighting = &lighting;
    bar_.selected = &keyboard_;
    wnd_->SendMessage(Globals().gameMessages[2], 1, 9);
    EXPECT_EQ(lighting.calls, (std::vector<std::string>{"game 1 9"}));
    wndDriver_->AdvanceTimers(4999);
    EXPECT_EQ(lighting.calls.size(), 1u);
    wndDriver_->AdvanceTimers(1);
    EXPECT_EQ(lighting.calls.back(), "restore");
    wndDriver_->AdvanceTimers(5000);
    EXPECT_EQ(lighting.calls.size(), 2u);  // once
    keyboard_.lighting = nullptr;
}

TEST(TrayMenuAnchor, OpensAwayFromThePanel) {
    const UiPoint cursor{1500, 700};
    struct Case {
        const char* where;
        std::optional<UiRect> panel;
        UiPoint point;
        uint32_t alignment;
    } cases[] = {
        {"top, 40 high", UiRect{0, 0, 1920, 40}, {1500, 41}, 12},
        {"left, 60 wide", UiRect{0, 0, 60, 1080}, {61, 700}, 18},
        {"bottom from 1040", UiRect{0, 1040, 1920, 1080}, {1500, 1020}, 24},
        {"right from 1860", UiRect{1860, 0, 1920, 1080}, {1859, 700}, 24},
        {"floating", UiRect{100, 100, 300, 140}, cursor, 6},
        {"square at the origin", UiRect{0, 0, 50, 50}, cursor, 6},
        {"none", std::nullopt, cursor, 6},
    };
    for (const Case& c : cases) {
        const TrayMenuAnchor a = ComputeTrayMenuAnchor(cursor, c.panel);
        EXPECT_EQ(a.point.x, c.point.x) << c.where;
        EXPECT_EQ(a.point.y, c.point.y) << c.where;
        EXPECT_EQ(a.alignment, c.alignment) << c.where;
    }
}

}  // namespace
}  // namespace app
