#include "device/quendal_usb_device.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "device/light_overlay.h"
#include "os/hid/hid_platform.h"
#include "os/hid/sample_descriptors.h"
#include "os/hid/virtual_bus.h"
#include "os/message_loop.h"
#include "os/testing/virtual_device_test.h"
#include "toolkit/controls/button_ui.h"
#include "toolkit/controls/vertical_layout_ui.h"

namespace device {
namespace {

// The page's key button as the device model sees it.
class TestKeyButton : public toolkit::CButtonUI, public ILightOverlay {
  public:
    explicit TestKeyButton(const std::string& name) { SetName(name); }
    std::string_view GetClass() const override { return "DeviceKeyButton"; }
    void SetLightOverlay(uint32_t c, int l, bool v) override {
        colour = c;
        level = l;
        visible = v;
    }
    uint32_t colour = 0;
    int level = -1;
    bool visible = false;
};

// A small model on the base: modes 0..6 map to the base steps, others to the area effects.
class TestModel : public CQuendalUSBDevice {
  public:
    explicit TestModel(int kind) {
        SetDeviceKind(kind);
        ClearPreviewState();
    }
    ~TestModel() override { StopThreads(); }
    void RefreshPage() override { ++refreshes; }
    std::atomic<int> refreshes{0};

  protected:
    PreviewStep PreviewStepFor(int mode) const override {
        constexpr PreviewStep kSteps[] = {
            PreviewStep::kBreathing,       PreviewStep::kStatic, PreviewStep::kBlink,
            PreviewStep::kSpectrum,        PreviewStep::kOff,    PreviewStep::kBreathingFourColours,
            PreviewStep::kBlinkFourColours};
        return mode >= 0 && mode < 7 ? kSteps[mode] : PreviewStep::kAreaEffects;
    }
};

// Answers every command frame with its echo and status 0; power status reads get a fixed block.
class EchoFirmware : public os::hid::VirtualDeviceHandler {
  public:
    void OnOutputReport(uint32_t id, std::span<const uint8_t> r) override {
        std::array<uint8_t, 64> resp{};
        resp[0] = 0x04;
        resp[3] = r[3];
        resp[4] = r[4];  // the length and address are echoed too
        resp[5] = r[5];
        resp[6] = r[6];
        if (r[3] == 0x1A) {
            constexpr uint8_t kPower[] = {87, 2, 0, 9, 5, 1};  // byte 3 is the host's to set
            std::copy(std::begin(kPower), std::end(kPower), resp.begin() + 8);
        }
        {
            std::lock_guard<std::mutex> lock(m);
            codes.push_back(r[3]);
        }
        bus->PushInputReport(id, resp);
    }
    std::vector<uint8_t> Codes() {
        std::lock_guard<std::mutex> lock(m);
        return codes;
    }
    std::mutex m;
    std::vector<uint8_t> codes;
    os::hid::VirtualBus* bus = &os::hid::VirtualBus::Instance();
};

// Does nothing; the test pushes the event reports itself.
class SilentEvents : public os::hid::VirtualDeviceHandler {
  public:
    void OnOutputReport(uint32_t, std::span<const uint8_t>) override {}
};

class DeviceBase : public os::testing::VirtualDeviceTest {
  protected:
    using VirtualDeviceTest::Plug;
    std::string Plug(const uint8_t* descriptor, size_t size,
                     std::shared_ptr<os::hid::VirtualDeviceHandler> handler, uint32_t* id) {
        os::hid::VirtualInterfaceConfig spec;
        spec.vendorId = 0x320F;
        spec.productId = 0x22A9;
        spec.interfaceNumber = 1;
        spec.reportDescriptor.assign(descriptor, descriptor + size);
        *id = Plug(spec, handler);
        return FirstPath(*id);
    }
    void ConnectCommand(CQuendalUSBDevice& d, std::shared_ptr<EchoFirmware> fw) {
        uint32_t id = 0;
        const std::string path = Plug(os::hid::samples::kVendorCommand,
                                      sizeof os::hid::samples::kVendorCommand, fw, &id);
        ASSERT_TRUE(d.commandChannel().directHandle().Open(path, true, true, true, false));
        d.commandChannel().SetOpen(true);
        d.commandChannel().SetConnectionType(1);
    }
    // An event interface whose reports the test pushes itself.
    std::string PlugEvents(uint32_t* id) {
        return Plug(os::hid::samples::kConsumerCollection,
                    sizeof os::hid::samples::kConsumerCollection, std::make_shared<SilentEvents>(),
                    id);
    }
    // Pumps the UI loop until done() or about 10 s.
    bool PumpUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 1000 && !done(); ++i) loop_.RunOnce(10);
        return done();
    }

