// The keyboard's preview steps on the page's LED list: a few ticks of each mode and the property
// that matters for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "device/keyboard/keyboard_preview.h"

namespace device::keyboard {
namespace {

class KeyboardPreviewSteps : public ::testing::Test {
  protected:
    void SetUp() override {
        leds_.SetLedCount(kProgramKeyCount);
        preview_.Seed(7);
    }
    PreviewParams Params(uint8_t colourful, uint8_t direction = 0) const {
        PreviewParams p;
        p.brightness = 4;
        p.speed = 2;
        p.direction = direction;
        p.colourful = colourful;
        p.colour = {10, 200, 30};
        return p;
    }
    void Run(int mode, const PreviewParams& p, int ticks, uint8_t extra = 0) {
        for (int i = 0; i < ticks; ++i) {
            ASSERT_TRUE(preview_.Step(mode, p, extra, now_));
            now_ += 8;
        }
    }
    LedColour Led(int key) const { return leds_.Led(key).value_or(LedColour{}); }
    Rgb ColourOf(int key) const {
        const LedColour c = Led(key);
        return {c.red, c.green, c.blue};
    }

    LightingPreview leds_;
    KeyboardPreview preview_{leds_};
    int64_t now_ = 0;
};

// The layout tables are generated from the same geometry as the keyboard page; a page written
// from a changed geometry without the tables written again would animate keys where there are
// none.
TEST(KeyboardLayout, KeyCentresAreThoseOfThePagesButtons) {
    std::ifstream in(std::string(BRASVIK_SOURCE_DIR) +
                     "/data/skin/XML/DeviceXml/keyboarddevice_7322.xml");
    ASSERT_TRUE(in.good());
    std::stringstream text;
    text << in.rdbuf();
    const std::string page = text.str();
    std::array<bool, kProgramKeyCount> seen{};
    const std::regex button(R"re(<DeviceKeyButton name="key_(\d+)"([^>]*)>)re");
    const std::regex pos(R"re(pos="(-?\d+),(-?\d+),(-?\d+),(-?\d+)")re");
    for (auto it = std::sregex_iterator(page.begin(), page.end(), button);
         it != std::sregex_iterator(); ++it) {
        const int key = std::stoi((*it)[1]);
        ASSERT_LT(key, kProgramKeyCount);
        SCOPED_TRACE(key);
        seen[key] = true;
        const std::string attributes = (*it)[2];
        std::smatch m;
        if (attributes.find(R"(visible="false")") != std::string::npos ||
            !std::regex_search(attributes, m, pos)) {
            EXPECT_EQ(kKeyCentres[key].x, -1);
            continue;
        }
        EXPECT_EQ(kKeyCentres[key].x, (std::stoi(m[1]) + std::stoi(m[3])) / 2);
        EXPECT_EQ(kKeyCentres[key].y, (std::stoi(m[2]) + std::stoi(m[4])) / 2);
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), kProgramKeyCount);
    // Every key on the board is in the order, the matrix and a ring exactly once.
    for (uint8_t k : kKeyOrder) {
        SCOPED_TRACE(k);
        EXPECT_GE(kKeyCentres[k].x, 0);
        int inMatrix = 0, inRings = 0;
        for (const auto& row : kKeyMatrix)
            inMatrix += static_cast<int>(std::count(row.begin(), row.end(), k));
        for (const auto& ring : kRings)
            inRings += static_cast<int>(std::count(ring.begin(), ring.end(), k));
        EXPECT_EQ(inMatrix, 1);
        EXPECT_EQ(inRings, 1);
    }
}

constexpr int kEsc = 0;
constexpr int kSpace = kShowRippleKey;

TEST_F(KeyboardPreviewSteps, EveryModeRunsAndLightsOnlyKeysOfTheBoard) {
    for (int mode = 0; mode <= 40; ++mode) {
        SCOPED_TRACE(mode);
        preview_.SetUp(mode);
        leds_.Off();
        const bool has = KeyboardPreview::HasStep(mode);
        for (int colourful = 0; colourful <= 1; ++colourful)
            for (int i = 0; i < 300; ++i)
                EXPECT_EQ(
                    preview_.Step(mode, Params(static_cast<uint8_t>(colourful)), 1, now_ += 8),
                    has);
        // Keys without a place on the board stay dark, except where a mode fills the whole list.
        if (mode != 3 && mode != 4 && mode != 5 && mode != 15 && mode != 18 && mode != 21 &&
            mode != 23 && mode != 26 && mode != 27 && mode != 30) {
            EXPECT_EQ(Led(150), LedColour{});
        }
    }
    EXPECT_FALSE(KeyboardPreview::HasStep(0));
    EXPECT_FALSE(KeyboardPreview::HasStep(22));
    EXPECT_FALSE(KeyboardPreview::HasStep(31));
}

TEST_F(KeyboardPreviewSteps, RingWaveExpandsFromTheCentre) {
    const PreviewParams p = Params(1);
    Run(16, p, 1);
    const Rgb innerBefore = ColourOf(kRings[0][0]);
    Run(16, p, 7);
    // What the innermost ring showed, the next ring shows 7 ticks later.
    EXPECT_EQ(ColourOf(kRings[1][0]), innerBefore);
    EXPECT_EQ(ColourOf(kRings[1][0]), ColourOf(kRings[1][5]));  // a ring is one colour
    EXPECT_NE(ColourOf(kRings[0][0]), innerBefore);
}

TEST_F(KeyboardPreviewSteps, WavesMoveWithTheDirection) {
    struct Row {
        int mode;
        int spacing;
    };
    constexpr Row kRows[] = {{1, 7}, {20, 2}};
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.mode);
        for (uint8_t direction = 0; direction <= 1; ++direction) {
            preview_.SetUp(row.mode);
            const PreviewParams p = Params(1, direction);
            Run(row.mode, p, 1);
            // Row 2 has a key in every column from 2 to 22. Direction 0 moves the pattern one
            // column left every `spacing` ticks, direction 1 one column right.
            const int from = direction == 0 ? 11 : 9;
            const Rgb before = ColourOf(kKeyMatrix[2][from]);
            Run(row.mode, p, row.spacing);
            EXPECT_EQ(ColourOf(kKeyMatrix[2][10]), before);
            EXPECT_NE(ColourOf(kKeyMatrix[2][from]), before);
        }
    }
}

