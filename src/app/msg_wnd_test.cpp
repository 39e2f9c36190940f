#include "app/msg_wnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/dpi_change.h"
#include "app/testing/dialog_fixture.h"
#include "toolkit/control_ui.h"

namespace app {
namespace {

using toolkit::UiTestDriver;

class MsgWndTest : public testing::DialogFixture {
  protected:
    void TearDown() override {
        // The message box sets every window's DPI; the next test starts at 96 again.
        toolkit::CPaintManagerUI::SetAllDPI(96);
        DialogFixture::TearDown();
    }
};

bool Shown(UiTestDriver& d, const char* name) {
    toolkit::CControlUI* c = d.Find(name);
    return c != nullptr && c->IsVisible();
}

TEST_F(MsgWndTest, ConfirmOnlyBoxAnswersOneForConfirmAndZeroForEveryWayOfClosing) {
    struct Case {
        const char* how;
        std::function<void(CMsgWnd&, UiTestDriver&)> act;
        int expected;
    };
    const Case cases[] = {
        {"confirm_btn", [](CMsgWnd&, UiTestDriver& d) { EXPECT_TRUE(d.Click("confirm_btn")); }, 1},
        {"closebtn", [](CMsgWnd&, UiTestDriver& d) { EXPECT_TRUE(d.Click("closebtn")); }, 0},
        {"window closed", [](CMsgWnd& w, UiTestDriver&) { w.SendMessage(os::WM_CLOSE, 0, 0); }, 0},
        {"Escape", [](CMsgWnd& w, UiTestDriver&) { w.SendMessage(os::WM_KEYDOWN, 0x1B, 0); }, 0},
        {"Enter", [](CMsgWnd& w, UiTestDriver&) { w.SendMessage(os::WM_KEYDOWN, 0x0D, 0); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        WhenShown<CMsgWnd>([&](CMsgWnd& w, UiTestDriver& d) {
            EXPECT_TRUE(Shown(d, "confirm_btn"));
            EXPECT_FALSE(Shown(d, "cancel_btn"));
            EXPECT_FALSE(owner_->IsWindowEnabled());
            c.act(w, d);
        });
        EXPECT_EQ(ShowMessage(owner(), "", "message_text_33", 96, true, 0), c.expected);
        EXPECT_EQ(CMsgWnd::Current(), nullptr);  // gone, and deleted itself
        EXPECT_TRUE(owner_->IsWindowEnabled());
    }
}

TEST_F(MsgWndTest, ConfirmCancelBoxAnswersByButton) {
    for (const auto& [button, expected] : {std::pair{"confirm_btn", 1}, {"cancel_btn", 0}}) {
        SCOPED_TRACE(button);
        WhenShown<CMsgWnd>([button = button](CMsgWnd&, UiTestDriver& d) {
            EXPECT_TRUE(Shown(d, "confirm_btn"));
            EXPECT_TRUE(Shown(d, "cancel_btn"));
            EXPECT_TRUE(d.Click(button));
        });
        EXPECT_EQ(ShowMessage(owner(), "Delete", "Delete this profile?", 96, false, 1), expected);
    }
}

TEST_F(MsgWndTest, WindowTextsAndPlaceOverTheOwner) {
    toolkit::CResourceManager::GetInstance().AddText("message_text_34", "The list is full.");
    WhenShown<CMsgWnd>([&](CMsgWnd& w, UiTestDriver& d) {
        EXPECT_EQ(w.GetWindowClassName(), "MsgWnd");
        EXPECT_EQ(w.GetStyle(), 0x82000000u);
        EXPECT_EQ(w.GetExStyle(), toolkit::WS_EX_TOOLWINDOW);
        EXPECT_EQ(w.GetParentWindow(), owner());
        EXPECT_EQ(d.Find("MessageTitle")->GetText(), "Import");
        toolkit::CControlUI* text = d.Find("MessageText");
        EXPECT_TRUE(text->IsResourceText());
        EXPECT_EQ(text->GetText(), "The list is full.");
        // Centred over the owner (100,100)-(900,672).
        const toolkit::UiRect rc = w.GetWindowRect();
        EXPECT_EQ(rc.left + rc.right, 1000);
        EXPECT_EQ(rc.top + rc.bottom, 772);
        d.Click("confirm_btn");
    });
    EXPECT_EQ(ShowMessage(owner(), "Import", "message_text_34", 96, true, 0), 1);

    // A plain text stays plain; an empty title keeps the skin's own.
    WhenShown<CMsgWnd>([&](CMsgWnd&, UiTestDriver& d) {
        EXPECT_FALSE(d.Find("MessageText")->IsResourceText());
        EXPECT_EQ(d.Find("MessageText")->GetText(), "message_text_34");
        EXPECT_EQ(d.Find("MessageTitle")->GetRawText(), "msg_title");
        d.Click("confirm_btn");
    });
    EXPECT_EQ(ShowMessage(owner(), "", "message_text_34", 96, false, 0), 1);
}

TEST_F(MsgWndTest, AcceptedDpisStandOthersFallBackTo96) {
    const std::pair<int, int> cases[] = {{48, 48}, {144, 144}, {192, 192}, {100, 96},
                                         {0, 96},  {-144, 96}, {240, 96}};
    for (const auto& [asked, used] : cases) {
        SCOPED_TRACE(asked);
        EXPECT_EQ(CMsgWnd::AcceptedDpi(asked), used);
    }
    WhenShown<CMsgWnd>([&](CMsgWnd& w, UiTestDriver& d) {
        EXPECT_EQ(w.GetPaintManager().GetDPI(), 144);
        EXPECT_EQ(ownerPm().GetDPI(), 144);  // every window takes it
        EXPECT_EQ(w.GetWindowRect().GetWidth(), 570);
        EXPECT_EQ(d.Find("confirm_btn")->GetWidth(), 168);
        d.Click("confirm_btn");
    });
    EXPECT_EQ(ShowMessage(owner(), "", "x", 144, false, 0), 1);
    WhenShown<CMsgWnd>([&](CMsgWnd& w, UiTestDriver& d) {
        EXPECT_EQ(w.GetPaintManager().GetDPI(), 96);
        EXPECT_EQ(w.GetWindowRect().GetWidth(), 380);
        d.Click("confirm_btn");
    });
    EXPECT_EQ(ShowMessage(owner(), "", "x", 100, false, 0), 1);
}

TEST_F(MsgWndTest, FollowsADpiChangeOfItsScreen) {
    WhenShown<CMsgWnd>([&](CMsgWnd& w, UiTestDriver& d) {
        const toolkit::UiRect suggested{0, 0, 570, 300};
        w.SendMessage(os::WM_DPICHANGED, (144 << 16) | 144, DpiChangeLParam(&suggested));
        d.Render();
        EXPECT_EQ(w.GetPaintManager().GetDPI(), 144);
        EXPECT_EQ(ownerPm().GetDPI(), 96);  // only the window whose screen changed
        const toolkit::UiRect rc = w.GetWindowRect();
        EXPECT_EQ(rc.GetWidth(), 570);
        EXPECT_EQ(rc.GetHeight(), 300);
        EXPECT_EQ(rc.left + rc.right, 1000);  // centred over the owner again
        EXPECT_EQ(d.Find("confirm_btn")->GetWidth(), 168);
        d.Click("cancel_btn");  // hidden: no answer from it
        d.Click("closebtn");
    });
    EXPECT_EQ(ShowMessage(owner(), "", "x", 96, false, 0), 0);
}

// The main window's questions, in English and Chinese at 96 and 144 DPI, as pictures under the
// build tree's screenshots folder.
TEST_F(MsgWndTest, TheMainWindowsQuestionsInEnglishAndChinese) {
    const std::string out = std::string(BRASVIK_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(out);
    auto& resources = toolkit::CResourceManager::GetInstance();
    struct Question {
        const char* title;
        const char* text;
        int buttons;
    } questions[] = {
        {"", "message_text_22", CMsgWnd::kConfirmCancel},
        {"UpdateTiShi", "UpdateTiShiText", CMsgWnd::kConfirmCancel},
        {"UpdateTiShi", "message_text_updater_missing", CMsgWnd::kConfirmOnly},
        {"", "message_text_no_system_settings", CMsgWnd::kConfirmOnly},
    };
    for (const char* language : {"en", "cn"}) {
        ASSERT_TRUE(resources.LoadLanguage(std::string("lan_") + language + ".xml"));
        for (int dpi : {96, 144}) {
            for (const Question& q : questions) {
                const std::string png = out + "/question_" + q.text + "_" + language + "_" +
                                        std::to_string(dpi) + ".png";
                std::filesystem::remove(png);
                WhenShown<CMsgWnd>([&](CMsgWnd&, UiTestDriver& d) {
                    // Every text has its translation.
                    EXPECT_NE(d.Find("MessageText")->GetText(), q.text);
                    d.Render();
                    EXPECT_TRUE(d.SavePng(png)) << png;
                    d.Click("confirm_btn");
                });
                const std::string title = *q.title ? resources.GetText(q.title) : "";
                ShowMessage(owner(), title, q.text, dpi, true, q.buttons);
            }
        }
    }
}

}  // namespace
}  // namespace app