    os::MessageLoop loop_;
};

// A page: SelectPanel with key_0..key_11 and light_0..light_3, plus one button outside it.
void BuildPage(CQuendalUSBDevice& d, bool withSelectPanel) {
    auto* panel = new toolkit::CVerticalLayoutUI;
    panel->SetName(withSelectPanel ? "SelectPanel" : "OtherPanel");
    for (int i = 0; i < 12; ++i) panel->Add(new TestKeyButton("key_" + std::to_string(i)));
    for (int i = 0; i < 4; ++i) panel->Add(new TestKeyButton("LIGHT_" + std::to_string(i)));
    panel->Add(new TestKeyButton("light_0_"));  // not a plain index
    d.Add(panel);
    d.Add(new TestKeyButton("key_1"));  // outside the panel
}

TEST_F(DeviceBase, BindPageControlsFromTheSelectPanelOnly) {
    TestModel d(hid::kKindMouse);
    d.SetKeyCount(10);
    d.SetLedCount(4);
    d.SetPageName("mousedevice.xml");
    BuildPage(d, true);
    d.BindPageControls();
    ASSERT_EQ(d.keyButtons().size(), 10u);
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(d.keyButtons()[i], nullptr) << i;
        EXPECT_EQ(d.keyButtons()[i]->GetName(), "key_" + std::to_string(i));
        EXPECT_EQ(d.keyButtons()[i]->GetParent()->GetName(), "SelectPanel");
    }
    // key_10 and key_11 are beyond the list: ignored.
    for (int i = 0; i < 4; ++i) {
        auto* led = dynamic_cast<TestKeyButton*>(d.ledButtons()[i]);
        ASSERT_NE(led, nullptr);
        EXPECT_EQ(led->colour, 0xFFFFFFu);
        EXPECT_EQ(led->level, 255);
        EXPECT_TRUE(led->visible);
        EXPECT_EQ(d.GetLedColour(i), (LedColour{255, 255, 255, 255}));
    }

    d.SetPageName("");
    d.BindPageControls();
    EXPECT_TRUE(d.keyButtons().empty());
    EXPECT_TRUE(d.ledButtons().empty());
    EXPECT_FALSE(d.GetLedColour(0).has_value());

    TestModel noPanel(hid::kKindMouse);
    noPanel.SetKeyCount(10);
    noPanel.SetLedCount(4);
    noPanel.SetPageName("mousedevice.xml");
    BuildPage(noPanel, false);
    noPanel.BindPageControls();
    for (auto* b : noPanel.keyButtons()) EXPECT_EQ(b, nullptr);
    for (auto* b : noPanel.ledButtons()) EXPECT_EQ(b, nullptr);
}

TEST_F(DeviceBase, PushLiveColoursCopiesToTheButtonsAndBuildsTheFrameOnlyWhenSwitchedOn) {
    TestModel d(hid::kKindMouse);
    d.SetKeyCount(0);
    d.SetLedCount(4);
    d.SetPageName("mousedevice.xml");
    BuildPage(d, true);
    d.BindPageControls();
    d.SetLedColour(1, {200, 100, 50, 128});
    d.SetLedColour(9, {1, 1, 1, 1});  // out of range: ignored
    EXPECT_EQ(d.PushLiveColours(), 0);
    EXPECT_TRUE(d.liveFrame().empty());

    auto fw = std::make_shared<EchoFirmware>();
    ConnectCommand(d, fw);
    d.SetLightingSwitch(1);
    EXPECT_EQ(d.PushLiveColours(), 1);
    ASSERT_EQ(d.liveFrame().size(), 12u);
    EXPECT_EQ(d.liveFrame()[3], 100);
    EXPECT_EQ(d.liveFrame()[4], 50);
    EXPECT_EQ(d.liveFrame()[5], 25);
    EXPECT_EQ(d.liveFrame()[0], 255 * 255 / 256);
    auto* led = dynamic_cast<TestKeyButton*>(d.ledButtons()[1]);
    EXPECT_EQ(led->colour, 0xC86432u);
    EXPECT_EQ(led->level, 128);
    EXPECT_TRUE(fw->Codes().empty()) << "the base sends nothing";
}

