#pragma once

// The fixed tables of the lighting preview. The page animates the LEDs from these alone, so the
// same mode looks the same on every device and at every run.

#include <array>
#include <cstdint>

namespace device {

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// Preview intensity for the brightness levels 0..4 of the lighting record.
inline constexpr std::array<uint8_t, 5> kBrightnessTable = {0, 80, 135, 195, 255};

// The colour wheel: six segments of 32 entries, red, yellow, green, cyan, blue, magenta and back
// to red. The rising channel follows a perceptual ramp, the falling one its mirror.
inline constexpr int kColourWheelSize = 192;
inline constexpr int kColourWheelSegment = 32;
inline constexpr std::array<Rgb, kColourWheelSize> kColourWheel = {{
    // 0..31: red to yellow
    {255, 1, 0},
    {255, 3, 0},
    {255, 5, 0},
    {255, 7, 0},
    {255, 10, 0},
    {255, 14, 0},
    {255, 18, 0},
    {255, 22, 0},
    {255, 26, 0},
    {255, 32, 0},
    {255, 38, 0},
    {255, 44, 0},
    {255, 50, 0},
    {255, 57, 0},
    {255, 65, 0},
    {255, 73, 0},
    {255, 81, 0},
    {255, 89, 0},
    {255, 99, 0},
    {255, 109, 0},
    {255, 119, 0},
    {255, 129, 0},
    {255, 140, 0},
    {255, 152, 0},
    {255, 164, 0},
    {255, 176, 0},
    {255, 188, 0},
    {255, 200, 0},
    {255, 213, 0},
    {255, 227, 0},
    {255, 241, 0},
    {255, 255, 0},
    // 32..63: yellow to green
    {248, 255, 0},
    {234, 255, 0},
    {220, 255, 0},
    {206, 255, 0},
    {194, 255, 0},
    {182, 255, 0},
    {170, 255, 0},
    {158, 255, 0},
    {146, 255, 0},
    {134, 255, 0},
    {124, 255, 0},
    {114, 255, 0},
    {104, 255, 0},
    {94, 255, 0},
    {85, 255, 0},
    {77, 255, 0},
    {69, 255, 0},
    {61, 255, 0},
    {53, 255, 0},
    {47, 255, 0},
    {41, 255, 0},
    {35, 255, 0},
    {29, 255, 0},
    {24, 255, 0},
    {20, 255, 0},
    {16, 255, 0},
    {12, 255, 0},
    {8, 255, 0},
    {6, 255, 0},
    {4, 255, 0},
    {2, 255, 0},
    {0, 255, 0},
    // 64..95: green to cyan
    {0, 255, 1},
    {0, 255, 3},
    {0, 255, 5},
    {0, 255, 7},
    {0, 255, 10},
    {0, 255, 14},
    {0, 255, 18},
    {0, 255, 22},
    {0, 255, 26},
    {0, 255, 32},
    {0, 255, 38},
    {0, 255, 44},
    {0, 255, 50},
    {0, 255, 57},
    {0, 255, 65},
    {0, 255, 73},
    {0, 255, 81},
    {0, 255, 89},
    {0, 255, 99},
    {0, 255, 109},
    {0, 255, 119},
    {0, 255, 129},
    {0, 255, 140},
    {0, 255, 152},
    {0, 255, 164},
    {0, 255, 176},
    {0, 255, 188},
    {0, 255, 200},
    {0, 255, 213},
    {0, 255, 227},
    {0, 255, 241},
    {0, 255, 255},
    // 96..127: cyan to blue
    {0, 248, 255},
    {0, 234, 255},
    {0, 220, 255},
    {0, 206, 255},
    {0, 194, 255},
    {0, 182, 255},
    {0, 170, 255},
    {0, 158, 255},
    {0, 146, 255},
    {0, 134, 255},
    {0, 124, 255},
    {0, 114, 255},
    {0, 104, 255},
    {0, 94, 255},
    {0, 85, 255},
    {0, 77, 255},
    {0, 69, 255},
    {0, 61, 255},
    {0, 53, 255},
    {0, 47, 255},
    {0, 41, 255},
    {0, 35, 255},
    {0, 29, 255},
    {0, 24, 255},
    {0, 20, 255},
    {0, 16, 255},
    {0, 12, 255},
    {0, 8, 255},
    {0, 6, 255},
    {0, 4, 255},
    {0, 2, 255},
    {0, 0, 255},
    // 128..159: blue to magenta
    {1, 0, 255},
    {3, 0, 255},
    {5, 0, 255},
    {7, 0, 255},
    {10, 0, 255},
    {14, 0, 255},
    {18, 0, 255},
    {22, 0, 255},
    {26, 0, 255},
    {32, 0, 255},
    {38, 0, 255},
    {44, 0, 255},
    {50, 0, 255},
    {57, 0, 255},
    {65, 0, 255},
    {73, 0, 255},
    {81, 0, 255},
    {89, 0, 255},
    {99, 0, 255},
    {109, 0, 255},
    {119, 0, 255},
    {129, 0, 255},
    {140, 0, 255},
    {152, 0, 255},
    {164, 0, 255},
    {176, 0, 255},
    {188, 0, 255},
    {200, 0, 255},
    {213, 0, 255},
    {227, 0, 255},
    {241, 0, 255},
    {255, 0, 255},
    // 160..191: magenta to red
    {255, 0, 248},
    {255, 0, 234},
    {255, 0, 220},
    {255, 0, 206},
    {255, 0, 194},
    {255, 0, 182},
    {255, 0, 170},
    {255, 0, 158},
    {255, 0, 146},
    {255, 0, 134},
    {255, 0, 124},
    {255, 0, 114},
    {255, 0, 104},
    {255, 0, 94},
    {255, 0, 85},
    {255, 0, 77},
    {255, 0, 69},
    {255, 0, 61},
    {255, 0, 53},
    {255, 0, 47},
    {255, 0, 41},
    {255, 0, 35},
    {255, 0, 29},
    {255, 0, 24},
    {255, 0, 20},
    {255, 0, 16},
    {255, 0, 12},
    {255, 0, 8},
    {255, 0, 6},
    {255, 0, 4},
    {255, 0, 2},
    {255, 0, 0},
}};

// The breathing curve: one breath is a rise over 64 entries and the same values falling back.
inline constexpr int kBreathingCurveSize = 128;
inline constexpr std::array<uint8_t, kBreathingCurveSize> kBreathingCurve = {
    // rising
    0,
    1,
    2,
    3,
    4,
    5,
    6,
    7,
    8,
    9,
    10,
    12,
    14,
    16,
    18,
    20,
    22,
    24,
    27,
    30,
    33,
    36,
    39,
    42,
    45,
    49,
    53,
    57,
    61,
    65,
    69,
    73,
    77,
    81,
    85,
    89,
    94,
    99,
    104,
    109,
    114,
    119,
    124,
    129,
    134,
    140,
    146,
    152,
    158,
    164,
    170,
    176,
    182,
    188,
    194,
    200,
    206,
    213,
    220,
    227,
    234,
    241,
    248,
    255,
    // falling
    255,
    248,
    241,
    234,
    227,
    220,
    213,
    206,
    200,
    194,
    188,
    182,
    176,
    170,
    164,
    158,
    152,
    146,
    140,
    134,
    129,
    124,
    119,
    114,
    109,
    104,
    99,
    94,
    89,
    85,
    81,
    77,
    73,
    69,
    65,
    61,
    57,
    53,
    49,
    45,
    42,
    39,
    36,
    33,
    30,
    27,
    24,
    22,
    20,
    18,
    16,
    14,
    12,
    10,
    9,
    8,
    7,
    6,
    5,
    4,
    3,
    2,
    1,
    0,
};

// The fixed colours that the four-colour breathing and blinking steps run through.
inline constexpr std::array<Rgb, 4> kBreathingFourColours = {
    {{255, 0, 0}, {255, 60, 0}, {255, 255, 0}, {0, 255, 0}}};
inline constexpr std::array<Rgb, 4> kBlinkFourColours = {
    {{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

// How far the colour position moves each time a breath or a blink cycle completes.
inline constexpr int kColourStep = 16;

// The preview's pace rows. A step runs when the preview thread has counted the row's value in
// milliseconds for the record's speed level; the blink steps also toggle every value x 200 ms.
enum class PreviewPace : uint8_t {
    kStatic,
    kSpectrum,
    kBreathing,
    kBreathingFourColours,
    kBlink,
    kBlinkFourColours,
    kOff,
    kAreaStatic,     // area effect mode 0
    kAreaBreathing,  // area effect mode 1
    kAreaSpectrum,   // area effect mode 2
    kAreaWave,       // area effect mode 4
    kAreaBlink,      // area effect mode 5
    kDeviceA,        // the three steps each device model adds
    kDeviceB,
    kDeviceC,
};
inline constexpr int kPaceRowCount = 15;
// Speed levels 0..4 are what the lighting panel offers; the rest of a row repeats the fastest
// value, so that a record with a larger speed byte (a damaged profile) still animates sanely.
inline constexpr int kSpeedTableColumns = 15;
using SpeedRow = std::array<uint8_t, kSpeedTableColumns>;
inline constexpr SpeedRow kNormalPace = {8, 6, 4, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
// A breath has 128 steps: at the normal pace the slowest one would last barely a second.
inline constexpr SpeedRow kSlowPace = {16, 12, 8, 4, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
inline constexpr std::array<SpeedRow, kPaceRowCount> kSpeedTable = {{
    kNormalPace,  // static
    kNormalPace,  // spectrum
    kSlowPace,    // breathing
    kNormalPace,  // breathing through four colours
    kNormalPace,  // blink
    kNormalPace,  // blink through four colours
    kNormalPace,  // off
    kNormalPace,  // area: static
    kNormalPace,  // area: breathing
    kNormalPace,  // area: spectrum
    kNormalPace,  // area: wave
    kNormalPace,  // area: blink
    kNormalPace,  // device step A
    kNormalPace,  // device step B
    kNormalPace,  // device step C
}};

// The pace value of a row at a speed level (levels beyond the row count as its last column).
constexpr uint8_t SpeedTableValue(PreviewPace pace, int speedLevel) {
    if (speedLevel < 0) speedLevel = 0;
    if (speedLevel >= kSpeedTableColumns) speedLevel = kSpeedTableColumns - 1;
    return kSpeedTable[static_cast<int>(pace)][speedLevel];
}

// The decay of one LED level in the wave and ripple building blocks: the first rule whose bit is
// set in the level (or, for the last two, whose threshold the level exceeds) lowers it by its
// amount; a level at or below the last threshold drops to 0.
struct FadeRule {
    uint8_t bit7;   // amount when bit 7 is set
    uint8_t bit6;   // when bit 6 is set
    uint8_t bit5;   // when bit 5 is set
    uint8_t above;  // when the level is above `floor`
    uint8_t floor;
};
inline constexpr int kFadeKindCount = 3;
inline constexpr std::array<FadeRule, kFadeKindCount> kFadeRules = {{
    {40, 24, 16, 8, 16},   // 0: wave (the default)
    {20, 12, 8, 4, 8},     // 1: ripple, a longer tail
    {64, 32, 16, 16, 16},  // 2: flash, gone after a few steps
}};

// The wave ring: 23 positions, of which the first nine light their LED.
inline constexpr int kWaveRingSize = 23;
inline constexpr int kWaveRingLit = 9;
// LED levels kept by the preview building blocks (the largest page has 170 LEDs).
inline constexpr int kMaxLeds = 170;

}  // namespace device
