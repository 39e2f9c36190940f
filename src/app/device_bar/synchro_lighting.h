#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>

#include "device/lighting_preview.h"
#include "profile/profile_records.h"

namespace app {

// Synchronised lighting: one effect that the lighting synchronisation thread steps for every
// device that takes part. The modes are the devices' common ones; each kind has its own light
// mode number for each.
enum class SynchroMode : uint8_t {
    kBreathing = 0,
    kStatic = 1,
    kBlink = 2,
    kSpectrum = 3,
    kOff = 4
};
inline constexpr int kSynchroModeCount = 5;

// The light mode index of each synchronisation mode, per device kind group.
struct SynchroModeRow {
    std::array<uint8_t, kSynchroModeCount> modes;
};
inline constexpr SynchroModeRow kKeyboardSynchroModes = {{4, 5, 23, 3, 17}};
inline constexpr SynchroModeRow kMouseSynchroModes = {{1, 0, 10, 3, 6}};
inline constexpr SynchroModeRow kPadHeadsetSynchroModes = {{2, 3, 4, 1, 8}};

// Steps of the synchronisation thread's count (1 ms ticks) before one step, by speed index 0..14.
inline constexpr std::array<int, 15> kSynchroThresholds = {28, 23, 18, 13, 7, 0, 0, 0,
                                                           0,  0,  0,  0,  0, 0, 0};

// The row of a device kind (1 keyboard, 2 mouse, 3 pad, 7 headset), or null for other kinds.
const SynchroModeRow* SynchroModesOf(int kind);
// The synchronisation mode of a device's light mode; nothing when the mode has none.
std::optional<SynchroMode> SynchroModeOf(int kind, int lightMode);
// A kind's light mode for a synchronisation mode; nothing for kinds without a row.
std::optional<uint8_t> LightModeOf(int kind, SynchroMode mode);

// The process-wide state: the effect's parameters, set on the UI thread, and the animation
// state, stepped by the synchronisation thread. One lock guards both.
class SynchroLighting {
  public:
    // Takes the parameters of a lighting record whose mode has been translated to `mode`.
    void Set(SynchroMode mode, const profile::LightingRecord& record);
    SynchroMode mode() const;
    int speed() const;
    // The record a device of `kind` gets: the same parameters with its own mode number.
    std::optional<profile::LightingRecord> RecordFor(int kind) const;

    // One step of the current mode at time nowMs: the colour (brightness byte = level) every
    // taking-part device shows.
    device::LedColour Step(int64_t nowMs);

  private:
    mutable std::mutex lock_;
    SynchroMode mode_ = SynchroMode::kStatic;
    uint8_t brightness_ = 4;
    uint8_t speed_ = 0;
    uint8_t direction_ = 0;
    uint8_t colourful_ = 0;
    uint8_t red_ = 255, green_ = 255, blue_ = 255, fourth_ = 0;
    int ramp_ = 0;
    int colourPosition_ = 0;
    bool on_ = false;
    int64_t lastToggleMs_ = -1;
};

}  // namespace app
