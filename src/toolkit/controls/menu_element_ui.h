#pragma once

#include "toolkit/controls/list_container_element_ui.h"

namespace toolkit {

// One entry of a menu ("MenuElement"): its text in the menu's item colours, hot under the
// pointer; a release on it chooses it (the menu window sends its name to the owner). It may hold
// other controls (an icon, a check mark) like any list container element. Menu elements nested
// in it are its submenu: they stay hidden in this menu and the menu window opens them in a menu
// of their own beside the entry.
class CMenuElementUI : public CListContainerElementUI {
  public:
    CMenuElementUI();
    std::string_view GetClass() const override;
    UiSize EstimateSize(UiSize available) override;
    void PaintText(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    bool AddAt(CControlUI* control, int index) override;
    void SetInternVisible(bool visible = true) override;

    bool HasSubMenu() const;

    bool GetChecked() const { return m_bChecked; }
    void SetChecked(bool on);

  private:
    bool m_bChecked = false;
};

}  // namespace toolkit
