#include "app/skin_frame.h"

#include <gtest/gtest.h>

#include "app/app_globals.h"
#include "app/file_dialog.h"
#include "app/file_dialog_wnd.h"
#include "app/skin_change.h"
#include "app/testing/dialog_fixture.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/edit_ui.h"
#include "toolkit/controls/tab_layout_ui.h"

namespace app {
namespace {

using toolkit::UiRect;
using toolkit::UiTestDriver;

// The owner's side: skin changes land on its "root", as the main window's do.
class RootReceiver : public toolkit::ReceiverImpl<toolkit::SkinChangedParam> {
  public:
    explicit RootReceiver(toolkit::CPaintManagerUI& pm) : pm_(pm) {
        toolkit::CSkinChangedObserver::GetInstance().AddReceiver(this);
    }
    ~RootReceiver() override { toolkit::CSkinChangedObserver::GetInstance().RemoveReceiver(this); }
    bool Receive(toolkit::SkinChangedParam param) override { return ApplySkinChange(pm_, param); }

  private:
    toolkit::CPaintManagerUI& pm_;
};

class SkinFrameTest : public testing::DialogFixture {
  protected:
    void SetUp() override {
        DialogFixture::SetUp();
        receiver_ = std::make_unique<RootReceiver>(ownerPm());
    }
    void TearDown() override {
        if (CSkinFrame* f = CSkinFrame::Current()) f->DestroyWindow();
        receiver_.reset();
        SetFileDialogMode(FileDialogMode::kAuto);
        DialogFixture::TearDown();
    }

    CSkinFrame* Open() {
        CSkinFrame* frame = CSkinFrame::Toggle(owner(), ownerDriver_->Find("skinbtn"));
        if (frame != nullptr) {
            frameDriver_ = std::make_unique<UiTestDriver>(*frame, frame->GetPaintManager());
            frameDriver_->Render();
        }
        return frame;
    }
    toolkit::CControlUI* root() { return ownerDriver_->Find("root"); }
    std::string Ini() { return ReadFile(UserDataFolder() + "main.ini"); }

    std::unique_ptr<RootReceiver> receiver_;
    std::unique_ptr<UiTestDriver> frameDriver_;
};

TEST_F(SkinFrameTest, PlacementHangsTheFrameFromTheButtonsBottomRightCorner) {
    EXPECT_EQ(CSkinFrame::Placement(UiRect{770, 105, 800, 135}, {330, 288}),
              (UiRect{470, 135, 800, 423}));
    EXPECT_EQ(CSkinFrame::Placement(UiRect{10, 0, 40, 20}, {100, 50}), (UiRect{-60, 20, 40, 70}));
}

TEST_F(SkinFrameTest, OpensUnderTheSkinButtonAtTheOwnersDpiAndTogglesClosed) {
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        ownerPm().SetDPI(dpi);
        owner_->MoveWindow(UiRect{100, 100, 100 + 800 * dpi / 96, 100 + 572 * dpi / 96});
        ownerDriver_->Render();
        const UiRect button = ownerDriver_->Find("skinbtn")->GetPos();
        CSkinFrame* frame = Open();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->GetPaintManager().GetDPI(), dpi);
        const UiRect rc = frame->GetWindowRect();
        EXPECT_EQ(rc.top, 100 + button.bottom);
        EXPECT_EQ(rc.right, 100 + button.right);
        EXPECT_EQ(rc.GetWidth(), 330 * dpi / 96);
        EXPECT_EQ(CSkinFrame::Toggle(owner(), ownerDriver_->Find("skinbtn")), nullptr);
        ownerDriver_->Pump();
        EXPECT_EQ(CSkinFrame::Current(), nullptr);
    }
}

TEST_F(SkinFrameTest, ClicksRestyleTheRootAndRecordPictureChoices) {
    ASSERT_NE(Open(), nullptr);
    UiTestDriver& d = *frameDriver_;

    ASSERT_TRUE(d.Click("skin_image_btn"));  // the first picture
    EXPECT_EQ(root()->GetBkImage(), "skinimage/skin_1.png");
    EXPECT_EQ(root()->GetBkColor(), 0u);
    EXPECT_EQ(Ini(), "[SKINIMAGE]\nFLAGS=1\nIMAGE=skinimage/skin_1.png\n");

    auto* tab = d.FindAs<toolkit::CTabLayoutUI>("skin_tab");
    ASSERT_TRUE(d.Click("skin_color"));
    EXPECT_EQ(tab->GetCurSel(), 1);
    ASSERT_TRUE(d.Click("skin_color_btn"));  // the first colour
    EXPECT_EQ(root()->GetBkColor(), 0xFF1B1E23u);
    EXPECT_EQ(root()->GetBkImage(), "");
    EXPECT_EQ(Ini(), "[SKINIMAGE]\nFLAGS=1\nIMAGE=skinimage/skin_1.png\n");  // colours are not kept

    ASSERT_TRUE(d.Click("skin_reset"));
    EXPECT_EQ(root()->GetBkImage(), "common/background.png");
    EXPECT_EQ(root()->GetBkColor(), 0u);
    EXPECT_EQ(Ini(), "[SKINIMAGE]\nFLAGS=0\nIMAGE=common/background.png\n");

    ASSERT_TRUE(d.Click("skin_image"));
    EXPECT_EQ(tab->GetCurSel(), 0);
    ASSERT_TRUE(d.Click("closebtn"));
    d.Pump();
    EXPECT_EQ(CSkinFrame::Current(), nullptr);
}

TEST_F(SkinFrameTest, CustomPictureIsShownOnlyWhenItIsAPicture) {
    SetFileDialogMode(FileDialogMode::kOwnOnly);
    // A real picture, and a file that only has the name of one.
    const std::string picture = std::string(BRASVIK_BINARY_DIR) + "/skin/skinimage/skin_2.png";
    WriteFile("fake.png", "not a picture");
    struct Case {
        std::string path;
        std::string image;
    };
    const Case cases[] = {{picture, picture}, {dir_ + "/fake.png", "common/background.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        root()->SetBkImage("common/background.png");
        ASSERT_NE(Open(), nullptr);
        WhenShown<CFileDialogWnd>([&](CFileDialogWnd& w, UiTestDriver& fd) {
            // Pressing the owner meanwhile does not take the skin window away under the dialog.
            ownerDriver_->Click("skinbtn");
            EXPECT_EQ(w.GetParentWindow(), CSkinFrame::Current()->GetHWND());
            fd.FindAs<toolkit::CEditUI>("file_name")->SetText(c.path);
            EXPECT_TRUE(fd.Click("file_ok"));
        });
        ASSERT_TRUE(frameDriver_->Click("skin_Custom"));
        EXPECT_EQ(root()->GetBkImage(), c.image);
        loop_->RunOnce(0);
        ASSERT_NE(CSkinFrame::Current(), nullptr);
        CSkinFrame::Current()->DestroyWindow();
    }
}

}  // namespace
}  // namespace app
