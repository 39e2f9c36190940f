#include "toolkit/controls/horizontal_layout_ui.h"

namespace toolkit {

std::string_view CHorizontalLayoutUI::GetClass() const {
    return "HorizontalLayout";
}

}  // namespace toolkit
