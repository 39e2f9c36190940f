#pragma once

// The headset's audio on its own ALSA sound card. The card is found by the headset's USB vendor
// and product id among the sound devices udev lists; volume and mute go to the card's simple
// mixer controls:
//   playback endpoint   the speaker level: the first of "PCM", "Speaker", "Headphone", "Master"
//                       that has a playback volume (mute: its playback switch)
//   capture endpoint    the microphone level: the first of "Mic", "Capture", "Headset" that has
//                       a capture volume (mute: its capture switch)
//   "AA" properties     the microphone heard in the headphones: the playback volume and switch
//                       of "Mic" or "Sidetone", on either endpoint
// The chip's effects have no driver here: they are only kept (see HeadsetAudioBase).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "os/audio/headset_audio.h"

namespace os::audio {

class AlsaHeadsetAudio : public HeadsetAudioBase {
  public:
    // The ALSA control name ("hw:N") of the sound card of a USB device, or empty with *why
    // saying why there is none. The default one asks udev.
    using CardLocator =
        std::function<std::string(uint16_t vendorId, uint16_t productId, std::string* why)>;

    AlsaHeadsetAudio(uint16_t vendorId, uint16_t productId, LogSink log = {},
                     CardLocator locator = {});
    ~AlsaHeadsetAudio() override;

    // Finds the card and opens its mixer; false with LastError naming the ids and the reason.
    bool Init() override;
    void UnInit() override;

    // The udev lookup.
    static std::string FindUsbSoundCard(uint16_t vendorId, uint16_t productId, std::string* why);

  protected:
    std::optional<double> ReadMixer(Endpoint endpoint, const PropertyInfo& p) override;
    bool WriteMixer(Endpoint endpoint, const PropertyInfo& p, double value) override;
    std::optional<MixerRange> ReadRange(Endpoint endpoint, MixerRole role) override;

  private:
    struct Mixer;
    uint16_t vendorId_;
    uint16_t productId_;
    CardLocator locator_;
    std::unique_ptr<Mixer> mixer_;
};

}  // namespace os::audio
