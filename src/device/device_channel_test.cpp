#include "device/device_channel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "os/atomic_file.h"
#include "os/diagnostics_log.h"
#include "os/hid/hid_platform.h"
#include "os/hid/sample_descriptors.h"
#include "os/hid/virtual_bus.h"
#include "os/testing/virtual_device_test.h"

namespace device {
namespace {

// A minimal firmware for the channel's own tests: one memory area per command code, answers
// that echo the code with status 0, and switches for the faults the channel must handle. It reads
// the wire format on its own (its own checksum), so the channel is checked against it.
class TestFirmware : public os::hid::VirtualDeviceHandler {
  public:
    void OnOutputReport(uint32_t id, std::span<const uint8_t> r) override {
        std::vector<uint8_t> req(r.begin(), r.end());
        req.resize(64);
        std::array<uint8_t, 64> resp{};
        {
            std::lock_guard<std::mutex> lock(m);
            frames.push_back(req);
            const int n = static_cast<int>(frames.size());
            if (silentFrom > 0 && n >= silentFrom) return;
            resp[0] = 0x04;
            resp[3] = req[3];
            // An answer echoes the request's length and address.
            resp[4] = req[4];
            resp[5] = req[5];
            resp[6] = req[6];
            uint16_t sum = 0;
            for (int i = 3; i < 64; ++i) sum = static_cast<uint16_t>(sum + req[i]);
            // The receiver's target byte 32 is written after the sum was taken.
            if (receiver) sum = static_cast<uint16_t>(sum - req[32]);
            const bool checksumOk = req[3] == 0x19 || (req[1] | (req[2] << 8)) == sum;
            if (receiver && !partnerLinked) {
                resp[3] = req[3] == 0x12 ? 0xAA : 0xFF;
            } else if (!checksumOk) {
                resp[7] = 0xFE;
            } else {
                const uint8_t len = req[4];
                const uint16_t addr = static_cast<uint16_t>(req[5] | (req[6] << 8));
                auto& mem = memory[req[3]];
                if (mem.size() < 1024) mem.resize(1024);
                const bool isRead = req[3] == 0x03 || req[3] == 0x05 || req[3] == 0x07 ||
                                    req[3] == 0x1A || req[3] == 0x1B;
                for (int i = 0; i < len && 8 + i < 64; ++i) {
                    if (isRead)
                        resp[8 + i] = mem[(addr + i) % mem.size()];
                    else
                        mem[(addr + i) % mem.size()] = req[8 + i];
                }
                if (req[3] == 0xAA) resp[8] = 0xFF, resp[9] = 0;
                if (statusFrom > 0 && n >= statusFrom) resp[7] = status;
            }
            if (wrongEchoes > 0) {
                --wrongEchoes;
                std::array<uint8_t, 64> stray{};
                stray[0] = 0x04;
                stray[3] = 0x55;
                stray[8] = 0x77;
                bus->PushInputReport(id, stray);
                if (wrongEchoes > 0) {
                    --wrongEchoes;
                    bus->PushInputReport(id, stray);
                    return;
                }
            }
        }
        bus->PushInputReport(id, resp, answerDelayMs);
    }

    std::mutex m;
    os::hid::VirtualBus* bus = nullptr;
    std::vector<std::vector<uint8_t>> frames;
    std::map<uint8_t, std::vector<uint8_t>> memory;
    bool receiver = false;
    bool partnerLinked = true;
    int silentFrom = 0;  // frame number from which nothing is answered
    int statusFrom = 0;  // frame number from which the status byte is `status`
    uint8_t status = 0;
    int wrongEchoes = 0;
    int answerDelayMs = 0;
};

class Channel : public os::testing::VirtualDeviceTest {
  protected:
    void SetUp() override {
        VirtualDeviceTest::SetUp();
        fw_ = std::make_shared<TestFirmware>();
        fw_->bus = &os::hid::VirtualBus::Instance();
    }
    // Plugs the firmware and opens the channel on it, directly or as a receiver.
    void Connect(bool receiver) {
        fw_->receiver = receiver;
        os::hid::VirtualInterfaceConfig spec;
        spec.vendorId = 0x320F;
        spec.productId = receiver ? 0x22AA : 0x22A9;
        spec.interfaceNumber = 1;
        spec.reportDescriptor.assign(std::begin(os::hid::samples::kVendorCommand),
                                     std::end(os::hid::samples::kVendorCommand));
        std::string err;
        id_ = Plug(spec, fw_, &err);
        ASSERT_NE(id_, 0u) << err;
        const std::string path = FirstPath(id_);
        hid::HidDevice& h = receiver ? ch_.receiverHandle() : ch_.directHandle();
        ASSERT_TRUE(h.Open(path, true, true, true, false)) << h.LastError();
        ch_.SetOpen(true);
        ch_.SetConnectionType(receiver ? 2 : 1);
    }
    std::vector<std::vector<uint8_t>> Frames() {
        std::lock_guard<std::mutex> lock(fw_->m);
        return fw_->frames;
    }