TEST_F(KeyboardPreviewSteps, ReactiveKeysRiseThenFade) {
    for (int mode : {6, 25}) {
        SCOPED_TRACE(mode);
        preview_.SetUp(mode);
        const PreviewParams p = Params(0);
        preview_.PushKeyEvent(kEsc, 1);
        Run(mode, p, 1);
        EXPECT_EQ(preview_.keyState(kEsc), 1);
        EXPECT_EQ(leds_.level(kEsc), 15);
        Run(mode, p, 16);  // 17 x 15 = 255
        EXPECT_EQ(leds_.level(kEsc), 255);
        EXPECT_EQ(preview_.keyState(kEsc), 2);
        Run(mode, p, 10);
        EXPECT_EQ(leds_.level(kEsc), 205);
        EXPECT_EQ(Led(1).brightness, 0);  // untouched keys stay dark
        Run(mode, p, 41);
        EXPECT_EQ(leds_.level(kEsc), 0);
        EXPECT_EQ(preview_.keyState(kEsc), 0);
    }
}

TEST_F(KeyboardPreviewSteps, KeyEventsOutsideTheReactiveModesAndBadKeysAreDropped) {
    preview_.SetUp(9);
    preview_.PushKeyEvent(kEsc, 1);
    preview_.PushKeyEvent(170, 1);
    preview_.PushKeyEvent(-1, 1);
    preview_.PushKeyEvent(5, 3);
    Run(9, Params(1), 1);
    // Switching to a reactive mode later does not replay the old press.
    preview_.SetUp(6);
    Run(6, Params(1), 1);
    EXPECT_EQ(preview_.keyState(kEsc), 0);

    KeyboardKeyMaps maps;
    maps.keyToDevice[kEsc] = 3;
    preview_.PushDeviceKeyEvent(maps, 0x20, 1);  // no program key at device key 0x20
    Run(6, Params(1), 1);
    EXPECT_EQ(std::count_if(kKeyOrder.begin(), kKeyOrder.end(),
                            [&](uint8_t k) { return preview_.keyState(k) != 0; }),
              0);
    preview_.PushDeviceKeyEvent(maps, 3, 1);
    Run(6, Params(1), 1);
    EXPECT_EQ(preview_.keyState(kEsc), 1);
}

