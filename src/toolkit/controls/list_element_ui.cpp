#include "toolkit/controls/list_element_ui.h"

namespace toolkit {

std::string_view CListElementUI::GetClass() const {
    return "ListElement";
}

bool CListElementUI::Select(bool select, bool sendNotify) {
    return m_item.Select(*this, select, sendNotify);
}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    return m_item.Activate(*this);
}

void CListElementUI::DoEvent(TEventUI& event) {
    if (m_item.HandleEvent(*this, event)) return;
    CControlUI::DoEvent(event);
}

void CListElementUI::PaintBkColor(cairo_t* cr) {
    CControlUI::PaintBkColor(cr);
    m_item.PaintBackground(*this, cr);
}

}  // namespace toolkit
