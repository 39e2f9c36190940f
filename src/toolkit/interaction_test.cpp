#include <gtest/gtest.h>

#include "toolkit/container_ui.h"
#include "toolkit/controls/button_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/slider_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<Window size="400,300">
  <VerticalLayout name="root">
    <HorizontalLayout height="40">
      <Button name="btn" width="100"/>
      <Button name="off" width="100" enabled="false"/>
      <Label name="cover" width="100" mouse="false"/>
    </HorizontalLayout>
    <HorizontalLayout height="40">
      <Option name="opt_1" group="g" width="60" selected="true"/>
      <Option name="opt_2" group="g" width="60"/>
      <CheckBox name="check" width="60"/>
    </HorizontalLayout>
    <Slider name="slider" height="20" width="210" min="0" max="100" thumbsize="10,20"/>
    <Container height="100">
      <Button name="under"/>
      <Button name="over" float="true" pos="10,10,60,60"/>
    </Container>
    <Label name="page_label" virtualwnd="mainpage" height="20"/>
  </VerticalLayout>
</Window>)";

class InteractionTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("ui.xml", kSkin);
        ASSERT_NE(Open("ui.xml"), nullptr);
        window_->ClearNotifications();
    }
    std::vector<std::string> Seq() {
        auto s = window_->Sequence();
        window_->ClearNotifications();
        return s;
    }
};

using Strings = std::vector<std::string>;

TEST_F(InteractionTest, HitTestingFindsTheTopmostMouseEnabledControl) {
    EXPECT_EQ(pm().FindControl(UiPoint{50, 20}), pm().FindControl("btn"));
    // Disabled controls are still hit (they just do nothing); mouse-disabled ones are not.
    EXPECT_EQ(pm().FindControl(UiPoint{150, 20}), pm().FindControl("off"));
    EXPECT_NE(pm().FindControl(UiPoint{250, 20}), pm().FindControl("cover"));
    // The float child drawn over its sibling wins.
    CControlUI* under = pm().FindControl("under");
    UiRect u = under->GetPos();
    EXPECT_EQ(pm().FindControl(UiPoint{u.left + 20, u.top + 20}), pm().FindControl("over"));
    EXPECT_EQ(pm().FindControl(UiPoint{u.left + 100, u.top + 20}), under);
}

TEST_F(InteractionTest, ButtonStatesAndTheClickSequence) {
    auto* btn = driver().FindAs<CButtonUI>("btn");
    ASSERT_TRUE(driver().MoveTo({50, 20}));
    EXPECT_TRUE(btn->IsHot());
    ASSERT_TRUE(driver().Press({50, 20}));
    EXPECT_TRUE(btn->IsPushed());
    EXPECT_TRUE(btn->IsCaptured());
    EXPECT_TRUE(pm().IsCaptured());
    EXPECT_EQ(pm().GetFocus(), btn);
    // Leaving while pressed: still captured, no longer pushed; releasing outside is no click.
    ASSERT_TRUE(driver().MoveTo({50, 200}));
    EXPECT_FALSE(btn->IsPushed());
    EXPECT_TRUE(btn->IsCaptured());
    EXPECT_FALSE(btn->IsHot());
    ASSERT_TRUE(driver().Release({50, 200}));
    EXPECT_FALSE(btn->IsCaptured());
    EXPECT_EQ(Seq(), Strings{});

    ASSERT_TRUE(driver().Click("btn"));
    EXPECT_EQ(Seq(), Strings{"click:btn"});
    ASSERT_TRUE(driver().Click("off"));
    EXPECT_EQ(Seq(), Strings{});
    // Keyboard activation of the focused button.
    ASSERT_TRUE(driver().Click("btn"));
    Seq();
    ASSERT_TRUE(driver().Key(VK_SPACE));
    EXPECT_EQ(Seq(), Strings{"click:btn"});
    // A double click is press, release, second press as double click, release: two clicks.
    ASSERT_TRUE(driver().DoubleClick("btn"));
    EXPECT_EQ(Seq(), (Strings{"click:btn", "click:btn"}));
}

TEST_F(InteractionTest, OptionGroupsCheckBoxesAndSilentSelection) {
    auto* o1 = driver().FindAs<COptionUI>("opt_1");
    auto* o2 = driver().FindAs<COptionUI>("opt_2");
    auto* check = driver().FindAs<CCheckBoxUI>("check");
    EXPECT_TRUE(o1->IsSelected());
    ASSERT_TRUE(driver().Click("opt_2"));
    EXPECT_TRUE(o2->IsSelected());
    EXPECT_FALSE(o1->IsSelected());
    EXPECT_EQ(Seq(), (Strings{"click:opt_2", "selectchanged:opt_1", "selectchanged:opt_2"}));
    // Clicking the selected member of a group keeps it selected and changes nothing.
    ASSERT_TRUE(driver().Click("opt_2"));
    EXPECT_TRUE(o2->IsSelected());
    EXPECT_EQ(Seq(), Strings{"click:opt_2"});
    // From code, without notification: the group still excludes.
    o1->Selected(true, false);
    EXPECT_FALSE(o2->IsSelected());
    EXPECT_EQ(Seq(), Strings{});
    ASSERT_TRUE(driver().Click("check"));
    ASSERT_TRUE(driver().Click("check"));
    EXPECT_FALSE(check->GetCheck());
    EXPECT_EQ(Seq(), (Strings{"click:check", "selectchanged:check", "click:check",
                              "selectchanged:check"}));
}

