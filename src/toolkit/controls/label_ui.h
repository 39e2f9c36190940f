#pragma once

#include "toolkit/control_ui.h"

namespace toolkit {

// Text in a rectangle: font, colours, alignment and padding of the control base.
// FIXME: "showhtml" (inline markup in texts) is not supported; texts are drawn as they are.
class CLabelUI : public CControlUI {
  public:
    CLabelUI();
    std::string_view GetClass() const override;
    void PaintText(cairo_t* cr) override;
    UiSize EstimateSize(UiSize available) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    void SetText(const std::string& text) override;

    bool IsAutoCalcWidth() const { return m_bAutoCalcWidth; }
    void SetAutoCalcWidth(bool on);

  protected:
    // The text colour for the current state; derived controls add their own states.
    virtual uint32_t GetStateTextColor() const;

    bool m_bAutoCalcWidth = false;
};

}  // namespace toolkit
