#pragma once

#include "toolkit/controls/horizontal_layout_ui.h"
#include "toolkit/controls/list_owner.h"

namespace toolkit {

// A list item that holds other controls, laid out in a row. Presses, releases and double clicks
// on its children count as the item's own (ListItemState), so a row of labels selects and
// activates like a simple item.
class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
  public:
    std::string_view GetClass() const override;
    ListItemState& ItemState() override { return m_item; }

    bool Select(bool select = true, bool sendNotify = true);
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void PaintBkColor(cairo_t* cr) override;

  protected:
    ListItemState m_item;
};

}  // namespace toolkit
