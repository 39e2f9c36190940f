#include "toolkit/window_impl_base.h"

#include "os/debug_output.h"
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

LRESULT WindowImplBase::HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
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
