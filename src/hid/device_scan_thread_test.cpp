#include "hid/device_scan_thread.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "hid/supported_device.h"
#include "os/hid/hid_platform.h"
#include "os/hid/virtual_bus.h"
#include "os/message_loop.h"
#include "os/worker_thread.h"
#include "sim/firmware.h"
#include "sim/simulated_device.h"

namespace hid {
namespace {

// A report descriptor of n top-level collections, each an application collection of
// (page, usage) with one 8-bit input field under its own report id (1..n).
std::vector<uint8_t> Collections(const std::vector<std::pair<uint16_t, uint8_t>>& pages) {
    std::vector<uint8_t> d;
    uint8_t id = 1;
    for (auto [page, usage] : pages) {
        d.insert(d.end(), {0x06,
                           static_cast<uint8_t>(page & 0xFF),
                           static_cast<uint8_t>(page >> 8),
                           0x09,
                           usage,
                           0xA1,
                           0x01,
                           0x85,
                           id++,
                           0x15,
                           0x00,
                           0x26,
                           0xFF,
                           0x00,
                           0x75,
                           0x08,
                           0x95,
                           0x01,
                           0x09,
                           0x01,
                           0x81,
                           0x02,
                           0xC0});
    }
    return d;
}

class Silent : public os::hid::VirtualDeviceHandler {
    void OnOutputReport(uint32_t, std::span<const uint8_t>) override {}
};

uint32_t Plug(uint16_t vid, uint16_t pid, uint8_t mi,
              const std::vector<std::pair<uint16_t, uint8_t>>& collections) {
    os::hid::VirtualInterfaceConfig spec;
    spec.vendorId = vid;
    spec.productId = pid;
    spec.interfaceNumber = mi;
    spec.reportDescriptor = Collections(collections);
    return os::hid::VirtualBus::Instance().Plug(spec, std::make_shared<Silent>());
}

// Keyboard, mouse pad and receiver: interface 1 with the events at col 3 and commands at col 4.
const std::vector<std::pair<uint16_t, uint8_t>> kFourCollections = {
    {0x0001, 0x06}, {0x0001, 0x02}, {0x000C, 0x01}, {0xFF1C, 0x92}};

// The main window's side: records the messages in order.
class Window {
  public:
    explicit Window(const ScanOptions& options = {})
        : target_([this](uint32_t msg, os::WPARAM w, os::LPARAM) -> os::LRESULT {
              log.emplace_back(msg, w);
              return 0;
          }) {
        hwnd = os::CreateTarget(&target_);
        slots->BuildFromCatalogue();
        auto ctx = std::make_shared<os::WorkerContext>();
        ctx->owner = hwnd;
        ctx->stopEvent = std::make_shared<os::Event>(true);
        stop = ctx->stopEvent;
        thread.Start([ctx, s = slots, options] { DeviceScanThread(ctx, s, kTitle, options); });
    }
    ~Window() {
        stop->Set();
        EXPECT_EQ(thread.Join(5000), os::kWaitObject0);
        os::DestroyTarget(hwnd);
    }
    // Serves messages until pred holds (or a generous time passed).
    bool RunUntil(const std::function<bool()>& pred) {
        const int64_t until = os::MonotonicMs() + 20000;
        while (!pred() && os::MonotonicMs() < until) loop.RunOnce(10);
        return pred();
    }
    size_t Count(uint32_t msg) const {
        size_t n = 0;
        for (auto& [m, w] : log) n += m == msg;
        return n;
    }

    static constexpr uint32_t kTitle = 0xC123;
    os::MessageLoop loop;
    std::vector<std::pair<uint32_t, os::WPARAM>> log;
    std::shared_ptr<InterfaceSlotList> slots = std::make_shared<InterfaceSlotList>();
    std::shared_ptr<os::Event> stop;
    os::WorkerThread thread;
    os::HWND hwnd = 0;

