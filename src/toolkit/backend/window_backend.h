#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/ui_types.h"

namespace toolkit {

// What a window needs from the display system: a native surface to show its pixels, its place on
// the screen, pointer capture. The headless backend keeps everything in memory; the display
// backend lives apart so that the toolkit's core never sees the display library.
class IWindowBackend {
  public:
    virtual ~IWindowBackend() = default;

    // Creates the native window for the target hwnd (input arrives there as window messages).
    virtual bool Create(HWND hwnd, const std::string& title, const UiRect& rc, bool popup) = 0;
    // Creates a child of the window behind parent: rc and later Moves are in the parent's
    // client coordinates (GetWindowRect still answers on the screen), it moves with the parent
    // and shows only while the parent shows. Backends that cannot nest windows make a
    // top-level popup at the same place on the screen.
    virtual bool CreateChild(HWND hwnd, HWND parent, IWindowBackend* parentBackend,
                             const UiRect& rc) {
        UiRect screen = rc;
        if (parentBackend != nullptr) {
            const UiRect origin = parentBackend->GetWindowRect();
            screen.Offset(origin.left, origin.top);
        }
        (void)parent;
        return Create(hwnd, std::string(), screen, true);
    }
    virtual void Destroy() = 0;
    virtual void Show(bool show) = 0;
    virtual bool IsShown() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The window's icon for the desktop's task list: width x height straight 0xAARRGGBB pixels,
    // rows top to bottom. Backends without icons ignore it.
    virtual void SetIcon(const uint32_t* argb, int width, int height) {
        (void)argb;
        (void)width;
        (void)height;
    }
    // Window rectangle in screen coordinates (there are no frames: client size = window size).
    virtual UiRect GetWindowRect() const = 0;
    virtual void Move(const UiRect& rc) = 0;
    // Copies the changed part of the window's surface to the screen.
    virtual void Present(cairo_surface_t* surface, const UiRect& dirty) = 0;
    virtual void SetCapture(bool capture) = 0;
    virtual void SetCursor(const std::string& cursor) = 0;
    // The screen (work area) that holds the window.
    virtual UiRect GetScreenRect() const = 0;
    // Kept above the other windows (WS_EX_TOPMOST); backends without stacking ignore it.
    virtual void SetTopMost(bool on) { (void)on; }
    // The pointer in screen coordinates; where the last input left it on backends without one.
    virtual UiPoint GetCursorPos() const { return UiPoint{}; }
    // Minimised, maximised or normal (the system commands of the title-bar buttons).
    enum class ShowState { kNormal, kMinimized, kMaximized };
    virtual void SetShowState(ShowState state) { (void)state; }
    virtual ShowState GetShowState() const { return ShowState::kNormal; }
};

using WindowBackendFactory = std::function<std::unique_ptr<IWindowBackend>()>;

// The backend every new window gets; the headless one until a display backend is installed.
void SetWindowBackendFactory(WindowBackendFactory factory);
std::unique_ptr<IWindowBackend> CreateWindowBackend();

}  // namespace toolkit