TEST_F(DeviceBase, LightingSwitchResumesLightingOnKeyboardsWhenTurnedOn) {
    struct Case {
        int kind;
        int state;
        size_t frames;
    };
    constexpr Case kCases[] = {
        {hid::kKindKeyboard, 0, 0}, {hid::kKindKeyboard, 1, 1}, {hid::kKindMouse, 1, 0},
        {hid::kKindMousePad, 1, 0}, {hid::kKindHeadset, 1, 0},
    };
    for (const Case& c : kCases) {
        TestModel d(c.kind);
        auto fw = std::make_shared<EchoFirmware>();
        ConnectCommand(d, fw);
        d.SetLightingSwitch(c.state);
        EXPECT_EQ(d.GetLightingSwitch(), c.state);
        const auto codes = fw->Codes();
        ASSERT_EQ(codes.size(), c.frames) << "kind " << c.kind;
        if (c.frames) {
            EXPECT_EQ(codes[0], 0x1C);
        }
    }
}

TEST_F(DeviceBase, DeviceEventsSetProfileAndDpiStage) {
    struct Case {
        int kind;
        uint16_t code;
        int profile;
        int dpi;
        int refreshes;
    };
    constexpr Case kCases[] = {
        {hid::kKindMouse, 0x1123, 3, 2, 1},
        {hid::kKindMouse, 0x1005, 5, 0, 1},
        {hid::kKindMouse, 0x1205, 0, 0, 0},
        {hid::kKindKeyboard, 0x1123, 3, 0, 1},  // the DPI stage is the mouse's
    };
    for (const Case& c : kCases) {
        TestModel d(c.kind);
        d.HandleDeviceEvent(c.code);  // channel closed: ignored
        EXPECT_EQ(d.refreshes, 0);
        d.commandChannel().SetOpen(true);
        d.HandleDeviceEvent(c.code);
        EXPECT_EQ(d.GetActiveProfileIndex(), c.profile) << std::hex << c.code;
        EXPECT_EQ(d.GetActiveDpiStage(), c.dpi) << std::hex << c.code;
        EXPECT_EQ(d.refreshes, c.refreshes) << std::hex << c.code;
    }
}

TEST(ListenerTable, ActionsByKindAndCode) {
    struct Case {
        int kind;
        uint16_t code;
        bool direct;
        ListenerAction::Kind action;
        int delayMs;
    };
    constexpr Case kCases[] = {
        {hid::kKindMouse, 0x0481, true, ListenerAction::kSync, 50},
        {hid::kKindMouse, 0x0401, false, ListenerAction::kSync, 50},
        {hid::kKindMouse, 0x0403, true, ListenerAction::kReactive, 0},
        {hid::kKindMouse, 0x0403, false, ListenerAction::kNone, 0},
        {hid::kKindMouse, 0x1123, true, ListenerAction::kDeviceEvent, 0},
        {hid::kKindMouse, 0x0480, true, ListenerAction::kNone, 0},
        {hid::kKindKeyboard, 0xA401, true, ListenerAction::kSync, 50},
        {hid::kKindKeyboard, 0xA402, true, ListenerAction::kSyncReloadFirst, 50},
        {hid::kKindKeyboard, 0x0512, true, ListenerAction::kKeyEvent, 0},
        {hid::kKindKeyboard, 0x06FF, true, ListenerAction::kKeyEvent, 0},
        {hid::kKindKeyboard, 0x1005, true, ListenerAction::kDeviceEvent, 0},
        {hid::kKindKeyboard, 0xA403, true, ListenerAction::kNone, 0},
        {hid::kKindHeadset, 0x0401, true, ListenerAction::kSync, 500},
        {hid::kKindMousePad, 0x0404, true, ListenerAction::kCounter, 0},
        {hid::kKindMousePad, 0x1123, true, ListenerAction::kNone, 0},
        {0, 0x0401, true, ListenerAction::kNone, 0},
    };
    for (const Case& c : kCases) {
        const ListenerAction a = ClassifyListenerCode(c.kind, c.code, c.direct);
        EXPECT_EQ(a.kind, c.action) << c.kind << " " << std::hex << c.code;
        EXPECT_EQ(a.delayMs, c.delayMs) << c.kind << " " << std::hex << c.code;
    }
}