  private:
    os::FunctionTarget target_;
};

class Discovery : public ::testing::Test {
  protected:
    void SetUp() override { os::hid::SelectBackends(os::hid::kBackendVirtual); }
    void TearDown() override {
        for (const auto& i : os::hid::VirtualBus::Instance().List())
            os::hid::VirtualBus::Instance().Unplug(i.id);
    }
};

TEST_F(Discovery, KeyboardArrivesOnBothSlotsAfterTheFirstPassAndLeavesFromBoth) {
    const uint32_t kb = Plug(0x320F, 0x22AB, 1, kFourCollections);
    Window w;
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(Window::kTitle) == 1; }));
    // The arrivals of the first pass come before the title message that shows the window.
    ASSERT_EQ(w.log.size(), 3u);
    EXPECT_EQ(w.log[0], std::make_pair(WM_DEVICE_ARRIVAL, os::WPARAM{1}));  // col 3 listed first
    EXPECT_EQ(w.log[1], std::make_pair(WM_DEVICE_ARRIVAL, os::WPARAM{0}));
    EXPECT_EQ(w.slots->Slot(0).connected, 1);
    EXPECT_EQ(w.slots->Slot(1).kind, kKindKeyboard);
    EXPECT_EQ(w.slots->Slot(1).role, kRoleEvent);
    EXPECT_NE(w.slots->Slot(0).path.find("&col04"), std::string::npos);

    os::hid::VirtualBus::Instance().Unplug(kb);
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_REMOVAL) == 2; }));
    EXPECT_TRUE(w.slots->IsFree(0));
    EXPECT_TRUE(w.slots->IsFree(1));
    EXPECT_EQ(w.Count(Window::kTitle), 1u);  // once only
}

TEST_F(Discovery, ReceiverSlotsAreClaimedButLeftUnconnectedAndStrangersAreIgnored) {
    Plug(0x320F, 0x22AA, 1, kFourCollections);
    Plug(0x320F, 0x1234, 1, kFourCollections);                  // not in the catalogue
    Plug(0x320F, 0x22A9, 1, {{0x0001, 0x02}, {0xFF1C, 0x92}});  // mouse commands
    Plug(0x320F, 0x22A9, 0, {{0x0001, 0x02}, {0x0001, 0x06}, {0x000C, 0x01}});  // mouse events
    Window w;
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_ARRIVAL) == 4; }));
    for (size_t slot : {4u, 5u}) {
        EXPECT_EQ(w.slots->Slot(slot).connected, 0) << slot;
        EXPECT_FALSE(w.slots->Slot(slot).path.empty()) << slot;
    }
    EXPECT_EQ(w.slots->Slot(6).connected, 1);
    EXPECT_EQ(w.slots->Slot(7).connected, 1);
    // Unconnected receiver slots are not free, so they are not claimed again.
    w.RunUntil([&] { return w.Count(Window::kTitle) == 1; });
    os::SleepMs(300);
    w.loop.RunOnce(0);
    EXPECT_EQ(w.Count(WM_DEVICE_ARRIVAL), 4u);
}

TEST_F(Discovery, PlugsAndUnplugsAreSeenWithoutWaitingForTheSlowPass) {
    // The slow pass is an hour away: only the bus's announcements can bring these messages.
    Window w(ScanOptions{.fallbackMs = 3600 * 1000});
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(Window::kTitle) == 1; }));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const uint32_t kb = Plug(0x320F, 0x22AB, 1, kFourCollections);
        ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_ARRIVAL) == 2u * (round + 1); }));
        EXPECT_EQ(w.slots->Slot(0).connected, 1);
        EXPECT_EQ(w.slots->Slot(1).connected, 1);
        os::hid::VirtualBus::Instance().Unplug(kb);
        ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_REMOVAL) == 2u * (round + 1); }));
        EXPECT_TRUE(w.slots->IsFree(0));
        EXPECT_TRUE(w.slots->IsFree(1));
    }
    EXPECT_EQ(w.Count(Window::kTitle), 1u);
}