TEST_F(InteractionTest, SliderSendsMoveValuesWhileDraggingAndTheValueOnRelease) {
    auto* slider = driver().FindAs<CSliderUI>("slider");
    UiRect rc = slider->GetPos();
    int y = (rc.top + rc.bottom) / 2;
    // Travel is 200 pixels for 0..100 after half a thumb.
    ASSERT_TRUE(driver().Drag({rc.left + 5, y}, {rc.left + 105, y}, 2));
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_EQ(Seq(), (Strings{"movevaluechanged:slider", "movevaluechanged:slider",
                              "valuechanged:slider"}));
    ASSERT_TRUE(driver().Drag({rc.left + 105, y}, {rc.right + 300, y}, 1));
    EXPECT_EQ(slider->GetValue(), 100);  // clamped
    Seq();
    ASSERT_TRUE(driver().Scroll("slider", -3));
    EXPECT_EQ(slider->GetValue(), 97);
    EXPECT_EQ(Seq().size(), 3u);
    slider->SetValue(10);  // from code: silent
    EXPECT_EQ(Seq(), Strings{});
    EXPECT_EQ(slider->GetThumbRect().left, rc.left + 20);
}

// Counts its timer events; kills its timer after the third.
class CTickerUI : public CControlUI {
  public:
    void DoEvent(TEventUI& event) override {
        if (event.Type == UIEVENT_TIMER) {
            ids.push_back(static_cast<uint32_t>(event.wParam));
            if (event.wParam == 7 && ++sevens == 3) KillTimer(7);
            return;
        }
        CControlUI::DoEvent(event);
    }
    std::vector<uint32_t> ids;
    int sevens = 0;
};

TEST_F(InteractionTest, PerControlTimersReachDoEventInDueOrder) {
    auto* root = dynamic_cast<CContainerUI*>(pm().GetRoot());
    auto* ticker = new CTickerUI;
    ASSERT_TRUE(root->Add(ticker));
    ASSERT_TRUE(ticker->SetTimer(7, 100));
    ASSERT_TRUE(ticker->SetTimer(9, 250));
    EXPECT_EQ(driver().AdvanceTimers(99), 0);
    driver().AdvanceTimers(1);
    EXPECT_EQ(ticker->ids, (std::vector<uint32_t>{7}));
    driver().AdvanceTimers(600);
    // 7 at 200 and 300, then it is killed; 9 at 250, 500, 750 (700 so far: two).
    EXPECT_EQ(ticker->ids, (std::vector<uint32_t>{7, 7, 9, 7, 9}));
    // A removed control's timers end with it.
    root->Remove(ticker);
    EXPECT_EQ(driver().AdvanceTimers(1000), 0);
}

TEST_F(InteractionTest, WindowTimersAndTheTimerNotificationOfPlainControls) {
    CControlUI* label = pm().FindControl("page_label");
    ASSERT_TRUE(label->SetTimer(3, 50));
    ASSERT_TRUE(window_->SetTimer(1011, 100));
    driver().AdvanceTimers(100);
    label->KillTimer(3);
    ASSERT_EQ(window_->Notifications().size(), 2u);
    EXPECT_EQ(window_->Notifications()[0].type, "timer");
    EXPECT_EQ(window_->Notifications()[0].wParam, 3u);
}

class PagePump : public CNotifyPump {
  public:
    PagePump() {
        AddNotifyHandler("click", [this](TNotifyUI& m) {
            got.push_back(m.pSender->GetName());
            return true;
        });
    }
    std::vector<std::string> got;
};

TEST_F(InteractionTest, VirtualWindowNotificationsGoToTheirPump) {
    PagePump page;
    ASSERT_TRUE(window_->AddVirtualWnd("MainPage", &page));
    std::vector<std::string> own;
    window_->AddNotifyHandler("click", "BTN", [&](TNotifyUI& m) {
        own.push_back(m.pSender->GetName());
        return true;
    });
    pm().SendNotify(pm().FindControl("page_label"), "click");
    ASSERT_TRUE(driver().Click("btn"));
    EXPECT_EQ(page.got, Strings{"page_label"});
    EXPECT_EQ(own, Strings{"btn"});
    window_->RemoveVirtualWnd("mainpage");
}

TEST_F(InteractionTest, FocusLeavesHiddenControlsAndDeletedControlsAreForgotten) {
    ASSERT_TRUE(driver().Click("btn"));
    CControlUI* btn = pm().FindControl("btn");
    EXPECT_EQ(pm().GetFocus(), btn);
    btn->SetVisible(false);
    EXPECT_EQ(pm().GetFocus(), nullptr);
    EXPECT_FALSE(driver().Click("btn"));
    EXPECT_NE(driver().LastError().find("hidden"), std::string::npos);
    btn->SetVisible(true);
    ASSERT_TRUE(driver().MoveTo({50, 20}));
    EXPECT_EQ(pm().GetHotControl(), btn);
    auto* parent = dynamic_cast<CContainerUI*>(btn->GetParent());
    ASSERT_TRUE(parent->Remove(btn));
    EXPECT_EQ(pm().GetHotControl(), nullptr);
    EXPECT_EQ(pm().FindControl("btn"), nullptr);
    ASSERT_TRUE(driver().MoveTo({60, 20}));
}

}  // namespace
}  // namespace toolkit
