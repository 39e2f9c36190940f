#include "os/hid/virtual_bus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "os/hid/hid_platform.h"
#include "os/hid/interface_path.h"
#include "os/hid/sample_descriptors.h"

namespace os::hid {
namespace {

constexpr int kLongWaitMs = 10000;  // generous: the machine is loaded

// A device that answers every command report with the same bytes, first byte 0xA0 | command byte.
class EchoDevice : public VirtualDeviceHandler {
  public:
    void OnOutputReport(uint32_t id, std::span<const uint8_t> report) override {
        {
            std::lock_guard lock(mutex);
            received.emplace_back(report.begin(), report.end());
        }
        std::vector<uint8_t> answer(report.begin(), report.end());
        answer[1] = static_cast<uint8_t>(0xA0 | answer[1]);
        VirtualBus::Instance().PushInputReport(id, answer, delayMs);
    }
    bool OnGetFeature(uint32_t, std::span<uint8_t> report) override {
        report[1] = 0x5A;
        return true;
    }
    std::mutex mutex;
    std::vector<std::vector<uint8_t>> received;
    int delayMs = 0;
};

class VirtualBusTest : public ::testing::Test {
  protected:
    void SetUp() override { SelectBackends(kBackendVirtual); }
    void TearDown() override {
        for (uint32_t id : plugged_) VirtualBus::Instance().Unplug(id);
    }
    uint32_t Plug(std::span<const uint8_t> descriptor, std::shared_ptr<VirtualDeviceHandler> h,
                  uint16_t pid = 0x22ab, uint8_t mi = 1) {
        VirtualInterfaceConfig config;
        config.vendorId = 0x320f;
        config.productId = pid;
        config.versionNumber = 0x0102;
        config.interfaceNumber = mi;
        config.reportDescriptor.assign(descriptor.begin(), descriptor.end());
        std::string error;
        const uint32_t id = VirtualBus::Instance().Plug(config, std::move(h), &error);
        EXPECT_NE(id, 0u) << error;
        plugged_.push_back(id);
        return id;
    }
    std::string PathOf(uint32_t id, size_t collection = 0) {
        const auto paths = VirtualBus::Instance().Paths(id);
        return collection < paths.size() ? paths[collection] : std::string();
    }
    std::shared_ptr<DeviceHandle> OpenRw(const std::string& path) {
        OpenOptions o;
        o.readAccess = o.writeAccess = true;
        std::shared_ptr<DeviceHandle> h;
        EXPECT_EQ(OpenInterface(path, o, &h), kErrorSuccess) << path;
        return h;
    }
    std::vector<uint32_t> plugged_;
};

TEST_F(VirtualBusTest, ListsOnePathPerCollectionAndOpensThem) {
    auto echo = std::make_shared<EchoDevice>();
    const uint32_t single = Plug(samples::kVendorCommand, echo, 0x1630, 3);
    const uint32_t composite = Plug(samples::kCompositeKeyboard, echo);
    std::vector<std::string> paths;
    ASSERT_EQ(EnumerateInterfaces(&paths), kErrorSuccess);
    char node[32];
    std::snprintf(node, sizeof node, "virtual&%04x", single);
    EXPECT_EQ(PathOf(single), std::string("\\\\?\\hid#vid_320f&pid_1630&mi_03#") + node +
                                  "#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    for (int col = 1; col <= 4; ++col) {
        InterfacePath parts;
        ASSERT_TRUE(SplitInterfacePath(PathOf(composite, col - 1), &parts));
        EXPECT_EQ(parts.collection, col);
        EXPECT_EQ(parts.interfaceNumber, 1);
        EXPECT_NE(std::find(paths.begin(), paths.end(), PathOf(composite, col - 1)), paths.end());
    }
    auto h = OpenRw(PathOf(composite, 2));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->caps().usagePage, 0xFF00);
    EXPECT_EQ(h->attributes().vendorId, 0x320f);
    EXPECT_EQ(h->attributes().versionNumber, 0x0102);

