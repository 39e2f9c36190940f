#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/device_bar/device_bar.h"
#include "app/language_settings.h"
#include "app/worker_table.h"
#include "hid/interface_slot_list.h"
#include "os/session_bus.h"
#include "os/settings_store.h"
#include "os/tray_icon.h"
#include "toolkit/skin_changed_observer.h"
#include "toolkit/window_impl_base.h"

namespace app {

// The tray icon's message: wParam the icon id, lParam the mouse message of the click.
inline constexpr uint32_t UWM_TRAY_ICON_MSG = 1025;
inline constexpr int kTrayIconId = 107;

// Timers of the main window.
inline constexpr uintptr_t kDpiLayoutTimer = 1011;
inline constexpr uintptr_t kTrayMenuTimer = 1032;

// Asks the window to apply a language: wParam the language index.
inline constexpr uint32_t UWM_APPLY_LANGUAGE_MSG = 3089;

// The worker slots the window starts.
inline constexpr int kDeviceScanSlot = 0;

// The program's one top-level window: the main skin with its title bar, the tray icon and its
// menu, the worker threads and the shutdown order. Hidden after "windowinit" until the device scan
// thread has finished its first pass; the close button hides it to the tray, and only the tray
// menu's "exit" (or the system closing the window) ends the program.
class CMainWnd : public toolkit::WindowImplBase,
                 public toolkit::ReceiverImpl<toolkit::SkinChangedParam> {
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
    toolkit::CControlUI* CreateControl(const std::string& className) override;
    void Notify(toolkit::TNotifyUI& msg) override;
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
    int wakeCount() const { return wakeCount_; }
    // The device bar, from "windowinit" on (null before).
    DeviceBar* deviceBar() const { return deviceBar_.get(); }
    // The open tray menu's window, or 0.
    toolkit::HWND trayMenu() const;

  protected:
    toolkit::LRESULT OnDestroy(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam,
                               bool& handled) override;

  private:
    void OnWindowInit();
    void OnClick(toolkit::TNotifyUI& msg);
    void OnTimer(uintptr_t id);
    void OnTitleMessage(toolkit::WPARAM wParam, toolkit::LPARAM lParam);
    void OnTrayIcon(toolkit::LPARAM mouseMessage);
    void OnMenuCommand(toolkit::WPARAM wParam);
    void OnDisplayChange();
    void StopWorkers();
    // Device bar: the routes of its notifications, messages and timer (true when handled).
    bool RouteDeviceBarNotify(toolkit::TNotifyUI& msg);
    bool RouteDeviceBarMessage(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam);
    void OnPowerBroadcast(toolkit::WPARAM event);

    void CreateTrayIcon();
    void OpenTrayMenu();
    void UpdateNoDeviceLink();
    void ShowAndRaise();
    void HideToTray();
    void CloseChildWindows();
    void ApplyDpiLayout();
    os::SessionBus::RemoteWindow FindAudioCompanion();
    void GreetAudioCompanion();
    void TellAudioCompanionWeEnd();

    os::SessionBus& bus_;
    os::SettingsStore settings_;
    LanguageSettings language_;
    WorkerTable workers_;
    std::shared_ptr<hid::InterfaceSlotList> slots_;
    std::unique_ptr<DeviceBar> deviceBar_;
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
    std::array<toolkit::HWND, 4> childWindows_{};

    int dpi_ = 96;
    bool displayChanged_ = false;
    bool initialised_ = false;
    bool published_ = false;
    bool stopped_ = false;
    // Between suspend and resume the device messages wait for the reconcile on resume.
    bool asleep_ = false;
    int wakeCount_ = 0;
};

}  // namespace app
