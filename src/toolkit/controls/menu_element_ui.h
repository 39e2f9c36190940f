#pragma once

#include "toolkit/controls/list_container_element_ui.h"

namespace toolkit {

// One entry of a menu ("MenuElement"): its text in the menu's item colours, hot under the
// pointer; a release on it chooses it (the menu window sends its name to the owner). It may hold
// other controls (an icon, a check mark) like any list container element.
// FIXME: nested menu elements (submenus) are not opened; no skin of the program uses them.
class CMenuElementUI : public CListContainerElementUI {
  public:
    CMenuElementUI();
    std::string_view GetClass() const override;
    UiSize EstimateSize(UiSize available) override;
    void PaintText(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    bool GetChecked() const { return m_bChecked; }
    void SetChecked(bool on);

  private:
    bool m_bChecked = false;
};

}  // namespace toolkit
