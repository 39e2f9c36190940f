#pragma once

#include "toolkit/controls/list_owner.h"
#include "toolkit/controls/scroll_layout_ui.h"

namespace toolkit {

// A scrolling column of list items (label, text and container elements) with one selected item.
// Choosing an item, by a press or with the cursor keys, sends "itemselect" (wParam the new index,
// lParam the old one) and scrolls the item into view; the items themselves send "itemclick",
// "itemactivate" and "menu". Selecting from code can skip the notification.
class CListUI : public CScrollLayoutUI, public IListOwnerUI {
  public:
    CListUI();
    std::string_view GetClass() const override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    TListInfoUI* GetListInfo() override { return &m_info; }
    int GetCurSel() const override { return m_iCurSel; }
    // -1 clears the selection. False for an index that is not a visible, enabled item.
    bool SelectItem(int index, bool takeFocus = false, bool sendNotify = true) override;
    void DoEvent(TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

  private:
    TListInfoUI m_info;
    int m_iCurSel = -1;
};

}  // namespace toolkit
