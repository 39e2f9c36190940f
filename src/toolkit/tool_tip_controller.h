#pragma once

#include <memory>
#include <string>

#include "toolkit/ui_types.h"

namespace toolkit {

class CControlUI;
class CPaintManagerUI;
class CToolTipWnd;

// Sends the window WM_MOUSEHOVER once per visit of the pointer when it first rests, and shows
// the tooltip of the control under the pointer once the pointer has rested on it for a moment, and
// hides it when the pointer moves to another control, leaves the window or a button is pressed. It
// watches the window's messages as a filter of its paint manager and uses one one-shot window
// timer, so a window with the pointer at rest wakes up only once.
class CToolTipController : public IMessageFilterUI {
  public:
    static constexpr uintptr_t kHoverTimerId = 0x7FFF0001;
    static constexpr uint32_t kHoverMs = 400;

    explicit CToolTipController(CPaintManagerUI* pm);
    ~CToolTipController() override;
    CToolTipController(const CToolTipController&) = delete;
    CToolTipController& operator=(const CToolTipController&) = delete;

    LRESULT MessageHandler(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // The tooltip window while it exists (shown or not), for tests.
    CToolTipWnd* GetToolTipWindow() const { return m_tip.get(); }
    bool IsShowing() const;

  private:
    void Hide();

    CPaintManagerUI* m_pm;
    CControlUI* m_pHover = nullptr;
    UiPoint m_ptHover;
    bool m_timerRunning = false;
    bool m_hoverSent = false;  // since the pointer came into the window
    std::unique_ptr<CToolTipWnd> m_tip;
};

}  // namespace toolkit
