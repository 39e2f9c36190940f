#include "toolkit/controls/scroll_layout_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

CScrollLayoutUI::CScrollLayoutUI() = default;

CScrollLayoutUI::~CScrollLayoutUI() {
    delete m_pVerticalScrollBar;
}

std::string_view CScrollLayoutUI::GetClass() const {
    return "ScrollLayout";
}

void CScrollLayoutUI::EnableScrollBar(bool vertical) {
    if (vertical == (m_pVerticalScrollBar != nullptr)) return;
    if (vertical) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetScrollRange(0);
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetManager(m_pManager, this, false);
        m_pVerticalScrollBar->SetScrollHandler([this](int) {
            SetPos(m_rcItem, false);
            Invalidate();
        });
    } else {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
    }
    NeedUpdate();
}

int CScrollLayoutUI::GetScrollPos() const {
    return m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollPos() : 0;
}

int CScrollLayoutUI::GetScrollRange() const {
    return m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollRange() : 0;
}

void CScrollLayoutUI::SetScrollPos(int pos) {
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetScrollPos(pos);
}

void CScrollLayoutUI::LineUp() {
    if (m_pVerticalScrollBar != nullptr)
        SetScrollPos(GetScrollPos() - m_pVerticalScrollBar->GetLineSize());
}

void CScrollLayoutUI::LineDown() {
    if (m_pVerticalScrollBar != nullptr)
        SetScrollPos(GetScrollPos() + m_pVerticalScrollBar->GetLineSize());
}

void CScrollLayoutUI::EnsureVisible(CControlUI* child) {
    if (m_pVerticalScrollBar == nullptr || child == nullptr || GetItemIndex(child) < 0) return;
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    UiRect rc = child->GetPos();
    int pos = GetScrollPos();
    if (rc.top < inner.top)
        pos -= inner.top - rc.top;
    else if (rc.bottom > inner.bottom)
        pos += std::min(rc.bottom - inner.bottom, rc.top - inner.top);
    SetScrollPos(pos);
}

int CScrollLayoutUI::MeasureContent(int width) const {
    int total = 0;
    int count = 0;
    for (CControlUI* c : m_items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        UiRect pad = c->GetPadding();
        int h = c->GetFixedHeight();
        if (h == 0) h = c->EstimateSize(UiSize{width - pad.left - pad.right, 0}).cy;
        h = std::clamp(h, c->GetMinHeight(), c->GetMaxHeight());
        total += h + pad.top + pad.bottom;
        ++count;
    }
    if (count > 1) total += (count - 1) * GetChildPadding();
    return total;
}

void CScrollLayoutUI::SetPos(UiRect rc, bool needInvalidate) {
    if (m_pVerticalScrollBar == nullptr) {
        CVerticalLayoutUI::SetPos(rc, needInvalidate);
        return;
    }
    CControlUI::SetPos(rc, needInvalidate);
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    int barWidth = m_pVerticalScrollBar->GetFixedWidth();
    // 1. Measure at the full width; a bar that becomes needed narrows the content.
    m_nContentHeight = MeasureContent(inner.GetWidth());
    bool needBar = m_nContentHeight > inner.GetHeight();
    if (needBar) {
        inner.right -= barWidth;
        m_nContentHeight = MeasureContent(inner.GetWidth());
    }
    // 2. The bar's range and place.
    int range = needBar ? m_nContentHeight - inner.GetHeight() : 0;
    m_pVerticalScrollBar->SetPageSize(inner.GetHeight());
    m_pVerticalScrollBar->SetScrollRange(range);
    m_pVerticalScrollBar->SetVisible(needBar);
    if (needBar) {
        m_pVerticalScrollBar->SetPos(
            UiRect{inner.right, inner.top, inner.right + barWidth, inner.bottom}, false);
    }
    // 3. Arrange the children in the content's own height, shifted by the scroll position.
    int pos = m_pVerticalScrollBar->GetScrollPos();
    UiRect content{inner.left, inner.top - pos, inner.right,
                   inner.top - pos + std::max(m_nContentHeight, inner.GetHeight())};
    ArrangeLinear(m_items, content, GetChildPadding(), true);
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[static_cast<size_t>(i)]->IsFloat()) SetFloatPos(i);
    }
}

void CScrollLayoutUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(manager, this, init);
    CVerticalLayoutUI::SetManager(manager, parent, init);
}

void CScrollLayoutUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_SCROLLWHEEL && m_pVerticalScrollBar != nullptr &&
        GetScrollRange() > 0) {
        for (int i = 0; i < 3; ++i) event.wParam == 0 ? LineUp() : LineDown();
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

bool CScrollLayoutUI::DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl) {
    if (!CVerticalLayoutUI::DoPaint(cr, rcPaint, stopControl)) return false;
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible()) {
        UiRect clip;
        if (clip.Intersect(rcPaint, m_pVerticalScrollBar->GetPos())) {
            return m_pVerticalScrollBar->DoPaint(cr, clip, stopControl);
        }
    }
    return true;
}

bool CScrollLayoutUI::SetAttribute(const std::string& name, const std::string& value) {
    if (EqualsNoCase(name, "vscrollbar")) {
        bool on = false;
        if (!ParseBool(value, on)) return false;
        EnableScrollBar(on);
        return true;
    }
    if (EqualsNoCase(name, "vscrollbarstyle")) {
        EnableScrollBar(true);
        return m_pVerticalScrollBar->ApplyAttributeList(value);
    }
    return CVerticalLayoutUI::SetAttribute(name, value);
}

CControlUI* CScrollLayoutUI::FindControl(FindControlProc proc, void* data, uint32_t flags) {
    if (m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible() &&
        (flags & UIFIND_HITTEST) != 0 && IsVisible() &&
        m_pVerticalScrollBar->GetPos().Contains(*static_cast<const UiPoint*>(data))) {
        if (CControlUI* found = m_pVerticalScrollBar->FindControl(proc, data, flags)) return found;
    }
    return CVerticalLayoutUI::FindControl(proc, data, flags);
}

}  // namespace toolkit
