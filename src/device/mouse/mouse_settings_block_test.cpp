#include "device/mouse/mouse_settings_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "device/testing/simulated_channel.h"
#include "sim/firmware.h"

namespace device::mouse {
namespace {

using profile::DpiStage;
using profile::LightingRecord;

// A light mode list whose codes differ from their indices.
constexpr std::array<int, 12> kModeCodes = {1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11};

MouseSettings Sample() {
    MouseSettings s;
    s.lighting[LightingRecord::kMode] = 3;
    s.lighting[LightingRecord::kBrightness] = 2;
    s.lighting[LightingRecord::kSpeed] = 1;
    s.lighting[LightingRecord::kDirection] = 1;
    s.lighting[LightingRecord::kColourful] = 1;
    s.lighting[LightingRecord::kRed] = 0x11;
    s.lighting[LightingRecord::kGreen] = 0x22;
    s.lighting[LightingRecord::kBlue] = 0x33;
    s.system = {.doubleClickTime = 500,
                .mouseSpeed = 10,
                .pointerPrecision = 1,
                .scrollPage = 0,
                .wheelScrollLines = 3,
                .reportStage = 2,
                .bleSleep1 = 5,
                .bleSleep2 = 6,
                .deviceSleep1 = 7,
                .deviceSleep2 = 8,
                .logoLedMode = 2,
                .antiShakeTime = 9};
    s.activeStage = 1;
    s.stages = {{1, 0, 0x0A0A, 0x000A, 0xFF, 0x00, 0x00}, {1, 1, 0x0020, 0x0130, 0x00, 0xFF, 0x00}};
    return s;
}

// The block of Sample(), byte by byte.
// clang-format off
constexpr std::array<uint8_t, kSettingsBlockSize> kSampleBlock = {
    0x00,                    // 0: active value given by the writer
    0x04,                    // 1: light mode index 3 sent as its code
    0x02,                    // 2: brightness
    0x03,                    // 3: 4 minus speed 1
    0x01,                    // 4: direction
    0x01,                    // 5: colourful
    0x11, 0x22, 0x33,        // 6..8: red, green, blue
    0x00, 0x00,              // 9, 10
    0x01,                    // 11: 3 minus report stage 2
    0x01,                    // 12: active DPI stage
    0x00,                    // 13
    0x01, 0x00, 0x0A, 0x0A,  // stage 0: enabled, one value, X 0x0A0A
    0x0A, 0x00,              //          Y 10
    0xFF, 0x00, 0x00,        //          red
    0x01, 0x01, 0x20, 0x00,  // stage 1: enabled, X and Y apart, X 0x20
    0x30, 0x01,              //          Y 0x130
    0x00, 0xFF, 0x00,        //          green
    0, 0, 0, 0, 0, 0, 0, 0, 0,  // stage 2: not in the profile
    0, 0, 0, 0, 0, 0, 0, 0, 0,  // stage 3
    0, 0, 0, 0, 0, 0, 0, 0, 0,  // stage 4
    0, 0, 0, 0, 0, 0, 0, 0, 0,  // stage 5
    0, 0, 0, 0, 0, 0, 0, 0, 0,  // stage 6
    0x05, 0x06,              // 77, 78: wireless sleep 1 and 2
    0x07, 0x08,              // 79, 80: device sleep 1 and 2
    0x09,                    // 81: debounce
    0x00, 0x00, 0x00, 0x00,  // 82..85
    0x02,                    // 86: logo LED mode
};
// clang-format on

TEST(MouseSettingsBlock, EveryFieldHasItsPlace) {
    std::vector<std::string> notes;
    const SettingsBlock b = EncodeSettingsBlock(Sample(), kModeCodes, &notes);
    EXPECT_EQ(b, kSampleBlock);
    EXPECT_TRUE(notes.empty());

    // Read back: the block's values, the rest as the model had them; every stage of the block.
    MouseSettings current = Sample();
    current.lighting[LightingRecord::kDirection] = 0;  // the mouse does not report it
    current.lighting[LightingRecord::kLightPage] = 7;
    const MouseSettings back = DecodeSettingsBlock(kSampleBlock, kModeCodes, current, &notes);
    MouseSettings want = Sample();
    want.lighting[LightingRecord::kDirection] = 0;
    want.lighting[LightingRecord::kLightPage] = 7;
    want.stages.resize(kDpiStageCount);
    EXPECT_EQ(back, want);
    EXPECT_TRUE(notes.empty());
}

TEST(MouseSettingsBlock, LightModesTravelAsTheListsCodes) {
    struct Case {
        int index;
        uint8_t code;
    };
    // An index above 11, or one the list does not reach, goes out as index 0's code.
    constexpr Case kOut[] = {{0, 1}, {6, 0}, {11, 11}, {12, 1}, {200, 1}};
    for (const Case& c : kOut) EXPECT_EQ(LightModeCode(kModeCodes, c.index), c.code) << c.index;
    constexpr std::array<int, 3> kShortList = {5, 6, 7};
    EXPECT_EQ(LightModeCode(kShortList, 4), 5);
    EXPECT_EQ(LightModeCode({}, 4), 4);

    // A code the list does not hold stays the raw index.
    constexpr Case kIn[] = {{0, 1}, {6, 0}, {11, 11}, {0x40, 0x40}};
    for (const Case& c : kIn) EXPECT_EQ(LightModeIndex(kModeCodes, c.code), c.index) << c.index;

    MouseSettings s = Sample();
    s.lighting[LightingRecord::kMode] = 12;
    std::vector<std::string> notes;
    EXPECT_EQ(EncodeSettingsBlock(s, kModeCodes, &notes)[block::kLightMode], kModeCodes[0]);
    EXPECT_EQ(notes.size(), 1u);
}

TEST(MouseSettingsBlock, ListValuesOutOfRangeAreBroughtInAndLogged) {
    struct Case {
        const char* what;
        size_t byte;
        uint8_t value;
        int (*field)(const MouseSettings&);
        int read;
    };
    const auto brightness = [](const MouseSettings& s) {
        return int{s.lighting[LightingRecord::kBrightness]};
    };
    const auto speed = [](const MouseSettings& s) {
        return int{s.lighting[LightingRecord::kSpeed]};
    };
    const auto report = [](const MouseSettings& s) { return int{s.system.reportStage}; };
    const auto stage = [](const MouseSettings& s) { return s.activeStage; };
    const Case kCases[] = {
        {"brightness above 4", block::kBrightness, 9, brightness, 4},
        {"speed byte above 4", block::kSpeed, 7, speed, 0},
        {"report stage 4 (0xFF)", block::kReportRate, 0xFF, report, 4},
        {"report stage 0", block::kReportRate, 3, report, 0},
        {"report stage -1", block::kReportRate, 4, report, 0},
        {"report stage far off", block::kReportRate, 0x80, report, 0},
        {"active stage 9", block::kActiveStage, 9, stage, 0},
    };
    for (const Case& c : kCases) {
        SettingsBlock b = kSampleBlock;
        b[c.byte] = c.value;
        std::vector<std::string> notes;
        const MouseSettings s = DecodeSettingsBlock(b, kModeCodes, Sample(), &notes);
        EXPECT_EQ(c.field(s), c.read) << c.what;
        const bool inRange = c.value == 0xFF || c.value == 3;
        EXPECT_EQ(notes.empty(), inRange) << c.what;
    }

    // On the way out as well: nothing wraps into another value.
    MouseSettings s = Sample();
    s.lighting[LightingRecord::kBrightness] = 7;
    s.lighting[LightingRecord::kSpeed] = 6;
    s.system.reportStage = 5;
    s.activeStage = 7;
    s.system.bleSleep1 = 300;
    s.stages.resize(9);
    std::vector<std::string> notes;
    const SettingsBlock b = EncodeSettingsBlock(s, kModeCodes, &notes);
    EXPECT_EQ(b[block::kBrightness], 4);
    EXPECT_EQ(b[block::kSpeed], 0);
    EXPECT_EQ(b[block::kReportRate], 3);
    EXPECT_EQ(b[block::kActiveStage], 0);
    EXPECT_EQ(b[block::kBleSleep1], 255);
    EXPECT_EQ(notes.size(), 6u);
    s.system.reportStage = 4;
    EXPECT_EQ(EncodeSettingsBlock(s, kModeCodes)[block::kReportRate], 0xFF);
}

TEST(MouseSettingsBlock, ASliderSetsBothBytesOfItsStagesX) {
    std::vector<DpiStage> stages = {{1, 1, 0x0203, 0x0405, 9, 8, 7}};
    ASSERT_TRUE(SetStageFromSlider(stages, 0, 10));
    EXPECT_EQ(stages[0], (DpiStage{1, 1, 2570, 0x0405, 9, 8, 7}));
    EXPECT_EQ(StageSliderPosition(stages[0]), 10);
    MouseSettings s = Sample();
    s.stages = stages;
    const SettingsBlock b = EncodeSettingsBlock(s, kModeCodes);
    EXPECT_EQ(b[block::kFirstStage + 2], 10);
    EXPECT_EQ(b[block::kFirstStage + 3], 10);

    // A stage beyond the list grows it with zero stages; positions beyond the slider are cut.
    ASSERT_TRUE(SetStageFromSlider(stages, 3, 200));
    ASSERT_EQ(stages.size(), 4u);
    EXPECT_EQ(stages[1], DpiStage{});
    EXPECT_EQ(stages[3].dpiX, 127 * 257);
    EXPECT_FALSE(SetStageFromSlider(stages, 7, 10));
    EXPECT_FALSE(SetStageFromSlider(stages, -1, 10));
    EXPECT_EQ(stages.size(), 4u);
    // The page shows the low byte, within the slider's range.
    EXPECT_EQ(StageSliderPosition({0, 0, 0x01F0, 0, 0, 0, 0}), 127);
}

TEST(MouseSettingsBlock, ProfilesSitEvery128Bytes) {
    EXPECT_EQ(ProfileBlockAddress(0), 0);
    EXPECT_EQ(ProfileBlockAddress(15), 1920);
    EXPECT_EQ(ProfileBlockAddress(16), std::nullopt);
    EXPECT_EQ(ProfileBlockAddress(-1), std::nullopt);
    EXPECT_EQ(SleepMinutes({.deviceSleep1 = 30, .deviceSleep2 = 10}), 10);
}

// Against the simulated mouse, on its cable and behind the receiver.
using MouseBlockOnTheBus = device::testing::SimulatedMouse;

TEST_P(MouseBlockOnTheBus, TheFactoryBlockReadsAsTheMouseKeepsIt) {
    SettingsBlock b{};
    ASSERT_EQ(ch_.ReadSettings(b.data(), kSettingsBlockSize, *ProfileBlockAddress(0)), kResultOk);
    constexpr std::array<int, 2> kCodes = {0, 1};
    std::vector<std::string> notes;
    const MouseSettings s = DecodeSettingsBlock(b, kCodes, MouseSettings{}, &notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(s.lighting[LightingRecord::kMode], 1);
    EXPECT_EQ(s.lighting[LightingRecord::kBrightness], 4);
    EXPECT_EQ(s.lighting[LightingRecord::kSpeed], 2);
    EXPECT_EQ(s.lighting[LightingRecord::kColourful], 1);
    EXPECT_EQ(s.system.reportStage, 3);
    EXPECT_EQ(s.activeStage, 1);
    EXPECT_EQ((std::array{s.system.bleSleep1, s.system.bleSleep2, s.system.deviceSleep1,
                          s.system.deviceSleep2, s.system.antiShakeTime}),
              (std::array<uint16_t, 5>{10, 30, 10, 30, 4}));
    // Seven stages, five of them on: 400, 800, 1600, 3200, 6400, 9600, 12800 DPI.
    constexpr std::array<uint8_t, 7> kPositions = {3, 7, 15, 31, 63, 95, 127};
    ASSERT_EQ(s.stages.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(s.stages[i].enabled, i < 5 ? 1 : 0) << i;
        EXPECT_EQ(StageSliderPosition(s.stages[i]), kPositions[i]) << i;
    }
}

TEST_P(MouseBlockOnTheBus, AWrittenBlockLandsAtItsProfileAndReadsBackTheSame) {
    for (int profile : {0, 3}) {
        SCOPED_TRACE(profile);
        MouseSettings written = Sample();
        written.active = static_cast<uint8_t>(profile);
        SettingsBlock b = EncodeSettingsBlock(written, kModeCodes);
        const uint16_t address = *ProfileBlockAddress(profile);
        ASSERT_EQ(ch_.WriteSettings(b.data(), kSettingsBlockSize, address), kResultOk);

        const std::vector<uint8_t> memory = mouse_->ReadArea(sim::Area::kSettings);
        SettingsBlock expected = kSampleBlock;
        expected[block::kActive] = static_cast<uint8_t>(profile);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), memory.begin() + address));

        SettingsBlock read{};
        ASSERT_EQ(ch_.ReadSettings(read.data(), kSettingsBlockSize, address), kResultOk);
        const MouseSettings back = DecodeSettingsBlock(read, kModeCodes, written);
        MouseSettings want = written;
        want.stages.resize(kDpiStageCount);
        EXPECT_EQ(back, want);
    }
}

TEST_P(MouseBlockOnTheBus, AWriteTheMouseRefusesLeavesItsMemoryAsItWas) {
    const std::vector<uint8_t> before = mouse_->ReadArea(sim::Area::kSettings);
    mouse_->AddFault({.kind = sim::FaultKind::kRefuseWrites, .command = 0x06});
    const SettingsBlock b = EncodeSettingsBlock(Sample(), kModeCodes);
    EXPECT_EQ(ch_.WriteSettings(b.data(), kSettingsBlockSize, 0), ErrStatusFF);
    EXPECT_EQ(mouse_->ReadArea(sim::Area::kSettings), before);
}

INSTANTIATE_TEST_SUITE_P(CableAndReceiver, MouseBlockOnTheBus, ::testing::Bool(),
                         MouseBlockOnTheBus::PathName);

}  // namespace
}  // namespace device::mouse
