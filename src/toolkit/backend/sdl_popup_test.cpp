// Popups on a real X display (Xvfb): a drop-down opens below its combo as its own window and a
// click with XTest chooses an item; a menu opens at an anchor and its chosen entry comes back to
// the owner as a menu command. A screenshot of the open menu is kept for a look.
#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "os/event.h"
#include "os/testing/xvfb_display.h"
#include "toolkit/backend/sdl_backend.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/combo_wnd.h"
#include "toolkit/controls/menu_wnd.h"
#include "toolkit/driver_window.h"
#include "toolkit/paint_manager_ui.h"

// Last: the X headers define macros (None, Status) that other headers use as names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace toolkit {
namespace {

constexpr const char* kSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,240">
  <VerticalLayout bkcolor="#FF202428" inset="10,10,10,10">
    <Combo name="combo" height="30" width="200" bkcolor="#FFFFFFFF" itemtextcolor="#FF000000">
      <ListLabelElement name="c0" text="first" height="30"/>
      <ListLabelElement name="c1" text="second" height="30"/>
      <ListLabelElement name="c2" text="third" height="30"/>
    </Combo>
  </VerticalLayout>
</Window>)";

constexpr const char* kMenu = R"(<Window><Menu width="140" bkcolor="#FFF0F0F0">
  <MenuElement name="about_menu" text="About" height="30"/>
  <MenuElement name="exit" text="Exit" height="30" bkcolor="#FFCC3333"/>
</Menu></Window>)";

class MenuSink : public IMessageFilterUI {
  public:
    LRESULT MessageHandler(uint32_t msg, WPARAM wParam, LPARAM, bool& handled) override {
        if (msg != WM_MENUCLICK) return 0;
        handled = true;
        chosen = MenuCmd::Take(wParam)->szName;
        return 0;
    }
    std::string chosen;
};

void ClickScreen(Display* dpy, int x, int y) {
    XTestFakeMotionEvent(dpy, -1, x, y, 0);
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XFlush(dpy);
}

void SaveScreen(Display* dpy, const UiRect& rc, const std::string& path) {
    XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), rc.left, rc.top, rc.GetWidth(),
                            rc.GetHeight(), AllPlanes, ZPixmap);
    if (img == nullptr) return;
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, rc.GetWidth(), rc.GetHeight());
    unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < rc.GetHeight(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < rc.GetWidth(); ++x)
            row[x] = static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFF;
    }
    cairo_surface_mark_dirty(s);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
    XDestroyImage(img);
}

TEST(SdlPopups, ComboAndMenuTakeRealClicks) {
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) GTEST_SKIP() << "no X display: " << xvfb.error();
    os::MessageLoop loop;
    ASSERT_TRUE(InstallSdlBackend(loop));
    char tmpl[] = "/tmp/toolkit_popup_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    std::filesystem::create_directories(dir);
    {
        std::FILE* f = std::fopen((dir + "/menu.xml").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(kMenu, f);
        std::fclose(f);
    }
    CPaintManagerUI::SetResourcePath(dir + "/");

    DriverWindow wnd(kSkin);
    ASSERT_NE(wnd.Create(0, "Popups", UI_WNDSTYLE_DIALOG, 0, 100, 100, 320, 240), 0u)
        << wnd.GetBuildError();
    wnd.ShowWindow(true);
    const auto runUntil = [&](const std::function<bool()>& done, int ms) {
        const int64_t until = os::MonotonicMs() + ms;
        while (!done() && os::MonotonicMs() < until) loop.RunOnce(20);
        return done();
    };
    runUntil([] { return false; }, 500);
    Display* dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);

    auto* combo = dynamic_cast<CComboUI*>(wnd.GetPaintManager().FindControl("combo"));
    ASSERT_NE(combo, nullptr);
    UiRect rc = wnd.GetWindowRect();
    UiRect c = combo->GetPos();
    ClickScreen(dpy, rc.left + (c.left + c.right) / 2, rc.top + (c.top + c.bottom) / 2);
    bool dropped = false;
    runUntil(
        [&] {
            for (const auto& n : wnd.Notifications()) dropped |= n.type == "dropdown";
            return dropped;
        },
        10000);
    ASSERT_TRUE(dropped);
    ASSERT_NE(combo->GetDropWindow(), nullptr);
    CComboWnd* drop = combo->GetDropWindow();
    runUntil([] { return false; }, 300);
    UiRect d = drop->GetWindowRect();
    EXPECT_EQ(d.top, rc.top + c.bottom);
    // The third row of the list.
    ClickScreen(dpy, d.left + 20, d.top + 1 + 75);
    EXPECT_TRUE(runUntil([&] { return combo->GetDropWindow() == nullptr; }, 10000));
    EXPECT_EQ(combo->GetCurSel(), 2);

    MenuSink sink;
    wnd.GetPaintManager().AddMessageFilter(&sink);
    UiPoint anchor{rc.left + 200, rc.top + 200};
    CMenuWnd* menu = CMenuWnd::CreateMenu(nullptr, "menu.xml", anchor, &wnd.GetPaintManager(),
                                          nullptr, eMenuAlignment_Right | eMenuAlignment_Bottom);
    ASSERT_NE(menu, nullptr);
    runUntil([] { return false; }, 500);
    UiRect m = menu->GetWindowRect();
    EXPECT_EQ(m.right, anchor.x);
    EXPECT_EQ(m.bottom, anchor.y);
    SaveScreen(dpy, UiRect{rc.left, rc.top, rc.right, rc.bottom}, dir + "/popups.png");
    EXPECT_TRUE(std::filesystem::file_size(dir + "/popups.png") > 0);
    ClickScreen(dpy, m.left + 20, m.top + 45);  // "Exit"
    EXPECT_TRUE(runUntil([&] { return !sink.chosen.empty(); }, 10000));
    EXPECT_EQ(sink.chosen, "exit");

    wnd.GetPaintManager().RemoveMessageFilter(&sink);
    XCloseDisplay(dpy);
    wnd.DestroyWindow();
    UninstallSdlBackend();
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace toolkit
