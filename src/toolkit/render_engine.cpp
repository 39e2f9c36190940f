#include "toolkit/render_engine.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

void SetSourceArgb(cairo_t* cr, uint32_t argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
}

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double rx, double ry) {
    rx = std::min(rx, w / 2);
    ry = std::min(ry, h / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    double wr = w / rx;
    double hr = h / ry;
    cairo_arc(cr, wr - 1, 1, 1, -G_PI / 2, 0);
    cairo_arc(cr, wr - 1, hr - 1, 1, 0, G_PI / 2);
    cairo_arc(cr, 1, hr - 1, 1, G_PI / 2, G_PI);
    cairo_arc(cr, 1, 1, 1, G_PI, 3 * G_PI / 2);
    cairo_restore(cr);
    cairo_close_path(cr);
}

bool ApplyImageKey(TDrawInfo& info, const std::string& key, const std::string& value) {
    if (EqualsNoCase(key, "file") || EqualsNoCase(key, "res")) {
        info.sImageName = value;
    } else if (EqualsNoCase(key, "restype")) {
        info.sResType = value;
    } else if (EqualsNoCase(key, "dest")) {
        if (!ParseRect(value, info.rcDest)) return false;
        info.bDestSet = true;
    } else if (EqualsNoCase(key, "source")) {
        if (!ParseRect(value, info.rcSource)) return false;
    } else if (EqualsNoCase(key, "corner")) {
        if (!ParseRect(value, info.rcCorner)) return false;
    } else if (EqualsNoCase(key, "mask")) {
        if (!ParseColor(value, info.dwMask)) return false;
    } else if (EqualsNoCase(key, "fade")) {
        if (!ParseInt(value, info.uFade)) return false;
        info.uFade = std::clamp(info.uFade, 0, 255);
    } else if (EqualsNoCase(key, "hole")) {
        if (!ParseBool(value, info.bHole)) return false;
    } else if (EqualsNoCase(key, "xtiled")) {
        if (!ParseBool(value, info.bTiledX)) return false;
    } else if (EqualsNoCase(key, "ytiled")) {
        if (!ParseBool(value, info.bTiledY)) return false;
    } else if (EqualsNoCase(key, "hsl")) {
        if (!ParseBool(value, info.bHSL)) return false;
    }
    return true;
}

bool ParseInto(const std::string& image, TDrawInfo& info) {
    if (image.find('=') == std::string::npos) {
        info.sImageName = image;
        return true;
    }
    std::vector<std::pair<std::string, std::string>> attrs;
    if (!ParseAttributeList(image, attrs)) return false;
    for (const auto& [k, v] : attrs) {
        if (!ApplyImageKey(info, k, v)) return false;
    }
    return true;
}

// Parsed strings are kept: the same few strings are drawn on every repaint.
const TDrawInfo* CachedDrawInfo(const std::string& image) {
    static std::unordered_map<std::string, TDrawInfo> cache;
    auto it = cache.find(image);
    if (it != cache.end()) return &it->second;
    TDrawInfo info;
    if (!ParseInto(image, info)) return nullptr;
    // Strings built at run time (panned viewports) would otherwise grow the cache forever.
    if (cache.size() > 4096) cache.clear();
    return &cache.emplace(image, std::move(info)).first->second;
}

// Draws src (image pixels) stretched over dst (window pixels), clipped to clip.
void DrawPart(cairo_t* cr, cairo_surface_t* image, const UiRect& src, const UiRect& dst,
              const UiRect& clip, bool tileX, bool tileY, double alpha, uint32_t overlayColor,
              bool overlay) {
    if (src.IsEmpty() || dst.IsEmpty()) return;
    UiRect visible;
    if (!visible.Intersect(dst, clip)) return;
    cairo_save(cr);
    cairo_rectangle(cr, visible.left, visible.top, visible.GetWidth(), visible.GetHeight());
    cairo_clip(cr);
    cairo_surface_t* part = cairo_surface_create_for_rectangle(image, src.left, src.top,
                                                               src.GetWidth(), src.GetHeight());
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
    cairo_matrix_t m;
    double sx = (tileX ? 1.0 : static_cast<double>(dst.GetWidth()) / src.GetWidth());
    double sy = (tileY ? 1.0 : static_cast<double>(dst.GetHeight()) / src.GetHeight());
    // Pattern space = (user space - dest origin) / scale; the translation applies first.
    cairo_matrix_init_identity(&m);
    cairo_matrix_scale(&m, 1.0 / sx, 1.0 / sy);
    cairo_matrix_translate(&m, -dst.left, -dst.top);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, (tileX || tileY) ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern,
                             (sx == 1.0 && sy == 1.0) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    if (overlay) {
        cairo_set_source_rgba(cr, ((overlayColor >> 16) & 0xFF) / 255.0,
                              ((overlayColor >> 8) & 0xFF) / 255.0, (overlayColor & 0xFF) / 255.0,
                              alpha);
        cairo_mask(cr, pattern);
    } else {
        cairo_set_source(cr, pattern);
        if (alpha >= 1.0)
            cairo_paint(cr);
        else
            cairo_paint_with_alpha(cr, alpha);
    }
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(part);
    cairo_restore(cr);
}

}  // namespace

