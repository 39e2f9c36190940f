#include "app/script_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "os/event.h"
#include "toolkit/control_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace app {
namespace {

TEST(ScriptParse, ReadsEveryStepAndSkipsCommentsAndBlankLines) {
    const std::string text =
        "# a comment\n"
        "\n"
        "window MsgWnd\n"
        "  click confirm_btn  \n"
        "dblclick item_1\n"
        "select device_profile_combo 2\n"
        "type name_edit two words\n"
        "key name_edit Return\n"
        "focus name_edit\n"
        "wait 250\n"
        "expect-text MessageText Delete this profile?\n"
        "expect-visible No_device_Link no\n"
        "screenshot /tmp/a b.png\n"
        "quit\n";
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(text, &steps, &error)) << error;
    ASSERT_EQ(steps.size(), 12u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[0].verb, "window");
    EXPECT_EQ(steps[0].name, "MsgWnd");
    EXPECT_EQ(steps[1].source, "click confirm_btn");
    EXPECT_EQ(steps[3].number, 2);
    EXPECT_EQ(steps[4].text, "two words");
    EXPECT_EQ(steps[5].key, 0x0Du);
    EXPECT_EQ(steps[7].number, 250);
    EXPECT_EQ(steps[8].name, "MessageText");
    EXPECT_EQ(steps[8].text, "Delete this profile?");
    EXPECT_FALSE(steps[9].yes);
    EXPECT_EQ(steps[10].text, "/tmp/a b.png");
    EXPECT_EQ(steps[11].verb, "quit");
    EXPECT_EQ(steps[11].line, 14);
}

TEST(ScriptParse, NamesTheLineThatIsNoStep) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"click a\nclik b\n", "line 2: unknown step 'clik'"},
        {"click\n", "line 1: 'click' takes one name"},
        {"click a b\n", "line 1: 'click' takes one name"},
        {"\n\nselect combo x\n", "line 3: 'select' needs an index of 0 or more, not 'x'"},
        {"select combo\n", "line 1: 'select' takes a name and one value"},
        {"wait -5\n", "line 1: 'wait' needs milliseconds, not '-5'"},
        {"key edit Hyper\n", "line 1: unknown key 'Hyper'"},
        {"expect-visible root maybe\n", "line 1: 'expect-visible' takes yes or no, not 'maybe'"},
        {"type edit\n", "line 1: 'type' needs a text"},
        {"screenshot\n", "line 1: 'screenshot' needs a path"},
        {"quit now\n", "line 1: 'quit' takes nothing after it"},
        {"click twin[x]\n", "line 1: 'twin[x]' is no NAME or NAME[N]"},
        {"click [2]\n", "line 1: '[2]' is no NAME or NAME[N]"},
        {"value slider high\n", "line 1: 'value' needs a value of 0 or more, not 'high'"},
        {"wait-visible a perhaps\n", "line 1: 'wait-visible' takes yes or no, not 'perhaps'"},
    };
    for (const auto& c : cases) {
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(ParseScript(c.script, &steps, &error)) << c.script;
        EXPECT_EQ(error, c.error);
    }
}

TEST(ScriptParse, KeyNames) {
    EXPECT_EQ(ScriptKeyCode("escape"), 0x1Bu);
    EXPECT_EQ(ScriptKeyCode("Tab"), 0x09u);
    EXPECT_EQ(ScriptKeyCode("F5"), 0x74u);
    EXPECT_EQ(ScriptKeyCode("a"), static_cast<uint32_t>('A'));
    EXPECT_EQ(ScriptKeyCode("7"), static_cast<uint32_t>('7'));
    EXPECT_EQ(ScriptKeyCode("0x2E"), 0x2Eu);
    EXPECT_EQ(ScriptKeyCode("F25"), 0u);
    EXPECT_EQ(ScriptKeyCode("0x"), 0u);
}

constexpr const char* kSkin = R"(<Window size="400,300">
  <VerticalLayout name="root" bkcolor="#FF202020">
    <Button name="btn" text="Press" height="30"/>
    <Label name="lbl" text="Hello" height="30"/>
    <Edit name="ed" height="30"/>
    <Label name="hidden" visible="false" height="30"/>
    <HorizontalLayout height="30">
      <Button name="twin" text="first"/>
      <Button name="twin" text="second"/>
    </HorizontalLayout>
    <Slider name="slider" height="20" min="0" max="100" value="10"/>
    <Control/>
  </VerticalLayout>
</Window>)";

class ScriptRunTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("main.xml", kSkin);
        window_ = std::make_unique<toolkit::DriverWindow>("main.xml", "MainWnd");
        ASSERT_NE(window_->Create(0, "test", toolkit::UI_WNDSTYLE_DIALOG | toolkit::WS_VISIBLE, 0,
                                  0, 0, 400, 300),
                  0u);
        driver_ = std::make_unique<toolkit::UiTestDriver>(*window_, window_->GetPaintManager());
        driver_->Render();
        window_->ClearNotifications();
    }
    // Runs the script to its end; the exit code, or -1 when it did not end in time.
    int Run(const std::string& text, std::string* failure = nullptr) {
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_TRUE(ParseScript(text, &steps, &error)) << error;
        int code = -1;
        ScriptRunner runner("test.script", std::move(steps), [&](int c) { code = c; });
        EXPECT_TRUE(runner.Start());
        const int64_t until = os::MonotonicMs() + 20000;
        while (code < 0 && os::MonotonicMs() < until) loop_->RunOnce(10);
        if (failure) *failure = runner.failure();
        return code;
    }
    os::HWND openerHwnd_ = 0;
    int Clicks() const {
        int n = 0;
        for (const auto& r : window_->Notifications()) n += r.type == "click" && r.sender == "btn";
        return n;
    }
};

TEST_F(ScriptRunTest, StepsDriveTheWindowAndAFailingStepEndsTheRunWithItsLine) {
    const std::string shot = dir_ + "/shot.png";
    std::string failure;
    const int code =
        Run("# drive the test window\n"
            "click btn\n"
            "expect-text lbl Hello\n"
            "type ed abc\n"
            "key ed Back\n"
            "expect-text ed ab\n"
            "wait 30\n"
            "expect-visible hidden no\n"
            "expect-visible MainWnd yes\n"
            "screenshot " +
                shot +
                "\n"
                "expect-text lbl Goodbye\n"
                "click btn\n",
            &failure);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(failure, "line 11: expect-text lbl Goodbye: the text is 'Hello'");
    EXPECT_EQ(Clicks(), 1);  // the step after the failure never ran
    EXPECT_GT(std::filesystem::file_size(shot), 0u);
}

TEST_F(ScriptRunTest, EndsWithZeroAfterQuitOrTheLastStep) {
    EXPECT_EQ(Run("click btn\nquit\nclick btn\n"), 0);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(Run("click btn\n"), 0);
    EXPECT_EQ(Clicks(), 2);
    EXPECT_EQ(Run(""), 0);

    std::string failure;
    EXPECT_EQ(Run("click nothing_here\n", &failure), 1);
    EXPECT_EQ(failure, "line 1: click nothing_here: no control named 'nothing_here'");
    EXPECT_EQ(Run("expect-visible hidden yes\n", &failure), 1);
    EXPECT_EQ(failure, "line 1: expect-visible hidden yes: 'hidden' is hidden");
}

TEST_F(ScriptRunTest, IndexedNamesSlidersAndWaitingSteps) {
    std::vector<std::string> seen;
    window_->SetNotifyHook([&](toolkit::TNotifyUI& msg) {
        if (msg.sType == "click" || msg.sType == "movevaluechanged" || msg.sType == "valuechanged")
            seen.push_back(msg.sType + ":" + msg.pSender->GetText());
    });
    std::string failure;
    EXPECT_EQ(Run("click twin[1]\n"
                  "click twin[0]\n"
                  "click twin\n"
                  "expect-text twin[1] second\n"
                  "value slider 42\n"
                  "expect-value slider 42\n"
                  "wait-visible twin[1] yes\n"
                  "wait-text lbl Hello\n"
                  "expect-visible twin[0] yes\n",
                  &failure),
              0)
        << failure;
    const std::vector<std::string> expected = {"click:second", "click:first", "click:first",
                                               "movevaluechanged:", "valuechanged:"};
    EXPECT_EQ(seen, expected);

    // Out of range, and steps that do not fit the control.
    const struct {
        const char* script;
        const char* failure;
    } cases[] = {
        {"click twin[2]\n", "line 1: click twin[2]: no control named 'twin[2]'"},
        {"value btn 3\n", "line 1: value btn 3: 'btn' is no slider"},
        {"expect-value slider 7\n", "line 1: expect-value slider 7: the value is 42"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.script, &failure), 1) << c.script;
        EXPECT_EQ(failure, c.failure);
    }
}

TEST_F(ScriptRunTest, WindowWaitsForAShownWindowOfTheClass) {
    // The window appears only after the script has started looking for it.
    toolkit::DriverWindow later(kSkin, "LaterWnd");
    os::FunctionTarget opener([&](uint32_t msg, os::WPARAM id, os::LPARAM) -> os::LRESULT {
        if (msg != os::WM_TIMER) return 0;
        os::KillTimer(os::HWND(openerHwnd_), id);
        later.Create(0, "later", toolkit::UI_WNDSTYLE_DIALOG | toolkit::WS_VISIBLE, 0, 0, 0, 400,
                     300);
        return 0;
    });
    openerHwnd_ = os::CreateTarget(&opener);
    os::SetTimer(openerHwnd_, 1, 200);
    EXPECT_EQ(Run("window LaterWnd\nexpect-text lbl Hello\n"), 0);
    EXPECT_TRUE(later.IsWindowVisible());
    later.DestroyWindow();
    os::DestroyTarget(openerHwnd_);
}

}  // namespace
}  // namespace app
