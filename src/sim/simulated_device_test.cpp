// The simulated firmware seen from the host: every frame goes through the HID platform's
// enumeration, open, write and read calls, as the program's own would. Requests are built here
// by hand, apart from the firmware's own frame code.
#include "sim/simulated_device.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "os/hid/hid_platform.h"
#include "os/hid/interface_path.h"
#include "sim/receiver_firmware.h"

namespace sim {
namespace {

using Bytes = std::array<uint8_t, 64>;

// A request as the host builds it: report id 4, checksum over bytes 3..63 into bytes 1..2, code,
// length, little-endian address, payload from byte 8. The route byte (32) is set after the sum.
Bytes Request(uint8_t code, uint16_t address, uint8_t length,
              const std::vector<uint8_t>& payload = {}, int route = -1) {
    Bytes f{};
    f[0] = 0x04;
    f[3] = code;
    f[4] = length;
    f[5] = address & 0xFF;
    f[6] = address >> 8;
    for (size_t i = 0; i < payload.size(); ++i) f[8 + i] = payload[i];
    unsigned sum = 0;
    for (size_t i = 3; i < 64; ++i) sum += f[i];
    f[1] = sum & 0xFF;
    f[2] = (sum >> 8) & 0xFF;
    if (route >= 0) f[32] = static_cast<uint8_t>(route);
    return f;
}

// One collection of a plugged interface, opened by its catalogue identity.
class HostEnd {
  public:
    HostEnd(uint16_t vid, uint16_t pid, int mi, int col) {
        std::vector<std::string> paths;
        os::hid::EnumerateInterfaces(&paths);
        for (const std::string& p : paths) {
            os::hid::InterfacePath parts;
            if (!os::hid::SplitInterfacePath(p, &parts)) continue;
            if (parts.vendorId == vid && parts.productId == pid && parts.interfaceNumber == mi &&
                parts.collection == col) {
                os::hid::OpenOptions o;
                o.readAccess = o.writeAccess = true;
                os::hid::OpenInterface(p, o, &handle);
                break;
            }
        }
    }
    explicit operator bool() const { return handle != nullptr; }
    bool Send(const Bytes& frame) {
        uint32_t n = 0;
        return handle->Write(frame.data(), 64, &n, 1000, nullptr) == os::hid::kErrorSuccess;
    }
    // The next input report; error is the read's last-error value.
    uint32_t Receive(Bytes* out, int timeoutMs = 5000) {
        std::vector<uint8_t> buf(handle->caps().inputReportByteLength);
        uint32_t n = 0;
        const uint32_t e =
            handle->Read(buf.data(), static_cast<uint32_t>(buf.size()), &n, timeoutMs, nullptr);
        *out = Bytes{};
        std::copy(buf.begin(), buf.begin() + std::min<size_t>(buf.size(), 64), out->begin());
        return e;
    }
    Bytes Exchange(const Bytes& frame) {
        Bytes answer{};
        EXPECT_TRUE(Send(frame));
        EXPECT_EQ(Receive(&answer), os::hid::kErrorSuccess);
        return answer;
    }
    std::shared_ptr<os::hid::DeviceHandle> handle;
};

class SimulatedDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { os::hid::SelectBackends(os::hid::kBackendVirtual); }