bool CRenderEngine::ParseImageString(const std::string& image, TDrawInfo& out) {
    const TDrawInfo* info = CachedDrawInfo(image);
    if (info == nullptr) return false;
    out = *info;
    return true;
}

void CRenderEngine::DrawColor(cairo_t* cr, const UiRect& rc, uint32_t argb) {
    if ((argb >> 24) == 0 || rc.IsEmpty()) return;
    SetSourceArgb(cr, argb);
    cairo_rectangle(cr, rc.left, rc.top, rc.GetWidth(), rc.GetHeight());
    cairo_fill(cr);
}

void CRenderEngine::DrawRect(cairo_t* cr, const UiRect& rc, int size, uint32_t argb) {
    if (size <= 0 || rc.IsEmpty()) return;
    SetSourceArgb(cr, argb);
    // Four strips inside the rectangle keep the border crisp at any size.
    cairo_rectangle(cr, rc.left, rc.top, rc.GetWidth(), size);
    cairo_rectangle(cr, rc.left, rc.bottom - size, rc.GetWidth(), size);
    cairo_rectangle(cr, rc.left, rc.top + size, size, rc.GetHeight() - 2 * size);
    cairo_rectangle(cr, rc.right - size, rc.top + size, size, rc.GetHeight() - 2 * size);
    cairo_fill(cr);
}

void CRenderEngine::DrawRoundRect(cairo_t* cr, const UiRect& rc, int size, int width, int height,
                                  uint32_t argb) {
    if (size <= 0 || rc.IsEmpty()) return;
    SetSourceArgb(cr, argb);
    double half = size / 2.0;
    RoundRectPath(cr, rc.left + half, rc.top + half, rc.GetWidth() - size, rc.GetHeight() - size,
                  width / 2.0, height / 2.0);
    cairo_set_line_width(cr, size);
    cairo_stroke(cr);
}

void CRenderEngine::DrawLine(cairo_t* cr, UiPoint from, UiPoint to, int size, uint32_t argb) {
    SetSourceArgb(cr, argb);
    cairo_set_line_width(cr, size);
    cairo_move_to(cr, from.x + 0.5, from.y + 0.5);
    cairo_line_to(cr, to.x + 0.5, to.y + 0.5);
    cairo_stroke(cr);
}

void CRenderEngine::SetRoundClip(cairo_t* cr, const UiRect& rc, int width, int height) {
    RoundRectPath(cr, rc.left, rc.top, rc.GetWidth(), rc.GetHeight(), width / 2.0, height / 2.0);
    cairo_clip(cr);
}

namespace {

// Prepares the window's shared layout for text in rc; returns it.
PangoLayout* PrepareLayout(CPaintManagerUI* manager, const std::string& text, int font,
                           uint32_t style, int width) {
    PangoLayout* layout = manager->GetPangoLayout();
    pango_layout_set_font_description(layout, manager->GetFontDescription(font));
    const TFontInfo* info = manager->GetFontInfo(font);
    if (info != nullptr && info->bUnderline) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attrs);
        pango_attr_list_unref(attrs);
    } else {
        pango_layout_set_attributes(layout, nullptr);
    }
    bool single = (style & DT_SINGLELINE) != 0;
    pango_layout_set_single_paragraph_mode(layout, single);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    if (width > 0 && ((style & (DT_WORDBREAK | DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT)) != 0)) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
    } else {
        pango_layout_set_width(layout, -1);
    }
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(
        layout, (style & DT_END_ELLIPSIS) != 0 ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
    if (single && (style & DT_WORDBREAK) == 0 && width > 0 && (style & DT_END_ELLIPSIS) == 0) {
        // One line: Pango must not wrap it.
        pango_layout_set_width(layout, -1);
    }
    PangoAlignment align = PANGO_ALIGN_LEFT;
    if ((style & DT_CENTER) != 0)
        align = PANGO_ALIGN_CENTER;
    else if ((style & DT_RIGHT) != 0)
        align = PANGO_ALIGN_RIGHT;
    pango_layout_set_alignment(layout, align);
    return layout;
}

}  // namespace

