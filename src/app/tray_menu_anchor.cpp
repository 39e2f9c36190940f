#include "app/tray_menu_anchor.h"

#include "toolkit/controls/menu_wnd.h"

namespace app {

namespace {

using toolkit::eMenuAlignment_Bottom;
using toolkit::eMenuAlignment_Left;
using toolkit::eMenuAlignment_Right;
using toolkit::eMenuAlignment_Top;

}  // namespace

TrayMenuAnchor ComputeTrayMenuAnchor(toolkit::UiPoint cursor,
                                     const std::optional<toolkit::UiRect>& panel) {
    TrayMenuAnchor anchor{cursor, eMenuAlignment_Left | eMenuAlignment_Top};
    if (!panel) return anchor;
    const toolkit::UiRect& rc = *panel;
    const int width = rc.GetWidth();
    const int height = rc.GetHeight();
    if (rc.left == 0 && rc.top == 0 && height < width) {
        // Along the top edge.
        anchor.point.y = height + 1;
        anchor.alignment = eMenuAlignment_Right | eMenuAlignment_Top;
    } else if (rc.left == 0 && rc.top == 0 && width < height) {
        // Along the left edge.
        anchor.point.x = width + 1;
        anchor.alignment = eMenuAlignment_Left | eMenuAlignment_Bottom;
    } else if (rc.left == 0 && rc.top > 0) {
        // Along the bottom edge.
        anchor.point.y = rc.top - 20;
        anchor.alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
    } else if (rc.left >= 1 && rc.top == 0) {
        // Along the right edge.
        anchor.point.x = rc.left - 1;
        anchor.alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
    }
    return anchor;
}

}  // namespace app
