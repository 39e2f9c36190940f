#include "device/headset/headset_audio_operations.h"

#include <cmath>
#include <string>

namespace device {

namespace {

using os::audio::AudioStatus;
using os::audio::Endpoint;
using os::audio::IHeadsetAudio;

constexpr Endpoint kSpeaker = Endpoint::kPlayback;
constexpr Endpoint kMicrophone = Endpoint::kCapture;

std::optional<int> Slider(const std::optional<double>& scalar) {
    if (!scalar) return std::nullopt;
    return static_cast<int>(std::lround(*scalar * 100));
}

std::optional<bool> Switch(const std::optional<double>& value) {
    if (!value) return std::nullopt;
    return *value != 0;
}

VolumeResult SetVolume(IHeadsetAudio& audio, Endpoint endpoint, const char* scalarName,
                       const char* decibelName, int slider) {
    VolumeResult r{audio.Set(endpoint, scalarName, slider / 100.0), std::nullopt};
    if (r.status == AudioStatus::kOk) r.decibels = audio.Get(endpoint, decibelName);
    return r;
}

}  // namespace

HeadsetAudioState ReadHeadsetAudioState(IHeadsetAudio& audio) {
    HeadsetAudioState s;
    s.maxVolume = audio.Get(kSpeaker, "GetMaxVol");
    s.minVolume = audio.Get(kSpeaker, "GetMinVol");
    s.volumeStep = audio.Get(kSpeaker, "GetVolStep");
    s.volume = audio.Get(kSpeaker, "VolumeControl");
    s.monitorMaxVolume = audio.Get(kMicrophone, "GetAAMaxVol");
    s.monitorMinVolume = audio.Get(kMicrophone, "GetAAMinVol");
    s.monitorVolumeStep = audio.Get(kMicrophone, "GetAAVolStep");
    s.monitorVolume = audio.Get(kMicrophone, "AAVolumeControl");
    s.volumeSlider = Slider(audio.Get(kSpeaker, "VolumeScalarControl"));
    s.monitorSlider = Slider(audio.Get(kMicrophone, "AAVolumeScalarControl"));
    s.microphoneSlider = Slider(audio.Get(kMicrophone, "VolumeScalarControl"));
    s.muted = Switch(audio.Get(kSpeaker, "MuteControl"));
    s.monitorMuted = Switch(audio.Get(kMicrophone, "AAMuteControl"));
    s.microphoneMuted = Switch(audio.Get(kMicrophone, "MuteControl"));
    s.voiceEffectOn = Switch(audio.Get(kMicrophone, "Enable_MAGICVOICE"));
    if (const std::optional<double> choice = audio.Get(kMicrophone, "MagicVoice_Selection"))
        s.voiceEffectChoice = static_cast<int>(*choice) + 1;
    return s;
}

VolumeResult SetSpeakerVolume(IHeadsetAudio& audio, int slider) {
    return SetVolume(audio, kSpeaker, "VolumeScalarControl", "VolumeControl", slider);
}

VolumeResult SetMicrophoneVolume(IHeadsetAudio& audio, int slider) {
    return SetVolume(audio, kMicrophone, "VolumeScalarControl", "VolumeControl", slider);
}

VolumeResult SetMicrophoneMonitorVolume(IHeadsetAudio& audio, int slider) {
    return SetVolume(audio, kMicrophone, "AAVolumeScalarControl", "AAVolumeControl", slider);
}

AudioStatus SetSpeakerMute(IHeadsetAudio& audio, bool muted) {
    return audio.Set(kSpeaker, "MuteControl", muted ? 1 : 0);
}

AudioStatus SetMicrophoneMute(IHeadsetAudio& audio, bool muted) {
    return audio.Set(kMicrophone, "MuteControl", muted ? 1 : 0);
}

AudioStatus SetMicrophoneMonitorMute(IHeadsetAudio& audio, bool muted) {
    return audio.Set(kMicrophone, "AAMuteControl", muted ? 1 : 0);
}

AudioStatus SetVoiceEffect(IHeadsetAudio& audio, bool on) {
    // The echo and the voice effect never run together; the echo is written off even though
    // the audio layer keeps that rule too, so that a device keeping its own state hears it.
    const AudioStatus s = audio.Set(kMicrophone, "Enable_MAGICVOICE", on ? 1 : 0);
    if (s != AudioStatus::kOk || !on) return s;
    return audio.Set(kMicrophone, "Enable_MICECHO", 0);
}

AudioStatus SetVoiceEffectChoice(IHeadsetAudio& audio, int choice) {
    if (choice < 1 || choice > 4) return AudioStatus::kOutOfRange;
    return audio.Set(kMicrophone, "MagicVoice_Selection", choice - 1);
}

AudioStatus ApplyEqualiser(IHeadsetAudio& audio, std::span<const int> bands) {
    if (bands.size() != kEqualiserBands) return AudioStatus::kOutOfRange;
    AudioStatus s = audio.Set(kSpeaker, "Enable_EQ_GFX", 1);
    for (int b = 0; b < kEqualiserBands && s == AudioStatus::kOk; ++b)
        s = SetEqualiserBand(audio, b, bands[static_cast<size_t>(b)]);
    return s;
}

AudioStatus SetEqualiserBand(IHeadsetAudio& audio, int band, int value) {
    if (band < 0 || band >= kEqualiserBands) return AudioStatus::kUnknownProperty;
    return audio.Set(kSpeaker, "EQ_Slider" + std::to_string(band + 1), value);
}

}  // namespace device
