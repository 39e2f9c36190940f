// The pad's and headset's lighting block: the translation between the device's bytes and the
// model's, and round trips through the device channel against the simulated pad and headset.
#include "device/mouse_pad/pad_settings_block.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "device/device_channel.h"
#include "device/mouse_pad/pad_phone_type.h"
#include "os/testing/virtual_device_test.h"
#include "sim/firmware.h"
#include "sim/simulated_device.h"

namespace device {
namespace {

// A light mode list whose "value" column is not the index, so that a missing translation shows.
constexpr std::array<int, 9> kCodes = {0x10, 0x11, 0x12, 0x13, 0x14, 0x00, 0x16, 0x17, 0x18};

// 26 bytes as the device answers them.
constexpr std::array<uint8_t, 26> kDeviceBytes = {
    0x00,                    // 0: active index
    0x13,                    // 1: mode code 0x13 = list entry 3
    0x02,                    // 2: brightness level 2
    0x03,                    // 3: 4 - speed: speed level 1
    0x5A,                    // 4: carried
    0x01,                    // 5: colourful
    0x11, 0x22, 0x33,        // 6..8: red, green, blue
    0xA0, 0xA1, 0xA2, 0xA3,  // 9..20: carried from the last read
    0xA4, 0xA5, 0xA6, 0xA7,  //
    0xA8, 0xA9, 0xAA, 0xAB,  //
    0xEE, 0xEE, 0xEE, 0xEE,  // 21..25: read, not kept
    0xEE,                    //
};

TEST(LightingBlock, DeviceBytesTurnIntoTheModelsBlockAndBack) {
    const std::optional<LightingBlock> block = LightingBlockFromDevice(kDeviceBytes, kCodes);
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[LightingBlock::kMode], 3);
    EXPECT_EQ((*block)[LightingBlock::kSpeed], 1);
    EXPECT_EQ((*block)[LightingBlock::kCarried], 0x5A);
    const std::array<uint8_t, 21> back = LightingBlockToDevice(*block, kCodes);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), kDeviceBytes.begin()))
        << "bytes 9..20 and the carried byte 4 go back as they came";
}

TEST(LightingBlock, EdgesOfTheTranslation) {
    struct Case {
        const char* what;
        uint8_t deviceMode, deviceSpeed;  // as read
        uint8_t modelMode, modelSpeed;    // in the model
    };
    constexpr Case kCases[] = {
        {"a code no list entry has stays the raw index", 0x42, 0, 0x42, 4},
        {"code 0 is entry 5 here, not index 0", 0x00, 4, 5, 0},
        {"speed byte 3 is level 1", 0x10, 3, 0, 1},
        {"a speed byte beyond the levels reads as level 0", 0x10, 200, 0, 0},
    };
    for (const Case& c : kCases) {
        std::array<uint8_t, 26> bytes = kDeviceBytes;
        bytes[1] = c.deviceMode;
        bytes[3] = c.deviceSpeed;
        const std::optional<LightingBlock> block = LightingBlockFromDevice(bytes, kCodes);
        ASSERT_TRUE(block) << c.what;
        EXPECT_EQ((*block)[LightingBlock::kMode], c.modelMode) << c.what;
        EXPECT_EQ((*block)[LightingBlock::kSpeed], c.modelSpeed) << c.what;
    }
}

TEST(LightingBlock, WritingFromARecord) {
    struct Case {
        const char* what;
        uint8_t mode, brightness, speed;
        uint8_t deviceMode, deviceBrightness, deviceSpeed;
    };
    constexpr Case kCases[] = {
        {"speed level 1 stores 3", 7, 4, 1, 0x17, 4, 3},
        {"speed level 4 stores 0", 0, 0, 4, 0x10, 0, 0},
        {"levels beyond 4 go as 4", 2, 9, 9, 0x12, 4, 0},
        {"a mode index beyond the list goes as it is", 12, 1, 0, 12, 1, 4},
    };
    for (const Case& c : kCases) {
        LightingBlock block = *LightingBlockFromDevice(kDeviceBytes, kCodes);
        profile::LightingRecord record;
        record[profile::LightingRecord::kMode] = c.mode;
        record[profile::LightingRecord::kBrightness] = c.brightness;
        record[profile::LightingRecord::kSpeed] = c.speed;
        record[profile::LightingRecord::kColourful] = 0;
        record[profile::LightingRecord::kRed] = 1;
        record[profile::LightingRecord::kGreen] = 2;
        record[profile::LightingRecord::kBlue] = 3;
        ApplyLightingRecord(block, record);
        const std::array<uint8_t, 21> out = LightingBlockToDevice(block, kCodes);
        EXPECT_EQ(out[1], c.deviceMode) << c.what;
        EXPECT_EQ(out[2], c.deviceBrightness) << c.what;
        EXPECT_EQ(out[3], c.deviceSpeed) << c.what;
        EXPECT_EQ(out[5], 0) << c.what;
        EXPECT_EQ(out[6], 1) << c.what;
        EXPECT_EQ(out[8], 3) << c.what;
        EXPECT_EQ(out[4], 0x5A) << c.what;
        EXPECT_EQ(out[20], 0xAB) << c.what;

        profile::LightingRecord back;
        back[profile::LightingRecord::kLightPage] = 6;
        StoreInLightingRecord(block, back);
        EXPECT_EQ(back[profile::LightingRecord::kMode], c.mode) << c.what;
        EXPECT_EQ(back[profile::LightingRecord::kBlue], 3) << c.what;
        EXPECT_EQ(back[profile::LightingRecord::kLightPage], 6) << "the rest of the record stays";
    }
}