TEST_F(DeviceBase, ListenerPassesEventsToTheUiThreadAndStopsWhileBlockedInARead) {
    TestModel d(hid::kKindMouse);
    d.commandChannel().SetOpen(true);
    uint32_t id = 0;
    const std::string path = PlugEvents(&id);
    ASSERT_TRUE(d.OpenListener(0, path));
    EXPECT_TRUE(d.listenerChannel().IsOpen());
    ASSERT_TRUE(d.ListenerRunning(0));

    // Consumer report: id 3, event code 0x1123 (bytes 1 low, 2 high).
    constexpr uint8_t kDpiEvent[] = {0x03, 0x23, 0x11};
    ASSERT_TRUE(os::hid::VirtualBus::Instance().PushInputReport(id, kDpiEvent));
    ASSERT_TRUE(PumpUntil([&] { return d.refreshes > 0; }));
    EXPECT_EQ(d.GetActiveProfileIndex(), 3);
    EXPECT_EQ(d.GetActiveDpiStage(), 2);

    // Now blocked in a read with nothing to come: stopping wakes it and it ends by itself.
    d.StopListener(0);
    EXPECT_FALSE(d.ListenerRunning(0));
    EXPECT_FALSE(d.listenerChannel().IsOpen());
    EXPECT_FALSE(d.listenerChannel().directHandle().IsOpen());
}

TEST_F(DeviceBase, AListenerWhoseReadFailsEndsAndIsStartedAgain) {
    TestModel d(hid::kKindMouse);
    d.commandChannel().SetOpen(true);
    uint32_t id = 0;
    const std::string path = PlugEvents(&id);
    ASSERT_TRUE(d.OpenListener(0, path));
    ASSERT_TRUE(d.ListenerRunning(0));

    // The interface is closed under the blocked read (no stop asked): the read fails and the
    // thread, with nothing left to read, ends instead of lingering.
    d.listenerChannel().directHandle().Close();
    ASSERT_TRUE(PumpUntil([&] { return !d.ListenerRunning(0); }));

    // Opened again, the interface gets a new listener that passes events on.
    ASSERT_TRUE(d.listenerChannel().directHandle().Open(path, true, false, true, false));
    d.StartListenerThreads();
    ASSERT_TRUE(d.ListenerRunning(0));
    constexpr uint8_t kProfileEvent[] = {0x03, 0x04, 0x10};
    ASSERT_TRUE(os::hid::VirtualBus::Instance().PushInputReport(id, kProfileEvent));
    ASSERT_TRUE(PumpUntil([&] { return d.refreshes > 0; }));
    EXPECT_EQ(d.GetActiveProfileIndex(), 4);
    d.StopListener(0);
    EXPECT_FALSE(d.ListenerRunning(0));
}

TEST(ListenerThreadTest, TheStopEventAloneEndsABlockedRead) {
    os::hid::SelectBackends(os::hid::kBackendVirtual);
    os::hid::VirtualInterfaceConfig spec;
    spec.vendorId = 0x320F;
    spec.productId = 0x1004;
    spec.reportDescriptor.assign(std::begin(os::hid::samples::kConsumerCollection),
                                 std::end(os::hid::samples::kConsumerCollection));
    const uint32_t id =
        os::hid::VirtualBus::Instance().Plug(spec, std::make_shared<SilentEvents>());
    std::string path;
    for (const auto& i : os::hid::VirtualBus::Instance().List())
        if (i.id == id) path = i.paths.at(0);
    hid::HidDevice h;
    ASSERT_TRUE(h.Open(path, true, false, true, false));
    ListenerThread t;
    ASSERT_TRUE(t.Start(h, hid::kKindMousePad, true, 0));
    // The handle stays open: only the stop event can wake the read, well within the 500 ms.
    EXPECT_EQ(t.Stop(), os::kWaitObject0);
    EXPECT_FALSE(t.Running());
    EXPECT_TRUE(h.IsOpen());

    // Closing the interface ends the read too; the listener then only waits for its stop.
    ASSERT_TRUE(t.Start(h, hid::kKindMousePad, true, 0));
    h.Close();
    EXPECT_EQ(t.Stop(), os::kWaitObject0);
    os::hid::VirtualBus::Instance().Unplug(id);
}

TEST_F(DeviceBase, PreviewThreadAnimatesWhileConnectedAndStops) {
    TestModel d(hid::kKindMouse);
    d.SetLedCount(2);
    profile::LightingRecord r;
    r[profile::LightingRecord::kMode] = 3;  // spectrum in the test model
    r[profile::LightingRecord::kBrightness] = 4;
    r[profile::LightingRecord::kSpeed] = 4;
    d.SetLightingRecord(r);
    d.commandChannel().SetOpen(true);
    d.StartPreviewThread();
    ASSERT_TRUE(PumpUntil([&] { return d.preview().colourPosition() > 3; }));
    d.StopPreviewThread();
    EXPECT_FALSE(d.PreviewThreadRunning());
    const int at = d.preview().colourPosition();
    loop_.RunOnce(30);
    EXPECT_EQ(d.preview().colourPosition(), at);
}

