#pragma once

#include "toolkit/control_ui.h"

namespace toolkit {
class CWindowWnd;
}

namespace ui {

// A place holder that keeps another window over its rectangle: moved and sized with the
// control, shown and hidden with it. Without a hosted window it does nothing beyond the plain
// control.
class CWndUI : public toolkit::CControlUI {
  public:
    std::string_view GetClass() const override;
    void SetPos(toolkit::UiRect rc, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;

    // The window to keep over the control; nullptr detaches it. The window must outlive the
    // control or be detached first.
    void SetHostedWindow(toolkit::CWindowWnd* window);
    toolkit::CWindowWnd* GetHostedWindow() const { return m_pHosted; }

  private:
    void RepositionHostedWindow();

    toolkit::CWindowWnd* m_pHosted = nullptr;
};

}  // namespace ui