// A key about this far from the space bar's centre, in page pixels.
int KeyAtDistance(int pixels) {
    const KeyCentre o = kKeyCentres[kSpace];
    for (uint8_t k : kKeyOrder) {
        const double d = std::hypot(kKeyCentres[k].x - o.x, kKeyCentres[k].y - o.y);
        if (std::abs(d - pixels) < 10) return k;
    }
    return -1;
}

TEST_F(KeyboardPreviewSteps, RipplesSpreadOutwardsAndFade) {
    const int near = KeyAtDistance(100);
    const int far = KeyAtDistance(300);
    ASSERT_GE(near, 0);
    ASSERT_GE(far, 0);
    for (int mode : {7, 8}) {
        SCOPED_TRACE(mode);
        preview_.SetUp(mode);
        const PreviewParams p = Params(1);
        preview_.PushKeyEvent(kSpace, 1);
        Run(mode, p, 1);
        EXPECT_EQ(preview_.activeRipples(), 1);
        EXPECT_GT(Led(kSpace).brightness, 0);
        // The front reaches the nearer key first; each key lights as it passes and fades after.
        int nearLit = -1, farLit = -1;
        for (int tick = 2; tick < 250; ++tick) {
            Run(mode, p, 1);
            if (nearLit < 0 && Led(near).brightness > 0) nearLit = tick;
            if (farLit < 0 && Led(far).brightness > 0) farLit = tick;
        }
        EXPECT_GT(nearLit, 0);
        EXPECT_GT(farLit, nearLit);
        EXPECT_EQ(preview_.activeRipples(), 0);
        EXPECT_EQ(leds_.level(kSpace), 0);
        EXPECT_EQ(leds_.level(far), 0);
    }
}

TEST_F(KeyboardPreviewSteps, ScriptedAndEdgeRipplesStartOnTheirOwn) {
    for (int mode : {11, 14}) {
        SCOPED_TRACE(mode);
        preview_.SetUp(mode);
        Run(mode, Params(1), 1);
        EXPECT_EQ(preview_.activeRipples(), 1);
        const int first = mode == 11 ? kRippleScript[0] : kEdgeKeys[0];
        EXPECT_GT(Led(first).brightness, 0);
        Run(mode, Params(1), KeyboardPreview::kScriptInterval);
        EXPECT_EQ(preview_.activeRipples(), 2);
    }
}

TEST_F(KeyboardPreviewSteps, TwinklesFollowThePulseAndRestartWithANewColour) {
    preview_.SetUp(13);
    const PreviewParams p = Params(1);
    int changed = 0;
    uint8_t before[kProgramKeyCount];
    for (int k = 0; k < kProgramKeyCount; ++k) before[k] = preview_.keyColourPosition(k);
    Run(13, p, 96);  // counters moved by 192: every key restarted once
    for (uint8_t k : kKeyOrder) changed += preview_.keyColourPosition(k) != before[k];
    EXPECT_GT(changed, static_cast<int>(kKeyOrder.size()) / 2);
}

TEST_F(KeyboardPreviewSteps, FixedColourByTheExtraValue) {
    struct Row {
        uint8_t extra;
        int position;
    };
    constexpr Row kRows[] = {{1, 25}, {2, 70}, {3, 95}, {0, 174}, {9, 174}};
    for (const Row& row : kRows) {
        Run(15, Params(0), 1, row.extra);
        EXPECT_EQ(ColourOf(kEsc), kColourWheel[row.position]);
    }
}

TEST_F(KeyboardPreviewSteps, ARequestedSetUpRunsBeforeTheNextTick) {
    preview_.SetUp(6);
    preview_.PushKeyEvent(kEsc, 1);
    Run(6, Params(0), 3);
    EXPECT_EQ(leds_.level(kEsc), 45);
    preview_.RequestSetUp(6);
    Run(6, Params(0), 1);
    EXPECT_EQ(leds_.level(kEsc), 0);
    EXPECT_EQ(preview_.keyState(kEsc), 0);
}

