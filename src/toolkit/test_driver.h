#pragma once

#include <cstdint>
#include <string>

#include "toolkit/ui_types.h"

namespace toolkit {

class CControlUI;
class CPaintManagerUI;
class CWindowWnd;

// Drives a window as a user would, without a display: finds controls by name, sends pointer and
// key input at their rectangles as window messages, advances the virtual timer clock and renders
// the window. Every action first lays out and paints what is pending, so rectangles are current.
// Actions return false (and keep the reason in LastError) when the control is missing, hidden
// or outside the window. A window may delete itself when it is closed (popups, message boxes):
// from then on every action fails with "the window is gone" and nothing of it is touched.
class UiTestDriver {
  public:
    UiTestDriver(CWindowWnd& window, CPaintManagerUI& manager);

    CControlUI* Find(const std::string& name) const;
    template <class T>
    T* FindAs(const std::string& name) const {
        return dynamic_cast<T*>(Find(name));
    }
    // The centre of a visible control's rectangle.
    bool CenterOf(const std::string& name, UiPoint& pt);
    // The same for a control in hand; label names it in the reason of a failure.
    bool CenterOf(CControlUI* control, const std::string& label, UiPoint& pt);

    bool MoveTo(UiPoint pt);
    bool Press(UiPoint pt);    // left button down
    bool Release(UiPoint pt);  // left button up
    bool Click(UiPoint pt);
    bool Click(const std::string& name);
    bool DoubleClick(const std::string& name);
    bool Click(CControlUI* control, const std::string& label);
    bool DoubleClick(CControlUI* control, const std::string& label);
    bool RightClick(const std::string& name);
    // Press at from, move in steps, release at to.
    bool Drag(UiPoint from, UiPoint to, int steps = 4);
    bool DragFrom(const std::string& name, UiPoint to, int steps = 4);
    // Wheel notches over a control: positive away from the user.
    bool Scroll(const std::string& name, int notches);
    // Key down and up to the focused control.
    bool Key(uint32_t vk);
    // Characters to the focused control (UTF-8 in, one WM_CHAR per code point).
    bool Type(const std::string& text);

    // Display events as the display backend delivers them: a monitor changed (WM_DISPLAYCHANGE,
    // the screen's new size) and the window's monitor has a new DPI (WM_DPICHANGED with the
    // window rectangle suggested for it).
    bool DisplayChange(int cx, int cy);
    bool DpiChange(int dpi, const UiRect& suggested);

    // Moves the virtual timer clock (see TimerService::SetVirtual); returns timers delivered.
    int AdvanceTimers(uint32_t ms);
    // Serves posted messages and paints until nothing is pending.
    void Pump();
    // Lays out and paints what is pending.
    void Render();
    bool SavePng(const std::string& path);
    // Straight (not premultiplied) 0xAARRGGBB of a window pixel.
    uint32_t PixelAt(int x, int y);

    const std::string& LastError() const { return m_error; }

  private:
    // Whether the window still exists; its handle is remembered once it has one, as the window
    // object itself may be gone.
    bool Alive();
    bool Send(uint32_t msg, WPARAM wParam, LPARAM lParam);
    bool Fail(const std::string& why);

    CWindowWnd& m_window;
    CPaintManagerUI& m_pm;
    HWND m_hwnd = 0;
    std::string m_error;
};

}  // namespace toolkit
