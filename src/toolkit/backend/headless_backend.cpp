#include "toolkit/backend/headless_backend.h"

#include "toolkit/window_wnd.h"

namespace toolkit {

namespace {
UiRect g_screen{0, 0, 1920, 1080};
WindowBackendFactory g_factory;
}  // namespace

void SetWindowBackendFactory(WindowBackendFactory factory) {
    g_factory = std::move(factory);
}

std::unique_ptr<IWindowBackend> CreateWindowBackend() {
    if (g_factory) return g_factory();
    return std::make_unique<HeadlessBackend>();
}

void HeadlessBackend::SetScreenSize(int cx, int cy) {
    g_screen = UiRect{0, 0, cx, cy};
}
UiRect HeadlessBackend::ScreenRect() {
    return g_screen;
}

bool HeadlessBackend::Create(HWND hwnd, const std::string& title, const UiRect& rc, bool) {
    hwnd_ = hwnd;
    title_ = title;
    rect_ = rc;
    return true;
}

bool HeadlessBackend::CreateChild(HWND hwnd, HWND parent, IWindowBackend*, const UiRect& rc) {
    hwnd_ = hwnd;
    parent_ = parent;
    rect_ = rc;
    return true;
}

IWindowBackend* HeadlessBackend::Parent() const {
    if (parent_ == 0) return nullptr;
    CWindowWnd* parent = CWindowWnd::FromHandle(parent_);
    return parent != nullptr ? parent->GetBackend() : nullptr;
}

bool HeadlessBackend::IsShown() const {
    if (!shown_) return false;
    IWindowBackend* parent = Parent();
    return parent_ == 0 || (parent != nullptr && parent->IsShown());
}

UiRect HeadlessBackend::GetWindowRect() const {
    UiRect rc = rect_;
    if (IWindowBackend* parent = Parent()) {
        const UiRect origin = parent->GetWindowRect();
        rc.Offset(origin.left, origin.top);
    }
    return rc;
}

void HeadlessBackend::Present(cairo_surface_t*, const UiRect&) {
    ++presents_;
}

}  // namespace toolkit
