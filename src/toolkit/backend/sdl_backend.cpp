#include "toolkit/backend/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <malloc.h>
#include <poll.h>

#include <cstring>
#include <map>
#include <vector>

#include "os/debug_output.h"
#include "toolkit/backend/window_backend.h"
#include "toolkit/clipboard.h"
#include "toolkit/ui_types.h"

namespace toolkit {

namespace {

class SdlBackend;

// The display connection shared by every window.
struct Display {
    os::MessageLoop* loop = nullptr;
    bool installed = false;
    int watchedFd = -1;
    bool pumpPosted = false;
    std::map<uint32_t, SdlBackend*> windows;  // by SDL window id

    void SchedulePump();
    void Pump();
    void DisplayChanged();
    void WatchConnection(SDL_Window* w);
};

Display& TheDisplay() {
    static Display d;
    return d;
}

OwnKeyCapture& TheOwnKeyCapture() {
    static OwnKeyCapture capture;
    return capture;
}

bool OwnCaptureActive() {
    const OwnKeyCapture& c = TheOwnKeyCapture();
    return c.active && c.active();
}

LPARAM MakeLParam(int x, int y) {
    return static_cast<LPARAM>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                               static_cast<uint16_t>(x));
}

WPARAM KeyState() {
    WPARAM k = 0;
    const uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
    if (buttons & SDL_BUTTON_LMASK) k |= MK_LBUTTON;
    if (buttons & SDL_BUTTON_RMASK) k |= MK_RBUTTON;
    const SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) k |= MK_SHIFT;
    if (mod & KMOD_CTRL) k |= MK_CONTROL;
    return k;
}

// Virtual-key codes for the keys the toolkit and the programs react to.
uint32_t VirtualKey(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint32_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint32_t>(k);
    if (k >= SDLK_F1 && k <= SDLK_F12) return 0x70 + static_cast<uint32_t>(k - SDLK_F1);
    switch (k) {
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_TAB:
            return 0x09;
        case SDLK_RETURN:
            return 0x0D;
        case SDLK_KP_ENTER:
            return 0x0D;
        case SDLK_ESCAPE:
            return 0x1B;
        case SDLK_SPACE:
            return 0x20;
        case SDLK_PAGEUP:
            return 0x21;
        case SDLK_PAGEDOWN:
            return 0x22;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_LEFT:
            return 0x25;
        case SDLK_UP:
            return 0x26;
        case SDLK_RIGHT:
            return 0x27;
        case SDLK_DOWN:
            return 0x28;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
            return 0x2E;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_LALT:
        case SDLK_RALT:
            return 0x12;
        default:
            return 0;
    }
}

// Decodes one UTF-8 sequence; returns the code point and advances p.
uint32_t NextCodePoint(const char*& p) {
    const auto c = static_cast<unsigned char>(*p++);
    if (c < 0x80) return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t cp = c & (0x3F >> extra);
    while (extra-- > 0 && (static_cast<unsigned char>(*p) & 0xC0) == 0x80)
        cp = (cp << 6) | (static_cast<unsigned char>(*p++) & 0x3F);
    return cp;
}

SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* pt, void* data);

// The display's DPI as the layout counts it (96 is 100 %); 96 when the display does not say.
int DisplayDpi(int index) {
    float hdpi = 0;
    if (index < 0 || SDL_GetDisplayDPI(index, nullptr, &hdpi, nullptr) != 0 || !(hdpi >= 24.0f) ||
        hdpi > 1000.0f)
        return 96;
    return static_cast<int>(hdpi + 0.5f);
}

class SdlBackend : public IWindowBackend {
  public:
    ~SdlBackend() override { Destroy(); }

