#pragma once

// Plain records and small interfaces shared by every part of the toolkit: rectangles, events,
// notifications and the callbacks a window implements.

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>

#include "os/messages.h"

namespace toolkit {

using os::HWND;
using os::LPARAM;
using os::LRESULT;
using os::WPARAM;

struct UiPoint {
    int x = 0;
    int y = 0;
    bool operator==(const UiPoint&) const = default;
};

struct UiSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const UiSize&) const = default;
};

// Half-open rectangle: right and bottom lie just outside, as window rectangles do.
struct UiRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(UiPoint pt) const {
        return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom;
    }
    void Offset(int dx, int dy) {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void Deflate(const UiRect& by) {
        left += by.left;
        top += by.top;
        right -= by.right;
        bottom -= by.bottom;
    }
    // Intersection; false (and an empty result) when the two do not overlap.
    bool Intersect(const UiRect& a, const UiRect& b) {
        left = std::max(a.left, b.left);
        top = std::max(a.top, b.top);
        right = std::min(a.right, b.right);
        bottom = std::min(a.bottom, b.bottom);
        if (IsEmpty()) {
            *this = UiRect{};
            return false;
        }
        return true;
    }
    void Union(const UiRect& r) {
        if (r.IsEmpty()) return;
        if (IsEmpty()) {
            *this = r;
            return;
        }
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
    }
    bool operator==(const UiRect&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const UiRect& r) {
    return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
inline std::ostream& operator<<(std::ostream& os, const UiSize& s) {
    return os << "{" << s.cx << "," << s.cy << "}";
}
inline std::ostream& operator<<(std::ostream& os, const UiPoint& p) {
    return os << "(" << p.x << "," << p.y << ")";
}

// Mouse position packed into an LPARAM the way window messages carry it.
inline LPARAM MakePointLParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                               static_cast<uint16_t>(x));
}
inline UiPoint PointFromLParam(LPARAM l) {
    return UiPoint{static_cast<int16_t>(l & 0xFFFF), static_cast<int16_t>((l >> 16) & 0xFFFF)};
}

// Text layout flags of label-like controls.
inline constexpr uint32_t DT_LEFT = 0x0000;
inline constexpr uint32_t DT_CENTER = 0x0001;
inline constexpr uint32_t DT_RIGHT = 0x0002;
inline constexpr uint32_t DT_VCENTER = 0x0004;
inline constexpr uint32_t DT_BOTTOM = 0x0008;
inline constexpr uint32_t DT_WORDBREAK = 0x0010;
inline constexpr uint32_t DT_SINGLELINE = 0x0020;
inline constexpr uint32_t DT_CALCRECT = 0x0400;
inline constexpr uint32_t DT_NOPREFIX = 0x0800;
inline constexpr uint32_t DT_END_ELLIPSIS = 0x8000;

// Button states, kept as flags so that hot, pushed and captured combine.
inline constexpr uint32_t UISTATE_FOCUSED = 0x01;
inline constexpr uint32_t UISTATE_SELECTED = 0x02;
inline constexpr uint32_t UISTATE_DISABLED = 0x04;
inline constexpr uint32_t UISTATE_HOT = 0x08;
inline constexpr uint32_t UISTATE_PUSHED = 0x10;
inline constexpr uint32_t UISTATE_CAPTURED = 0x40;

// Key states carried by mouse events.
inline constexpr uint16_t MK_LBUTTON = 0x0001;
inline constexpr uint16_t MK_RBUTTON = 0x0002;
inline constexpr uint16_t MK_SHIFT = 0x0004;
inline constexpr uint16_t MK_CONTROL = 0x0008;

// Virtual key codes the toolkit's own controls react to.
inline constexpr uint32_t VK_BACK = 0x08;
inline constexpr uint32_t VK_TAB = 0x09;
inline constexpr uint32_t VK_RETURN = 0x0D;
inline constexpr uint32_t VK_ESCAPE = 0x1B;
inline constexpr uint32_t VK_SPACE = 0x20;
inline constexpr uint32_t VK_LEFT = 0x25;
inline constexpr uint32_t VK_UP = 0x26;
inline constexpr uint32_t VK_RIGHT = 0x27;
inline constexpr uint32_t VK_DOWN = 0x28;

