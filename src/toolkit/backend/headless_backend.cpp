#include "toolkit/backend/headless_backend.h"

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

void HeadlessBackend::Present(cairo_surface_t*, const UiRect&) {
    ++presents_;
}

}  // namespace toolkit
