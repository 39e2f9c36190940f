#pragma once

#include <cstdint>
#include <string>

#include "toolkit/ui_types.h"

namespace toolkit {
class CControlUI;
}

namespace app {

// What the main window's routes reach in the window itself: its own behaviour (show, hide, tray,
// DPI, the lighting-control flag, the companions, the windows it opens). The window implements
// it; the route rows are one-line calls into it.
class IWindowRoutes {
  public:
    virtual ~IWindowRoutes() = default;

    // ---- Notifications ----
    // "windowsize" of "root": re-apply the DPI layout after a display change.
    virtual void OnRootResized() = 0;
    // "closebtn": close the child windows and go to the tray (or minimise without one).
    virtual void CloseToTray() = 0;
    virtual void SysCommand(uint32_t command) = 0;
    virtual void OpenSkinWindow(toolkit::CControlUI* button) = 0;
    virtual void OpenSettingsWindow(bool centred) = 0;
    virtual void OpenAboutWindow() = 0;
    virtual void HideWindow() = 0;
    virtual void ToggleLightControl() = 0;
    // "windowdeviceset_" n: 0 the desktop's keyboard settings, 1 its mouse settings.
    virtual void OpenSystemSettings(int which) = 0;
    // "default_btn": asks, then resets the selected device to its default profile.
    virtual void ResetSelectedToDefaults() = 0;
    virtual void StartWindowTimer(uintptr_t id, int periodMs) = 0;
    virtual void SetControlText(const std::string& name, const std::string& text) = 0;
    // Installs (true) or removes the input hook for key capture.
    virtual void SetInputHook(bool on) = 0;

    // ---- Window messages ----
    virtual void OnActivate(toolkit::WPARAM state) = 0;
    virtual void OnMouseLeave() = 0;
    virtual void OnMouseHover() = 0;
    virtual void OnMouseWheel() = 0;
    virtual void OnTitleMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam) = 0;
    virtual void ForwardToSettings(uint32_t msg, toolkit::WPARAM wParam,
                                   toolkit::LPARAM lParam) = 0;
    virtual void OnLightControlMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam) = 0;
    virtual void ReportToRuvuDuvo() = 0;
    virtual void OnDestroyMessage() = 0;
    virtual void OnSuspend() = 0;
    virtual void OnResume() = 0;
    virtual void OnCopyData(toolkit::WPARAM wParam, toolkit::LPARAM lParam) = 0;
    virtual void OnDisplayChange() = 0;
    virtual void OnDpiChanged(toolkit::WPARAM wParam, toolkit::LPARAM lParam) = 0;
    virtual void OnTrayIcon(toolkit::LPARAM mouseMessage) = 0;
    virtual void OnMenuCommand(toolkit::WPARAM record) = 0;
    virtual void ShowSettingProgress() = 0;
    virtual void ApplyLanguage(int index) = 0;
    virtual void ClearSettingsBadge() = 0;
    virtual void OnFirmwareVersion(int productId, int version) = 0;

    // ---- Timers ----
    // WM_TIMER: stops the timer, then runs its row of the timer table; false for a timer that is
    // not the window's.
    virtual bool OnTimer(uintptr_t id) = 0;
    virtual void OnDpiLayoutTimer() = 0;
    virtual void OpenTrayMenu() = 0;
};

}  // namespace app
