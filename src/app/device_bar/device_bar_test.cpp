// The device bar in the real main window with the shipped skin, fed by simulated devices on the
// virtual HID bus: items come and go with the devices, the selection moves, the power display,
// the receiver and the reconcile after a sleep.
#include "app/device_bar/device_bar.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/device_bar/device_descriptors.h"
#include "app/device_bar/device_option_ui.h"
#include "app/device_bar/mp_device_power_ui.h"
#include "app/main_wnd.h"
#include "device/quendal_usb_device.h"
#include "os/event.h"
#include "os/hid/hid_platform.h"
#include "os/power_events.h"
#include "os/testing/private_session_bus.h"
#include "os/testing/tray_watcher.h"
#include "sim/demo.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/progress_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace app {
namespace {

constexpr int kKeyboard = 0, kMouse = 1, kPad = 2, kHeadset = 3;  // item indexes

class DeviceBarTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        if (!privateBus_.ok()) GTEST_SKIP() << "no private session bus: " << privateBus_.error();
        SkinFixture::SetUp();
        setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        unsetenv("BRASVIK_DPI");
        // The shipped skin, as the program lays it out beside itself.
        toolkit::CPaintManagerUI::SetResourcePath(std::string(BRASVIK_BINARY_DIR) + "/skin/");
        ASSERT_TRUE(toolkit::CResourceManager::GetInstance().LoadResource("res.xml"));
        ASSERT_TRUE(RegisterTitleMessage());
        RegisterOtherMessages();
        os::hid::SelectBackends(os::hid::kBackendVirtual);
        demo_ = std::make_unique<sim::Demo>("");
        ASSERT_TRUE(bus_.Connect(*loop_));
    }
    void TearDown() override {
        wndDriver_.reset();
        wnd_.reset();
        demo_.reset();
        busOwner_.reset();
        os::hid::SelectBackends(os::hid::kBackendHidraw);
        unsetenv("XDG_DATA_HOME");
        unsetenv("XDG_CONFIG_HOME");
        if (loop_) SkinFixture::TearDown();
    }
    // Plugs the kinds, then opens the window and waits until it shows after the first scan.
    void Open(const std::string& kinds) {
        std::string error;
        if (!kinds.empty()) {
            ASSERT_TRUE(demo_->PlugKinds(kinds, &error)) << error;
        }
        wnd_ = std::make_unique<CMainWnd>(bus_);
        ASSERT_NE(wnd_->Create(0, kAppTitle, CMainWnd::kStyle, 0, 0, 0, CMainWnd::kCreateWidth,
                               CMainWnd::kCreateHeight),
                  0u)
            << wnd_->GetBuildError();
        wndDriver_ = std::make_unique<toolkit::UiTestDriver>(*wnd_, wnd_->GetPaintManager());
        wndDriver_->Render();  // "windowinit"
        ASSERT_NE(bar(), nullptr);
        ASSERT_EQ(bar()->ItemCount(), 4);
        ASSERT_TRUE(Until([&] { return wnd_->IsShown(); }));
    }
    DeviceBar* bar() const { return wnd_->ownDeviceBar(); }
    CDeviceOptionUI* item(int i) const { return bar()->Item(i); }
    toolkit::CControlUI* Find(const char* name) const {
        return wnd_->GetPaintManager().FindControl(name);
    }
    int TabOf(const char* name) const {
        return dynamic_cast<toolkit::CTabLayoutUI*>(Find(name))->GetCurSel();
    }
    // Serves messages and moves the virtual timers until done() (at most ms of virtual time).
    bool Until(const std::function<bool()>& done, int ms = 15000) {
        for (int waited = 0; waited < ms && !done(); waited += 10) {
            loop_->RunOnce(5);
            wndDriver_->AdvanceTimers(10);
        }
        return done();
    }
    void Sim(const std::vector<std::string>& args) {
        std::string out;
        ASSERT_EQ(demo_->RunCommand(args, out), 0) << out;
    }
    bool Visible(int i) const { return item(i)->visibleFlag(); }

    os::testing::PrivateSessionBus privateBus_;
    std::unique_ptr<os::SessionBus> busOwner_ = std::make_unique<os::SessionBus>();
    os::SessionBus& bus_ = *busOwner_;
    std::unique_ptr<sim::Demo> demo_;
    std::unique_ptr<CMainWnd> wnd_;
    std::unique_ptr<toolkit::UiTestDriver> wndDriver_;
};

