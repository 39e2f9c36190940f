#include "app/device_bar/synchro_lighting.h"

#include <gtest/gtest.h>

#include "app/device_bar/device_descriptors.h"
#include "app/device_bar/device_option_ui.h"
#include "device/preview_tables.h"

namespace app {
namespace {

using profile::LightingRecord;

LightingRecord Record(uint8_t mode, uint8_t brightness, uint8_t speed, uint8_t colourful, uint8_t r,
                      uint8_t g, uint8_t b) {
    LightingRecord rec;
    rec[LightingRecord::kMode] = mode;
    rec[LightingRecord::kBrightness] = brightness;
    rec[LightingRecord::kSpeed] = speed;
    rec[LightingRecord::kColourful] = colourful;
    rec[LightingRecord::kRed] = r;
    rec[LightingRecord::kGreen] = g;
    rec[LightingRecord::kBlue] = b;
    return rec;
}

TEST(SynchroLighting, ModesTranslateBetweenTheKinds) {
    // A keyboard's static (5) is every kind's static; a mode of no row ends the action.
    ASSERT_EQ(SynchroModeOf(1, 5), SynchroMode::kStatic);
    EXPECT_EQ(LightModeOf(2, SynchroMode::kStatic), 0);
    EXPECT_EQ(LightModeOf(3, SynchroMode::kStatic), 3);
    EXPECT_EQ(LightModeOf(7, SynchroMode::kStatic), 3);
    EXPECT_EQ(SynchroModeOf(2, 10), SynchroMode::kBlink);
    EXPECT_EQ(SynchroModeOf(3, 8), SynchroMode::kOff);
    EXPECT_FALSE(SynchroModeOf(1, 6).has_value());
    EXPECT_FALSE(SynchroModeOf(10, 0).has_value());
    // Every row read forwards and backwards gives the same mode.
    for (int kind : {1, 2, 3, 7})
        for (int m = 0; m < kSynchroModeCount; ++m)
            EXPECT_EQ(SynchroModeOf(kind, *LightModeOf(kind, static_cast<SynchroMode>(m))),
                      static_cast<SynchroMode>(m))
                << kind << " " << m;
}

TEST(SynchroLighting, StepsComputeOneColourAndLevel) {
    SynchroLighting s;
    s.Set(SynchroMode::kStatic, Record(5, 2, 0, 0, 10, 20, 30));
    EXPECT_EQ(s.Step(0), (device::LedColour{10, 20, 30, device::kBrightnessTable[2]}));
    // The record handed to a mouse carries the mouse's own mode number.
    const auto mouse = s.RecordFor(2);
    ASSERT_TRUE(mouse.has_value());
    EXPECT_EQ((*mouse)[LightingRecord::kMode], 0);
    EXPECT_EQ((*mouse)[LightingRecord::kRed], 10);

    s.Set(SynchroMode::kOff, Record(17, 4, 0, 0, 10, 20, 30));
    EXPECT_EQ(s.Step(0), device::LedColour{});

    // Blink toggles once (speed table value x 200) ms have passed.
    s.Set(SynchroMode::kBlink, Record(23, 4, 0, 0, 1, 2, 3));
    const int64_t period = device::SpeedTableValue(device::PreviewPace::kBlink, 0) * 200;
    const device::LedColour on = s.Step(1000);
    EXPECT_EQ(on, (device::LedColour{1, 2, 3, 255}));
    EXPECT_EQ(s.Step(1000 + period - 1), on);
    EXPECT_EQ(s.Step(1000 + period), device::LedColour{});

    // Breathing follows the curve; spectrum walks the wheel.
    s.Set(SynchroMode::kBreathing, Record(4, 4, 0, 0, 255, 0, 0));
    EXPECT_EQ(s.Step(0).brightness, 255 * device::kBreathingCurve[1] / 256);
    s.Set(SynchroMode::kSpectrum, Record(3, 4, 0, 0, 0, 0, 0));
    const device::LedColour a = s.Step(0);
    const device::LedColour b = s.Step(0);
    EXPECT_NE(a, b);
    EXPECT_EQ(a.brightness, 255);
}

TEST(DeviceOptionPictures, ByKindAndPadSubKind) {
    const struct {
        int kind, subKind;
        const char* prefix;
    } cases[] = {
        {1, 0, "kb"}, {2, 0, "ms"},  {3, 0, "hard_mp"}, {3, 1, "soft_mp"}, {7, 0, "hd"},
        {4, 0, "hd"}, {5, 0, "hub"}, {0, 0, "unknow"},  {6, 0, "unknow"},  {9, 0, "unknow"},
    };
    for (const auto& c : cases) {
        CDeviceOptionUI item;
        item.SetKindImages(c.kind, c.subKind);
        const std::string base = std::string("file='common/device_ico/") + c.prefix + "_device_";
        EXPECT_EQ(item.normalImage(), base + "normal.png'") << c.kind << " " << c.subKind;
        EXPECT_EQ(item.selectedImage(), base + "selected.png'");
        EXPECT_EQ(item.synchroNormalImage(), base + "synchro_normal.png'");
        EXPECT_EQ(item.synchroSelectedImage(), base + "synchro_selected.png'");
    }
    // A pad of another sub-kind keeps what it showed.
    CDeviceOptionUI item;
    item.SetKindImages(3, 1);
    item.SetKindImages(3, 2);
    EXPECT_EQ(item.normalImage(), "file='common/device_ico/soft_mp_device_normal.png'");
    EXPECT_EQ(CDeviceOptionUI().normalImage(), "file='common/device_ico/unknow_device_normal.png'");
}

}  // namespace
}  // namespace app
