#include "ui/panels/lighting/mode_layouts.h"

namespace ui::lighting {

namespace {

// The modes of a row, the rest of the list filled with -1.
template <class... M>
constexpr std::array<int8_t, kMaxModesPerRow> Modes(M... modes) {
    static_assert(sizeof...(M) <= kMaxModesPerRow);
    std::array<int8_t, kMaxModesPerRow> list{};
    list.fill(-1);
    int i = 0;
    ((list[i++] = static_cast<int8_t>(modes)), ...);
    return list;
}

constexpr std::array<int8_t, kMaxModesPerRow> kOtherwise = Modes();

constexpr const char* kRightToLeft = "light_set_right_to_left_text";
constexpr const char* kLeftToRight = "light_set_left_to_right_text";
constexpr const char* kClockwise = "light_set_clockwise_text";
constexpr const char* kAnticlockwise = "light_set_anticlockwise_text";
constexpr const char* kDownToUp = "light_set_down_to_up_text";
constexpr const char* kUpToDown = "light_set_up_to_down_text";
constexpr const char* kOutsideIn = "light_set_outside_to_inside_text";
constexpr const char* kInsideOut = "light_set_inside_to_outside_text";

// Keyboard. Unless a row says otherwise, the custom group is hidden, the speed shown and the
// extra-mode selector hidden after the row.
constexpr ModeLayoutRow kKeyboardRows[] = {
    {Modes(1, 20),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 1,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(2),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 1,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0,
      .leftLabel = kClockwise,
      .rightLabel = kAnticlockwise}},
    {Modes(3, 9, 26),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 1,
      .fx = 0,
      .colourTab = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(4, 6, 7, 8, 11, 12, 13, 19, 23, 25, 33),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 1,
      .fx = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(5, 14),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 0,
      .fx = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(10),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 1,
      .colourTab = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0,
      .leftLabel = kDownToUp,
      .rightLabel = kUpToDown}},
    {Modes(15),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 1,
      .fx = 0,
      .colourTab = 0,
      .showCustom = 0,
      .showSpeed = 0,
      .showZzcc = 1}},
    {Modes(16),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 0,
      .fx = 1,
      .colourTab = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0,
      .leftLabel = kOutsideIn,
      .rightLabel = kInsideOut}},
    {Modes(17),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 0,
      .speed = 0,
      .fx = 0,
      .colourTab = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(18),
     {.effect = 1,
      .colourful = 0,
      .colour = 1,
      .palette = 0,
      .bright = 1,
      .speed = 0,
      .fx = 0,
      .colourTab = 0,
      .showCustom = 1,
      .showSpeed = 0,
      .showZzcc = 0}},
    {Modes(21),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 0,
      .fx = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(24),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 1,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0,
      .showRgb = 1,
      .showPalette = 1,
      .leftLabel = kClockwise,
      .rightLabel = kAnticlockwise}},
    {Modes(27),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 1,
      .fx = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0}},
    {Modes(28),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 1,
      .showCustom = 0,
      .showSpeed = 1,
      .showZzcc = 0,
      .leftLabel = kUpToDown,
      .rightLabel = kDownToUp}},
    {Modes(29),
     {.effect = 1,
      .colourful = 1,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 0,
      .showCustom = 0,
      .showSpeed = 1,
      .showAudioMode = 1,
      .showRgb = 1,
      .tab = 1}},
    {Modes(30),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 0,
      .fx = 0,
      .colourTab = 0,
      .showCustom = 0,
      .showSpeed = 1}},
    {kOtherwise,
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 0,
      .speed = 0,
      .fx = 0,
      .showCustom = 0,
      .showSpeed = 1}},
};

