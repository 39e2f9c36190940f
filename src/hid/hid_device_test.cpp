#include "hid/hid_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <thread>

#include "hid/device_path.h"
#include "os/hid/hid_platform.h"
#include "os/hid/sample_descriptors.h"
#include "os/hid/virtual_bus.h"

namespace hid {
namespace {

using os::hid::VirtualBus;

constexpr uint32_t kLongWaitMs = 10000;

// Answers nothing unless told to; records what it got.
class QuietDevice : public os::hid::VirtualDeviceHandler {
  public:
    void OnOutputReport(uint32_t id, std::span<const uint8_t> report) override {
        std::lock_guard lock(mutex);
        received.emplace_back(report.begin(), report.end());
        if (echo) VirtualBus::Instance().PushInputReport(id, report);
    }
    std::mutex mutex;
    std::vector<std::vector<uint8_t>> received;
    bool echo = false;
};

class HidDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { os::hid::SelectBackends(os::hid::kBackendVirtual); }
    void TearDown() override {
        for (uint32_t id : plugged_) VirtualBus::Instance().Unplug(id);
    }
    uint32_t Plug(std::span<const uint8_t> descriptor, uint16_t pid, uint8_t mi) {
        os::hid::VirtualInterfaceConfig config{
            0x320f, pid, 0x0100, mi, {descriptor.begin(), descriptor.end()}};
        const uint32_t id = VirtualBus::Instance().Plug(config, device_);
        EXPECT_NE(id, 0u);
        plugged_.push_back(id);
        return id;
    }
    std::string PathOf(uint32_t id, size_t collection = 0) {
        const auto paths = VirtualBus::Instance().Paths(id);
        return collection < paths.size() ? paths[collection] : std::string();
    }
    std::shared_ptr<QuietDevice> device_ = std::make_shared<QuietDevice>();
    std::vector<uint32_t> plugged_;
};

TEST_F(HidDeviceTest, EnumerationGrowsWithoutLosingEntries) {
    HidDevice dev;
    ASSERT_TRUE(dev.Enumerate());
    EXPECT_EQ(dev.NextPath(), nullptr);  // nothing present

    std::set<std::string> expected;
    for (uint8_t mi = 0; mi < 4; ++mi)
        expected.insert(PathOf(Plug(os::hid::samples::kVendorCommand, 0x22ab, mi)));
    const uint32_t composite = Plug(os::hid::samples::kCompositeKeyboard, 0x22a9, 1);
    for (size_t c = 0; c < 4; ++c) expected.insert(PathOf(composite, c));

    ASSERT_TRUE(dev.Enumerate());
    EXPECT_EQ(dev.PathCount(), 8u);
    EXPECT_EQ(dev.PathCapacity(), 8u);
    std::set<std::string> seen;
    while (const char* p = dev.NextPath()) seen.insert(p);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(dev.NextPath(), nullptr);

    Plug(os::hid::samples::kVendorCommand, 0x22aa, 0);
    ASSERT_TRUE(dev.Enumerate());  // replaces the list and resets the cursor
    EXPECT_EQ(dev.PathCount(), 9u);
    EXPECT_EQ(dev.PathCapacity(), 16u);
    EXPECT_NE(dev.NextPath(), nullptr);
    dev.FreePaths();
    EXPECT_EQ(dev.NextPath(), nullptr);
}

TEST_F(HidDeviceTest, OpenReadsTheDescriptionAndBuildsDataItems) {
    const uint32_t id = Plug(os::hid::samples::kCompositeKeyboard, 0x22ab, 1);
    HidDevice dev;
    ASSERT_TRUE(dev.Open(PathOf(id, 3), true, true, true, false));
    EXPECT_EQ(dev.VendorId(), 0x320f);
    EXPECT_EQ(dev.ProductId(), 0x22ab);
    EXPECT_EQ(dev.UsagePage(), 0x01);
    EXPECT_EQ(dev.Usage(), 0x02);
    EXPECT_EQ(dev.InterfaceNumber(), 1);
    EXPECT_EQ(dev.CollectionNumber(), 4);
    EXPECT_EQ(dev.InputReportLength(), 8);
    EXPECT_EQ(dev.OutputReportLength(), 0);
    // Two button ranges first, then one item per value usage: X, Y, wheel.
    ASSERT_EQ(dev.InputItemCount(), 5u);
    const HidDataItem* items = dev.InputItems();
    EXPECT_EQ(items[0].isButtonData, 1);
    EXPECT_EQ(items[0].button.usageMin, 1u);
    EXPECT_EQ(items[0].button.usageMax, 8u);
    EXPECT_EQ(items[0].button.maxUsageLength, 16u);
    EXPECT_EQ(items[0].button.usages.size(), 16u);
    EXPECT_EQ(items[1].button.usageMin, 9u);
    EXPECT_EQ(items[2].isButtonData, 0);
    EXPECT_EQ(items[2].value.usage, 0x30);
    EXPECT_EQ(items[3].value.usage, 0x31);
    EXPECT_EQ(items[4].value.usage, 0x38);
    EXPECT_EQ(items[4].status, os::hid::kStatusSuccess);
    EXPECT_EQ(items[4].reportId, 2u);
    std::vector<uint8_t> zero(8, 0);
    EXPECT_TRUE(std::equal(zero.begin(), zero.end(), dev.InputReport()));

    // A failed open leaves the object closed.
    EXPECT_FALSE(dev.Open(PathOf(id, 3) + "x", true, true, true, false));
    EXPECT_FALSE(dev.IsOpen());
    EXPECT_EQ(dev.InputItemCount(), 0u);
    EXPECT_FALSE(dev.Open(std::string(HidDevice::kMaxPathLength, 'a'), true, true, true, false));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorFilenameExcedRange);
    uint8_t buf[64];
    uint32_t n = 5;
    EXPECT_FALSE(dev.Read(buf, sizeof buf, &n, 0));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorInvalidHandle);
    EXPECT_EQ(n, 0u);
}

