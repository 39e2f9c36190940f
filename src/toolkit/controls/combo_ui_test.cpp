#include "toolkit/controls/combo_ui.h"

#include <gtest/gtest.h>

#include "toolkit/controls/combo_wnd.h"
#include "toolkit/controls/list_label_element_ui.h"
#include "toolkit/controls/scroll_layout_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<Window size="400,300">
  <VerticalLayout>
    <Combo name="sleep" height="30" width="200" dropboxsize="0,100">
      <ListLabelElement name="sleep_0" text="1 min" userdata="60" height="30"/>
      <ListLabelElement name="sleep_1" text="5 min" userdata="300" height="30"/>
      <ListLabelElement name="sleep_2" text="hidden" userdata="600" height="30" visible="false"/>
      <ListLabelElement name="sleep_3" text="never" userdata="0" height="30"/>
      <ListLabelElement name="sleep_4" text="later" userdata="1" height="30"/>
    </Combo>
    <Button name="other" height="30"/>
  </VerticalLayout>
</Window>)";

class ComboTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("ui.xml", kSkin);
        ASSERT_NE(Open("ui.xml"), nullptr);
        combo_ = driver().FindAs<CComboUI>("sleep");
        ASSERT_NE(combo_, nullptr);
        window_->ClearNotifications();
    }
    std::vector<std::string> Seq() {
        auto s = window_->Sequence();
        window_->ClearNotifications();
        return s;
    }
    // A driver on the open drop-down.
    std::unique_ptr<UiTestDriver> DropDriver() {
        CComboWnd* wnd = combo_->GetDropWindow();
        if (wnd == nullptr) return nullptr;
        auto d = std::make_unique<UiTestDriver>(*wnd, wnd->GetPaintManager());
        d->Render();
        return d;
    }
    CComboUI* combo_ = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(ComboTest, DropDownChoosesAnItemAndCloses) {
    ASSERT_TRUE(driver().Click("sleep"));
    CComboWnd* wnd = combo_->GetDropWindow();
    ASSERT_NE(wnd, nullptr);
    // Below the combo, as wide as it, no taller than the drop box.
    UiRect rc = wnd->GetWindowRect();
    UiRect win = window_->GetWindowRect();
    EXPECT_EQ(rc.top, win.top + combo_->GetPos().bottom);
    EXPECT_EQ(rc.GetWidth(), 200);
    EXPECT_EQ(rc.GetHeight(), 100);
    auto drop = DropDriver();
    // The hidden item is not in the list.
    EXPECT_FALSE(drop->Click("sleep_2"));
    ASSERT_TRUE(drop->Click("sleep_1"));
    drop.reset();
    driver().Pump();
    EXPECT_EQ(combo_->GetDropWindow(), nullptr);
    EXPECT_EQ(combo_->GetCurSel(), 1);
    EXPECT_EQ(combo_->GetText(), "5 min");
    EXPECT_EQ(combo_->GetItemAt(1)->GetUserData(), "300");
    EXPECT_EQ(Seq(), (Strings{"dropdown:sleep", "itemselect:sleep"}));
    // The items are back in the combo's window, found by name there.
    EXPECT_EQ(pm().FindControl("sleep_1"), combo_->GetItemAt(1));
    EXPECT_EQ(combo_->GetItemAt(1)->GetManager(), &pm());
}

TEST_F(ComboTest, ClickOutsideOrEscapeClosesWithoutChoosing) {
    ASSERT_TRUE(driver().Click("sleep"));
    ASSERT_NE(combo_->GetDropWindow(), nullptr);
    ASSERT_TRUE(driver().Click("other"));
    driver().Pump();
    EXPECT_EQ(combo_->GetDropWindow(), nullptr);
    // The press that closed the list did not reach the button.
    EXPECT_EQ(Seq(), (Strings{"dropdown:sleep"}));

    ASSERT_TRUE(driver().Click("sleep"));
    auto drop = DropDriver();
    ASSERT_TRUE(drop->Key(VK_ESCAPE));
    drop.reset();
    driver().Pump();
    EXPECT_EQ(combo_->GetDropWindow(), nullptr);
    EXPECT_EQ(combo_->GetCurSel(), -1);
}

TEST_F(ComboTest, CodeSelectsSilentlyAndKeysSkipHiddenItems) {
    EXPECT_TRUE(combo_->SelectItem(1, false, false));
    EXPECT_TRUE(Seq().empty());
    EXPECT_EQ(combo_->GetText(), "5 min");
    EXPECT_FALSE(combo_->SelectItem(2, false, false));  // hidden
    EXPECT_FALSE(combo_->SelectItem(7));
    combo_->SetFocus();
    driver().Key(VK_DOWN);
    EXPECT_EQ(combo_->GetCurSel(), 3);
    const auto& n = window_->Notifications().back();
    EXPECT_EQ(n.type, "itemselect");
    EXPECT_EQ(n.wParam, 3u);
    EXPECT_EQ(n.lParam, 1);
    driver().Key(VK_UP);
    EXPECT_EQ(combo_->GetCurSel(), 1);
    EXPECT_TRUE(combo_->SelectItem(-1, false, false));
    EXPECT_EQ(combo_->GetText(), "");
}

TEST_F(ComboTest, OpenListScrollsToTheSelectionAndItemsCanBeAddedInCode) {
    auto* extra = new CListLabelElementUI;
    extra->SetName("sleep_5");
    extra->SetText("added");
    extra->SetFixedHeight(30);
    extra->SetUserData("5");
    ASSERT_TRUE(combo_->Add(extra));
    ASSERT_TRUE(combo_->SelectItem(5, false, false));
    ASSERT_TRUE(driver().Click("sleep"));
    auto drop = DropDriver();
    CScrollLayoutUI* list = combo_->GetDropWindow()->GetListLayout();
    EXPECT_GT(list->GetScrollPos(), 0);
    UiRect row = extra->GetPos();
    EXPECT_LE(row.bottom, list->GetPos().bottom);
    ASSERT_TRUE(drop->Click("sleep_5"));
    drop.reset();
    driver().Pump();
    EXPECT_EQ(combo_->GetCurSel(), 5);
    // Removing the selected item clears the selection.
    ASSERT_TRUE(combo_->Remove(extra));
    EXPECT_EQ(combo_->GetCurSel(), -1);
}

}  // namespace
}  // namespace toolkit
