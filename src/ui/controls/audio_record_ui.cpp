#include "ui/controls/audio_record_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"

namespace ui {

using toolkit::CRenderEngine;
using toolkit::UiRect;

namespace {

constexpr int kRampSlots = 256;
constexpr int kBarPitch = 2;

}  // namespace

CAudioRecordUI::CAudioRecordUI() {
    // The first slots hold a rising ramp; the others stay at silence (0), which draws only the
    // baseline pixel of each bar.
    for (int i = 0; i < kRampSlots; ++i) m_samples[static_cast<size_t>(i)] = i;
}

std::string_view CAudioRecordUI::GetClass() const {
    return "AudioRecord";
}

void CAudioRecordUI::PaintBkColor(cairo_t* cr) {
    CRenderEngine::DrawColor(cr, m_rcPaint, m_pManager->GetAdjustColor(0xFFFFFFFF));
    const uint32_t black = m_pManager->GetAdjustColor(0xFF000000);
    const int height = m_rcItem.GetHeight();
    for (int i = 0; i < kSampleCount && i * kBarPitch < m_rcItem.GetWidth(); ++i) {
        const int x = m_rcItem.left + i * kBarPitch;
        const auto level =
            static_cast<int64_t>(m_samples[static_cast<size_t>(i)]) * height / kFullScale;
        // The bar runs from its level down to the last row; a level at or below the bottom
        // still shows that row, and one above full scale stops at the top.
        const int top = static_cast<int>(
            std::clamp<int64_t>(m_rcItem.bottom - level, m_rcItem.top, m_rcItem.bottom - 1));
        UiRect bar{x, top, x + 1, m_rcItem.bottom};
        UiRect visible;
        if (visible.Intersect(bar, m_rcPaint)) CRenderEngine::DrawColor(cr, visible, black);
    }
}

void CAudioRecordUI::PaintForeImage(cairo_t*) {}

}  // namespace ui
