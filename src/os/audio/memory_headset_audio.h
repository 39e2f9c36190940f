#pragma once

// The headset's audio kept in memory: the simulated headset of demo mode and of tests. It has
// the whole property set, applies every property (the simulated chip has its effects) and can
// be told to fail its start or to lose its sound card.

#include <array>

#include "os/audio/headset_audio.h"

namespace os::audio {

class MemoryHeadsetAudio : public HeadsetAudioBase {
  public:
    struct Options {
        bool initFails = false;
        // False: the stored properties are only kept, as with a real sound card.
        bool appliesStored = true;
        double minDb = -40.0;
        double maxDb = 0.0;
        double stepDb = 0.5;
    };
    explicit MemoryHeadsetAudio(Options options, LogSink log = {});
    MemoryHeadsetAudio() : MemoryHeadsetAudio(Options{}) {}

    bool Init() override;
    void UnInit() override;

    // The sound card goes away (false) or comes back: meanwhile mixer reads give nothing and
    // writes fail.
    void SetPresent(bool present) { present_ = present; }

  protected:
    std::optional<double> ReadMixer(Endpoint endpoint, const PropertyInfo& p) override;
    bool WriteMixer(Endpoint endpoint, const PropertyInfo& p, double value) override;
    std::optional<MixerRange> ReadRange(Endpoint endpoint, MixerRole role) override;
    bool AppliesStoredProperties() const override { return options_.appliesStored; }

  private:
    struct Control {
        double scalar = 0.5;
        bool muted = false;
    };
    Control& ControlOf(Endpoint endpoint, MixerRole role);

    Options options_;
    bool present_ = true;
    // [endpoint][main, monitor]
    std::array<std::array<Control, 2>, 2> controls_{};
};

}  // namespace os::audio
