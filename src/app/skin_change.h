#pragma once

#include "toolkit/paint_manager_ui.h"
#include "toolkit/skin_changed_observer.h"

namespace app {

// The main window's side of a skin change (its Receive calls this): the control "root" takes the
// colour (with no picture) when the change carries one, otherwise the picture on colour 0.
// False when the window has no "root".
bool ApplySkinChange(toolkit::CPaintManagerUI& pm, const toolkit::SkinChangedParam& param);

}  // namespace app
