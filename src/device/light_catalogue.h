#pragma once

#include <string>
#include <vector>

namespace device {

// The light modes of one light variant, from the catalogue "default_light.json": three parallel
// lists in mode index order (the index is what the page, the record and the profile use; the
// device receives the code).
struct LightModeList {
    std::vector<std::string> names;  // language keys
    std::vector<int> visible;        // 1: the mode is offered
    std::vector<int> values;         // the device's codes
    std::vector<std::string> areas;  // language keys of the lighting areas

    int size() const { return static_cast<int>(names.size()); }
    friend bool operator==(const LightModeList&, const LightModeList&) = default;
};

// The catalogue's file name in the DefaultData folder.
inline constexpr const char* kLightCatalogueFile = "default_light.json";

// The modes of variant from the catalogue at path. A missing, damaged or foreign file, one without
// that variant, or a variant with an entry that is not a mode ({"LightName": text, "visible":
// true/false, "value": 0..255}) is written to the diagnostics log with what was wrong, and the
// variant's built-in modes are used instead: the lighting keeps working with the modes the
// program ships with. Areas follow the same rule on their own.
LightModeList ReadLightCatalogue(const std::string& path, int variant);

// The catalogue the program ships with, for variant (empty outside 0..3).
LightModeList BuiltInLightCatalogue(int variant);

}  // namespace device
