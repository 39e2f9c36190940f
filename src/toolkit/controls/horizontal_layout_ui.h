#pragma once

#include "toolkit/controls/linear_layout.h"

namespace toolkit {

// Children one after another from left to right.
class CHorizontalLayoutUI : public CLinearLayoutUI<false> {
  public:
    std::string_view GetClass() const override;
};

}  // namespace toolkit
