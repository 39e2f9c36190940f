#include "toolkit/controls/color_palette_ui.h"

#include <algorithm>
#include <cmath>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr int kBarGap = 4;

constexpr AttributeEntry<CColorPaletteUI> kPaletteAttributes[] = {
    {"palletheight", AttrInt<CColorPaletteUI, &CColorPaletteUI::SetPalletHeight>},
    {"barheight", AttrInt<CColorPaletteUI, &CColorPaletteUI::SetBarHeight>},
    {"thumbimage", AttrText<CColorPaletteUI, &CColorPaletteUI::SetThumbImage>},
    {"selectcolor", AttrColor<CColorPaletteUI, &CColorPaletteUI::SetSelectColor>},
};

}  // namespace

CColorPaletteUI::CColorPaletteUI() = default;

CColorPaletteUI::~CColorPaletteUI() {
    if (m_palette != nullptr) cairo_surface_destroy(m_palette);
}

std::string_view CColorPaletteUI::GetClass() const {
    return "ColorPalette";
}

uint32_t CColorPaletteUI::HsbToRgb(int hue, double s, double v) {
    double h = std::fmod(std::max(hue, 0), 360) / 60.0;
    int sector = static_cast<int>(h);
    double f = h - sector;
    double p = v * (1 - s);
    double q = v * (1 - s * f);
    double t = v * (1 - s * (1 - f));
    double r = v;
    double g = t;
    double b = p;
    switch (sector) {
        case 1:
            r = q;
            g = v;
            b = p;
            break;
        case 2:
            r = p;
            g = v;
            b = t;
            break;
        case 3:
            r = p;
            g = q;
            b = v;
            break;
        case 4:
            r = t;
            g = p;
            b = v;
            break;
        case 5:
            r = v;
            g = p;
            b = q;
            break;
        default:
            break;
    }
    auto byte = [](double c) {
        return static_cast<uint32_t>(std::lround(std::clamp(c, 0.0, 1.0) * 255));
    };
    return 0xFF000000u | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

uint32_t CColorPaletteUI::GetSelectColor() const {
    return HsbToRgb(m_nHue, m_fSaturation, m_fBrightness);
}

void CColorPaletteUI::SetSelectColor(uint32_t argb) {
    double r = ((argb >> 16) & 0xFF) / 255.0;
    double g = ((argb >> 8) & 0xFF) / 255.0;
    double b = (argb & 0xFF) / 255.0;
    double mx = std::max({r, g, b});
    double mn = std::min({r, g, b});
    double d = mx - mn;
    m_fBrightness = mx;
    m_fSaturation = mx > 0 ? d / mx : 0;
    // A grey keeps the hue the user had.
    if (d > 0) {
        double h = 0;
        if (mx == r)
            h = std::fmod((g - b) / d, 6.0);
        else if (mx == g)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        m_nHue = (static_cast<int>(std::lround(h * 60)) + 360) % 360;
    }
    Invalidate();
}

void CColorPaletteUI::SetPalletHeight(int cy) {
    m_nPalletHeight = std::max(cy, 0);
    Invalidate();
}

void CColorPaletteUI::SetBarHeight(int cy) {
    m_nBarHeight = std::max(cy, 0);
    Invalidate();
}

UiRect CColorPaletteUI::GetPaletteRect() const {
    UiRect rc = m_rcItem;
    int bar = Scale(m_nBarHeight) + Scale(kBarGap);
    rc.bottom = m_nPalletHeight > 0 ? std::min(rc.top + Scale(m_nPalletHeight), rc.bottom - bar)
                                    : rc.bottom - bar;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

UiRect CColorPaletteUI::GetBarRect() const {
    UiRect rc = m_rcItem;
    rc.top = GetPaletteRect().bottom + Scale(kBarGap);
    rc.bottom = std::min(rc.top + Scale(m_nBarHeight), m_rcItem.bottom);
    return rc;
}

void CColorPaletteUI::TrackTo(UiPoint pt) {
    if (m_drag == Drag::kPalette) {
        UiRect rc = GetPaletteRect();
        if (rc.GetWidth() <= 1 || rc.GetHeight() <= 1) return;
        m_fSaturation =
            std::clamp((pt.x - rc.left) / static_cast<double>(rc.GetWidth() - 1), 0.0, 1.0);
        m_fBrightness =
            1.0 - std::clamp((pt.y - rc.top) / static_cast<double>(rc.GetHeight() - 1), 0.0, 1.0);
    } else if (m_drag == Drag::kBar) {
        UiRect rc = GetBarRect();
        if (rc.GetWidth() <= 1) return;
        double at = std::clamp((pt.x - rc.left) / static_cast<double>(rc.GetWidth()), 0.0, 1.0);
        m_nHue = std::min(static_cast<int>(at * 360), 359);
    } else {
        return;
    }
    Invalidate();
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_COLORCHANGED, GetSelectColor(), 0);
    }
}

void CColorPaletteUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (!IsEnabled()) return;
            if (GetPaletteRect().Contains(event.ptMouse))
                m_drag = Drag::kPalette;
            else if (GetBarRect().Contains(event.ptMouse))
                m_drag = Drag::kBar;
            TrackTo(event.ptMouse);
            return;
        case UIEVENT_MOUSEMOVE:
            TrackTo(event.ptMouse);
            return;
        case UIEVENT_BUTTONUP:
            m_drag = Drag::kNone;
            return;
        default:
            break;
    }
    CControlUI::DoEvent(event);
}

void CColorPaletteUI::UpdatePaletteSurface(int cx, int cy) {
    if (m_palette != nullptr && m_paletteHue == m_nHue &&
        cairo_image_surface_get_width(m_palette) == cx &&
        cairo_image_surface_get_height(m_palette) == cy)
        return;
    if (m_palette != nullptr) cairo_surface_destroy(m_palette);
    m_palette = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cx, cy);
    m_paletteHue = m_nHue;
    cairo_surface_flush(m_palette);
    unsigned char* data = cairo_image_surface_get_data(m_palette);
    int stride = cairo_image_surface_get_stride(m_palette);
    for (int y = 0; y < cy; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        double v = cy > 1 ? 1.0 - y / static_cast<double>(cy - 1) : 1.0;
        for (int x = 0; x < cx; ++x) {
            double s = cx > 1 ? x / static_cast<double>(cx - 1) : 1.0;
            row[x] = HsbToRgb(m_nHue, s, v);
        }
    }
    cairo_surface_mark_dirty(m_palette);
}

void CColorPaletteUI::PaintBkImage(cairo_t* cr) {
    CControlUI::PaintBkImage(cr);
    UiRect pal = GetPaletteRect();
    if (!pal.IsEmpty()) {
        UpdatePaletteSurface(pal.GetWidth(), pal.GetHeight());
        cairo_save(cr);
        cairo_set_source_surface(cr, m_palette, pal.left, pal.top);
        cairo_rectangle(cr, pal.left, pal.top, pal.GetWidth(), pal.GetHeight());
        cairo_fill(cr);
        cairo_restore(cr);
    }
    UiRect bar = GetBarRect();
    if (!bar.IsEmpty()) {
        cairo_pattern_t* hues = cairo_pattern_create_linear(bar.left, 0, bar.right, 0);
        for (int i = 0; i <= 6; ++i) {
            uint32_t c = HsbToRgb(i * 60 % 360, 1, 1);
            cairo_pattern_add_color_stop_rgb(hues, i / 6.0, ((c >> 16) & 0xFF) / 255.0,
                                             ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0);
        }
        cairo_save(cr);
        cairo_set_source(cr, hues);
        cairo_rectangle(cr, bar.left, bar.top, bar.GetWidth(), bar.GetHeight());
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(hues);
    }
    // Markers: a ring at the chosen saturation and brightness, a line at the hue.
    int px =
        pal.left + static_cast<int>(std::lround(m_fSaturation * std::max(pal.GetWidth() - 1, 0)));
    int py = pal.top +
             static_cast<int>(std::lround((1 - m_fBrightness) * std::max(pal.GetHeight() - 1, 0)));
    if (!m_sThumbImage.empty()) {
        int r = Scale(5);
        UiRect dest{px - r - m_rcItem.left, py - r - m_rcItem.top, px + r - m_rcItem.left,
                    py + r - m_rcItem.top};
        std::string modify = "dest='" + std::to_string(dest.left) + "," + std::to_string(dest.top) +
                             "," + std::to_string(dest.right) + "," + std::to_string(dest.bottom) +
                             "'";
        CRenderEngine::DrawImageString(cr, m_pManager, m_rcItem, m_rcPaint, m_sThumbImage, modify);
    } else if (!pal.IsEmpty()) {
        cairo_save(cr);
        cairo_set_line_width(cr, 1.5);
        cairo_set_source_rgb(cr, m_fBrightness > 0.5 ? 0 : 1, m_fBrightness > 0.5 ? 0 : 1,
                             m_fBrightness > 0.5 ? 0 : 1);
        cairo_arc(cr, px + 0.5, py + 0.5, Scale(4), 0, 2 * M_PI);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    if (!bar.IsEmpty()) {
        int hx = bar.left + m_nHue * bar.GetWidth() / 360;
        CRenderEngine::DrawColor(cr, UiRect{hx - 1, bar.top, hx + 1, bar.bottom}, 0xFFFFFFFF);
    }
}

bool CColorPaletteUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kPaletteAttributes, name))
        return entry->apply(*this, value);
    return CControlUI::SetAttribute(name, value);
}

}  // namespace toolkit
