// Arbitrary bytes as a profile file: loaded through LoadSection and read by every record read of
// the four documents, then saved. The same bytes also serve as the default template, the light
// library and an effect frame file ("fuzz.light"), so that each reader sees them.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "profile/de6533_profiledata.h"
#include "profile/keyboard_profiledata.h"
#include "profile/mouse_profiledata.h"

namespace {

const std::string& Folder() {
    // Never destroyed, so that the clean-up at exit can still use it.
    static const std::string* folder = [] {
        // Memory-backed when available: every iteration rewrites files.
        std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/brasvik-fuzz-XXXXXX"
                                                            : "/tmp/brasvik-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) abort();
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(Folder(), ec);
        });
        return new std::string(pattern + "/");
    }();
    return *folder;
}

void Put(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void ReadCommon(profile::CBasicProfiledata& doc, const std::string& dir) {
    doc.ReadKeyList();
    doc.ReadLightInfo();
    doc.ReadAudioLightInfo();
    doc.ReadLightList();
    doc.LoadLightLibrary(dir + "library.config");
    doc.ReadEffectFrames();
    doc.LoadScratchSection(dir + "profile.Json");
    doc.WriteScratchKeyList(doc.ReadScratchKeyList());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = Folder();
    Put(dir + "template.Json", data, size);
    Put(dir + "library.config", data, size);
    Put(dir + "fuzz.light", data, size);

    // The slot comes from the first byte, so that sections beyond the first are reached too.
    const int slot = size > 0 ? data[0] % 4 : 0;

    profile::CKeyboardProfiledata keyboard;
    Put(dir + "profile.Json", data, size);
    keyboard.SetDefaultPath(dir + "template.Json");
    keyboard.SetProfilePath(dir + "profile.Json");
    keyboard.SetDeviceSlot(slot);
    keyboard.LoadSection(dir + "profile.Json");
    ReadCommon(keyboard, dir);
    keyboard.ReadKeyboardSystem();
    const int group = keyboard.ReadCustomGroupIndex();
    keyboard.ReadCustomGroupColoursNoFill(group, 16);
    keyboard.ReadCustomGroupColours(group, 16);
    keyboard.WriteCustomGroupColours(keyboard.ReadCustomGroupColours(group, 4));
    keyboard.WriteKeyList(keyboard.ReadKeyList());
    keyboard.WriteLightInfo(keyboard.ReadLightInfo());
    keyboard.Save();

    profile::CMouseProfiledata mouse;
    Put(dir + "profile.Json", data, size);
    mouse.SetDefaultPath(dir + "template.Json");
    mouse.SetProfilePath(dir + "profile.Json");
    mouse.LoadSection(dir + "profile.Json");
    ReadCommon(mouse, dir);
    mouse.WriteDpiStages(mouse.ReadDpiStages());
    mouse.SetActiveDpiStage(mouse.GetActiveDpiStage());
    mouse.WriteMouseSystem(mouse.ReadMouseSystem());
    mouse.Save();

    profile::CDe6533Profiledata headset;
    Put(dir + "profile.Json", data, size);
    headset.SetDefaultPath(dir + "template.Json");
    headset.SetProfilePath(dir + "profile.Json");
    headset.LoadSection(dir + "profile.Json");
    ReadCommon(headset, dir);
    const profile::HeadsetSystemSettings system = headset.ReadHeadsetSystem();
    headset.ReadEqBands(system.eqType);
    headset.ReadCustomEqBands(system.customEqSelectIndex);
    headset.WriteCustomEqNames(headset.ReadCustomEqNames());
    headset.WriteHeadsetSystem(system);
    headset.Save();
    return 0;
}
