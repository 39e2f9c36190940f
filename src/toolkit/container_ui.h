#pragma once

#include <vector>

#include "toolkit/control_ui.h"

namespace toolkit {

// A control that owns children. The plain container gives every child its whole inner
// rectangle; the layouts below arrange them in a row or a column. Content taller than the
// container scrolls in the scrolling column (CScrollLayoutUI, "vscrollbar") and in lists.
class CContainerUI : public CControlUI {
  public:
    CContainerUI() = default;
    ~CContainerUI() override;

    std::string_view GetClass() const override;

    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* control) const;  // -1 when not a child
    bool SetItemIndex(CControlUI* control, int index);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // Takes ownership. False (and the control is not taken) for null.
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    // Removes and, unless doNotDestroy or auto-destroy is off, deletes the child.
    virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
    virtual bool RemoveAt(int index, bool doNotDestroy = false);
    virtual void RemoveAll();
    bool IsAutoDestroy() const { return m_bAutoDestroy; }
    void SetAutoDestroy(bool on) { m_bAutoDestroy = on; }

    UiRect GetInset() const;  // scaled
    void SetInset(UiRect rc);
    int GetChildPadding() const;  // scaled
    void SetChildPadding(int padding);
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool on) { m_bMouseChildEnabled = on; }

    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetPos(UiRect rc, bool needInvalidate = true) override;
    bool DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl = nullptr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    CControlUI* FindControl(FindControlProc proc, void* data, uint32_t flags) override;

  protected:
    // Places a float child from its "pos" relative to this container (negative offsets count
    // from the right or bottom edge).
    void SetFloatPos(int index);

    std::vector<CControlUI*> m_items;
    UiRect m_rcInset;
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bMouseChildEnabled = true;
};

}  // namespace toolkit