    bool Create(HWND hwnd, const std::string& title, const UiRect& rc, bool popup) override {
        hwnd_ = hwnd;
        const int w = std::max(1, rc.right - rc.left), h = std::max(1, rc.bottom - rc.top);
        uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
        // Drop-downs, menus and tooltips: no taskbar entry, above the other windows.
        if (popup) flags |= SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_POPUP_MENU;
        window_ = SDL_CreateWindow(title.c_str(), rc.left, rc.top, w, h, flags);
        if (window_ == nullptr) {
            os::DebugOutput(std::string("display: cannot create a window: ") + SDL_GetError() +
                            "\n");
            return false;
        }
        SDL_SetWindowHitTest(window_, &HitTest, this);
        dpi_ = DisplayDpi(SDL_GetWindowDisplayIndex(window_));
        Display& d = TheDisplay();
        d.windows[SDL_GetWindowID(window_)] = this;
        d.WatchConnection(window_);
        d.SchedulePump();
        return true;
    }

    // A child: a borderless window that takes no focus and no taskbar entry (override-redirect
    // on X11), placed over the parent's client area and restacked above it whenever the parent
    // comes up.
    bool CreateChild(HWND hwnd, HWND parent, IWindowBackend*, const UiRect& rc) override {
        parent_ = parent;
        rel_ = rc;
        const SdlBackend* p = ParentBackend();
        UiRect screen = rc;
        if (p != nullptr) {
            const UiRect origin = p->GetWindowRect();
            screen.Offset(origin.left, origin.top);
        }
        hwnd_ = hwnd;
        const int w = std::max(1, rc.right - rc.left), h = std::max(1, rc.bottom - rc.top);
        window_ = SDL_CreateWindow("", screen.left, screen.top, w, h,
                                   SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS |
                                       SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_TOOLTIP);
        if (window_ == nullptr) {
            os::DebugOutput(std::string("display: cannot create a child window: ") +
                            SDL_GetError() + "\n");
            return false;
        }
        Display& d = TheDisplay();
        d.windows[SDL_GetWindowID(window_)] = this;
        d.WatchConnection(window_);
        d.SchedulePump();
        return true;
    }

    void Destroy() override {
        if (window_ == nullptr) return;
        TheDisplay().windows.erase(SDL_GetWindowID(window_));
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        TheDisplay().SchedulePump();
    }

    void Show(bool show) override {
        if (window_ == nullptr) return;
        if (parent_ != 0) {
            wanted_ = show;
            FollowParent();
            return;
        }
        if (show) {
            // X places a window that was never mapped where it was created, whatever moves it
            // had while hidden: the last one is applied again once it is on the screen.
            SDL_ShowWindow(window_);
            everShown_ = true;
            if (pendingMove_) {
                Move(pending_);
                replaceOnMap_ = true;
            }
            pendingMove_ = false;
            SDL_RaiseWindow(window_);
        } else {
            SDL_HideWindow(window_);
            // A window going to the tray may stay there for hours: what its painting freed goes
            // back to the system rather than staying in the heap.
            ::malloc_trim(0);
        }
        UpdateChildren();
        TheDisplay().SchedulePump();
    }

    bool IsShown() const override {
        return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0;
    }

    void SetIcon(const uint32_t* argb, int width, int height) override {
        if (!window_ || argb == nullptr || width <= 0 || height <= 0) return;
        SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(argb), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (icon == nullptr) return;
        SDL_SetWindowIcon(window_, icon);  // SDL copies the pixels
        SDL_FreeSurface(icon);
    }
    void SetTitle(const std::string& title) override {
        if (window_) SDL_SetWindowTitle(window_, title.c_str());
    }

    UiRect GetWindowRect() const override {
        if (window_ == nullptr) return {};
        if (pendingMove_) return pending_;
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        SDL_GetWindowSize(window_, &w, &h);
        return UiRect{x, y, x + w, y + h};
    }

    void SetShowState(ShowState state) override {
        if (window_ == nullptr) return;
        if (state == ShowState::kMinimized)
            SDL_MinimizeWindow(window_);
        else if (state == ShowState::kMaximized)
            SDL_MaximizeWindow(window_);
        else
            SDL_RestoreWindow(window_);
        TheDisplay().SchedulePump();
    }

    ShowState GetShowState() const override {
        if (window_ == nullptr) return ShowState::kNormal;
        const uint32_t f = SDL_GetWindowFlags(window_);
        if (f & SDL_WINDOW_MINIMIZED) return ShowState::kMinimized;
        if (f & SDL_WINDOW_MAXIMIZED) return ShowState::kMaximized;
        return ShowState::kNormal;
    }