    // A composite interface is opened by collection only; unknown nodes are not found.
    std::shared_ptr<DeviceHandle> none;
    OpenOptions o;
    EXPECT_EQ(OpenInterface("\\\\?\\hid#vid_320f&pid_22ab&mi_01#" + std::string(node) +
                                "x#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                            o, &none),
              kErrorFileNotFound);
    EXPECT_EQ(OpenInterface("not a path", o, &none), kErrorBadPathName);
}

TEST_F(VirtualBusTest, CommandRoundTripAndFeatureReports) {
    auto echo = std::make_shared<EchoDevice>();
    auto h = OpenRw(PathOf(Plug(samples::kVendorCommand, echo)));
    ASSERT_TRUE(h);
    uint8_t out[64] = {0x04, 0x03, 0x11};
    uint32_t n = 0;
    ASSERT_EQ(h->Write(out, sizeof out, &n, 1000, nullptr), kErrorSuccess);
    EXPECT_EQ(n, 64u);
    uint8_t in[64] = {};
    ASSERT_EQ(h->Read(in, sizeof in, &n, kLongWaitMs, nullptr), kErrorSuccess);
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(in[0], 0x04);
    EXPECT_EQ(in[1], 0xA3);
    EXPECT_EQ(in[2], 0x11);

    uint8_t feature[64] = {};
    EXPECT_EQ(h->GetFeature(feature, sizeof feature), kErrorInvalidParameter);  // no feature report
    // Wrong report id, short buffer.
    out[0] = 0x05;
    EXPECT_EQ(h->Write(out, sizeof out, &n, 1000, nullptr), kErrorInvalidParameter);
    EXPECT_EQ(h->Read(in, 63, &n, 0, nullptr), kErrorInvalidParameter);
    out[0] = 0x04;
    ASSERT_EQ(h->SetOutputReport(out, sizeof out), kErrorSuccess);
    std::lock_guard lock(echo->mutex);
    EXPECT_EQ(echo->received.size(), 2u);
}

TEST_F(VirtualBusTest, EachHandleSeesOnlyItsCollectionsReports) {
    auto echo = std::make_shared<EchoDevice>();
    const uint32_t id = Plug(samples::kCompositeKeyboard, echo);
    auto consumer = OpenRw(PathOf(id, 1));
    auto vendorA = OpenRw(PathOf(id, 2));
    auto vendorB = OpenRw(PathOf(id, 2));
    const uint8_t volumeUp[3] = {0x03, 0xE9, 0x00};
    const uint8_t event[64] = {0x04, 0x11, 0x02};
    ASSERT_TRUE(VirtualBus::Instance().PushInputReport(id, volumeUp));
    ASSERT_TRUE(VirtualBus::Instance().PushInputReport(id, event));
    uint8_t buf[64];
    uint32_t n = 0;
    ASSERT_EQ(consumer->Read(buf, sizeof buf, &n, kLongWaitMs, nullptr), kErrorSuccess);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(buf[1], 0xE9);
    EXPECT_EQ(consumer->Read(buf, sizeof buf, &n, 0, nullptr), kErrorTimeout);
    for (auto& h : {vendorA, vendorB}) {
        ASSERT_EQ(h->Read(buf, sizeof buf, &n, kLongWaitMs, nullptr), kErrorSuccess);
        EXPECT_EQ(buf[1], 0x11);
    }
}

TEST_F(VirtualBusTest, RefusesBadDescriptorsAndUndescribedReports) {
    std::string error;
    VirtualInterfaceConfig config;
    config.reportDescriptor = {0xA1, 0x01};
    EXPECT_EQ(VirtualBus::Instance().Plug(config, std::make_shared<EchoDevice>(), &error), 0u);
    EXPECT_NE(error.find("not closed"), std::string::npos);
    EXPECT_EQ(VirtualBus::Instance().Plug(config, nullptr, &error), 0u);

    const uint32_t id = Plug(samples::kVendorCommand, std::make_shared<EchoDevice>());
    auto h = OpenRw(PathOf(id));
    const uint8_t wrongId[64] = {0x07};
    const uint8_t tooLong[65] = {0x04};
    const uint8_t shortReport[3] = {0x04, 0x01, 0x02};
    EXPECT_FALSE(VirtualBus::Instance().PushInputReport(id, wrongId));
    EXPECT_FALSE(VirtualBus::Instance().PushInputReport(id, tooLong));
    EXPECT_FALSE(VirtualBus::Instance().PushInputReport(id, {}));
    EXPECT_FALSE(VirtualBus::Instance().PushInputReport(0xFFFFFF, shortReport));
    ASSERT_TRUE(VirtualBus::Instance().PushInputReport(id, shortReport));
    uint8_t buf[64];
    std::fill(std::begin(buf), std::end(buf), 0xEE);
    uint32_t n = 0;
    ASSERT_EQ(h->Read(buf, sizeof buf, &n, kLongWaitMs, nullptr), kErrorSuccess);
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(buf[2], 0x02);
    EXPECT_EQ(buf[3], 0x00);  // padded
    EXPECT_EQ(buf[63], 0x00);
}

TEST_F(VirtualBusTest, TimeOutAbortCloseAndUnplugEndAWaitingRead) {
    auto echo = std::make_shared<EchoDevice>();
    const uint32_t id = Plug(samples::kVendorCommand, echo);
    auto h = OpenRw(PathOf(id));
    uint8_t buf[64];
    uint32_t n = 7;
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, 50, nullptr), kErrorTimeout);
    EXPECT_EQ(n, 0u);

