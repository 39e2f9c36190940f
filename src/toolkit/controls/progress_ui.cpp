#include "toolkit/controls/progress_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<CProgressUI> kProgressAttributes[] = {
    {"hor", AttrBool<CProgressUI, &CProgressUI::SetHorizontal>},
    {"min", AttrInt<CProgressUI, &CProgressUI::SetMinValue>},
    {"max", AttrInt<CProgressUI, &CProgressUI::SetMaxValue>},
    {"value", AttrInt<CProgressUI, &CProgressUI::SetValue>},
    {"isstretchfore", AttrBool<CProgressUI, &CProgressUI::SetStretchForeImage>},
};

}  // namespace

CProgressUI::CProgressUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
}

std::string_view CProgressUI::GetClass() const {
    return "Progress";
}

void CProgressUI::SetMinValue(int v) {
    m_nMin = v;
    m_nValue = std::max(m_nValue, m_nMin);
    Invalidate();
}

void CProgressUI::SetMaxValue(int v) {
    m_nMax = v;
    m_nValue = std::min(m_nValue, std::max(m_nMax, m_nMin));
    Invalidate();
}

void CProgressUI::SetValue(int v) {
    v = std::clamp(v, m_nMin, std::max(m_nMin, m_nMax));
    if (v == m_nValue) return;
    m_nValue = v;
    Invalidate();
}

UiRect CProgressUI::FilledRect() const {
    UiRect rc = m_rcItem;
    int range = m_nMax - m_nMin;
    if (range <= 0) return UiRect{rc.left, rc.top, rc.left, rc.top};
    if (m_bHorizontal) {
        rc.right = rc.left + static_cast<int>(static_cast<int64_t>(m_nValue - m_nMin) *
                                              rc.GetWidth() / range);
    } else {
        rc.top = rc.bottom -
                 static_cast<int>(static_cast<int64_t>(m_nValue - m_nMin) * rc.GetHeight() / range);
    }
    return rc;
}

void CProgressUI::PaintForeColor(cairo_t* cr) {
    if (m_dwForeColor == 0) return;
    UiRect filled = FilledRect();
    UiRect clip;
    if (!clip.Intersect(filled, m_rcPaint)) return;
    CRenderEngine::DrawColor(cr, clip, m_pManager->GetAdjustColor(m_dwForeColor));
}

void CProgressUI::PaintForeImage(cairo_t* cr) {
    if (m_sForeImage.empty()) return;
    UiRect filled = FilledRect();
    if (filled.IsEmpty()) return;
    TDrawInfo info;
    if (!CRenderEngine::ParseImageString(m_sForeImage, info)) return;
    if (!m_bStretchForeImage) {
        // The picture stays still and the fill uncovers it.
        cairo_save(cr);
        cairo_rectangle(cr, filled.left, filled.top, filled.GetWidth(), filled.GetHeight());
        cairo_clip(cr);
        CRenderEngine::DrawImageInfo(cr, m_pManager, m_rcItem, m_rcPaint, info);
        cairo_restore(cr);
        return;
    }
    UiRect paint;
    if (!paint.Intersect(filled, m_rcPaint)) return;
    CRenderEngine::DrawImageInfo(cr, m_pManager, filled, paint, info);
}

bool CProgressUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kProgressAttributes, name)) {
        return entry->apply(*this, value);
    }
    return CLabelUI::SetAttribute(name, value);
}

}  // namespace toolkit
