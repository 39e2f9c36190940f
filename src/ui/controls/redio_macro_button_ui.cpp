#include "ui/controls/redio_macro_button_ui.h"

namespace ui {

std::string_view CRedioMacroButtonUI::GetClass() const {
    return "RedioMacroButton";
}

}  // namespace ui
