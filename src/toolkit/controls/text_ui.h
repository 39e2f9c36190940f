#pragma once

#include "toolkit/controls/label_ui.h"

namespace toolkit {

// A label whose text wraps over several lines by default.
class CTextUI : public CLabelUI {
  public:
    CTextUI();
    std::string_view GetClass() const override;
};

}  // namespace toolkit
