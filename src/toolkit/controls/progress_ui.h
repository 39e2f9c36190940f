#pragma once

#include "toolkit/controls/label_ui.h"

namespace toolkit {

// A bar filled in proportion to value between min and max, with the fore colour and/or the fore
// image; the label text is drawn on top.
class CProgressUI : public CLabelUI {
  public:
    CProgressUI();
    std::string_view GetClass() const override;
    void PaintForeColor(cairo_t* cr) override;
    void PaintForeImage(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool on) {
        m_bHorizontal = on;
        Invalidate();
    }
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int v);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int v);
    int GetValue() const { return m_nValue; }
    // Sets the value (clamped to the range) without a notification.
    virtual void SetValue(int v);
    void SetStretchForeImage(bool on) {
        m_bStretchForeImage = on;
        Invalidate();
    }

  protected:
    // The filled part of the control rectangle.
    UiRect FilledRect() const;

    bool m_bHorizontal = true;
    bool m_bStretchForeImage = true;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
};

}  // namespace toolkit
