#pragma once

// The headset's live colours, pushed as HID output reports of 17 bytes, one channel of one half
// of the LEDs of one zone each:
//
//   byte 0       0xFF (report id)
//   byte 1       zone: 0x22 or 0x44
//   byte 2       0xAA red, 0xAB green, 0xAC blue of LEDs 0..6;
//                0xAD red, 0xAE green, 0xAF blue of LEDs 7..12
//   byte 3       0
//   bytes 4..10  the channel of the 7 LEDs (bytes 4..9 for the 6 LEDs 7..12)
//   bytes 11..16 0
//
// A channel value is the LED's channel x its brightness / 256, at most 247. Both zones get the
// same colours. The twelve reports go out in a fixed order, red first, each channel's lower half
// before its upper half and zone 0x22 before 0x44; each rides at the start of an output buffer
// of the interface's output report length (64 bytes), the rest zeros.

#include <array>
#include <cstdint>
#include <span>

#include "device/lighting_preview.h"

namespace device {

class DeviceChannel;

struct HeadsetColourReport {
    static constexpr std::size_t kSize = 17;
    static constexpr std::size_t kBufferSize = 64;
    static constexpr uint8_t kReportId = 0xFF;
    static constexpr uint8_t kValueLimit = 247;
    static constexpr std::size_t kValueOffset = 4;

    std::array<uint8_t, kSize> bytes{};
    friend bool operator==(const HeadsetColourReport&, const HeadsetColourReport&) = default;
};

inline constexpr int kHeadsetLedCount = 13;
inline constexpr int kHeadsetReportCount = 12;

// Zone and sub-code of each report, in sending order.
struct HeadsetReportSlot {
    uint8_t zone;
    uint8_t subCode;
};
inline constexpr std::array<HeadsetReportSlot, kHeadsetReportCount> kHeadsetReportOrder = {{
    {0x22, 0xAA},
    {0x22, 0xAD},
    {0x44, 0xAA},
    {0x44, 0xAD},
    {0x22, 0xAB},
    {0x22, 0xAE},
    {0x44, 0xAB},
    {0x44, 0xAE},
    {0x22, 0xAC},
    {0x22, 0xAF},
    {0x44, 0xAC},
    {0x44, 0xAF},
}};

// One LED channel as sent: channel x brightness / 256, at most 247.
constexpr uint8_t HeadsetChannelValue(uint8_t channel, uint8_t brightness) {
    const int v = channel * brightness / 256;
    return static_cast<uint8_t>(
        v > HeadsetColourReport::kValueLimit ? HeadsetColourReport::kValueLimit : v);
}

// The twelve reports for the LEDs, in sending order. LEDs beyond the span are dark; LEDs beyond
// the thirteenth are not sent.
std::array<HeadsetColourReport, kHeadsetReportCount> BuildHeadsetColourReports(
    std::span<const LedColour> leds);

// The output buffer a report is sent in: the report first, zeros after it.
std::array<uint8_t, HeadsetColourReport::kBufferSize> HeadsetReportBuffer(
    const HeadsetColourReport& report);

// Sends the twelve reports on the channel's own handle, in order, each once (a report that fails
// is not sent again; the next push brings the colours anyway). Nothing goes out while the
// channel is closed. Returns the number of reports sent.
int SendHeadsetColourReports(DeviceChannel& channel, std::span<const LedColour> leds);

}  // namespace device
