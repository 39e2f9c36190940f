#include "toolkit/tool_tip_wnd.h"

#include <algorithm>

#include "toolkit/controls/label_ui.h"
#include "toolkit/render_engine.h"

namespace toolkit {

CToolTipWnd::~CToolTipWnd() {
    if (m_hWnd != 0) DestroyWindow();
}

void CToolTipWnd::ShowTip(HWND owner, const std::string& text, UiPoint pt, int dpi) {
    if (m_hWnd == 0) {
        if (Create(owner, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, pt.x, pt.y, 1, 1) == 0)
            return;
    }
    if (dpi != m_pm.GetDPI()) m_pm.SetDPI(dpi);
    m_text = text;
    m_pLabel->SetText(text);
    UiSize sz = CRenderEngine::MeasureText(&m_pm, text, -1, DT_SINGLELINE, 0);
    int pad = m_pm.ScaleDpi(4);
    UiSize win{sz.cx + 2 * pad + 2, sz.cy + 2 * pad};
    UiRect screen = GetBackend()->GetScreenRect();
    int x = pt.x;
    int y = pt.y;
    if (!screen.IsEmpty()) {
        x = std::clamp(x, screen.left, std::max(screen.left, screen.right - win.cx));
        y = std::clamp(y, screen.top, std::max(screen.top, screen.bottom - win.cy));
    }
    MoveWindow(UiRect{x, y, x + win.cx, y + win.cy});
    ShowWindow(true, false);
}

void CToolTipWnd::HideTip() {
    if (m_hWnd != 0) ShowWindow(false);
}

LRESULT CToolTipWnd::HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    if (msg == os::WM_CREATE) {
        m_pm.Init(m_hWnd, GetBackend(), "ToolTipWnd");
        m_pLabel = new CLabelUI;
        m_pLabel->SetBkColor(0xFFFFFFE1);
        m_pLabel->SetBorderColor(0xFF767676);
        m_pLabel->SetBorderSize(1);
        m_pLabel->SetTextPadding(UiRect{4, 0, 4, 0});
        m_pLabel->SetMouseEnabled(false);
        m_pm.AttachDialog(m_pLabel);
        return 0;
    }
    LRESULT result = 0;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace toolkit
