#include "toolkit/window_wnd.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "toolkit/timer_service.h"

namespace toolkit {

namespace {

// The windows by handle, so that a window finds its owner (to centre over it).
std::unordered_map<HWND, CWindowWnd*>& Windows() {
    static std::unordered_map<HWND, CWindowWnd*> windows;
    return windows;
}

}  // namespace

CWindowWnd* CWindowWnd::FromHandle(HWND hwnd) {
    auto it = Windows().find(hwnd);
    return it == Windows().end() ? nullptr : it->second;
}

void CWindowWnd::SendToTopLevelWindows(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    std::vector<HWND> targets;
    for (const auto& [hwnd, wnd] : Windows()) {
        if (wnd->GetParentWindow() == 0) targets.push_back(hwnd);
    }
    for (HWND hwnd : targets) {
        if (CWindowWnd* wnd = FromHandle(hwnd)) wnd->SendMessage(msg, wParam, lParam);
    }
}

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    if (m_hWnd != 0) {
        HWND hwnd = m_hWnd;
        m_hWnd = 0;
        Windows().erase(hwnd);
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
    Windows()[m_hWnd] = this;
    m_backend = CreateWindowBackend();
    const UiRect rc{x, y, x + cx, y + cy};
    CWindowWnd* parentWnd = (style & WS_CHILD) != 0 ? FromHandle(parent) : nullptr;
    const bool created = parentWnd != nullptr
                             ? m_backend->CreateChild(m_hWnd, parent, parentWnd->GetBackend(), rc)
                             : m_backend->Create(m_hWnd, name, rc, (style & WS_POPUP) != 0);
    if (!created) {
        Windows().erase(m_hWnd);
        os::DestroyTarget(m_hWnd);
        m_hWnd = 0;
        m_backend.reset();
        return 0;
    }
    if (HandleMessage(os::WM_CREATE, 0, 0) == -1) {
        HWND hwnd = m_hWnd;
        m_hWnd = 0;
        Windows().erase(hwnd);
        TimerService::KillAll(hwnd);
        os::DestroyTarget(hwnd);
        m_backend->Destroy();
        return 0;
    }
    const UiRect placed = m_backend->GetWindowRect();
    HandleMessage(os::WM_SIZE, 0, MakePointLParam(placed.GetWidth(), placed.GetHeight()));
    if ((exStyle & WS_EX_TOPMOST) != 0) m_backend->SetTopMost(true);
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
    // The result lives here, not in the window: a window that deletes itself when closed is
    // gone by the time the loop ends.
    int result = 0;
    m_pModalResult = &result;
    // The owner takes no input while the dialog runs, as with a native modal dialog.
    HWND owner = m_hWndParent;
    CWindowWnd* ownerWnd = FromHandle(owner);
    bool ownerWasEnabled = ownerWnd != nullptr && ownerWnd->IsWindowEnabled();
    if (ownerWnd != nullptr) ownerWnd->EnableWindow(false);
    ShowWindow(true);
    HWND hwnd = m_hWnd;
    if (os::MessageLoop* loop = os::MessageLoop::Current()) {
        loop->RunUntil([hwnd] { return !os::IsTarget(hwnd); });
    }
    if (ownerWasEnabled) {
        if (CWindowWnd* w = FromHandle(owner)) w->EnableWindow(true);
    }
    return result;
}

void CWindowWnd::Close(int ret) {
    if (m_hWnd == 0) return;
    PostMessage(os::WM_CLOSE, static_cast<WPARAM>(ret), 0);
}

void CWindowWnd::DestroyWindow() {
    if (m_hWnd == 0) return;
    HWND hwnd = m_hWnd;
    // Child windows go with their parent; collected first, as each removes itself.
    std::vector<CWindowWnd*> children;
    for (const auto& [h, w] : Windows()) {
        if (w->m_hWndParent == hwnd && (w->m_style & WS_CHILD) != 0) children.push_back(w);
    }
    for (CWindowWnd* child : children) {
        if (FromHandle(child->m_hWnd) == child) child->DestroyWindow();
    }
    HandleMessage(os::WM_DESTROY, 0, 0);
    TimerService::KillAll(hwnd);
    if (m_backend) m_backend->Destroy();
    m_hWnd = 0;
    Windows().erase(hwnd);
    os::DestroyTarget(hwnd);
    OnFinalMessage(hwnd);  // may delete this
}

void CWindowWnd::CenterWindow() {
    if (!m_backend) return;
    UiRect rc = m_backend->GetWindowRect();
    UiRect area = m_backend->GetScreenRect();
    // Over a visible owner, kept on the screen; otherwise in the middle of the screen. A child
    // is centred in its parent's client area.
    CWindowWnd* owner = FromHandle(m_hWndParent);
    UiRect over = owner != nullptr && owner->IsWindowVisible() ? owner->GetWindowRect() : area;
    if (IsChildWindow()) {
        over = owner->GetClientRect();
        area = over;
    }
    int x = over.left + (over.GetWidth() - rc.GetWidth()) / 2;
    int y = over.top + (over.GetHeight() - rc.GetHeight()) / 2;
    if (!area.IsEmpty()) {
        x = std::clamp(x, area.left, std::max(area.left, area.right - rc.GetWidth()));
        y = std::clamp(y, area.top, std::max(area.top, area.bottom - rc.GetHeight()));
    }
    MoveWindow(UiRect{x, y, x + rc.GetWidth(), y + rc.GetHeight()});
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (!m_backend) return;
    const UiRect rc = PlacedRect();
    MoveWindow(UiRect{rc.left, rc.top, rc.left + cx, rc.top + cy});
}

bool CWindowWnd::IsChildWindow() const {
    return (m_style & WS_CHILD) != 0 && FromHandle(m_hWndParent) != nullptr;
}

UiRect CWindowWnd::PlacedRect() const {
    UiRect rc = GetWindowRect();
    if (IsChildWindow()) {
        // A child is placed in its parent's client coordinates.
        const UiRect origin = FromHandle(m_hWndParent)->GetWindowRect();
        rc.Offset(-origin.left, -origin.top);
    }
    return rc;
}

void CWindowWnd::MoveWindow(const UiRect& rc) {
    if (!m_backend) return;
    const UiRect old = PlacedRect();
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

UiPoint CWindowWnd::ClientToScreen(UiPoint pt) const {
    const UiRect rc = GetWindowRect();
    return UiPoint{rc.left + pt.x, rc.top + pt.y};
}

UiPoint CWindowWnd::GetCursorPos() const {
    return m_backend ? m_backend->GetCursorPos() : UiPoint{};
}

UiRect CWindowWnd::GetMonitorRect() const {
    return m_backend ? m_backend->GetScreenRect() : UiRect{};
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

bool CWindowWnd::IsIconic() const {
    return m_backend && m_backend->GetShowState() == IWindowBackend::ShowState::kMinimized;
}

bool CWindowWnd::IsZoomed() const {
    return m_backend && m_backend->GetShowState() == IWindowBackend::ShowState::kMaximized;
}

LRESULT CWindowWnd::HandleMessage(uint32_t msg, WPARAM wParam, LPARAM) {
    if (msg == os::WM_CLOSE) {
        m_modalResult = static_cast<int>(wParam);
        if (m_pModalResult != nullptr) *m_pModalResult = m_modalResult;
        m_pModalResult = nullptr;
        DestroyWindow();
    } else if (msg == os::WM_SYSCOMMAND && m_backend) {
        switch (wParam & 0xFFF0) {
            case SC_MINIMIZE:
                m_backend->SetShowState(IWindowBackend::ShowState::kMinimized);
                break;
            case SC_MAXIMIZE:
                m_backend->SetShowState(IWindowBackend::ShowState::kMaximized);
                break;
            case SC_RESTORE:
                m_backend->SetShowState(IWindowBackend::ShowState::kNormal);
                break;
            case SC_CLOSE:
                // Through the window's own close handling, like the close box.
                PostMessage(os::WM_CLOSE, 0, 0);
                break;
            default:
                break;
        }
    }
    return 0;
}

void CWindowWnd::OnFinalMessage(HWND) {}

}  // namespace toolkit
