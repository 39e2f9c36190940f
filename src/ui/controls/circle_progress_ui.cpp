#include "ui/controls/circle_progress_ui.h"

#include <algorithm>
#include <cmath>

#include "toolkit/paint_manager_ui.h"

namespace ui {

namespace {

// The ring's width; it stays 10 pixels at every DPI.
constexpr int kRingWidth = 10;

void SetColour(cairo_t* cr, uint32_t argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, (argb >> 24) / 255.0);
}

// Fills the pie of the ellipse inscribed in (x, y, w, h) from startDeg over sweepDeg, angles
// clockwise on screen from the positive x axis.
void FillPie(cairo_t* cr, double x, double y, double w, double h, double startDeg, double sweepDeg,
             uint32_t argb) {
    if (w <= 0 || h <= 0 || sweepDeg <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, x + w / 2, y + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_new_path(cr);
    if (sweepDeg < 360) cairo_move_to(cr, 0, 0);
    cairo_arc(cr, 0, 0, 1, startDeg * M_PI / 180, (startDeg + sweepDeg) * M_PI / 180);
    cairo_close_path(cr);
    cairo_restore(cr);  // fill in device space, so that the scale does not distort the edge
    SetColour(cr, argb);
    cairo_fill(cr);
}

}  // namespace

std::string_view CCircleProgressUI::GetClass() const {
    return "CircleProgress";
}

int CCircleProgressUI::SweepDegrees() const {
    // The value is measured from zero, not from the minimum: a full ring is value == max - min.
    // An empty range has no progress to show, so it draws no arc rather than dividing by zero.
    int range = m_nMax - m_nMin;
    if (range <= 0) return 0;
    auto sweep = static_cast<int>(m_nValue * 1.0 / range * 360);
    return std::clamp(sweep, 0, 360);
}

void CCircleProgressUI::PaintBkColor(cairo_t* cr) {
    if (m_dwBackColor == 0) return;
    FillPie(cr, m_rcItem.left, m_rcItem.top, m_rcItem.GetWidth(), m_rcItem.GetHeight(), 0, 360,
            m_pManager->GetAdjustColor(m_dwBackColor));
}

void CCircleProgressUI::PaintForeColor(cairo_t* cr) {
    FillPie(cr, m_rcItem.left, m_rcItem.top, m_rcItem.GetWidth(), m_rcItem.GetHeight(), 90,
            SweepDegrees(), m_pManager->GetAdjustColor(m_dwForeColor));
    FillPie(cr, m_rcItem.left + kRingWidth, m_rcItem.top + kRingWidth,
            m_rcItem.GetWidth() - 2 * kRingWidth, m_rcItem.GetHeight() - 2 * kRingWidth, 0, 360,
            0xFFFFFFFF);
}

void CCircleProgressUI::PaintForeImage(cairo_t*) {}

}  // namespace ui
