#pragma once

#include "toolkit/control_ui.h"
#include "toolkit/controls/list_owner.h"

namespace toolkit {

// The base of the simple list items: the shared item behaviour (ListItemState) on a plain
// control, painted with the owner's item colours.
class CListElementUI : public CControlUI, public IListItemUI {
  public:
    std::string_view GetClass() const override;
    ListItemState& ItemState() override { return m_item; }

    // Selects the item through its owner (which notifies unless told not to).
    bool Select(bool select = true, bool sendNotify = true);
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(cairo_t* cr) override;

  protected:
    ListItemState m_item;
};

}  // namespace toolkit
