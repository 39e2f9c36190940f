#pragma once

// DPI values of the mouse's stages. The mouse and the profile hold an encoded value 0..127 per
// stage (the position of the stage's slider); the page shows and takes DPI. How one becomes the
// other depends on the sensor the device information block names.

#include <array>
#include <cstdint>
#include <string_view>

#include "device/command_frame.h"
#include "device/mouse/mouse_tables.h"

namespace device::mouse {

// A typed DPI below this counts as this.
inline constexpr int kMinTypedDpi = 100;

// A sensor whose scale leaves the linear rule: up to the knee the encoded value climbs by
// lowStep DPI from lowBase (0 in both: the step and base of the information block), beyond it by
// highStep DPI per unit.
struct SensorDpiRow {
    uint16_t sensorId;
    int knee;
    int lowStep;
    int lowBase;
    int highStep;
};
inline constexpr std::array<SensorDpiRow, 2> kSensorDpiRows = {{
    {0x3325, 48, 0, 0, 200},
    {0x8925, 99, 50, 50, 100},
}};

// The scale of one connected mouse.
class DpiScale {
  public:
    // Linear, one DPI per unit from 0, until the device has told its own.
    DpiScale() = default;
    DpiScale(uint16_t sensorId, int step, int base);
    // From the device information block. A step of 0 is logged: such a device shows its base
    // for every position, and typed values give position 0.
    static DpiScale FromInfo(const DeviceInfoBlock& info);

    // The DPI of an encoded value (taken into 0..127 first).
    int ToDpi(int encoded) const;
    // The encoded value whose DPI is the largest not above dpi, within 0..127; a dpi below 100
    // counts as 100.
    int ToEncoded(int dpi) const;
    // A typed text: empty (or without digits) gives 0; otherwise its leading decimal number as
    // ToEncoded takes it.
    int TextToEncoded(std::string_view text) const;

    uint16_t sensorId() const { return sensorId_; }

  private:
    int LowDpi(int encoded) const { return lowBase_ + encoded * lowStep_; }

    uint16_t sensorId_ = 0;
    int lowStep_ = 1;
    int lowBase_ = 0;
    int knee_ = kMaxEncodedDpi;
    int highStep_ = 0;
};

}  // namespace device::mouse
