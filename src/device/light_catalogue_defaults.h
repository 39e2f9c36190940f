#pragma once

// Written by scripts/make_light_catalogue.py together with DefaultData/default_light.json;
// edit the script and run it again.

#include <array>
#include <span>

namespace device::light_catalogue_defaults {

struct Mode {
    const char* name;  // language key
    bool visible;
    int value;  // the device's code
};

inline constexpr Mode kVariant0[] = {
    {"light_mode_custom_effect", false, 0},  {"light_mode_wave", true, 1},
    {"light_mode_vortex", true, 2},          {"light_mode_spectrum", true, 3},
    {"light_mode_breathing", true, 4},       {"light_mode_static", true, 5},
    {"light_mode_reactive", true, 6},        {"light_mode_ripple", true, 7},
    {"light_mode_rainbow_ripple", true, 8},  {"light_mode_colour_drift", true, 9},
    {"light_mode_row_wave", true, 10},       {"light_mode_starburst", true, 11},
    {"light_mode_twinkle", true, 12},        {"light_mode_fast_twinkle", true, 13},
    {"light_mode_edge_ripple", true, 14},    {"light_mode_preset_colour", true, 15},
    {"light_mode_ring_wave", true, 16},      {"light_mode_off", true, 17},
    {"light_mode_custom_keys", true, 18},    {"light_mode_raindrops", true, 19},
    {"light_mode_smooth_wave", true, 20},    {"light_mode_magenta", true, 21},
    {"light_mode_custom_effect", false, 22}, {"light_mode_blink", true, 23},
    {"light_mode_moving_bars", true, 24},    {"light_mode_key_glow", true, 25},
    {"light_mode_breathing_four", true, 26}, {"light_mode_blink_four", true, 27},
    {"light_mode_cascade", true, 28},        {"light_mode_music", true, 29},
    {"light_mode_sound_colour", true, 30},   {"light_mode_custom_effect", false, 31},
    {"light_mode_custom_effect", false, 32}, {"light_mode_light_show", true, 33},
};

inline constexpr Mode kVariant1[] = {
    {"light_mode_static", true, 0},       {"light_mode_breathing", true, 1},
    {"light_mode_wave", true, 2},         {"light_mode_spectrum", true, 3},
    {"light_mode_rainbow_wave", true, 4}, {"light_mode_breathing_four", true, 5},
    {"light_mode_off", true, 6},          {"light_mode_reactive", true, 7},
    {"light_mode_blink_four", true, 8},   {"light_mode_custom_effect", false, 9},
    {"light_mode_blink", true, 10},
};

inline constexpr Mode kVariant2[] = {
    {"light_mode_wave", true, 0},
    {"light_mode_spectrum", true, 1},
    {"light_mode_breathing", true, 2},
    {"light_mode_static", true, 3},
    {"light_mode_blink", true, 4},
    {"light_mode_custom_effect", false, 5},
    {"light_mode_flowing_ripple", true, 6},
    {"light_mode_ripple", true, 7},
    {"light_mode_off", true, 8},
};

inline constexpr Mode kVariant3[] = {
    {"light_mode_wave", true, 0},
    {"light_mode_spectrum", true, 1},
    {"light_mode_breathing", true, 2},
    {"light_mode_static", true, 3},
    {"light_mode_blink", true, 4},
    {"light_mode_custom_effect", false, 5},
    {"light_mode_flowing_ripple", true, 6},
    {"light_mode_ripple", true, 7},
    {"light_mode_off", true, 8},
};

inline constexpr const char* const kAreas0[] = {"light_area_keyboard"};
inline constexpr const char* const kAreas1[] = {"light_area_mouse"};
inline constexpr const char* const kAreas2[] = {"light_area_pad_edge"};
inline constexpr const char* const kAreas3[] = {"light_area_earcups"};

// Indexed by light variant.
inline constexpr std::array<std::span<const Mode>, 4> kVariants = {
    std::span<const Mode>(kVariant0),
    std::span<const Mode>(kVariant1),
    std::span<const Mode>(kVariant2),
    std::span<const Mode>(kVariant3),
};

// Language keys of the lighting areas, indexed by light variant.
inline constexpr std::array<std::span<const char* const>, 4> kAreas = {
    std::span<const char* const>(kAreas0),
    std::span<const char* const>(kAreas1),
    std::span<const char* const>(kAreas2),
    std::span<const char* const>(kAreas3),
};

}  // namespace device::light_catalogue_defaults
