#include "toolkit/tool_tip_controller.h"

#include <gtest/gtest.h>

#include "toolkit/testing/skin_fixture.h"
#include "toolkit/tool_tip_wnd.h"

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<Window size="400,300"><VerticalLayout>
  <Button name="skinbtn" height="40" tooltip="Skin"/>
  <Button name="plain" height="40"/>
</VerticalLayout></Window>)";

class ToolTipTest : public testing::SkinFixture {};

TEST_F(ToolTipTest, ShowsAfterTheRestAndHidesOnLeavingOrPressing) {
    WriteFile("ui.xml", kSkin);
    ASSERT_NE(Open("ui.xml"), nullptr);
    CToolTipController* tips = window_->GetToolTips();
    ASSERT_NE(tips, nullptr);
    UiPoint over;
    ASSERT_TRUE(driver().CenterOf("skinbtn", over));
    ASSERT_TRUE(driver().MoveTo(over));
    EXPECT_FALSE(tips->IsShowing());
    driver().AdvanceTimers(CToolTipController::kHoverMs);
    ASSERT_TRUE(tips->IsShowing());
    EXPECT_EQ(tips->GetToolTipWindow()->GetTipText(), "Skin");
    // Below the pointer, in screen coordinates.
    UiRect tip = tips->GetToolTipWindow()->GetWindowRect();
    EXPECT_GT(tip.top, window_->GetWindowRect().top + over.y);
    // The timer fired once and is gone: nothing more wakes the window.
    EXPECT_EQ(driver().AdvanceTimers(5000), 0);

    UiPoint plain;
    ASSERT_TRUE(driver().CenterOf("plain", plain));
    ASSERT_TRUE(driver().MoveTo(plain));
    EXPECT_FALSE(tips->IsShowing());
    driver().AdvanceTimers(1000);
    EXPECT_FALSE(tips->IsShowing());  // no tooltip text

    ASSERT_TRUE(driver().MoveTo(over));
    driver().AdvanceTimers(CToolTipController::kHoverMs);
    ASSERT_TRUE(tips->IsShowing());
    ASSERT_TRUE(driver().Press(over));
    EXPECT_FALSE(tips->IsShowing());
    driver().Release(over);
}

// Records the window's hover messages.
struct HoverSink : IMessageFilterUI {
    LRESULT MessageHandler(uint32_t msg, WPARAM, LPARAM, bool&) override {
        if (msg == os::WM_MOUSEHOVER) ++hovers;
        return 0;
    }
    int hovers = 0;
};

TEST_F(ToolTipTest, WindowHearsOfTheFirstRestOfEachVisit) {
    WriteFile("ui.xml", kSkin);
    ASSERT_NE(Open("ui.xml"), nullptr);
    HoverSink sink;
    pm().AddMessageFilter(&sink);
    UiPoint plain;
    ASSERT_TRUE(driver().CenterOf("plain", plain));
    ASSERT_TRUE(driver().MoveTo(plain));
    driver().AdvanceTimers(CToolTipController::kHoverMs);
    EXPECT_EQ(sink.hovers, 1);
    ASSERT_TRUE(driver().MoveTo(UiPoint{plain.x, 10}));
    driver().AdvanceTimers(CToolTipController::kHoverMs);
    EXPECT_EQ(sink.hovers, 1);  // once per visit
    os::SendMessage(window_->GetHWND(), os::WM_MOUSELEAVE, 0, 0);
    ASSERT_TRUE(driver().MoveTo(plain));
    driver().AdvanceTimers(CToolTipController::kHoverMs);
    EXPECT_EQ(sink.hovers, 2);
    pm().RemoveMessageFilter(&sink);
}

}  // namespace
}  // namespace toolkit
