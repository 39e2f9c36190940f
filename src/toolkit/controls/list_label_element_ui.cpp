#include "toolkit/controls/list_label_element_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"

namespace toolkit {

CListLabelElementUI::CListLabelElementUI() = default;

std::string_view CListLabelElementUI::GetClass() const {
    return "ListLabelElement";
}

UiSize CListLabelElementUI::EstimateSize(UiSize available) {
    UiSize sz = CListElementUI::EstimateSize(available);
    if (sz.cy == 0 && m_pManager != nullptr) {
        // Without a height the item is as tall as its text plus the padding.
        const TListInfoUI* info = m_item.owner != nullptr ? m_item.owner->GetListInfo() : nullptr;
        int font = info != nullptr ? info->nFont : m_iFont;
        UiSize text = CRenderEngine::MeasureText(m_pManager, GetText().empty() ? "Ag" : GetText(),
                                                 font, DT_SINGLELINE, 0);
        int pad = info != nullptr ? Scale(info->rcTextPadding.top + info->rcTextPadding.bottom) : 0;
        sz.cy = text.cy + pad + Scale(8);
    }
    return sz;
}

void CListLabelElementUI::DrawItemText(cairo_t* cr, const UiRect& rcArea, const std::string& text) {
    if (text.empty()) return;
    const TListInfoUI* info = m_item.owner != nullptr ? m_item.owner->GetListInfo() : nullptr;
    UiRect rc = rcArea;
    if (info != nullptr) {
        UiRect pad = info->rcTextPadding;
        rc.Deflate(UiRect{Scale(pad.left), Scale(pad.top), Scale(pad.right), Scale(pad.bottom)});
    }
    uint32_t color = m_dwTextColor != 0 && !m_item.selected && !m_item.hot
                         ? m_dwTextColor
                         : m_item.TextColor(*this);
    int font = m_iFont >= 0 || info == nullptr ? m_iFont : info->nFont;
    uint32_t style = info != nullptr ? info->uTextStyle : m_uTextStyle;
    CRenderEngine::DrawText(cr, m_pManager, rc, text, m_pManager->GetAdjustColor(color), font,
                            style | DT_END_ELLIPSIS);
}

void CListLabelElementUI::PaintText(cairo_t* cr) {
    DrawItemText(cr, m_rcItem, GetText());
}

}  // namespace toolkit
