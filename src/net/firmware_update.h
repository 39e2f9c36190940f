#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "os/messages.h"

namespace net {

// The keyboard model's request to offer the firmware updater (wParam product id, lParam the
// firmware version).
inline constexpr uint32_t kMsgOfferFirmwareUpdate = 3332;
// Keyboards below this firmware version are offered the updater.
inline constexpr int kUpdaterFirmwareVersion = 0x0110;
// The updater in the "Update" folder of the program folder, and the words it is started with.
inline constexpr const char* kUpdaterFolder = "Update";
inline constexpr const char* kUpdaterFile = "M402-Updater-V0110.exe";
inline constexpr const char* kUpdaterParameters = "On the upgrade";

// What the offer needs from the program around it.
struct FirmwareOfferHooks {
    // Asks the user with the program's message box (title and text are language text ids, OK
    // and Cancel); 1 for OK, 0 otherwise.
    std::function<int(const std::string& titleId, const std::string& textId)> ask;
    // Ends the program with an exit code (default: ends the message loop, so the usual
    // shutdown runs).
    std::function<void(int exitCode)> endProgram;
    // Starts a program detached (default: os::StartProgram).
    std::function<bool(const std::string& program, const std::vector<std::string>& args,
                       const std::string& folder)>
        start;
};

enum class FirmwareOffer {
    kNotNeeded,    // the firmware is new enough: nothing asked
    kStarted,      // OK: the updater runs
    kStartFailed,  // OK, but the updater could not be started (logged)
    kDeclined,     // Cancel: the program ends
};

// Whether a keyboard with this firmware version is offered the updater.
bool FirmwareUpdateOffered(int firmwareVersion);

// The updater's full path: program folder + "Update/" + "M402-Updater-V0110.exe".
std::string UpdaterPath();

// Handles message 3332: below version 0x0110 asks "UpdateTiShi" / "UpdateTiShiText"; OK starts
// the updater detached with "On the upgrade" in the "Update" folder, Cancel ends the program
// with exit code 0.
FirmwareOffer OfferFirmwareUpdate(os::WPARAM productId, os::LPARAM firmwareVersion,
                                  const FirmwareOfferHooks& hooks);

}  // namespace net
