#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/testing/skin_fixture.h"
#include "ui/controls/audio_record_ui.h"
#include "ui/controls/chart_view_ui.h"
#include "ui/controls/circle_progress_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/hand_img_button_ui.h"
#include "ui/controls/hand_img_select_button_ui.h"
#include "ui/controls/register_custom_controls.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/controls/wnd_ui.h"

namespace ui {
namespace {

using toolkit::UiPoint;
using toolkit::UiRect;

class CustomControlsTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        RegisterCustomControls();
    }
    bool OpenSkin(const std::string& body) {
        WriteFile("main.xml", "<Window size=\"640,300\">" + body + "</Window>");
        return Open("main.xml") != nullptr;
    }
    CDeviceKeyButtonUI* Key(const std::string& name) {
        return driver().FindAs<CDeviceKeyButtonUI>(name);
    }
    int CountOf(const std::string& type) {
        int n = 0;
        for (const auto& r : window_->Notifications()) n += r.type == type;
        return n;
    }
};

TEST_F(CustomControlsTest, EveryClassIsCreatedFromTheSkinUnderItsName) {
    struct Case {
        const char* skinName;
        std::string_view className;
    };
    const std::string plain(toolkit::CControlUI().GetClass());
    const Case cases[] = {
        {"CDeviceKeyButtonUI", "DeviceKeyButton"},
        {"CSelectPanelUI", "SelectPanel"},
        {"CHandImgButtonUI", "HandImgButton"},
        {"CHandImgSelectButtonUI", "HandImgSelectButton"},
        {"CRedioMacroButtonUI", "RedioMacroButton"},
        {"CCircleProgressUI", "CircleProgress"},
        {"CAudioRecordUI", "AudioRecord"},
        {"CChartViewUI", plain},
        {"CWndUI", "Wnd"},
    };
    std::string body = "<VerticalLayout>";
    for (const Case& c : cases)
        body += std::string("<") + c.skinName + " name=\"" + c.skinName + "\" height=\"20\"/>";
    ASSERT_TRUE(OpenSkin(body + "</VerticalLayout>"));
    for (const Case& c : cases) {
        const toolkit::CControlUI* control = driver().Find(c.skinName);
        ASSERT_NE(control, nullptr) << c.skinName;
        EXPECT_EQ(control->GetClass(), c.className) << c.skinName;
    }
}

// Keys k1 (10..50), k2 (60..100, disabled), k3 (110..150, hidden once laid out) in row 10..50, and
// a key nested in a column, which the band never marks.
constexpr const char* kPanel = R"(<CSelectPanelUI name="panel" bkcolor="#FFFFFFFF">
    <CDeviceKeyButtonUI name="k1" float="true" pos="10,10,50,50"/>
    <CDeviceKeyButtonUI name="k2" float="true" pos="60,10,100,50" enabled="false"/>
    <CDeviceKeyButtonUI name="k3" float="true" pos="110,10,150,50"/>
    <VerticalLayout float="true" pos="200,10,260,60">
      <CDeviceKeyButtonUI name="nested"/>
    </VerticalLayout>
  </CSelectPanelUI>)";

TEST_F(CustomControlsTest, RubberBandSelectsDirectKeysItOverlapsAndReplacesTheLastResult) {
    ASSERT_TRUE(OpenSkin(kPanel));
    Key("k3")->SetVisible(false);
    // Over all three direct keys (disabled and hidden included) and the nested one.
    ASSERT_TRUE(driver().Drag(UiPoint{5, 60}, UiPoint{270, 5}));
    EXPECT_TRUE(Key("k1")->IsBandSelected());
    EXPECT_TRUE(Key("k2")->IsBandSelected());
    EXPECT_TRUE(Key("k3")->IsBandSelected());
    EXPECT_FALSE(Key("nested")->IsBandSelected());
    EXPECT_EQ(CountOf("click_select_end"), 1);

    // A band whose left edge is k1's right edge touches it only there: k1 and k3 drop out.
    ASSERT_TRUE(driver().Drag(UiPoint{50, 55}, UiPoint{105, 5}));
    EXPECT_FALSE(Key("k1")->IsBandSelected());
    EXPECT_TRUE(Key("k2")->IsBandSelected());
    EXPECT_FALSE(Key("k3")->IsBandSelected());
    EXPECT_EQ(CountOf("click_select_end"), 2);

    // A press and release without movement changes nothing and sends nothing.
    window_->ClearNotifications();
    ASSERT_TRUE(driver().Click(UiPoint{300, 200}));
    EXPECT_TRUE(Key("k2")->IsBandSelected());
    EXPECT_EQ(CountOf("click_select_end"), 0);
}

