#include "toolkit/controls/list_ui.h"

#include "toolkit/paint_manager_ui.h"

namespace toolkit {

namespace {

constexpr uint32_t VK_PRIOR = 0x21;
constexpr uint32_t VK_NEXT = 0x22;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;

}  // namespace

CListUI::CListUI() {
    EnableScrollBar(true);
}

std::string_view CListUI::GetClass() const {
    return "List";
}

void CListUI::Renumber() {
    for (int i = 0; i < GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(GetItemAt(i))) {
            item->ItemState().owner = this;
            item->ItemState().index = i;
        }
    }
}

bool CListUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (!CScrollLayoutUI::AddAt(control, index)) return false;
    if (m_iCurSel >= index) ++m_iCurSel;
    Renumber();
    return true;
}

bool CListUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) return false;
    if (IListItemUI* item = AsListItem(control)) {
        item->ItemState().owner = nullptr;
        item->ItemState().selected = false;
    }
    if (!CScrollLayoutUI::RemoveAt(index, doNotDestroy)) return false;
    if (m_iCurSel == index)
        m_iCurSel = -1;
    else if (m_iCurSel > index)
        --m_iCurSel;
    Renumber();
    return true;
}

void CListUI::RemoveAll() {
    m_iCurSel = -1;
    CScrollLayoutUI::RemoveAll();
    SetScrollPos(0);
}

int CListUI::FindSelectable(int index, int step) const {
    for (int i = index; i >= 0 && i < GetCount(); i += step) {
        CControlUI* c = GetItemAt(i);
        if (AsListItem(c) != nullptr && c->IsVisible() && c->IsEnabled()) return i;
    }
    return -1;
}

bool CListUI::SelectItem(int index, bool takeFocus, bool sendNotify) {
    if (index == m_iCurSel) {
        if (takeFocus && index >= 0) GetItemAt(index)->SetFocus();
        return true;
    }
    int old = m_iCurSel;
    if (index >= 0) {
        CControlUI* c = GetItemAt(index);
        IListItemUI* item = AsListItem(c);
        if (item == nullptr || !c->IsVisible() || !c->IsEnabled()) return false;
    }
    if (old >= 0) {
        if (IListItemUI* prev = AsListItem(GetItemAt(old))) prev->ItemState().selected = false;
        GetItemAt(old)->Invalidate();
    }
    m_iCurSel = index;
    if (index >= 0) {
        CControlUI* c = GetItemAt(index);
        AsListItem(c)->ItemState().selected = true;
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
        int target = -2;
        switch (event.chKey) {
            case VK_UP:
                target = FindSelectable(m_iCurSel < 0 ? 0 : m_iCurSel - 1, -1);
                break;
            case VK_DOWN:
                target = FindSelectable(m_iCurSel + 1, 1);
                break;
            case VK_HOME:
            case VK_PRIOR:
                target = FindSelectable(0, 1);
                break;
            case VK_END:
            case VK_NEXT:
                target = FindSelectable(GetCount() - 1, -1);
                break;
            default:
                break;
        }
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
