#include "profile/keep_aside.h"

#include <filesystem>
#include <system_error>

#include "os/debug_output.h"

namespace profile {

std::string KeepDamagedListAside(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (int n = 1; n <= 1000; ++n) {
        const std::string aside = path + ".bad" + (n == 1 ? std::string() : std::to_string(n));
        if (fs::exists(fs::symlink_status(aside, ec))) continue;
        // A rename keeps the bytes as they are, even of a file that cannot be read.
        fs::rename(path, aside, ec);
        if (ec) break;
        os::DebugOutput("profile: " + path + " is damaged; kept as " + aside + "\n");
        return aside;
    }
    os::DebugOutput("profile: " + path + " is damaged and could not be kept aside" +
                    (ec ? ": " + ec.message() : std::string()) + "\n");
    return {};
}

}  // namespace profile