TEST_F(Discovery, AnUnpluggedReceiverFreesItsSlotsAndAReplugClaimsThemAgain) {
    const uint32_t receiver = Plug(0x320F, 0x22AA, 1, kFourCollections);
    Window w;
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_ARRIVAL) == 2; }));
    const std::string before = w.slots->Slot(4).path;
    // No partner ever linked: the slots are claimed but not connected.
    os::hid::VirtualBus::Instance().Unplug(receiver);
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_REMOVAL) == 2; }));
    EXPECT_TRUE(w.slots->IsFree(4));
    EXPECT_TRUE(w.slots->IsFree(5));
    Plug(0x320F, 0x22AA, 1, kFourCollections);
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_ARRIVAL) == 4; }));
    EXPECT_FALSE(w.slots->Slot(4).path.empty());
    EXPECT_NE(w.slots->Slot(4).path, before);
}

TEST_F(Discovery, NoDevicesStillShowsTheWindowAfterTheFirstPass) {
    Window w;
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(Window::kTitle) == 1; }));
    EXPECT_EQ(w.log.size(), 1u);
}

TEST_F(Discovery, SimulatedDevicesClaimTheirCatalogueRows) {
    // The simulator's own reading of the catalogue's interfaces: keyboard, mouse, pad, headset.
    std::vector<std::unique_ptr<sim::SimulatedDevice>> devices;
    for (sim::Kind k :
         {sim::Kind::kKeyboard, sim::Kind::kMouse, sim::Kind::kPad, sim::Kind::kHeadset}) {
        devices.push_back(
            std::make_unique<sim::SimulatedDevice>(std::make_shared<sim::Firmware>(k)));
        ASSERT_TRUE(devices.back()->Plug());
    }
    Window w;
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(Window::kTitle) == 1; }));
    for (size_t slot : {0u, 1u, 6u, 7u, 10u, 11u, 12u})
        EXPECT_EQ(w.slots->Slot(slot).connected, 1) << "slot " << slot;
    EXPECT_EQ(w.Count(WM_DEVICE_ARRIVAL), 7u);
    devices[1]->Unplug();  // the mouse: both of its interfaces go
    ASSERT_TRUE(w.RunUntil([&] { return w.Count(WM_DEVICE_REMOVAL) == 2; }));
    EXPECT_TRUE(w.slots->IsFree(6));
    EXPECT_TRUE(w.slots->IsFree(7));
}

TEST(InterfaceSlotList, WantedClaimAndRelease) {
    InterfaceSlotList slots;
    slots.BuildFromCatalogue();
    ASSERT_EQ(slots.size(), kSupportedDevices.size());
    EXPECT_FALSE(slots.AllSlotsTaken());
    DeviceIdentity stranger;
    stranger.vendorId = 0x320F;
    stranger.productId = 0x1234;
    stranger.interfaceNumber = 1;
    stranger.collectionNumber = 4;
    EXPECT_FALSE(slots.IsWanted(stranger));

    DeviceIdentity pad = stranger;
    pad.productId = 0x1004;
    pad.usagePage = 0xFF1C;
    pad.usage = 0x92;
    pad.path = "p";
    EXPECT_TRUE(slots.IsWanted(pad));
    size_t index = 99;
    ASSERT_TRUE(slots.ClaimSlot(pad, &index));
    EXPECT_EQ(index, 10u);
    EXPECT_EQ(pad.kind, kKindMousePad);
    // A second interface with the same identity finds no free slot.
    EXPECT_FALSE(slots.IsWanted(pad));
    EXPECT_FALSE(slots.ClaimSlot(pad, &index));
    // Wrong usage: no catalogue row.
    DeviceIdentity odd = stranger;
    odd.productId = 0x1004;
    odd.collectionNumber = 3;
    odd.usagePage = 0xFF1C;
    EXPECT_FALSE(slots.ClaimSlot(odd, &index));
    slots.Release(10);
    EXPECT_TRUE(slots.IsFree(10));
}

}  // namespace
}  // namespace hid
