#include "device/mouse/dpi_scale.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "os/debug_output.h"

namespace device::mouse {

DpiScale::DpiScale(uint16_t sensorId, int step, int base)
    : sensorId_(sensorId), lowStep_(step), lowBase_(base) {
    for (const SensorDpiRow& row : kSensorDpiRows) {
        if (row.sensorId != sensorId) continue;
        if (row.lowStep != 0) {
            lowStep_ = row.lowStep;
            lowBase_ = row.lowBase;
        }
        knee_ = row.knee;
        highStep_ = row.highStep;
    }
}

DpiScale DpiScale::FromInfo(const DeviceInfoBlock& info) {
    DpiScale scale(info.sensorId(), info.dpiStep(), info.dpiBase());
    if (scale.lowStep_ == 0) {
        os::DebugOutput("mouse: sensor " + std::to_string(info.sensorId()) +
                        " reports a DPI step of 0; typed DPI values give position 0\n");
    }
    return scale;
}

int DpiScale::ToDpi(int encoded) const {
    const int e = std::clamp(encoded, 0, kMaxEncodedDpi);
    if (e <= knee_) return LowDpi(e);
    return LowDpi(knee_) + (e - knee_) * highStep_;
}

int DpiScale::ToEncoded(int dpi) const {
    const int64_t d = std::max(dpi, kMinTypedDpi);
    const int64_t kneeDpi = LowDpi(knee_);
    int64_t e = 0;
    if (knee_ < kMaxEncodedDpi && d > kneeDpi && highStep_ > 0)
        e = knee_ + (d - kneeDpi) / highStep_;
    else if (lowStep_ > 0)
        e = (d - lowBase_) / lowStep_;
    return static_cast<int>(std::clamp<int64_t>(e, 0, kMaxEncodedDpi));
}

int DpiScale::TextToEncoded(std::string_view text) const {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    if (at == text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return 0;
    // Saturates: a long run of digits is simply a very large DPI.
    int64_t value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        value = std::min<int64_t>(value * 10 + (text[at] - '0'), INT32_MAX);
    return ToEncoded(static_cast<int>(value));
}

}  // namespace device::mouse
