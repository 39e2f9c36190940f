// Saving a keyboard profile: every save reads the whole profile file, replaces the device's section
// and writes the file back atomically (temporary file, flush to disk, rename).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "os/folders.h"
#include "profile/keyboard_profiledata.h"

namespace {

// A keyboard profile with every section filled: 170 keys, lighting, audio lighting, light list,
// system values and one custom colour group of 170 keys.
class KeyboardProfile {
  public:
    KeyboardProfile() {
        std::string pattern = os::TempFolder() + "brasvik-bench-XXXXXX";
        folder_ = ::mkdtemp(pattern.data()) != nullptr ? pattern + "/" : os::TempFolder();
        doc_.SetDefaultPath(os::ProgramFolder() + "../DefaultData/keyboard.Json");
        doc_.SetProfilePath(folder_ + "2021_03_07_09_05_01_042.Json");
        doc_.LoadSection(doc_.GetProfilePath());
        doc_.ReadKeyList();
        doc_.ReadLightInfo();
        doc_.ReadAudioLightInfo();
        doc_.ReadLightList();
        doc_.ReadKeyboardSystem();
        doc_.ReadCustomGroupIndex();
        doc_.ReadCustomGroupColours(0, 170);
    }
    ~KeyboardProfile() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    profile::CKeyboardProfiledata& doc() { return doc_; }
    std::size_t KeyCount() { return doc_.ReadKeyList().size(); }

  private:
    std::string folder_;
    profile::CKeyboardProfiledata doc_;
};

void BM_SaveKeyboardProfile(benchmark::State& state) {
    KeyboardProfile profile;
    if (profile.KeyCount() != 170) {
        state.SkipWithError("keyboard template not found beside the program");
        return;
    }
    for (auto _ : state) {
        if (!profile.doc().Save()) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveKeyboardProfile)->Unit(benchmark::kMicrosecond);

// The same without the disk: the section's styled text alone.
void BM_KeyboardSectionText(benchmark::State& state) {
    KeyboardProfile profile;
    const Json::Value section = profile.doc().LoadSection(profile.doc().GetProfilePath());
    for (auto _ : state) benchmark::DoNotOptimize(profile::JsonFile::StyledText(section));
}
BENCHMARK(BM_KeyboardSectionText)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
