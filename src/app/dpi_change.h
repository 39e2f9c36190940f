#pragma once

#include "toolkit/window_impl_base.h"

namespace app {

// What a window of the program does on WM_DPICHANGED (wParam: the new DPI in its low word; lParam:
// a const toolkit::UiRect* with the suggested window rectangle, or 0): the paint manager takes the
// DPI and drops its DPI assets, the window moves to the suggested rectangle and is centred, and
// the root is marked for a new layout. Writes "界面 DPI 发生变化".
void ApplyDpiChange(toolkit::WindowImplBase& window, toolkit::WPARAM wParam,
                    toolkit::LPARAM lParam);

// The lParam of a WM_DPICHANGED that suggests rc.
inline toolkit::LPARAM DpiChangeLParam(const toolkit::UiRect* rc) {
    return reinterpret_cast<toolkit::LPARAM>(rc);
}

}  // namespace app
