#pragma once

#include <cstdint>

namespace os {

// Message parameters and results, with the widths the system's messages use.
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// A message target ("window" as far as messages go). 0 is no target.
using HWND = uint32_t;

// Well-known window message numbers; the system's own tables use these values.
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CREATE = 0x0001;
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_MOVE = 0x0003;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_ACTIVATE = 0x0006;
inline constexpr uint32_t WM_SETFOCUS = 0x0007;
inline constexpr uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr uint32_t WM_COPYDATA = 0x004A;
inline constexpr uint32_t WM_NCHITTEST = 0x0084;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr uint32_t WM_XBUTTONDOWN = 0x020B;
inline constexpr uint32_t WM_XBUTTONUP = 0x020C;
inline constexpr uint32_t WM_POWERBROADCAST = 0x0218;
inline constexpr uint32_t WM_DEVICECHANGE = 0x0219;
inline constexpr uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr uint32_t WM_DPICHANGED = 0x02E0;
inline constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;
inline constexpr uint32_t WM_USER = 0x0400;
inline constexpr uint32_t WM_APP = 0x8000;

// Registered message numbers lie in this range.
inline constexpr uint32_t kRegisteredMessageFirst = 0xC000;
inline constexpr uint32_t kRegisteredMessageLast = 0xFFFF;

// The record of a WM_COPYDATA message (its LPARAM points at one for the time of the call).
struct COPYDATASTRUCT {
    uintptr_t dwData;  // the record's identifier
    uint32_t cbData;   // byte count
    const void* lpData;
};

}  // namespace os