TEST(LightingBlock, ShortReadsAndUnreachableSlotsGiveNothing) {
    EXPECT_FALSE(LightingBlockFromDevice(std::span(kDeviceBytes).first(20), kCodes));
    EXPECT_FALSE(LightingBlockFromDevice({}, kCodes));
    EXPECT_TRUE(LightingBlockFromDevice(std::span(kDeviceBytes).first(21), kCodes));
    EXPECT_TRUE(LightingBlockFromDevice(kDeviceBytes, {}))
        << "without a light mode list the code stays the index";
    EXPECT_EQ(LightingBlockReadAddress(3), 75);
    EXPECT_EQ(LightingBlockReadAddress(255), 6375);
    EXPECT_EQ(LightingBlockWriteAddress(0), 0);
    EXPECT_EQ(LightingBlockWriteAddress(2), 128);
    EXPECT_EQ(LightingBlockWriteAddress(1023), 65472);
    EXPECT_FALSE(LightingBlockWriteAddress(1024));
    EXPECT_FALSE(LightingBlockWriteAddress(-1));
}

// The pad and the headset on the virtual bus, reached through a real channel.
class SimulatedLightingBlock : public os::testing::VirtualDeviceTest,
                               public ::testing::WithParamInterface<sim::Kind> {
  protected:
    void SetUp() override {
        VirtualDeviceTest::SetUp();
        firmware_ = std::make_shared<sim::Firmware>(GetParam());
        device_ = std::make_unique<sim::SimulatedDevice>(firmware_);
        ASSERT_TRUE(device_->Plug());
        ASSERT_TRUE(OpenCommandCollection());
    }
    void TearDown() override {
        channel_.directHandle().Close();
        device_.reset();
        VirtualDeviceTest::TearDown();
    }

    // The collection that takes 64-byte command frames.
    bool OpenCommandCollection() {
        for (uint32_t id : device_->interfaceIds())
            for (const std::string& path : os::hid::VirtualBus::Instance().Paths(id)) {
                hid::HidDevice& h = channel_.directHandle();
                if (!h.Open(path, true, true, true, false)) continue;
                if (h.OutputReportLength() == 64) {
                    channel_.SetOpen(true);
                    channel_.SetConnectionType(1);
                    return true;
                }
                h.Close();
            }
        return false;
    }

    std::shared_ptr<sim::Firmware> firmware_;
    std::unique_ptr<sim::SimulatedDevice> device_;
    DeviceChannel channel_;
};

