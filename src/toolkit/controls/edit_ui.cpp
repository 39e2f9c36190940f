#include "toolkit/controls/edit_ui.h"

#include <pango/pangocairo.h>

#include <algorithm>

#include "toolkit/clipboard.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_CONTROL = 0x11;
constexpr uint32_t VK_END = 0x23;
constexpr uint32_t VK_HOME = 0x24;
constexpr uint32_t VK_DELETE = 0x2E;

// Modifier keys as the focused edit last saw them. The key messages carry no modifier state,
// so the edits follow the Shift and Ctrl key messages themselves; one state serves every edit
// because there is one keyboard.
struct Modifiers {
    bool shift = false;
    bool control = false;
};
Modifiers g_modifiers;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

size_t NextBoundary(const std::string& s, size_t i) {
    if (i >= s.size()) return s.size();
    ++i;
    while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i]))) ++i;
    return i;
}

size_t PrevBoundary(const std::string& s, size_t i) {
    if (i == 0) return 0;
    i = std::min(i, s.size()) - 1;
    while (i > 0 && IsContinuation(static_cast<unsigned char>(s[i]))) --i;
    return i;
}

size_t CountChars(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) {
        if (!IsContinuation(c)) ++n;
    }
    return n;
}

// The first count characters of s.
std::string HeadChars(const std::string& s, size_t count) {
    size_t i = 0;
    for (size_t n = 0; n < count && i < s.size(); ++n) i = NextBoundary(s, i);
    return s.substr(0, i);
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

constexpr AttributeEntry<CEditUI> kEditAttributes[] = {
    {"readonly", AttrBool<CEditUI, &CEditUI::SetReadOnly>},
    {"numberonly", AttrBool<CEditUI, &CEditUI::SetNumberOnly>},
    {"password", AttrBool<CEditUI, &CEditUI::SetPasswordMode>},
    {"passwordchar",
     [](CEditUI& c, const std::string& v) {
         if (v.size() != 1) return false;
         c.SetPasswordChar(v[0]);
         return true;
     }},
    {"maxchar", AttrInt<CEditUI, &CEditUI::SetMaxChar>},
    {"tipvalue", AttrText<CEditUI, &CEditUI::SetTipValue>},
    {"tipvaluecolor", AttrColor<CEditUI, &CEditUI::SetTipValueColor>},
    {"nativebkcolor", AttrColor<CEditUI, &CEditUI::SetNativeEditBkColor>},
    {"selectedbkcolor", AttrColor<CEditUI, &CEditUI::SetSelectedBkColor>},
    {"normalimage", AttrText<CEditUI, &CEditUI::SetNormalImage>},
    {"hotimage", AttrText<CEditUI, &CEditUI::SetHotImage>},
    {"focusedimage", AttrText<CEditUI, &CEditUI::SetFocusedImage>},
    {"disabledimage", AttrText<CEditUI, &CEditUI::SetDisabledImage>},
};

}  // namespace

CEditUI::CEditUI() {
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    m_sCursor = "ibeam";
}

std::string_view CEditUI::GetClass() const {
    return "Edit";
}

void CEditUI::SetText(const std::string& text) {
    std::string cut = HeadChars(text, static_cast<size_t>(m_nMaxChar));
    if (cut == m_sText) return;
    CLabelUI::SetText(cut);
    m_nCaret = m_nAnchor = m_sText.size();
    m_nScrollX = m_nScrollY = 0;
    Invalidate();
}

void CEditUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!enabled) m_bHot = false;
}

void CEditUI::SetReadOnly(bool on) {
    m_bReadOnly = on;
    Invalidate();
}

void CEditUI::SetMaxChar(int count) {
    m_nMaxChar = std::max(count, 0);
    if (CountChars(m_sText) > static_cast<size_t>(m_nMaxChar)) {
        CLabelUI::SetText(HeadChars(m_sText, static_cast<size_t>(m_nMaxChar)));
        m_nCaret = m_nAnchor = m_sText.size();
    }
}