TEST_F(HidDeviceTest, RefusesADescriptionTooLargeToHold) {
    // 400 button usages over one report of 60000 one-bit fields: each button item would need a
    // usage list of 60000 entries.
    std::vector<uint8_t> d = {0x05, 0x09, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x01, 0x96, 0x60, 0xEA};
    for (int u = 1; u <= 400; ++u) d.insert(d.end(), {0x0A, static_cast<uint8_t>(u), 0x01});
    d.insert(d.end(), {0x81, 0x02, 0xC0});
    HidDevice dev;
    ASSERT_FALSE(dev.Open(PathOf(Plug(d, 0x22ab, 1)), true, true, true, false));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorInvalidData);
    EXPECT_FALSE(dev.IsOpen());
}

TEST_F(HidDeviceTest, UnpackReportFillsTheItemsOfTheReportsId) {
    const uint32_t id = Plug(os::hid::samples::kCompositeKeyboard, 0x22ab, 1);
    HidDevice dev;
    ASSERT_TRUE(dev.Open(PathOf(id, 3), true, false, true, false));
    HidDataItem* items = dev.InputItems();

    // Another collection's report: no item touched.
    const uint8_t keyboard[9] = {0x01, 0x02, 0, 0x04};
    EXPECT_TRUE(HidDevice::UnpackReport(keyboard, sizeof keyboard, ReportType::kInput, items,
                                        dev.InputItemCount(), dev.Preparsed()));
    for (uint32_t i = 0; i < dev.InputItemCount(); ++i) EXPECT_EQ(items[i].isDataSet, 0) << i;

    // [id 2][buttons 1..8: 3 down][buttons 9..16: 9 down][X = -2][Y = 300][wheel = -1]
    const uint8_t mouse[8] = {0x02, 0x04, 0x01, 0xFE, 0xFF, 0x2C, 0x01, 0xFF};
    ASSERT_TRUE(HidDevice::UnpackReport(mouse, sizeof mouse, ReportType::kInput, items,
                                        dev.InputItemCount(), dev.Preparsed()));
    // Range 1..8 keeps 3 and drops 9, then ends the list.
    EXPECT_EQ(items[0].button.usages[0], 3);
    EXPECT_EQ(items[0].button.usages[1], 0);
    EXPECT_EQ(items[1].button.usages[0], 9);
    EXPECT_EQ(items[1].button.usages[1], 0);
    EXPECT_EQ(items[2].value.value, 0xFFFEu);
    EXPECT_EQ(items[2].value.scaledValue, -2);
    EXPECT_EQ(items[3].value.scaledValue, 300);
    EXPECT_EQ(items[4].value.scaledValue, -10);
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i].isDataSet, 1);
        EXPECT_EQ(items[i].status, os::hid::kStatusSuccess) << i;
    }
    // A report too short for its id fails the value items.
    EXPECT_FALSE(HidDevice::UnpackReport(mouse, 4, ReportType::kInput, items, dev.InputItemCount(),
                                         dev.Preparsed()));
    EXPECT_EQ(items[2].status, os::hid::kStatusInvalidReportLength);
    EXPECT_FALSE(HidDevice::UnpackReport(mouse, sizeof mouse, ReportType::kInput, items,
                                         dev.InputItemCount(), nullptr));
}

