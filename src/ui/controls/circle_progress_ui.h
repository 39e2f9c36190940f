#pragma once

#include "toolkit/controls/progress_ui.h"

namespace ui {

// A progress drawn as a ring: a disc in the background colour, the progress as a pie in the
// foreground colour growing clockwise from the bottom, and a white disc over the middle that
// leaves a 10-pixel ring. The progress text is drawn on top as by any label.
class CCircleProgressUI : public toolkit::CProgressUI {
  public:
    std::string_view GetClass() const override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintForeColor(cairo_t* cr) override;
    void PaintForeImage(cairo_t* cr) override;

    // The pie's sweep in whole degrees for the current value.
    int SweepDegrees() const;
};

}  // namespace ui
