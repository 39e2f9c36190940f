#include "net/firmware_update.h"

#include <sstream>

#include "os/debug_output.h"
#include "os/folders.h"
#include "os/message_loop.h"
#include "os/platform.h"

namespace net {

bool FirmwareUpdateOffered(int firmwareVersion) {
    return firmwareVersion < kUpdaterFirmwareVersion;
}

std::string UpdaterPath() {
    return os::ProgramFolder() + kUpdaterFolder + "/" + kUpdaterFile;
}

FirmwareOffer OfferFirmwareUpdate(os::WPARAM productId, os::LPARAM firmwareVersion,
                                  const FirmwareOfferHooks& hooks) {
    if (!FirmwareUpdateOffered(static_cast<int>(firmwareVersion))) return FirmwareOffer::kNotNeeded;
    const int answer = hooks.ask ? hooks.ask("UpdateTiShi", "UpdateTiShiText") : 0;
    if (answer != 1) {
        os::DebugOutput("firmware update declined: the program ends\n");
        if (hooks.endProgram)
            hooks.endProgram(0);
        else
            os::PostQuitMessage(0);
        return FirmwareOffer::kDeclined;
    }
    // The parameters are one command line, split into words as the updater receives them.
    std::vector<std::string> args;
    std::istringstream words(kUpdaterParameters);
    for (std::string word; words >> word;) args.push_back(word);
    const std::string folder = os::ProgramFolder() + kUpdaterFolder + "/";
    const bool started = hooks.start ? hooks.start(UpdaterPath(), args, folder)
                                     : os::StartProgram(UpdaterPath(), args, folder);
    if (!started) {
        os::DebugOutput("firmware updater " + UpdaterPath() + " could not be started (product 0x" +
                        [productId] {
                            char t[8];
                            std::snprintf(t, sizeof(t), "%04X", static_cast<unsigned>(productId));
                            return std::string(t);
                        }() +
                        ")\n");
        return FirmwareOffer::kStartFailed;
    }
    return FirmwareOffer::kStarted;
}

}  // namespace net
