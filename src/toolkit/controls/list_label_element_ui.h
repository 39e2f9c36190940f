#pragma once

#include "toolkit/controls/list_element_ui.h"

namespace toolkit {

// A list item that shows one text in the owner's item font, colours and padding. With resource
// text on, the text is a language id.
class CListLabelElementUI : public CListElementUI {
  public:
    CListLabelElementUI();
    std::string_view GetClass() const override;
    UiSize EstimateSize(UiSize available) override;
    void PaintText(cairo_t* cr) override;

  protected:
    void DrawItemText(cairo_t* cr, const UiRect& rc, const std::string& text);
};

}  // namespace toolkit