    // Plugs a device of the kind on its cable.
    SimulatedDevice& Plug(Kind kind) {
        devices_.push_back(std::make_unique<SimulatedDevice>(std::make_shared<Firmware>(kind)));
        EXPECT_TRUE(devices_.back()->Plug());
        return *devices_.back();
    }
    std::vector<std::unique_ptr<SimulatedDevice>> devices_;
};

TEST_F(SimulatedDeviceTest, InterfacesCarryTheCatalogueIdentities) {
    for (Kind k : {Kind::kKeyboard, Kind::kMouse, Kind::kPad, Kind::kHeadset, Kind::kReceiver})
        Plug(k);
    struct Row {
        uint16_t vid, pid;
        int mi, col;
        uint16_t page, usage;
        uint16_t in, out;
    };
    constexpr Row kRows[] = {
        {0x320F, 0x22AB, 1, 4, 0xFF1C, 0x92, 64, 64},  // keyboard commands
        {0x320F, 0x22AB, 1, 3, 0x000C, 0x01, 3, 0},    // keyboard events
        {0x320F, 0x22AA, 1, 4, 0xFF1C, 0x92, 64, 64},  // receiver commands
        {0x320F, 0x22AA, 1, 3, 0x000C, 0x01, 3, 0},    // receiver events
        {0x320F, 0x22A9, 1, 2, 0xFF1C, 0x92, 64, 64},  // mouse commands
        {0x320F, 0x22A9, 0, 3, 0x000C, 0x01, 3, 0},    // mouse events
        {0x320F, 0x1004, 1, 4, 0xFF1C, 0x92, 64, 64},  // mouse pad commands
        {0x320F, 0x1004, 1, 3, 0x000C, 0x01, 3, 0},    // mouse pad events
        {0x0C76, 0x1630, 3, 0, 0x000C, 0x01, 64, 64},  // headset: one collection
    };
    for (const Row& r : kRows) {
        SCOPED_TRACE(testing::Message() << std::hex << r.pid << " mi " << r.mi << " col " << r.col);
        HostEnd end(r.vid, r.pid, r.mi, r.col);
        ASSERT_TRUE(end);
        EXPECT_EQ(end.handle->caps().usagePage, r.page);
        EXPECT_EQ(end.handle->caps().usage, r.usage);
        EXPECT_EQ(end.handle->caps().inputReportByteLength, r.in);
        EXPECT_EQ(end.handle->caps().outputReportByteLength, r.out);
        EXPECT_EQ(end.handle->attributes().versionNumber, 0x0110);
    }
}

TEST_F(SimulatedDeviceTest, FramesAreAnsweredExactly) {
    SimulatedDevice& kb = Plug(Kind::kKeyboard);
    HostEnd end(0x320F, 0x22AB, 1, 4);
    ASSERT_TRUE(end);

    // Resume lighting: the whole answer, byte by byte.
    constexpr Bytes kResumed = {
        0x04,        // report id
        0x1C, 0x00,  // checksum of bytes 3..63
        0x1C,        // echo
        0x00,        // length
        0x00, 0x00,  // address
        0x00,        // status: success
    };
    EXPECT_EQ(end.Exchange(Request(0x1C, 0, 0)), kResumed);
    EXPECT_EQ(kb.firmware().ResumeCount(), 1u);

    // Device information: 34 bytes from 0 in one frame; key count 127, macro capacity 32 units.
    Bytes a = end.Exchange(Request(0x03, 0, 34));
    EXPECT_EQ(a[3], 0x03);
    EXPECT_EQ(a[4], 34);
    EXPECT_EQ(a[7], 0x00);
    EXPECT_EQ(a[8 + 5], 127);
    EXPECT_EQ(a[8 + 6], 32);
    unsigned sum = 0;
    for (size_t i = 3; i < 64; ++i) sum += a[i];
    EXPECT_EQ(a[1] | (a[2] << 8), static_cast<int>(sum));

    // The key table: 3 bytes per key, Esc first; the LED table: one byte per key.
    a = end.Exchange(Request(0x07, 0, 6));
    EXPECT_EQ((std::vector<uint8_t>(a.begin() + 8, a.begin() + 14)),
              (std::vector<uint8_t>{0x20, 0x00, 0x29, 0x20, 0x00, 0x3A}));
    a = end.Exchange(Request(0x1B, 16, 6));
    EXPECT_EQ((std::vector<uint8_t>(a.begin() + 8, a.begin() + 14)),
              (std::vector<uint8_t>{255, 255, 255, 255, 255, 16}));

    // Power status and the refusals.
    a = end.Exchange(Request(0x1A, 0, 6));
    EXPECT_EQ((std::vector<uint8_t>(a.begin() + 7, a.begin() + 14)),
              (std::vector<uint8_t>{0x00, 100, 1, 0, 0, 0, 0}));
    struct Refusal {
        const char* what;
        Bytes request;
        uint8_t status;
    };
    Bytes badSum = Request(0x05, 0, 1);
    badSum[1] ^= 0x01;
    const Refusal kRefusals[] = {
        {"wrong checksum", badSum, 0xFE},
        {"shoot memory on a keyboard", Request(0x17, 0, 4, {1, 2, 3, 4}), 0xFF},
        {"read past the settings memory", Request(0x05, 500, 20), 0xFF},
        {"power status past 6 bytes", Request(0x1A, 4, 6), 0xFF},
        {"more than 56 payload bytes", Request(0x05, 0, 57), 0xFF},
        {"light-map page beyond 64 bytes", Request(0x0B, 512 + 60, 8), 0xFF},
    };
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.what);
        a = end.Exchange(r.request);
        EXPECT_EQ(a[3], r.request[3]);
        EXPECT_EQ(a[7], r.status);
    }
    EXPECT_EQ(kb.firmware().FrameCount(), 4u + std::size(kRefusals) + 1);
    EXPECT_EQ(kb.firmware().LastFrames().back(), kRefusals[std::size(kRefusals) - 1].request);
}

