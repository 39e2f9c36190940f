#include "toolkit/controls/color_palette_ui.h"

#include <gtest/gtest.h>

#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<Window size="400,300"><VerticalLayout>
  <ColorPalette name="deng_Color_Pallet" width="200" height="120" palletheight="100" barheight="16"/>
</VerticalLayout></Window>)";

class ColorPaletteTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("ui.xml", kSkin);
        ASSERT_NE(Open("ui.xml"), nullptr);
        palette_ = driver().FindAs<CColorPaletteUI>("deng_Color_Pallet");
        ASSERT_NE(palette_, nullptr);
        window_->ClearNotifications();
    }
    CColorPaletteUI* palette_ = nullptr;
};

TEST_F(ColorPaletteTest, SetAndGetRoundTripWithoutNotifying) {
    for (uint32_t c : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF123456u, 0xFFFFFFFFu, 0xFF000000u,
                       0xFF808080u, 0xFFFFC0CBu}) {
        palette_->SetSelectColor(c);
        uint32_t got = palette_->GetSelectColor();
        for (int shift : {16, 8, 0}) {
            EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF),
                        static_cast<int>((c >> shift) & 0xFF), 3)
                << std::hex << c;
        }
    }
    EXPECT_TRUE(window_->Sequence().empty());
}

TEST_F(ColorPaletteTest, PressesInThePaletteAndTheBarChangeTheColour) {
    palette_->SetSelectColor(0xFFFF0000);
    UiRect pal = palette_->GetPaletteRect();
    // Top-right corner: full saturation and brightness of the hue.
    ASSERT_TRUE(driver().Click(UiPoint{pal.right - 1, pal.top}));
    EXPECT_EQ(palette_->GetSelectColor(), 0xFFFF0000u);
    // Bottom edge: black whatever the hue.
    ASSERT_TRUE(driver().Click(UiPoint{pal.left + 50, pal.bottom - 1}));
    EXPECT_EQ(palette_->GetSelectColor(), 0xFF000000u);
    ASSERT_TRUE(driver().Click(UiPoint{pal.right - 1, pal.top}));
    // A third of the way along the bar: green.
    UiRect bar = palette_->GetBarRect();
    ASSERT_TRUE(driver().Click(
        UiPoint{bar.left + (bar.GetWidth() * 120 + 359) / 360, (bar.top + bar.bottom) / 2}));
    EXPECT_EQ(palette_->GetHue(), 120);
    EXPECT_EQ(palette_->GetSelectColor(), 0xFF00FF00u);
    const auto& seq = window_->Notifications();
    ASSERT_EQ(seq.size(), 4u);
    EXPECT_EQ(seq.back().type, "colorchanged");
    EXPECT_EQ(seq.back().wParam, 0xFF00FF00u);
    // The palette shows the hue it picks from.
    driver().Render();
    uint32_t px = driver().PixelAt(pal.right - 2, pal.top + 1);
    EXPECT_GT((px >> 8) & 0xFF, 200u);
    EXPECT_LT((px >> 16) & 0xFF, 30u);
}

}  // namespace
}  // namespace toolkit