    std::shared_ptr<TestFirmware> fw_;
    uint32_t id_ = 0;
    DeviceChannel ch_;
};

TEST(CommandFrame, ChecksumCoversBytesThreeToSixtyThree) {
    CommandFrame resume = CommandFrame::Request(kCmdResumeLighting);
    resume.Seal();
    EXPECT_EQ(resume.bytes[0], 0x04);
    EXPECT_EQ(resume.bytes[1], 0x1C);
    EXPECT_EQ(resume.bytes[2], 0x00);

    CommandFrame all;
    all.bytes.fill(0xFF);  // bytes 0..2 are not summed
    EXPECT_EQ(FrameChecksum(all.bytes.data()), 0x3CC3);
    all.Seal();
    EXPECT_EQ(all.bytes[1], 0xC3);
    EXPECT_EQ(all.bytes[2], 0x3C);
}

// Reads the 34-byte information block and checks the (length, address) of each frame sent.
void ExpectInfoFrames(DeviceChannel& ch, TestFirmware& fw,
                      const std::vector<std::pair<int, int>>& expected) {
    fw.memory[0x03].assign(1024, 0);
    for (int i = 0; i < 34; ++i) fw.memory[0x03][i] = static_cast<uint8_t>(0x40 + i);
    std::array<uint8_t, 34> info{};
    ASSERT_EQ(ch.ReadDeviceInfo(info.data()), 1);
    for (int i = 0; i < 34; ++i) EXPECT_EQ(info[i], 0x40 + i);
    std::lock_guard<std::mutex> lock(fw.m);
    ASSERT_EQ(fw.frames.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& f = fw.frames[i];
        EXPECT_EQ(f[3], 0x03);
        EXPECT_EQ(f[4], expected[i].first);
        EXPECT_EQ(f[5] | (f[6] << 8), expected[i].second);
        EXPECT_EQ(f[32], 0) << "receiver target: keyboard";
    }
}

TEST_F(Channel, ReadDeviceInfoTakesOneFrameDirect) {
    Connect(false);
    ExpectInfoFrames(ch_, *fw_, {{34, 0}});
}

TEST_F(Channel, ReadDeviceInfoTakesTwoFramesThroughTheReceiver) {
    Connect(true);
    ExpectInfoFrames(ch_, *fw_, {{24, 0}, {10, 24}});
}

TEST_F(Channel, ChunkBoundariesAndTheEmptyTransfer) {
    Connect(false);
    std::vector<uint8_t> data(112);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    ASSERT_EQ(ch_.WriteSettings(data.data(), 112, 0x10), 1);  // exactly two chunks of 56
    ASSERT_EQ(Frames().size(), 2u);
    EXPECT_EQ(Frames()[1][5], 0x10 + 56);
    for (size_t i = 0; i < data.size(); ++i) EXPECT_EQ(fw_->memory[0x06][0x10 + i], data[i]);
    EXPECT_EQ(ch_.WriteMacroData(data.data(), 0), 1);
    EXPECT_EQ(Frames().size(), 2u);  // nothing sent for a total of 0
}

TEST_F(Channel, WrongEchoIsReadASecondTimeAndASecondMismatchFails) {
    Connect(false);
    fw_->wrongEchoes = 1;  // one stray report before the real answer
    std::array<uint8_t, 6> power{};
    fw_->memory[0x1A].assign(1024, 0);
    fw_->memory[0x1A][0] = 87;
    EXPECT_EQ(ch_.ReadPowerStatus(power.data(), 6, 0), 1);
    EXPECT_EQ(power[0], 87);

    // Two strays: the exchange fails and nothing is copied; the real answer, queued behind
    // them, is dropped before the next exchange rather than taken for its answer.
    fw_->wrongEchoes = 2;
    power.fill(0);
    EXPECT_EQ(ch_.ReadPowerStatus(power.data(), 6, 0), 0);
    EXPECT_EQ(power[0], 0);
    fw_->memory[0x1A][0] = 55;
    EXPECT_EQ(ch_.ReadPowerStatus(power.data(), 6, 0), 1);
    EXPECT_EQ(power[0], 55);
}

TEST_F(Channel, ReceiverModeNoDeviceEchoAndTheFrameLog) {
    Connect(true);
    fw_->partnerLinked = false;
    std::array<uint8_t, 34> info{};
    EXPECT_EQ(ch_.ReadDeviceInfo(info.data()), ErrNoDevice);
    EXPECT_EQ(Frames().size(), 1u);  // at once, without another frame
    EXPECT_FALSE(ch_.QueryLink());
    const uint8_t colours[30] = {1, 2, 3};
    EXPECT_EQ(ch_.StreamKeyColours(colours, 30), ErrNoDevice);  // 0xAA echo for the stream

    // Every command frame (not the stream) is one log line of 64 upper-case hex bytes.
    std::string log;
    ASSERT_TRUE(os::ReadWholeFile(os::LogFilePath(), log));
    EXPECT_NE(log.find(":04 "), std::string::npos);
    const size_t lines = static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
    EXPECT_EQ(lines, 2u);
    // Report id, checksum 0x001B (code 3 + length 24), code, length, address, target byte 32.
    const std::string first = log.substr(log.find(':') + 1, 64 * 3);
    EXPECT_EQ(first.substr(0, 24), "04 1B 00 03 18 00 00 00 ");
    EXPECT_EQ(first.size(), 64u * 3);
}

TEST_F(Channel, CommandsWithoutIoAndRefusedArguments) {
    // Closed channel: 0, nothing sent.
    std::array<uint8_t, 34> info{};
    EXPECT_EQ(ch_.ReadDeviceInfo(info.data()), 0);
    Connect(false);
    EXPECT_TRUE(ch_.QueryLink());  // Direct mode: no I/O
    std::vector<uint8_t> keys(512);
    EXPECT_EQ(ch_.WriteKeyTable(keys.data(), 1), ErrBadBank);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(ch_.SetBlockSize(513), 0);
    EXPECT_EQ(ch_.blockSize(), 512);
    EXPECT_EQ(ch_.SetBlockSize(33), 1);
    EXPECT_EQ(ch_.ReadLedIndexTable(keys.data()), 1);
    ASSERT_EQ(Frames().size(), 1u);
    EXPECT_EQ(Frames()[0][4], 11);  // 33 / 3
    EXPECT_EQ(ch_.ReceiverPoll(), 1);
    EXPECT_EQ(Frames()[1][1], 0);  // no checksum
    EXPECT_EQ(Frames()[1][32], 2);
}

TEST_F(Channel, FailedChunkStopsTheTransferAndEarlierChunksStayWritten) {
    Connect(false);
    std::vector<uint8_t> data(200, 0x5A);
    struct Case {
        int statusFrom;
        uint8_t status;
        int silentFrom;
        int expected;
    };
    for (const Case& c :
         {Case{3, 0xFF, 0, ErrStatusFF}, Case{3, 0xFE, 0, ErrStatusFE}, Case{0, 0, 3, 0}}) {
        {
            std::lock_guard<std::mutex> lock(fw_->m);
            fw_->frames.clear();
            fw_->memory.clear();
            fw_->statusFrom = c.statusFrom;
            fw_->status = c.status;
            fw_->silentFrom = c.silentFrom;
        }
        EXPECT_EQ(ch_.WriteMacroData(data.data(), 200), c.expected);
        EXPECT_EQ(Frames().size(), 3u);  // the fourth chunk is never sent
        for (int i = 0; i < 112; ++i) ASSERT_EQ(fw_->memory[0x15][i], 0x5A);
    }
}

TEST_F(Channel, LiveColoursAreDroppedWhileAnotherExchangeIsBusy) {
    Connect(false);
    fw_->answerDelayMs = 600;  // well within the 1000 ms read time-out
    std::vector<uint8_t> settings(10);
    std::thread slow([&] { EXPECT_EQ(ch_.ReadSettings(settings.data(), 10, 0), 1); });
    while (!ch_.busy()) std::this_thread::yield();
    const uint8_t colours[120] = {};
    // Every chunk is dropped (counted as passed) rather than queued behind the command.
    EXPECT_EQ(ch_.StreamKeyColours(colours, 120), 1);
    slow.join();
    EXPECT_FALSE(ch_.busy());
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][3], 0x05);
    fw_->answerDelayMs = 0;
    EXPECT_EQ(ch_.StreamKeyColours(colours, 120), 1);
    EXPECT_EQ(Frames().size(), 4u);  // 56 + 56 + 8
}

}  // namespace
}  // namespace device