enum UiEventType {
    UIEVENT__FIRST = 1,
    UIEVENT__KEYBEGIN,
    UIEVENT_KEYDOWN,
    UIEVENT_KEYUP,
    UIEVENT_CHAR,
    UIEVENT__KEYEND,
    UIEVENT__MOUSEBEGIN,
    UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSELEAVE,
    UIEVENT_MOUSEENTER,
    UIEVENT_MOUSEHOVER,
    UIEVENT_BUTTONDOWN,
    UIEVENT_BUTTONUP,
    UIEVENT_RBUTTONDOWN,
    UIEVENT_RBUTTONUP,
    UIEVENT_DBLCLICK,
    UIEVENT_CONTEXTMENU,
    UIEVENT_SCROLLWHEEL,
    UIEVENT__MOUSEEND,
    UIEVENT_KILLFOCUS,
    UIEVENT_SETFOCUS,
    UIEVENT_WINDOWSIZE,
    UIEVENT_SETCURSOR,
    UIEVENT_TIMER,
    UIEVENT__LAST,
};

class CControlUI;

// One input or timer event handed to a control's DoEvent.
struct TEventUI {
    int Type = 0;
    CControlUI* pSender = nullptr;
    uint64_t dwTimestamp = 0;
    UiPoint ptMouse;
    uint32_t chKey = 0;  // virtual key (key events) or Unicode code point (UIEVENT_CHAR)
    uint16_t wKeyState = 0;
    WPARAM wParam = 0;  // timer id for UIEVENT_TIMER; wheel: 0 up, 1 down
    LPARAM lParam = 0;
};

// One notification from a control to the window ("click", "selectchanged", ...).
struct TNotifyUI {
    std::string sType;
    std::string sVirtualWnd;
    CControlUI* pSender = nullptr;
    uint64_t dwTimestamp = 0;
    UiPoint ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Notification types the toolkit itself sends.
inline constexpr const char* DUI_MSGTYPE_WINDOWINIT = "windowinit";
inline constexpr const char* DUI_MSGTYPE_WINDOWSIZE = "windowsize";
inline constexpr const char* DUI_MSGTYPE_CLICK = "click";
inline constexpr const char* DUI_MSGTYPE_SELECTCHANGED = "selectchanged";
inline constexpr const char* DUI_MSGTYPE_VALUECHANGED = "valuechanged";
inline constexpr const char* DUI_MSGTYPE_MOVEVALUECHANGED = "movevaluechanged";
inline constexpr const char* DUI_MSGTYPE_TABSELECT = "tabselect";
inline constexpr const char* DUI_MSGTYPE_TIMER = "timer";
inline constexpr const char* DUI_MSGTYPE_SETFOCUS = "setfocus";
inline constexpr const char* DUI_MSGTYPE_KILLFOCUS = "killfocus";
inline constexpr const char* DUI_MSGTYPE_MENU = "menu";
inline constexpr const char* DUI_MSGTYPE_MOUSEENTER = "msenter";
inline constexpr const char* DUI_MSGTYPE_MOUSELEAVE = "msleave";

class INotifyUI {
  public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Sees every window message before the controls do; sets handled to stop it there.
class IMessageFilterUI {
  public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(uint32_t uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

// Asked by the skin builder for every class name the toolkit does not know.
class IDialogBuilderCallback {
  public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(const std::string& className) = 0;
};

// Asked for a text id that the loaded language file lacks.
class IQueryControlText {
  public:
    virtual ~IQueryControlText() = default;
    virtual std::string QueryControlText(const std::string& id, const std::string& type) = 0;
};

// Case-insensitive comparison of ASCII names (control names, class names, attribute names).
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToLowerAscii(std::string_view s);

}  // namespace toolkit
