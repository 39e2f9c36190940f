#pragma once

#include "toolkit/controls/button_ui.h"

namespace ui {

// The macro editor's record button: a plain button that skins style under its own class name.
class CRedioMacroButtonUI : public toolkit::CButtonUI {
  public:
    std::string_view GetClass() const override;
};

}  // namespace ui