void CEditUI::SetPasswordMode(bool on) {
    m_bPasswordMode = on;
    Invalidate();
}

void CEditUI::SetTipValue(const std::string& text) {
    m_sTipValue = text;
    Invalidate();
}

size_t CEditUI::GetSelStart() const {
    return std::min(m_nCaret, m_nAnchor);
}

size_t CEditUI::GetSelEnd() const {
    return std::max(m_nCaret, m_nAnchor);
}

std::string CEditUI::GetSelText() const {
    return m_sText.substr(GetSelStart(), GetSelEnd() - GetSelStart());
}

void CEditUI::SetSel(size_t start, size_t end) {
    auto snap = [this](size_t i) {
        i = std::min(i, m_sText.size());
        while (i > 0 && i < m_sText.size() &&
               IsContinuation(static_cast<unsigned char>(m_sText[i])))
            --i;
        return i;
    };
    m_nAnchor = snap(start);
    m_nCaret = snap(end);
    ScrollToCaret();
    Invalidate();
}

bool CEditUI::ReplaceSel(const std::string& text) {
    std::string insert;
    if (m_bNumberOnly) {
        for (char c : text) {
            if (c >= '0' && c <= '9') insert += c;
        }
        if (insert.size() != text.size() && insert.empty()) return false;
    } else if (m_bMultiLine) {
        insert = text;
    } else {
        // A single-line field keeps one line: a pasted line break ends the text there.
        insert = text.substr(0, text.find_first_of("\r\n"));
    }
    size_t start = GetSelStart();
    size_t end = GetSelEnd();
    size_t kept = CountChars(m_sText) - CountChars(m_sText.substr(start, end - start));
    size_t room = kept >= static_cast<size_t>(m_nMaxChar) ? 0 : m_nMaxChar - kept;
    insert = HeadChars(insert, room);
    if (insert.empty() && start == end) return false;
    m_sText.replace(start, end - start, insert);
    m_nCaret = m_nAnchor = start + insert.size();
    ScrollToCaret();
    Invalidate();
    return true;
}

bool CEditUI::UserReplace(const std::string& text) {
    if (m_bReadOnly) return false;
    std::string before = m_sText;
    if (!ReplaceSel(text) || m_sText == before) return false;
    if (m_pManager != nullptr) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
    return true;
}

void CEditUI::DeleteBackward() {
    if (m_nCaret == m_nAnchor) m_nAnchor = PrevBoundary(m_sText, m_nCaret);
    UserReplace("");
}

void CEditUI::DeleteForward() {
    if (m_nCaret == m_nAnchor) m_nAnchor = NextBoundary(m_sText, m_nCaret);
    UserReplace("");
}

void CEditUI::MoveCaret(size_t to, bool extend) {
    SetSel(extend ? m_nAnchor : to, to);
}

size_t CEditUI::LineStart(size_t index) {
    if (!m_bMultiLine) return 0;
    size_t nl = index == 0 ? std::string::npos : m_sText.rfind('\n', index - 1);
    return nl == std::string::npos ? 0 : nl + 1;
}

size_t CEditUI::LineEnd(size_t index) {
    if (!m_bMultiLine) return m_sText.size();
    size_t nl = m_sText.find('\n', index);
    return nl == std::string::npos ? m_sText.size() : nl;
}

size_t CEditUI::VerticalMove(size_t index, int lines) {
    PangoLayout* layout = Layout();
    if (layout == nullptr) return index;
    PangoRectangle pos;
    pango_layout_get_cursor_pos(layout, static_cast<int>(ToDisplay(index)), &pos, nullptr);
    int lineHeight = std::max(pos.height, 1);
    int x = pos.x;
    int y = pos.y + lineHeight / 2 + lines * lineHeight;
    if (y < 0) return 0;
    int idx = 0;
    int trailing = 0;
    if (!pango_layout_xy_to_index(layout, x, y, &idx, &trailing)) {
        int w = 0;
        int h = 0;
        pango_layout_get_size(layout, &w, &h);
        if (y >= h) return m_sText.size();
    }
    size_t result = FromDisplay(static_cast<size_t>(idx));
    for (int i = 0; i < trailing; ++i) result = NextBoundary(m_sText, result);
    return result;
}

