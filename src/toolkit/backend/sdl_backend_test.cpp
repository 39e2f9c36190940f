// The SDL2 backend on a real X display (Xvfb): a window comes up, a click injected with XTest
// reaches a button as "click", and the screen shows the skin's colours.
#include "toolkit/backend/sdl_backend.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

// The icon the desktop's task list shows, as the window carries it (_NET_WM_ICON: width,
// height, then ARGB pixels); empty when no window has the title.
std::vector<unsigned long> IconOf(Display* dpy, const char* title) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    std::vector<unsigned long> icon;
    if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &n) == 0) return icon;
    const Atom prop = XInternAtom(dpy, "_NET_WM_ICON", False);
    for (unsigned int i = 0; i < n && icon.empty(); ++i) {
        char* name = nullptr;
        if (XFetchName(dpy, children[i], &name) == 0 || name == nullptr) continue;
        const bool match = std::string(name) == title;
        XFree(name);
        if (!match) continue;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(dpy, children[i], prop, 0, 64, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            // 32-bit values in longs; some writers sign-extend them.
            for (unsigned long k = 0; k < count; ++k) icon.push_back(longs[k] & 0xFFFFFFFFul);
            XFree(data);
        }
    }
    if (children != nullptr) XFree(children);
    return icon;
}

TEST(SdlBackend, WindowCarriesItsIcon) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) GTEST_SKIP() << "no X display: " << xvfb.error();
    os::MessageLoop loop;
    ASSERT_TRUE(InstallSdlBackend(loop));
    DriverWindow wnd(kSkin);
    ASSERT_NE(wnd.Create(0, "IconWnd", UI_WNDSTYLE_DIALOG, 0, 50, 50, 320, 200), 0u);
    const uint32_t pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF};
    wnd.GetBackend()->SetIcon(pixels, 2, 2);
    wnd.ShowWindow(true);
    const int64_t until = os::MonotonicMs() + 300;
    while (os::MonotonicMs() < until) loop.RunOnce(10);
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    // Polled: the property reaches the server on the backend's connection, not on this one.
    std::vector<unsigned long> icon = IconOf(dpy, "IconWnd");
    for (const int64_t end = os::MonotonicMs() + 10000; icon.empty() && os::MonotonicMs() < end;
         icon = IconOf(dpy, "IconWnd"))
        loop.RunOnce(50);
    EXPECT_EQ(icon,
              (std::vector<unsigned long>{2, 2, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF}));
    XCloseDisplay(dpy);
    wnd.DestroyWindow();
    UninstallSdlBackend();
}

TEST(SdlBackend, ChildWindowSitsOverItsParentAndFollowsIt) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) GTEST_SKIP() << "no X display: " << xvfb.error();
    os::MessageLoop loop;
    ASSERT_TRUE(InstallSdlBackend(loop));
    const auto runFor = [&](int ms) {
        const int64_t until = os::MonotonicMs() + ms;
        while (os::MonotonicMs() < until) loop.RunOnce(10);
    };
    DriverWindow parent(kSkin);
    ASSERT_NE(parent.Create(0, "Parent", UI_WNDSTYLE_DIALOG, 0, 100, 100, 320, 200), 0u);
    DriverWindow child(R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="80,40"><Control bkcolor="#FF11AA22"/></Window>)");
    ASSERT_NE(child.Create(parent.GetHWND(), "", WS_CHILD, 0, 20, 30, 80, 40), 0u);
    child.ShowWindow(true);
    EXPECT_FALSE(child.IsWindowVisible());  // not before its parent
    parent.ShowWindow(true);
    runFor(500);
    ASSERT_TRUE(child.IsWindowVisible());

    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    // Polled: the display server places windows in its own time.
    const auto waitFor = [&](const std::function<bool()>& done) {
        const int64_t until = os::MonotonicMs() + 10000;
        while (!done() && os::MonotonicMs() < until) runFor(50);
        return done();
    };
    UiRect p = parent.GetWindowRect();
    EXPECT_TRUE(waitFor([&] { return ScreenPixel(dpy, p.left + 60, p.top + 50) == 0x11AA22u; }));
    EXPECT_EQ(ScreenPixel(dpy, p.left + 10, p.top + 10), 0x202428u);

    parent.MoveWindow(UiRect{400, 300, 720, 500});
    EXPECT_TRUE(waitFor([&] { return ScreenPixel(dpy, 460, 350) == 0x11AA22u; }));
    const UiRect c = child.GetWindowRect();
    EXPECT_EQ(c.left, 420);
    EXPECT_EQ(c.top, 330);

    parent.ShowWindow(false);
    runFor(200);
    EXPECT_FALSE(child.IsWindowVisible());
    XCloseDisplay(dpy);
    parent.DestroyWindow();
    EXPECT_EQ(child.GetHWND(), 0u);
    UninstallSdlBackend();
}

