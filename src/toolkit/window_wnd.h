#pragma once

#include <memory>
#include <string>

#include "os/message_loop.h"
#include "toolkit/backend/window_backend.h"
#include "toolkit/ui_types.h"

namespace toolkit {

// Window styles the system passes; the backend reads popup, child and visible, the rest is kept.
inline constexpr uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_DISABLED = 0x08000000;
inline constexpr uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_SYSMENU = 0x00080000;
inline constexpr uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t CS_DBLCLKS = 0x0008;

// System commands (WM_SYSCOMMAND wParam, low four bits ignored).
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;
inline constexpr uint32_t UI_WNDSTYLE_FRAME = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                              WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPSIBLINGS |
                                              WS_CLIPCHILDREN;
inline constexpr uint32_t UI_WNDSTYLE_DIALOG =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// A window (top-level, popup or a child kept over its parent's client area): a message target on
// the UI thread's loop plus a backend window that shows its pixels and feeds it input as window
// messages.
class CWindowWnd : public os::MessageTarget {
  public:
    CWindowWnd();
    ~CWindowWnd() override;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    // The window behind a handle, or nullptr.
    static CWindowWnd* FromHandle(HWND hwnd);
    // Sends a message to every window without a parent (power events, for example); a handler
    // may destroy windows meanwhile.
    static void SendToTopLevelWindows(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual std::string GetWindowClassName() const = 0;
    virtual uint32_t GetClassStyle() const { return 0; }

    // Creates the window; WM_CREATE runs before this returns. 0 when it failed (the creation
    // handler refused, for example because the skin could not be built). cx or cy 0 leaves the
    // size to the window (a skin's size).
    HWND Create(HWND parent, const std::string& name, uint32_t style, uint32_t exStyle, int x = 0,
                int y = 0, int cx = 0, int cy = 0);
    void ShowWindow(bool show = true, bool takeFocus = true);
    bool IsWindowVisible() const;
    bool IsIconic() const;
    // A disabled window drops pointer and key input (an owner while its modal dialog runs).
    void EnableWindow(bool enable = true) { m_bEnabled = enable; }
    bool IsWindowEnabled() const { return m_bEnabled; }
    bool IsZoomed() const;
    // Shows the window and runs a nested loop until it is closed; returns the code given to
    // Close (0 when the window was destroyed otherwise).
    int ShowModal();
    // Asks the window to close (WM_CLOSE with the code as wParam).
    void Close(int ret = 1);
    // Destroys the window and, first, its child windows.
    void DestroyWindow();
    void CenterWindow();
    void ResizeClient(int cx, int cy);
    // A child window (WS_CHILD with a parent window) is placed in the parent's client
    // coordinates; every other window on the screen.
    void MoveWindow(const UiRect& rc);
    bool IsChildWindow() const;
    UiRect GetWindowRect() const;
    UiRect GetClientRect() const;
    // Client coordinates to screen coordinates (windows have no frames).
    UiPoint ClientToScreen(UiPoint pt) const;
    // The pointer in screen coordinates, and the screen (work area) that holds the window: the
    // nearest monitor's size for the DPI layout.
    UiPoint GetCursorPos() const;
    UiRect GetMonitorRect() const;
    void SetWindowText(const std::string& title);
    HWND GetParentWindow() const { return m_hWndParent; }
    uint32_t GetStyle() const { return m_style; }
    uint32_t GetExStyle() const { return m_exStyle; }
    IWindowBackend* GetBackend() const { return m_backend.get(); }

    LRESULT SendMessage(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(uint32_t msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Window timers: WM_TIMER with wParam = id (virtual in tests, see TimerService).
    bool SetTimer(uintptr_t id, uint32_t periodMs);
    bool KillTimer(uintptr_t id);

    LRESULT HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    // Called after the window is gone; windows that own themselves delete themselves here.
    virtual void OnFinalMessage(HWND hwnd);
    // The window's rectangle as MoveWindow takes it.
    UiRect PlacedRect() const;

    HWND m_hWnd = 0;
    HWND m_hWndParent = 0;
    uint32_t m_style = 0;
    uint32_t m_exStyle = 0;
    std::unique_ptr<IWindowBackend> m_backend;
    int m_modalResult = 0;
    int* m_pModalResult = nullptr;  // where ShowModal waits for the close code
    bool m_bEnabled = true;
};

}  // namespace toolkit
