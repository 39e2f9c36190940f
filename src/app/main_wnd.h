#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/companions/audio_companion.h"
#include "app/companions/light_control.h"
#include "app/device_bar/device_bar.h"
#include "app/dispatch/router.h"
#include "app/dispatch/window_routes.h"
#include "app/language_settings.h"
#include "app/main_wnd_ids.h"
#include "app/worker_table.h"
#include "hid/interface_slot_list.h"
#include "net/update_table.h"
#include "os/session_bus.h"
#include "os/settings_store.h"
#include "os/tray_icon.h"
#include "toolkit/skin_changed_observer.h"
#include "toolkit/window_impl_base.h"
#include "ui/device_hook.h"

namespace app {

// The input hook of key capture and macro recording, as the window switches it.
class IInputHookTarget {
  public:
    virtual ~IInputHookTarget() = default;
    virtual void Install(os::HWND window) = 0;
    virtual void Remove() = 0;
};

// The windows the main window opens that live elsewhere: the settings and about windows.
struct ChildWindowOpeners {
    // Opens the settings window (centred or not) and gives its handle, 0 when it did not open.
    std::function<os::HWND(os::HWND owner, bool centred)> openSettings;
    std::function<os::HWND(os::HWND owner)> openAbout;
};

// The program's one top-level window: the main skin with its title bar, the tray icon and its
// menu, the worker threads and the shutdown order. Notifications, messages and timers go through
// the router's tables (app/dispatch); the window keeps its life cycle. Hidden after "windowinit"
// until the device scan thread has finished its first pass; the close button hides it to the tray,
// and only the tray menu's "exit" (or the system closing the window) ends the program.
class CMainWnd : public toolkit::WindowImplBase,
                 public toolkit::ReceiverImpl<toolkit::SkinChangedParam>,
                 private IWindowRoutes {
  public:
    // Window creation values of the entry.
    static constexpr uint32_t kStyle = 0x96CA0000;
    static constexpr int kCreateWidth = 800;
    static constexpr int kCreateHeight = 572;
    // The size the DPI layout gives the window at 96 DPI.
    static constexpr int kLayoutWidth = 1000;
    static constexpr int kLayoutHeight = 640;

    explicit CMainWnd(os::SessionBus& bus);
    ~CMainWnd() override;

    std::string GetWindowClassName() const override { return "MainWnd"; }
    uint32_t GetClassStyle() const override { return toolkit::CS_DBLCLKS; }
    std::string GetSkinFile() override { return "XML_MAIN"; }
    void InitWindow() override;
    void Notify(toolkit::TNotifyUI& msg) override;
    toolkit::CControlUI* CreateControl(const std::string& className) override;
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                         toolkit::LPARAM lParam, bool& handled) override;
    bool Receive(toolkit::SkinChangedParam param) override;

    // The DPI the layout uses for a screen: 144 on screens above 1500 x 960, else 96. A DPI the
    // environment names in BRASVIK_DPI (for tests and screenshots) goes first.
    static int LayoutDpi(int screenWidth, int screenHeight);
    // The accepted DPI values stand; any other gives 96 (with "MAIN_WND DPI SET ERROR").
    static int AcceptedDpi(int dpi);

    // The window counts as shown when it is visible and not minimised.
    bool IsShown() const { return IsWindowVisible() && !IsIconic(); }
    WorkerTable& workers() { return workers_; }
    const os::TrayIcon& trayIcon() const { return tray_; }
    const LanguageSettings& language() const { return language_; }
    bool initialised() const { return initialised_; }
    int lightControl() const { return lightControl_.flag(); }
    bool active() const { return active_; }
    bool hover() const { return hover_; }
    const std::array<uint8_t, kAudioBandBytes>& audioBands() const { return audioBands_; }

    // The parts the window reaches that other modules own; each may be null (the routes to it
    // then drop their events with a debug line).
    void SetDeviceBar(IDeviceBarTarget* bar) { router_.SetDeviceBar(bar); }
    IDeviceBarTarget* deviceBar() const { return router_.deviceBar(); }
    // The window's own device bar (null before "windowinit" or when one was set from outside).
    DeviceBar* ownDeviceBar() const { return ownBar_.get(); }
    void SetInputHook(IInputHookTarget* hook) { inputHook_ = hook; }
    void SetChildWindowOpeners(ChildWindowOpeners openers) { openers_ = std::move(openers); }
    // The no-device notice after the visible device-bar items, then the window shown, restored
    // and brought to the front with the devices marked window shown (the title message, and the
    // end of a device arrival).
    void ShowAndRaise();
    void UpdateNoDeviceLink();
    // The updater program the firmware message starts.
    static std::string UpdaterPath();
    // The versions of the connected devices, for the settings window's update table.
    std::vector<net::ConnectedVersion> ConnectedVersions() const;
    int wakeCount() const { return wakeCount_; }
    // The open tray menu's window, or 0.
    toolkit::HWND trayMenu() const;

