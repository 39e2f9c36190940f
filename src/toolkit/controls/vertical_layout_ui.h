#pragma once

#include "toolkit/controls/linear_layout.h"

namespace toolkit {

// Children one after another from top to bottom.
class CVerticalLayoutUI : public CLinearLayoutUI<true> {
  public:
    std::string_view GetClass() const override;
};

}  // namespace toolkit
