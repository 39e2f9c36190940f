#include "toolkit/window_wnd.h"

#include "toolkit/timer_service.h"

namespace toolkit {

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    if (m_hWnd != 0) {
        HWND hwnd = m_hWnd;
        m_hWnd = 0;
        TimerService::KillAll(hwnd);
        os::DestroyTarget(hwnd);
        if (m_backend) m_backend->Destroy();
    }
}

HWND CWindowWnd::Create(HWND parent, const std::string& name, uint32_t style, uint32_t exStyle,
                        int x, int y, int cx, int cy) {
    if (m_hWnd != 0) return m_hWnd;
    m_hWndParent = parent;
    m_style = style;
    m_exStyle = exStyle;
    m_hWnd = os::CreateTarget(this);
    if (m_hWnd == 0) return 0;
    m_backend = CreateWindowBackend();
    if (!m_backend->Create(m_hWnd, name, UiRect{x, y, x + cx, y + cy}, (style & WS_POPUP) != 0)) {
        os::DestroyTarget(m_hWnd);
        m_hWnd = 0;
        m_backend.reset();
        return 0;
    }
    if (HandleMessage(os::WM_CREATE, 0, 0) == -1) {
        HWND hwnd = m_hWnd;
        m_hWnd = 0;
        TimerService::KillAll(hwnd);
        os::DestroyTarget(hwnd);
        m_backend->Destroy();
        return 0;
    }
    UiRect rc = m_backend->GetWindowRect();
    HandleMessage(os::WM_SIZE, 0, MakePointLParam(rc.GetWidth(), rc.GetHeight()));
    if ((style & WS_VISIBLE) != 0) ShowWindow(true);
    return m_hWnd;
}

void CWindowWnd::ShowWindow(bool show, bool) {
    if (m_hWnd == 0 || !m_backend) return;
    if (m_backend->IsShown() == show) return;
    m_backend->Show(show);
    HandleMessage(os::WM_SHOWWINDOW, show ? 1 : 0, 0);
}

bool CWindowWnd::IsWindowVisible() const {
    return m_backend && m_backend->IsShown();
}

int CWindowWnd::ShowModal() {
    if (m_hWnd == 0) return 0;
    // FIXME: the owner window is not disabled while the modal loop runs; the display backend
    // should route its input away.
    m_modalResult = 0;
    m_inModal = true;
    ShowWindow(true);
    HWND hwnd = m_hWnd;
    if (os::MessageLoop* loop = os::MessageLoop::Current()) {
        loop->RunUntil([hwnd] { return !os::IsTarget(hwnd); });
    }
    m_inModal = false;
    return m_modalResult;
}

void CWindowWnd::Close(int ret) {
    if (m_hWnd == 0) return;
    PostMessage(os::WM_CLOSE, static_cast<WPARAM>(ret), 0);
}

void CWindowWnd::DestroyWindow() {
    if (m_hWnd == 0) return;
    HWND hwnd = m_hWnd;
    HandleMessage(os::WM_DESTROY, 0, 0);
    TimerService::KillAll(hwnd);
    if (m_backend) m_backend->Destroy();
    m_hWnd = 0;
    os::DestroyTarget(hwnd);
    OnFinalMessage(hwnd);  // may delete this
}

void CWindowWnd::CenterWindow() {
    if (!m_backend) return;
    UiRect rc = m_backend->GetWindowRect();
    UiRect area = m_backend->GetScreenRect();
    // FIXME: a window with an owner should centre over the owner, which needs the owner's
    // rectangle from the display backend; the screen centre is used for now.
    int x = area.left + (area.GetWidth() - rc.GetWidth()) / 2;
    int y = area.top + (area.GetHeight() - rc.GetHeight()) / 2;
    MoveWindow(UiRect{x, y, x + rc.GetWidth(), y + rc.GetHeight()});
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (!m_backend) return;
    UiRect rc = m_backend->GetWindowRect();
    MoveWindow(UiRect{rc.left, rc.top, rc.left + cx, rc.top + cy});
}

void CWindowWnd::MoveWindow(const UiRect& rc) {
    if (!m_backend) return;
    UiRect old = m_backend->GetWindowRect();
    m_backend->Move(rc);
    if (old.GetWidth() != rc.GetWidth() || old.GetHeight() != rc.GetHeight()) {
        HandleMessage(os::WM_SIZE, 0, MakePointLParam(rc.GetWidth(), rc.GetHeight()));
    }
    if (old.left != rc.left || old.top != rc.top) {
        HandleMessage(os::WM_MOVE, 0, MakePointLParam(rc.left, rc.top));
    }
}

UiRect CWindowWnd::GetWindowRect() const {
    return m_backend ? m_backend->GetWindowRect() : UiRect{};
}

UiRect CWindowWnd::GetClientRect() const {
    UiRect rc = GetWindowRect();
    return UiRect{0, 0, rc.GetWidth(), rc.GetHeight()};
}

void CWindowWnd::SetWindowText(const std::string& title) {
    if (m_backend) m_backend->SetTitle(title);
}

LRESULT CWindowWnd::SendMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    return os::SendMessage(m_hWnd, msg, wParam, lParam);
}

bool CWindowWnd::PostMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    return os::PostMessage(m_hWnd, msg, wParam, lParam);
}

bool CWindowWnd::SetTimer(uintptr_t id, uint32_t periodMs) {
    return m_hWnd != 0 && TimerService::Set(m_hWnd, id, periodMs);
}

bool CWindowWnd::KillTimer(uintptr_t id) {
    return m_hWnd != 0 && TimerService::Kill(m_hWnd, id);
}

LRESULT CWindowWnd::HandleMessage(uint32_t msg, WPARAM wParam, LPARAM) {
    if (msg == os::WM_CLOSE) {
        m_modalResult = static_cast<int>(wParam);
        DestroyWindow();
    }
    return 0;
}

void CWindowWnd::OnFinalMessage(HWND) {}

}  // namespace toolkit
