#include <gtest/gtest.h>

#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/controls/vertical_layout_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

class LayoutTest : public testing::SkinFixture {
  protected:
    UiRect Pos(const char* name) {
        CControlUI* c = pm().FindControl(name);
        EXPECT_NE(c, nullptr) << name;
        return c != nullptr ? c->GetPos() : UiRect{};
    }
};

// One skin with every kind of placement; the expected rectangles at 96 DPI.
constexpr const char* kGeometrySkin = R"(<Window size="400,300">
  <VerticalLayout name="root" inset="10,10,10,10" childpadding="5">
    <HorizontalLayout name="top" height="40" childpadding="4">
      <Label name="fixed" width="100"/>
      <Label name="stretch"/>
      <Label name="padded" width="50" padding="3,2,7,0"/>
    </HorizontalLayout>
    <Label name="middle"/>
    <Label name="bounded" minheight="30" maxheight="60"/>
    <Container name="box" height="60">
      <Label name="fill" padding="1,1,1,1"/>
      <Label name="float" float="true" pos="20,10,60,30"/>
      <Label name="corner" float="true" pos="-30,-20,0,0"/>
    </Container>
  </VerticalLayout>
</Window>)";

struct Expect {
    const char* name;
    UiRect rc;
};

TEST_F(LayoutTest, FixedStretchPaddingInsetChildPaddingAndFloat) {
    WriteFile("geo.xml", kGeometrySkin);
    ASSERT_NE(Open("geo.xml"), nullptr);
    // Inner 380 x 280. Rows: 40 and 60 fixed, three child paddings of 5; the two adjustable
    // rows share 165, but "bounded" may not pass 60, so "middle" gets the other 105.
    // Top row: 100 fixed, "padded" 50 + 3 + 7, two child paddings of 4: "stretch" gets 212.
    const Expect expected[] = {
        {"root", {0, 0, 400, 300}},       {"top", {10, 10, 390, 50}},
        {"fixed", {10, 10, 110, 50}},     {"stretch", {114, 10, 326, 50}},
        {"padded", {333, 12, 383, 50}},   {"middle", {10, 55, 390, 160}},
        {"bounded", {10, 165, 390, 225}}, {"box", {10, 230, 390, 290}},
        {"fill", {11, 231, 389, 289}},    {"float", {30, 240, 70, 260}},
        {"corner", {360, 270, 390, 290}},
    };
    for (const Expect& e : expected) EXPECT_EQ(Pos(e.name), e.rc) << e.name;
}

TEST_F(LayoutTest, At144DpiEverythingScales) {
    WriteFile("geo.xml", kGeometrySkin);
    ASSERT_NE(Open("geo.xml", 144), nullptr);
    EXPECT_EQ(pm().GetClientSize(), (UiSize{600, 450}));
    EXPECT_EQ(Pos("top"), (UiRect{15, 15, 585, 75}));
    EXPECT_EQ(Pos("fixed"), (UiRect{15, 15, 165, 75}));
    EXPECT_EQ(Pos("box"), (UiRect{15, 345, 585, 435}));
    EXPECT_EQ(Pos("float"), (UiRect{45, 360, 105, 390}));
    EXPECT_EQ(Pos("corner"), (UiRect{540, 405, 585, 435}));
    // Back to 96: the window shrinks back and the rectangles are as at first.
    pm().SetDPI(96);
    driver().Render();
    EXPECT_EQ(pm().GetClientSize(), (UiSize{400, 300}));
    EXPECT_EQ(Pos("fixed"), (UiRect{10, 10, 110, 50}));
}

TEST_F(LayoutTest, HiddenChildrenTakeNoSpaceAndTabsShowOnePage) {
    WriteFile("tabs.xml", R"(<Window size="200,100">
      <VerticalLayout>
        <Label name="a" height="20"/>
        <Label name="gone" height="30" visible="false"/>
        <TabLayout name="tabs" selectedid="1">
          <Label name="page0"/>
          <Label name="page1"/>
        </TabLayout>
      </VerticalLayout></Window>)");
    ASSERT_NE(Open("tabs.xml"), nullptr);
    EXPECT_EQ(Pos("tabs"), (UiRect{0, 20, 200, 100}));
    auto* tabs = driver().FindAs<CTabLayoutUI>("tabs");
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_FALSE(pm().FindControl("page0")->IsVisible());
    EXPECT_TRUE(pm().FindControl("page1")->IsVisible());

    window_->ClearNotifications();
    tabs->SelectItem(0);
    tabs->SelectItem(1, false);
    EXPECT_EQ(window_->Sequence(), (std::vector<std::string>{"tabselect:tabs"}));
    EXPECT_TRUE(pm().FindControl("page1")->IsVisible());

    pm().FindControl("gone")->SetVisible(true);
    driver().Render();
    EXPECT_EQ(Pos("tabs"), (UiRect{0, 50, 200, 100}));
}

TEST_F(LayoutTest, SeparatorDragResizesAndHoldsTheCapturedState) {
    WriteFile("sep.xml", R"(<Window size="200,200">
      <VerticalLayout>
        <VerticalLayout name="panel" height="100" sepheight="-6" bkcolor="#FF0000FF"/>
        <Label name="rest"/>
      </VerticalLayout></Window>)");
    ASSERT_NE(Open("sep.xml"), nullptr);
    auto* panel = driver().FindAs<CVerticalLayoutUI>("panel");
    ASSERT_TRUE(driver().Press({100, 97}));
    EXPECT_TRUE(panel->IsCaptured());
    ASSERT_TRUE(driver().MoveTo({100, 127}));
    EXPECT_TRUE(panel->IsCaptured());
    ASSERT_TRUE(driver().Release({100, 127}));
    EXPECT_FALSE(panel->IsCaptured());
    driver().Render();
    EXPECT_EQ(Pos("panel"), (UiRect{0, 0, 200, 130}));
    EXPECT_EQ(Pos("rest"), (UiRect{0, 130, 200, 200}));
}

}  // namespace
}  // namespace toolkit