    void Move(const UiRect& rc) override {
        if (window_ == nullptr) return;
        if (parent_ != 0) {
            rel_ = rc;
            SDL_SetWindowSize(window_, std::max(1, rc.right - rc.left),
                              std::max(1, rc.bottom - rc.top));
            FollowParent();
            return;
        }
        if (!everShown_ && !IsShown()) {
            pending_ = rc;
            pendingMove_ = true;
        }
        // Size first: X11 resizes around the position SDL last knew, which would undo a move
        // that has not been confirmed yet.
        SDL_SetWindowSize(window_, std::max(1, rc.right - rc.left),
                          std::max(1, rc.bottom - rc.top));
        SDL_SetWindowPosition(window_, rc.left, rc.top);
        UpdateChildren();
        TheDisplay().SchedulePump();
    }

    // Places a child over its parent and shows it while both it and the parent are wanted up.
    void FollowParent() {
        if (window_ == nullptr || parent_ == 0) return;
        const SdlBackend* p = ParentBackend();
        const bool parentUp = p != nullptr && p->IsShown() &&
                              (SDL_GetWindowFlags(p->window_) & SDL_WINDOW_MINIMIZED) == 0;
        if (p != nullptr) {
            const UiRect origin = p->GetWindowRect();
            SDL_SetWindowPosition(window_, origin.left + rel_.left, origin.top + rel_.top);
        }
        if (wanted_ && parentUp) {
            SDL_ShowWindow(window_);
            RaiseNative();  // above the parent, which may have been raised over it
        } else {
            SDL_HideWindow(window_);
        }
        TheDisplay().SchedulePump();
    }

    // Every child of this window follows it (after a move, a show or a state change).
    void UpdateChildren() {
        for (const auto& [id, w] : TheDisplay().windows) {
            if (w != this && w->parent_ != 0 && w->parent_ == hwnd_) w->FollowParent();
        }
    }

    void Present(cairo_surface_t* surface, const UiRect& dirty) override {
        if (window_ == nullptr || surface == nullptr) return;
        SDL_Surface* target = SDL_GetWindowSurface(window_);
        if (target == nullptr) return;
        cairo_surface_flush(surface);
        const int sw = cairo_image_surface_get_width(surface);
        const int sh = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* src = cairo_image_surface_get_data(surface);
        if (src == nullptr) return;
        const int x0 = std::max(0, dirty.left), y0 = std::max(0, dirty.top);
        const int x1 = std::min({dirty.right, sw, target->w});
        const int y1 = std::min({dirty.bottom, sh, target->h});
        if (x1 <= x0 || y1 <= y0) return;
        SDL_LockSurface(target);
        // Cairo's ARGB32 and the window surface's 32-bit formats share the byte order on
        // little-endian machines; other formats go through SDL's converter row by row.
        const bool same =
            target->format->BytesPerPixel == 4 && target->format->Rmask == 0x00FF0000 &&
            target->format->Gmask == 0x0000FF00 && target->format->Bmask == 0x000000FF;
        for (int y = y0; y < y1; ++y) {
            const unsigned char* s = src + y * stride + x0 * 4;
            auto* dst = static_cast<unsigned char*>(target->pixels) + y * target->pitch +
                        x0 * target->format->BytesPerPixel;
            if (same) {
                std::memcpy(dst, s, static_cast<size_t>(x1 - x0) * 4);
            } else {
                SDL_ConvertPixels(x1 - x0, 1, SDL_PIXELFORMAT_ARGB8888, s, stride,
                                  target->format->format, dst, target->pitch);
            }
        }
        SDL_UnlockSurface(target);
        SDL_Rect r{x0, y0, x1 - x0, y1 - y0};
        SDL_UpdateWindowSurfaceRects(window_, &r, 1);
    }

    void SetTopMost(bool on) override {
        if (window_) SDL_SetWindowAlwaysOnTop(window_, on ? SDL_TRUE : SDL_FALSE);
    }

    UiPoint GetCursorPos() const override {
        int x = 0, y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        return UiPoint{x, y};
    }

