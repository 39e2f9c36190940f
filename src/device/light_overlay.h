#pragma once

#include <cstdint>

namespace device {

// What a device page needs of an LED button: the lit look drawn over its picture. The key button
// control of the page implements it; the device model only ever sets the three values, and the
// page repaints when the device bar redraws it.
class ILightOverlay {
  public:
    virtual ~ILightOverlay() = default;
    // colour 0x00RRGGBB, level 0..255.
    virtual void SetLightOverlay(uint32_t colour, int level, bool visible) = 0;
};

}  // namespace device
