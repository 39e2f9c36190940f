#include "toolkit/controls/list_ui.h"

#include "toolkit/paint_manager_ui.h"

namespace toolkit {

CListUI::CListUI() {
    EnableScrollBar(true);
}

std::string_view CListUI::GetClass() const {
    return "List";
}

bool CListUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CListUI::AddAt(CControlUI* control, int index) {
    return InsertListItem<CScrollLayoutUI>(*this, this, m_iCurSel, control, index);
}

bool CListUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
    if (!RemoveListItem<CScrollLayoutUI>(*this, this, m_iCurSel, index, doNotDestroy)) return false;
    return true;
}

void CListUI::RemoveAll() {
    m_iCurSel = -1;
    CScrollLayoutUI::RemoveAll();
    SetScrollPos(0);
}

bool CListUI::SelectItem(int index, bool takeFocus, bool sendNotify) {
    if (index == m_iCurSel) {
        if (takeFocus && index >= 0) GetItemAt(index)->SetFocus();
        return true;
    }
    int old = m_iCurSel;
    if (index >= 0) {
        if (!IsSelectableItem(*this, index)) return false;
    }
    MoveItemSelection(*this, old, index);
    m_iCurSel = index;
    if (index >= 0) {
        CControlUI* c = GetItemAt(index);
        if (m_pManager != nullptr && m_pManager->IsUpdateNeeded()) m_pManager->Paint();
        EnsureVisible(c);
        if (takeFocus) c->SetFocus();
        c->Invalidate();
    }
    if (sendNotify && m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index),
                               static_cast<LPARAM>(old));
    }
    return true;
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_KEYDOWN && IsEnabled()) {
        int target = ItemForCursorKey(*this, m_iCurSel, event.chKey);
        if (target != -2) {
            if (target >= 0) SelectItem(target, true);
            return;
        }
    }
    CScrollLayoutUI::DoEvent(event);
}

bool CListUI::SetAttribute(const std::string& name, const std::string& value) {
    bool ok = true;
    if (ApplyListInfoAttribute(m_info, name, value, ok)) {
        Invalidate();
        return ok;
    }
    return CScrollLayoutUI::SetAttribute(name, value);
}

}  // namespace toolkit
