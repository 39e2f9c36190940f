#pragma once

#include <cstdint>
#include <optional>

#include "toolkit/ui_types.h"

namespace app {

// Where the tray menu opens: the anchor point in screen coordinates and the menu corner that sits
// on it, as the menu's alignment flags (left 2, top 4, right 8, bottom 16).
struct TrayMenuAnchor {
    toolkit::UiPoint point;
    uint32_t alignment = 0;
};

// The menu opens away from the desktop's panel: above a panel along the bottom edge, below one
// along the top, beside one on the left or right. Without a panel (or with one the rules do not
// place) the menu's top-left corner sits on the cursor. The coordinate a rule does not name stays
// the cursor's.
TrayMenuAnchor ComputeTrayMenuAnchor(toolkit::UiPoint cursor,
                                     const std::optional<toolkit::UiRect>& panel);

}  // namespace app
