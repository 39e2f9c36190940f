// The pad's and headset's own preview steps, run by hand on small LED rows.
#include "device/mouse_pad/pad_preview.h"

#include <gtest/gtest.h>

#include "device/headset/headset_preview.h"

namespace device {
namespace {

class PadPreview : public ::testing::Test {
  protected:
    void SetUp() override { preview_.SetLedCount(kPadLedCount); }
    LedColour Led(int i) const { return preview_.Led(i).value(); }

    LightingPreview preview_;
    PadPreviewState state_;
};

TEST_F(PadPreview, WaveWalksTheColourWheelSevenPlacesPerLed) {
    struct Case {
        const char* what;
        uint8_t direction;
        int runs;
        int base;  // after the runs
    };
    constexpr Case kCases[] = {
        {"forwards", 0, 3, 3},
        {"backwards from 0 wraps to the wheel's end", 1, 2, 190},
    };
    for (const Case& c : kCases) {
        PadPreviewState state;
        PreviewParams p{.brightness = 4, .direction = c.direction, .colourful = 1};
        for (int i = 0; i < c.runs; ++i) PadStepA(preview_, state, p);
        EXPECT_EQ(state.base, c.base) << c.what;
        for (int i : {0, 1, 14}) {
            const Rgb w = kColourWheel[(c.base + 1 + 7 * i) % kColourWheelSize];
            EXPECT_EQ(Led(i), (LedColour{w.red, w.green, w.blue, 255})) << c.what << " LED " << i;
        }
    }
}

TEST_F(PadPreview, SingleColourWaveBreathesAlongTheLeds) {
    PreviewParams p{.brightness = 4, .colour = {10, 20, 30}};
    state_.base = 94;
    PadStepA(preview_, state_, p);  // base 95: LED 0 at 96 wraps to curve entry 0
    EXPECT_EQ(Led(0), (LedColour{10, 20, 30, 0}));
    EXPECT_EQ(Led(1),
              (LedColour{10, 20, 30, static_cast<uint8_t>(kBreathingCurve[7] * 255 / 256)}));
    EXPECT_EQ(Led(9),
              (LedColour{10, 20, 30, static_cast<uint8_t>(kBreathingCurve[63] * 255 / 256)}));
}

TEST_F(PadPreview, NarrowRippleStaysInItsSevenLedsAndItsRingOfEight) {
    PreviewParams p{.brightness = 4, .direction = 0, .colour = {255, 0, 0}};
    // A lit LED has just been marked: one fade below full.
    auto litNow = [&](int i) { return Led(i).brightness >= 200; };
    // First run: a crest is seeded at 0, LED 0 lit, the ring turned against direction 0.
    PadStepB(preview_, state_, p);
    EXPECT_EQ(preview_.waveRing()[1], 1);
    EXPECT_EQ(preview_.waveRing()[0], 0);
    EXPECT_TRUE(litNow(0));
    // Runs 2..16: the ring turns on every second run only, so the crest lights LEDs 1..6 (and
    // place 7, which has no LED of the ripple) and after eight turns is back at place 0.
    int lit[kPadLedCount] = {1};
    for (int run = 2; run <= 16; ++run) {
        PadStepB(preview_, state_, p);
        for (int i = 1; i < kPadLedCount; ++i)
            if (litNow(i)) ++lit[i];
    }
    EXPECT_EQ(state_.runs, 16);
    EXPECT_EQ(preview_.waveRing()[0], 1);
    for (int i = 0; i < kNarrowRippleLeds; ++i) EXPECT_EQ(lit[i], 1) << i;
    for (int i = kNarrowRippleLeds; i < kPadLedCount; ++i)
        EXPECT_EQ(Led(i), LedColour{}) << "LED " << i << " is not the narrow ripple's";
    for (int i = kNarrowRippleRing; i < kWaveRingSize; ++i) EXPECT_EQ(preview_.waveRing()[i], 0);
}

TEST_F(PadPreview, WideRippleTurnsWithTheDirectionOverEveryLed) {
    PreviewParams p{.brightness = 4, .direction = 1, .colourful = 1};
    PadStepC(preview_, state_, p);
    EXPECT_EQ(preview_.waveRing()[1], 1) << "turned with direction 1: away from 0";
    PreviewParams left = p;
    left.direction = 0;
    LightingPreview other;
    other.SetLedCount(kPadLedCount);
    PadPreviewState s;
    PadStepC(other, s, left);
    EXPECT_EQ(other.waveRing()[kWaveRingSize - 1], 1) << "direction 0: towards 0, wrapping";

    // Colours: twelve wheel places from one LED to the next.
    for (int i = 0; i + 1 < kPadLedCount; ++i) {
        const Rgb a = kColourWheel[(preview_.colourPosition() + 12 * i) % kColourWheelSize];
        EXPECT_EQ(Led(i).red, a.red) << i;
        EXPECT_EQ(Led(i).green, a.green) << i;
    }
    // Between marks the lit LED fades.
    const uint8_t marked = Led(0).brightness;
    PadStepC(preview_, state_, p);
    EXPECT_LT(Led(0).brightness, marked);
}

TEST_F(PadPreview, StepsKeepToTheLedsThePageHas) {
    preview_.SetLedCount(3);
    PreviewParams p{.brightness = 4, .colourful = 1};
    for (int run = 0; run < 4; ++run) {
        PadStepA(preview_, state_, p);
        PadStepB(preview_, state_, p);
        PadStepC(preview_, state_, p);
    }
    EXPECT_FALSE(preview_.Led(3));
    preview_.SetLedCount(0);
    PadStepA(preview_, state_, p);
    PadStepB(preview_, state_, p);
    PadStepC(preview_, state_, p);
}

TEST(HeadsetPreview, RunsThePadsStepsOverTheHeadsetsLeds) {
    LightingPreview pad, headset;
    pad.SetLedCount(13);
    headset.SetLedCount(13);
    PadPreviewState a, b;
    PreviewParams p{.brightness = 3, .direction = 1, .colourful = 1};
    for (int run = 0; run < 5; ++run) {
        PadStepC(pad, a, p);
        HeadsetStepC(headset, b, p);
        PadStepA(pad, a, p);
        HeadsetStepA(headset, b, p);
        PadStepB(pad, a, p);
        HeadsetStepB(headset, b, p);
    }
    for (int i = 0; i < 13; ++i) EXPECT_EQ(pad.Led(i), headset.Led(i)) << i;
}

}  // namespace
}  // namespace device