TEST_F(SimulatedDeviceTest, ChunkedTransfersLandAtTheirAddresses) {
    SimulatedDevice& ms = Plug(Kind::kMouse);
    SimulatedDevice& kb = Plug(Kind::kKeyboard);
    HostEnd mouse(0x320F, 0x22A9, 1, 2);
    HostEnd keyboard(0x320F, 0x22AB, 1, 4);
    ASSERT_TRUE(mouse && keyboard);

    // An 87-byte settings block for profile 1 (address 128) in chunks of 56 and 31.
    std::vector<uint8_t> block(87);
    for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(0xA0 + i);
    for (size_t done = 0; done < block.size(); done += 56) {
        const size_t n = std::min<size_t>(56, block.size() - done);
        const Bytes a = mouse.Exchange(
            Request(0x06, static_cast<uint16_t>(128 + done), static_cast<uint8_t>(n),
                    std::vector<uint8_t>(block.begin() + done, block.begin() + done + n)));
        EXPECT_EQ(a[7], 0x00);
    }
    const std::vector<uint8_t> settings = ms.firmware().ReadArea(Area::kSettings);
    EXPECT_EQ(std::vector<uint8_t>(settings.begin() + 128, settings.begin() + 215), block);
    EXPECT_EQ(settings[127], 0);  // profile 0's block untouched: its last bytes stay
    // Read back in the receiver's chunk size: 24, 24, 24, 15.
    std::vector<uint8_t> back;
    for (size_t done = 0; done < block.size(); done += 24) {
        const size_t n = std::min<size_t>(24, block.size() - done);
        const Bytes a = mouse.Exchange(
            Request(0x05, static_cast<uint16_t>(128 + done), static_cast<uint8_t>(n)));
        back.insert(back.end(), a.begin() + 8, a.begin() + 8 + n);
    }
    EXPECT_EQ(back, block);

    // The colour map of page 2: 64 bytes at 2 * 512 in chunks of 56 and 8.
    std::vector<uint8_t> map(64);
    for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint8_t>(i + 1);
    EXPECT_EQ(keyboard.Exchange(Request(0x0B, 1024, 56, {map.begin(), map.begin() + 56}))[7], 0);
    EXPECT_EQ(keyboard.Exchange(Request(0x0B, 1024 + 56, 8, {map.begin() + 56, map.end()}))[7], 0);
    const std::vector<uint8_t> pages = kb.firmware().ReadArea(Area::kLightMap);
    EXPECT_EQ(std::vector<uint8_t>(pages.begin() + 128, pages.begin() + 192), map);
    EXPECT_EQ(pages[127], 0);
    EXPECT_EQ(pages[192], 0);

    // Macro memory ends at the capacity of the information block (16 units of 128 on the mouse).
    EXPECT_EQ(mouse.Exchange(Request(0x15, 2040, 8, {1, 2, 3, 4, 5, 6, 7, 8}))[7], 0x00);
    EXPECT_EQ(mouse.Exchange(Request(0x15, 2044, 8, {9, 9, 9, 9, 9, 9, 9, 9}))[7], 0xFF);
    const std::vector<uint8_t> macro = ms.firmware().ReadArea(Area::kMacro);
    ASSERT_EQ(macro.size(), 2048u);
    EXPECT_EQ(macro[2044], 5);
    ms.firmware().SetMacroCapacity(17);
    EXPECT_EQ(mouse.Exchange(Request(0x15, 2044, 8, {9, 9, 9, 9, 9, 9, 9, 9}))[7], 0x00);
}

