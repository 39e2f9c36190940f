#pragma once

#include "toolkit/controls/list_ui.h"

namespace toolkit {

// The root of a menu skin ("Menu"): a list of menu elements.
class CMenuUI : public CListUI {
  public:
    CMenuUI();
    std::string_view GetClass() const override;
};

}  // namespace toolkit
