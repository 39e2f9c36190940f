#pragma once

// The mouse's settings block: 87 bytes per onboard profile, at profile index x 128 of its settings
// memory, turned into the model's records and back. Nothing here talks to the device or touches a
// file; the model reads and writes the bytes and keeps the records.
//
//   byte 0        active value given by the writer; in profile 0's block the active profile
//   byte 1        light mode code (the light mode list's "value" at the mode index)
//   byte 2        brightness level 0..4
//   byte 3        4 minus the speed level
//   byte 4        direction (written only: the mouse does not report it back)
//   byte 5        colourful flag
//   bytes 6..8    red, green, blue
//   bytes 9, 10   0
//   byte 11       3 minus the report-rate stage, in 8 bits (stage 4 is 0xFF)
//   byte 12       active DPI stage 0..6
//   byte 13       0
//   bytes 14..76  DPI stages 0..6, 9 bytes each:
//                   0 enabled, 1 separate X and Y, 2..3 X, 4..5 Y (little-endian, encoded
//                   units), 6..8 the stage's red, green, blue
//   bytes 77..80  wireless sleep 1 and 2, device sleep 1 and 2
//   byte 81       debounce time
//   bytes 82..85  0
//   byte 86       logo LED mode
//
// Values that pick from a list of the page (brightness, speed, report-rate stage, active stage)
// are brought into their range on the way in and on the way out, with a debug line; the other
// device values (sleep, debounce and logo codes, DPI values, colours) are carried as they are,
// since the page only shows what it knows of them and indexes nothing with them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/mouse/mouse_tables.h"
#include "profile/profile_records.h"

namespace device::mouse {

inline constexpr size_t kSettingsBlockSize = 87;
inline constexpr uint16_t kProfileStride = 128;
// Profile numbers travel in 4 bits of the mouse's events.
inline constexpr int kProfileCount = 16;

namespace block {
inline constexpr size_t kActive = 0;
inline constexpr size_t kLightMode = 1;
inline constexpr size_t kBrightness = 2;
inline constexpr size_t kSpeed = 3;
inline constexpr size_t kDirection = 4;
inline constexpr size_t kColourful = 5;
inline constexpr size_t kRed = 6;
inline constexpr size_t kGreen = 7;
inline constexpr size_t kBlue = 8;
inline constexpr size_t kReportRate = 11;
inline constexpr size_t kActiveStage = 12;
inline constexpr size_t kFirstStage = 14;
inline constexpr size_t kStageSize = 9;
inline constexpr size_t kBleSleep1 = 77;
inline constexpr size_t kBleSleep2 = 78;
inline constexpr size_t kDeviceSleep1 = 79;
inline constexpr size_t kDeviceSleep2 = 80;
inline constexpr size_t kAntiShake = 81;
inline constexpr size_t kLogoLedMode = 86;
}  // namespace block

using SettingsBlock = std::array<uint8_t, kSettingsBlockSize>;

// What one settings block holds, in the records the model and the profile keep.
struct MouseSettings {
    uint8_t active = 0;                   // byte 0
    profile::LightingRecord lighting;     // byte 0 the light mode index
    profile::MouseSystemSettings system;  // the five pointer values stay on this side
    int activeStage = 0;
    std::vector<profile::DpiStage> stages;  // at most kDpiStageCount go to the device
    friend bool operator==(const MouseSettings&, const MouseSettings&) = default;
};

// Where profile's block starts in the settings memory; nothing for a profile the mouse cannot
// have (logged).
std::optional<uint16_t> ProfileBlockAddress(int profile);

// The light mode list's codes ("value" per mode index).
// The code sent for a mode index: an index above 11, or one the list does not reach, sends index
// 0's code; with an empty list the index itself goes out.
uint8_t LightModeCode(std::span<const int> modeCodes, int index);
// The mode index of a code the mouse reports; a code the list does not hold stays the index.
uint8_t LightModeIndex(std::span<const int> modeCodes, uint8_t code);

// The block the model writes. Problems found on the way (values out of their range, stages
// beyond the seventh) are logged and, when notes is given, appended to it.
SettingsBlock EncodeSettingsBlock(const MouseSettings& settings, std::span<const int> modeCodes,
                                  std::vector<std::string>* notes = nullptr);

// The records in a block read from the mouse. What the block does not carry comes from current:
// the direction and lighting bytes 8..15, the five pointer values. Every stage of the block is
// decoded; the model keeps its profile's stages when applying a read.
MouseSettings DecodeSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> bytes,
                                  std::span<const int> modeCodes, const MouseSettings& current,
                                  std::vector<std::string>* notes = nullptr);

// A stage's slider position as the page shows it: the low byte of X, within 0..127.
int StageSliderPosition(const profile::DpiStage& stage);
// A slider of stage n moved to position: the list grows to n + 1 stages (new ones all zero) and
// both bytes of stage n's X become position; Y, the flags and the colour stay. False, with the
// list unchanged, for a stage outside 0..6 (logged); the position is taken into 0..127.
bool SetStageFromSlider(std::vector<profile::DpiStage>& stages, int stage, int position);

// The sleep time the device bar shows: the smaller of the two device sleep settings.
int SleepMinutes(const profile::MouseSystemSettings& system);

}  // namespace device::mouse
