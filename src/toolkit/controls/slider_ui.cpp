#include "toolkit/controls/slider_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<CSliderUI> kSliderAttributes[] = {
    {"step", AttrInt<CSliderUI, &CSliderUI::SetChangeStep>},
    {"thumbsize", AttrSize<CSliderUI, &CSliderUI::SetThumbSize>},
    {"thumbimage", AttrText<CSliderUI, &CSliderUI::SetThumbImage>},
    {"thumbhotimage", AttrText<CSliderUI, &CSliderUI::SetThumbHotImage>},
    {"thumbpushedimage", AttrText<CSliderUI, &CSliderUI::SetThumbPushedImage>},
    {"sendmove", AttrBool<CSliderUI, &CSliderUI::SetSendMove>},
};

}  // namespace

CSliderUI::CSliderUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
}

std::string_view CSliderUI::GetClass() const {
    return "Slider";
}

UiSize CSliderUI::GetThumbSize() const {
    return UiSize{Scale(m_szThumb.cx), Scale(m_szThumb.cy)};
}

UiRect CSliderUI::GetThumbRect() const {
    UiSize thumb = GetThumbSize();
    int range = std::max(1, m_nMax - m_nMin);
    if (m_bHorizontal) {
        int travel = std::max(0, m_rcItem.GetWidth() - thumb.cx);
        int left = m_rcItem.left +
                   static_cast<int>(static_cast<int64_t>(m_nValue - m_nMin) * travel / range);
        int top = (m_rcItem.top + m_rcItem.bottom - thumb.cy) / 2;
        return UiRect{left, top, left + thumb.cx, top + thumb.cy};
    }
    int travel = std::max(0, m_rcItem.GetHeight() - thumb.cy);
    int top = m_rcItem.bottom - thumb.cy -
              static_cast<int>(static_cast<int64_t>(m_nValue - m_nMin) * travel / range);
    int left = (m_rcItem.left + m_rcItem.right - thumb.cx) / 2;
    return UiRect{left, top, left + thumb.cx, top + thumb.cy};
}

int CSliderUI::ValueAt(UiPoint pt) const {
    UiSize thumb = GetThumbSize();
    int range = m_nMax - m_nMin;
    if (range <= 0) return m_nMin;
    int64_t value;
    if (m_bHorizontal) {
        int travel = m_rcItem.GetWidth() - thumb.cx;
        if (travel <= 0) return m_nMin;
        int offset = pt.x - m_rcItem.left - thumb.cx / 2;
        value = m_nMin + (static_cast<int64_t>(offset) * range + travel / 2) / travel;
    } else {
        int travel = m_rcItem.GetHeight() - thumb.cy;
        if (travel <= 0) return m_nMin;
        int offset = m_rcItem.bottom - pt.y - thumb.cy / 2;
        value = m_nMin + (static_cast<int64_t>(offset) * range + travel / 2) / travel;
    }
    return static_cast<int>(std::clamp<int64_t>(value, m_nMin, m_nMax));
}

void CSliderUI::TrackTo(UiPoint pt) {
    int before = m_nValue;
    SetValue(ValueAt(pt));
    if (m_bSendMove && m_nValue != before && m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_MOVEVALUECHANGED);
    }
    Invalidate();
}

void CSliderUI::SetEnabled(bool enabled) {
    CProgressUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CSliderUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CProgressUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled() && m_rcItem.Contains(event.ptMouse)) {
                m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
                TrackTo(event.ptMouse);
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if ((m_uButtonState & UISTATE_CAPTURED) != 0) TrackTo(event.ptMouse);
            return;
        case UIEVENT_BUTTONUP:
            if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
                m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
                SetValue(ValueAt(event.ptMouse));
                Invalidate();
                if (m_pManager != nullptr) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
            }
            return;
        case UIEVENT_SCROLLWHEEL:
            if (IsEnabled()) {
                // wParam 0: wheel away from the user (up), 1: towards.
                int before = m_nValue;
                SetValue(m_nValue + (event.wParam == 0 ? m_nStep : -m_nStep));
                if (m_nValue != before && m_pManager != nullptr) {
                    m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
                }
            }
            return;
        case UIEVENT_MOUSEENTER:
        case UIEVENT_MOUSELEAVE:
            TrackHot(event, m_uButtonState);
            return;
        default:
            break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::PaintStatusImage(cairo_t* cr) {
    CProgressUI::PaintStatusImage(cr);
    const std::string* image = &m_sThumbImage;
    if ((m_uButtonState & UISTATE_CAPTURED) != 0 && !m_sThumbPushedImage.empty()) {
        image = &m_sThumbPushedImage;
    } else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sThumbHotImage.empty()) {
        image = &m_sThumbHotImage;
    }
    if (image->empty()) return;
    CRenderEngine::DrawImageString(cr, m_pManager, GetThumbRect(), m_rcPaint, *image);
}

bool CSliderUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kSliderAttributes, name))
        return entry->apply(*this, value);
    return CProgressUI::SetAttribute(name, value);
}

}  // namespace toolkit
