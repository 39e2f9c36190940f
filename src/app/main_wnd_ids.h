#pragma once

#include <cstdint>

namespace app {

// Every number the main window answers to, in one place. Registered messages (the title message,
// the settings forward, the lighting control pair, the "RuvuDuvo" query, the audio companion, the
// twenty hook and four game messages) are numbered at start-up and live in AppGlobals.

// ---- Private window messages ----
// The tray icon: wParam the icon id, lParam the mouse message of the click (WM_LBUTTONUP toggles
// the window, WM_RBUTTONUP opens the tray menu).
inline constexpr uint32_t UWM_TRAY_ICON_MSG = 1025;
// The input hook: wParam 0 removes it, 1 installs it for this window.
inline constexpr uint32_t UWM_INPUT_HOOK_MSG = 1054;
// A menu command: wParam a MenuCmd record ("exit", "about_menu", "setwnd_menu", macro menu names).
inline constexpr uint32_t UWM_MENU_COMMAND_MSG = 1145;
// The DPI of the display changed (only logged).
inline constexpr uint32_t UWM_DPI_NOTICE_MSG = 1224;
// Show the settings progress control "setting_progress".
inline constexpr uint32_t UWM_SHOW_SETTING_PROGRESS_MSG = 3072;
// Apply a language: wParam the language index; the device pages relabel their keys afterwards.
inline constexpr uint32_t UWM_APPLY_LANGUAGE_MSG = 3089;
// 3090 and 3091 are WM_DEVICE_ARRIVAL / WM_DEVICE_REMOVAL of the device scan thread: wParam the
// interface-slot index.
// Open the settings window centred.
inline constexpr uint32_t UWM_OPEN_SETTINGS_MSG = 3093;
// Clear the fore image of "setbtn" (the update badge).
inline constexpr uint32_t UWM_CLEAR_SETTINGS_BADGE_MSG = 3094;
// Sent by the device models; nothing to do for the window.
inline constexpr uint32_t UWM_DEVICE_NOTE_A_MSG = 3328;
inline constexpr uint32_t UWM_DEVICE_NOTE_B_MSG = 3329;
inline constexpr uint32_t UWM_DEVICE_NOTE_C_MSG = 3330;
// Show (lParam 1) or hide (lParam 0) device-bar item wParam.
inline constexpr uint32_t UWM_ITEM_SHOW_MSG = 3331;
// A device's firmware version: wParam the product id, lParam the version; below
// kLowestFirmwareVersion the user is asked to update.
inline constexpr uint32_t UWM_FIRMWARE_VERSION_MSG = 3332;
inline constexpr int kLowestFirmwareVersion = 272;  // 0x0110

// The tray icon's id.
inline constexpr int kTrayIconId = 107;

// ---- Window timers ----
// After "windowinit": DPI layout, redraw, greet the audio companion. Once.
inline constexpr uintptr_t kDpiLayoutTimer = 1011;
// After a right click on the tray icon: open the tray menu. Once.
inline constexpr uintptr_t kTrayMenuTimer = 1032;
// After a "device_profile_combo" choice: apply the chosen profile. Once.
inline constexpr uintptr_t kApplyProfileTimer = 1055;
inline constexpr int kApplyProfileDelayMs = 150;
// After a game event: restore the lighting panel's own lighting. Once.
inline constexpr uintptr_t kGameLightingTimer = 1066;
inline constexpr int kGameLightingDelayMs = 5000;
// After a receiver arrival: poll the receiver's partners (200 ms, then every 1500 ms).
inline constexpr uintptr_t kReceiverPollTimer = 1068;

// ---- Worker slots ----
inline constexpr int kDeviceScanSlot = 0;
// The synchronised lighting thread.
inline constexpr int kLightingSyncSlot = 8;

}  // namespace app
