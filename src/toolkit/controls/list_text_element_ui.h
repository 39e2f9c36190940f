#pragma once

#include <string>
#include <vector>

#include "toolkit/controls/list_label_element_ui.h"

namespace toolkit {

// A list item with one text per column. The list has no header here, so the columns share the
// item's width evenly. FIXME: column widths from a list header are not supported.
class CListTextElementUI : public CListLabelElementUI {
  public:
    std::string_view GetClass() const override;
    std::string GetText(int column) const;
    void SetText(int column, const std::string& text);
    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    void PaintText(cairo_t* cr) override;

  private:
    std::vector<std::string> m_columns;
};

}  // namespace toolkit
