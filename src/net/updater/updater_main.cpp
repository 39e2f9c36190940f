// The firmware updater that ships in the program's "Update" folder. The program starts it with
// the words "On the upgrade" when a keyboard's firmware is older than V0110. It finds the
// keyboard's command interface, says what it would write and exits: this build carries no
// firmware image, so nothing is written to the device.
//
//   M402-Updater-V0110.exe On the upgrade [--demo[=VERSION]]
//
// --demo puts a simulated keyboard (firmware VERSION, default 0x010F) on the virtual HID bus
// and looks there instead of at the machine's hidraw nodes.
//
// Exit codes: 0 the keyboard was found (whatever its firmware), 1 no keyboard, 2 bad arguments.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "hid/device_path.h"
#include "hid/hid_device.h"
#include "hid/supported_device.h"
#include "os/hid/hid_platform.h"
#include "sim/firmware.h"
#include "sim/simulated_device.h"

namespace {

constexpr uint16_t kTargetVersion = 0x0110;

struct Keyboard {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
};

// The keyboard's command interface (the catalogue's first row) among the present interfaces.
bool FindKeyboard(Keyboard* found) {
    const hid::SupportedDevice& row = hid::kSupportedDevices[0];
    hid::HidDevice lister;
    if (!lister.Enumerate()) return false;
    std::vector<std::string> candidates;
    while (const char* path = lister.NextPath()) {
        if (hid::ParseVendorId(path) == row.vendorId &&
            hid::ParseProductId(path) == row.productId &&
            hid::ParseInterfaceNumber(path) == row.interfaceNumber &&
            hid::ParseCollectionNumber(path) == row.collectionNumber)
            candidates.push_back(path);
    }
    lister.FreePaths();
    for (const std::string& path : candidates) {
        hid::HidDevice device;
        if (!device.Open(path, false, false, true, false)) {
            std::fprintf(stderr, "The keyboard at %s cannot be opened (error %u).\n", path.c_str(),
                         device.LastError());
            continue;
        }
        *found = {path, device.VendorId(), device.ProductId(), device.VersionNumber()};
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::string words;
    bool demo = false;
    uint16_t demoVersion = 0x010F;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--demo" || arg.starts_with("--demo=")) {
            demo = true;
            if (arg.size() > 7)
                demoVersion = static_cast<uint16_t>(std::strtoul(arg.c_str() + 7, nullptr, 0));
        } else {
            words += (words.empty() ? "" : " ") + arg;
        }
    }
    std::printf("M402 firmware updater V0110\n");
    if (words != "On the upgrade") {
        std::fprintf(stderr,
                     "This updater is started by Brasvik M402 when a keyboard needs new "
                     "firmware.\nUsage: %s On the upgrade [--demo[=VERSION]]\n",
                     argc > 0 ? argv[0] : "M402-Updater-V0110.exe");
        return 2;
    }

    std::unique_ptr<sim::SimulatedDevice> simulated;
    if (demo) {
        os::hid::SelectBackends(os::hid::kBackendVirtual);
        auto firmware = std::make_shared<sim::Firmware>(sim::Kind::kKeyboard);
        firmware->SetVersionNumber(demoVersion);
        simulated = std::make_unique<sim::SimulatedDevice>(firmware);
        std::string error;
        if (!simulated->Plug(&error)) {
            std::fprintf(stderr, "The simulated keyboard could not be plugged: %s\n",
                         error.c_str());
            return 1;
        }
    }

    Keyboard keyboard;
    if (!FindKeyboard(&keyboard)) {
        std::printf(
            "No keyboard found. Connect the keyboard with its cable and start the update "
            "again.\n");
        return 1;
    }
    std::printf("Keyboard found: vendor 0x%04X, product 0x%04X, firmware V%04X\n  at %s\n",
                keyboard.vendorId, keyboard.productId, keyboard.version, keyboard.path.c_str());
    if (keyboard.version >= kTargetVersion) {
        std::printf("The keyboard already has firmware V%04X or newer. Nothing to do.\n",
                    kTargetVersion);
        return 0;
    }
    std::printf(
        "It would now write firmware V%04X to the keyboard, replacing V%04X.\n"
        "This build carries no firmware image: nothing has been written.\n",
        kTargetVersion, keyboard.version);
    return 0;
}
