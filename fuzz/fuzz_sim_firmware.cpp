// Feeds arbitrary frames to the simulated firmware of every kind (through the receiver as well)
// and arbitrary bytes to the loader of demo memory images: neither may crash or write outside a
// memory area, whatever the host or a damaged file sends.
//
// Input layout: [selector][rest]. Selector bit 0 set: rest is a memory image for the kind
// (selector >> 1) % 5. Otherwise rest is a sequence of 64-byte frames; each frame's byte 0 picks
// the firmware (and a 17-byte colour report for the headset when it is 0xFF).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sim/receiver_firmware.h"

using namespace sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t selector = data[0];
    ++data;
    --size;
    if (selector & 1) {
        auto fw = std::make_shared<Firmware>(static_cast<Kind>((selector >> 1) % kKindCount));
        std::string error;
        fw->LoadImage({reinterpret_cast<const char*>(data), size}, &error);
        return 0;
    }
    std::shared_ptr<Firmware> devices[kKindCount];
    auto rx = std::make_shared<ReceiverFirmware>();
    for (size_t k = 0; k + 1 < kKindCount; ++k)
        devices[k] = std::make_shared<Firmware>(static_cast<Kind>(k));
    devices[kKindCount - 1] = rx;
    rx->Pair(ReceiverFirmware::Partner::kKeyboard, devices[0]);
    rx->Pair(ReceiverFirmware::Partner::kMouse, devices[1]);
    rx->SetLinked(ReceiverFirmware::Partner::kKeyboard, true);
    rx->SetLinked(ReceiverFirmware::Partner::kMouse, (selector & 2) != 0);
    if (selector & 4) devices[1]->AddFault({FaultKind::kUnplugMidTransfer, 0, 2, 1, 0});
    if (selector & 8) devices[0]->AddFault({FaultKind::kWrongEcho, 0, 1, -1, selector >> 4});
    for (size_t at = 0; at + kFrameSize <= size; at += kFrameSize) {
        Frame frame;
        std::copy(data + at, data + at + kFrameSize, frame.begin());
        if (frame[0] == 0xFF) {
            devices[static_cast<size_t>(Kind::kHeadset)]->HandleColourReport(frame);
            continue;
        }
        Firmware& target = *devices[frame[0] % kKindCount];
        frame[0] = kVendorReportId;
        // Half the frames carry a correct checksum, so that they reach the commands.
        if (frame[1] & 1) StampChecksum(frame);
        target.HandleFrame(frame);
    }
    return 0;
}
