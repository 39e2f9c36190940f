#include "toolkit/paint_manager_ui.h"

#include <gtest/gtest.h>

#include "toolkit/container_ui.h"
#include "toolkit/controls/label_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

class PaintManagerTest : public testing::SkinFixture {};

TEST_F(PaintManagerTest, NamesAreFoundWithoutCaseFirstOneWinsAndSubtreesScopeTheSearch) {
    WriteFile("n.xml", R"(<Window><VerticalLayout>
        <VerticalLayout name="page_1"><Label name="key_1" text="a"/></VerticalLayout>
        <VerticalLayout name="page_2"><Label name="KEY_1" text="b"/></VerticalLayout>
      </VerticalLayout></Window>)");
    ASSERT_NE(Open("n.xml"), nullptr);
    EXPECT_EQ(pm().FindControl("Key_1")->GetText(), "a");
    CControlUI* page2 = pm().FindControl("page_2");
    EXPECT_EQ(pm().FindSubControlByName(page2, "key_1")->GetText(), "b");
    EXPECT_EQ(pm().FindSubControlByClass(page2, "Label")->GetText(), "b");
    EXPECT_EQ(pm().FindSubControlByClass(nullptr, "Label", 1)->GetText(), "b");
    // Renaming moves the entry; controls added later are found too.
    pm().FindControl("key_1")->SetName("renamed");
    EXPECT_EQ(pm().FindControl("renamed")->GetText(), "a");
    auto* added = new CLabelUI;
    added->SetName("late");
    dynamic_cast<CContainerUI*>(page2)->Add(added);
    EXPECT_EQ(pm().FindControl("LATE"), added);
}

TEST_F(PaintManagerTest, FontsTableSharedOwnDefaultAndRemoval) {
    CPaintManagerUI a;
    CPaintManagerUI b;
    a.RemoveAllFonts(true);
    a.AddFont(1, "Noto Sans", 14, false, true, false, true);        // shared
    b.AddFont(1, "Noto Sans Thai", 20, true, false, false, false);  // b's own comes first
    EXPECT_EQ(a.GetFontInfo(1)->iSize, 14);
    EXPECT_TRUE(a.GetFontInfo(1)->bUnderline);
    EXPECT_EQ(b.GetFontInfo(1)->sFontName, "Noto Sans Thai");
    a.SetDefaultFont("Noto Sans CJK SC", 15, false, false, false, true);
    EXPECT_EQ(a.GetFontInfo(9)->iSize, 15);
    EXPECT_EQ(a.GetFontInfo(-1)->sFontName, "Noto Sans CJK SC");
    b.RemoveAllFonts(false);
    EXPECT_EQ(b.GetFontInfo(1)->iSize, 14);
    a.RemoveAllFonts(true);
    EXPECT_EQ(a.GetFontInfo(1), &a.GetDefaultFontInfo());
    // Descriptions follow the table and the DPI.
    a.AddFont(2, "Noto Sans", 20, true, false, false, false);
    EXPECT_EQ(pango_font_description_get_size(a.GetFontDescription(2)), 20 * PANGO_SCALE);
    a.SetDPI(144);
    EXPECT_EQ(pango_font_description_get_size(a.GetFontDescription(2)), 30 * PANGO_SCALE);
    EXPECT_EQ(pango_font_description_get_weight(a.GetFontDescription(2)), PANGO_WEIGHT_BOLD);
}

TEST_F(PaintManagerTest, DpiOutsideTheRangeIsIgnoredAndColourAdjustmentShiftsHue) {
    CPaintManagerUI pm;
    for (int dpi : {0, 47, 193, 400}) {
        pm.SetDPI(dpi);
        EXPECT_EQ(pm.GetDPI(), 96) << dpi;
    }
    pm.SetDPI(192);
    EXPECT_EQ(pm.ScaleDpi(10), 20);
    EXPECT_EQ(pm.GetAdjustColor(0xFFFF0000), 0xFFFF0000u);  // off: unchanged
    pm.SetHSL(true, 300, 100, 100);                         // +120 degrees: red to green
    EXPECT_EQ(pm.GetAdjustColor(0x80FF0000), 0x8000FF00u);
}

class CKeysUI : public CControlUI {
  public:
    void DoEvent(TEventUI& e) override {
        if (e.Type == UIEVENT_CHAR) chars.push_back(e.chKey);
        if (e.Type == UIEVENT_KEYDOWN) keys.push_back(e.chKey);
        CControlUI::DoEvent(e);
    }
    std::vector<uint32_t> chars;
    std::vector<uint32_t> keys;
};

TEST_F(PaintManagerTest, TypedTextAndKeysReachTheFocusedControl) {
    WriteFile(
        "k.xml",
        R"(<Window size="100,100"><VerticalLayout><Keys name="keys"/></VerticalLayout></Window>)");
    window_ = std::make_unique<DriverWindow>("k.xml");
    window_->SetControlCreator([](const std::string& cls) -> CControlUI* {
        return cls == "Keys" ? new CKeysUI : nullptr;
    });
    ASSERT_NE(window_->Create(0, "k", WS_VISIBLE, 0), 0u);
    driver_ = std::make_unique<UiTestDriver>(*window_, window_->GetPaintManager());
    auto* keys = driver().FindAs<CKeysUI>("keys");
    ASSERT_TRUE(driver().Type("x"));
    EXPECT_TRUE(keys->chars.empty());  // not focused yet
    ASSERT_TRUE(driver().Click("keys"));
    EXPECT_TRUE(keys->IsFocused());
    ASSERT_TRUE(driver().Type("aé中"));
    ASSERT_TRUE(driver().Key(VK_RETURN));
    EXPECT_EQ(keys->chars, (std::vector<uint32_t>{'a', 0xE9, 0x4E2D}));
    EXPECT_EQ(keys->keys, (std::vector<uint32_t>{VK_RETURN}));
}

}  // namespace
}  // namespace toolkit
