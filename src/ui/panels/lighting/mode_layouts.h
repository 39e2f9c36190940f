#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace ui::lighting {

// Which controls of the lighting panel a light mode uses, per device kind. Each value is -1 for
// "leave as it is", 0 or 1 otherwise.
struct ModeLayout {
    // Enabled state of the groups.
    int8_t effect = -1;     // "lighteffect_layout"
    int8_t colourful = -1;  // "deng_7color_check"
    int8_t colour = -1;     // "deng_color_layout"
    int8_t palette = -1;    // "colorpallet_layout"
    int8_t bright = -1;     // "deng_light_layout"
    int8_t speed = -1;      // "deng_speed_layout"
    int8_t fx = -1;         // "deng_fx_layout" (direction)
    int8_t colourTab = -1;  // "light_color_layout"
    int8_t rgb = -1;        // "deng_rgb_layout"
    // Visibility.
    int8_t showCustom = -1;     // "lightcustom_layout"
    int8_t showSpeed = -1;      // "deng_speed_layout"
    int8_t showZzcc = -1;       // "light_combo_ZZCCmodeSelectLayout"
    int8_t showAudioMode = -1;  // "light_combo_AudiomodeSelectLayout"
    int8_t showRgb = -1;        // "deng_rgb_layout"
    int8_t showPalette = -1;    // "colorpallet_layout"
    int8_t tab = -1;            // page of "light_color_tablayout"
    // Language keys of the two direction options ("deng_FXL_check", "deng_FXR_check").
    const char* leftLabel = nullptr;
    const char* rightLabel = nullptr;
};

inline constexpr int kMaxModesPerRow = 12;

// One row of a kind's table: the modes it covers (-1 ends the list; an empty list is the row
// for every other mode) and their layout.
struct ModeLayoutRow {
    std::array<int8_t, kMaxModesPerRow> modes;
    ModeLayout layout;
    bool Covers(int mode) const;
    bool IsOtherwise() const { return modes[0] < 0; }
};

// The tables of one group of device kinds: the layout applied before every row, then the rows
// (the last one covers every other mode).
struct KindLayouts {
    std::array<int8_t, 3> kinds;  // -1: unused
    ModeLayout before;
    std::span<const ModeLayoutRow> rows;
};

// Every table; kinds without one leave the panel as it is.
std::span<const KindLayouts> AllKindLayouts();

// The table of a device kind, or null.
const KindLayouts* KindLayoutsFor(int kind);

// The row of the kind's table that covers mode, or null for a kind without a table.
const ModeLayoutRow* RowFor(int kind, int mode);

// Every group name a layout can change, for checks against the skin.
std::span<const char* const> LayoutGroupNames();

}  // namespace ui::lighting
