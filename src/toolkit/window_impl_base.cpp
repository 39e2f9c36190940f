#include "toolkit/window_impl_base.h"

#include "os/debug_output.h"
#include "toolkit/backend/sdl_backend.h"
#include "toolkit/control_ui.h"
#include "toolkit/dialog_builder.h"

namespace toolkit {

void WindowImplBase::Notify(TNotifyUI& msg) {
    NotifyPump(msg);
}

CControlUI* WindowImplBase::CreateControl(const std::string&) {
    return nullptr;
}

std::string WindowImplBase::QueryControlText(const std::string&, const std::string&) {
    return "";
}

LRESULT WindowImplBase::MessageHandler(uint32_t, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(uint32_t, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnCreate(uint32_t, WPARAM, LPARAM, bool& handled) {
    handled = true;
    m_pm.Init(m_hWnd, GetBackend(), GetWindowClassName());
    CDialogBuilder builder;
    std::string skin = GetSkinFolder().empty() ? GetSkinFile() : GetSkinFolder() + GetSkinFile();
    CControlUI* root = builder.Create(skin, GetSkinType(), this, &m_pm);
    if (root == nullptr) {
        m_buildError = builder.GetLastError();
        if (m_buildError.empty()) m_buildError = "skin " + skin + ": no root control";
        os::DebugOutput("toolkit: window " + GetWindowClassName() +
                        " not created: " + m_buildError + "\n");
        return -1;
    }
    UiSize init = m_pm.GetInitSize();
    if (init.cx > 0 && init.cy > 0) ResizeClient(init.cx, init.cy);
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    m_pm.AddMessageFilter(this);
    m_toolTips = std::make_unique<CToolTipController>(&m_pm);
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnClose(uint32_t, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(uint32_t, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(uint32_t, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(uint32_t, WPARAM, LPARAM lParam, bool& handled) {
    handled = true;
    // The caption rectangle: left and top from the window's edges, right as a distance from the
    // right edge, bottom as the caption's height.
    UiPoint pt = PointFromLParam(lParam);
    UiRect cap = m_pm.GetCaptionRect();
    UiSize client = m_pm.GetClientSize();
    bool inCaption = pt.x >= m_pm.ScaleDpi(cap.left) &&
                     pt.x < client.cx - m_pm.ScaleDpi(cap.right) &&
                     pt.y >= m_pm.ScaleDpi(cap.top) && pt.y < m_pm.ScaleDpi(cap.bottom);
    if (!inCaption) return HTCLIENT;
    // Only passive controls let the caption drag; buttons and fields in it stay usable.
    CControlUI* control = m_pm.FindControl(pt);
    if (control == nullptr) return HTCAPTION;
    static constexpr std::string_view kPassive[] = {
        "Control",   "Container", "VerticalLayout", "HorizontalLayout",
        "TabLayout", "Label",     "Text",           "ScrollLayout"};
    for (std::string_view c : kPassive) {
        if (EqualsNoCase(control->GetClass(), c)) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindowEnabled() && ((msg >= os::WM_KEYDOWN && msg <= os::WM_SYSKEYUP) ||
                               (msg >= os::WM_MOUSEMOVE && msg <= os::WM_MOUSEWHEEL))) {
        return 0;
    }
    LRESULT result = 0;
    bool handled = true;
    switch (msg) {
        case os::WM_CREATE:
            result = OnCreate(msg, wParam, lParam, handled);
            break;
        case os::WM_CLOSE:
            result = OnClose(msg, wParam, lParam, handled);
            break;
        case os::WM_DESTROY:
            result = OnDestroy(msg, wParam, lParam, handled);
            break;
        case os::WM_SIZE:
            result = OnSize(msg, wParam, lParam, handled);
            break;
        case os::WM_NCHITTEST:
            result = OnNcHitTest(msg, wParam, lParam, handled);
            break;
        default:
            handled = false;
            break;
    }
    if (handled) return result;
    result = HandleCustomMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace toolkit
