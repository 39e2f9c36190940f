// The SDL2 backend on a real X display (Xvfb): a window comes up, a click injected with XTest
// reaches a button as "click", and the screen shows the skin's colours.
#include "toolkit/backend/sdl_backend.h"

#include <gtest/gtest.h>

#include "os/event.h"
#include "os/testing/xvfb_display.h"
#include "toolkit/control_ui.h"
#include "toolkit/driver_window.h"

// Last: the X headers define macros (None, Status) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,200" caption="0,0,0,40">
  <VerticalLayout name="root" bkcolor="#FF202428">
    <Control height="60"/>
    <HorizontalLayout height="50">
      <Control width="60"/>
      <Button name="okbtn" text="OK" width="120" bkcolor="#FF3366CC" hotbkcolor="#FF4477DD"/>
    </HorizontalLayout>
  </VerticalLayout>
</Window>)";

uint32_t ScreenPixel(Display* dpy, int x, int y) {
    XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), x, y, 1, 1, AllPlanes, ZPixmap);
    if (img == nullptr) return 0;
    const uint32_t p = static_cast<uint32_t>(XGetPixel(img, 0, 0)) & 0xFFFFFF;
    XDestroyImage(img);
    return p;
}

TEST(SdlBackend, WindowShowsItsSkinAndTakesARealClick) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) GTEST_SKIP() << "no X display: " << xvfb.error();
    os::MessageLoop loop;
    ASSERT_TRUE(InstallSdlBackend(loop));

    DriverWindow wnd(kSkin);
    ASSERT_NE(wnd.Create(0, "Smoke", UI_WNDSTYLE_DIALOG, 0, 100, 100, 320, 200), 0u)
        << wnd.GetBuildError();
    wnd.ShowWindow(true);
    const auto runFor = [&](int ms) {
        const int64_t until = os::MonotonicMs() + ms;
        while (os::MonotonicMs() < until) loop.RunOnce(10);
    };
    runFor(500);

    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    const UiRect rc = wnd.GetWindowRect();
    CControlUI* ok = wnd.GetPaintManager().FindControl("okbtn");
    ASSERT_NE(ok, nullptr);
    const UiRect b = ok->GetPos();
    const int cx = rc.left + (b.left + b.right) / 2, cy = rc.top + (b.top + b.bottom) / 2;
    // The background and the button as the screen shows them.
    EXPECT_EQ(ScreenPixel(dpy, rc.left + 5, rc.top + 5), 0x202428u);
    EXPECT_EQ(ScreenPixel(dpy, cx, rc.top + b.top + 2), 0x3366CCu);

    XTestFakeMotionEvent(dpy, -1, cx, cy, 0);
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XFlush(dpy);
    bool clicked = false;
    const int64_t until = os::MonotonicMs() + 10000;
    while (!clicked && os::MonotonicMs() < until) {
        loop.RunOnce(20);
        for (const auto& n : wnd.Notifications())
            clicked |= n.type == "click" && n.sender == "okbtn";
    }
    EXPECT_TRUE(clicked);
    XCloseDisplay(dpy);
    wnd.DestroyWindow();
    UninstallSdlBackend();
}

}  // namespace
}  // namespace toolkit