TEST_F(KeyboardPreviewSteps, CustomMapKeepsColoursAndSetsBrightness) {
    leds_.SetLed(kEsc, {1, 2, 3, 9});
    PreviewParams p = Params(0);
    p.brightness = 2;
    Run(18, p, 1);
    EXPECT_EQ(Led(kEsc), (LedColour{1, 2, 3, kBrightnessTable[2]}));
}

TEST_F(KeyboardPreviewSteps, MovingBarsLightTwelveKeysAndFall) {
    preview_.SetUp(24);
    Run(24, Params(1), 20);
    const int bar = preview_.position();
    for (uint8_t k : kBars[bar]) {
        if (k != kNoKey) {
            EXPECT_EQ(leds_.level(k), 255);
        }
    }
    for (uint8_t k : kBars[bar - 1]) {
        if (k != kNoKey && std::find(kBars[bar].begin(), kBars[bar].end(), k) == kBars[bar].end()) {
            EXPECT_EQ(leds_.level(k), 250);
        }
    }
}

TEST_F(KeyboardPreviewSteps, AudioModesFollowTheFeeds) {
    // The level bar (visualisation 2) rises from the bottom row.
    preview_.SetAudioVisualisation(2);
    preview_.SetAudioBarHeight(0);
    Run(29, Params(1), 1);
    EXPECT_EQ(Led(kSpace).brightness, 0);
    preview_.SetAudioBarHeight(25);
    Run(29, Params(1), 1);
    EXPECT_EQ(Led(kSpace).brightness, 255 * 255 / 256);
    EXPECT_GT(Led(kEsc).brightness, 0);

    preview_.SetAudioBarHeight(5);  // one row of six
    Run(29, Params(1), 1);
    EXPECT_GT(Led(kSpace).brightness, 0);
    EXPECT_EQ(Led(kEsc).brightness, 0);

    // Band by band (visualisation 0): only the columns of a loud band light.
    preview_.SetAudioVisualisation(0);
    const uint8_t loudFirst[] = {255, 0, 0, 0, 0, 0};
    preview_.FeedAudioBands(loudFirst);
    Run(29, Params(1), 1);
    EXPECT_GT(Led(kKeyMatrix[2][2]).brightness, 0);
    EXPECT_EQ(Led(kKeyMatrix[2][20]).brightness, 0);

    const uint8_t bands[] = {12, 34, 56, 1, 2, 3, 4, 5};  // the last two are beyond the six
    preview_.FeedAudioBands(bands);
    Run(30, Params(0), 1);
    EXPECT_EQ(ColourOf(kEsc), (Rgb{12, 34, 56}));
}

TEST_F(KeyboardPreviewSteps, ShowRunsItsPhasesAndStartsAgain) {
    preview_.SetUp(33);
    const PreviewParams p = Params(1);
    int seen = 0;
    int phases = 0;
    for (int i = 0; i < 2000 && phases < 5; ++i) {
        Run(33, p, 1);
        if (preview_.showPhase() != seen) {
            ++phases;
            seen = preview_.showPhase();
        }
    }
    EXPECT_GE(phases, 4);  // 0 -> 1 -> 2 -> 3 -> 0
}

// Key events, set-up requests and audio feeds come from the UI thread while the preview thread
// steps.
TEST_F(KeyboardPreviewSteps, KeyEventsFromAnotherThread) {
    preview_.SetUp(7);
    std::thread ui([&] {
        for (int i = 0; i < 2000; ++i) {
            preview_.PushKeyEvent(kKeyOrder[i % kKeyOrder.size()], 1);
            if (i % 100 == 0) preview_.RequestSetUp(7);
            preview_.SetAudioBarHeight(i % 26);
            leds_.SetLed(kEsc, {1, 2, 3, 4});
        }
    });
    for (int i = 0; i < 500; ++i) preview_.Step(7, Params(1), 0, i);
    ui.join();
    // The queue still takes events once the burst is over.
    preview_.PushKeyEvent(kSpace, 1);
    preview_.Step(7, Params(1), 0, 501);
    EXPECT_GT(preview_.activeRipples(), 0);
}

}  // namespace
}  // namespace device::keyboard
