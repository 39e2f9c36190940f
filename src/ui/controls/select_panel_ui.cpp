#include "ui/controls/select_panel_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "ui/controls/device_key_button_ui.h"

namespace ui {

using toolkit::TEventUI;
using toolkit::UiRect;

std::string_view CSelectPanelUI::GetClass() const {
    return "SelectPanel";
}

void CSelectPanelUI::DoEvent(TEventUI& event) {
    // The separator state is read before the column handles the event: the column clears it on
    // the button up that ends a separator drag, and that release must not also end a band.
    const bool separatorDrag = IsCaptured();
    CVerticalLayoutUI::DoEvent(event);

    switch (event.Type) {
        case toolkit::UIEVENT_BUTTONDOWN:
            if (IsEnabled()) {
                m_bPressed = true;
                m_ptStart = event.ptMouse;
            }
            break;
        case toolkit::UIEVENT_MOUSEMOVE:
            if (IsCaptured()) {
                m_ptCurrent = event.ptMouse;
                NeedUpdate();
            }
            if (m_bPressed) m_bDragging = true;
            if (m_bDragging) {
                m_ptCurrent = event.ptMouse;
                m_rcSelection = UiRect{
                    std::min(m_ptStart.x, m_ptCurrent.x), std::min(m_ptStart.y, m_ptCurrent.y),
                    std::max(m_ptStart.x, m_ptCurrent.x), std::max(m_ptStart.y, m_ptCurrent.y)};
                NeedUpdate();
            }
            break;
        case toolkit::UIEVENT_BUTTONUP:
            if (separatorDrag || IsCaptured()) {
                SetCaptured(false);
                m_bPressed = false;
                m_bDragging = false;
                m_ptStart = m_ptCurrent;
            }
            m_bPressed = false;
            if (m_bDragging) {
                m_bDragging = false;
                m_ptStart = m_ptCurrent;
                FinishBand();
            }
            break;
        default:
            break;
    }
}

void CSelectPanelUI::FinishBand() {
    // Only direct children count: the key buttons of a device picture sit directly in it, and
    // buttons nested in other containers belong to other panels. Hidden and disabled keys are
    // still selected, so that a band over a whole keyboard area takes every key of it.
    for (toolkit::CControlUI* child : m_items) {
        if (child->GetClass() != "DeviceKeyButton") continue;
        auto* key = dynamic_cast<CDeviceKeyButtonUI*>(child);
        if (key == nullptr) continue;  // a foreign class borrowing the name has no flag
        UiRect overlap;
        key->SetBandSelected(overlap.Intersect(key->GetPos(), m_rcSelection));
    }
    NeedUpdate();
    if (m_pManager != nullptr) m_pManager->SendNotify(this, "click_select_end");
}

}  // namespace ui
