#pragma once

#include <memory>

#include "toolkit/controls/popup_owner_filter.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/window_wnd.h"

namespace toolkit {

class CComboUI;
class CScrollLayoutUI;

// The popup of an open drop-down. It borrows the combo's items for as long as it is open (they
// keep the combo as their owner, so a press on one selects it in the combo) and gives them back
// when it closes. It closes when an item is released on, on Escape or Enter, when it loses the
// focus and on a press in the owner window. It deletes itself when it is gone.
class CComboWnd : public CWindowWnd {
  public:
    explicit CComboWnd(CComboUI* owner);
    ~CComboWnd() override;

    // Opens below (or above) the combo; false when the window could not be created.
    bool Open();
    std::string GetWindowClassName() const override { return "ComboWnd"; }
    CPaintManagerUI& GetPaintManager() { return m_pm; }
    CScrollLayoutUI* GetListLayout() const { return m_pLayout; }
    // Scrolls the combo's selected item into view.
    void EnsureSelectionVisible();
    LRESULT HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    void OnFinalMessage(HWND hwnd) override;

  private:
    void GiveItemsBack();
    UiRect PlaceBelowOwner();

    CComboUI* m_pOwner;
    CPaintManagerUI m_pm;
    CScrollLayoutUI* m_pLayout = nullptr;
    std::unique_ptr<CPopupOwnerFilter> m_ownerFilter;
    bool m_closing = false;
};

}  // namespace toolkit
