#pragma once

#include "toolkit/container_ui.h"
#include "toolkit/controls/linear_layout.h"

namespace toolkit {

// Children one after another along the vertical axis (see ArrangeLinear for the passes), with an
// optional separator ("sepheight") the user drags to resize the layout.
class CVerticalLayoutUI : public CContainerUI {
  public:
    std::string_view GetClass() const override;
    void SetPos(UiRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    void SetSepSize(int size) { m_separator.size = size; }
    int GetSepSize() const { return Scale(m_separator.size); }
    void SetSepImmMode(bool immediate) { m_separator.immediate = immediate; }
    // The separator drag's captured state; derived controls read and clear it.
    bool IsCaptured() const { return m_separator.captured; }
    void SetCaptured(bool captured) { m_separator.captured = captured; }
    UiRect GetThumbRect() const;

  protected:
    LayoutSeparator m_separator;
};

}  // namespace toolkit
