// The device channel against the simulated firmware: the two independent readings of the wire
// protocol must agree, directly and through the receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "device/device_channel.h"
#include "device/testing/simulated_channel.h"
#include "os/event.h"
#include "os/hid/hid_platform.h"
#include "sim/firmware.h"
#include "sim/receiver_firmware.h"
#include "sim/simulated_device.h"

namespace device {
namespace {

using testing::SimulatedChannel;

TEST_F(SimulatedChannel, DirectReadsAndChunkedWritesLandWhereTheFirmwareKeepsThem) {
    auto mouse = std::make_shared<sim::Firmware>(sim::Kind::kMouse);
    mouse->SetKeyCount(11);
    sim::SimulatedDevice cable(mouse);
    ASSERT_TRUE(cable.Plug());
    DeviceChannel ch;
    ASSERT_TRUE(Open(ch, 0x22A9, false));

    DeviceInfoBlock info;
    ASSERT_EQ(ch.ReadDeviceInfo(info.bytes.data()), 1);
    EXPECT_EQ(info.keyCount(), 11);
    ASSERT_EQ(ch.SetBlockSize(static_cast<uint16_t>(info.keyCount() * 3)), 1);
    std::vector<uint8_t> keys(33);
    ASSERT_EQ(ch.ReadKeyTable(keys.data()), 1);
    const std::vector<uint8_t> stored = mouse->ReadArea(sim::Area::kKeys);
    EXPECT_TRUE(std::equal(keys.begin(), keys.end(), stored.begin()));

    // 87 bytes from address 0x20: frames of 56 and 31 at 0x20 and 0x58.
    std::vector<uint8_t> block(87);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(ch.WriteSettings(block.data(), 87, 0x20), 1);
    const std::vector<uint8_t> settings = mouse->ReadArea(sim::Area::kSettings);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), settings.begin() + 0x20));
    std::vector<uint8_t> back(87);
    ASSERT_EQ(ch.ReadSettings(back.data(), 87, 0x20), 1);
    EXPECT_EQ(back, block);

    PowerStatusBlock power;
    mouse->SetPower(63, 1);
    ASSERT_EQ(ch.ReadPowerStatus(power.bytes.data(), 6, 0), 1);
    EXPECT_EQ(power.batteryPercent(), 63);
    EXPECT_EQ(power.powerState(), 1);
}

TEST_F(SimulatedChannel, FaultsBecomeTheirResultCodes) {
    auto kb = std::make_shared<sim::Firmware>(sim::Kind::kKeyboard);
    sim::SimulatedDevice cable(kb);
    ASSERT_TRUE(cable.Plug());
    DeviceChannel ch;
    ASSERT_TRUE(Open(ch, 0x22AB, false));
    std::vector<uint8_t> macro(200, 0x3C);
    // Status 0xFF on the third chunk: the first two stay written.
    kb->AddFault({sim::FaultKind::kStatusFF, 0x15, 2, 1, 0});
    EXPECT_EQ(ch.WriteMacroData(macro.data(), 200), ErrStatusFF);
    const std::vector<uint8_t> mem = kb->ReadArea(sim::Area::kMacro);
    EXPECT_TRUE(std::all_of(mem.begin(), mem.begin() + 112, [](uint8_t b) { return b == 0x3C; }));
    kb->ClearFaults();
    kb->AddFault({sim::FaultKind::kStatusFE, 0, 0, 1, 0});
    EXPECT_EQ(ch.ResumeLighting(), ErrStatusFE);
    kb->ClearFaults();
    kb->AddFault({sim::FaultKind::kNoAnswer, 0, 0, 1, 0});
    std::array<uint8_t, 34> info{};
    EXPECT_EQ(ch.ReadDeviceInfo(info.data()), 0);  // the read times out
    kb->ClearFaults();
    EXPECT_EQ(ch.ResumeLighting(), 1);
    EXPECT_EQ(kb->ResumeCount(), 1u);
}

TEST_F(SimulatedChannel, ThroughTheReceiverToTheLinkedPartnerOrTheNoDeviceEcho) {
    auto kb = std::make_shared<sim::Firmware>(sim::Kind::kKeyboard);
    auto rx = std::make_shared<sim::ReceiverFirmware>();
    rx->Pair(sim::ReceiverFirmware::Partner::kKeyboard, kb);
    sim::SimulatedDevice dongle(rx);
    ASSERT_TRUE(dongle.Plug());
    DeviceChannel ch;
    ASSERT_TRUE(Open(ch, 0x22AA, true));
    std::array<uint8_t, 34> info{};
    EXPECT_FALSE(ch.QueryLink());
    EXPECT_EQ(ch.ReadDeviceInfo(info.data()), ErrNoDevice);

    ASSERT_TRUE(rx->SetLinked(sim::ReceiverFirmware::Partner::kKeyboard, true));
    uint8_t links[2] = {};
    EXPECT_TRUE(ch.QueryLink(links));
    EXPECT_EQ(links[0], 0xFF);
    EXPECT_EQ(links[1], 0x00);
    const size_t before = kb->FrameCount();
    ASSERT_EQ(ch.ReadDeviceInfo(info.data()), 1);
    EXPECT_EQ(kb->FrameCount() - before, 2u);  // 24 + 10 bytes behind the receiver
    const std::vector<uint8_t> stored = kb->ReadArea(sim::Area::kInfo);
    EXPECT_TRUE(std::equal(info.begin(), info.end(), stored.begin()));
}