constexpr ModeLayoutRow kMouseRows[] = {
    {Modes(0),
     {.effect = 1,
      .colourful = 0,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 0,
      .fx = 0,
      .rgb = 1}},
    {Modes(1, 7),
     {.effect = 1,
      .colourful = 0,
      .colour = 1,
      .palette = 1,
      .bright = 1,
      .speed = 1,
      .fx = 0,
      .rgb = 1}},
    {Modes(2, 3, 4, 5),
     {.effect = 1,
      .colourful = 0,
      .colour = 0,
      .palette = 0,
      .bright = 1,
      .speed = 1,
      .fx = 0,
      .rgb = 0}},
    {Modes(6),
     {.effect = 1, .colourful = 0, .colour = 0, .palette = 0, .bright = 0, .speed = 0, .fx = 0}},
    {Modes(8),
     {.effect = 1, .colourful = 0, .colour = 0, .palette = 0, .bright = 1, .speed = 1, .fx = 0}},
    {Modes(10),
     {.effect = 1, .colourful = 1, .colour = 1, .palette = 1, .bright = 1, .speed = 1, .fx = 0}},
    {kOtherwise,
     {.effect = 1, .colourful = 0, .colour = 0, .palette = 0, .bright = 0, .speed = 0, .fx = 0}},
};

// The mouse pad and the headset.
constexpr ModeLayoutRow kStripRows[] = {
    {Modes(0), {.effect = 1, .colourful = 1, .colour = 1, .palette = 1, .bright = 1, .speed = 1}},
    {Modes(1),
     {.effect = 1, .colourful = 0, .colour = 0, .palette = 0, .bright = 1, .speed = 1, .fx = 0}},
    {Modes(2, 4),
     {.effect = 1, .colourful = 1, .colour = 1, .palette = 1, .bright = 1, .speed = 1, .fx = 0}},
    {Modes(3),
     {.effect = 1, .colourful = 0, .colour = 1, .palette = 1, .bright = 1, .speed = 0, .fx = 0}},
    {kOtherwise,
     {.effect = 1, .colourful = 0, .colour = 0, .palette = 0, .bright = 0, .speed = 0, .fx = 0}},
};

constexpr ModeLayoutRow kKind5Rows[] = {
    {Modes(0, 2, 3),
     {.effect = 1, .colourful = 1, .colour = 1, .palette = 1, .bright = 1, .speed = 1}},
    {Modes(1), {.effect = 1, .colourful = 0, .colour = 1, .palette = 1, .bright = 1, .speed = 0}},
    {Modes(4), {.colourful = 0, .colour = 0, .palette = 0, .bright = 1, .speed = 1}},
    {kOtherwise, {.effect = 1, .colourful = 0, .colour = 0, .palette = 0, .bright = 0, .speed = 0}},
};

constexpr KindLayouts kKinds[] = {
    {{1, -1, -1},
     {.fx = 1,
      .colourTab = 1,
      .showAudioMode = 0,
      .tab = 0,
      .leftLabel = kRightToLeft,
      .rightLabel = kLeftToRight},
     kKeyboardRows},
    {{2, -1, -1}, {.fx = 1, .showCustom = 0}, kMouseRows},
    {{3, 4, 7}, {.fx = 1}, kStripRows},
    {{5, -1, -1}, {}, kKind5Rows},
};

constexpr const char* kGroupNames[] = {
    "lighteffect_layout",
    "deng_7color_check",
    "deng_color_layout",
    "colorpallet_layout",
    "deng_light_layout",
    "deng_speed_layout",
    "deng_fx_layout",
    "light_color_layout",
    "deng_rgb_layout",
    "lightcustom_layout",
    "light_combo_ZZCCmodeSelectLayout",
    "light_combo_AudiomodeSelectLayout",
    "light_color_tablayout",
    "deng_same_mode",
    "deng_FXL_check",
    "deng_FXR_check",
};

}  // namespace

bool ModeLayoutRow::Covers(int mode) const {
    if (IsOtherwise()) return true;
    for (int8_t m : modes) {
        if (m < 0) break;
        if (m == mode) return true;
    }
    return false;
}

std::span<const KindLayouts> AllKindLayouts() {
    return kKinds;
}

const KindLayouts* KindLayoutsFor(int kind) {
    for (const KindLayouts& k : kKinds)
        for (int8_t n : k.kinds)
            if (n >= 0 && n == kind) return &k;
    return nullptr;
}

const ModeLayoutRow* RowFor(int kind, int mode) {
    const KindLayouts* k = KindLayoutsFor(kind);
    if (k == nullptr) return nullptr;
    for (const ModeLayoutRow& row : k->rows)
        if (row.Covers(mode)) return &row;
    return nullptr;
}

std::span<const char* const> LayoutGroupNames() {
    return kGroupNames;
}

}  // namespace ui::lighting
