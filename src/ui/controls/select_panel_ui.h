#pragma once

#include "toolkit/controls/vertical_layout_ui.h"

namespace ui {

// The device picture: a column holding the key buttons, over which the user drags a rubber band
// to select several keys at once. At the end of a drag every direct key-button child learns
// whether the band covered it, and the panel sends "click_select_end". The band itself is not
// drawn.
class CSelectPanelUI : public toolkit::CVerticalLayoutUI {
  public:
    std::string_view GetClass() const override;
    void DoEvent(toolkit::TEventUI& event) override;

    // The band of the drag in progress or of the last one (window client coordinates).
    const toolkit::UiRect& GetSelectionRect() const { return m_rcSelection; }
    bool IsDragging() const { return m_bDragging; }

  private:
    void FinishBand();

    bool m_bPressed = false;
    bool m_bDragging = false;
    toolkit::UiPoint m_ptStart;
    toolkit::UiPoint m_ptCurrent;
    toolkit::UiRect m_rcSelection;
};

}  // namespace ui
