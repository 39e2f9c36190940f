#include "toolkit/controls/tab_layout_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

std::string_view CTabLayoutUI::GetClass() const {
    return "TabLayout";
}

bool CTabLayoutUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel == -1 && control->IsVisible() && GetCount() - 1 >= m_iInitSel &&
        GetItemAt(m_iInitSel) != nullptr) {
        m_iCurSel = m_iInitSel;
    } else if (m_iCurSel >= index && GetCount() > 1) {
        ++m_iCurSel;
    }
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == m_iCurSel);
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    return RemoveAt(index, doNotDestroy);
}

bool CTabLayoutUI::RemoveAt(int index, bool doNotDestroy) {
    if (!CContainerUI::RemoveAt(index, doNotDestroy)) return false;
    if (GetCount() == 0) {
        m_iCurSel = -1;
    } else if (index == m_iCurSel) {
        m_iCurSel = -1;
        SelectItem(index < GetCount() ? index : GetCount() - 1, false);
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index, bool triggerEvent) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    m_iCurSel = index;
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
    NeedParentUpdate();
    if (m_pManager != nullptr) {
        // The focus must not stay on a hidden page.
        if (CControlUI* focus = m_pManager->GetFocus(); focus != nullptr && !focus->IsVisible()) {
            m_pManager->SetFocus(nullptr);
        }
        if (triggerEvent) {
            m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, static_cast<WPARAM>(index),
                                   static_cast<LPARAM>(old));
        }
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control, bool triggerEvent) {
    int index = GetItemIndex(control);
    return index >= 0 && SelectItem(index, triggerEvent);
}

void CTabLayoutUI::SetPos(UiRect rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* c = GetItemAt(i);
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        UiRect place = inner;
        place.Deflate(c->GetPadding());
        c->SetPos(place, false);
    }
}

bool CTabLayoutUI::SetAttribute(const std::string& name, const std::string& value) {
    if (EqualsNoCase(name, "selectedid")) {
        int n = 0;
        if (!ParseInt(value, n) || n < 0) return false;
        m_iInitSel = n;
        if (GetCount() > 0) SelectItem(n, false);
        return true;
    }
    return CContainerUI::SetAttribute(name, value);
}

}  // namespace toolkit
