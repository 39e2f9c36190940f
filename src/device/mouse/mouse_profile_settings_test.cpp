#include "device/mouse/mouse_profile_settings.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "os/folders.h"
#include "os/testing/temp_user_folders.h"
#include "sim/firmware.h"

namespace device::mouse {
namespace {

using profile::LightingRecord;

constexpr std::array<int, 12> kIdentityCodes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

class MouseProfileSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = os::UserDataFolder() + "mouse/";
        os::CreateDirectories(folder_);
        Load(doc_);
    }
    void Load(profile::CMouseProfiledata& doc) {
        doc.SetDefaultPath(std::string(BRASVIK_BINARY_DIR) + "/DefaultData/mouse.Json");
        doc.SetProfilePath(folder_ + "p.Json");
        doc.LoadSection(folder_ + "p.Json");
    }
    os::testing::TempUserFolders home_;
    std::string folder_;
    profile::CMouseProfiledata doc_;
};

TEST_F(MouseProfileSettings, TheShippedProfileMakesAValidBlock) {
    std::vector<std::string> notes;
    const SettingsBlock b = EncodeSettingsBlock(SettingsFromProfile(doc_), kIdentityCodes, &notes);
    EXPECT_TRUE(notes.empty());
    struct Byte {
        size_t at;
        uint8_t value;
    };
    constexpr Byte kBytes[] = {
        {block::kLightMode, 2},
        {block::kBrightness, 4},
        {block::kSpeed, 2},
        {block::kColourful, 1},
        {block::kRed, 255},
        {block::kReportRate, 0},
        {block::kActiveStage, 1},
        {block::kFirstStage + 0, 1},  // stage 0 on, X and Y 4 in both bytes
        {block::kFirstStage + 2, 4},
        {block::kFirstStage + 3, 4},
        {block::kFirstStage + 4, 4},
        {block::kFirstStage + 5, 4},
        {block::kFirstStage + 6, 255},
        {block::kFirstStage + 6 * 9, 0},  // stage 6 off, position 47
        {block::kFirstStage + 6 * 9 + 2, 47},
        {block::kBleSleep1, 2},
        {block::kBleSleep2, 10},
        {block::kDeviceSleep1, 2},
        {block::kDeviceSleep2, 10},
        {block::kAntiShake, 4},
        {block::kLogoLedMode, 0},
    };
    for (const Byte& x : kBytes) EXPECT_EQ(b[x.at], x.value) << "byte " << x.at;
}

TEST_F(MouseProfileSettings, AReadChangesTheDeviceValuesAndKeepsTheStagesAndPointerValues) {
    const MouseSettings before = SettingsFromProfile(doc_);
    const sim::Firmware mouse(sim::Kind::kMouse);
    const std::vector<uint8_t> memory = mouse.ReadArea(sim::Area::kSettings);
    SettingsBlock b{};
    std::copy_n(memory.begin(), kSettingsBlockSize, b.begin());
    const MouseSettings read = DecodeSettingsBlock(b, kIdentityCodes, before);
    ApplyReadToProfile(doc_, read);
    ASSERT_TRUE(doc_.Save());

    profile::CMouseProfiledata again;
    Load(again);
    const MouseSettings after = SettingsFromProfile(again);
    EXPECT_EQ(after.stages, before.stages);
    EXPECT_EQ(after.activeStage, 1);
    EXPECT_EQ(after.lighting[LightingRecord::kMode], 1);
    EXPECT_EQ(after.lighting[LightingRecord::kGreen], 255);
    EXPECT_EQ(after.lighting[LightingRecord::kOldMode], before.lighting[LightingRecord::kOldMode]);
    profile::MouseSystemSettings want = before.system;
    want.reportStage = 3;
    want.bleSleep1 = 10;
    want.bleSleep2 = 30;
    want.deviceSleep1 = 10;
    want.deviceSleep2 = 30;
    want.antiShakeTime = 4;
    want.logoLedMode = 0;
    EXPECT_EQ(after.system, want);
}

TEST(MousePageRules, OptionsAndTheLastEnabledStage) {
    for (int stage : {-1, 0, 3, 4, 5, 300})
        EXPECT_EQ(ReportRateOption(stage), stage >= 0 && stage <= 4 ? stage : 0) << stage;

    using profile::DpiStage;
    const DpiStage on{.enabled = 1}, off{};
    EXPECT_EQ(SoleEnabledStage({on, off, off}), 0);
    EXPECT_EQ(SoleEnabledStage({off, off, on}), 2);
    EXPECT_EQ(SoleEnabledStage({on, on}), -1);
    EXPECT_EQ(SoleEnabledStage({off, off}), -1);
    // Stages beyond the mouse's seven do not count.
    EXPECT_EQ(SoleEnabledStage({off, on, off, off, off, off, off, on}), 1);

    profile::MouseSystemSettings s{.scrollPage = 1};
    SetPointerSlider(s, PointerSlider::kDoubleClick, 400);
    SetPointerSlider(s, PointerSlider::kPointerSpeed, 12);
    EXPECT_EQ(s.scrollPage, 1);
    SetPointerSlider(s, PointerSlider::kScrollSpeed, 5);
    EXPECT_EQ(
        s, (profile::MouseSystemSettings{
               .doubleClickTime = 400, .mouseSpeed = 12, .scrollPage = 0, .wheelScrollLines = 5}));
}

}  // namespace
}  // namespace device::mouse
