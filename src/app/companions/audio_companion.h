#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "os/session_bus.h"

namespace app {

// The audio-capture companion: a separate program whose window has the class "Brasvik M402" +
// "AudioRecord" and the title "Brasvik M402" + "AUDIORECORD". It is told when the program comes
// up and ends, and sends audio frames (copy-data record 1) and band values (record 2) back.
os::SessionBus::RemoteWindow FindAudioCompanion(os::SessionBus& bus);
// (0, the main window), (3, 0), (1, 0); nothing when the companion does not run.
void GreetAudioCompanion(os::SessionBus& bus, os::HWND mainWindow);
// (2, 0), (4, 0), (5, 0).
void TellAudioCompanionWeEnd(os::SessionBus& bus);

// The copy-data records the companion sends.
inline constexpr uintptr_t kAudioFrameRecord = 1;
inline constexpr uintptr_t kAudioBandRecord = 2;
inline constexpr size_t kAudioFrameValues = 500;
inline constexpr size_t kAudioLevelCount = 25;
inline constexpr size_t kAudioBandBytes = 6;
using AudioBlock = std::array<int32_t, kAudioFrameValues>;

// Turns the companion's audio frames into level blocks for the keyboards. A frame is up to 500
// signed 32-bit values (longer data is cut; shorter data leaves the rest of the last frame). Each
// frame's levels are the mean change of the first four values of each group of five against the
// previous frame; every third frame hands its 25 levels over in a block of 500 (the rest 0).
class AudioFrameProcessor {
  public:
    // The block to hand to every keyboard, or nothing for this frame.
    std::optional<AudioBlock> Feed(const void* data, size_t bytes);
    const std::array<int32_t, kAudioLevelCount>& levels() const { return levels_; }

  private:
    AudioBlock frame_{};
    AudioBlock previous_{};
    std::array<int32_t, kAudioLevelCount> levels_{};
    int counter_ = 0;
};

// The band record: up to 6 bytes (the rest of the buffer as it was).
void CopyAudioBands(std::array<uint8_t, kAudioBandBytes>& bands, const void* data, size_t bytes);

}  // namespace app
