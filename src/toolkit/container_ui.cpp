#include "toolkit/container_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<CContainerUI> kContainerAttributes[] = {
    {"inset", AttrRect<CContainerUI, &CContainerUI::SetInset>},
    {"childpadding", AttrInt<CContainerUI, &CContainerUI::SetChildPadding>},
    {"mousechild", AttrBool<CContainerUI, &CContainerUI::SetMouseChildEnabled>},
    {"autodestroy", AttrBool<CContainerUI, &CContainerUI::SetAutoDestroy>},
};

}  // namespace

CContainerUI::~CContainerUI() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    if (m_bAutoDestroy) {
        for (CControlUI* c : items) delete c;
    }
}

std::string_view CContainerUI::GetClass() const {
    return "Container";
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(const CControlUI* control) const {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    int from = GetItemIndex(control);
    if (from < 0 || index < 0 || index >= GetCount()) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr || index < 0 || index > GetCount()) return false;
    if (m_pManager != nullptr)
        m_pManager->InitControls(control, this);
    else
        control->SetManager(nullptr, this, false);
    if (!IsVisible()) control->SetInternVisible(false);
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    return RemoveAt(index, doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) return false;
    Invalidate();
    m_items.erase(m_items.begin() + index);
    NeedUpdate();
    if (!doNotDestroy && m_bAutoDestroy) {
        delete control;
    } else if (m_pManager != nullptr) {
        m_pManager->ReapObjects(control);
    }
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* c : items) {
        if (m_bAutoDestroy) {
            delete c;
        } else if (m_pManager != nullptr) {
            m_pManager->ReapObjects(c);
        }
    }
    NeedUpdate();
}

UiRect CContainerUI::GetInset() const {
    return UiRect{Scale(m_rcInset.left), Scale(m_rcInset.top), Scale(m_rcInset.right),
                  Scale(m_rcInset.bottom)};
}

void CContainerUI::SetInset(UiRect rc) {
    m_rcInset = rc;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const {
    return Scale(m_iChildPadding);
}

void CContainerUI::SetChildPadding(int padding) {
    m_iChildPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* c : m_items) c->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

void CContainerUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    CControlUI::SetVisible(visible);
    for (CControlUI* c : m_items) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    for (CControlUI* c : m_items) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetPos(UiRect rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* c = m_items[static_cast<size_t>(i)];
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            SetFloatPos(i);
        } else {
            UiRect place = inner;
            place.Deflate(c->GetPadding());
            c->SetPos(place, false);
        }
    }
}

void CContainerUI::SetFloatPos(int index) {
    CControlUI* c = GetItemAt(index);
    if (c == nullptr || !c->IsVisible() || !c->IsFloat()) return;
    UiSize xy = c->GetFixedXY();
    UiSize sz{c->GetFixedWidth(), c->GetFixedHeight()};
    UiRect rc;
    rc.left = xy.cx >= 0 ? m_rcItem.left + xy.cx : m_rcItem.right + xy.cx;
    rc.top = xy.cy >= 0 ? m_rcItem.top + xy.cy : m_rcItem.bottom + xy.cy;
    rc.right = rc.left + sz.cx;
    rc.bottom = rc.top + sz.cy;
    c->SetPos(rc, false);
}

bool CContainerUI::DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl) {
    UiRect rcTemp;
    if (!rcTemp.Intersect(rcPaint, m_rcItem)) return true;
    if (!CControlUI::DoPaint(cr, rcPaint, stopControl)) return false;
    if (m_items.empty()) return true;
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    for (CControlUI* c : m_items) {
        if (c == stopControl) return false;
        if (!c->IsVisible()) continue;
        UiRect clip;
        // Float children may reach the border; the others stay inside the inset.
        if (!clip.Intersect(rcPaint, c->IsFloat() ? m_rcItem : inner)) continue;
        UiRect childPaint;
        if (!childPaint.Intersect(clip, c->GetPos())) continue;
        cairo_save(cr);
        cairo_rectangle(cr, clip.left, clip.top, clip.GetWidth(), clip.GetHeight());
        cairo_clip(cr);
        bool go = c->DoPaint(cr, clip, stopControl);
        cairo_restore(cr);
        if (!go) return false;
    }
    return true;
}

bool CContainerUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kContainerAttributes, name)) {
        return entry->apply(*this, value);
    }
    return CControlUI::SetAttribute(name, value);
}

CControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, uint32_t flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) != 0) {
        if (!m_rcItem.Contains(*static_cast<const UiPoint*>(data))) return nullptr;
        if (!m_bMouseChildEnabled) {
            return m_bMouseEnabled ? proc(this, data) : nullptr;
        }
    }
    if ((flags & UIFIND_ME_FIRST) != 0) {
        if (CControlUI* found = CControlUI::FindControl(proc, data, flags)) return found;
    }
    if ((flags & UIFIND_TOP_FIRST) != 0) {
        for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
            if (CControlUI* found = (*it)->FindControl(proc, data, flags)) return found;
        }
    } else {
        for (CControlUI* c : m_items) {
            if (CControlUI* found = c->FindControl(proc, data, flags)) return found;
        }
    }
    if ((flags & UIFIND_ME_FIRST) == 0) return CControlUI::FindControl(proc, data, flags);
    return nullptr;
}

}  // namespace toolkit