TEST_F(SimulatedDeviceTest, ReceiverRelaysToLinkedPartnersAndEchoesNoDevice) {
    auto rx = std::make_shared<ReceiverFirmware>();
    auto keyboard = std::make_shared<Firmware>(Kind::kKeyboard);
    auto mouse = std::make_shared<Firmware>(Kind::kMouse);
    rx->Pair(ReceiverFirmware::Partner::kKeyboard, keyboard);
    rx->Pair(ReceiverFirmware::Partner::kMouse, mouse);
    ASSERT_TRUE(rx->SetLinked(ReceiverFirmware::Partner::kKeyboard, true));
    SimulatedDevice device(rx);
    ASSERT_TRUE(device.Plug());
    HostEnd end(0x320F, 0x22AA, 1, 4);
    HostEnd events(0x320F, 0x22AA, 1, 3);
    ASSERT_TRUE(end && events);

    Bytes a = end.Exchange(Request(0xAA, 0, 0));
    EXPECT_EQ(a[3], 0xAA);
    EXPECT_EQ(a[7], 0x00);
    EXPECT_EQ(a[8], 0xFF);  // keyboard linked
    EXPECT_EQ(a[9], 0x00);  // mouse not

    // To the keyboard (route 0): its information block, first chunk of 24.
    a = end.Exchange(Request(0x03, 0, 24, {}, 0));
    EXPECT_EQ(a[3], 0x03);
    EXPECT_EQ(a[8 + 5], 127);
    // The keyboard got the frame without the route byte, checksum intact.
    EXPECT_EQ(keyboard->LastFrames().back(), Request(0x03, 0, 24));
    // To the mouse (route 2) while it is not linked: the no-device echo, 0xAA for the stream.
    EXPECT_EQ(end.Exchange(Request(0x03, 0, 24, {}, 2))[3], 0xFF);
    EXPECT_EQ(end.Exchange(Request(0x12, 0, 24, {}, 2))[3], 0xAA);
    EXPECT_EQ(mouse->FrameCount(), 0u);

    ASSERT_TRUE(rx->SetLinked(ReceiverFirmware::Partner::kMouse, true));
    a = end.Exchange(Request(0x03, 0, 24, {}, 2));
    EXPECT_EQ(a[3], 0x03);
    EXPECT_EQ(a[8 + 5], 11);
    EXPECT_EQ(end.Exchange(Request(0xAA, 0, 0))[9], 0xFF);

    // A linked partner's events leave through the receiver's event collection.
    ASSERT_TRUE(keyboard->Press(0x21));
    Bytes e{};
    ASSERT_EQ(events.Receive(&e), os::hid::kErrorSuccess);
    EXPECT_EQ(e[0], 0x03);
    EXPECT_EQ(e[1] | (e[2] << 8), 0x0521);
    rx->SetLinked(ReceiverFirmware::Partner::kKeyboard, false);
    EXPECT_FALSE(keyboard->Press(0x21));
    EXPECT_EQ(end.Exchange(Request(0x03, 0, 24, {}, 0))[3], 0xFF);
}

TEST_F(SimulatedDeviceTest, TheReceiverAnswersTheLinkQueryForEitherTarget) {
    auto rx = std::make_shared<ReceiverFirmware>();
    rx->Pair(ReceiverFirmware::Partner::kKeyboard, std::make_shared<Firmware>(Kind::kKeyboard));
    rx->Pair(ReceiverFirmware::Partner::kMouse, std::make_shared<Firmware>(Kind::kMouse));
    ASSERT_TRUE(rx->SetLinked(ReceiverFirmware::Partner::kMouse, true));
    SimulatedDevice device(rx);
    ASSERT_TRUE(device.Plug());
    HostEnd end(0x320F, 0x22AA, 1, 4);
    ASSERT_TRUE(end);
    // The target byte is written after the sum, so the receiver must not count it: the query
    // from a mouse's channel (target 2) is answered like the keyboard's (target 0).
    for (int target : {0, 2}) {
        const Bytes a = end.Exchange(Request(0xAA, 0, 0, {}, target));
        EXPECT_EQ(a[3], 0xAA) << "target " << target;
        EXPECT_EQ(a[7], 0x00) << "target " << target;
        EXPECT_EQ(a[8], 0x00) << "target " << target;  // keyboard not linked
        EXPECT_EQ(a[9], 0xFF) << "target " << target;  // mouse linked
    }
    // A frame whose own sum is wrong is still refused, whatever the target.
    Bytes bad = Request(0xAA, 0, 0, {}, 2);
    bad[1] ^= 1;
    EXPECT_EQ(end.Exchange(bad)[7], 0xFE);
}

