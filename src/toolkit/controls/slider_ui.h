#pragma once

#include "toolkit/controls/progress_ui.h"

namespace toolkit {

// A progress bar with a thumb the user drags. While dragging it sends "movevaluechanged" for
// every new value; on release (and for a wheel step) "valuechanged". SetValue from code sends
// nothing.
class CSliderUI : public CProgressUI {
  public:
    CSliderUI();
    std::string_view GetClass() const override;
    void DoEvent(TEventUI& event) override;
    void SetEnabled(bool enabled = true) override;
    void PaintStatusImage(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step) { m_nStep = step; }
    UiSize GetThumbSize() const;  // scaled
    void SetThumbSize(UiSize sz) {
        m_szThumb = sz;
        Invalidate();
    }
    UiRect GetThumbRect() const;
    void SetThumbImage(const std::string& s) {
        m_sThumbImage = s;
        Invalidate();
    }
    void SetThumbHotImage(const std::string& s) {
        m_sThumbHotImage = s;
        Invalidate();
    }
    void SetThumbPushedImage(const std::string& s) {
        m_sThumbPushedImage = s;
        Invalidate();
    }
    void SetSendMove(bool on) { m_bSendMove = on; }
    uint32_t GetButtonState() const { return m_uButtonState; }

  protected:
    int ValueAt(UiPoint pt) const;
    // Follows the pointer while dragging: new value, "movevaluechanged" when it changed.
    void TrackTo(UiPoint pt);

    uint32_t m_uButtonState = 0;
    int m_nStep = 1;
    bool m_bSendMove = true;
    UiSize m_szThumb{10, 10};
    std::string m_sThumbImage;
    std::string m_sThumbHotImage;
    std::string m_sThumbPushedImage;
};

}  // namespace toolkit