TEST_F(DeviceBarTest, FourDevicesGiveFourItemsAndLeavingDevicesMoveTheSelection) {
    Open("kb,ms,pad,hs");
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 4; }));
    EXPECT_FALSE(Find("No_device_Link")->IsVisible());
    // The first device to arrive is selected, with its page and power display.
    EXPECT_EQ(bar()->SelectedIndex(), kKeyboard);
    EXPECT_EQ(TabOf("device_switch"), item(kKeyboard)->boundTabIndex());
    EXPECT_EQ(TabOf("device_power_switch"), item(kKeyboard)->powerIndex());
    EXPECT_EQ(bar()->SelectedKeyboard(), item(kKeyboard)->GetDevice());
    EXPECT_EQ(bar()->SelectedMouse(), nullptr);
    // Every item has its own page and power display.
    for (int i = 1; i < 4; ++i) {
        EXPECT_NE(item(i)->boundTabIndex(), item(i - 1)->boundTabIndex());
        EXPECT_NE(item(i)->powerIndex(), item(i - 1)->powerIndex());
    }

    // Next and previous walk the visible items.
    bar()->SelectNext();
    EXPECT_EQ(bar()->SelectedIndex(), kMouse);
    bar()->SelectPrevious();
    bar()->SelectPrevious();  // nothing before the first
    EXPECT_EQ(bar()->SelectedIndex(), kKeyboard);

    // The selected keyboard leaves: its item hides and the first other visible one is selected.
    Sim({"unplug", "keyboard"});
    ASSERT_TRUE(Until([&] { return !Visible(kKeyboard); }));
    EXPECT_FALSE(item(kKeyboard)->GetDevice()->commandChannel().IsOpen());
    EXPECT_EQ(bar()->SelectedIndex(), kMouse);
    EXPECT_EQ(TabOf("device_switch"), item(kMouse)->boundTabIndex());
    // An item that was not selected leaves the selection where it is.
    Sim({"unplug", "pad"});
    ASSERT_TRUE(Until([&] { return !Visible(kPad); }));
    EXPECT_EQ(bar()->SelectedIndex(), kMouse);

    Sim({"unplug", "mouse"});
    Sim({"unplug", "headset"});
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 0; }));
    EXPECT_TRUE(Find("No_device_Link")->IsVisible());
    EXPECT_EQ(TabOf("device_switch"), 0);
    EXPECT_EQ(TabOf("device_power_switch"), 0);
    EXPECT_EQ(bar()->SelectedDevice(), nullptr);

    // Back again: the first one is selected.
    Sim({"plug", "mouse"});
    ASSERT_TRUE(Until([&] { return Visible(kMouse); }));
    EXPECT_EQ(bar()->SelectedIndex(), kMouse);
    EXPECT_FALSE(Find("No_device_Link")->IsVisible());
}

TEST_F(DeviceBarTest, ASingleDeviceOffersNoSynchronisationAndKeepsNoSynchroSelection) {
    Open("pad,hs");
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 2; }));
    auto synchro = [&](int i) {
        return dynamic_cast<toolkit::COptionUI*>(item(i)->FindControl(
            [](toolkit::CControlUI* c, void*) -> toolkit::CControlUI* {
                return c->GetName() == "synchro_device_select" ? c : nullptr;
            },
            nullptr, toolkit::UIFIND_ALL));
    };
    // Two devices: the synchronisation is offered.
    EXPECT_TRUE(synchro(kPad)->IsVisible());
    EXPECT_TRUE(Find("deng_same_mode")->IsEnabled());
    item(kPad)->SetSynchroSelected(true);
    item(kHeadset)->SetSynchroSelected(true);
    toolkit::TNotifyUI msg;
    bar()->OnSynchroSelectChanged(msg);
    EXPECT_EQ(bar()->SynchroParticipants(), 2);

    Sim({"unplug", "headset"});
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 1; }));
    EXPECT_FALSE(Find("No_device_Link")->IsVisible());
    EXPECT_FALSE(synchro(kPad)->IsVisible());
    EXPECT_FALSE(Find("deng_same_mode")->IsEnabled());
    EXPECT_FALSE(item(kPad)->IsSynchroSelected());
    EXPECT_EQ(bar()->SynchroParticipants(), 0);
}

