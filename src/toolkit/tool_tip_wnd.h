#pragma once

#include <string>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/window_wnd.h"

namespace toolkit {

class CLabelUI;

// The small borderless window that shows a control's tooltip text near the pointer.
class CToolTipWnd : public CWindowWnd {
  public:
    CToolTipWnd() = default;
    ~CToolTipWnd() override;
    std::string GetWindowClassName() const override { return "ToolTipWnd"; }

    // Shows text with its top-left corner at pt (screen coordinates), inside the screen.
    void ShowTip(HWND owner, const std::string& text, UiPoint pt, int dpi);
    void HideTip();
    const std::string& GetTipText() const { return m_text; }
    CPaintManagerUI& GetPaintManager() { return m_pm; }
    LRESULT HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) override;

  private:
    CPaintManagerUI m_pm;
    CLabelUI* m_pLabel = nullptr;
    std::string m_text;
};

}  // namespace toolkit