void CRenderEngine::DrawText(cairo_t* cr, CPaintManagerUI* manager, const UiRect& rc,
                             const std::string& text, uint32_t argb, int font, uint32_t style) {
    if (text.empty() || rc.IsEmpty() || manager == nullptr) return;
    if (manager->GetPangoLayout() == nullptr) return;  // no surface yet
    PangoLayout* layout = PrepareLayout(manager, text, font, style, rc.GetWidth());
    int w = 0;
    int h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    double x = rc.left;
    if (pango_layout_get_width(layout) < 0) {
        // Unconstrained width: align by hand.
        if ((style & DT_CENTER) != 0)
            x = rc.left + (rc.GetWidth() - w) / 2.0;
        else if ((style & DT_RIGHT) != 0)
            x = rc.right - w;
    }
    double y = rc.top;
    if ((style & DT_VCENTER) != 0)
        y = rc.top + (rc.GetHeight() - h) / 2.0;
    else if ((style & DT_BOTTOM) != 0)
        y = rc.bottom - h;
    cairo_save(cr);
    cairo_rectangle(cr, rc.left, rc.top, rc.GetWidth(), rc.GetHeight());
    cairo_clip(cr);
    SetSourceArgb(cr, argb);
    cairo_move_to(cr, static_cast<int>(x), static_cast<int>(y));
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

UiSize CRenderEngine::MeasureText(CPaintManagerUI* manager, const std::string& text, int font,
                                  uint32_t style, int maxWidth) {
    if (text.empty() || manager == nullptr || manager->GetPangoLayout() == nullptr) return UiSize{};
    PangoLayout* layout = PrepareLayout(manager, text, font, style & ~DT_END_ELLIPSIS, maxWidth);
    int w = 0;
    int h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    return UiSize{w, h};
}

bool CRenderEngine::DrawImageString(cairo_t* cr, CPaintManagerUI* manager, const UiRect& rcItem,
                                    const UiRect& rcPaint, const std::string& image,
                                    const std::string& modify, uint32_t overlayColor,
                                    int overlayLevel, bool overlay) {
    if (image.empty() || manager == nullptr) return false;
    const TDrawInfo* cached = CachedDrawInfo(image);
    if (cached == nullptr) return false;
    if (modify.empty()) {
        return DrawImageInfo(cr, manager, rcItem, rcPaint, *cached, overlayColor, overlayLevel,
                             overlay);
    }
    TDrawInfo info = *cached;
    if (!ParseInto(modify, info)) return false;
    return DrawImageInfo(cr, manager, rcItem, rcPaint, info, overlayColor, overlayLevel, overlay);
}

bool CRenderEngine::DrawImageInfo(cairo_t* cr, CPaintManagerUI* manager, const UiRect& rcItem,
                                  const UiRect& rcPaint, const TDrawInfo& info,
                                  uint32_t overlayColor, int overlayLevel, bool overlay) {
    if (info.sImageName.empty() || manager == nullptr) return false;
    const TImageInfo* image = manager->GetImage(info.sImageName, info.dwMask, info.bHSL);
    if (image == nullptr) return false;

    UiRect dest = rcItem;
    if (info.bDestSet) {
        dest = UiRect{rcItem.left + manager->ScaleDpi(info.rcDest.left),
                      rcItem.top + manager->ScaleDpi(info.rcDest.top),
                      rcItem.left + manager->ScaleDpi(info.rcDest.right),
                      rcItem.top + manager->ScaleDpi(info.rcDest.bottom)};
        dest.right = std::min(dest.right, rcItem.right);
        dest.bottom = std::min(dest.bottom, rcItem.bottom);
    }
    UiRect clip;
    if (!clip.Intersect(dest, rcPaint)) return true;

    UiRect src = info.rcSource;
    if (src.left == 0 && src.top == 0 && src.right == 0 && src.bottom == 0) {
        src = UiRect{0, 0, image->nX, image->nY};
    }
    src.right = std::min(src.right, image->nX);
    src.bottom = std::min(src.bottom, image->nY);
    src.left = std::max(src.left, 0);
    src.top = std::max(src.top, 0);
    if (src.IsEmpty()) return false;

    double alpha = info.uFade / 255.0;
    if (overlay) alpha *= std::clamp(overlayLevel, 0, 255) / 255.0;
    const UiRect& c = info.rcCorner;
    bool hasCorner = c.left > 0 || c.top > 0 || c.right > 0 || c.bottom > 0;
    if (!hasCorner) {
        DrawPart(cr, image->surface, src, dest, clip, info.bTiledX, info.bTiledY, alpha,
                 overlayColor, overlay);
        return true;
    }
    // Nine-slice: corners keep their size (scaled by DPI), edges stretch along one axis, the
    // middle along both (or is left out for a hole).
    int dl = manager->ScaleDpi(c.left);
    int dt = manager->ScaleDpi(c.top);
    int dr = manager->ScaleDpi(c.right);
    int db = manager->ScaleDpi(c.bottom);
    int sx[4] = {src.left, src.left + c.left, src.right - c.right, src.right};
    int sy[4] = {src.top, src.top + c.top, src.bottom - c.bottom, src.bottom};
    int dx[4] = {dest.left, dest.left + dl, dest.right - dr, dest.right};
    int dy[4] = {dest.top, dest.top + dt, dest.bottom - db, dest.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            bool middle = row == 1 && col == 1;
            if (middle && info.bHole) continue;
            UiRect s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
            UiRect d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
            DrawPart(cr, image->surface, s, d, clip, middle && info.bTiledX, middle && info.bTiledY,
                     alpha, overlayColor, overlay);
        }
    }
    return true;
}

}  // namespace toolkit
