#include "toolkit/controls/list_ui.h"

#include <gtest/gtest.h>

#include "toolkit/controls/list_container_element_ui.h"
#include "toolkit/controls/list_label_element_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

std::string ListSkin() {
    std::string items;
    for (int i = 0; i < 10; ++i) {
        items += "<ListLabelElement name=\"row_" + std::to_string(i) + "\" text=\"Row " +
                 std::to_string(i) + "\" height=\"30\" menu=\"true\"/>";
    }
    return R"(<Window size="400,300"><VerticalLayout>
      <List name="list" height="100" itemselectedbkcolor="#FF0000FF">)" +
           items + R"(
        <ListContainerElement name="row_box" height="30">
          <Label name="box_text" text="inside"/>
        </ListContainerElement>
      </List>
      <Button name="other" height="30"/>
    </VerticalLayout></Window>)";
}

class ListTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("ui.xml", ListSkin());
        ASSERT_NE(Open("ui.xml"), nullptr);
        list_ = driver().FindAs<CListUI>("list");
        ASSERT_NE(list_, nullptr);
        window_->ClearNotifications();
    }
    std::vector<std::string> Seq() {
        auto s = window_->Sequence();
        window_->ClearNotifications();
        return s;
    }
    CListUI* list_ = nullptr;
};

using Strings = std::vector<std::string>;

TEST_F(ListTest, ClicksSelectActivateAndAskForTheMenu) {
    ASSERT_TRUE(driver().Click("row_1"));
    EXPECT_EQ(list_->GetCurSel(), 1);
    EXPECT_EQ(Seq(), (Strings{"itemselect:list", "itemclick:row_1"}));
    EXPECT_EQ(window_->Notifications().size(), 0u);
    ASSERT_TRUE(driver().DoubleClick("row_2"));
    Strings seq = Seq();
    EXPECT_NE(std::find(seq.begin(), seq.end(), "itemactivate:row_2"), seq.end());
    ASSERT_TRUE(driver().RightClick("row_0"));
    seq = Seq();
    EXPECT_EQ(seq.front(), "itemselect:list");
    EXPECT_NE(std::find(seq.begin(), seq.end(), "menu:row_0"), seq.end());

    // The notification carries the new and the old index.
    ASSERT_TRUE(driver().Click("row_2"));
    const auto& n = window_->Notifications().front();
    EXPECT_EQ(n.type, "itemselect");
    EXPECT_EQ(n.wParam, 2u);
    EXPECT_EQ(n.lParam, 0);
}

TEST_F(ListTest, ContainerElementSelectsFromItsChildren) {
    list_->EnsureVisible(driver().Find("row_box"));
    ASSERT_TRUE(driver().Click("box_text"));
    EXPECT_EQ(list_->GetCurSel(), 10);
    EXPECT_TRUE(driver().FindAs<CListContainerElementUI>("row_box")->IsSelected());
}

TEST_F(ListTest, SelectionFromCodeIsSilentAndHiddenItemsAreRefused) {
    EXPECT_TRUE(list_->SelectItem(3, false, false));
    EXPECT_TRUE(Seq().empty());
    EXPECT_TRUE(driver().FindAs<CListLabelElementUI>("row_3")->IsSelected());
    driver().Find("row_4")->SetVisible(false);
    EXPECT_FALSE(list_->SelectItem(4));
    EXPECT_FALSE(list_->SelectItem(99));
    EXPECT_EQ(list_->GetCurSel(), 3);
    // The cursor keys skip the hidden row.
    driver().Find("row_3")->SetFocus();
    driver().Key(VK_DOWN);
    EXPECT_EQ(list_->GetCurSel(), 5);
    EXPECT_TRUE(list_->SelectItem(-1, false, false));
    EXPECT_FALSE(driver().FindAs<CListLabelElementUI>("row_5")->IsSelected());
}

TEST_F(ListTest, KeepsTheSelectionInViewAndScrolls) {
    // 11 rows of 30 in 100 pixels.
    EXPECT_EQ(list_->GetContentHeight(), 330);
    EXPECT_EQ(list_->GetScrollRange(), 230);
    CScrollBarUI* bar = list_->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    list_->SelectItem(6);
    driver().Render();
    UiRect view = list_->GetPos();
    UiRect row = driver().Find("row_6")->GetPos();
    EXPECT_GE(row.top, view.top);
    EXPECT_LE(row.bottom, view.bottom);
    // A hidden row (scrolled away) cannot be clicked: the point belongs to the list's neighbour.
    EXPECT_FALSE(driver().Find("row_0")->GetPos().bottom > view.top);

    ASSERT_TRUE(driver().Scroll("list", 5));  // away from the user: up
    EXPECT_EQ(list_->GetScrollPos(), 0);
    ASSERT_TRUE(driver().Scroll("list", -1));
    EXPECT_GT(list_->GetScrollPos(), 0);

    // Dragging the thumb to the bottom of the track shows the end.
    driver().Render();
    UiRect thumb = bar->GetThumbRect();
    UiPoint from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    ASSERT_TRUE(driver().Drag(from, UiPoint{from.x, view.bottom + 50}));
    EXPECT_EQ(list_->GetScrollPos(), 230);
    driver().Render();
    EXPECT_EQ(driver().Find("row_box")->GetPos().bottom, view.bottom);
}

}  // namespace
}  // namespace toolkit

namespace toolkit {
namespace {

class ScrollLayoutTest : public testing::SkinFixture {};

TEST_F(ScrollLayoutTest, ColumnWithScrollBarScrollsItsContent) {
    WriteFile("ui.xml", R"(<Window size="400,300"><VerticalLayout>
      <VerticalLayout name="page" height="100" vscrollbar="true">
        <Button name="a" height="80"/><Button name="b" height="80"/>
      </VerticalLayout>
      <VerticalLayout name="plain" height="100"><Button name="c" height="80"/></VerticalLayout>
    </VerticalLayout></Window>)");
    ASSERT_NE(Open("ui.xml"), nullptr);
    auto* page = driver().FindAs<CScrollLayoutUI>("page");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(driver().FindAs<CScrollLayoutUI>("plain"), nullptr);
    EXPECT_EQ(page->GetScrollRange(), 60);
    ASSERT_TRUE(driver().Scroll("a", -2));
    EXPECT_EQ(page->GetScrollPos(), 48);  // three lines of 8 per notch
    driver().Render();
    EXPECT_EQ(driver().Find("a")->GetPos().top, page->GetPos().top - 48);
    // The button under the wheel keeps working at its new place.
    ASSERT_TRUE(driver().Click("b"));
    EXPECT_EQ(window_->Sequence().back(), "click:b");
}

}  // namespace
}  // namespace toolkit