TEST_F(DeviceBarTest, PowerDisplayFollowsTheDeviceAndKeepsAnImplausibleLevelOffTheLabel) {
    Open("ms,pad");
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 2; }));
    CMpDevicePowerUI* power = item(kMouse)->powerIndicator();
    ASSERT_NE(power, nullptr);
    auto text = [&](const char* name) {
        return power->FindControl(
            [](toolkit::CControlUI* c, void* n) -> toolkit::CControlUI* {
                return c->GetName() == static_cast<const char*>(n) ? c : nullptr;
            },
            const_cast<char*>(name), toolkit::UIFIND_ALL);
    };
    Sim({"battery", "mouse", "15", "battery"});
    ASSERT_TRUE(Until([&] { return text("device_power_value")->GetText() == "15%"; }));
    auto* bar_ = dynamic_cast<toolkit::CProgressUI*>(text("device_Power_progress"));
    EXPECT_EQ(bar_->GetValue(), 85);
    EXPECT_EQ(text("device_power_status")->GetBkImage(), "file='power/power.png'");

    // 101 moves the bar (to its end) but the label keeps the last plausible level.
    struct Case {
        uint8_t percent, state, phone;
        int bar;
        const char* label;
        const char* status;
    } cases[] = {
        {101, 1, 0, 0, "15%", "file='power/powering.png'"},
        {100, 0, 0, 0, "100%", "file='power/powered.png'"},
        {40, 7, 0, 60, "40%", "file='power/powered.png'"},  // unknown state: picture kept
    };
    for (const Case& c : cases) {
        device::PowerStatusBlock block;
        block.bytes = {c.percent, c.state, 0, 1, 0, c.phone};
        power->ShowPowerBlock(block);
        EXPECT_EQ(bar_->GetValue(), c.bar) << int(c.percent);
        EXPECT_EQ(text("device_power_value")->GetText(), c.label) << int(c.percent);
        EXPECT_EQ(text("device_power_status")->GetBkImage(), c.status) << int(c.percent);
        EXPECT_TRUE(text("device_wuxian_logo")->IsVisible());
    }

    // Only a mouse pad shows the paired phone.
    CMpDevicePowerUI* padPower = item(kPad)->powerIndicator();
    struct Phone {
        uint8_t type;
        const char* image;
    } phones[] = {{1, "file='power/Phone_type_iphone.png'"},
                  {2, "file='power/Phone_type_samsung.png'"},
                  {3, "file='power/Phone_type_other.png'"},
                  {9, "file='power/Phone_type_no_device.png'"}};
    for (const Phone& p : phones) {
        device::PowerStatusBlock block;
        block.bytes = {50, 2, 0, 0, 0, p.type};
        padPower->ShowPowerBlock(block);
        power->ShowPowerBlock(block);
        auto phoneOf = [](CMpDevicePowerUI* pw) {
            return pw->FindControl(
                [](toolkit::CControlUI* c, void*) -> toolkit::CControlUI* {
                    return c->GetName() == "device_phone_type" ? c : nullptr;
                },
                nullptr, toolkit::UIFIND_ALL);
        };
        EXPECT_EQ(phoneOf(padPower)->GetBkImage(), p.image);
        EXPECT_EQ(phoneOf(power)->GetBkImage(), "");
    }
}