TEST_F(CustomControlsTest, SeparatorDragAcrossKeysIsNoBand) {
    // The panel's top 6 pixels are its separator: a drag that starts there resizes the panel
    // and neither selects the keys it crosses nor ends a band.
    ASSERT_TRUE(OpenSkin(R"(<VerticalLayout><CSelectPanelUI name="panel" height="200"
        sepheight="6"><CDeviceKeyButtonUI name="k1" float="true" pos="10,10,50,50"/>
        </CSelectPanelUI><Control/></VerticalLayout>)"));
    ASSERT_TRUE(driver().Drag(UiPoint{20, 2}, UiPoint{270, 60}));
    EXPECT_FALSE(Key("k1")->IsBandSelected());
    EXPECT_EQ(CountOf("click_select_end"), 0);
    // The next band from inside the panel works as usual.
    ASSERT_TRUE(driver().Drag(UiPoint{5, 100}, UiPoint{100, 9}));
    EXPECT_EQ(CountOf("click_select_end"), 1);
}

TEST_F(CustomControlsTest, KeyButtonDoubleClickNotifiesAndPaintsTintAndMarker) {
    WritePng("light.png", 40, 40, 0xFF000000);
    WritePng("mark.png", 40, 40, 0x00000000, 0xFF00FF00);
    ASSERT_TRUE(OpenSkin(R"(<CSelectPanelUI bkcolor="#FFFFFFFF">
        <CDeviceKeyButtonUI name="k1" float="true" pos="10,10,50,50" lightimage="light.png"
            keysetimage="mark.png"/></CSelectPanelUI>)"));
    auto* key = Key("k1");
    key->SetLightOverlay(0xFF0000, 255, true);
    key->SetKeySetMarkerHidden(false);
    ASSERT_TRUE(driver().DoubleClick("k1"));
    EXPECT_EQ(CountOf("dbclick"), 1);
    // The first release clicks; the double click leaves the key pushed and captured, so the
    // second release clicks as well.
    EXPECT_EQ(CountOf("click"), 2);
    driver().Render();
    ASSERT_TRUE(driver().SavePng(dir_ + "/key.png"));
    EXPECT_EQ(driver().PixelAt(12, 12), 0xFFFF0000u);  // tinted light image
    EXPECT_EQ(driver().PixelAt(30, 30), 0xFF00FF00u);  // marker over it
    EXPECT_EQ(driver().PixelAt(5, 5), 0xFFFFFFFFu);    // panel outside the key
}

TEST_F(CustomControlsTest, RingIsFullAtTheRangeAndEmptyAtZero) {
    ASSERT_TRUE(OpenSkin(R"(<HorizontalLayout bkcolor="#FF808080">
        <CCircleProgressUI name="full" width="100" height="100" bkcolor="#FF0000FF"
            forecolor="#FFFF0000" min="0" max="50" value="50"/>
        <CCircleProgressUI name="zero" width="100" height="100" bkcolor="#FF0000FF"
            forecolor="#FFFF0000" min="0" max="50" value="0"/></HorizontalLayout>)"));
    EXPECT_EQ(driver().FindAs<CCircleProgressUI>("full")->SweepDegrees(), 360);
    EXPECT_EQ(driver().FindAs<CCircleProgressUI>("zero")->SweepDegrees(), 0);
    ASSERT_TRUE(driver().SavePng(dir_ + "/ring.png"));
    // In the ring (5 px in from the left and right edges), the middle and outside the disc.
    EXPECT_EQ(driver().PixelAt(5, 50), 0xFFFF0000u);
    EXPECT_EQ(driver().PixelAt(94, 50), 0xFFFF0000u);
    EXPECT_EQ(driver().PixelAt(50, 50), 0xFFFFFFFFu);
    EXPECT_EQ(driver().PixelAt(105, 50), 0xFF0000FFu);
    EXPECT_EQ(driver().PixelAt(150, 50), 0xFFFFFFFFu);
    EXPECT_EQ(driver().PixelAt(1, 1), 0xFF808080u);
}

TEST_F(CustomControlsTest, SampleBarsRiseEveryTwoPixels) {
    ASSERT_TRUE(
        OpenSkin(R"(<VerticalLayout><CAudioRecordUI name="bars" height="256"/></VerticalLayout>)"));
    ASSERT_TRUE(driver().SavePng(dir_ + "/bars.png"));
    // Slot 150 (x = 300) holds 150: 150 * 256 / 8192 = 4 rows above the bottom (y 252..255).
    EXPECT_EQ(driver().PixelAt(300, 255), 0xFF000000u);
    EXPECT_EQ(driver().PixelAt(300, 252), 0xFF000000u);
    EXPECT_EQ(driver().PixelAt(300, 251), 0xFFFFFFFFu);
    EXPECT_EQ(driver().PixelAt(301, 255), 0xFFFFFFFFu);  // the gap between bars
}

TEST_F(CustomControlsTest, ViewportShowsSmallPictureWholeAndStopsLargeOneAtItsEdge) {
    WritePng("small.png", 20, 20, 0xFFFF0000, 0xFF0000FF);
    WritePng("big.png", 400, 300, 0xFF00FF00);
    ASSERT_TRUE(OpenSkin(R"(<HorizontalLayout>
        <CHandImgSelectButtonUI name="small" width="100" height="100" handimage="small.png"/>
        <CHandImgSelectButtonUI name="big" width="100" height="100" handimage="big.png"/>
        <Control/></HorizontalLayout>)"));
    auto* small = driver().FindAs<CHandImgSelectButtonUI>("small");
    EXPECT_EQ(small->GetDisplayImage(), "small.png");
    ASSERT_TRUE(driver().SavePng(dir_ + "/small_before.png"));
    uint32_t centre = driver().PixelAt(50, 50);
    uint32_t corner = driver().PixelAt(5, 5);
    EXPECT_EQ(centre, 0xFF0000FFu);
    EXPECT_EQ(corner, 0xFFFF0000u);
    ASSERT_TRUE(driver().Drag(UiPoint{90, 90}, UiPoint{10, 10}));
    EXPECT_EQ(small->GetSourceWindow(), (UiRect{0, 0, 100, 100}));
    EXPECT_EQ(driver().PixelAt(50, 50), centre);
    EXPECT_EQ(driver().PixelAt(5, 5), corner);

    auto* big = driver().FindAs<CHandImgSelectButtonUI>("big");
    EXPECT_EQ(big->GetSourceWindow(), (UiRect{0, 0, 100, 100}));
    // Dragging left by 60 shows the picture's right part; far to the right stops at 0.
    ASSERT_TRUE(driver().Drag(UiPoint{190, 50}, UiPoint{130, 50}, 1));
    EXPECT_EQ(big->GetSourceWindow(), (UiRect{60, 0, 160, 100}));
    ASSERT_TRUE(driver().Drag(UiPoint{110, 50}, UiPoint{600, 50}, 2));
    EXPECT_EQ(big->GetSourceWindow(), (UiRect{0, 0, 100, 100}));
    EXPECT_EQ(big->GetDisplayImage(), "file='big.png' source='0,0,100,100'");
}

TEST_F(CustomControlsTest, HandImageButtonNotifiesHoverAndDrawsItsHandImage) {
    WritePng("hand.png", 40, 40, 0x00000000, 0xFF00FF00);
    WritePng("view.png", 40, 40, 0xFF0000FF);
    ASSERT_TRUE(OpenSkin(R"(<HorizontalLayout bkcolor="#FFFFFFFF">
        <CHandImgButtonUI name="hand" width="40" height="40" bkcolor="#FFFF0000"
            handimage="hand.png"/>
        <CHandImgButtonUI name="off" width="40" height="40" enabled="false"/>
        <CHandImgSelectButtonUI name="view" width="40" height="40" handimage="view.png"
            cursor="hand"/>
        <CHandImgSelectButtonUI name="bad" width="40" height="40" cursor="spinner"/>
        <CChartViewUI name="chart" width="40" bkcolor="#FF123456" view="histpgram"
            shadowimage="s.png" shadowimageheight="7" pillarimage="p.png" pillarimagewidth="9"
            font="2" showhtml="true" showtext="false"/></HorizontalLayout>)"));
    ASSERT_TRUE(driver().SavePng(dir_ + "/hand.png"));
    EXPECT_EQ(driver().PixelAt(2, 2), 0xFFFF0000u);     // the button's own background
    EXPECT_EQ(driver().PixelAt(20, 20), 0xFF00FF00u);   // the hand image over it
    EXPECT_EQ(driver().PixelAt(100, 20), 0xFF0000FFu);  // the viewport's picture
    EXPECT_EQ(driver().PixelAt(170, 20), 0xFF123456u);  // the chart as a plain control

    ASSERT_TRUE(driver().MoveTo(UiPoint{20, 20}));
    ASSERT_TRUE(driver().MoveTo(UiPoint{60, 20}));  // over the disabled one: no hover there
    ASSERT_TRUE(driver().MoveTo(UiPoint{100, 20}));
    std::vector<std::string> hover;
    for (const auto& r : window_->Notifications()) {
        if (r.type == "msenter" || r.type == "msleave") hover.push_back(r.type + ":" + r.sender);
    }
    EXPECT_EQ(hover, (std::vector<std::string>{"msenter:hand", "msleave:hand", "msenter:view"}));

    // The cursor attribute takes the backend's shape names; an unknown one keeps the arrow.
    auto* backend = dynamic_cast<toolkit::HeadlessBackend*>(window_->GetBackend());
    ASSERT_NE(backend, nullptr);
    EXPECT_EQ(backend->GetCursor(), "hand");
    EXPECT_EQ(driver().Find("bad")->GetCursor(), "");

    const auto* chart = driver().FindAs<CChartViewUI>("chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->GetViewKind(), CChartViewUI::kHistogram);
    EXPECT_EQ(chart->GetShadowImage(), "s.png");
    EXPECT_EQ(chart->GetShadowImageHeight(), 7);
    EXPECT_EQ(chart->GetPillarImage(), "p.png");
    EXPECT_EQ(chart->GetPillarImageWidth(), 9);
    EXPECT_EQ(chart->GetChartFont(), 2);
    EXPECT_TRUE(chart->IsShowHtml());
    EXPECT_FALSE(chart->IsShowText());
}

TEST_F(CustomControlsTest, HostedWindowFollowsTheControlAndNoneIsHarmless) {
    ASSERT_TRUE(OpenSkin(R"(<VerticalLayout><Control height="20"/>
        <CWndUI name="host" height="50"/></VerticalLayout>)"));
    auto* host = driver().FindAs<CWndUI>("host");
    ASSERT_NE(host, nullptr);
    host->SetVisible(false);  // no window: nothing happens
    host->SetVisible(true);

    WriteFile("other.xml", R"(<Window size="10,10"><Control/></Window>)");
    toolkit::DriverWindow other("other.xml", "OtherWnd");
    ASSERT_NE(other.Create(0, "other", toolkit::UI_WNDSTYLE_DIALOG, 0, 0, 0, 10, 10), 0u);
    window_->MoveWindow(UiRect{100, 200, 740, 500});
    host->SetHostedWindow(&other);
    UiRect rc = host->GetPos();
    rc.Offset(100, 200);
    EXPECT_EQ(other.GetWindowRect(), rc);
    EXPECT_TRUE(other.IsWindowVisible());
    host->SetVisible(false);
    EXPECT_FALSE(other.IsWindowVisible());
    host->SetHostedWindow(nullptr);
    other.DestroyWindow();
}

TEST_F(CustomControlsTest, HostedChildWindowKeepsClientCoordinatesAndFollowsItsParent) {
    ASSERT_TRUE(OpenSkin(R"(<VerticalLayout><Control name="top" height="20"/>
        <CWndUI name="host" height="50"/></VerticalLayout>)"));
    auto* host = driver().FindAs<CWndUI>("host");
    ASSERT_NE(host, nullptr);
    window_->MoveWindow(UiRect{100, 200, 740, 500});
    WriteFile("child.xml", R"(<Window size="10,10"><Control/></Window>)");
    auto child = std::make_unique<toolkit::DriverWindow>("child.xml", "ChildWnd");
    ASSERT_NE(child->Create(window_->GetHWND(), "", toolkit::WS_CHILD, 0, 0, 0, 10, 10), 0u);
    ASSERT_TRUE(child->IsChildWindow());
    host->SetHostedWindow(child.get());
    // On the screen over the control; the rectangle given was the control's own.
    const auto onScreen = [&] {
        UiRect rc = host->GetPos();
        const UiRect parent = window_->GetWindowRect();
        rc.Offset(parent.left, parent.top);
        return rc;
    };
    EXPECT_EQ(host->GetPos(), (UiRect{0, 20, 640, 70}));
    EXPECT_EQ(child->GetWindowRect(), onScreen());
    EXPECT_EQ(child->GetClientRect(), (UiRect{0, 0, 640, 50}));
    EXPECT_TRUE(child->IsWindowVisible());

    // Layout changes move it; moving the parent carries it along.
    driver().Find("top")->SetFixedHeight(40);
    driver().Render();
    EXPECT_EQ(host->GetPos(), (UiRect{0, 40, 640, 90}));
    window_->MoveWindow(UiRect{300, 50, 940, 350});
    EXPECT_EQ(child->GetWindowRect(), onScreen());

    // Hidden with the control and with the parent.
    host->SetVisible(false);
    EXPECT_FALSE(child->IsWindowVisible());
    host->SetVisible(true);
    driver().Render();
    EXPECT_TRUE(child->IsWindowVisible());
    window_->ShowWindow(false);
    EXPECT_FALSE(child->IsWindowVisible());
    window_->ShowWindow(true);
    EXPECT_TRUE(child->IsWindowVisible());

    // The parent takes its children with it.
    host->SetHostedWindow(nullptr);
    window_->DestroyWindow();
    EXPECT_EQ(child->GetHWND(), 0u);
}

}  // namespace
}  // namespace ui
