#include "toolkit/test_driver.h"

#include <cairo.h>

#include "os/message_loop.h"
#include "toolkit/control_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/timer_service.h"
#include "toolkit/window_wnd.h"

namespace toolkit {

namespace {

// Decodes one UTF-8 code point; advances i. Invalid bytes give U+FFFD.
uint32_t NextCodePoint(const std::string& s, size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    if (extra < 0) return 0xFFFD;
    uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) >> 6) != 2) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

}  // namespace

UiTestDriver::UiTestDriver(CWindowWnd& window, CPaintManagerUI& manager)
    : m_window(window), m_pm(manager), m_hwnd(window.GetHWND()) {}

bool UiTestDriver::Alive() {
    // A window not created yet cannot have deleted itself; its handle is taken when it appears.
    if (m_hwnd == 0) m_hwnd = m_window.GetHWND();
    return m_hwnd == 0 || CWindowWnd::FromHandle(m_hwnd) == &m_window;
}

bool UiTestDriver::Fail(const std::string& why) {
    m_error = why;
    return false;
}

CControlUI* UiTestDriver::Find(const std::string& name) const {
    // The handle only grows from 0 once; a window that never had one is still there.
    if (m_hwnd != 0 && CWindowWnd::FromHandle(m_hwnd) != &m_window) return nullptr;
    return m_pm.FindControl(name);
}

bool UiTestDriver::CenterOf(const std::string& name, UiPoint& pt) {
    if (!Alive()) return Fail("the window is gone");
    Render();
    return CenterOf(Find(name), name, pt);
}

bool UiTestDriver::CenterOf(CControlUI* c, const std::string& name, UiPoint& pt) {
    Render();
    if (c == nullptr) return Fail("no control named '" + name + "'");
    if (!c->IsVisible()) return Fail("control '" + name + "' is hidden");
    const UiRect& rc = c->GetPos();
    if (rc.IsEmpty()) return Fail("control '" + name + "' has an empty rectangle");
    pt = UiPoint{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    UiSize client = m_pm.GetClientSize();
    if (pt.x < 0 || pt.y < 0 || pt.x >= client.cx || pt.y >= client.cy) {
        return Fail("control '" + name + "' lies outside the window");
    }
    return true;
}

bool UiTestDriver::Send(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    if (!Alive() || m_window.GetHWND() == 0) return Fail("the window is gone");
    m_window.HandleMessage(msg, wParam, lParam);
    return true;
}

bool UiTestDriver::MoveTo(UiPoint pt) {
    Render();
    return Send(os::WM_MOUSEMOVE, 0, MakePointLParam(pt.x, pt.y));
}

bool UiTestDriver::Press(UiPoint pt) {
    if (!MoveTo(pt)) return false;
    return Send(os::WM_LBUTTONDOWN, MK_LBUTTON, MakePointLParam(pt.x, pt.y));
}

bool UiTestDriver::Release(UiPoint pt) {
    Render();
    return Send(os::WM_LBUTTONUP, 0, MakePointLParam(pt.x, pt.y));
}

bool UiTestDriver::Click(UiPoint pt) {
    return Press(pt) && Release(pt);
}

bool UiTestDriver::Click(const std::string& name) {
    UiPoint pt;
    return CenterOf(name, pt) && Click(pt);
}

bool UiTestDriver::Click(CControlUI* control, const std::string& label) {
    UiPoint pt;
    return CenterOf(control, label, pt) && Click(pt);
}

bool UiTestDriver::DoubleClick(const std::string& name) {
    return DoubleClick(Find(name), name);
}

bool UiTestDriver::DoubleClick(CControlUI* control, const std::string& label) {
    UiPoint pt;
    if (!CenterOf(control, label, pt) || !Click(pt)) return false;
    // The second press of a double click arrives as its own message, as on the desktop.
    return Send(os::WM_LBUTTONDBLCLK, MK_LBUTTON, MakePointLParam(pt.x, pt.y)) && Release(pt);
}

bool UiTestDriver::RightClick(const std::string& name) {
    UiPoint pt;
    if (!CenterOf(name, pt) || !MoveTo(pt)) return false;
    return Send(os::WM_RBUTTONDOWN, MK_RBUTTON, MakePointLParam(pt.x, pt.y)) &&
           Send(os::WM_RBUTTONUP, 0, MakePointLParam(pt.x, pt.y));
}

bool UiTestDriver::Drag(UiPoint from, UiPoint to, int steps) {
    if (!Press(from)) return false;
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i) {
        UiPoint p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        Render();
        if (!Send(os::WM_MOUSEMOVE, MK_LBUTTON, MakePointLParam(p.x, p.y))) return false;
    }
    return Release(to);
}

