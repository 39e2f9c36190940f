#pragma once

#include "toolkit/backend/window_backend.h"

namespace toolkit {

// A window without a display: its pixels stay in the paint manager's offscreen surface and the
// screen is a configurable rectangle, so tests and the headless mode lay windows out as on a
// real monitor.
class HeadlessBackend : public IWindowBackend {
  public:
    static void SetScreenSize(int cx, int cy);
    static UiRect ScreenRect();

    bool Create(HWND hwnd, const std::string& title, const UiRect& rc, bool popup) override;
    bool CreateChild(HWND hwnd, HWND parent, IWindowBackend* parentBackend,
                     const UiRect& rc) override;
    void Destroy() override { shown_ = false; }
    void Show(bool show) override { shown_ = show; }
    bool IsShown() const override;
    void SetTitle(const std::string& title) override { title_ = title; }
    UiRect GetWindowRect() const override;
    void Move(const UiRect& rc) override { rect_ = rc; }
    void Present(cairo_surface_t* surface, const UiRect& dirty) override;
    void SetCapture(bool capture) override { captured_ = capture; }
    void SetCursor(const std::string& cursor) override { cursor_ = cursor; }
    UiRect GetScreenRect() const override { return ScreenRect(); }
    void SetShowState(ShowState state) override { state_ = state; }
    ShowState GetShowState() const override { return state_; }

    const std::string& GetTitle() const { return title_; }
    bool IsCapturing() const { return captured_; }
    const std::string& GetCursor() const { return cursor_; }
    int GetPresentCount() const { return presents_; }

  private:
    // The parent's backend while it lives (a child keeps rect_ in its client coordinates).
    IWindowBackend* Parent() const;

    HWND hwnd_ = 0;
    HWND parent_ = 0;
    std::string title_;
    UiRect rect_;
    bool shown_ = false;
    bool captured_ = false;
    std::string cursor_;
    int presents_ = 0;
    ShowState state_ = ShowState::kNormal;
};

}  // namespace toolkit
