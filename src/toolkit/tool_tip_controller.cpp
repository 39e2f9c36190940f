#include "toolkit/tool_tip_controller.h"

#include "toolkit/control_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/timer_service.h"
#include "toolkit/tool_tip_wnd.h"

namespace toolkit {

CToolTipController::CToolTipController(CPaintManagerUI* pm) : m_pm(pm) {
    m_pm->AddMessageFilter(this);
}

CToolTipController::~CToolTipController() {
    m_pm->RemoveMessageFilter(this);
    if (m_timerRunning && m_pm->GetPaintWindow() != 0)
        TimerService::Kill(m_pm->GetPaintWindow(), kHoverTimerId);
}

bool CToolTipController::IsShowing() const {
    return m_tip && m_tip->IsWindowVisible();
}

void CToolTipController::Hide() {
    if (m_timerRunning) {
        TimerService::Kill(m_pm->GetPaintWindow(), kHoverTimerId);
        m_timerRunning = false;
    }
    if (m_tip) m_tip->HideTip();
}

LRESULT CToolTipController::MessageHandler(uint32_t msg, WPARAM wParam, LPARAM lParam,
                                           bool& handled) {
    HWND hwnd = m_pm->GetPaintWindow();
    switch (msg) {
        case os::WM_MOUSEMOVE: {
            UiPoint pt = PointFromLParam(lParam);
            CControlUI* control = m_pm->FindControl(pt);
            if (control == m_pHover) break;
            Hide();
            m_pHover = control;
            m_ptHover = pt;
            // Rest detection runs for the window's hover message too, once per visit.
            if (hwnd != 0 &&
                ((control != nullptr && !control->GetToolTip().empty()) || !m_hoverSent)) {
                m_timerRunning = TimerService::Set(hwnd, kHoverTimerId, kHoverMs);
            }
            break;
        }
        case os::WM_TIMER:
            if (wParam != kHoverTimerId) break;
            handled = true;
            TimerService::Kill(hwnd, kHoverTimerId);
            m_timerRunning = false;
            if (!m_hoverSent) {
                m_hoverSent = true;
                os::SendMessage(hwnd, os::WM_MOUSEHOVER, 0,
                                MakePointLParam(m_ptHover.x, m_ptHover.y));
            }
            // The control may have gone while the timer ran.
            if (m_pHover != nullptr && m_pm->FindControl(m_ptHover) == m_pHover) {
                std::string text = m_pHover->GetToolTip();
                if (!text.empty() && m_pm->GetBackend() != nullptr) {
                    if (!m_tip) m_tip = std::make_unique<CToolTipWnd>();
                    UiRect win = m_pm->GetBackend()->GetWindowRect();
                    UiPoint at{win.left + m_ptHover.x, win.top + m_ptHover.y + m_pm->ScaleDpi(20)};
                    m_tip->ShowTip(hwnd, text, at, m_pm->GetDPI());
                }
            }
            return 0;
        case os::WM_MOUSELEAVE:
        case os::WM_LBUTTONDOWN:
        case os::WM_RBUTTONDOWN:
        case os::WM_MOUSEWHEEL:
        case os::WM_KEYDOWN:
            Hide();
            if (msg == os::WM_MOUSELEAVE) {
                m_pHover = nullptr;
                m_hoverSent = false;
            }
            break;
        case os::WM_DESTROY:
            Hide();
            m_tip.reset();
            m_pHover = nullptr;
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace toolkit
