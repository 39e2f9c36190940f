#pragma once

#include "profile/profile_records.h"

namespace device {

// The audio-lighting controls of a device's lighting panel: the model hands its values to them
// and reads back what the user set.
class IAudioLightingView {
  public:
    virtual ~IAudioLightingView() = default;
    virtual void ShowAudioLighting(const profile::AudioLightingRecord& record) = 0;
    virtual profile::AudioLightingRecord ReadAudioLighting() const = 0;
};

}  // namespace device
