#pragma once

#include <cstdint>

#include "toolkit/controls/button_ui.h"
#include "toolkit/paint_manager_ui.h"

namespace ui {

// The hover half of the picture buttons: the window shows a hint while the pointer is over
// them, so entering and leaving an enabled button is notified as "msenter" and "msleave".
// state is the button's state flags; the event still goes on to the button afterwards.
inline void NotifyHover(toolkit::CButtonUI& button, uint32_t& state,
                        const toolkit::TEventUI& event) {
    if (!button.IsEnabled()) return;
    const char* type = nullptr;
    if (event.Type == toolkit::UIEVENT_MOUSEENTER) {
        state |= toolkit::UISTATE_HOT;
        type = toolkit::DUI_MSGTYPE_MOUSEENTER;
    } else if (event.Type == toolkit::UIEVENT_MOUSELEAVE) {
        state &= ~toolkit::UISTATE_HOT;
        type = toolkit::DUI_MSGTYPE_MOUSELEAVE;
    } else {
        return;
    }
    if (button.GetManager() != nullptr) button.GetManager()->SendNotify(&button, type);
    button.Invalidate();
}

// While a picture button holds the pointer, it looks pushed only with the pointer over it.
// Returns whether the button is captured (and so its look may have changed).
inline bool TrackPushed(uint32_t& state, const toolkit::UiRect& rc, toolkit::UiPoint pt) {
    if ((state & toolkit::UISTATE_CAPTURED) == 0) return false;
    if (rc.Contains(pt))
        state |= toolkit::UISTATE_PUSHED;
    else
        state &= ~toolkit::UISTATE_PUSHED;
    return true;
}

}  // namespace ui
