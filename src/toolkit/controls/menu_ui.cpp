#include "toolkit/controls/menu_ui.h"

namespace toolkit {

CMenuUI::CMenuUI() {
    // A menu is as tall as its entries; it never scrolls.
    EnableScrollBar(false);
    // The entry the cursor keys are on shows like the one under the pointer.
    GetListInfo()->dwSelectedBkColor = GetListInfo()->dwHotBkColor;
}

std::string_view CMenuUI::GetClass() const {
    return "Menu";
}

}  // namespace toolkit
