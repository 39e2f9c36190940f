#include "device/keyboard/keyboard_light_frames.h"

#include <algorithm>

namespace device::keyboard {

std::optional<int> PaletteIndexOf(std::span<const Rgb> palette, Rgb colour) {
    const size_t n = std::min<size_t>(palette.size(), kMaxPaletteEntries);
    std::optional<int> best;
    int bestDistance = 0;
    for (size_t i = 0; i < n; ++i) {
        const int dr = palette[i].red - colour.red;
        const int dg = palette[i].green - colour.green;
        const int db = palette[i].blue - colour.blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (!best || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
        if (distance == 0) break;
    }
    return best;
}

PaintChoice ChoosePaint(std::span<const Rgb> palette, Rgb colour, int currentPaintIndex) {
    const std::optional<int> index = PaletteIndexOf(palette, colour);
    if (!index) return {colour, 0};
    const bool inPalette = palette[*index] == colour;
    if (inPalette && currentPaintIndex > 0 && currentPaintIndex <= kMaxPaletteEntries)
        return {colour, currentPaintIndex};
    return {palette[*index], *index + 1};
}

namespace {

void SetNibble(LightMap& map, int led, uint8_t value) {
    uint8_t& byte = map[led / 2];
    if (led % 2 == 0)
        byte = static_cast<uint8_t>((byte & 0xF0) | (value & 0x0F));
    else
        byte = static_cast<uint8_t>((byte & 0x0F) | (value << 4));
}

}  // namespace

LightMap BuildLightMap(std::span<const LedColour> keyColours, const KeyboardKeyMaps& maps,
                       std::span<const Rgb> palette) {
    LightMap map{};
    const size_t n = std::min<size_t>(keyColours.size(), kProgramKeyCount);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t led = maps.keyToLed[i];
        if (led >= kLedCount) continue;
        const LedColour& c = keyColours[i];
        uint8_t nibble = 0;
        if (c.red != 0 || c.green != 0 || c.blue != 0) {
            if (const auto index = PaletteIndexOf(palette, {c.red, c.green, c.blue}))
                nibble = static_cast<uint8_t>(*index + 1);
        }
        SetNibble(map, led, nibble);
    }
    return map;
}

LightMap UniformLightMap(int paintIndex) {
    const uint8_t v = static_cast<uint8_t>(std::clamp(paintIndex, 0, 15));
    LightMap map;
    map.fill(static_cast<uint8_t>(v | (v << 4)));
    return map;
}

uint8_t LightMapNibble(const LightMap& map, int led) {
    if (led < 0 || led >= kLightMapSize * 2) return 0;
    const uint8_t byte = map[led / 2];
    return led % 2 == 0 ? byte & 0x0F : byte >> 4;
}

namespace {

template <typename ColourAt>
void FillLiveFrame(size_t count, ColourAt colourAt, const KeyboardKeyMaps& maps, LiveFrame& frame) {
    frame.fill(0);
    const size_t n = std::min<size_t>(count, kProgramKeyCount);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t led = maps.keyToLed[i];
        if (led >= kLedCount) continue;
        const LedColour c = colourAt(i);
        uint8_t* out = frame.data() + led * 3;
        out[0] = static_cast<uint8_t>(c.red * c.brightness / 256);
        out[1] = static_cast<uint8_t>(c.green * c.brightness / 256);
        out[2] = static_cast<uint8_t>(c.blue * c.brightness / 256);
    }
}

}  // namespace

void BuildLiveFrame(std::span<const LedColour> keyColours, const KeyboardKeyMaps& maps,
                    LiveFrame& frame) {
    FillLiveFrame(
        keyColours.size(), [&](size_t i) { return keyColours[i]; }, maps, frame);
}

void BuildLiveFrame(const LightingPreview& preview, const KeyboardKeyMaps& maps, LiveFrame& frame) {
    FillLiveFrame(
        static_cast<size_t>(preview.LedCount()),
        [&](size_t i) { return preview.Led(static_cast<int>(i)).value_or(LedColour{}); }, maps,
        frame);
}

int AudioBarHeight(std::span<const int32_t> levels) {
    const size_t n = std::min<size_t>(levels.size(), kAudioWindow);
    if (n == 0) return 0;
    int64_t sum = 0;
    for (size_t i = 0; i < n; ++i) {
        int64_t v = 600 - static_cast<int64_t>(levels[i]) * 600 / 2000;
        if (v > 600) v = 500;
        sum += v;
    }
    const int64_t average = sum / static_cast<int64_t>(n);
    return static_cast<int>(
        std::clamp<int64_t>(kAudioBarMax - average * kAudioBarMax / 600, 0, kAudioBarMax));
}

}  // namespace device::keyboard