    void SetCapture(bool capture) override { SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE); }

    void SetCursor(const std::string& cursor) override {
        SDL_SystemCursor id = SDL_SYSTEM_CURSOR_ARROW;
        if (cursor == "hand")
            id = SDL_SYSTEM_CURSOR_HAND;
        else if (cursor == "ibeam")
            id = SDL_SYSTEM_CURSOR_IBEAM;
        else if (cursor == "sizewe")
            id = SDL_SYSTEM_CURSOR_SIZEWE;
        else if (cursor == "sizens")
            id = SDL_SYSTEM_CURSOR_SIZENS;
        else if (cursor == "sizeall")
            id = SDL_SYSTEM_CURSOR_SIZEALL;
        else if (cursor == "wait")
            id = SDL_SYSTEM_CURSOR_WAIT;
        else if (cursor == "no")
            id = SDL_SYSTEM_CURSOR_NO;
        static std::map<int, SDL_Cursor*> cursors;
        SDL_Cursor*& c = cursors[id];
        if (c == nullptr) c = SDL_CreateSystemCursor(id);
        if (c) SDL_SetCursor(c);
    }

    UiRect GetScreenRect() const override {
        const int index = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
        SDL_Rect r{0, 0, 0, 0};
        if (SDL_GetDisplayUsableBounds(index, &r) != 0) SDL_GetDisplayBounds(index, &r);
        return UiRect{r.x, r.y, r.x + r.w, r.y + r.h};
    }

    // One SDL event for this window, as window messages.
    void Handle(const SDL_Event& e) {
        const HWND h = hwnd_;
        switch (e.type) {
            case SDL_MOUSEMOTION:
                if (!inside_) inside_ = true;
                os::SendMessage(h, os::WM_MOUSEMOVE, KeyState(),
                                MakeLParam(e.motion.x, e.motion.y));
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const bool down = e.type == SDL_MOUSEBUTTONDOWN;
                if (OwnCaptureActive() && TheOwnKeyCapture().button) {
                    int wx = 0, wy = 0;
                    SDL_GetWindowPosition(window_, &wx, &wy);
                    TheOwnKeyCapture().button(e.button.button, down, wx + e.button.x,
                                              wy + e.button.y);
                }
                uint32_t msg = 0;
                if (e.button.button == SDL_BUTTON_LEFT)
                    msg = !down                  ? os::WM_LBUTTONUP
                          : e.button.clicks == 2 ? os::WM_LBUTTONDBLCLK
                                                 : os::WM_LBUTTONDOWN;
                else if (e.button.button == SDL_BUTTON_RIGHT)
                    msg = down ? os::WM_RBUTTONDOWN : os::WM_RBUTTONUP;
                else if (e.button.button == SDL_BUTTON_MIDDLE)
                    msg = down ? os::WM_MBUTTONDOWN : os::WM_MBUTTONUP;
                if (msg) os::SendMessage(h, msg, KeyState(), MakeLParam(e.button.x, e.button.y));
                break;
            }
            case SDL_MOUSEWHEEL: {
                int x = 0, y = 0;
                SDL_GetMouseState(&x, &y);
                const auto delta = static_cast<int16_t>(e.wheel.y * 120);
                os::SendMessage(
                    h, os::WM_MOUSEWHEEL,
                    (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) | KeyState(),
                    MakeLParam(x, y));
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (OwnCaptureActive()) {
                    if (TheOwnKeyCapture().key)
                        TheOwnKeyCapture().key(static_cast<int>(e.key.keysym.scancode),
                                               e.type == SDL_KEYDOWN, e.key.repeat != 0);
                    break;
                }
                if (const uint32_t vk = VirtualKey(e.key.keysym.sym))
                    os::SendMessage(h, e.type == SDL_KEYDOWN ? os::WM_KEYDOWN : os::WM_KEYUP, vk,
                                    e.key.repeat ? 0x40000000 : 0);
                break;
            case SDL_TEXTINPUT:
                if (OwnCaptureActive()) break;  // its key went to the capture
                for (const char* p = e.text.text; *p;)
                    os::SendMessage(h, os::WM_CHAR, NextCodePoint(p), 0);
                break;
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_SHOWN:
                    case SDL_WINDOWEVENT_MOVED:
                        // The first map may still report the creation place: move once more.
                        if (replaceOnMap_) {
                            replaceOnMap_ = false;
                            const UiRect now = GetWindowRect();
                            if (now.left != pending_.left || now.top != pending_.top)
                                Move(pending_);
                        }
                        // Dragged by the caption or shown by the desktop: children follow.
                        UpdateChildren();
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        os::SendMessage(h, os::WM_PAINT, 0, 0);
                        break;
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        os::SendMessage(h, os::WM_SIZE, 0,
                                        MakeLParam(e.window.data1, e.window.data2));
                        os::SendMessage(h, os::WM_PAINT, 0, 0);
                        break;
                    case SDL_WINDOWEVENT_LEAVE:
                        inside_ = false;
                        os::SendMessage(h, os::WM_MOUSELEAVE, 0, 0);
                        break;
                    case SDL_WINDOWEVENT_HIDDEN:
                    case SDL_WINDOWEVENT_MINIMIZED:
                    case SDL_WINDOWEVENT_RESTORED:
                        // Changed by the desktop: children follow.
                        UpdateChildren();
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        UpdateChildren();
                        os::SendMessage(h, os::WM_ACTIVATE, 1, 0);
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        os::SendMessage(h, os::WM_ACTIVATE, 0, 0);
                        break;
                    case SDL_WINDOWEVENT_CLOSE:
                        os::SendMessage(h, os::WM_CLOSE, 0, 0);
                        break;
                    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                        CheckDpi(static_cast<int>(e.window.data1));
                        break;
                    default:
                        break;
                }
                break;
            default:
                break;
        }
    }

    HWND hwnd() const { return hwnd_; }

    // After the window reached another monitor or a monitor changed: a new DPI reaches the
    // window as WM_DPICHANGED (the DPI in both words of wParam, lParam a UiRect* with the
    // window's rectangle scaled to the new DPI around its top-left corner).
    void CheckDpi(int displayIndex) {
        if (window_ == nullptr) return;
        if (displayIndex < 0) displayIndex = SDL_GetWindowDisplayIndex(window_);
        const int dpi = DisplayDpi(displayIndex);
        if (dpi == dpi_) return;
        const UiRect rc = GetWindowRect();
        UiRect suggested{rc.left, rc.top, rc.left + rc.GetWidth() * dpi / dpi_,
                         rc.top + rc.GetHeight() * dpi / dpi_};
        dpi_ = dpi;
        os::SendMessage(hwnd_, os::WM_DPICHANGED,
                        (static_cast<WPARAM>(dpi) << 16) | static_cast<WPARAM>(dpi),
                        reinterpret_cast<LPARAM>(&suggested));
    }

  private:
    const SdlBackend* ParentBackend() const {
        for (const auto& [id, w] : TheDisplay().windows) {
            if (w->hwnd_ == parent_) return w;
        }
        return nullptr;
    }

    // Restacks the window on top without asking the window manager for focus.
    void RaiseNative() {
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(window_, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
            XRaiseWindow(info.info.x11.display, info.info.x11.window);
            XFlush(info.info.x11.display);
        }
    }

    HWND hwnd_ = 0;
    HWND parent_ = 0;  // the parent window of a child
    UiRect rel_;       // a child's place in its parent's client coordinates
    bool wanted_ = false;
    SDL_Window* window_ = nullptr;
    bool inside_ = false;
    int dpi_ = 96;
    bool everShown_ = false;
    bool pendingMove_ = false;
    bool replaceOnMap_ = false;  // moved before the first show: pending_ is where it goes
    UiRect pending_;
};

