#include "app/msg_wnd.h"

#include <array>
#include <vector>

#include "app/dpi_change.h"
#include "os/debug_output.h"
#include "toolkit/control_ui.h"

namespace app {

namespace {

constexpr std::array<int, 7> kAcceptedDpis = {48, 72, 96, 120, 144, 168, 192};

// The open windows, innermost last.
std::vector<CMsgWnd*> g_open;

}  // namespace

int CMsgWnd::AcceptedDpi(int dpi) {
    for (int accepted : kAcceptedDpis) {
        if (dpi == accepted) return dpi;
    }
    os::DebugOutput("MSG_WND DPI SET ERROR\n");
    return 96;
}

CMsgWnd* CMsgWnd::Current() {
    return g_open.empty() ? nullptr : g_open.back();
}

void CMsgWnd::InitWindow() {
    g_open.push_back(this);
}

void CMsgWnd::OnFinalMessage(toolkit::HWND) {
    std::erase(g_open, this);
    delete this;
}

void CMsgWnd::SetContent(const std::string& title, const std::string& text, bool textIsResource) {
    if (!title.empty()) {
        if (toolkit::CControlUI* label = m_pm.FindControl("MessageTitle")) label->SetText(title);
    }
    if (!text.empty()) {
        if (toolkit::CControlUI* label = m_pm.FindControl("MessageText")) {
            if (textIsResource) label->SetResourceText(true);
            label->SetText(text);
        }
    }
}

void CMsgWnd::ApplyDpi(int dpi) {
    toolkit::CPaintManagerUI::SetAllDPI(AcceptedDpi(dpi));
}

void CMsgWnd::SetButtons(int buttons) {
    if (toolkit::CControlUI* confirm = m_pm.FindControl("confirm_btn")) confirm->SetVisible(true);
    if (toolkit::CControlUI* cancel = m_pm.FindControl("cancel_btn"))
        cancel->SetVisible(buttons == kConfirmCancel);
}

void CMsgWnd::Notify(toolkit::TNotifyUI& msg) {
    if (msg.sType == toolkit::DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (toolkit::EqualsNoCase(name, "confirm_btn")) {
            Close(1);
            return;
        }
        if (toolkit::EqualsNoCase(name, "cancel_btn") || toolkit::EqualsNoCase(name, "closebtn")) {
            Close(0);
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

toolkit::LRESULT CMsgWnd::HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                              toolkit::LPARAM lParam, bool& handled) {
    handled = false;
    if (msg == os::WM_DPICHANGED) {
        ApplyDpiChange(*this, wParam, lParam);
        handled = true;
    } else if (msg == os::WM_KEYDOWN && IsWindowEnabled()) {
        // Enter answers as the confirm button does, Escape as the cancel or close button.
        if (wParam == toolkit::VK_RETURN) {
            Close(1);
            handled = true;
        } else if (wParam == toolkit::VK_ESCAPE) {
            Close(0);
            handled = true;
        }
    }
    return 0;
}

int ShowMessage(toolkit::HWND owner, const std::string& title, const std::string& text, int dpi,
                bool textIsResource, int buttons) {
    auto* wnd = new CMsgWnd;
    if (wnd->Create(owner, "msgwnd", toolkit::WS_POPUP | toolkit::WS_CLIPCHILDREN,
                    toolkit::WS_EX_TOOLWINDOW) == 0) {
        os::DebugOutput("message box not created: " + wnd->GetBuildError() + "\n");
        delete wnd;
        return 0;
    }
    wnd->SetContent(title, text, textIsResource);
    wnd->ApplyDpi(dpi);
    wnd->SetButtons(buttons);
    wnd->CenterWindow();
    return wnd->ShowModal();
}

}  // namespace app
