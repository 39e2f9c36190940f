#include "ui/controls/hand_img_button_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"
#include "ui/controls/hover_notify.h"

namespace ui {

using toolkit::AttributeEntry;
using toolkit::AttrText;
using toolkit::TEventUI;
using toolkit::UISTATE_CAPTURED;
using toolkit::UISTATE_PUSHED;

namespace {

constexpr AttributeEntry<CHandImgButtonUI> kAttributes[] = {
    {"handimage", AttrText<CHandImgButtonUI, &CHandImgButtonUI::SetHandImage>},
};

}  // namespace

std::string_view CHandImgButtonUI::GetClass() const {
    return "HandImgButton";
}

void CHandImgButtonUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case toolkit::UIEVENT_BUTTONDOWN:
        case toolkit::UIEVENT_DBLCLICK:
            if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case toolkit::UIEVENT_BUTTONUP:
            if ((m_uButtonState & UISTATE_CAPTURED) == 0) return;
            if (m_rcItem.Contains(event.ptMouse)) Activate();
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            return;
        case toolkit::UIEVENT_MOUSEMOVE:
            if (TrackPushed(m_uButtonState, m_rcItem, event.ptMouse)) Invalidate();
            return;
        default:
            break;
    }
    NotifyHover(*this, m_uButtonState, event);
    CButtonUI::DoEvent(event);
}

bool CHandImgButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = toolkit::FindAttribute(kAttributes, name))
        return entry->apply(*this, value);
    return CButtonUI::SetAttribute(name, value);
}

void CHandImgButtonUI::SetHandImage(const std::string& image) {
    m_sHandImage = image;
    Invalidate();
}

void CHandImgButtonUI::PaintStatusImage(cairo_t* cr) {
    CButtonUI::PaintStatusImage(cr);
    if (!m_sHandImage.empty()) DrawImage(cr, m_sHandImage);
}

}  // namespace ui