// Settings memory whose bytes differ at every address of a 256-byte stretch, so that an answer
// for another address there shows in the data.
std::vector<uint8_t> NumberedSettings(sim::Firmware& fw) {
    std::vector<uint8_t> bytes(fw.ReadArea(sim::Area::kSettings).size());
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 1);
    fw.WriteArea(sim::Area::kSettings, 0, bytes);
    return bytes;
}

// A mouse on its cable with numbered settings memory, and the channel open on it.
class NumberedMouse : public SimulatedChannel {
  protected:
    void SetUp() override {
        SimulatedChannel::SetUp();
        memory_ = NumberedSettings(*mouse_);
        ASSERT_TRUE(cable_.Plug());
        ASSERT_TRUE(Open(ch_, 0x22A9, false));
    }
    std::shared_ptr<sim::Firmware> mouse_ = std::make_shared<sim::Firmware>(sim::Kind::kMouse);
    std::vector<uint8_t> memory_;
    sim::SimulatedDevice cable_{mouse_};
    DeviceChannel ch_;
};

TEST_F(NumberedMouse, AnAnswerThatCameTooLateIsNeverTakenForALaterRequest) {
    auto expectRead = [&](uint16_t address, uint32_t count, int result) {
        std::vector<uint8_t> got(count, 0xEE);
        EXPECT_EQ(ch_.ReadSettings(got.data(), count, address), result) << "at " << address;
        if (result == kResultOk) {
            EXPECT_TRUE(std::equal(got.begin(), got.end(), memory_.begin() + address))
                << "at " << address;
        }
    };
    struct Case {
        const char* what;
        int firstDelayMs;   // the answer that misses the 1000 ms time-out
        int secondDelayMs;  // the next request's own answer
        int pauseMs;        // between the two requests
    };
    constexpr Case kCases[] = {
        // The late answer is already waiting when the next request goes out.
        {"queued before the next request", 1200, 0, 400},
        // It arrives while the next request waits for its own answer, and comes first.
        {"arriving during the next request", 1500, 800, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        mouse_->ClearFaults();
        mouse_->AddFault({sim::FaultKind::kLateAnswer, 0x05, 0, 1, c.firstDelayMs});
        mouse_->AddFault({sim::FaultKind::kLateAnswer, 0x05, 1, 1, c.secondDelayMs});
        expectRead(0x10, 20, kResultNothing);  // timed out
        os::SleepMs(c.pauseMs);
        expectRead(0x50, 20, kResultOk);
        mouse_->ClearFaults();
        expectRead(0x90, 20, kResultOk);
        expectRead(0x90, 20, kResultOk);
    }
}

TEST_F(NumberedMouse, TwoWrongEchoesFailTheFrameAndLeaveNothingBehind) {
    std::vector<uint8_t> got(112, 0xEE);

    // One stray before the answer: read past it.
    mouse_->AddFault({sim::FaultKind::kWrongEcho, 0x05, 0, 1, 1});
    ASSERT_EQ(ch_.ReadSettings(got.data(), 112, 0), kResultOk);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), memory_.begin()));

    // Two strays before the first frame's answer: that frame fails, nothing of it is copied, and
    // its answer, still queued, does not pass for the next frame or the next read.
    mouse_->ClearFaults();
    mouse_->AddFault({sim::FaultKind::kWrongEcho, 0x05, 0, 1, 2});
    std::fill(got.begin(), got.end(), 0xEE);
    EXPECT_EQ(ch_.ReadSettings(got.data(), 112, 0x40), kResultNothing);
    EXPECT_TRUE(std::all_of(got.begin(), got.end(), [](uint8_t b) { return b == 0xEE; }));
    ASSERT_EQ(ch_.ReadSettings(got.data(), 112, 0x80), kResultOk);
    EXPECT_TRUE(std::equal(got.begin(), got.end(), memory_.begin() + 0x80));
}

TEST_F(SimulatedChannel, TheLinkQueryAnswersForTheMouseAndTheKeyboardTarget) {
    auto rx = std::make_shared<sim::ReceiverFirmware>();
    rx->Pair(sim::ReceiverFirmware::Partner::kKeyboard,
             std::make_shared<sim::Firmware>(sim::Kind::kKeyboard));
    rx->Pair(sim::ReceiverFirmware::Partner::kMouse,
             std::make_shared<sim::Firmware>(sim::Kind::kMouse));
    ASSERT_TRUE(rx->SetLinked(sim::ReceiverFirmware::Partner::kMouse, true));
    sim::SimulatedDevice dongle(rx);
    ASSERT_TRUE(dongle.Plug());
    DeviceChannel ch;
    ASSERT_TRUE(Open(ch, 0x22AA, true));
    for (uint8_t target : {0, 2}) {
        ch.SetReceiverTarget(target);
        uint8_t links[2] = {};
        EXPECT_TRUE(ch.QueryLink(links)) << "target " << int{target};
        EXPECT_EQ(links[0], 0x00) << "target " << int{target};
        EXPECT_EQ(links[1], 0xFF) << "target " << int{target};
    }
}

}  // namespace
}  // namespace device
