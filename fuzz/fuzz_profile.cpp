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

// A fresh profile file holding the input, loaded into doc, and the reads every kind shares.
void LoadAndReadCommon(profile::CBasicProfiledata& doc, int slot, const std::uint8_t* data,
                       std::size_t size) {
    const std::string& dir = Folder();
    Put(dir + "profile.Json", data, size);
    doc.SetDefaultPath(dir + "template.Json");
    doc.SetProfilePath(dir + "profile.Json");
    doc.SetDeviceSlot(slot);
    doc.LoadSection(dir + "profile.Json");
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

    // The keyboard's slot comes from the first byte, so that sections beyond the first are
    // reached too; the other kinds always use slot 0.
    const int slot = size > 0 ? data[0] % 4 : 0;

    profile::CKeyboardProfiledata keyboard;
    LoadAndReadCommon(keyboard, slot, data, size);
    keyboard.ReadKeyboardSystem();
    const int group = keyboard.ReadCustomGroupIndex();
    keyboard.ReadCustomGroupColoursNoFill(group, 16);
    keyboard.ReadCustomGroupColours(group, 16);
    keyboard.WriteCustomGroupColours(keyboard.ReadCustomGroupColours(group, 4));
    keyboard.WriteKeyList(keyboard.ReadKeyList());
    keyboard.WriteLightInfo(keyboard.ReadLightInfo());
    keyboard.Save();

    profile::CMouseProfiledata mouse;
    LoadAndReadCommon(mouse, 0, data, size);
    mouse.WriteDpiStages(mouse.ReadDpiStages());
    mouse.SetActiveDpiStage(mouse.GetActiveDpiStage());
    mouse.WriteMouseSystem(mouse.ReadMouseSystem());
    mouse.Save();

    profile::CDe6533Profiledata headset;
    LoadAndReadCommon(headset, 0, data, size);
    const profile::HeadsetSystemSettings system = headset.ReadHeadsetSystem();
    headset.ReadEqBands(system.eqType);
    headset.ReadCustomEqBands(system.customEqSelectIndex);
    headset.WriteCustomEqNames(headset.ReadCustomEqNames());
    headset.WriteHeadsetSystem(system);
    headset.Save();
    return 0;
}
