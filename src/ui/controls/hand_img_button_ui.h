#pragma once

#include <string>

#include "toolkit/controls/button_ui.h"

namespace ui {

// A button with a second picture drawn over its state image, which tells the window when the
// pointer enters and leaves it ("msenter", "msleave").
class CHandImgButtonUI : public toolkit::CButtonUI {
  public:
    std::string_view GetClass() const override;
    void DoEvent(toolkit::TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    void PaintStatusImage(cairo_t* cr) override;

    void SetHandImage(const std::string& image);
    const std::string& GetHandImage() const { return m_sHandImage; }

  private:
    std::string m_sHandImage;
};

}  // namespace ui