void CEditUI::OnKeyDown(uint32_t key) {
    bool shift = g_modifiers.shift;
    if (g_modifiers.control) {
        switch (key) {
            case 'A':
                SetSelAll();
                return;
            case 'C':
                if (!m_bPasswordMode && GetSelEnd() > GetSelStart())
                    CClipboard::SetText(GetSelText());
                return;
            case 'X':
                if (m_bPasswordMode || m_bReadOnly || GetSelEnd() == GetSelStart()) return;
                CClipboard::SetText(GetSelText());
                UserReplace("");
                return;
            case 'V':
                UserReplace(CClipboard::GetText());
                return;
            default:
                break;
        }
    }
    switch (key) {
        case VK_LEFT:
            if (!shift && m_nCaret != m_nAnchor)
                MoveCaret(GetSelStart(), false);
            else
                MoveCaret(PrevBoundary(m_sText, m_nCaret), shift);
            return;
        case VK_RIGHT:
            if (!shift && m_nCaret != m_nAnchor)
                MoveCaret(GetSelEnd(), false);
            else
                MoveCaret(NextBoundary(m_sText, m_nCaret), shift);
            return;
        case VK_UP:
        case VK_DOWN:
            if (m_bMultiLine) MoveCaret(VerticalMove(m_nCaret, key == VK_UP ? -1 : 1), shift);
            return;
        case VK_HOME:
            MoveCaret(g_modifiers.control ? 0 : LineStart(m_nCaret), shift);
            return;
        case VK_END:
            MoveCaret(g_modifiers.control ? m_sText.size() : LineEnd(m_nCaret), shift);
            return;
        case VK_BACK:
            DeleteBackward();
            return;
        case VK_DELETE:
            DeleteForward();
            return;
        case VK_RETURN:
            if (m_bMultiLine) {
                UserReplace("\n");
            } else if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
            }
            return;
        default:
            return;
    }
}

void CEditUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent != nullptr) m_pParent->DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            m_bFocused = true;
            Invalidate();
            if (m_pManager != nullptr) m_pManager->SendNotify(this, DUI_MSGTYPE_SETFOCUS);
            return;
        case UIEVENT_KILLFOCUS:
            m_bFocused = false;
            m_bSelecting = false;
            g_modifiers = Modifiers{};
            Invalidate();
            if (m_pManager != nullptr) m_pManager->SendNotify(this, DUI_MSGTYPE_KILLFOCUS);
            return;
        case UIEVENT_KEYDOWN:
            if (!IsEnabled()) return;
            if (event.chKey == VK_SHIFT) {
                g_modifiers.shift = true;
            } else if (event.chKey == VK_CONTROL) {
                g_modifiers.control = true;
            } else if (event.chKey == VK_TAB || event.chKey == VK_ESCAPE) {
                break;
            } else {
                OnKeyDown(event.chKey);
            }
            return;
        case UIEVENT_KEYUP:
            if (event.chKey == VK_SHIFT) g_modifiers.shift = false;
            if (event.chKey == VK_CONTROL) g_modifiers.control = false;
            return;
        case UIEVENT_CHAR: {
            // Control characters come as key presses; Ctrl+letter is a shortcut, not text.
            if (!IsEnabled() || event.chKey < 0x20 || event.chKey == 0x7F || g_modifiers.control)
                return;
            std::string typed;
            AppendUtf8(typed, event.chKey);
            if (m_bNumberOnly && !(event.chKey >= '0' && event.chKey <= '9')) return;
            UserReplace(typed);
            return;
        }
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (!IsEnabled()) return;
            if (event.Type == UIEVENT_DBLCLICK) {
                SetSelAll();
                return;
            }
            MoveCaret(IndexFromPoint(event.ptMouse), (event.wKeyState & MK_SHIFT) != 0);
            m_bSelecting = true;
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_bSelecting) MoveCaret(IndexFromPoint(event.ptMouse), true);
            return;
        case UIEVENT_BUTTONUP:
            m_bSelecting = false;
            return;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_bHot = true;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            m_bHot = false;
            Invalidate();
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

