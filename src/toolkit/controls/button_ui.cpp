#include "toolkit/controls/button_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<CButtonUI> kButtonAttributes[] = {
    {"normalimage", AttrText<CButtonUI, &CButtonUI::SetNormalImage>},
    {"hotimage", AttrText<CButtonUI, &CButtonUI::SetHotImage>},
    {"pushedimage", AttrText<CButtonUI, &CButtonUI::SetPushedImage>},
    {"focusedimage", AttrText<CButtonUI, &CButtonUI::SetFocusedImage>},
    {"disabledimage", AttrText<CButtonUI, &CButtonUI::SetDisabledImage>},
    {"hottextcolor", AttrColor<CButtonUI, &CButtonUI::SetHotTextColor>},
    {"pushedtextcolor", AttrColor<CButtonUI, &CButtonUI::SetPushedTextColor>},
    {"focusedtextcolor", AttrColor<CButtonUI, &CButtonUI::SetFocusedTextColor>},
    {"hotbkcolor", AttrColor<CButtonUI, &CButtonUI::SetHotBkColor>},
};

}  // namespace

CButtonUI::CButtonUI() {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

std::string_view CButtonUI::GetClass() const {
    return "Button";
}

bool CButtonUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
        case UIEVENT_KILLFOCUS:
            CLabelUI::DoEvent(event);
            return;
        case UIEVENT_KEYDOWN:
            if (IsKeyboardEnabled() && IsEnabled() &&
                (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
                Activate();
                return;
            }
            break;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
                if (m_rcItem.Contains(event.ptMouse))
                    m_uButtonState |= UISTATE_PUSHED;
                else
                    m_uButtonState &= ~UISTATE_PUSHED;
                Invalidate();
            }
            return;
        case UIEVENT_BUTTONUP:
            if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
                if (m_rcItem.Contains(event.ptMouse)) Activate();
            }
            return;
        case UIEVENT_CONTEXTMENU:
            if (IsContextMenuUsed() && m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
            }
            return;
        case UIEVENT_MOUSEENTER:
        case UIEVENT_MOUSELEAVE:
            TrackHot(event, m_uButtonState);
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

const std::string& CButtonUI::StateImage() const {
    if (!IsEnabled()) {
        if (!m_sDisabledImage.empty()) return m_sDisabledImage;
    } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
        if (!m_sPushedImage.empty()) return m_sPushedImage;
        if (!m_sHotImage.empty()) return m_sHotImage;
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        if (!m_sHotImage.empty()) return m_sHotImage;
    } else if (IsFocused()) {
        if (!m_sFocusedImage.empty()) return m_sFocusedImage;
    }
    return m_sNormalImage;
}

void CButtonUI::PaintStatusImage(cairo_t* cr) {
    const std::string& image = StateImage();
    if (!image.empty()) DrawImage(cr, image);
}

void CButtonUI::PaintBkColor(cairo_t* cr) {
    if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotBkColor != 0) {
        CRenderEngine::DrawColor(cr, m_rcPaint, m_pManager->GetAdjustColor(m_dwHotBkColor));
        return;
    }
    CLabelUI::PaintBkColor(cr);
}

uint32_t CButtonUI::GetStateTextColor() const {
    if (IsEnabled()) {
        if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0)
            return m_dwPushedTextColor;
        if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) return m_dwHotTextColor;
        if (IsFocused() && m_dwFocusedTextColor != 0) return m_dwFocusedTextColor;
    }
    return CLabelUI::GetStateTextColor();
}

bool CButtonUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kButtonAttributes, name))
        return entry->apply(*this, value);
    return CLabelUI::SetAttribute(name, value);
}

}  // namespace toolkit
