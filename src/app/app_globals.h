#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "os/folders.h"
#include "os/messages.h"

namespace app {

// The application title: window caption, instance name, user data folder name, the wake message.
inline constexpr const char* kAppTitle = "Brasvik M402";

// Names of the registered messages of the start-up, in table order.
inline constexpr const char* kSettingsForwardName = "{6C0D2E81-7A4B-4C3E-8D15-2B9F7A0C3115}";
inline constexpr const char* kLightControlAnnounceName = "{6C0D2E81-7A4B-4C3E-8D15-2B9F7A0C3116}";
inline constexpr const char* kLightControlName = "{6C0D2E81-7A4B-4C3E-8D15-2B9F7A0C3117}";
inline constexpr const char* kRuvuDuvoQueryName = "{6C0D2E81-7A4B-4C3E-8D15-2B9F7A0C3118}";
// Ends in 3019, not 3119: the companion registers exactly this name.
inline constexpr const char* kAudioCompanionName = "{6C0D2E81-7A4B-4C3E-8D15-2B9F7A0C3019}";

// The input hook's twenty message names, in registration order. "UWM_MOUSERBUTTONDOWN_USER_MSG"
// stands twice, so two of the twenty numbers are equal.
inline constexpr std::array<const char*, 20> kHookMessageNames = {
    "WM_HOOK_KEY_SINGLEKEY_MSG",       "WM_HOOK_KEY_HITKEY_MSG",
    "WM_HOOK_KEY_KBMACRO_MSG",         "WM_HOOK_KEY_MSMACRO_MSG",
    "WM_HOOK_KEY_KBMACROSINGLE_MSG",   "WM_HOOK_KEY_KBMACROPREVIOUS_MSG",
    "WM_HOOK_KEY_KBMACROLATER_MSG",    "WM_HOOK_MOU_SINGLEKEY_MSG",
    "WM_HOOK_MOU_HITKEY_MSG",          "WM_HOOK_MOU_KBMACRO_MSG",
    "WM_HOOK_MOU_MSMACRO_MSG",         "WM_HOOK_KEY_MSMACROSINGLE_MSG",
    "WM_HOOK_KEY_MSMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG",
    "UWM_MOUSERBUTTONDOWN_USER_MSG",   "UWM_MOUSELBUTTONUP_USER_MSG",
    "UWM_MOUSELBUTTONDOWN_USER_MSG",   "UWM_MOUSERBUTTONUP_USER_MSG",
    "UWM_MOUSERBUTTONDOWN_USER_MSG",   "UWM_MOUSEMOVE_USER_MSG",
};

inline constexpr std::array<const char*, 4> kGameMessageNames = {"Game_Start", "Game_End",
                                                                 "Game_Kill", "Game_Death"};

// Process-wide values set once at start-up and read from any thread.
struct AppGlobals {
    uint32_t UWM_TITLE_MSG = 0;
    uint32_t UWM_SETTINGS_FORWARD_MSG = 0;
    uint32_t UWM_LIGHT_CONTROL_ANNOUNCE_MSG = 0;
    uint32_t UWM_LIGHT_CONTROL_MSG = 0;
    uint32_t UWM_RUVUDUVO_QUERY_MSG = 0;
    uint32_t UWM_AUDIO_COMPANION_MSG = 0;
    std::array<uint32_t, 20> hookMessages{};
    std::array<uint32_t, 4> gameMessages{};

    std::atomic<os::HWND> mainWindow{0};
    std::atomic<int> screenWidth{0};
    std::atomic<int> screenHeight{0};
    std::atomic<uint8_t> systemAwake{1};
};

AppGlobals& Globals();

// Registers the title message (start-up step 4); true when its number is in the registered range.
bool RegisterTitleMessage();
// Registers the other five start-up messages in table order, then the hook and game messages.
void RegisterOtherMessages();

using os::DefaultDataFolder;
// The user data folder (os::UserDataFolder), created when missing.
std::string UserDataFolder();

}  // namespace app