SDL_HitTestResult HitTest(SDL_Window*, const SDL_Point* pt, void* data) {
    auto* self = static_cast<SdlBackend*>(data);
    const os::LRESULT r =
        os::SendMessage(self->hwnd(), os::WM_NCHITTEST, 0, MakeLParam(pt->x, pt->y));
    return r == HTCAPTION ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

void Display::SchedulePump() {
    if (loop == nullptr || pumpPosted) return;
    pumpPosted = true;
    loop->PostTask([this] {
        pumpPosted = false;
        Pump();
    });
}

void Display::Pump() {
    SDL_Event e;
    // SDL reads the display connection itself; drain everything it has queued.
    for (int i = 0; i < 10000 && SDL_PollEvent(&e) == 1; ++i) {
        if (e.type == SDL_DISPLAYEVENT) {
            DisplayChanged();
            continue;
        }
        uint32_t id = 0;
        switch (e.type) {
            case SDL_MOUSEMOTION:
                id = e.motion.windowID;
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                id = e.button.windowID;
                break;
            case SDL_MOUSEWHEEL:
                id = e.wheel.windowID;
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                id = e.key.windowID;
                break;
            case SDL_TEXTINPUT:
                id = e.text.windowID;
                break;
            case SDL_WINDOWEVENT:
                id = e.window.windowID;
                break;
            default:
                break;
        }
        auto it = windows.find(id);
        if (it != windows.end()) it->second->Handle(e);
    }
}

void Display::DisplayChanged() {
    // A monitor came, went or turned: every window hears of it (wParam: bits per pixel, lParam:
    // the primary screen's size) and then of its own new DPI, if that changed. A handler may
    // close windows, so each is looked up again.
    SDL_Rect r{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &r);
    std::vector<uint32_t> ids;
    for (const auto& [id, w] : windows) ids.push_back(id);
    for (uint32_t id : ids) {
        auto it = windows.find(id);
        if (it == windows.end()) continue;
        os::SendMessage(it->second->hwnd(), os::WM_DISPLAYCHANGE, 32, MakeLParam(r.w, r.h));
        it = windows.find(id);
        if (it != windows.end()) it->second->CheckDpi(-1);
    }
}

void Display::WatchConnection(SDL_Window* w) {
    if (watchedFd >= 0 || loop == nullptr) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(w, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
        watchedFd = ConnectionNumber(info.info.x11.display);
        loop->WatchFd(watchedFd, POLLIN, [this](short) { Pump(); });
    } else {
        // FIXME: only X11 exposes its connection here; other video drivers are not watched yet.
        os::DebugOutput("display: not an X11 connection; input is read after each message only\n");
    }
}

}  // namespace

