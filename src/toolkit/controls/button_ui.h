#pragma once

#include "toolkit/controls/label_ui.h"

namespace toolkit {

// A label that reacts to the pointer: hot while the pointer is over it, pushed and captured
// between press and release, "click" when released inside. Each state has its own image and
// text colour.
class CButtonUI : public CLabelUI {
  public:
    CButtonUI();
    std::string_view GetClass() const override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    void SetEnabled(bool enabled = true) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintBkColor(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    uint32_t GetButtonState() const { return m_uButtonState; }
    bool IsHot() const { return (m_uButtonState & UISTATE_HOT) != 0; }
    bool IsPushed() const { return (m_uButtonState & UISTATE_PUSHED) != 0; }
    bool IsCaptured() const { return (m_uButtonState & UISTATE_CAPTURED) != 0; }

    void SetNormalImage(const std::string& s) {
        m_sNormalImage = s;
        Invalidate();
    }
    const std::string& GetNormalImage() const { return m_sNormalImage; }
    void SetHotImage(const std::string& s) {
        m_sHotImage = s;
        Invalidate();
    }
    void SetPushedImage(const std::string& s) {
        m_sPushedImage = s;
        Invalidate();
    }
    void SetFocusedImage(const std::string& s) {
        m_sFocusedImage = s;
        Invalidate();
    }
    void SetDisabledImage(const std::string& s) {
        m_sDisabledImage = s;
        Invalidate();
    }
    void SetHotTextColor(uint32_t c) {
        m_dwHotTextColor = c;
        Invalidate();
    }
    void SetPushedTextColor(uint32_t c) {
        m_dwPushedTextColor = c;
        Invalidate();
    }
    void SetFocusedTextColor(uint32_t c) {
        m_dwFocusedTextColor = c;
        Invalidate();
    }
    void SetHotBkColor(uint32_t c) {
        m_dwHotBkColor = c;
        Invalidate();
    }

  protected:
    uint32_t GetStateTextColor() const override;
    // The state image to draw: pushed, hot, focused or disabled where given, else normal.
    const std::string& StateImage() const;

    uint32_t m_uButtonState = 0;
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sPushedImage;
    std::string m_sFocusedImage;
    std::string m_sDisabledImage;
    uint32_t m_dwHotTextColor = 0;
    uint32_t m_dwPushedTextColor = 0;
    uint32_t m_dwFocusedTextColor = 0;
    uint32_t m_dwHotBkColor = 0;
};

}  // namespace toolkit
