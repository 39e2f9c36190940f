#include "toolkit/controls/menu_ui.h"

namespace toolkit {

CMenuUI::CMenuUI() {
    // A menu is as tall as its entries; it never scrolls.
    EnableScrollBar(false);
    GetListInfo()->dwSelectedBkColor = 0;
}

std::string_view CMenuUI::GetClass() const {
    return "Menu";
}

}  // namespace toolkit
