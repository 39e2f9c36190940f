#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/audio_lighting_view.h"
#include "profile/profile_records.h"

namespace device {

// What a device model asks of its page's lighting panel: the mode list, the record and the
// audio-lighting values to show, and the panel's colour swatches. The device bar tells it
// whether synchronised lighting is on offer.
class ILightingView : public IAudioLightingView {
  public:
    // The language keys of the modes in mode index order, whether each is offered, and the
    // maxima of the brightness and speed sliders.
    virtual void SetModeList(const std::vector<std::string>& names, const std::vector<int>& visible,
                             int maxBrightness, int maxSpeed) = 0;
    // Shows bytes 0..7 and 11 of the record, then the controls of its mode.
    virtual void ShowLighting(const profile::LightingRecord& record) = 0;
    // Enables and shows the controls the mode uses on a device of that kind.
    virtual void ShowModeLayout(int kind, int mode) = 0;
    // 0x00RRGGBB of swatch n; 0 when there is no such swatch.
    virtual uint32_t GetColourOption(int n) const = 0;
    // The first swatch 0..12 of that colour; 0 when none matches or a swatch is missing.
    virtual int FindColourOption(uint8_t red, uint8_t green, uint8_t blue) const = 0;
    // The swatch the user chose last, plus one (0: none yet): the keyboard's paint colour.
    virtual int GetPaintColourIndex() const = 0;
    // The custom group chosen in the panel, -1 when none is.
    virtual int GetCustomGroup() const = 0;
    // True while more than one device item is visible: the synchronisation button is offered.
    virtual void OfferSynchronisation(bool offered) = 0;
};

}  // namespace device
