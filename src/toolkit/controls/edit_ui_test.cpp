#include "toolkit/controls/edit_ui.h"

#include <gtest/gtest.h>

#include "toolkit/clipboard.h"
#include "toolkit/controls/rich_edit_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

constexpr uint32_t kShift = 0x10;
constexpr uint32_t kControl = 0x11;
constexpr uint32_t kHome = 0x24;
constexpr uint32_t kEnd = 0x23;
constexpr uint32_t kDelete = 0x2E;

constexpr const char* kSkin = R"(<Window size="400,300">
  <VerticalLayout>
    <Edit name="name" height="30" textpadding="4,0,4,0"/>
    <Edit name="dpi" height="30" numberonly="true" maxchar="5"/>
    <Edit name="ro" height="30" readonly="true" text="fixed"/>
    <RichEdit name="notes" height="100"/>
    <Button name="other" height="30"/>
  </VerticalLayout>
</Window>)";

class EditTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        CClipboard::SetHandlers(nullptr, nullptr);
        CClipboard::SetText("");
        WriteFile("ui.xml", kSkin);
        ASSERT_NE(Open("ui.xml"), nullptr);
        window_->ClearNotifications();
    }
    void TearDown() override {
        // Leave no modifier held for the next test.
        if (window_ && pm().GetFocus() != nullptr) {
            Down(kShift, false);
            Down(kControl, false);
        }
        SkinFixture::TearDown();
    }
    CEditUI* Edit(const std::string& name) { return driver().FindAs<CEditUI>(name); }
    void Down(uint32_t vk, bool down = true) {
        os::SendMessage(window_->GetHWND(), down ? os::WM_KEYDOWN : os::WM_KEYUP, vk, 0);
    }
    void Chord(uint32_t modifier, uint32_t vk) {
        Down(modifier);
        driver().Key(vk);
        Down(modifier, false);
    }
    std::vector<std::string> Seq() {
        auto s = window_->Sequence();
        window_->ClearNotifications();
        return s;
    }
};

using Strings = std::vector<std::string>;

TEST_F(EditTest, FocusTypingAndReturnNotifyTheWindow) {
    ASSERT_TRUE(driver().Click("name"));
    EXPECT_TRUE(Edit("name")->IsFocused());
    ASSERT_TRUE(driver().Type("ab"));
    driver().Key(VK_RETURN);
    EXPECT_EQ(Edit("name")->GetText(), "ab");
    ASSERT_TRUE(driver().Click("other"));
    Strings seq = Seq();
    Strings want = {"setfocus:name", "textchanged:name", "textchanged:name", "return:name",
                    "killfocus:name"};
    // The button's click follows the edit's notifications.
    ASSERT_GE(seq.size(), want.size());
    EXPECT_EQ(Strings(seq.begin(), seq.begin() + static_cast<long>(want.size())), want);

    // Text set from code is silent.
    Edit("name")->SetText("quiet");
    EXPECT_TRUE(Seq().empty());
}

TEST_F(EditTest, CaretKeysSelectionAndDeletion) {
    CEditUI* e = Edit("name");
    ASSERT_TRUE(driver().Click("name"));
    ASSERT_TRUE(driver().Type("h\xC3\xA9llo"));  // "héllo": the caret steps over whole characters
    driver().Key(kHome);
    driver().Key(VK_RIGHT);
    driver().Key(VK_RIGHT);
    EXPECT_EQ(e->GetCaret(), 3u);
    driver().Key(VK_BACK);
    EXPECT_EQ(e->GetText(), "hllo");
    Chord(kShift, VK_RIGHT);
    EXPECT_EQ(e->GetSelText(), "l");
    driver().Type("X");
    EXPECT_EQ(e->GetText(), "hXlo");
    driver().Key(kEnd);
    driver().Key(VK_LEFT);
    driver().Key(kDelete);
    EXPECT_EQ(e->GetText(), "hXl");
    // Deleting at the ends changes nothing and says nothing.
    driver().Key(kEnd);
    window_->ClearNotifications();
    driver().Key(kDelete);
    EXPECT_TRUE(Seq().empty());
}

TEST_F(EditTest, ClipboardCopyCutPasteWithinTheProcess) {
    CEditUI* a = Edit("name");
    a->SetText("copy me");
    ASSERT_TRUE(driver().Click("name"));
    Chord(kControl, 'A');
    Chord(kControl, 'C');
    EXPECT_EQ(CClipboard::GetText(), "copy me");
    Chord(kControl, 'X');
    EXPECT_EQ(a->GetText(), "");
    ASSERT_TRUE(driver().Click("notes"));
    Chord(kControl, 'V');
    EXPECT_EQ(Edit("notes")->GetText(), "copy me");
    // The read-only field copies but neither cuts nor takes a paste.
    ASSERT_TRUE(driver().Click("ro"));
    Chord(kControl, 'A');
    Chord(kControl, 'X');
    Chord(kControl, 'V');
    driver().Type("z");
    EXPECT_EQ(Edit("ro")->GetText(), "fixed");
    Chord(kControl, 'C');
    EXPECT_EQ(CClipboard::GetText(), "fixed");
}

TEST_F(EditTest, NumberOnlyAndMaximumLength) {
    CEditUI* e = Edit("dpi");
    ASSERT_TRUE(driver().Click("dpi"));
    driver().Type("1a2-3");
    EXPECT_EQ(e->GetText(), "123");
    driver().Type("4567");
    EXPECT_EQ(e->GetText(), "12345");
    // A paste is filtered and cut to the room left.
    CClipboard::SetText("9x9");
    Chord(kControl, 'A');
    Chord(kControl, 'V');
    EXPECT_EQ(e->GetText(), "99");
    // Code may set a longer text; it is cut to the limit as well.
    e->SetText("1234567");
    EXPECT_EQ(e->GetText(), "12345");
}

TEST_F(EditTest, ClickPlacesTheCaretAndDragSelects) {
    CEditUI* e = Edit("name");
    e->SetText("abcdefgh");
    driver().Render();
    UiRect rc = e->GetPos();
    int y = (rc.top + rc.bottom) / 2;
    ASSERT_TRUE(driver().Click(UiPoint{rc.left + 1, y}));
    EXPECT_EQ(e->GetCaret(), 0u);
    ASSERT_TRUE(driver().Drag(UiPoint{rc.left + 1, y}, UiPoint{rc.right - 2, y}));
    EXPECT_EQ(e->GetSelText(), "abcdefgh");
    // The caret drawn in the window lies inside the edit.
    UiRect caret = e->GetCaretRect();
    EXPECT_GT(caret.left, rc.left);
    EXPECT_LT(caret.left, rc.right);
}

TEST_F(EditTest, RichEditTakesLineBreaksAndMovesBetweenLines) {
    CEditUI* r = Edit("notes");
    ASSERT_TRUE(driver().Click("notes"));
    driver().Type("one");
    driver().Key(VK_RETURN);
    driver().Type("two");
    EXPECT_EQ(r->GetText(), "one\ntwo");
    driver().Key(VK_UP);
    EXPECT_LE(r->GetCaret(), 3u);
    driver().Key(kHome);
    EXPECT_EQ(r->GetCaret(), 0u);
    driver().Key(VK_DOWN);
    driver().Key(kEnd);
    EXPECT_EQ(r->GetCaret(), r->GetText().size());
    EXPECT_EQ(Seq(), (Strings{"setfocus:notes", "textchanged:notes", "textchanged:notes",
                              "textchanged:notes", "textchanged:notes", "textchanged:notes",
                              "textchanged:notes", "textchanged:notes"}));
}

}  // namespace
}  // namespace toolkit
