#include "app/companions/audio_companion.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "app/app_globals.h"

namespace app {

namespace {
constexpr int kCompanionTimeoutMs = 1500;
}

os::SessionBus::RemoteWindow FindAudioCompanion(os::SessionBus& bus) {
    const std::string title = kAppTitle;
    return bus.FindWindow(title + "AudioRecord", title + "AUDIORECORD");
}

void GreetAudioCompanion(os::SessionBus& bus, os::HWND mainWindow) {
    const os::SessionBus::RemoteWindow companion = FindAudioCompanion(bus);
    if (!companion) return;
    const uint32_t msg = Globals().UWM_AUDIO_COMPANION_MSG;
    bus.SendRegistered(companion, msg, 0, static_cast<os::LPARAM>(mainWindow), kCompanionTimeoutMs);
    bus.SendRegistered(companion, msg, 3, 0, kCompanionTimeoutMs);
    bus.SendRegistered(companion, msg, 1, 0, kCompanionTimeoutMs);
}

void TellAudioCompanionWeEnd(os::SessionBus& bus) {
    const os::SessionBus::RemoteWindow companion = FindAudioCompanion(bus);
    if (!companion) return;
    const uint32_t msg = Globals().UWM_AUDIO_COMPANION_MSG;
    for (os::WPARAM w : {2, 4, 5}) bus.SendRegistered(companion, msg, w, 0, kCompanionTimeoutMs);
}

std::optional<AudioBlock> AudioFrameProcessor::Feed(const void* data, size_t bytes) {
    bytes = std::min(bytes, sizeof frame_);
    if (data != nullptr) std::memcpy(frame_.data(), data, bytes);
    ++counter_;
    // Changes are taken in 64 bits: the companion's values may span the whole 32-bit range, and
    // a level never wraps into a negative number.
    std::array<uint64_t, kAudioFrameValues> change{};
    for (size_t i = 0; i < kAudioFrameValues; ++i) {
        const int64_t d = static_cast<int64_t>(frame_[i]) - static_cast<int64_t>(previous_[i]);
        change[i] = static_cast<uint64_t>(d < 0 ? -d : d);
    }
    previous_ = frame_;
    for (size_t j = 0; j < kAudioLevelCount; ++j) {
        const uint64_t sum =
            change[5 * j] + change[5 * j + 1] + change[5 * j + 2] + change[5 * j + 3];
        levels_[j] =
            static_cast<int32_t>(std::min<uint64_t>(sum / 4, std::numeric_limits<int32_t>::max()));
    }
    if (counter_ < 3) return std::nullopt;
    counter_ = 0;
    AudioBlock block{};
    std::copy(levels_.begin(), levels_.end(), block.begin());
    return block;
}

void CopyAudioBands(std::array<uint8_t, kAudioBandBytes>& bands, const void* data, size_t bytes) {
    if (data != nullptr) std::memcpy(bands.data(), data, std::min(bytes, bands.size()));
}

}  // namespace app