TEST_P(SimulatedLightingBlock, BlockLandsAtItsAddressesAndComesBack) {
    // Active index 2: the block is read from 50 and written to 0.
    std::array<uint8_t, 26> stored = kDeviceBytes;
    stored[0] = 0x77;
    ASSERT_TRUE(firmware_->WriteArea(sim::Area::kSettings, 50, stored));
    constexpr uint8_t kActive = 2;
    ASSERT_TRUE(firmware_->WriteArea(sim::Area::kSettings, 0, std::span(&kActive, 1)));

    LightingBlock block;
    ASSERT_EQ(ReadLightingBlock(channel_, kCodes, block), 1);
    EXPECT_EQ(block[LightingBlock::kActive], 2) << "byte 0 is what address 0 holds";
    EXPECT_EQ(block[LightingBlock::kMode], 3);
    EXPECT_EQ(block[LightingBlock::kSpeed], 1);

    profile::LightingRecord record;
    record[profile::LightingRecord::kMode] = 8;
    record[profile::LightingRecord::kSpeed] = 1;
    record[profile::LightingRecord::kRed] = 200;
    ApplyLightingRecord(block, record);
    block[LightingBlock::kActive] = 0;
    ASSERT_EQ(WriteLightingBlock(channel_, block, kCodes, 1), 1);

    const std::vector<uint8_t> memory = firmware_->ReadArea(sim::Area::kSettings);
    constexpr std::array<uint8_t, 21> kExpected = {
        0x00,                    // 0: active value
        0x18,                    // 1: mode index 8 as its code
        0x00,                    // 2: brightness 0
        0x03,                    // 3: speed level 1
        0x5A,                    // 4: carried
        0x00,                    // 5: not colourful
        200,  0x00, 0x00,        // 6..8: colour
        0xA0, 0xA1, 0xA2, 0xA3,  // 9..20: unchanged
        0xA4, 0xA5, 0xA6, 0xA7,  //
        0xA8, 0xA9, 0xAA, 0xAB,  //
    };
    EXPECT_TRUE(std::equal(kExpected.begin(), kExpected.end(), memory.begin() + 64))
        << "slot 1 is at 64";
    EXPECT_EQ(memory[0], 2) << "the active index was not written over";
}

TEST_P(SimulatedLightingBlock, AFailedReadKeepsTheModelsCopy) {
    LightingBlock block = *LightingBlockFromDevice(kDeviceBytes, kCodes);
    const LightingBlock before = block;
    struct Case {
        const char* what;
        sim::FaultKind fault;
        int after;
    };
    const Case kCases[] = {
        {"the block's read answered 0xFF", sim::FaultKind::kStatusFF, 1},
        {"the active index's read refused", sim::FaultKind::kStatusFE, 0},
        {"no answer to the block", sim::FaultKind::kNoAnswer, 1},
    };
    for (const Case& c : kCases) {
        firmware_->AddFault({.kind = c.fault, .command = 0x05, .after = c.after, .frames = 1});
        EXPECT_NE(ReadLightingBlock(channel_, kCodes, block), 1) << c.what;
        EXPECT_EQ(block, before) << c.what;
        firmware_->ClearFaults();
    }
    channel_.SetOpen(false);
    EXPECT_EQ(ReadLightingBlock(channel_, kCodes, block), 0);
    EXPECT_EQ(WriteLightingBlock(channel_, block, kCodes), 0);
    EXPECT_EQ(block, before);
}

TEST_P(SimulatedLightingBlock, ARefusedWriteIsReportedAndChangesNothing) {
    const std::vector<uint8_t> before = firmware_->ReadArea(sim::Area::kSettings);
    firmware_->AddFault({.kind = sim::FaultKind::kRefuseWrites});
    const LightingBlock block = *LightingBlockFromDevice(kDeviceBytes, kCodes);
    EXPECT_EQ(WriteLightingBlock(channel_, block, kCodes), ErrStatusFF);
    EXPECT_EQ(firmware_->ReadArea(sim::Area::kSettings), before);
}

TEST_P(SimulatedLightingBlock, PowerStatusNamesThePairedPhone) {
    struct Case {
        uint8_t phoneType;
        std::string_view tooltip;
    };
    constexpr Case kCases[] = {
        {0, "Phone_type_no_device"}, {1, "Phone_type_iphone"},    {2, "Phone_type_samsung"},
        {3, "Phone_type_other"},     {4, "Phone_type_no_device"}, {255, "Phone_type_no_device"},
    };
    for (const Case& c : kCases) {
        firmware_->SetPowerByte(5, c.phoneType);
        PowerStatusBlock power;
        ASSERT_EQ(channel_.ReadPowerStatus(power.bytes.data(), 6, 0), 1);
        EXPECT_EQ(PadPhonePicture(power).tooltip, c.tooltip) << int(c.phoneType);
        EXPECT_EQ(PadPhonePicture(power).image, "file='power/" + std::string(c.tooltip) + ".png'");
    }
}

INSTANTIATE_TEST_SUITE_P(PadAndHeadset, SimulatedLightingBlock,
                         ::testing::Values(sim::Kind::kPad, sim::Kind::kHeadset),
                         [](const ::testing::TestParamInfo<sim::Kind>& info) {
                             return std::string(info.param == sim::Kind::kPad ? "Pad" : "Headset");
                         });

}  // namespace
}  // namespace device