    Event abort(false, false);
    std::thread aborter([&] {
        os::SleepMs(20);
        abort.Set();
    });
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, kInfinite, &abort), kErrorOperationAborted);
    aborter.join();
    EXPECT_FALSE(abort.IsSet());  // the read took the signal

    std::thread unplugger([&] {
        os::SleepMs(20);
        VirtualBus::Instance().Unplug(id);
    });
    EXPECT_EQ(h->Read(buf, sizeof buf, &n, kInfinite, nullptr), kErrorDeviceNotConnected);
    unplugger.join();
    const uint8_t out[64] = {0x04};
    EXPECT_EQ(h->Write(out, sizeof out, &n, 100, nullptr), kErrorDeviceNotConnected);
    std::vector<std::string> paths;
    ASSERT_EQ(EnumerateInterfaces(&paths), kErrorSuccess);
    EXPECT_EQ(std::find(paths.begin(), paths.end(), PathOf(id)), paths.end());

    auto h2 = OpenRw(PathOf(Plug(samples::kVendorCommand, echo)));
    std::thread closer([&] {
        os::SleepMs(20);
        h2->Close();
    });
    EXPECT_EQ(h2->Read(buf, sizeof buf, &n, kInfinite, nullptr), kErrorOperationAborted);
    closer.join();
    EXPECT_EQ(h2->Read(buf, sizeof buf, &n, 0, nullptr), kErrorOperationAborted);
}

TEST_F(VirtualBusTest, DelayedAndCrossThreadReportsKeepTheirOrder) {
    auto echo = std::make_shared<EchoDevice>();
    echo->delayMs = 30;
    const uint32_t id = Plug(samples::kVendorCommand, echo);
    auto h = OpenRw(PathOf(id));
    uint8_t out[64] = {0x04, 0x01};
    uint32_t n = 0;
    ASSERT_EQ(h->Write(out, sizeof out, &n, 1000, nullptr), kErrorSuccess);
    out[1] = 0x02;
    ASSERT_EQ(h->Write(out, sizeof out, &n, 1000, nullptr), kErrorSuccess);
    uint8_t in[64];
    EXPECT_EQ(h->Read(in, sizeof in, &n, 0, nullptr), kErrorTimeout);  // not due yet
    ASSERT_EQ(h->Read(in, sizeof in, &n, kLongWaitMs, nullptr), kErrorSuccess);
    EXPECT_EQ(in[1], 0xA1);
    ASSERT_EQ(h->Read(in, sizeof in, &n, kLongWaitMs, nullptr), kErrorSuccess);
    EXPECT_EQ(in[1], 0xA2);

    // Unsolicited reports from a firmware thread; the queue keeps the newest when it overflows.
    std::thread firmware([&] {
        for (int i = 0; i < 40; ++i) {
            const uint8_t r[64] = {0x04, static_cast<uint8_t>(i)};
            VirtualBus::Instance().PushInputReport(id, r);
        }
    });
    firmware.join();
    ASSERT_EQ(h->Read(in, sizeof in, &n, kLongWaitMs, nullptr), kErrorSuccess);
    EXPECT_EQ(in[1], 40 - VirtualBus::kQueueLength);
    ASSERT_EQ(h->FlushQueue(), kErrorSuccess);
    EXPECT_EQ(h->Read(in, sizeof in, &n, 0, nullptr), kErrorTimeout);
}

TEST_F(VirtualBusTest, ShareModeAndAccess) {
    const std::string path = PathOf(Plug(samples::kVendorCommand, std::make_shared<EchoDevice>()));
    OpenOptions exclusive;
    exclusive.readAccess = exclusive.writeAccess = exclusive.exclusive = true;
    OpenOptions readOnly;
    readOnly.readAccess = true;
    OpenOptions readWrite;
    readWrite.readAccess = readWrite.writeAccess = true;
    std::shared_ptr<DeviceHandle> a, b, c;
    ASSERT_EQ(OpenInterface(path, exclusive, &a), kErrorSuccess);
    EXPECT_EQ(OpenInterface(path, readWrite, &b), kErrorSharingViolation);
    ASSERT_EQ(OpenInterface(path, readOnly, &c), kErrorSuccess);
    const uint8_t out[64] = {0x04};
    uint32_t n;
    EXPECT_EQ(c->Write(out, sizeof out, &n, 100, nullptr), kErrorAccessDenied);
    a->Close();
    a.reset();
    EXPECT_EQ(OpenInterface(path, readWrite, &b), kErrorSuccess);
    EXPECT_EQ(OpenInterface(path, exclusive, &a), kErrorSharingViolation);
}

