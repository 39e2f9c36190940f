#include "toolkit/controls/list_text_element_ui.h"

namespace toolkit {

std::string_view CListTextElementUI::GetClass() const {
    return "ListTextElement";
}

std::string CListTextElementUI::GetText(int column) const {
    if (column < 0 || column >= GetColumnCount()) return "";
    return m_columns[static_cast<size_t>(column)];
}

void CListTextElementUI::SetText(int column, const std::string& text) {
    if (column < 0) return;
    if (column >= GetColumnCount()) m_columns.resize(static_cast<size_t>(column) + 1);
    m_columns[static_cast<size_t>(column)] = text;
    // The first column is the item's text, as lists and drop-downs show it.
    if (column == 0) CListLabelElementUI::SetText(text);
    Invalidate();
}

void CListTextElementUI::PaintText(cairo_t* cr) {
    if (m_columns.size() <= 1) {
        CListLabelElementUI::PaintText(cr);
        return;
    }
    int n = GetColumnCount();
    int w = m_rcItem.GetWidth() / n;
    for (int i = 0; i < n; ++i) {
        UiRect rc = m_rcItem;
        rc.left = m_rcItem.left + i * w;
        rc.right = i == n - 1 ? m_rcItem.right : rc.left + w;
        DrawItemText(cr, rc, m_columns[static_cast<size_t>(i)]);
    }
}

}  // namespace toolkit
