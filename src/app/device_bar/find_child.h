#pragma once

#include <string_view>

#include "toolkit/control_ui.h"

namespace app {

// The first control named `name` (without regard to case) in root's tree, root included, or null.
toolkit::CControlUI* FindChild(toolkit::CControlUI* root, std::string_view name);

// The n-th control named `name` in root's tree in tree order (from 0), or null.
toolkit::CControlUI* FindNthChild(toolkit::CControlUI* root, std::string_view name, int n);

}  // namespace app
