#include <gtest/gtest.h>

#include "toolkit/backend/sdl_backend.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<Window size="400,300" caption="0,0,0,40">
  <VerticalLayout>
    <HorizontalLayout height="40">
      <Label name="title" width="200"/>
      <Button name="closebtn" width="40"/>
    </HorizontalLayout>
    <Label name="body"/>
  </VerticalLayout>
</Window>)";

class CaptionTest : public testing::SkinFixture {};

TEST_F(CaptionTest, CaptionDragsExceptOverInteractiveControls) {
    WriteFile("ui.xml", kSkin);
    ASSERT_NE(Open("ui.xml"), nullptr);
    auto hit = [&](int x, int y) {
        return os::SendMessage(window_->GetHWND(), os::WM_NCHITTEST, 0, MakePointLParam(x, y));
    };
    EXPECT_EQ(hit(20, 20), HTCAPTION);   // over the title label
    EXPECT_EQ(hit(300, 20), HTCAPTION);  // over the bare row
    EXPECT_EQ(hit(220, 20), HTCLIENT);   // over the close button
    EXPECT_EQ(hit(20, 100), HTCLIENT);   // below the caption
    // At 144 DPI the caption is 60 pixels tall.
    pm().SetDPI(144);
    driver().Render();
    EXPECT_EQ(hit(20, 50), HTCAPTION);
}

}  // namespace
}  // namespace toolkit

namespace toolkit {
namespace {

TEST_F(CaptionTest, DialogCentresOverItsOwnerAndStaysOnTheScreen) {
    WriteFile("ui.xml", kSkin);
    ASSERT_NE(Open("ui.xml"), nullptr);
    window_->MoveWindow(UiRect{100, 100, 500, 400});
    WriteFile("dlg.xml", R"(<Window size="200,100"><VerticalLayout/></Window>)");
    DriverWindow dialog("dlg.xml", "Dialog");
    ASSERT_NE(dialog.Create(window_->GetHWND(), "dlg", UI_WNDSTYLE_DIALOG, 0, 0, 0, 200, 100), 0u);
    dialog.CenterWindow();
    EXPECT_EQ(dialog.GetWindowRect(), (UiRect{200, 200, 400, 300}));
    // An owner near the screen's corner: the dialog stays on the screen.
    window_->MoveWindow(UiRect{1700, 900, 2100, 1200});
    dialog.CenterWindow();
    EXPECT_EQ(dialog.GetWindowRect(), (UiRect{1720, 980, 1920, 1080}));
    EXPECT_EQ(CWindowWnd::FromHandle(window_->GetHWND()), window_.get());
    dialog.DestroyWindow();
    EXPECT_EQ(CWindowWnd::FromHandle(dialog.GetHWND()), nullptr);
}

}  // namespace
}  // namespace toolkit

namespace toolkit {
namespace {

TEST_F(CaptionTest, SystemCommandsMinimiseMaximiseRestoreAndClose) {
    WriteFile("ui.xml", kSkin);
    ASSERT_NE(Open("ui.xml"), nullptr);
    HWND h = window_->GetHWND();
    os::SendMessage(h, os::WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(window_->IsIconic());
    os::SendMessage(h, os::WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(window_->IsZoomed());
    os::SendMessage(h, os::WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(window_->IsIconic());
    EXPECT_FALSE(window_->IsZoomed());
    os::SendMessage(h, os::WM_SYSCOMMAND, SC_CLOSE, 0);
    driver_.reset();
    loop_->RunUntil([&] { return window_->GetHWND() == 0; });
    EXPECT_EQ(window_->GetHWND(), 0u);
}

}  // namespace
}  // namespace toolkit
