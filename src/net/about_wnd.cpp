#include "net/about_wnd.h"

#include "net/label_text.h"
#include "net/set_wnd.h"
#include "os/debug_output.h"
#include "toolkit/control_ui.h"

namespace net {

namespace {

CAboutWnd* g_current = nullptr;

}  // namespace

CAboutWnd* CAboutWnd::Current() {
    return g_current;
}

void CAboutWnd::InitWindow() {
    g_current = this;
    ShowVersion();
}

void CAboutWnd::OnFinalMessage(toolkit::HWND) {
    if (g_current == this) g_current = nullptr;
    delete this;
}

void CAboutWnd::ShowVersion() {
    toolkit::CControlUI* label = m_pm.FindControl("software_ver_label");
    if (label == nullptr) return;
    // The hidden label translates the text id in the current language.
    std::string prefix = "software_rev_text";
    if (toolkit::CControlUI* probe = m_pm.FindControl("text_test")) {
        probe->SetResourceText(true);
        probe->SetText("software_rev_text");
        prefix = probe->GetText();
    }
    label->SetResourceText(false);
    label->SetText(CaptionWithValue(prefix, m_version));
}

void CAboutWnd::Notify(toolkit::TNotifyUI& msg) {
    if (msg.sType == toolkit::DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const std::string& name = msg.pSender->GetName();
        if (toolkit::EqualsNoCase(name, "closebtn")) {
            Close(0);
        } else if (toolkit::EqualsNoCase(name, "minbtn")) {
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MINIMIZE, 0);
        } else if (toolkit::EqualsNoCase(name, "maxbtn")) {
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MAXIMIZE, 0);
        } else if (toolkit::EqualsNoCase(name, "restorebtn")) {
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
        }
        return;
    }
    WindowImplBase::Notify(msg);
}

toolkit::LRESULT CAboutWnd::HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                                toolkit::LPARAM, bool& handled) {
    handled = false;
    if (msg == kMsgApplyLanguage) {
        ShowVersion();
        m_pm.Invalidate();
        handled = true;
    } else if (msg == os::WM_KEYDOWN && wParam == toolkit::VK_ESCAPE) {
        Close(0);
        handled = true;
    }
    return 0;
}

void OpenAbout(toolkit::HWND mainWnd, const std::vector<UpdateRow>& table) {
    if (CAboutWnd::Current() != nullptr) return;
    std::string version;
    for (const UpdateRow& row : table) {
        if (row.IsApplication()) version = row.displayVersion;
    }
    auto* owner = dynamic_cast<toolkit::WindowImplBase*>(toolkit::CWindowWnd::FromHandle(mainWnd));
    auto* wnd = new CAboutWnd(version);
    if (wnd->Create(mainWnd, "  ",
                    toolkit::WS_POPUP | toolkit::WS_VISIBLE | toolkit::WS_CLIPCHILDREN,
                    toolkit::WS_EX_TOOLWINDOW, 0, 0, 800, 572) == 0) {
        os::DebugOutput("about box not created: " + wnd->GetBuildError() + "\n");
        delete wnd;
        return;
    }
    if (owner != nullptr)
        wnd->GetPaintManager().SetDPI(AcceptedWindowDpi(owner->GetPaintManager().GetDPI()));
    wnd->CenterWindow();
    wnd->ShowModal();
}

}  // namespace net
