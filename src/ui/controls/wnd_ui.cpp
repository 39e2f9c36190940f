#include "ui/controls/wnd_ui.h"

#include "os/message_loop.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/window_wnd.h"

namespace ui {

using toolkit::UiRect;

std::string_view CWndUI::GetClass() const {
    return "Wnd";
}

void CWndUI::SetHostedWindow(toolkit::CWindowWnd* window) {
    m_pHosted = window;
    RepositionHostedWindow();
}

void CWndUI::SetPos(UiRect rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    RepositionHostedWindow();
}

void CWndUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    RepositionHostedWindow();
}

void CWndUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    RepositionHostedWindow();
}

void CWndUI::RepositionHostedWindow() {
    if (m_pHosted == nullptr || m_pManager == nullptr) return;
    const toolkit::HWND hwnd = m_pHosted->GetHWND();
    if (hwnd == 0 || !os::IsTarget(hwnd)) return;
    UiRect rc = m_rcItem;
    // A child of the paint window keeps the control's client coordinates.
    const bool child =
        m_pHosted->IsChildWindow() && m_pHosted->GetParentWindow() == m_pManager->GetPaintWindow();
    if (!child) {
        // A separate window is placed in screen coordinates, over the control.
        if (toolkit::IWindowBackend* backend = m_pManager->GetBackend()) {
            UiRect window = backend->GetWindowRect();
            rc.Offset(window.left, window.top);
        }
    }
    m_pHosted->MoveWindow(rc);
    m_pHosted->ShowWindow(IsVisible(), false);
}

}  // namespace ui
