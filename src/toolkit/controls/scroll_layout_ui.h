#pragma once

#include "toolkit/controls/scroll_bar_ui.h"
#include "toolkit/controls/vertical_layout_ui.h"

namespace toolkit {

// A column whose content may be taller than itself. With "vscrollbar" on, children keep their
// own heights (fixed, or estimated), the column shows the part at the scroll position, and a
// vertical scroll bar appears at the right edge while the content does not fit. The wheel
// anywhere over the column scrolls it. Without "vscrollbar" it is a plain column.
class CScrollLayoutUI : public CVerticalLayoutUI {
  public:
    CScrollLayoutUI();
    ~CScrollLayoutUI() override;
    std::string_view GetClass() const override;

    void EnableScrollBar(bool vertical = true);
    CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
    int GetScrollPos() const;
    int GetScrollRange() const;
    void SetScrollPos(int pos);
    void LineUp();
    void LineDown();
    // Scrolls the least distance that shows the child whole (or its top when taller).
    void EnsureVisible(CControlUI* child);
    // The height of the content at the current width.
    int GetContentHeight() const { return m_nContentHeight; }

    void SetPos(UiRect rc, bool needInvalidate = true) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void DoEvent(TEventUI& event) override;
    bool DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl = nullptr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    CControlUI* FindControl(FindControlProc proc, void* data, uint32_t flags) override;

  private:
    int MeasureContent(int width) const;

    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    int m_nContentHeight = 0;
};

}  // namespace toolkit
