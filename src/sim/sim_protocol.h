#pragma once

// The firmware's own view of the wire: frame layout, command codes, status values and the
// checksum. Written for the simulated devices alone; the host side keeps its own copy, so that
// a test compares two independent readings of the same protocol.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace sim {

inline constexpr size_t kFrameSize = 64;
using Frame = std::array<uint8_t, kFrameSize>;

// Byte positions of a command frame (request and answer alike).
inline constexpr size_t kReportIdByte = 0;
inline constexpr size_t kChecksumLowByte = 1;
inline constexpr size_t kChecksumHighByte = 2;
inline constexpr size_t kCommandByte = 3;
inline constexpr size_t kLengthByte = 4;
inline constexpr size_t kAddressLowByte = 5;
inline constexpr size_t kAddressHighByte = 6;
inline constexpr size_t kStatusByte = 7;
inline constexpr size_t kPayloadByte = 8;
inline constexpr size_t kMaxPayload = kFrameSize - kPayloadByte;  // 56
// The receiver reads the partner to forward to from here; frames it forwards carry at most 24
// payload bytes, so this byte is free in them.
inline constexpr size_t kRouteByte = 32;

inline constexpr uint8_t kVendorReportId = 0x04;
inline constexpr uint8_t kEventReportId = 0x03;         // consumer collection of 0x320F devices
inline constexpr uint8_t kHeadsetEventReportId = 0x01;  // the headset's consumer usage report
inline constexpr uint8_t kHeadsetColourReportId = 0xFF;
inline constexpr size_t kHeadsetColourReportSize = 17;

namespace cmd {
inline constexpr uint8_t kReadInfo = 0x03;
inline constexpr uint8_t kReadSettings = 0x05;
inline constexpr uint8_t kWriteSettings = 0x06;
inline constexpr uint8_t kReadKeys = 0x07;
inline constexpr uint8_t kWriteKeys = 0x09;
inline constexpr uint8_t kWriteLightMap = 0x0B;
inline constexpr uint8_t kStreamColours = 0x12;
inline constexpr uint8_t kWriteMacros = 0x15;
inline constexpr uint8_t kWriteShoot = 0x17;
inline constexpr uint8_t kPoll = 0x19;
inline constexpr uint8_t kReadPower = 0x1A;
inline constexpr uint8_t kReadLedIndex = 0x1B;
inline constexpr uint8_t kResumeLighting = 0x1C;
inline constexpr uint8_t kLinkState = 0xAA;
}  // namespace cmd

inline constexpr uint8_t kStatusOk = 0x00;
inline constexpr uint8_t kStatusRefused = 0xFF;      // unknown command, bad range, refused write
inline constexpr uint8_t kStatusBadChecksum = 0xFE;  // the frame's checksum did not add up

// What the receiver puts in the command byte when it has no partner to forward to.
inline constexpr uint8_t kNoPartnerEcho = 0xFF;
inline constexpr uint8_t kNoPartnerStreamEcho = 0xAA;

inline constexpr uint8_t kRouteKeyboard = 0;
inline constexpr uint8_t kRouteMouse = 2;
inline constexpr uint8_t kLinked = 0xFF;

// Additive 16-bit sum of bytes 3..63, the checksum a frame carries in bytes 1 (low) and 2 (high).
constexpr uint16_t FrameSum(std::span<const uint8_t, kFrameSize> frame) {
    uint16_t sum = 0;
    for (size_t i = kCommandByte; i < kFrameSize; ++i) sum = static_cast<uint16_t>(sum + frame[i]);
    return sum;
}

constexpr bool ChecksumMatches(std::span<const uint8_t, kFrameSize> frame) {
    const uint16_t sum = FrameSum(frame);
    return frame[kChecksumLowByte] == (sum & 0xFF) && frame[kChecksumHighByte] == (sum >> 8);
}

constexpr void StampChecksum(std::span<uint8_t, kFrameSize> frame) {
    const uint16_t sum = FrameSum(frame);
    frame[kChecksumLowByte] = static_cast<uint8_t>(sum & 0xFF);
    frame[kChecksumHighByte] = static_cast<uint8_t>(sum >> 8);
}

// Event codes the devices send on their consumer collection.
namespace event {
inline constexpr uint16_t kKeyPressed = 0x0500;     // | device key number
inline constexpr uint16_t kKeyReleased = 0x0600;    // | device key number
inline constexpr uint16_t kProfile = 0x1000;        // | profile in bits 0..3
inline constexpr uint16_t kProfileAndDpi = 0x1100;  // | DPI stage in bits 4..7 | profile
inline constexpr uint16_t kMouseClicked = 0x0403;   // a button went down (reactive lighting)
}  // namespace event

}  // namespace sim
