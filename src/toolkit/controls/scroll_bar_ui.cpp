#include "toolkit/controls/scroll_bar_ui.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr int kMinThumb = 12;

constexpr AttributeEntry<CScrollBarUI> kScrollBarAttributes[] = {
    {"hor", AttrBool<CScrollBarUI, &CScrollBarUI::SetHorizontal>},
    {"range", AttrInt<CScrollBarUI, &CScrollBarUI::SetScrollRange>},
    {"value",
     [](CScrollBarUI& c, const std::string& v) {
         int n = 0;
         if (!ParseInt(v, n)) return false;
         c.SetScrollPos(n, false);
         return true;
     }},
    {"linesize", AttrInt<CScrollBarUI, &CScrollBarUI::SetLineSize>},
    {"showbutton1", AttrBool<CScrollBarUI, &CScrollBarUI::SetShowButton1>},
    {"showbutton2", AttrBool<CScrollBarUI, &CScrollBarUI::SetShowButton2>},
    {"thumbcolor", AttrColor<CScrollBarUI, &CScrollBarUI::SetThumbColor>},
    {"thumbhotcolor", AttrColor<CScrollBarUI, &CScrollBarUI::SetThumbHotColor>},
    {"railcolor", AttrColor<CScrollBarUI, &CScrollBarUI::SetRailColor>},
    {"thumbnormalimage", AttrText<CScrollBarUI, &CScrollBarUI::SetThumbNormalImage>},
    {"thumbhotimage", AttrText<CScrollBarUI, &CScrollBarUI::SetThumbHotImage>},
    {"thumbpushedimage", AttrText<CScrollBarUI, &CScrollBarUI::SetThumbPushedImage>},
    {"button1normalimage", AttrText<CScrollBarUI, &CScrollBarUI::SetButton1NormalImage>},
    {"button2normalimage", AttrText<CScrollBarUI, &CScrollBarUI::SetButton2NormalImage>},
};

}  // namespace

CScrollBarUI::CScrollBarUI() {
    m_cxyFixed = UiSize{10, 0};
}

std::string_view CScrollBarUI::GetClass() const {
    return "ScrollBar";
}

void CScrollBarUI::SetHorizontal(bool on) {
    m_bHorizontal = on;
    m_cxyFixed = on ? UiSize{0, 10} : UiSize{10, 0};
    NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int range) {
    m_nRange = std::max(range, 0);
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    Layout();
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos, bool notify) {
    pos = std::clamp(pos, 0, m_nRange);
    if (pos == m_nScrollPos) return;
    m_nScrollPos = pos;
    Layout();
    Invalidate();
    if (notify && m_onScroll) m_onScroll(m_nScrollPos);
}

void CScrollBarUI::SetPos(UiRect rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    Layout();
}

int CScrollBarUI::TrackLength() const {
    int total = m_bHorizontal ? m_rcItem.GetWidth() : m_rcItem.GetHeight();
    int thick = m_bHorizontal ? m_rcItem.GetHeight() : m_rcItem.GetWidth();
    return total - (m_bShowButton1 ? thick : 0) - (m_bShowButton2 ? thick : 0);
}