TEST_F(SimulatedDeviceTest, FaultsMisbehaveAsSwitched) {
    SimulatedDevice& kb = Plug(Kind::kKeyboard);
    Firmware& fw = kb.firmware();
    HostEnd end(0x320F, 0x22AB, 1, 4);
    ASSERT_TRUE(end);
    Bytes a{};

    // No answer, once: the read times out, the next frame is answered.
    fw.AddFault({FaultKind::kNoAnswer, 0, 0, 1, 0});
    ASSERT_TRUE(end.Send(Request(0x03, 0, 34)));
    EXPECT_EQ(end.Receive(&a, 300), os::hid::kErrorTimeout);
    EXPECT_EQ(end.Exchange(Request(0x03, 0, 34))[3], 0x03);
    fw.ClearFaults();

    // A late answer: not there after 100 ms, there later (well apart, for a loaded machine).
    fw.AddFault({FaultKind::kLateAnswer, 0, 0, 1, 2500});
    ASSERT_TRUE(end.Send(Request(0x1A, 0, 6)));
    EXPECT_EQ(end.Receive(&a, 100), os::hid::kErrorTimeout);
    EXPECT_EQ(end.Receive(&a, 10000), os::hid::kErrorSuccess);
    EXPECT_EQ(a[3], 0x1A);
    fw.ClearFaults();

    // A wrong echo twice before the answer.
    fw.AddFault({FaultKind::kWrongEcho, 0, 0, 1, 2});
    ASSERT_TRUE(end.Send(Request(0x05, 0, 1)));
    for (uint8_t expected : {0x45, 0x45, 0x05}) {
        ASSERT_EQ(end.Receive(&a), os::hid::kErrorSuccess);
        EXPECT_EQ(a[3], expected);
    }
    fw.ClearFaults();

    // Status faults for one command only; other commands pass.
    fw.AddFault({FaultKind::kStatusFF, 0x05, 0, -1, 0});
    EXPECT_EQ(end.Exchange(Request(0x05, 0, 1))[7], 0xFF);
    EXPECT_EQ(end.Exchange(Request(0x03, 0, 34))[7], 0x00);
    fw.ClearFaults();
    fw.AddFault({FaultKind::kStatusFE, 0, 1, 1, 0});  // the second frame only
    EXPECT_EQ(end.Exchange(Request(0x05, 0, 1))[7], 0x00);
    EXPECT_EQ(end.Exchange(Request(0x05, 0, 1))[7], 0xFE);
    EXPECT_EQ(end.Exchange(Request(0x05, 0, 1))[7], 0x00);
    fw.ClearFaults();

    // Refused writes leave the memory as it was; reads still work.
    fw.AddFault({FaultKind::kRefuseWrites, 0, 0, -1, 0});
    EXPECT_EQ(end.Exchange(Request(0x06, 1, 2, {9, 9}))[7], 0xFF);
    EXPECT_EQ(fw.ReadArea(Area::kSettings)[1], 1);
    EXPECT_EQ(end.Exchange(Request(0x05, 1, 1))[8], 1);
    fw.ClearFaults();

    // A battery gauge above 100 is reported as it stands.
    fw.SetPower(150, 2);
    a = end.Exchange(Request(0x1A, 0, 6));
    EXPECT_EQ(a[8], 150);
    EXPECT_EQ(a[9], 2);

    // Unplugged in the middle of a macro download: the first chunk is answered, the second
    // finds the device gone.
    fw.AddFault({FaultKind::kUnplugMidTransfer, 0x15, 1, 1, 0});
    EXPECT_EQ(end.Exchange(Request(0x15, 0, 56, std::vector<uint8_t>(56, 7)))[7], 0x00);
    end.Send(Request(0x15, 56, 56, std::vector<uint8_t>(56, 8)));
    EXPECT_EQ(end.Receive(&a, 5000), os::hid::kErrorDeviceNotConnected);
    EXPECT_FALSE(kb.plugged());
    EXPECT_FALSE(HostEnd(0x320F, 0x22AB, 1, 4));
    EXPECT_EQ(fw.ReadArea(Area::kMacro)[56], 0);
}

