#pragma once

#include <string>
#include <utility>
#include <vector>

#include "profile/basic_profiledata.h"

namespace profile {

// The headset's profile document: besides the common records, the headset system values, the
// equaliser presets, the custom equalisers and their names.
class CDe6533Profiledata : public CBasicProfiledata {
  public:
    static constexpr int kBandCount = 10;
    // The custom equaliser: its bands are in "CustomEQHzValueInfo", not among the presets.
    static constexpr int kCustomPreset = 13;

    // "SystemSetStages"; zeros when absent.
    HeadsetSystemSettings ReadHeadsetSystem();
    void WriteHeadsetSystem(const HeadsetSystemSettings& values);

    // The ten bands of a preset of "EQHzValueInfo". Presets 1..12 are stored under their number;
    // 0 and anything above 13 read preset 1; the custom preset 13 returns nothing. Missing bands
    // read as 0 and are created as 0 in the current section.
    std::vector<int> ReadEqBands(int preset);
    // One band of a preset, under the same mapping of preset numbers.
    void WriteEqBand(int preset, int band, int value);

    // The same on custom equaliser n of "CustomEQHzValueInfo", without any mapping.
    std::vector<int> ReadCustomEqBands(int n);
    void WriteCustomEqBand(int n, int band, int value);

    // "CustomEQNameInfo": the custom equaliser names in order.
    std::vector<std::string> ReadCustomEqNames();
    void WriteCustomEqNames(const std::vector<std::string>& names);

    // "AudioEffectValues": the audio effect values the headset's sound driver does not apply on
    // this system (surround, environment, noise cancelling and the like), kept here so that the
    // page shows them again. Keys are "playback/" or "capture/" and the property name; members
    // that are not numbers are left out. Written whole.
    using AudioEffectValue = std::pair<std::string, double>;
    std::vector<AudioEffectValue> ReadAudioEffectValues() const;
    void WriteAudioEffectValues(const std::vector<AudioEffectValue>& values);

  private:
    std::vector<int> ReadBands(const char* member, int index, std::vector<int>& cache);
    void WriteBand(const char* member, int index, int band, int value);

    HeadsetSystemSettings system_;
    std::vector<int> eqBands_;
    std::vector<int> customEqBands_;
};

}  // namespace profile
