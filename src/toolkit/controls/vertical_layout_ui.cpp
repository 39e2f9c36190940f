#include "toolkit/controls/vertical_layout_ui.h"

namespace toolkit {

std::string_view CVerticalLayoutUI::GetClass() const {
    return "VerticalLayout";
}

}  // namespace toolkit
