#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// The desktop's own keyboard (0) and mouse (1) settings, for "windowdeviceset_" 0 and 1.

// The command line of the first settings program of the running desktops (XDG_CURRENT_DESKTOP,
// a ':'-separated list) that installed says is there; empty when none is.
std::vector<std::string> SystemSettingsCommand(
    int which, std::string_view desktops, const std::function<bool(const std::string&)>& installed);
// True when program is an executable file on PATH.
bool IsInstalledProgram(const std::string& program);
// Starts the settings program of the running desktop, detached. False when none is installed or
// it could not be started.
bool OpenSystemSettings(int which);

}  // namespace app
