// The main window's messages in the order they are checked, and its timers. A row below the
// first "awake" gate is ignored while the system sleeps.
#include "app/dispatch/router.h"
#include "app/main_wnd_ids.h"
#include "hid/device_scan_thread.h"
#include "os/debug_output.h"
#include "os/messages.h"
#include "os/power_events.h"

namespace app::dispatch {

namespace {

using S = MessageSource;
using T = Target;
using M = const MessageCall&;
constexpr Gate kAlways = Gate::kAlways;
constexpr Gate kAwake = Gate::kAwake;

// Indexes among the twenty hook messages (registration order).
constexpr uint32_t kHookSingleKey = 0;
constexpr uint32_t kHookHitKey = 1;
constexpr uint32_t kHookKbMacro = 2;
constexpr uint32_t kHookMsMacro = 3;
constexpr uint32_t kHookKbMacroSingle = 4;
constexpr uint32_t kHookKbMacroPrevious = 5;
constexpr uint32_t kHookKbMacroLater = 6;
constexpr uint32_t kHookMsMacroSingle = 11;
constexpr uint32_t kHookMsMacroPrevious = 12;
constexpr uint32_t kHookMsMacroLater = 13;

void ToMacroRecorder(M c, uint32_t hook) {
    c.macro->OnHookRecord(static_cast<int>(hook), c.wParam, c.lParam);
}

void GameEvent(M c) {
    c.lighting->ApplyGameEffect(static_cast<int>(c.wParam), static_cast<int>(c.lParam));
    c.window->StartWindowTimer(kGameLightingTimer, kGameLightingDelayMs);
}

constexpr MessageRow kMessages[] = {
    {S::kFixed, os::WM_ACTIVATE, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->OnActivate(c.wParam); }, "activation"},
    {S::kFixed, os::WM_MOUSELEAVE, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->OnMouseLeave(); }, "mouse left"},
    {S::kFixed, os::WM_MOUSEHOVER, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->OnMouseHover(); }, "mouse hover"},
    {S::kFixed, os::WM_MOUSEWHEEL, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->OnMouseWheel(); }, "mouse wheel"},
    {S::kTitle, 0, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->OnTitleMessage(c.wParam, c.lParam); }, "title message"},
    {S::kSettingsForward, 0, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->ForwardToSettings(c.msg, c.wParam, c.lParam); }, "settings forward"},
    {S::kLightControl, 0, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->OnLightControlMessage(c.wParam, c.lParam); }, "lighting control"},
    {S::kRuvuDuvoQuery, 0, kAnyWParam, kAlways, false, T::kWindow,
     [](M c) { c.window->ReportToRuvuDuvo(); }, "RuvuDuvo query"},
    {S::kFixed, os::WM_DESTROY, kAnyWParam, kAlways, true, T::kWindow,
     [](M c) { c.window->OnDestroyMessage(); }, "destroy"},
    {S::kFixed, os::WM_POWERBROADCAST, os::PBT_APMRESUMEAUTOMATIC, kAlways, false, T::kWindow,
     [](M c) { c.window->OnResume(); }, "resume"},
    {S::kFixed, os::WM_POWERBROADCAST, os::PBT_APMSUSPEND, kAlways, false, T::kWindow,
     [](M c) { c.window->OnSuspend(); }, "suspend"},
    // ---- Ignored while the system sleeps from here on ----
    {S::kHook, kHookSingleKey, kAnyWParam, kAwake, false, T::kKeySetPanel,
     [](M c) { c.keySet->OnCapturedKey(c.wParam, c.lParam); }, "hook: captured key"},
    {S::kHook, kHookHitKey, kAnyWParam, kAwake, false, T::kWindow, [](M) {}, "hook: key hit"},
    {S::kHook, kHookKbMacro, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookKbMacro); }, "hook: keyboard macro"},
    {S::kHook, kHookKbMacroLater, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookKbMacroLater); }, "hook: keyboard macro, later"},
    {S::kHook, kHookKbMacroPrevious, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookKbMacroPrevious); }, "hook: keyboard macro, previous"},
    {S::kHook, kHookKbMacroSingle, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookKbMacroSingle); }, "hook: keyboard macro, single"},
    {S::kHook, kHookMsMacro, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) {
         os::DebugOutput("WM_HOOK_KEY_MSMACRO");
         ToMacroRecorder(c, kHookMsMacro);
     },
     "hook: mouse macro"},
    {S::kHook, kHookMsMacroLater, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookMsMacroLater); }, "hook: mouse macro, later"},
    {S::kHook, kHookMsMacroPrevious, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookMsMacroPrevious); }, "hook: mouse macro, previous"},
    {S::kHook, kHookMsMacroSingle, kAnyWParam, kAwake, false, T::kMacroPanel,
     [](M c) { ToMacroRecorder(c, kHookMsMacroSingle); }, "hook: mouse macro, single"},
    {S::kGame, 0, kAnyWParam, kAwake, false, T::kLightingPanel, GameEvent, "Game_Start"},
    {S::kGame, 1, kAnyWParam, kAwake, false, T::kLightingPanel, GameEvent, "Game_End"},
    {S::kGame, 2, kAnyWParam, kAwake, false, T::kLightingPanel, GameEvent, "Game_Kill"},
    {S::kGame, 3, kAnyWParam, kAwake, false, T::kLightingPanel, GameEvent, "Game_Death"},
    {S::kFixed, UWM_DPI_NOTICE_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M) { os::DebugOutput("界面 DPI 1发生变化"); }, "DPI notice"},
    {S::kFixed, os::WM_TIMER, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { *c.handled = c.window->OnTimer(c.wParam); }, "timer"},
    {S::kFixed, os::WM_COPYDATA, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->OnCopyData(c.wParam, c.lParam); }, "copy data"},
    {S::kFixed, os::WM_DISPLAYCHANGE, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->OnDisplayChange(); }, "display change"},
    {S::kFixed, os::WM_DPICHANGED, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->OnDpiChanged(c.wParam, c.lParam); }, "DPI change"},
    {S::kFixed, UWM_TRAY_ICON_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->OnTrayIcon(c.lParam); }, "tray icon"},
    {S::kFixed, UWM_INPUT_HOOK_MSG, 0, kAwake, false, T::kWindow,
     [](M c) { c.window->SetInputHook(false); }, "input hook off"},
    {S::kFixed, UWM_INPUT_HOOK_MSG, 1, kAwake, false, T::kWindow,
     [](M c) { c.window->SetInputHook(true); }, "input hook on"},
    {S::kFixed, UWM_MENU_COMMAND_MSG, kAnyWParam, kAwake, true, T::kWindow,
     [](M c) { c.window->OnMenuCommand(c.wParam); }, "menu command"},
    {S::kFixed, UWM_SHOW_SETTING_PROGRESS_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->ShowSettingProgress(); }, "show setting progress"},
    {S::kFixed, UWM_APPLY_LANGUAGE_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->ApplyLanguage(static_cast<int>(c.wParam)); }, "apply language"},
    {S::kFixed, hid::WM_DEVICE_ARRIVAL, kAnyWParam, kAwake, false, T::kDeviceBar,
     [](M c) { c.bar->OnDeviceArrival(static_cast<int>(c.wParam)); }, "device arrival"},
    {S::kFixed, hid::WM_DEVICE_REMOVAL, kAnyWParam, kAwake, false, T::kDeviceBar,
     [](M c) { c.bar->OnDeviceRemoval(static_cast<int>(c.wParam)); }, "device removal"},
    {S::kFixed, UWM_OPEN_SETTINGS_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->OpenSettingsWindow(true); }, "open settings"},
    {S::kFixed, UWM_CLEAR_SETTINGS_BADGE_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) { c.window->ClearSettingsBadge(); }, "clear settings badge"},
    {S::kFixed, UWM_DEVICE_NOTE_A_MSG, kAnyWParam, kAwake, false, T::kWindow, [](M) {},
     "device note"},
    {S::kFixed, UWM_DEVICE_NOTE_B_MSG, kAnyWParam, kAwake, false, T::kWindow, [](M) {},
     "device note"},
    {S::kFixed, UWM_DEVICE_NOTE_C_MSG, kAnyWParam, kAwake, false, T::kWindow, [](M) {},
     "device note"},
    {S::kFixed, UWM_ITEM_SHOW_MSG, kAnyWParam, kAwake, false, T::kDeviceBar,
     [](M c) { c.bar->OnItemShowMessage(static_cast<int>(c.wParam), c.lParam != 0); },
     "device-bar item shown or hidden"},
    {S::kFixed, UWM_FIRMWARE_VERSION_MSG, kAnyWParam, kAwake, false, T::kWindow,
     [](M c) {
         c.window->OnFirmwareVersion(static_cast<int>(c.wParam), static_cast<int>(c.lParam));
     },
     "firmware version"},
};

using C = const RouteCall&;
constexpr TimerRow kTimers[] = {
    {kDpiLayoutTimer, T::kWindow, [](C c) { c.window->OnDpiLayoutTimer(); },
     "DPI layout and audio companion greeting"},
    {kTrayMenuTimer, T::kWindow, [](C c) { c.window->OpenTrayMenu(); }, "tray menu"},
    {kApplyProfileTimer, T::kProfilePanel, [](C c) { c.profile->ApplyChosenProfile(); },
     "apply the chosen profile"},
    {kGameLightingTimer, T::kLightingPanel, [](C c) { c.lighting->RestoreLighting(); },
     "restore the lighting after a game event"},
    {kReceiverPollTimer, T::kDeviceBar, [](C c) { c.bar->OnReceiverPollTimer(); }, "receiver poll"},
};

}  // namespace

std::span<const MessageRow> MessageTable() {
    return kMessages;
}

std::span<const TimerRow> TimerTable() {
    return kTimers;
}

}  // namespace app::dispatch
