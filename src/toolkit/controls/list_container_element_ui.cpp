#include "toolkit/controls/list_container_element_ui.h"

namespace toolkit {

std::string_view CListContainerElementUI::GetClass() const {
    return "ListContainerElement";
}

bool CListContainerElementUI::Select(bool select, bool sendNotify) {
    return m_item.Select(*this, select, sendNotify);
}

bool CListContainerElementUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) return false;
    return m_item.Activate(*this);
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    if (m_item.HandleEvent(*this, event)) return;
    CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::PaintBkColor(cairo_t* cr) {
    CHorizontalLayoutUI::PaintBkColor(cr);
    m_item.PaintBackground(*this, cr);
}

}  // namespace toolkit
