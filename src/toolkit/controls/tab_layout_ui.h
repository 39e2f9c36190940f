#pragma once

#include "toolkit/container_ui.h"

namespace toolkit {

// Pages on top of each other; only the selected one is visible.
class CTabLayoutUI : public CContainerUI {
  public:
    std::string_view GetClass() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;
    void SetPos(UiRect rc, bool needInvalidate = true) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    int GetCurSel() const { return m_iCurSel; }
    // Shows page index; with triggerEvent "tabselect" (wParam new, lParam old) is sent.
    virtual bool SelectItem(int index, bool triggerEvent = true);
    bool SelectItem(CControlUI* control, bool triggerEvent = true);

  private:
    int m_iCurSel = -1;
    int m_iInitSel = 0;
};

}  // namespace toolkit
