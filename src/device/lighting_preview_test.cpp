#include "device/lighting_preview.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/preview_tables.h"

namespace device {
namespace {

TEST(PreviewTables, ColourWheelSegmentsAndTheFixedRows) {
    struct Case {
        int index;
        Rgb colour;
    };
    constexpr Case kCases[] = {
        {0, {255, 1, 0}},      // red, green starts rising
        {31, {255, 255, 0}},   // yellow
        {32, {248, 255, 0}},   // red starts falling
        {63, {0, 255, 0}},     // green
        {95, {0, 255, 255}},   // cyan
        {127, {0, 0, 255}},    // blue
        {159, {255, 0, 255}},  // magenta
        {191, {255, 0, 0}},    // back to red
    };
    for (const Case& c : kCases) EXPECT_EQ(kColourWheel[c.index], c.colour) << c.index;
    EXPECT_EQ(kBreathingCurve[0], 0);
    EXPECT_EQ(kBreathingCurve[63], 255);
    EXPECT_EQ(kBreathingCurve[64], 255);
    EXPECT_EQ(kBreathingCurve[127], 0);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(kBreathingCurve[i], kBreathingCurve[127 - i]) << i;
    constexpr uint8_t kNormal[] = {8, 6, 4, 2, 1};
    constexpr uint8_t kSlow[] = {16, 12, 8, 4, 2};
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(SpeedTableValue(PreviewPace::kSpectrum, s), kNormal[s]);
        EXPECT_EQ(SpeedTableValue(PreviewPace::kBreathing, s), kSlow[s]);
    }
    // A speed byte out of range still paces sanely.
    EXPECT_EQ(SpeedTableValue(PreviewPace::kSpectrum, 200), 1);
    EXPECT_EQ(SpeedTableValue(PreviewPace::kSpectrum, -3), 8);
}

class Preview : public ::testing::Test {
  protected:
    void SetUp() override { preview_.SetLedCount(3); }
    LedColour Led(int i) const { return preview_.Led(i).value(); }
    LightingPreview preview_;
};

TEST_F(Preview, BreathingFollowsTheCurveAndAdvancesTheColourOncePerBreath) {
    PreviewParams p;
    p.brightness = 4;  // 255
    p.colour = {10, 20, 30};
    preview_.Breathing(p);
    EXPECT_EQ(preview_.ramp(), 1);
    EXPECT_EQ(Led(0), (LedColour{10, 20, 30, 0}));  // curve 1 x 255 / 256
    for (int i = 1; i < 64; ++i) preview_.Breathing(p);
    EXPECT_EQ(preview_.ramp(), 64);
    EXPECT_EQ(Led(2), (LedColour{10, 20, 30, 254}));
    for (int i = 64; i < 128; ++i) preview_.Breathing(p);
    EXPECT_EQ(preview_.ramp(), 0);  // wrapped from 127
    EXPECT_EQ(preview_.colourPosition(), 0) << "single colour: the wheel stays";

    p.colourful = 1;
    p.brightness = 2;  // 135
    for (int i = 0; i < 128; ++i) preview_.Breathing(p);
    EXPECT_EQ(preview_.colourPosition(), 16);
    preview_.Breathing(p);
    const Rgb wheel = kColourWheel[16];
    EXPECT_EQ(Led(1), (LedColour{wheel.red, wheel.green, wheel.blue, 1 * 135 / 256}));

    // Downwards the ramp wraps from 0 to 127, and coming back to 0 is again one breath.
    LightingPreview down;
    down.SetLedCount(1);
    p.direction = 1;
    down.Breathing(p);
    EXPECT_EQ(down.ramp(), 127);
    for (int i = 1; i < 128; ++i) down.Breathing(p);
    EXPECT_EQ(down.ramp(), 0);
    EXPECT_EQ(down.colourPosition(), 16);
}

TEST_F(Preview, BlinkTogglesOnItsPeriodAndShowsBlackWhenOff) {
    PreviewParams p;
    p.brightness = 1;  // 80
    p.speed = 0;       // 8 x 200 = 1600 ms
    p.colour = {1, 2, 3};
    preview_.Blink(p, PreviewPace::kBlink, 0);
    EXPECT_FALSE(preview_.blinkOn());
    EXPECT_EQ(Led(0), (LedColour{0, 0, 0, 0}));
    preview_.Blink(p, PreviewPace::kBlink, 1599);
    EXPECT_FALSE(preview_.blinkOn());
    preview_.Blink(p, PreviewPace::kBlink, 1600);
    EXPECT_TRUE(preview_.blinkOn());
    EXPECT_EQ(Led(2), (LedColour{1, 2, 3, 80}));
    EXPECT_EQ(preview_.colourPosition(), 0);
    preview_.Blink(p, PreviewPace::kBlink, 3200);
    EXPECT_EQ(Led(2), (LedColour{0, 0, 0, 0}));

    // Colourful: every toggle moves the wheel by 16, wrapping at 192.
    p.colourful = 1;
    p.speed = 4;  // 200 ms
    int64_t t = 3200;
    for (int toggles = 1; toggles <= 12; ++toggles) {
        t += 200;
        preview_.Blink(p, PreviewPace::kBlink, t);
        EXPECT_EQ(preview_.colourPosition(), (16 * toggles) % 192);
    }
    EXPECT_FALSE(preview_.blinkOn());  // an even number of toggles from off
}

TEST_F(Preview, FourColourStepsRunThroughTheirColours) {
    PreviewParams p;
    p.brightness = 4;
    p.speed = 4;
    // The colour moves on when the LEDs light up, not when they go dark: four lit phases show
    // the four colours in turn.
    int64_t t = 0;
    std::vector<LedColour> lit;
    for (size_t k = 0; k < 8; ++k) {
        t += 200;
        preview_.BlinkFourColours(p, PreviewPace::kBlinkFourColours, t);
        const LedColour led = Led(0);
        if (!preview_.blinkOn()) {
            EXPECT_EQ(led, (LedColour{0, 0, 0, 0}));
            continue;
        }
        lit.push_back(led);
    }
    ASSERT_EQ(lit.size(), 4u);
    for (size_t i = 0; i < lit.size(); ++i) {
        const Rgb want = kBlinkFourColours[(i + 1) % 4];
        EXPECT_EQ(lit[i], (LedColour{want.red, want.green, want.blue, 255})) << "lit phase " << i;
    }
    for (int i = 0; i < 128 * 3; ++i) preview_.BreathingFourColours(p);
    preview_.BreathingFourColours(p);
    const Rgb third = kBreathingFourColours[3];
    EXPECT_EQ(Led(1).red, third.red);
    EXPECT_EQ(Led(1).green, third.green);
}

TEST_F(Preview, SpectrumWrapsBothWaysAndStaticUsesTheBrightnessTable) {
    PreviewParams p;
    p.brightness = 3;
    p.direction = 1;
    preview_.Spectrum(p);
    EXPECT_EQ(preview_.colourPosition(), 191);
    EXPECT_EQ(Led(0), (LedColour{255, 0, 0, 195}));
    p.direction = 0;
    preview_.Spectrum(p);
    EXPECT_EQ(preview_.colourPosition(), 0);
    EXPECT_EQ(Led(0), (LedColour{255, 1, 0, 195}));
    p.colour = {9, 8, 7};
    preview_.Static(p);
    EXPECT_EQ(Led(2), (LedColour{9, 8, 7, 195}));
    preview_.Off();
    EXPECT_EQ(Led(1), (LedColour{0, 0, 0, 0}));
}

TEST_F(Preview, BuildingBlocksFadeMarkAndRotate) {
    struct Fade {
        uint8_t before;
        uint8_t after;
    };
    constexpr Fade kDefaultKind[] = {{200, 160}, {128, 88}, {100, 76}, {40, 24},
                                     {20, 12},   {16, 0},   {5, 0},    {0, 0}};
    for (const Fade& f : kDefaultKind) {
        preview_.SetLevel(5, f.before);
        const int offset = preview_.FadeStep(5, 0);
        EXPECT_EQ(preview_.level(5), f.after) << int(f.before);
        EXPECT_EQ(offset, (255 - f.after) * 191 / 255);
    }
    preview_.SetLevel(5, 200);
    preview_.FadeStep(5, 1);  // the ripple's longer tail
    EXPECT_EQ(preview_.level(5), 180);
    EXPECT_EQ(preview_.FadeStep(kMaxLeds, 0), 0);  // out of range: nothing

    preview_.SetWaveRing(0, 1);
    preview_.SetWaveRing(8, 1);
    preview_.SetWaveRing(9, 1);  // beyond the nine lit positions
    preview_.MarkFirstLeds();
    EXPECT_EQ(preview_.level(0), 255);
    EXPECT_EQ(preview_.level(8), 255);
    EXPECT_EQ(preview_.level(9), 0);
    preview_.RotateWaveRing(0);  // left: position 0 goes to the end
    EXPECT_EQ(preview_.waveRing()[22], 1);
    EXPECT_EQ(preview_.waveRing()[7], 1);
    EXPECT_EQ(preview_.waveRing()[0], 0);
    preview_.RotateWaveRing(1);
    preview_.RotateWaveRing(1);
    EXPECT_EQ(preview_.waveRing()[1], 1);  // came back round from the end
    EXPECT_EQ(preview_.waveRing()[10], 1);
    EXPECT_EQ(preview_.waveRing()[0], 0);
    preview_.ClearState();
    EXPECT_EQ(preview_.level(0), 0);
    for (uint8_t v : preview_.waveRing()) EXPECT_EQ(v, 0);
}

TEST_F(Preview, LedIndexesOutOfRangeAreIgnored) {
    preview_.SetLed(3, {1, 1, 1, 1});
    EXPECT_FALSE(preview_.Led(3).has_value());
    EXPECT_FALSE(preview_.Led(-1).has_value());
    preview_.SetLed(2, {1, 2, 3, 4});
    EXPECT_EQ(Led(2), (LedColour{1, 2, 3, 4}));
    preview_.SetLedCount(1000);
    EXPECT_EQ(preview_.LedCount(), kMaxLeds);
}

}  // namespace
}  // namespace device

namespace device {
namespace {

TEST(LightingPreviewGeneration, CountsOnlyRealChanges) {
    LightingPreview p;
    p.SetLedCount(3);
    const uint32_t g0 = p.Generation();
    p.SetLed(1, {1, 2, 3, 4});
    EXPECT_EQ(p.Generation(), g0 + 1);
    p.SetLed(1, {1, 2, 3, 4});  // the same colour again
    p.SetLed(7, {9, 9, 9, 9});  // out of range
    EXPECT_EQ(p.Generation(), g0 + 1);
    p.Fill({1, 2, 3}, 4);  // LED 1 has it already
    EXPECT_EQ(p.Generation(), g0 + 3);
}

}  // namespace
}  // namespace device