bool CEditUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kEditAttributes, name)) return entry->apply(*this, value);
    return CLabelUI::SetAttribute(name, value);
}

UiRect CEditUI::TextRect() const {
    UiRect rc = m_rcItem;
    rc.Deflate(GetTextPadding());
    return rc;
}

std::string CEditUI::DisplayText() const {
    if (!m_bPasswordMode) return m_sText;
    return std::string(CountChars(m_sText), m_cPasswordChar);
}

size_t CEditUI::ToDisplay(size_t index) const {
    if (!m_bPasswordMode) return index;
    return CountChars(m_sText.substr(0, index));
}

size_t CEditUI::FromDisplay(size_t index) const {
    if (!m_bPasswordMode) return std::min(index, m_sText.size());
    size_t i = 0;
    for (size_t n = 0; n < index && i < m_sText.size(); ++n) i = NextBoundary(m_sText, i);
    return i;
}

PangoLayout* CEditUI::Layout() {
    if (m_pManager == nullptr) return nullptr;
    PangoLayout* layout = m_pManager->GetPangoLayout();
    if (layout == nullptr) return nullptr;
    std::string text = DisplayText();
    pango_layout_set_font_description(layout, m_pManager->GetFontDescription(m_iFont));
    pango_layout_set_attributes(layout, nullptr);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_NONE);
    pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    pango_layout_set_single_paragraph_mode(layout, !m_bMultiLine);
    if (m_bMultiLine) {
        pango_layout_set_width(layout, std::max(TextRect().GetWidth(), 1) * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_width(layout, -1);
    }
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    return layout;
}

UiPoint CEditUI::LayoutOrigin(PangoLayout* layout) {
    UiRect rc = TextRect();
    if (m_bMultiLine) return UiPoint{rc.left - m_nScrollX, rc.top - m_nScrollY};
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    int h = logical.height;
    if (h == 0) {
        // An empty line still has the font's height, so the caret sits where text will.
        PangoRectangle pos;
        pango_layout_get_cursor_pos(layout, 0, &pos, nullptr);
        h = PANGO_PIXELS(pos.height);
    }
    return UiPoint{rc.left - m_nScrollX, rc.top + (rc.GetHeight() - h) / 2};
}

UiRect CEditUI::GetCaretRect() {
    PangoLayout* layout = Layout();
    if (layout == nullptr) return UiRect{};
    UiPoint org = LayoutOrigin(layout);
    PangoRectangle pos;
    pango_layout_get_cursor_pos(layout, static_cast<int>(ToDisplay(m_nCaret)), &pos, nullptr);
    int x = org.x + PANGO_PIXELS(pos.x);
    int y = org.y + PANGO_PIXELS(pos.y);
    return UiRect{x, y, x + 1, y + std::max(PANGO_PIXELS(pos.height), 1)};
}

size_t CEditUI::IndexFromPoint(UiPoint pt) {
    PangoLayout* layout = Layout();
    if (layout == nullptr) return m_nCaret;
    UiPoint org = LayoutOrigin(layout);
    int idx = 0;
    int trailing = 0;
    pango_layout_xy_to_index(layout, (pt.x - org.x) * PANGO_SCALE, (pt.y - org.y) * PANGO_SCALE,
                             &idx, &trailing);
    size_t result = FromDisplay(static_cast<size_t>(std::max(idx, 0)));
    for (int i = 0; i < trailing; ++i) result = NextBoundary(m_sText, result);
    return result;
}