bool InstallSdlBackend(os::MessageLoop& loop) {
    Display& d = TheDisplay();
    if (d.installed) return true;
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The toolkit paints with Cairo into memory and only copies the result: the window surface
    // stays on the display's own (shared-memory) framebuffer. Otherwise SDL backs it with an
    // OpenGL renderer, which loads a whole OpenGL stack and costs some 100 MB for nothing.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        os::DebugOutput(std::string("display: ") + SDL_GetError() + "\n");
        return false;
    }
    SDL_StartTextInput();
    // The edits copy to and paste from the desktop's clipboard from now on.
    CClipboard::SetHandlers([](const std::string& text) { SDL_SetClipboardText(text.c_str()); },
                            [] {
                                std::string text;
                                if (char* t = SDL_GetClipboardText()) {
                                    text = t;
                                    SDL_free(t);
                                }
                                return text;
                            });
    d.loop = &loop;
    d.installed = true;
    SetWindowBackendFactory([] { return std::make_unique<SdlBackend>(); });
    return true;
}

void UninstallSdlBackend() {
    Display& d = TheDisplay();
    if (!d.installed) return;
    if (d.loop != nullptr && d.watchedFd >= 0) d.loop->UnwatchFd(d.watchedFd);
    SetWindowBackendFactory(nullptr);
    CClipboard::SetHandlers(nullptr, nullptr);
    SDL_StopTextInput();
    SDL_Quit();
    d.loop = nullptr;
    d.watchedFd = -1;
    d.pumpPosted = false;
    d.windows.clear();
    d.installed = false;
}

void SetOwnKeyCapture(OwnKeyCapture capture) {
    TheOwnKeyCapture() = std::move(capture);
}

bool SdlBackendInstalled() {
    return TheDisplay().installed;
}

}  // namespace toolkit