TEST(SdlBackend, AWindowMovedWhileHiddenAppearsWhereItWasMoved) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) GTEST_SKIP() << "no X display: " << xvfb.error();
    os::MessageLoop loop;
    ASSERT_TRUE(InstallSdlBackend(loop));
    DriverWindow wnd(kSkin);
    ASSERT_NE(wnd.Create(0, "Moved", UI_WNDSTYLE_DIALOG, 0, 10, 10, 320, 200), 0u);
    wnd.MoveWindow(UiRect{300, 250, 620, 450});
    EXPECT_EQ(wnd.GetWindowRect().left, 300);
    wnd.ShowWindow(true);
    const int64_t until = os::MonotonicMs() + 1000;
    while (os::MonotonicMs() < until) loop.RunOnce(10);
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    EXPECT_EQ(ScreenPixel(dpy, 305, 255), 0x202428u);
    EXPECT_NE(ScreenPixel(dpy, 15, 15), 0x202428u);
    const UiRect rc = wnd.GetWindowRect();
    EXPECT_EQ(rc.left, 300);
    EXPECT_EQ(rc.top, 250);
    // The pointer and client points in screen coordinates.
    XTestFakeMotionEvent(dpy, -1, 333, 277, 0);
    XSync(dpy, False);
    EXPECT_EQ(wnd.GetCursorPos().x, 333);
    EXPECT_EQ(wnd.GetCursorPos().y, 277);
    EXPECT_EQ(wnd.ClientToScreen(UiPoint{5, 6}).x, 305);
    EXPECT_FALSE(wnd.GetMonitorRect().IsEmpty());
    XCloseDisplay(dpy);
    wnd.DestroyWindow();
    UninstallSdlBackend();
}

// A window that keeps the display messages it is sent.
class DisplayWatch : public DriverWindow {
  public:
    using DriverWindow::DriverWindow;
    LRESULT HandleCustomMessage(uint32_t msg, WPARAM wParam, LPARAM lParam,
                                bool& handled) override {
        if (msg == os::WM_DISPLAYCHANGE) displayChanges.push_back(PointFromLParam(lParam));
        (void)wParam;
        handled = false;
        return 0;
    }
    std::vector<UiPoint> displayChanges;
};

TEST(SdlBackend, AMonitorChangeReachesEveryWindow) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) GTEST_SKIP() << "no X display: " << xvfb.error();
    os::MessageLoop loop;
    ASSERT_TRUE(InstallSdlBackend(loop));
    DisplayWatch a(kSkin), b(kSkin);
    ASSERT_NE(a.Create(0, "A", UI_WNDSTYLE_DIALOG, 0, 10, 10, 320, 200), 0u);
    ASSERT_NE(b.Create(0, "B", UI_WNDSTYLE_DIALOG, 0, 400, 10, 320, 200), 0u);
    // SDL reports monitor changes as display events; one arrives as X would deliver it.
    SDL_Event e{};
    e.type = SDL_DISPLAYEVENT;
    e.display.event = SDL_DISPLAYEVENT_CONNECTED;
    e.display.display = 0;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
    const int64_t until = os::MonotonicMs() + 10000;
    while ((a.displayChanges.empty() || b.displayChanges.empty()) && os::MonotonicMs() < until)
        loop.RunOnce(20);
    ASSERT_EQ(a.displayChanges.size(), 1u);
    ASSERT_EQ(b.displayChanges.size(), 1u);
    SDL_Rect r{};
    SDL_GetDisplayBounds(0, &r);
    EXPECT_EQ(a.displayChanges[0].x, r.w);
    EXPECT_EQ(a.displayChanges[0].y, r.h);
    a.DestroyWindow();
    b.DestroyWindow();
    UninstallSdlBackend();
}

}  // namespace
}  // namespace toolkit
