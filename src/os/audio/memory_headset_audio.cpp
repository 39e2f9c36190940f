#include "os/audio/memory_headset_audio.h"

#include <algorithm>
#include <cmath>

namespace os::audio {

MemoryHeadsetAudio::MemoryHeadsetAudio(Options options, LogSink log)
    : HeadsetAudioBase(std::move(log)), options_(options) {}

bool MemoryHeadsetAudio::Init() {
    if (options_.initFails) {
        SetStarted(false);
        Fail("the simulated headset's audio was told not to start");
        return false;
    }
    SetStarted(true);
    return true;
}

void MemoryHeadsetAudio::UnInit() {
    SetStarted(false);
}

MemoryHeadsetAudio::Control& MemoryHeadsetAudio::ControlOf(Endpoint endpoint, MixerRole role) {
    return controls_[static_cast<size_t>(endpoint)][role == MixerRole::kMonitor ? 1 : 0];
}

std::optional<HeadsetAudioBase::MixerRange> MemoryHeadsetAudio::ReadRange(Endpoint, MixerRole) {
    if (!present_) return std::nullopt;
    return MixerRange{options_.minDb, options_.maxDb, options_.stepDb};
}

std::optional<double> MemoryHeadsetAudio::ReadMixer(Endpoint endpoint, const PropertyInfo& p) {
    if (!present_) return std::nullopt;
    const Control& c = ControlOf(endpoint, p.role);
    switch (p.kind) {
        case ValueKind::kScalar:
            return c.scalar;
        case ValueKind::kDecibel:
            return options_.minDb + c.scalar * (options_.maxDb - options_.minDb);
        default:
            return c.muted ? 1.0 : 0.0;
    }
}

bool MemoryHeadsetAudio::WriteMixer(Endpoint endpoint, const PropertyInfo& p, double value) {
    if (!present_) return false;
    Control& c = ControlOf(endpoint, p.role);
    const double span = options_.maxDb - options_.minDb;
    switch (p.kind) {
        case ValueKind::kScalar:
        case ValueKind::kDecibel: {
            // The card moves in whole steps of its dB range, as a sound card does.
            double db = p.kind == ValueKind::kScalar ? options_.minDb + value * span : value;
            if (options_.stepDb > 0)
                db = options_.minDb +
                     std::round((db - options_.minDb) / options_.stepDb) * options_.stepDb;
            c.scalar = span > 0 ? std::clamp((db - options_.minDb) / span, 0.0, 1.0) : 0.0;
            return true;
        }
        default:
            c.muted = value != 0;
            return true;
    }
}

}  // namespace os::audio
