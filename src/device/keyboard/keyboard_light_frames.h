#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "device/keyboard/keyboard_key_maps.h"
#include "device/lighting_preview.h"
#include "device/preview_tables.h"

namespace device::keyboard {

// The per-key colour map of the custom lighting mode: one page of 64 bytes at page times
// kLightPageSize. LED d takes the low nibble of byte d / 2 when d is even, the high one when odd;
// a nibble is 0 for an unlit key, else 1 plus the index of the key's colour in the palette.
inline constexpr int kLightMapSize = 64;
inline constexpr int kLightPageSize = 512;
using LightMap = std::array<uint8_t, kLightMapSize>;
// A nibble holds at most 15: palette entries beyond the 15th cannot be named.
inline constexpr int kMaxPaletteEntries = 15;

// The palette entry for a colour: the entry equal to it, else the nearest one (the lighting panel
// snaps painted colours to its palette, so a colour off the palette comes from an older profile).
// Nothing with an empty palette.
std::optional<int> PaletteIndexOf(std::span<const Rgb> palette, Rgb colour);

// What painting or filling with a colour puts on the keys, and the paint index (palette index
// plus 1, 0 for off) the uniform map is written with. A colour off the palette, or any colour
// while no paint index is set, is snapped to its palette entry (the nearest) and takes that
// entry's index; a palette colour with a paint index set keeps it. With an empty palette the
// colour stays and the paint index is 0.
struct PaintChoice {
    Rgb colour;
    int paintIndex;
    friend bool operator==(const PaintChoice&, const PaintChoice&) = default;
};
PaintChoice ChoosePaint(std::span<const Rgb> palette, Rgb colour, int currentPaintIndex);
// Filling with the light off: black, paint index 0.
inline constexpr PaintChoice kPaintOff = {{0, 0, 0}, 0};

// The map of the program keys' colours (one per program key, the page's LED list; extra entries
// are ignored). Keys with no LED are skipped; a black key is unlit even when the palette has
// black.
LightMap BuildLightMap(std::span<const LedColour> keyColours, const KeyboardKeyMaps& maps,
                       std::span<const Rgb> palette);

// A map whose nibbles all hold paintIndex (0..15; more counts as 15): the whole keyboard in one
// palette colour, or off.
LightMap UniformLightMap(int paintIndex);

// The nibble of LED d in a map (0 for d out of range).
uint8_t LightMapNibble(const LightMap& map, int led);

// The live frame: red, green, blue per LED for the 114 LEDs, each the key's colour channel times
// its brightness / 256. LEDs that no program key maps to stay black.
inline constexpr int kLiveFrameSize = kLedCount * 3;
using LiveFrame = std::array<uint8_t, kLiveFrameSize>;
void BuildLiveFrame(std::span<const LedColour> keyColours, const KeyboardKeyMaps& maps,
                    LiveFrame& frame);
// The same from the preview's LEDs, read whole, one at a time.
void BuildLiveFrame(const LightingPreview& preview, const KeyboardKeyMaps& maps, LiveFrame& frame);

// The light mode indices whose colours the program streams to the keyboard.
constexpr bool IsStreamedMode(int modeIndex) {
    return modeIndex == 29 || modeIndex == 30;
}

// Music lighting: the bar height 0..25 of the first kAudioWindow levels (fewer when fewer come).
// Each level becomes 600 - level x 600 / 2000, where a value above 600 counts as 500; the height
// is 25 - average x 25 / 600, kept within 0..25. No levels: height 0.
inline constexpr int kAudioWindow = 25;
inline constexpr int kAudioBarMax = 25;
inline constexpr int kAudioMaxLevels = 500;
int AudioBarHeight(std::span<const int32_t> levels);

}  // namespace device::keyboard