TEST_F(DeviceBarTest, ChangesWhileTheSystemSleepsAreReconciledOnResume) {
    Open("kb,ms");
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 2; }));
    wnd_->SendMessage(os::WM_POWERBROADCAST, os::PBT_APMSUSPEND, 0);
    Sim({"unplug", "mouse"});
    Sim({"plug", "pad"});
    // The scan thread sees both, but the window leaves them for later.
    auto slotFree = [&](int slot) { return bar()->slots()->IsFree(slot); };
    ASSERT_TRUE(Until([&] { return slotFree(6) && !slotFree(10); }));
    Until([] { return false; }, 300);
    EXPECT_TRUE(Visible(kMouse));
    EXPECT_FALSE(Visible(kPad));

    wnd_->SendMessage(os::WM_POWERBROADCAST, os::PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_FALSE(Visible(kMouse));
    EXPECT_FALSE(item(kMouse)->GetDevice()->commandChannel().IsOpen());
    EXPECT_TRUE(Visible(kPad));
    EXPECT_TRUE(item(kPad)->GetDevice()->commandChannel().IsOpen());
    EXPECT_TRUE(Visible(kKeyboard));
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(DeviceBarTest, BehindTheReceiverTheLinkWatchShowsAndHidesTheKeyboard) {
    Open("rx");
    // The receiver poll finds the partner; its item shows once the link is confirmed.
    ASSERT_TRUE(Until([&] { return Visible(kKeyboard); }));
    EXPECT_TRUE(bar()->slots()->receiverKeyboardLinked);
    device::DeviceChannel& keyboard = item(kKeyboard)->GetDevice()->commandChannel();
    EXPECT_EQ(keyboard.mode(), device::DeviceChannel::kReceiver);
    EXPECT_EQ(keyboard.receiverTarget(), 0);

    Sim({"unlink", "keyboard"});
    ASSERT_TRUE(Until([&] { return !Visible(kKeyboard); }, 5000));
    Sim({"link", "keyboard"});
    ASSERT_TRUE(Until([&] { return Visible(kKeyboard); }, 5000));

    // The receiver leaves: its partners with it, and its slots are free for the next one.
    Sim({"unplug", "receiver"});
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 0; }));
    // The link watch may hide the item before the discovery reports the removal.
    ASSERT_TRUE(Until([&] { return bar()->slots()->receiverCommandPath.empty(); }));
    ASSERT_TRUE(Until([&] { return bar()->slots()->IsFree(4) && bar()->slots()->IsFree(5); }));
    Sim({"plug", "receiver"});
    ASSERT_TRUE(Until([&] { return Visible(kKeyboard); }));
}