bool UiTestDriver::DragFrom(const std::string& name, UiPoint to, int steps) {
    UiPoint pt;
    return CenterOf(name, pt) && Drag(pt, to, steps);
}

bool UiTestDriver::Scroll(const std::string& name, int notches) {
    UiPoint pt;
    if (!CenterOf(name, pt) || !MoveTo(pt)) return false;
    int step = notches > 0 ? 1 : -1;
    for (int i = 0; i != notches; i += step) {
        auto delta = static_cast<uint16_t>(static_cast<int16_t>(120 * step));
        if (!Send(os::WM_MOUSEWHEEL, static_cast<WPARAM>(delta) << 16, MakePointLParam(pt.x, pt.y)))
            return false;
    }
    return true;
}

bool UiTestDriver::DisplayChange(int cx, int cy) {
    return Send(os::WM_DISPLAYCHANGE, 32, MakePointLParam(cx, cy));
}

bool UiTestDriver::DpiChange(int dpi, const UiRect& suggested) {
    const auto d = static_cast<WPARAM>(static_cast<uint16_t>(dpi));
    return Send(os::WM_DPICHANGED, (d << 16) | d, reinterpret_cast<LPARAM>(&suggested));
}

bool UiTestDriver::Key(uint32_t vk) {
    Render();
    return Send(os::WM_KEYDOWN, vk, 0) && Send(os::WM_KEYUP, vk, 0);
}

bool UiTestDriver::Type(const std::string& text) {
    Render();
    for (size_t i = 0; i < text.size();) {
        if (!Send(os::WM_CHAR, NextCodePoint(text, i), 0)) return false;
    }
    return true;
}

int UiTestDriver::AdvanceTimers(uint32_t ms) {
    Render();
    int n = TimerService::AdvanceVirtualTime(ms);
    Render();
    return n;
}

void UiTestDriver::Pump() {
    os::MessageLoop* loop = os::MessageLoop::Current();
    for (int i = 0; i < 100; ++i) {
        if (loop != nullptr) loop->RunOnce(0);
        // What the loop served may have closed the window for good.
        if (!Alive() || !m_pm.HasPendingPaint()) break;
        Render();
    }
}

void UiTestDriver::Render() {
    if (Alive() && m_pm.HasPendingPaint()) m_pm.Paint();
}

bool UiTestDriver::SavePng(const std::string& path) {
    if (!Alive()) return Fail("the window is gone");
    Render();
    cairo_surface_t* s = m_pm.GetSurface();
    if (s == nullptr) return Fail("the window has no surface");
    if (cairo_surface_write_to_png(s, path.c_str()) != CAIRO_STATUS_SUCCESS) {
        return Fail("cannot write " + path);
    }
    return true;
}

uint32_t UiTestDriver::PixelAt(int x, int y) {
    if (!Alive()) return 0;
    Render();
    cairo_surface_t* s = m_pm.GetSurface();
    if (s == nullptr || x < 0 || y < 0 || x >= cairo_image_surface_get_width(s) ||
        y >= cairo_image_surface_get_height(s))
        return 0;
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    uint32_t px =
        *reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(s) + x * 4);
    uint32_t a = px >> 24;
    if (a == 0) return 0;
    auto un = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (un((px >> 16) & 0xFF) << 16) | (un((px >> 8) & 0xFF) << 8) | un(px & 0xFF);
}

}  // namespace toolkit
