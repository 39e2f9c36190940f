#include "device/mouse/mouse_previews.h"

#include <gtest/gtest.h>

#include <set>

namespace device::mouse {
namespace {

class MousePreview : public ::testing::Test {
  protected:
    void SetUp() override { preview_.SetLedCount(kLedCount); }
    LedColour Led(int i) const { return *preview_.Led(i); }
    LightingPreview preview_;
    MousePreviewState state_;
};

TEST_F(MousePreview, TheColourWaveMovesThroughTheSevenGroups) {
    const PreviewParams p{.brightness = 4, .colourful = 1};
    PreviewWave(preview_, state_, p);
    EXPECT_EQ(state_.wavePosition, 1);
    for (int g = 0; g < kLedGroupCount; ++g) {
        const Rgb want = kColourWheel[1 + 7 * g];
        for (uint8_t k = 0; k < kLedGroups[g].count; ++k) {
            EXPECT_EQ(Led(kLedGroups[g].leds[k]), (LedColour{want.red, want.green, want.blue, 255}))
                << "group " << g;
        }
    }
    // Backwards, wrapping below 0 to the wheel's end.
    state_.wavePosition = 0;
    PreviewWave(preview_, state_, {.brightness = 4, .direction = 1, .colourful = 1});
    EXPECT_EQ(state_.wavePosition, 191);
    EXPECT_EQ(Led(14),
              (LedColour{kColourWheel[(191 + 42) % 192].red, kColourWheel[(191 + 42) % 192].green,
                         kColourWheel[(191 + 42) % 192].blue, 255}));
}

TEST_F(MousePreview, TheSingleColourWaveBreathesAcrossTheGroups) {
    const PreviewParams p{.brightness = 2, .colour = {10, 20, 30}};
    state_.wavePosition = 95;
    PreviewWave(preview_, state_, p);
    EXPECT_EQ(state_.wavePosition, 0);  // the single colour wave wraps at 96
    for (int g = 0; g < kLedGroupCount; ++g) {
        const uint8_t level = static_cast<uint8_t>(kBreathingCurve[g] * 135 / 256);
        EXPECT_EQ(Led(kLedGroups[g].leds[0]), (LedColour{10, 20, 30, level})) << g;
    }
    // A position left too far by another mode is taken back into range first.
    state_.wavePosition = 150;
    PreviewWave(preview_, state_, p);
    EXPECT_EQ(state_.wavePosition, 0);
}

TEST_F(MousePreview, WaveColoursLightEachGroupAsTheCrestPasses) {
    const PreviewParams p{.brightness = 4, .colourful = 1};
    std::set<int> lit;
    for (int step = 0; step < 23; ++step) {
        PreviewWaveColours(preview_, state_, p);
        for (int g = 0; g < kLedGroupCount; ++g)
            if (Led(kLedGroups[g].leds[0]).brightness > 200) lit.insert(g);
    }
    EXPECT_EQ(lit.size(), static_cast<size_t>(kLedGroupCount));
    EXPECT_EQ(state_.colourOffset, 23);
}

TEST_F(MousePreview, AClickLightsEveryLedUpAndItFadesAgain) {
    const PreviewParams p{.brightness = 4, .colour = {255, 0, 0}};
    PreviewReactive(preview_, state_, p);
    EXPECT_EQ(Led(0).brightness, 0);  // nothing triggered: dark
    TriggerReactive(state_);
    PreviewReactive(preview_, state_, p);
    EXPECT_EQ(Led(7), (LedColour{255, 0, 0, 15}));
    for (int step = 1; step < 17; ++step) PreviewReactive(preview_, state_, p);
    EXPECT_EQ(Led(7).brightness, 255);
    for (int step = 0; step < 40; ++step) PreviewReactive(preview_, state_, p);
    for (int i = 0; i < kLedCount; ++i) EXPECT_EQ(Led(i).brightness, 0) << i;
}

}  // namespace
}  // namespace device::mouse
