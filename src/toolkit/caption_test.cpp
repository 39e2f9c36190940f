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

namespace toolkit {
namespace {

// A dialog that deletes itself when closed, as the program's dialogs do.
class SelfDeletingDialog : public DriverWindow {
  public:
    using DriverWindow::DriverWindow;
    static int deleted;

  protected:
    void OnFinalMessage(HWND) override {
        ++deleted;
        delete this;
    }
};
int SelfDeletingDialog::deleted = 0;

TEST_F(CaptionTest, ModalDialogShutsOutItsOwnerAndReturnsItsCodeAfterDeletingItself) {
    WriteFile("ui.xml", kSkin);
    ASSERT_NE(Open("ui.xml"), nullptr);
    WriteFile("dlg.xml", R"(<Window size="200,100"><VerticalLayout>
      <Button name="okbtn"/></VerticalLayout></Window>)");
    auto* dialog = new SelfDeletingDialog("dlg.xml", "Dialog");
    ASSERT_NE(dialog->Create(window_->GetHWND(), "dlg", UI_WNDSTYLE_DIALOG, 0), 0u);
    dialog->AddNotifyHandler("click", "okbtn", [dialog](TNotifyUI&) {
        dialog->Close(42);
        return true;
    });
    window_->ClearNotifications();
    os::MessageLoop::Current()->PostTask([&] {
        // The owner's close button does nothing while the dialog runs.
        EXPECT_TRUE(driver().Click("closebtn"));
        UiTestDriver d(*dialog, dialog->GetPaintManager());
        EXPECT_TRUE(d.Click("okbtn"));
    });
    SelfDeletingDialog::deleted = 0;
    EXPECT_EQ(dialog->ShowModal(), 42);
    EXPECT_EQ(SelfDeletingDialog::deleted, 1);
    EXPECT_TRUE(window_->Sequence().empty());
    EXPECT_TRUE(window_->IsWindowEnabled());
    ASSERT_TRUE(driver().Click("closebtn"));
    EXPECT_EQ(window_->Sequence(), (std::vector<std::string>{"click:closebtn"}));
}

}  // namespace
}  // namespace toolkit
