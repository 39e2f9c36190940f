#pragma once

#include <string>

#include "toolkit/controls/button_ui.h"

namespace ui {

// A picture viewport: shows a control-sized window into a larger picture, which the user pans
// by dragging (the picture follows the pointer). A picture no larger than the control is shown
// whole.
class CHandImgSelectButtonUI : public toolkit::CButtonUI {
  public:
    std::string_view GetClass() const override;
    void DoEvent(toolkit::TEventUI& event) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    void PaintStatusImage(cairo_t* cr) override;
    void SetPos(toolkit::UiRect rc, bool needInvalidate = true) override;

    // Sets the picture and fits the window to the control (see FitHandImage).
    void SetHandImage(const std::string& path);
    const std::string& GetHandImage() const { return m_sHandImage; }
    // Loads the picture and puts the window at its top-left corner, the control's size. A
    // picture that cannot be loaded changes nothing.
    void FitHandImage();
    // Moves the window by the pointer's travel since the last position, inside the picture.
    void PanHandImage(int x, int y);

    // The image string actually drawn.
    const std::string& GetDisplayImage() const { return m_sDisplayImage; }
    // The window into the picture, in picture pixels.
    const toolkit::UiRect& GetSourceWindow() const { return m_rcSource; }
    toolkit::UiSize GetPictureSize() const { return {m_nImageWidth, m_nImageHeight}; }
    bool IsDragging() const { return m_bDragging; }

  private:
    // The size the window is fitted to: the laid-out rectangle, or before the first layout the
    // fixed size from the skin.
    toolkit::UiSize ControlSize() const;
    void SetDisplayFromSource();

    std::string m_sHandImage;
    std::string m_sDisplayImage;
    toolkit::UiRect m_rcSource;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    bool m_bDragging = false;
    toolkit::UiPoint m_ptLast;
    toolkit::UiSize m_szFitted;
};

}  // namespace ui
