#pragma once

#include <vector>

#include "profile/basic_profiledata.h"

namespace profile {

// The keyboard's profile document: besides the common records, the keyboard system values and the
// per-key colours of the custom lighting groups.
class CKeyboardProfiledata : public CBasicProfiledata {
  public:
    // "SystemStages"; zeros when absent.
    KeyboardSystemSettings ReadKeyboardSystem();
    void WriteKeyboardSystem(const KeyboardSystemSettings& values);

    // "CustomLightMode"/"CustomLightModeGroupIndex": the selected custom lighting group.
    int ReadCustomGroupIndex();
    void WriteCustomGroupIndex(int group);

    // count colours of "CustomLightMode"/"LightColorInfo"[group]. Missing colours read as zeros
    // and are created as zeros in the current section, so the first read of a group lays it out.
    std::vector<KeyColour> ReadCustomGroupColours(int group, int count);
    // The same without creating anything.
    std::vector<KeyColour> ReadCustomGroupColoursNoFill(int group, int count) const;
    // Colour i of the selected group (the cached group index) takes list[i].
    void WriteCustomGroupColours(const std::vector<KeyColour>& list);

  private:
    KeyboardSystemSettings system_;
    int customGroupIndex_ = 0;
    std::vector<KeyColour> groupColours_;
};

}  // namespace profile