TEST_F(SimulatedDeviceTest, EventsAndColourReports) {
    SimulatedDevice& kb = Plug(Kind::kKeyboard);
    SimulatedDevice& ms = Plug(Kind::kMouse);
    SimulatedDevice& hs = Plug(Kind::kHeadset);
    HostEnd kbEvents(0x320F, 0x22AB, 1, 3);
    HostEnd msEvents(0x320F, 0x22A9, 0, 3);
    HostEnd headset(0x0C76, 0x1630, 3, 0);
    ASSERT_TRUE(kbEvents && msEvents && headset);
    Bytes e{};

    // Code in bytes 1 (low) and 2 (high) after report id 3.
    struct Case {
        SimulatedDevice* device;
        HostEnd* end;
        bool press;
        uint16_t code;  // sent with SendEvent when press is false
        uint16_t expected;
    };
    const Case kCases[] = {
        {&kb, &kbEvents, true, 0x20, 0x0520},
        {&kb, &kbEvents, false, 0xA402, 0xA402},
        {&ms, &msEvents, true, 3, 0x0403},
        {&ms, &msEvents, false, 0x1123, 0x1123},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        ASSERT_TRUE(c.press ? c.device->firmware().Press(static_cast<uint8_t>(c.code))
                            : c.device->firmware().SendEvent(c.code));
        ASSERT_EQ(c.end->Receive(&e), os::hid::kErrorSuccess);
        EXPECT_EQ(e[0], 0x03);
        EXPECT_EQ(e[1] | (e[2] << 8), c.expected);
    }
    ASSERT_TRUE(kb.firmware().Release(0x20));
    ASSERT_EQ(kbEvents.Receive(&e), os::hid::kErrorSuccess);
    EXPECT_EQ(e[1] | (e[2] << 8), 0x0620);
    // The mouse changed to profile 3, DPI stage 2 in its memory too.
    const std::vector<uint8_t> settings = ms.firmware().ReadArea(Area::kSettings);
    EXPECT_EQ(settings[0], 3);
    EXPECT_EQ(settings[3 * 128 + 12], 2);

    // The headset's event is a consumer usage value of its one collection.
    ASSERT_TRUE(hs.firmware().SendEvent(0x0401));
    ASSERT_EQ(headset.Receive(&e), os::hid::kErrorSuccess);
    uint16_t usages[4] = {};
    uint32_t count = 4;
    EXPECT_EQ(headset.handle->preparsed()->GetUsages(os::hid::ReportType::kInput, 0x0C, 0, usages,
                                                     &count, e.data(), 64),
              os::hid::kStatusSuccess);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(usages[0], 0x0401);

    // A colour report: zone 0x44, green of LEDs 7..12.
    std::array<uint8_t, 64> colour{0xFF, 0x44, 0xAE, 0x00, 10, 20, 30, 40, 50, 60};
    EXPECT_EQ(headset.handle->SetOutputReport(colour.data(), 64), os::hid::kErrorSuccess);
    const std::vector<uint8_t> leds = hs.firmware().ReadArea(Area::kColours);
    EXPECT_EQ(leds[39 + 7 * 3 + 1], 10);
    EXPECT_EQ(leds[39 + 12 * 3 + 1], 60);
    EXPECT_EQ(leds[39 + 12 * 3 + 0], 0);
    EXPECT_EQ(hs.firmware().ColourReportCount(), 1u);
    // The headset still answers frames on the same collection.
    EXPECT_EQ(headset.Exchange(Request(0x1A, 0, 6))[8], 100);
}

TEST_F(SimulatedDeviceTest, VersionNumberIsSettableBeforePlugging) {
    auto fw = std::make_shared<Firmware>(Kind::kKeyboard);
    fw->SetVersionNumber(0x010F);
    SimulatedDevice kb(fw);
    ASSERT_TRUE(kb.Plug());
    HostEnd end(0x320F, 0x22AB, 1, 4);
    ASSERT_TRUE(end);
    EXPECT_EQ(end.handle->attributes().versionNumber, 0x010F);
}

}  // namespace
}  // namespace sim
