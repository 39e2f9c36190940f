// The headset's live colour reports: their bytes, their order and their limit, and the twelve
// of them arriving at the simulated headset.
#include "device/headset/headset_colour_reports.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "device/device_channel.h"
#include "os/testing/virtual_device_test.h"
#include "sim/firmware.h"
#include "sim/simulated_device.h"

namespace device {
namespace {

// LED i: red 10 + i, green 100 + i, blue 255, at full brightness 255.
std::array<LedColour, kHeadsetLedCount> Ramp() {
    std::array<LedColour, kHeadsetLedCount> leds{};
    for (int i = 0; i < kHeadsetLedCount; ++i)
        leds[i] = {static_cast<uint8_t>(10 + i), static_cast<uint8_t>(100 + i), 255, 255};
    return leds;
}

TEST(HeadsetColourReports, ChannelValueIsScaledByBrightnessAndLimited) {
    struct Case {
        uint8_t channel, brightness, sent;
    };
    constexpr Case kCases[] = {
        {255, 255, 247},  // 254 would go out: limited
        {255, 0, 0},      //
        {0, 255, 0},      //
        {200, 128, 100},  // 200 x 128 / 256
        {248, 255, 247},  // 247.03 -> 247
        {247, 255, 246},  // 246.03 -> 246
    };
    for (const Case& c : kCases)
        EXPECT_EQ(HeadsetChannelValue(c.channel, c.brightness), c.sent)
            << int(c.channel) << " at " << int(c.brightness);
}

TEST(HeadsetColourReports, TwelveReportsInTheirOrder) {
    const auto reports = BuildHeadsetColourReports(Ramp());
    // The first report: zone 0x22, red of LEDs 0..6.
    constexpr std::array<uint8_t, 17> kFirst = {
        0xFF, 0x22, 0xAA, 0x00,              // id, zone, red low half, 0
        9,    10,   11,   12,   13, 14, 15,  // (10 + i) x 255 / 256 for LEDs 0..6
        0,    0,    0,    0,    0,  0,       // 11..16
    };
    EXPECT_EQ(reports[0].bytes, kFirst);
    // The second: zone 0x22, red of LEDs 7..12, six values, byte 10 stays 0.
    constexpr std::array<uint8_t, 17> kSecond = {
        0xFF, 0x22, 0xAD, 0x00,             // id, zone, red high half, 0
        16,   17,   18,   19,   20, 21,     // LEDs 7..12
        0,    0,    0,    0,    0,  0,  0,  // 10..16
    };
    EXPECT_EQ(reports[1].bytes, kSecond);
    // Blue is 255 at brightness 255 everywhere: 247.
    EXPECT_EQ(reports[8].bytes[2], 0xAC);
    for (int i = 4; i <= 10; ++i) EXPECT_EQ(reports[8].bytes[i], 247) << i;
    for (size_t r = 0; r < reports.size(); ++r) {
        EXPECT_EQ(reports[r].bytes[1], kHeadsetReportOrder[r].zone) << r;
        EXPECT_EQ(reports[r].bytes[2], kHeadsetReportOrder[r].subCode) << r;
    }
    EXPECT_EQ(reports[2].bytes, (std::array<uint8_t, 17>{0xFF, 0x44, 0xAA, 0, 9, 10, 11, 12, 13, 14,
                                                         15, 0, 0, 0, 0, 0, 0}))
        << "zone 0x44 gets the same colours";
}

TEST(HeadsetColourReports, FewerLedsAreDarkAndMoreAreNotSent) {
    const std::array<LedColour, 2> two = {{{255, 0, 0, 255}, {0, 255, 0, 128}}};
    const auto reports = BuildHeadsetColourReports(two);
    EXPECT_EQ(reports[0].bytes[4], 247);
    EXPECT_EQ(reports[0].bytes[5], 0);
    EXPECT_EQ(reports[4].bytes[5], 127);  // green of LED 1
    for (const HeadsetColourReport& r : reports)
        for (size_t i = 6; i < r.bytes.size(); ++i) EXPECT_EQ(r.bytes[i], 0);
    EXPECT_EQ(BuildHeadsetColourReports({})[0].bytes[4], 0);

    std::vector<LedColour> many(40, LedColour{255, 255, 255, 255});
    for (const HeadsetColourReport& r : BuildHeadsetColourReports(many))
        for (size_t i = 11; i < r.bytes.size(); ++i) EXPECT_EQ(r.bytes[i], 0);

    const auto buffer = HeadsetReportBuffer(BuildHeadsetColourReports(two)[0]);
    EXPECT_EQ(buffer[0], 0xFF);
    EXPECT_EQ(buffer[4], 247);
    for (size_t i = 17; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0);
}

class SimulatedHeadsetColours : public os::testing::VirtualDeviceTest {
  protected:
    void SetUp() override {
        VirtualDeviceTest::SetUp();
        firmware_ = std::make_shared<sim::Firmware>(sim::Kind::kHeadset);
        device_ = std::make_unique<sim::SimulatedDevice>(firmware_);
        ASSERT_TRUE(device_->Plug());
        const std::vector<uint32_t> ids = device_->interfaceIds();
        ASSERT_EQ(ids.size(), 1u);
        const std::string path = FirstPath(ids[0]);
        ASSERT_TRUE(channel_.directHandle().Open(path, true, true, true, false));
        channel_.SetOpen(true);
    }
    void TearDown() override {
        channel_.directHandle().Close();
        device_.reset();
        VirtualDeviceTest::TearDown();
    }

    std::shared_ptr<sim::Firmware> firmware_;
    std::unique_ptr<sim::SimulatedDevice> device_;
    DeviceChannel channel_;
};

TEST_F(SimulatedHeadsetColours, TheTwelveReportsSetBothZonesOfTheHeadset) {
    const auto leds = Ramp();
    EXPECT_EQ(SendHeadsetColourReports(channel_, leds), 12);
    EXPECT_EQ(firmware_->ColourReportCount(), 12u);
    const std::vector<uint8_t> colours = firmware_->ReadArea(sim::Area::kColours);
    ASSERT_EQ(colours.size(), 2u * 13 * 3);
    for (int zone = 0; zone < 2; ++zone)
        for (int i = 0; i < kHeadsetLedCount; ++i) {
            const uint8_t* c = colours.data() + zone * 39 + i * 3;
            EXPECT_EQ(c[0], HeadsetChannelValue(leds[i].red, 255)) << zone << "/" << i;
            EXPECT_EQ(c[1], HeadsetChannelValue(leds[i].green, 255)) << zone << "/" << i;
            EXPECT_EQ(c[2], 247) << zone << "/" << i;
        }
}

TEST_F(SimulatedHeadsetColours, NothingGoesOutWhileTheChannelIsClosedOrTheHeadsetIsGone) {
    channel_.SetOpen(false);
    EXPECT_EQ(SendHeadsetColourReports(channel_, Ramp()), 0);
    EXPECT_EQ(firmware_->ColourReportCount(), 0u);
    channel_.SetOpen(true);
    device_->Unplug();
    EXPECT_EQ(SendHeadsetColourReports(channel_, Ramp()), 0) << "each failed report is dropped";
}

}  // namespace
}  // namespace device
