#include "app/system_settings.h"

#include <unistd.h>

#include <cstdlib>

#include "os/debug_output.h"
#include "os/platform.h"
#include "toolkit/ui_types.h"

namespace app {

namespace {

// One settings program: the desktop names it belongs to (as XDG_CURRENT_DESKTOP spells them),
// the program, and its argument for the keyboard page and the mouse page (empty: none).
struct SettingsProgram {
    std::string_view desktop;
    std::string_view program;
    std::string_view keyboardArg;
    std::string_view mouseArg;
};

// In the order they are tried for a desktop.
constexpr SettingsProgram kPrograms[] = {
    {"GNOME", "gnome-control-center", "keyboard", "mouse"},
    {"Unity", "gnome-control-center", "keyboard", "mouse"},
    {"Budgie", "gnome-control-center", "keyboard", "mouse"},
    {"KDE", "systemsettings", "kcm_keyboard", "kcm_mouse"},
    {"KDE", "systemsettings5", "kcm_keyboard", "kcm_mouse"},
    {"XFCE", "xfce4-keyboard-settings", "", ""},
    {"MATE", "mate-keyboard-properties", "", ""},
    {"X-Cinnamon", "cinnamon-settings", "keyboard", "mouse"},
    {"LXQt", "lxqt-config-input", "", ""},
};
// The mouse programs of the desktops whose keyboard and mouse settings are two programs.
constexpr SettingsProgram kMousePrograms[] = {
    {"XFCE", "xfce4-mouse-settings", "", ""},
    {"MATE", "mate-mouse-properties", "", ""},
};

}  // namespace

std::vector<std::string> SystemSettingsCommand(
    int which, std::string_view desktops,
    const std::function<bool(const std::string&)>& installed) {
    while (!desktops.empty()) {
        const size_t colon = desktops.find(':');
        const std::string_view desktop = desktops.substr(0, colon);
        desktops =
            colon == std::string_view::npos ? std::string_view() : desktops.substr(colon + 1);
        auto match = [&](const SettingsProgram& p) -> std::vector<std::string> {
            if (!toolkit::EqualsNoCase(p.desktop, desktop) || !installed(std::string(p.program)))
                return {};
            std::vector<std::string> command{std::string(p.program)};
            const std::string_view arg = which == 0 ? p.keyboardArg : p.mouseArg;
            if (!arg.empty()) command.emplace_back(arg);
            return command;
        };
        if (which == 1) {
            for (const SettingsProgram& p : kMousePrograms)
                if (auto command = match(p); !command.empty()) return command;
        }
        for (const SettingsProgram& p : kPrograms) {
            // A desktop with a mouse program of its own opens its keyboard program only for 0.
            if (which == 1) {
                bool separate = false;
                for (const SettingsProgram& m : kMousePrograms)
                    separate = separate || toolkit::EqualsNoCase(m.desktop, p.desktop);
                if (separate) continue;
            }
            if (auto command = match(p); !command.empty()) return command;
        }
    }
    return {};
}

bool IsInstalledProgram(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const size_t colon = dirs.find(':');
        const std::string dir(dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        if (dir.empty()) continue;
        if (::access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

bool OpenSystemSettings(int which) {
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    const std::vector<std::string> command =
        SystemSettingsCommand(which, desktops ? desktops : "", IsInstalledProgram);
    if (command.empty()) {
        os::DebugOutput("no keyboard or mouse settings program of the running desktop (" +
                        std::string(desktops ? desktops : "") + ")\n");
        return false;
    }
    return os::StartProgram(command[0], {command.begin() + 1, command.end()});
}

}  // namespace app