void CEditUI::ScrollToCaret() {
    PangoLayout* layout = Layout();
    if (layout == nullptr) return;
    UiRect rc = TextRect();
    PangoRectangle pos;
    pango_layout_get_cursor_pos(layout, static_cast<int>(ToDisplay(m_nCaret)), &pos, nullptr);
    int x = PANGO_PIXELS(pos.x);
    int y = PANGO_PIXELS(pos.y);
    int h = PANGO_PIXELS(pos.height);
    if (!m_bMultiLine) {
        if (x - m_nScrollX > rc.GetWidth() - 1) m_nScrollX = x - rc.GetWidth() + 1;
        if (x < m_nScrollX) m_nScrollX = x;
        m_nScrollX = std::max(m_nScrollX, 0);
    } else {
        if (y + h - m_nScrollY > rc.GetHeight()) m_nScrollY = y + h - rc.GetHeight();
        if (y < m_nScrollY) m_nScrollY = y;
        m_nScrollY = std::max(m_nScrollY, 0);
    }
}

void CEditUI::PaintStatusImage(cairo_t* cr) {
    if (m_dwEditBkColor != 0) {
        CRenderEngine::DrawColor(cr, m_rcItem, m_pManager->GetAdjustColor(m_dwEditBkColor));
    }
    const std::string* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.empty())
        image = &m_sDisabledImage;
    else if (IsFocused() && !m_sFocusedImage.empty())
        image = &m_sFocusedImage;
    else if (m_bHot && !m_sHotImage.empty())
        image = &m_sHotImage;
    if (!image->empty()) DrawImage(cr, *image);
}

void CEditUI::PaintText(cairo_t* cr) {
    UiRect rc = TextRect();
    if (rc.IsEmpty()) return;
    if (m_sText.empty() && !IsFocused()) {
        if (!m_sTipValue.empty()) {
            CRenderEngine::DrawText(cr, m_pManager, rc, m_sTipValue,
                                    m_pManager->GetAdjustColor(m_dwTipValueColor), m_iFont,
                                    m_bMultiLine ? DT_WORDBREAK : DT_VCENTER | DT_SINGLELINE);
        }
        return;
    }
    PangoLayout* layout = Layout();
    if (layout == nullptr) return;
    UiPoint org = LayoutOrigin(layout);
    cairo_save(cr);
    cairo_rectangle(cr, rc.left, rc.top, rc.GetWidth(), rc.GetHeight());
    cairo_clip(cr);
    // Selection behind the text, line by line.
    if (IsFocused() && GetSelEnd() > GetSelStart()) {
        int start = static_cast<int>(ToDisplay(GetSelStart()));
        int end = static_cast<int>(ToDisplay(GetSelEnd()));
        uint32_t c = m_dwSelBkColor;
        cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                              (c & 0xFF) / 255.0, (c >> 24) / 255.0);
        PangoLayoutIter* iter = pango_layout_get_iter(layout);
        do {
            PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
            int y0 = 0;
            int y1 = 0;
            pango_layout_iter_get_line_yrange(iter, &y0, &y1);
            int* ranges = nullptr;
            int n = 0;
            pango_layout_line_get_x_ranges(line, start, end, &ranges, &n);
            for (int i = 0; i < n; ++i) {
                double x0 = org.x + ranges[2 * i] / static_cast<double>(PANGO_SCALE);
                double x1 = org.x + ranges[2 * i + 1] / static_cast<double>(PANGO_SCALE);
                cairo_rectangle(cr, x0, org.y + y0 / static_cast<double>(PANGO_SCALE), x1 - x0,
                                (y1 - y0) / static_cast<double>(PANGO_SCALE));
            }
            g_free(ranges);
        } while (pango_layout_iter_next_line(iter));
        pango_layout_iter_free(iter);
        cairo_fill(cr);
        layout = Layout();  // the selection code may not touch it, but keep it current
    }
    uint32_t color = m_pManager->GetAdjustColor(GetStateTextColor());
    cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                          (color & 0xFF) / 255.0, (color >> 24) / 255.0);
    cairo_move_to(cr, org.x, org.y);
    pango_cairo_show_layout(cr, layout);
    if (IsFocused() && IsEnabled()) {
        // A steady caret: blinking would wake the program twice a second for nothing.
        UiRect caret = GetCaretRect();
        CRenderEngine::DrawColor(cr, caret, color | 0xFF000000u);
    }
    cairo_restore(cr);
}

}  // namespace toolkit
