#include "device/command_frame.h"

namespace device {

CommandFrame CommandFrame::Request(uint8_t code, uint8_t length, uint16_t address) {
    CommandFrame f;
    f.bytes[0] = kReportId;
    f.bytes[3] = code;
    f.bytes[4] = length;
    f.SetAddress(address);
    f.bytes[7] = 0;
    return f;
}

void CommandFrame::Seal() {
    const uint16_t sum = FrameChecksum(bytes.data());
    bytes[1] = static_cast<uint8_t>(sum & 0xFF);
    bytes[2] = static_cast<uint8_t>(sum >> 8);
}

uint16_t FrameChecksum(const uint8_t* frame) {
    uint16_t sum = 0;
    for (size_t i = 3; i < CommandFrame::kSize; ++i) sum = static_cast<uint16_t>(sum + frame[i]);
    return sum;
}

}  // namespace device
