#pragma once

#include "toolkit/controls/button_ui.h"

namespace toolkit {

// A button with a selected state. Options of one group exclude each other (clicking a selected
// one keeps it selected); an option without a group toggles. "selectchanged" follows every
// change made by the user; Selected(x, false) changes the state silently, so that applying
// stored settings does not echo back.
class COptionUI : public CButtonUI {
  public:
    ~COptionUI() override;
    std::string_view GetClass() const override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    bool Activate() override;
    void SetEnabled(bool enabled = true) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintBkColor(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;

    const std::string& GetGroup() const { return m_sGroupName; }
    void SetGroup(const std::string& group);
    bool IsSelected() const { return m_bSelected; }
    virtual void Selected(bool selected, bool triggerEvent = true);

    void SetSelectedImage(const std::string& s) {
        m_sSelectedImage = s;
        Invalidate();
    }
    void SetSelectedHotImage(const std::string& s) {
        m_sSelectedHotImage = s;
        Invalidate();
    }
    void SetSelectedPushedImage(const std::string& s) {
        m_sSelectedPushedImage = s;
        Invalidate();
    }
    void SetSelectedTextColor(uint32_t c) {
        m_dwSelectedTextColor = c;
        Invalidate();
    }
    void SetSelectedBkColor(uint32_t c) {
        m_dwSelectedBkColor = c;
        Invalidate();
    }

  protected:
    uint32_t GetStateTextColor() const override;

    bool m_bSelected = false;
    std::string m_sGroupName;
    std::string m_sSelectedImage;
    std::string m_sSelectedHotImage;
    std::string m_sSelectedPushedImage;
    uint32_t m_dwSelectedTextColor = 0;
    uint32_t m_dwSelectedBkColor = 0;
};

// An option that always toggles (no group).
class CCheckBoxUI : public COptionUI {
  public:
    std::string_view GetClass() const override;
    void SetCheck(bool check, bool triggerEvent = true) { Selected(check, triggerEvent); }
    bool GetCheck() const { return IsSelected(); }
};

}  // namespace toolkit
