#include "toolkit/window_impl_base.h"

#include <gtest/gtest.h>

#include "toolkit/container_ui.h"
#include "toolkit/testing/skin_fixture.h"

namespace toolkit {
namespace {

// A window that logs what reaches its hooks, as the program's windows use them.
class LoggingWindow : public DriverWindow {
  public:
    using DriverWindow::DriverWindow;
    void InitWindow() override { log.push_back("InitWindow"); }
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == "windowinit") log.push_back("windowinit");
        DriverWindow::Notify(msg);
    }
    LRESULT HandleCustomMessage(uint32_t msg, WPARAM wParam, LPARAM lParam,
                                bool& handled) override {
        handled = false;
        if (msg == os::WM_DESTROY) log.push_back("custom WM_DESTROY");
        if (msg == os::WM_DISPLAYCHANGE)
            log.push_back("display " + std::to_string(PointFromLParam(lParam).x) + "x" +
                          std::to_string(PointFromLParam(lParam).y));
        if (msg == os::WM_POWERBROADCAST) log.push_back("power " + std::to_string(wParam));
        if (msg == os::WM_DPICHANGED) {
            const auto* rc = reinterpret_cast<const UiRect*>(lParam);
            log.push_back("dpi " + std::to_string(wParam & 0xFFFF) + " " +
                          std::to_string(rc->GetWidth()));
        }
        if (msg == os::WM_USER + 5) {
            log.push_back("custom " + std::to_string(wParam));
            handled = true;
            return 42;
        }
        return 0;
    }
    LRESULT OnDestroy(uint32_t, WPARAM, LPARAM, bool& handled) override {
        log.push_back("OnDestroy");
        handled = false;  // the custom handler sees it next
        return 0;
    }
    std::vector<std::string> log;
};

class WindowTest : public testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        WriteFile("w.xml", R"(<Window size="200,120"><VerticalLayout name="root">
            <Button name="closebtn" height="30"/></VerticalLayout></Window>)");
    }
};

TEST_F(WindowTest, CreationHookWindowInitCustomMessagesAndDestroyOrder) {
    LoggingWindow window("w.xml");
    ASSERT_NE(window.Create(0, "w", UI_WNDSTYLE_DIALOG | WS_VISIBLE, 0), 0u);
    EXPECT_TRUE(window.IsWindowVisible());
    EXPECT_EQ(window.GetWindowRect().GetWidth(), 200);  // the skin's size
    EXPECT_EQ(window.log, std::vector<std::string>{"InitWindow"});
    // "windowinit" follows the first layout, which the posted paint brings.
    loop_->RunOnce(0);
    EXPECT_EQ(window.log, (std::vector<std::string>{"InitWindow", "windowinit"}));
    EXPECT_EQ(window.SendMessage(os::WM_USER + 5, 9, 0), 42);
    EXPECT_EQ(window.log.back(), "custom 9");
    window.DestroyWindow();
    EXPECT_EQ(window.GetHWND(), 0u);
    EXPECT_EQ(std::vector<std::string>(window.log.end() - 2, window.log.end()),
              (std::vector<std::string>{"OnDestroy", "custom WM_DESTROY"}));
}

TEST_F(WindowTest, DisplayDpiAndPowerEventsReachTheWindowsHandler) {
    LoggingWindow window("w.xml");
    ASSERT_NE(window.Create(0, "w", UI_WNDSTYLE_DIALOG, 0), 0u);
    UiTestDriver driver(window, window.GetPaintManager());
    ASSERT_TRUE(driver.DisplayChange(2560, 1440));
    ASSERT_TRUE(driver.DpiChange(144, UiRect{0, 0, 300, 180}));
    EXPECT_EQ(std::vector<std::string>(window.log.end() - 2, window.log.end()),
              (std::vector<std::string>{"display 2560x1440", "dpi 144 300"}));
    // Power events go to the top-level windows only.
    LoggingWindow child("w.xml");
    ASSERT_NE(child.Create(window.GetHWND(), "c", WS_POPUP, 0), 0u);
    CWindowWnd::SendToTopLevelWindows(os::WM_POWERBROADCAST, 4, 0);
    EXPECT_EQ(window.log.back(), "power 4");
    EXPECT_TRUE(child.log.empty() || child.log.back() != "power 4");
    child.DestroyWindow();
    window.DestroyWindow();
}

TEST_F(WindowTest, ModalLoopEndsWithTheCloseCode) {
    DriverWindow window("w.xml");
    ASSERT_NE(window.Create(0, "modal", UI_WNDSTYLE_DIALOG, 0), 0u);
    window.AddNotifyHandler("click", "closebtn", [&](TNotifyUI&) {
        window.Close(7);
        return true;
    });
    UiTestDriver driver(window, window.GetPaintManager());
    // The click arrives from inside the modal loop, as a user's would.
    os::MessageLoop::Current()->PostTask([&] { EXPECT_TRUE(driver.Click("closebtn")); });
    EXPECT_EQ(window.ShowModal(), 7);
    EXPECT_EQ(window.GetHWND(), 0u);
}

TEST_F(WindowTest, AsyncNotificationsArriveOnTheNextTurnAndNotForDeletedSenders) {
    ASSERT_NE(Open("w.xml"), nullptr);
    loop_->RunOnce(0);
    window_->ClearNotifications();
    CControlUI* btn = pm().FindControl("closebtn");
    pm().SendNotify(btn, "later", 0, 0, true);
    EXPECT_TRUE(window_->Notifications().empty());
    loop_->RunOnce(0);
    EXPECT_EQ(window_->Sequence(), std::vector<std::string>{"later:closebtn"});
    window_->ClearNotifications();
    pm().SendNotify(btn, "later", 0, 0, true);
    dynamic_cast<CContainerUI*>(btn->GetParent())->Remove(btn);
    loop_->RunOnce(0);
    EXPECT_TRUE(window_->Sequence().empty());
}

// A window that goes away by itself when it is closed, as popups and message boxes do.
class SelfDeletingWindow : public DriverWindow {
  public:
    using DriverWindow::DriverWindow;
    void OnFinalMessage(HWND hwnd) override {
        DriverWindow::OnFinalMessage(hwnd);
        delete this;
    }
};

TEST_F(WindowTest, TheDriverLetsGoOfAWindowThatDeletedItself) {
    auto* window = new SelfDeletingWindow("w.xml");
    ASSERT_NE(window->Create(0, "w", UI_WNDSTYLE_DIALOG | WS_VISIBLE, 0), 0u);
    window->AddNotifyHandler("click", "closebtn", [window](TNotifyUI&) {
        window->Close(0);
        return true;
    });
    UiTestDriver driver(*window, window->GetPaintManager());
    ASSERT_TRUE(driver.Click("closebtn"));
    driver.Pump();  // the close arrives here and the window deletes itself
    driver.Render();
    EXPECT_EQ(driver.Find("closebtn"), nullptr);
    EXPECT_FALSE(driver.Click("closebtn"));
    EXPECT_EQ(driver.LastError(), "the window is gone");
    EXPECT_FALSE(driver.SavePng(dir_ + "/gone.png"));
    EXPECT_EQ(driver.PixelAt(1, 1), 0u);
}

}  // namespace
}  // namespace toolkit