TEST_F(DeviceBase, AreaEffectsPlayTheListInTurnAndAnEmptyListIsOff) {
    TestModel d(hid::kKindKeyboard);
    d.SetLedCount(2);
    profile::LightingRecord r;
    r[profile::LightingRecord::kMode] = 9;  // no step of its own in the test model
    d.SetLightingRecord(r);
    d.SetLedColour(0, {1, 2, 3, 4});
    d.RunPreviewStep(0);
    EXPECT_EQ(d.GetLedColour(0), (LedColour{0, 0, 0, 0}));

    profile::EffectFrame red;
    red.mode = 0;
    red.brightness = 4;
    red.red = 255;
    red.time = 100;
    profile::EffectFrame green = red;
    green.red = 0;
    green.green = 255;
    profile::EffectFrame unknown = red;
    unknown.mode = 3;
    d.SetAreaEffects({red, green, unknown});
    d.RunPreviewStep(1000);
    EXPECT_EQ(d.GetLedColour(1), (LedColour{255, 0, 0, 255}));
    d.RunPreviewStep(1100);  // not yet past the entry's 100 ms
    d.RunPreviewStep(1101);
    EXPECT_EQ(d.GetLedColour(1), (LedColour{255, 0, 0, 255}));
    d.RunPreviewStep(1102);
    EXPECT_EQ(d.GetLedColour(1), (LedColour{0, 255, 0, 255}));
    EXPECT_EQ(d.PreviewThreshold(), 8);  // the area static row at speed 0
    d.RunPreviewStep(1300);
    d.RunPreviewStep(1301);  // the unknown mode draws nothing
    EXPECT_EQ(d.GetLedColour(1), (LedColour{0, 255, 0, 255}));
}

TEST_F(DeviceBase, PowerStatusGoesToTheIndicatorAndTheMainWindow) {
    struct Indicator : IPowerIndicator {
        void ShowPowerBlock(const PowerStatusBlock& b) override { blocks.push_back(b); }
        void ShowWirelessSign(bool) override {}
        std::vector<PowerStatusBlock> blocks;
    } indicator;
    std::vector<std::pair<os::WPARAM, os::LPARAM>> messages;
    os::FunctionTarget main([&](uint32_t m, os::WPARAM w, os::LPARAM l) -> os::LRESULT {
        if (m == 0xD01) messages.emplace_back(w, l);
        return 0;
    });
    const os::HWND hwnd = os::CreateTarget(&main);

    struct PowerModel : TestModel {
        PowerModel() : TestModel(hid::kKindMousePad) {}
        void RefreshPowerStatus() override { result = ReadAndShowPowerStatus(); }
        int result = -999;
    } d;
    d.SetPowerIndicator(&indicator);
    d.SetMainWindow(hwnd);
    d.RefreshPowerStatus();  // channel closed: nothing
    EXPECT_EQ(d.result, 0);
    auto fw = std::make_shared<EchoFirmware>();
    ConnectCommand(d, fw);
    d.RefreshPowerStatus();
    EXPECT_EQ(d.result, 1);
    ASSERT_EQ(indicator.blocks.size(), 1u);
    EXPECT_EQ(indicator.blocks[0].batteryPercent(), 87);
    EXPECT_EQ(indicator.blocks[0].wireless(), 0) << "direct: byte 3 cleared";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, 5u);
    EXPECT_EQ(messages[0].second, 0);
    os::DestroyTarget(hwnd);
}

TEST_F(DeviceBase, StoragePathsAndDefaults) {
    TestModel d(hid::kKindMouse);
    EXPECT_EQ(std::string(d.GetClass()), "QuendalUSBDevice");
    EXPECT_EQ(d.GetFunctionTab(), 1);
    EXPECT_EQ(d.GetSelectedKey(), -1);
    EXPECT_EQ(d.GetLightingRecord(), profile::LightingRecord{});
    d.SetDataFolderName("mouse");
    const std::string folder = d.UserDataFolder();
    EXPECT_EQ(folder, DataHome() + "/Brasvik M402/mouse/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    const std::string tmpl = d.DefaultTemplatePath();
    EXPECT_EQ(tmpl.substr(tmpl.size() - std::string("DefaultData/mouse.Json").size()),
              "DefaultData/mouse.Json");
}

}  // namespace
}  // namespace device
