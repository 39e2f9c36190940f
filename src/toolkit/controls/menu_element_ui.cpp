#include "toolkit/controls/menu_element_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

CMenuElementUI::CMenuElementUI() {
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
}

std::string_view CMenuElementUI::GetClass() const {
    return "MenuElement";
}

UiSize CMenuElementUI::EstimateSize(UiSize available) {
    UiSize sz = CListContainerElementUI::EstimateSize(available);
    if (sz.cy == 0) sz.cy = Scale(25);
    return sz;
}

void CMenuElementUI::SetChecked(bool on) {
    m_bChecked = on;
    Invalidate();
}

void CMenuElementUI::PaintText(cairo_t* cr) {
    std::string text = GetText();
    if (text.empty()) return;
    const TListInfoUI* info = m_item.owner != nullptr ? m_item.owner->GetListInfo() : nullptr;
    UiRect rc = m_rcItem;
    rc.Deflate(GetTextPadding());
    if (info != nullptr) {
        UiRect pad = info->rcTextPadding;
        rc.Deflate(UiRect{Scale(pad.left), Scale(pad.top), Scale(pad.right), Scale(pad.bottom)});
    }
    uint32_t color = m_dwTextColor != 0 && !m_item.hot ? m_dwTextColor : m_item.TextColor(*this);
    int font = m_iFont >= 0 || info == nullptr ? m_iFont : info->nFont;
    CRenderEngine::DrawText(cr, m_pManager, rc, text, m_pManager->GetAdjustColor(color), font,
                            m_uTextStyle);
}

bool CMenuElementUI::AddAt(CControlUI* control, int index) {
    if (!CListContainerElementUI::AddAt(control, index)) return false;
    if (dynamic_cast<CMenuElementUI*>(control) != nullptr) control->SetInternVisible(false);
    return true;
}

void CMenuElementUI::SetInternVisible(bool visible) {
    CListContainerElementUI::SetInternVisible(visible);
    for (int i = 0; i < GetCount(); ++i) {
        if (auto* e = dynamic_cast<CMenuElementUI*>(GetItemAt(i))) e->SetInternVisible(false);
    }
}

bool CMenuElementUI::HasSubMenu() const {
    for (int i = 0; i < GetCount(); ++i) {
        if (dynamic_cast<CMenuElementUI*>(GetItemAt(i)) != nullptr) return true;
    }
    return false;
}

bool CMenuElementUI::SetAttribute(const std::string& name, const std::string& value) {
    if (EqualsNoCase(name, "checked")) {
        bool on = false;
        if (!ParseBool(value, on)) return false;
        SetChecked(on);
        return true;
    }
    return CListContainerElementUI::SetAttribute(name, value);
}

}  // namespace toolkit