TEST_F(HidDeviceTest, WriteAndReadTheCommandInterface) {
    device_->echo = true;
    HidDevice dev;
    ASSERT_TRUE(dev.Open(PathOf(Plug(os::hid::samples::kVendorCommand, 0x22ab, 1)), true, true,
                         true, false));
    uint8_t out[64] = {0x04, 0x06, 0x38};
    uint32_t n = 0;
    ASSERT_TRUE(dev.Write(out, sizeof out, &n, 1000));
    EXPECT_EQ(n, 64u);
    uint8_t in[64] = {};
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(std::vector<uint8_t>(in, in + 64), std::vector<uint8_t>(out, out + 64));
    ASSERT_TRUE(dev.SetOutputReport(out, sizeof out));
    ASSERT_TRUE(dev.FlushQueue());
    EXPECT_FALSE(dev.Read(in, sizeof in, &n, 0));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorTimeout);
    EXPECT_FALSE(dev.Write(out, 10, &n, 1000));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorInvalidParameter);
}

TEST_F(HidDeviceTest, ReadOfASilentDeviceTimesOut) {
    HidDevice dev;
    ASSERT_TRUE(dev.Open(PathOf(Plug(os::hid::samples::kVendorCommand, 0x22ab, 1)), true, true,
                         true, false));
    uint8_t in[64];
    uint32_t n = 9;
    const int64_t start = os::MonotonicMs();
    EXPECT_FALSE(dev.Read(in, sizeof in, &n, 1000));
    EXPECT_GE(os::MonotonicMs() - start, 990);
    EXPECT_EQ(dev.LastError(), os::hid::kErrorTimeout);
    EXPECT_EQ(n, 0u);
    // Nothing is left pending: a report pushed now is the next one read.
    const uint8_t r[64] = {0x04, 0x77};
    ASSERT_TRUE(VirtualBus::Instance().PushInputReport(plugged_.back(), r));
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    EXPECT_EQ(in[1], 0x77);
}

TEST_F(HidDeviceTest, CloseFromAnotherThreadWakesAnInfiniteRead) {
    HidDevice dev;
    const std::string path = PathOf(Plug(os::hid::samples::kVendorCommand, 0x22ab, 1));
    ASSERT_TRUE(dev.Open(path, true, true, true, false));
    std::thread closer([&] {
        os::SleepMs(50);
        dev.Close();
    });
    uint8_t in[64];
    uint32_t n = 0;
    EXPECT_FALSE(dev.Read(in, sizeof in, &n, HidDevice::kInfiniteTimeout));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorOperationAborted);
    closer.join();
    EXPECT_FALSE(dev.IsOpen());

    // The object opens again and the earlier abort does not end the next read.
    ASSERT_TRUE(dev.Open(path, true, true, true, false));
    const uint8_t r[64] = {0x04, 0x01};
    ASSERT_TRUE(VirtualBus::Instance().PushInputReport(plugged_.back(), r));
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
}

TEST_F(HidDeviceTest, UnplugDuringAReadIsADisconnect) {
    HidDevice dev;
    const uint32_t id = Plug(os::hid::samples::kVendorCommand, 0x22ab, 1);
    const std::string path = PathOf(id);
    ASSERT_TRUE(dev.Open(path, true, true, true, false));
    std::thread unplug([&] {
        os::SleepMs(50);
        VirtualBus::Instance().Unplug(id);
    });
    uint8_t in[64];
    uint32_t n = 0;
    EXPECT_FALSE(dev.Read(in, sizeof in, &n, HidDevice::kInfiniteTimeout));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorDeviceNotConnected);
    unplug.join();
    EXPECT_FALSE(dev.Open(path, true, true, true, false));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorFileNotFound);
}

}  // namespace
}  // namespace hid
