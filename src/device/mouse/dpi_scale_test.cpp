#include "device/mouse/dpi_scale.h"

#include <gtest/gtest.h>

#include <string_view>

namespace device::mouse {
namespace {

struct Sensor {
    uint16_t id;
    int step;
    int base;
};
constexpr Sensor kSteps200After48 = {0x3325, 100, 100};
constexpr Sensor kHalfThenWhole = {0x8925, 0, 0};  // fixed scale: step and base are not used
constexpr Sensor kLinear = {0x3395, 50, 200};

DpiScale ScaleOf(const Sensor& s) {
    DeviceInfoBlock info;
    info.bytes[9] = static_cast<uint8_t>(s.id & 0xFF);  // sensor, little-endian
    info.bytes[10] = static_cast<uint8_t>(s.id >> 8);
    info.bytes[11] = static_cast<uint8_t>(s.step);         // DPI per unit
    info.bytes[14] = static_cast<uint8_t>(s.base & 0xFF);  // base, little-endian
    info.bytes[15] = static_cast<uint8_t>(s.base >> 8);
    return DpiScale::FromInfo(info);
}

TEST(DpiScale, EncodedValuesShowAsTheSensorsDpi) {
    struct Case {
        Sensor sensor;
        int encoded;
        int dpi;
    };
    constexpr Case kCases[] = {
        {kSteps200After48, 0, 100},
        {kSteps200After48, 48, 4900},
        {kSteps200After48, 49, 5100},
        {kSteps200After48, 127, 20700},
        {kHalfThenWhole, 0, 50},
        {kHalfThenWhole, 99, 5000},
        {kHalfThenWhole, 100, 5100},
        {kHalfThenWhole, 127, 7800},
        {kLinear, 0, 200},
        {kLinear, 127, 6550},
        // Beyond the slider's range: the nearest end.
        {kLinear, 200, 6550},
        {kLinear, -3, 200},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(ScaleOf(c.sensor).ToDpi(c.encoded), c.dpi)
            << "sensor " << c.sensor.id << " encoded " << c.encoded;
    }
}

TEST(DpiScale, TypedDpiBecomesThePositionThatShowsItOrTheNextBelow) {
    struct Case {
        Sensor sensor;
        std::string_view typed;
        int encoded;
    };
    constexpr Case kCases[] = {
        {kHalfThenWhole, "5100", 100},
        {kHalfThenWhole, "5000", 99},
        {kHalfThenWhole, "5199", 100},
        {kHalfThenWhole, "80", 1},  // below 100 counts as 100
        {kHalfThenWhole, "", 0},    // empty counts as 0
        {kSteps200After48, "4900", 48},
        // Each DPI the page shows for a position above the knee gives that position back.
        {kSteps200After48, "5100", 49},
        {kSteps200After48, "5300", 50},
        {kSteps200After48, "5000", 48},
        {kSteps200After48, "20700", 127},
        {kLinear, "250", 1},
        {kLinear, "100", 0},  // below the base
        // Beyond every position, and text the edit should not have let through.
        {kLinear, "99999999999999", 127},
        {kLinear, "abc", 0},
        {kLinear, "-400", 0},
        {kLinear, " 300dpi", 2},
    };
    for (const Case& c : kCases) {
        EXPECT_EQ(ScaleOf(c.sensor).TextToEncoded(c.typed), c.encoded)
            << "sensor " << c.sensor.id << " typed \"" << c.typed << "\"";
    }
}

TEST(DpiScale, EveryPositionSurvivesTheWayThroughItsDpi) {
    for (const Sensor& s : {kSteps200After48, kHalfThenWhole, kLinear}) {
        const DpiScale scale = ScaleOf(s);
        for (int e = 0; e <= kMaxEncodedDpi; ++e) {
            const int dpi = scale.ToDpi(e);
            // Position 0 of a low base shows below the smallest DPI one may type.
            if (dpi < kMinTypedDpi) continue;
            EXPECT_EQ(scale.ToEncoded(dpi), e) << "sensor " << s.id << " dpi " << dpi;
        }
    }
}

TEST(DpiScale, ADeviceWithoutAStepNeverDividesByIt) {
    const DpiScale scale = ScaleOf({0x3395, 0, 400});
    EXPECT_EQ(scale.ToDpi(10), 400);
    EXPECT_EQ(scale.TextToEncoded("1600"), 0);
    const DpiScale knee = ScaleOf({0x3325, 0, 400});
    EXPECT_EQ(knee.ToDpi(50), 800);
    EXPECT_EQ(knee.TextToEncoded("800"), 50);
}

}  // namespace
}  // namespace device::mouse
