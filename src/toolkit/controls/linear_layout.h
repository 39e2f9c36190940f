#pragma once

#include <vector>

#include "toolkit/container_ui.h"

namespace toolkit {

// The measure-then-arrange pass shared by the vertical and horizontal layouts. "Main" is the
// axis along which children follow each other.
//   Pass 1 (measure): every visible, non-float child gives its estimated size; a child with no
//     fixed extent on the main axis is adjustable. Fixed extents (clamped to min/max), paddings
//     and child paddings add up to what is taken.
//   Pass 2 (arrange): the space left is shared out evenly between the adjustable children (the
//     rounding remainder goes to the last one), each clamped to its min/max; children are placed
//     one after another, each filling the cross axis unless it has a fixed cross extent.
// Float children are placed by the container from their "pos".
void ArrangeLinear(std::vector<CControlUI*>& items, const UiRect& inner, int childPadding,
                   bool vertical);

// The separator of a layout: a strip along one edge that the user drags to resize the layout
// (positive size: at the leading edge, negative: at the trailing edge). While dragged the
// layout is in the captured state.
struct LayoutSeparator {
    int size = 0;            // unscaled; 0: no separator
    bool immediate = false;  // resize while dragging instead of on release
    bool captured = false;
    UiPoint lastMouse;
    UiRect newPos;

    UiRect StripRect(const UiRect& item, int scaledSize, bool vertical) const;
    // Handles a mouse event; true when the separator took it. On a finished (or immediate)
    // resize, newExtent receives the layout's new fixed extent along the axis.
    bool HandleEvent(const TEventUI& event, const UiRect& item, int scaledSize, bool vertical,
                     int& newExtent, bool& resized);
};

// The row and the column: children one after another along one axis (see ArrangeLinear), with
// an optional separator ("sepheight" for a column, "sepwidth" for a row) that the user drags to
// resize the layout.
template <bool Vertical>
class CLinearLayoutUI : public CContainerUI {
  public:
    void SetPos(UiRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    void SetSepSize(int size) { m_separator.size = size; }
    int GetSepSize() const { return Scale(m_separator.size); }
    void SetSepImmMode(bool immediate) { m_separator.immediate = immediate; }
    // The separator drag's captured state; derived controls read and clear it.
    bool IsCaptured() const { return m_separator.captured; }
    void SetCaptured(bool captured) { m_separator.captured = captured; }
    UiRect GetThumbRect() const { return m_separator.StripRect(m_rcItem, GetSepSize(), Vertical); }

  protected:
    LayoutSeparator m_separator;
};

extern template class CLinearLayoutUI<true>;
extern template class CLinearLayoutUI<false>;

}  // namespace toolkit
