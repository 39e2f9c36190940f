#include "device/headset/headset_colour_reports.h"

#include <algorithm>

#include "device/device_channel.h"

namespace device {

namespace {

constexpr uint8_t kFirstSubCode = 0xAA;  // red of the lower half
constexpr uint8_t kUpperHalf = 3;        // sub-codes 0xAD..0xAF: the upper half
constexpr int kLowerHalfLeds = 7;

}  // namespace

std::array<HeadsetColourReport, kHeadsetReportCount> BuildHeadsetColourReports(
    std::span<const LedColour> leds) {
    std::array<HeadsetColourReport, kHeadsetReportCount> out{};
    for (size_t r = 0; r < kHeadsetReportOrder.size(); ++r) {
        const HeadsetReportSlot slot = kHeadsetReportOrder[r];
        std::array<uint8_t, HeadsetColourReport::kSize>& b = out[r].bytes;
        b[0] = HeadsetColourReport::kReportId;
        b[1] = slot.zone;
        b[2] = slot.subCode;
        const int code = slot.subCode - kFirstSubCode;
        const bool upper = code >= kUpperHalf;
        const int channel = code % kUpperHalf;
        const int first = upper ? kLowerHalfLeds : 0;
        const int count = upper ? kHeadsetLedCount - kLowerHalfLeds : kLowerHalfLeds;
        for (int i = 0; i < count; ++i) {
            const size_t led = static_cast<size_t>(first + i);
            if (led >= leds.size()) break;
            const LedColour& c = leds[led];
            const uint8_t value = channel == 0 ? c.red : channel == 1 ? c.green : c.blue;
            b[HeadsetColourReport::kValueOffset + i] = HeadsetChannelValue(value, c.brightness);
        }
    }
    return out;
}

std::array<uint8_t, HeadsetColourReport::kBufferSize> HeadsetReportBuffer(
    const HeadsetColourReport& report) {
    std::array<uint8_t, HeadsetColourReport::kBufferSize> buffer{};
    std::copy(report.bytes.begin(), report.bytes.end(), buffer.begin());
    return buffer;
}

int SendHeadsetColourReports(DeviceChannel& channel, std::span<const LedColour> leds) {
    if (!channel.IsOpen()) return 0;
    int sent = 0;
    for (const HeadsetColourReport& report : BuildHeadsetColourReports(leds)) {
        const auto buffer = HeadsetReportBuffer(report);
        if (channel.directHandle().SetOutputReport(buffer.data(),
                                                   static_cast<uint32_t>(buffer.size())))
            ++sent;
    }
    return sent;
}

}  // namespace device
