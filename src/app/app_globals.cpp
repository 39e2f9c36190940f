#include "app/app_globals.h"

#include <cstdio>

#include "os/debug_output.h"
#include "os/folders.h"
#include "os/message_loop.h"

namespace app {

AppGlobals& Globals() {
    static AppGlobals g;
    return g;
}

bool RegisterTitleMessage() {
    AppGlobals& g = Globals();
    g.UWM_TITLE_MSG = os::RegisterWindowMessage(kAppTitle);
    char text[64];
    std::snprintf(text, sizeof text, "软件标示：%d", static_cast<int>(g.UWM_TITLE_MSG));
    os::DebugOutput(text);
    return g.UWM_TITLE_MSG >= os::kRegisteredMessageFirst &&
           g.UWM_TITLE_MSG <= os::kRegisteredMessageLast;
}

void RegisterOtherMessages() {
    AppGlobals& g = Globals();
    g.UWM_SETTINGS_FORWARD_MSG = os::RegisterWindowMessage(kSettingsForwardName);
    g.UWM_LIGHT_CONTROL_ANNOUNCE_MSG = os::RegisterWindowMessage(kLightControlAnnounceName);
    g.UWM_LIGHT_CONTROL_MSG = os::RegisterWindowMessage(kLightControlName);
    g.UWM_RUVUDUVO_QUERY_MSG = os::RegisterWindowMessage(kRuvuDuvoQueryName);
    g.UWM_AUDIO_COMPANION_MSG = os::RegisterWindowMessage(kAudioCompanionName);
    for (size_t i = 0; i < kHookMessageNames.size(); ++i)
        g.hookMessages[i] = os::RegisterWindowMessage(kHookMessageNames[i]);
    for (size_t i = 0; i < kGameMessageNames.size(); ++i)
        g.gameMessages[i] = os::RegisterWindowMessage(kGameMessageNames[i]);
}

std::string UserDataFolder() {
    return os::UserDataFolder(true);
}

}  // namespace app