void CScrollBarUI::Layout() {
    UiRect rc = m_rcItem;
    int thick = m_bHorizontal ? rc.GetHeight() : rc.GetWidth();
    m_rcButton1 = m_rcButton2 = UiRect{};
    int start = m_bHorizontal ? rc.left : rc.top;
    if (m_bShowButton1) {
        m_rcButton1 = m_bHorizontal ? UiRect{rc.left, rc.top, rc.left + thick, rc.bottom}
                                    : UiRect{rc.left, rc.top, rc.right, rc.top + thick};
        start += thick;
    }
    if (m_bShowButton2) {
        m_rcButton2 = m_bHorizontal ? UiRect{rc.right - thick, rc.top, rc.right, rc.bottom}
                                    : UiRect{rc.left, rc.bottom - thick, rc.right, rc.bottom};
    }
    int track = std::max(TrackLength(), 0);
    int page = m_nPageSize > 0 ? m_nPageSize : track;
    // The thumb's share of the track is the page's share of the whole content.
    int thumb = m_nRange + page > 0 ? track * page / (m_nRange + page) : track;
    thumb = std::clamp(thumb, std::min(Scale(kMinThumb), track), track);
    int offset = m_nRange > 0 ? (track - thumb) * m_nScrollPos / m_nRange : 0;
    if (m_bHorizontal)
        m_rcThumb = UiRect{start + offset, rc.top, start + offset + thumb, rc.bottom};
    else
        m_rcThumb = UiRect{rc.left, start + offset, rc.right, start + offset + thumb};
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK: {
            if (!IsEnabled()) return;
            UiPoint pt = event.ptMouse;
            if (m_rcButton1.Contains(pt)) {
                SetScrollPos(m_nScrollPos - GetLineSize());
            } else if (m_rcButton2.Contains(pt)) {
                SetScrollPos(m_nScrollPos + GetLineSize());
            } else if (m_rcThumb.Contains(pt)) {
                m_bThumbCaptured = true;
                m_ptDragStart = pt;
                m_nDragStartPos = m_nScrollPos;
                Invalidate();
            } else {
                int page = m_nPageSize > 0 ? m_nPageSize : TrackLength();
                bool before = m_bHorizontal ? pt.x < m_rcThumb.left : pt.y < m_rcThumb.top;
                SetScrollPos(m_nScrollPos + (before ? -page : page));
            }
            return;
        }
        case UIEVENT_MOUSEMOVE:
            if (m_bThumbCaptured) {
                int track = TrackLength();
                int thumb = m_bHorizontal ? m_rcThumb.GetWidth() : m_rcThumb.GetHeight();
                int moved = m_bHorizontal ? event.ptMouse.x - m_ptDragStart.x
                                          : event.ptMouse.y - m_ptDragStart.y;
                if (track > thumb)
                    SetScrollPos(m_nDragStartPos + moved * m_nRange / (track - thumb));
            }
            return;
        case UIEVENT_BUTTONUP:
            if (m_bThumbCaptured) {
                m_bThumbCaptured = false;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSEENTER:
            m_bThumbHot = true;
            Invalidate();
            return;
        case UIEVENT_MOUSELEAVE:
            m_bThumbHot = false;
            Invalidate();
            return;
        case UIEVENT_SCROLLWHEEL:
            SetScrollPos(m_nScrollPos + (event.wParam == 0 ? -GetLineSize() : GetLineSize()) * 3);
            return;
        default:
            break;
    }
    CControlUI::DoEvent(event);
}

bool CScrollBarUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kScrollBarAttributes, name))
        return entry->apply(*this, value);
    return CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::PaintStatusImage(cairo_t* cr) {
    if (m_dwRailColor != 0) {
        CRenderEngine::DrawColor(cr, m_rcItem, m_pManager->GetAdjustColor(m_dwRailColor));
    }
    auto drawAt = [&](const UiRect& rc, const std::string& image) {
        if (image.empty() || rc.IsEmpty()) return false;
        UiRect rel = rc;
        rel.Offset(-m_rcItem.left, -m_rcItem.top);
        std::string modify = "dest='" + std::to_string(rel.left) + "," + std::to_string(rel.top) +
                             "," + std::to_string(rel.right) + "," + std::to_string(rel.bottom) +
                             "'";
        return CRenderEngine::DrawImageString(cr, m_pManager, m_rcItem, m_rcPaint, image, modify);
    };
    drawAt(m_rcButton1, m_sButton1Image);
    drawAt(m_rcButton2, m_sButton2Image);
    if (m_nRange <= 0) return;
    const std::string& image = m_bThumbCaptured && !m_sThumbPushedImage.empty()
                                   ? m_sThumbPushedImage
                               : m_bThumbHot && !m_sThumbHotImage.empty() ? m_sThumbHotImage
                                                                          : m_sThumbNormalImage;
    if (!drawAt(m_rcThumb, image)) {
        uint32_t c = m_bThumbHot || m_bThumbCaptured ? m_dwThumbHotColor : m_dwThumbColor;
        CRenderEngine::DrawColor(cr, m_rcThumb, m_pManager->GetAdjustColor(c));
    }
}

}  // namespace toolkit
