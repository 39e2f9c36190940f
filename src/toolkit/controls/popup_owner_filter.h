#pragma once

#include <functional>

#include "toolkit/ui_types.h"

namespace toolkit {

class CPaintManagerUI;

// Watches the owner window of a drop-down or a menu while it is open: a button press anywhere in
// the owner closes the popup and is used up by that, as a press outside an open menu is on the
// desktop. (The display backend closes popups on losing the focus as well; without a display
// this is the only way a click outside reaches them.)
class CPopupOwnerFilter : public IMessageFilterUI {
  public:
    CPopupOwnerFilter(CPaintManagerUI* owner, std::function<void()> close);
    ~CPopupOwnerFilter() override;
    CPopupOwnerFilter(const CPopupOwnerFilter&) = delete;
    CPopupOwnerFilter& operator=(const CPopupOwnerFilter&) = delete;

    LRESULT MessageHandler(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

  private:
    CPaintManagerUI* m_owner;
    std::function<void()> m_close;
};

}  // namespace toolkit