  protected:
    toolkit::LRESULT OnDestroy(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam,
                               bool& handled) override;

  private:
    // ---- IWindowRoutes: what the route rows call ----
    void OnRootResized() override;
    void CloseToTray() override;
    void SysCommand(uint32_t command) override;
    void OpenSkinWindow(toolkit::CControlUI* button) override;
    void OpenSettingsWindow(bool centred) override;
    void OpenAboutWindow() override;
    void HideWindow() override;
    void ToggleLightControl() override;
    void OpenSystemSettings(int which) override;
    void ResetSelectedToDefaults() override;
    void StartWindowTimer(uintptr_t id, int periodMs) override;
    void SetControlText(const std::string& name, const std::string& text) override;
    void SetInputHook(bool on) override;
    void OnActivate(toolkit::WPARAM state) override;
    void OnMouseLeave() override;
    void OnMouseHover() override;
    void OnMouseWheel() override;
    void OnTitleMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam) override;
    void ForwardToSettings(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam) override;
    void OnLightControlMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam) override;
    void ReportToRuvuDuvo() override;
    void OnDestroyMessage() override;
    void OnSuspend() override;
    void OnResume() override;
    void OnCopyData(toolkit::WPARAM wParam, toolkit::LPARAM lParam) override;
    void OnDisplayChange() override;
    void OnDpiChanged(toolkit::WPARAM wParam, toolkit::LPARAM lParam) override;
    void OnTrayIcon(toolkit::LPARAM mouseMessage) override;
    void OnMenuCommand(toolkit::WPARAM wParam) override;
    void ShowSettingProgress() override;
    void ApplyLanguage(int index) override;
    void ClearSettingsBadge() override;
    void OnFirmwareVersion(int productId, int version) override;
    bool OnTimer(uintptr_t id) override;
    void OnDpiLayoutTimer() override;
    void OpenTrayMenu() override;

    void OnWindowInit();
    void StopWorkers();
    void CreateTrayIcon();
    void CloseChildWindows();
    void ApplyDpiLayout();
    void ShowLightControl();
    void PassWindowState();
    void MarkDevicesShown(bool shown);
    void PassLightControl();
    // The message box: 1 confirm, 0 cancel; the title is a language text id too.
    int Ask(const std::string& titleId, const std::string& textId, int buttons);

    dispatch::Router router_{*this};
    os::SessionBus& bus_;
    os::SettingsStore settings_;
    LanguageSettings language_;
    WorkerTable workers_;
    std::shared_ptr<hid::InterfaceSlotList> slots_;
    os::TrayIcon tray_;
    toolkit::UiPoint trayCursor_;
    toolkit::HWND trayMenu_ = 0;

    // Title-bar buttons found in the creation hook.
    toolkit::CControlUI* closeBtn_ = nullptr;
    toolkit::CControlUI* maxBtn_ = nullptr;
    toolkit::CControlUI* restoreBtn_ = nullptr;
    toolkit::CControlUI* minBtn_ = nullptr;
    toolkit::CControlUI* skinBtn_ = nullptr;
    toolkit::CControlUI* gameModeBtn_ = nullptr;
    toolkit::CControlUI* cloudBtn_ = nullptr;
    toolkit::CControlUI* smartEyesBtn_ = nullptr;
    toolkit::CControlUI* setBtn_ = nullptr;
    toolkit::CControlUI* setBtn1_ = nullptr;

    // Child windows the window closes before it hides or ends: the settings, about, colour
    // picker and audio-light windows, 0 while closed.
    enum ChildWindow { kSettingsWindow, kAboutWindow, kColourPicker, kAudioLightWindow };
    std::array<toolkit::HWND, 4> childWindows_{};

    IInputHookTarget* inputHook_ = nullptr;
    // The desktop's keys and buttons for key capture and macro recording (message 1054).
    ui::CDeviceHook hook_;
    // The device bar with the device pages, from "windowinit" on.
    std::unique_ptr<DeviceBar> ownBar_;
    ChildWindowOpeners openers_;
    LightControl lightControl_;
    AudioFrameProcessor audioFrames_;
    std::array<uint8_t, kAudioBandBytes> audioBands_{};
    bool active_ = false;
    bool hover_ = false;

    int dpi_ = 96;
    bool displayChanged_ = false;
    bool initialised_ = false;
    bool published_ = false;
    bool stopped_ = false;
    int wakeCount_ = 0;
};

}  // namespace app