TEST_F(VirtualBusTest, PlugAndUnplugSetTheWatchesOnceTheChangeIsVisible) {
    auto watch = std::make_shared<Event>(true, false);
    VirtualBus::Instance().AddWatch(watch);
    // What a watcher sees when its event is set: the listing as the change left it.
    auto listed = [](const std::string& path) {
        std::vector<std::string> paths;
        EnumerateInterfaces(&paths);
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    };
    const uint32_t id = Plug(samples::kVendorCommand, std::make_shared<EchoDevice>());
    const std::string path = PathOf(id);
    ASSERT_TRUE(watch->IsSet());
    EXPECT_TRUE(listed(path));
    watch->Reset();
    ASSERT_TRUE(VirtualBus::Instance().Unplug(id));
    ASSERT_TRUE(watch->IsSet());
    EXPECT_FALSE(listed(path));
    std::shared_ptr<DeviceHandle> gone;
    EXPECT_EQ(OpenInterface(path, OpenOptions{}, &gone), kErrorFileNotFound);

    // A removed watch is left alone.
    VirtualBus::Instance().RemoveWatch(watch);
    watch->Reset();
    Plug(samples::kVendorCommand, std::make_shared<EchoDevice>());
    EXPECT_FALSE(watch->IsSet());
}

TEST(VirtualBusBackends, VirtualPathsNeedTheVirtualBackend) {
    SelectBackends(kBackendHidraw);
    const uint32_t id = VirtualBus::Instance().Plug(
        {0x320f,
         0x22ab,
         1,
         1,
         {std::begin(samples::kVendorCommand), std::end(samples::kVendorCommand)}},
        std::make_shared<EchoDevice>());
    ASSERT_NE(id, 0u);
    const std::string path = VirtualBus::Instance().Paths(id)[0];
    std::shared_ptr<DeviceHandle> h;
    EXPECT_EQ(OpenInterface(path, {}, &h), kErrorFileNotFound);
    VirtualBus::Instance().Unplug(id);
    SelectBackends(kBackendVirtual);
}

TEST(InterfacePath, FormatsAndSplits) {
    struct Case {
        InterfacePath parts;
        const char* text;
    };
    const Case kCases[] = {
        {{0x320f, 0x22ab, 1, 4, "hidraw3"},
         "\\\\?\\hid#vid_320f&pid_22ab&mi_01&col04#hidraw3#{4d1e55b2-f16f-11cf-88cb-001111000030}"},
        {{0x0c76, 0x1630, 3, 0, "virtual&0010"},
         "\\\\?\\hid#vid_0c76&pid_1630&mi_03#virtual&0010#{4d1e55b2-f16f-11cf-88cb-001111000030}"},
        {{0x046d, 0xc52b, -1, 0, "hidraw0"},
         "\\\\?\\hid#vid_046d&pid_c52b#hidraw0#{4d1e55b2-f16f-11cf-88cb-001111000030}"},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(FormatInterfacePath(c.parts), c.text);
        InterfacePath back;
        ASSERT_TRUE(SplitInterfacePath(c.text, &back)) << c.text;
        EXPECT_EQ(back.vendorId, c.parts.vendorId);
        EXPECT_EQ(back.productId, c.parts.productId);
        EXPECT_EQ(back.interfaceNumber, c.parts.interfaceNumber);
        EXPECT_EQ(back.collection, c.parts.collection);
        EXPECT_EQ(back.node, c.parts.node);
    }
    InterfacePath p;
    EXPECT_TRUE(SplitInterfacePath(
        "\\\\?\\HID#VID_320F&PID_22AB&MI_01&COL04#hidraw3#{4D1E55B2-F16F-11CF-88CB-001111000030}",
        &p));
    for (const char* bad :
         {"", "\\\\?\\hid#vid_320f#hidraw3#{4d1e55b2-f16f-11cf-88cb-001111000030}",
          "\\\\?\\hid#vid_320f&pid_22ab&col00#hidraw3#{4d1e55b2-f16f-11cf-88cb-001111000030}",
          "\\\\?\\hid#vid_320f&pid_22ab##{4d1e55b2-f16f-11cf-88cb-001111000030}",
          "\\\\?\\hid#vid_320f&pid_22ab#hidraw3#{other}"})
        EXPECT_FALSE(SplitInterfacePath(bad, &p)) << bad;
}

}  // namespace
}  // namespace os::hid
