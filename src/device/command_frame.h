#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

// Command codes of the vendor command interface.
enum CommandCode : uint8_t {
    kCmdReadDeviceInfo = 0x03,
    kCmdReadSettings = 0x05,
    kCmdWriteSettings = 0x06,
    kCmdReadKeyTable = 0x07,
    kCmdWriteKeyTable = 0x09,
    kCmdWriteLightMap = 0x0B,
    kCmdStreamKeyColours = 0x12,
    kCmdWriteMacroData = 0x15,
    kCmdWriteShootData = 0x17,
    kCmdReceiverPoll = 0x19,
    kCmdReadPowerStatus = 0x1A,
    kCmdReadLedIndexTable = 0x1B,
    kCmdResumeLighting = 0x1C,
    kCmdQueryLink = 0xAA,
};

// Results of the device operations.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNothing = 0;  // channel closed, or the answer timed out or failed
inline constexpr int ErrWriteFailed = -1;
inline constexpr int ErrNoDevice = -101;  // the receiver has no device to forward to
inline constexpr int ErrStatusFF = -102;
inline constexpr int ErrStatusFE = -103;
inline constexpr int ErrBadBank = -201;

// One 64-byte command or response report.
//
//   byte 0       report id, always 0x04
//   bytes 1..2   checksum, little-endian: the 16-bit sum of bytes 3..63
//   byte 3       command code (response: its echo; 0xFF / 0xAA from a receiver with no device)
//   byte 4       payload length of this frame
//   bytes 5..6   address, little-endian
//   byte 7       0 in requests; the status in responses (0xFF and 0xFE are failures)
//   bytes 8..63  payload (56 bytes; 24 through the receiver, whose target byte is byte 32)
struct CommandFrame {
    static constexpr size_t kSize = 64;
    static constexpr uint8_t kReportId = 0x04;
    static constexpr size_t kPayloadOffset = 8;
    static constexpr size_t kMaxPayload = 56;
    static constexpr size_t kMaxReceiverPayload = 24;
    static constexpr size_t kReceiverTargetByte = 32;

    std::array<uint8_t, kSize> bytes{};

    // A request frame: report id, code, length and address; payload and checksum follow.
    static CommandFrame Request(uint8_t code, uint8_t length = 0, uint16_t address = 0);

    uint8_t code() const { return bytes[3]; }
    uint8_t length() const { return bytes[4]; }
    uint16_t address() const { return static_cast<uint16_t>(bytes[5] | (bytes[6] << 8)); }
    uint8_t status() const { return bytes[7]; }
    uint8_t* payload() { return bytes.data() + kPayloadOffset; }
    const uint8_t* payload() const { return bytes.data() + kPayloadOffset; }

    void SetLength(uint8_t length) { bytes[4] = length; }
    void SetAddress(uint16_t address) {
        bytes[5] = static_cast<uint8_t>(address & 0xFF);
        bytes[6] = static_cast<uint8_t>(address >> 8);
    }
    // Computes the checksum of bytes 3..63 into bytes 1..2.
    void Seal();
};

// The sum of bytes 3..63 of a 64-byte frame, kept in 16 bits (it cannot exceed them: 61 x 255).
uint16_t FrameChecksum(const uint8_t* frame);

// The 34-byte device information block.
struct DeviceInfoBlock {
    static constexpr size_t kSize = 34;
    std::array<uint8_t, kSize> bytes{};

    uint8_t keyCount() const { return bytes[5]; }
    uint8_t macroCapacityUnits() const { return bytes[6]; }  // 128-byte units
    uint16_t sensorId() const { return static_cast<uint16_t>(bytes[9] | (bytes[10] << 8)); }
    uint8_t dpiStep() const { return bytes[11]; }
    uint16_t dpiBase() const { return static_cast<uint16_t>(bytes[14] | (bytes[15] << 8)); }
};

// The 6-byte power status block.
struct PowerStatusBlock {
    static constexpr size_t kSize = 6;
    std::array<uint8_t, kSize> bytes{};

    uint8_t batteryPercent() const { return bytes[0]; }  // above 100: keep the last shown level
    uint8_t powerState() const { return bytes[1]; }      // 0 powered, 1 charging, 2 on battery
    uint8_t wireless() const { return bytes[3]; }        // set by the caller: 1 through a receiver
    uint8_t connection() const { return bytes[4]; }
    uint8_t phoneType() const { return bytes[5]; }  // 1 iPhone, 2 Samsung, 3 other, else none
};

}  // namespace device
