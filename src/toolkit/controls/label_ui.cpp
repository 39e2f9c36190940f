#include "toolkit/controls/label_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

CLabelUI::CLabelUI() {
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
}

std::string_view CLabelUI::GetClass() const {
    return "Label";
}

void CLabelUI::SetText(const std::string& text) {
    if (text == m_sText) return;
    CControlUI::SetText(text);
    if (m_bAutoCalcWidth) NeedParentUpdate();
}

void CLabelUI::SetAutoCalcWidth(bool on) {
    m_bAutoCalcWidth = on;
    NeedParentUpdate();
}

uint32_t CLabelUI::GetStateTextColor() const {
    if (!IsEnabled() && m_dwDisabledTextColor != 0) return m_dwDisabledTextColor;
    return m_dwTextColor != 0 ? m_dwTextColor : 0xFF000000u;
}

void CLabelUI::PaintText(cairo_t* cr) {
    std::string text = GetText();
    if (text.empty()) return;
    UiRect rc = m_rcItem;
    rc.Deflate(GetTextPadding());
    CRenderEngine::DrawText(cr, m_pManager, rc, text,
                            m_pManager->GetAdjustColor(GetStateTextColor()), m_iFont, m_uTextStyle);
}

UiSize CLabelUI::EstimateSize(UiSize available) {
    UiSize sz = CControlUI::EstimateSize(available);
    if (m_bAutoCalcWidth && m_pManager != nullptr) {
        UiRect pad = GetTextPadding();
        UiSize text = CRenderEngine::MeasureText(m_pManager, GetText(), m_iFont, m_uTextStyle, 0);
        sz.cx = text.cx + pad.left + pad.right;
    }
    return sz;
}

bool CLabelUI::SetAttribute(const std::string& name, const std::string& value) {
    if (EqualsNoCase(name, "autocalcwidth")) {
        bool on = false;
        if (!ParseBool(value, on)) return false;
        SetAutoCalcWidth(on);
        return true;
    }
    return CControlUI::SetAttribute(name, value);
}

}  // namespace toolkit