TEST_F(DeviceBarTest, BehindTheReceiverTheLinkWatchShowsAndHidesTheMouse) {
    Open("rx");
    ASSERT_TRUE(Until([&] { return bar()->slots()->receiverMouseLinked; }));
    device::DeviceChannel& mouse = item(kMouse)->GetDevice()->commandChannel();
    EXPECT_EQ(mouse.mode(), device::DeviceChannel::kReceiver);
    EXPECT_EQ(mouse.receiverTarget(), 2);
    ASSERT_TRUE(Until([&] { return Visible(kMouse); }));
    Sim({"unlink", "mouse"});
    ASSERT_TRUE(Until([&] { return !Visible(kMouse); }, 5000));
    EXPECT_TRUE(Visible(kKeyboard));
    Sim({"link", "mouse"});
    ASSERT_TRUE(Until([&] { return Visible(kMouse); }, 5000));
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(DeviceBarTest, SynchronisedLightingReachesEveryTakingPartDevice) {
    Open("kb,ms,pad");
    ASSERT_TRUE(Until([&] { return bar()->VisibleItemCount() == 3; }));
    // The keyboard's static red becomes every connected device's static red.
    profile::LightingRecord red;
    red[profile::LightingRecord::kMode] = 5;
    red[profile::LightingRecord::kBrightness] = 4;
    red[profile::LightingRecord::kRed] = 200;
    item(kKeyboard)->GetDevice()->SetLightingRecord(red);
    bar()->SynchroniseLighting();
    EXPECT_EQ(item(kMouse)->GetDevice()->GetLightingRecord()[profile::LightingRecord::kMode], 0);
    EXPECT_EQ(item(kPad)->GetDevice()->GetLightingRecord()[profile::LightingRecord::kMode], 3);
    EXPECT_EQ(item(kPad)->GetDevice()->GetLightingRecord()[profile::LightingRecord::kRed], 200);

    // The synchronisation thread drives the devices whose items take part.
    item(kMouse)->SetSynchroSelected(true);
    item(kPad)->SetSynchroSelected(true);
    toolkit::TNotifyUI msg;
    bar()->OnSynchroSelectChanged(msg);
    const device::LedColour want{200, 0, 0, 255};
    auto shows = [&](int i) { return item(i)->GetDevice()->GetLedColour(0) == want; };
    ASSERT_TRUE(Until([&] { return shows(kMouse) && shows(kPad); }, 5000));
    EXPECT_FALSE(shows(kKeyboard));
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(DeviceBarTest, ADeviceThatLeavesInTheMiddleOfAReadLeavesNothingAttached) {
    Sim({"fault", "keyboard", "unplug", "command=0x1A"});
    Open("kb,pad");
    ASSERT_TRUE(Until([&] { return Visible(kPad); }));
    // The keyboard leaves when its power status is read: its item goes, the pad stays selected.
    ASSERT_TRUE(Until([&] {
        return !Visible(kKeyboard) && !item(kKeyboard)->GetDevice()->commandChannel().IsOpen() &&
               bar()->slots()->IsFree(0);
    }));
    EXPECT_EQ(bar()->SelectedIndex(), kPad);
    EXPECT_FALSE(item(kKeyboard)->GetDevice()->PreviewThreadRunning());
}

TEST_F(DeviceBarTest, ADeviceThatDoesNotAnswerKeepsItsItemAndIsReadAgainLater) {
    Sim({"fault", "mouse", "noanswer", "command=0x1A", "frames=1"});
    Open("ms");
    ASSERT_TRUE(Until([&] { return Visible(kMouse); }));
    CMpDevicePowerUI* power = item(kMouse)->powerIndicator();
    // The first read times out; the next one, 5 s later, shows the level.
    ASSERT_TRUE(Until([&] { return power->lastPercent() > 0; }, 12000));
    EXPECT_TRUE(item(kMouse)->GetDevice()->commandChannel().IsOpen());
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(DeviceBarTest, TheLiveColourTimerRestsWhileNothingMovesAndWakesWithTheColours) {
    Open("ms");
    ASSERT_TRUE(Until([&] { return Visible(kMouse); }));
    device::CQuendalUSBDevice* mouse = item(kMouse)->GetDevice();
    // The preview draws its lighting off: nothing moves, the timer rests.
    ASSERT_TRUE(Until([&] { return mouse->LiveIdle(); }));
    const std::vector<uint8_t> before = mouse->liveFrame();

    profile::EffectFrame spectrum;
    spectrum.mode = 2;
    spectrum.brightness = 4;
    spectrum.speed = 4;
    spectrum.time = 1000000;
    mouse->SetAreaEffects({spectrum});
    ASSERT_TRUE(Until([&] { return !mouse->LiveIdle() && mouse->liveFrame() != before; }, 3000));
}

}  // namespace
}  // namespace app

namespace app {
namespace {

TEST_F(DeviceBarTest, LiveFramesKeepComingForEveryDeviceWhileTheWindowIsInTheTray) {
    Open("kb,ms");
    ASSERT_TRUE(Until([&] { return Visible(kKeyboard) && Visible(kMouse); }));
    device::CQuendalUSBDevice* devices[] = {item(kKeyboard)->GetDevice(),
                                            item(kMouse)->GetDevice()};
    profile::EffectFrame spectrum;
    spectrum.mode = 2;
    spectrum.brightness = 4;
    spectrum.speed = 2;
    spectrum.time = 1000000;
    for (device::CQuendalUSBDevice* d : devices) d->SetAreaEffects({spectrum});
    // With a notification area showing the icon, close hides the window to the tray.
    os::testing::TrayWatcher tray;
    ASSERT_TRUE(Until([&] { return wnd_->trayIcon().Registered(); }));
    ASSERT_TRUE(wndDriver_->Click("closebtn"));
    ASSERT_FALSE(wnd_->IsShown());

    // Each push that found new colours leaves a new frame; the two devices share one timer and
    // neither may starve the other.
    std::vector<uint8_t> last[2];
    int frames[2] = {0, 0};
    ASSERT_TRUE(Until(
        [&] {
            for (int i = 0; i < 2; ++i) {
                if (devices[i]->liveFrame().empty() || devices[i]->liveFrame() == last[i]) continue;
                last[i] = devices[i]->liveFrame();
                ++frames[i];
            }
            return frames[0] >= 30 && frames[1] >= 30;
        },
        10000))
        << frames[0] << " keyboard frames, " << frames[1] << " mouse frames";
    EXPECT_FALSE(wnd_->IsShown());
    // Taking the previews away ends the pushes: the timer rests once nothing moves.
    for (device::CQuendalUSBDevice* d : devices) d->SetAreaEffects({});
    EXPECT_TRUE(Until([&] { return devices[0]->LiveIdle() && devices[1]->LiveIdle(); }, 5000));
}

}  // namespace
}  // namespace app
