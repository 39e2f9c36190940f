#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "profile/profile_records.h"

namespace device::keyboard {

// The keyboard's settings block in its settings memory: 26 bytes at slot times 25 (the byte at
// address 0 is the active index, so consecutive slots share one byte).
//
//   0       active value (written: the caller's, 0; read: the active index)
//   1       light mode code (the light mode list's value of the record's mode; the streamed
//           modes 29 and 30 as kStreamedModeCode)
//   2       brightness level 0..4
//   3       4 minus the speed level
//   4       direction
//   5       colourful flag
//   6..8    red, green, blue
//   9       0
//   10, 11  kept: written back as last read
//   12..17  0
//   18      lighting record byte 11 (the extra lighting value)
//   19      "WFlag"
//   20      "Key6Flag"
//   21      "WinFlag"
//   22      "PollingRate" (the keyboard does not report it back)
//   23, 24  0
//   25      light page (lighting record byte 12)
inline constexpr int kSettingsBlockSize = 26;
inline constexpr int kSettingsSlotStride = 25;
inline constexpr uint8_t kStreamedModeCode = 0xFE;
// Device events carry the active index in 4 bits.
inline constexpr int kMaxActiveIndex = 15;
// The light map's page is addressed as page times 512 in a 16-bit address.
inline constexpr int kMaxLightPage = 127;
inline constexpr int kMaxLevel = 4;  // brightness and speed levels

using SettingsBlock = std::array<uint8_t, kSettingsBlockSize>;

// Settings-memory address of a slot's block; slots beyond kMaxActiveIndex read slot 0.
uint16_t SettingsBlockAddress(int slot);

// The light mode list's codes ("value" per mode index), as the lighting catalogue gives them.
using LightModeCodes = std::span<const int>;

// The mode code written for a mode index: the list's value at the index (the index itself when
// the list has no entry there); the streamed modes' codes as kStreamedModeCode.
uint8_t ModeCodeOf(int modeIndex, LightModeCodes codes);

// Builds the block from the lighting record and the system values. keptBytes are bytes 10 and
// 11 of the last block read.
SettingsBlock EncodeSettingsBlock(const profile::LightingRecord& record,
                                  const profile::KeyboardSystemSettings& system,
                                  LightModeCodes codes, std::array<uint8_t, 2> keptBytes,
                                  uint8_t activeValue);

// What a block read from the keyboard says, checked.
struct DecodedSettings {
    uint8_t activeIndex = 0;
    profile::LightingRecord record;          // the current record with the block's fields
    profile::KeyboardSystemSettings system;  // the current values with the three flags
    std::array<uint8_t, 2> keptBytes{};
    bool modeKept = false;  // the block named no mode of the list: the page's mode stays
    // Fields the keyboard sent out of their range (brought into it). Nonzero: log it.
    int outOfRange = 0;
};

// Decodes a block into the current record and system values. The mode code is looked up in the
// list; kStreamedModeCode, and a code that no entry of a non-empty list has, keep the current
// mode index. Levels above 4 count as 4, flags other than 0 as 1, a light page beyond
// kMaxLightPage as page 0.
DecodedSettings DecodeSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> block,
                                    const profile::LightingRecord& current,
                                    const profile::KeyboardSystemSettings& currentSystem,
                                    LightModeCodes codes);

// The page's options from the stored system values: out of 0..3 selects option 0.
int RepeatDelayOption(uint16_t repeatDelay);
int RepeatDelayMs(int option);  // 250, 500, 750 or 1000
int PollingRateOption(uint16_t pollingRate);

}  // namespace device::keyboard
