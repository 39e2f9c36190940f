#pragma once

// The headset's audio operations, as its page and panels call them: each reads or writes one or
// more properties of the headset's audio (os/audio) on the endpoint it belongs to. Sliders run
// 0..100; volumes come back in dB for the page's "%.2f" labels. Every write returns the audio
// layer's status; nothing is written while the audio side has not started.

#include <array>
#include <optional>
#include <span>

#include "os/audio/headset_audio.h"

namespace device {

inline constexpr int kEqualiserBands = 10;

// What the page shows when the headset is read.
struct HeadsetAudioState {
    // Speaker (playback endpoint) and microphone monitor (capture endpoint, the "AA" properties)
    // ranges and levels, in dB.
    std::optional<double> maxVolume, minVolume, volumeStep, volume;
    std::optional<double> monitorMaxVolume, monitorMinVolume, monitorVolumeStep, monitorVolume;
    // Slider positions 0..100.
    std::optional<int> volumeSlider, monitorSlider, microphoneSlider;
    std::optional<bool> muted, monitorMuted, microphoneMuted;
    std::optional<bool> voiceEffectOn;
    std::optional<int> voiceEffectChoice;  // 1..4 as the panel numbers them
};
HeadsetAudioState ReadHeadsetAudioState(os::audio::IHeadsetAudio& audio);

// A volume slider moved: slider / 100 to the scalar property, then the resulting dB level read
// back (nothing when the write failed or the device does not report it).
struct VolumeResult {
    os::audio::AudioStatus status;
    std::optional<double> decibels;
};
VolumeResult SetSpeakerVolume(os::audio::IHeadsetAudio& audio, int slider);
VolumeResult SetMicrophoneVolume(os::audio::IHeadsetAudio& audio, int slider);
VolumeResult SetMicrophoneMonitorVolume(os::audio::IHeadsetAudio& audio, int slider);

os::audio::AudioStatus SetSpeakerMute(os::audio::IHeadsetAudio& audio, bool muted);
os::audio::AudioStatus SetMicrophoneMute(os::audio::IHeadsetAudio& audio, bool muted);
os::audio::AudioStatus SetMicrophoneMonitorMute(os::audio::IHeadsetAudio& audio, bool muted);

// The voice effect: on also switches the microphone echo off. The choice is the panel's 1..4,
// written as 0..3; other numbers are refused.
os::audio::AudioStatus SetVoiceEffect(os::audio::IHeadsetAudio& audio, bool on);
os::audio::AudioStatus SetVoiceEffectChoice(os::audio::IHeadsetAudio& audio, int choice);

// An equaliser setting: the equaliser on, then the ten bands in order. Stops at the first
// refusal; a span of another length is refused whole.
os::audio::AudioStatus ApplyEqualiser(os::audio::IHeadsetAudio& audio, std::span<const int> bands);
// One band (0..9) moved on its own.
os::audio::AudioStatus SetEqualiserBand(os::audio::IHeadsetAudio& audio, int band, int value);

}  // namespace device
