#pragma once

// The lighting settings block of the mouse pad, which the headset keeps in the same layout.
//
// On the device (settings memory):
//   byte 0      active index (address 0 holds it); the active value when written
//   byte 1      light mode code, from the "value" column of the light mode list
//   byte 2      brightness level 0..4
//   byte 3      4 minus the speed level
//   byte 4      carried unchanged
//   byte 5      colourful flag
//   bytes 6..8  red, green, blue
//   bytes 9..20 carried unchanged from the last read
// Read: 1 byte at address 0 (the active index), then 26 bytes at active index x 25, of which the
// first 21 are kept. Written: 21 bytes at slot x 64.
//
// In the model the same 21 bytes hold the light mode index in byte 1 and the speed level in
// byte 3; the functions below translate between the two readings.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "profile/profile_records.h"

namespace device {

class DeviceChannel;

struct LightingBlock {
    static constexpr std::size_t kSize = 21;      // kept and written
    static constexpr std::size_t kReadSize = 26;  // read
    static constexpr uint16_t kReadStride = 25;   // per active index
    static constexpr uint16_t kWriteStride = 64;  // per slot
    static constexpr uint8_t kMaxLevel = 4;       // brightness and speed levels

    enum Byte : std::size_t {
        kActive = 0,
        kMode = 1,
        kBrightness = 2,
        kSpeed = 3,
        kCarried = 4,
        kColourful = 5,
        kRed = 6,
        kGreen = 7,
        kBlue = 8,
        kTailFirst = 9,  // 9..20 carried from the last read
    };

    std::array<uint8_t, kSize> bytes{};

    uint8_t& operator[](std::size_t i) { return bytes[i]; }
    uint8_t operator[](std::size_t i) const { return bytes[i]; }
    friend bool operator==(const LightingBlock&, const LightingBlock&) = default;
};

// The device's mode codes, in the order of the light mode list (the list's "value" column).
using ModeCodes = std::span<const int>;

// The model's block from the bytes read from the device: the first 21 of them, the mode code
// turned into the index of the list entry that has it (a code no entry has stays as it is) and
// the speed byte turned back into a level. A speed byte above 4 is no speed this block can hold:
// it reads as level 0 and is logged. Fewer than 21 bytes: nothing.
std::optional<LightingBlock> LightingBlockFromDevice(std::span<const uint8_t> read,
                                                     ModeCodes modeCodes);

// The 21 bytes to write: the mode index turned into the list's code and the speed level into 4
// minus it. An index the list does not have is sent as it is, and logged; levels above 4 are
// sent as 4.
std::array<uint8_t, LightingBlock::kSize> LightingBlockToDevice(const LightingBlock& block,
                                                                ModeCodes modeCodes);

// Fills bytes 1, 2, 3 and 5..8 of the block from a lighting record (mode index, brightness,
// speed, colourful, colour); the others keep what the device gave. Levels above 4 become 4.
void ApplyLightingRecord(LightingBlock& block, const profile::LightingRecord& record);
// The reverse: bytes 0, 1, 2, 4 and 5..7 of record from the block; the rest of record stays.
void StoreInLightingRecord(const LightingBlock& block, profile::LightingRecord& record);

// Addresses. Every active index has a read address; a slot whose block would end beyond 16-bit
// addresses has no write address.
uint16_t LightingBlockReadAddress(uint8_t activeIndex);
std::optional<uint16_t> LightingBlockWriteAddress(int slot);

// Reads the active index and the block from the device into block (the model's copy), with the
// active index in byte 0 (the index for the main window's 0xD00 message). The copy
// changes only when both reads succeed: a closed channel or a failed read leaves it as it was,
// so a write that follows never sends a block of zeros. Returns the channel's result of the
// failing read, or 1.
int ReadLightingBlock(DeviceChannel& channel, ModeCodes modeCodes, LightingBlock& block);
// Writes the block at slot x 64 (callers pass slot 0). Returns the channel's result; a slot out
// of reach sends nothing and returns 0.
int WriteLightingBlock(DeviceChannel& channel, const LightingBlock& block, ModeCodes modeCodes,
                       int slot = 0);

}  // namespace device
