#include "toolkit/control_ui.h"

#include <vector>

#include "os/debug_output.h"
#include "toolkit/backend/window_backend.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/resource_manager.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

bool SetAlign(CControlUI& c, const std::string& v) {
    uint32_t style = c.GetTextStyle() & ~(DT_LEFT | DT_CENTER | DT_RIGHT);
    if (EqualsNoCase(v, "left")) {
        style |= DT_LEFT;
    } else if (EqualsNoCase(v, "center")) {
        style |= DT_CENTER;
    } else if (EqualsNoCase(v, "right")) {
        style |= DT_RIGHT;
    } else {
        return false;
    }
    c.SetTextStyle(style);
    return true;
}

bool SetVAlign(CControlUI& c, const std::string& v) {
    uint32_t style = c.GetTextStyle() & ~(DT_VCENTER | DT_BOTTOM);
    if (EqualsNoCase(v, "top")) {
    } else if (EqualsNoCase(v, "center") || EqualsNoCase(v, "vcenter")) {
        style |= DT_VCENTER;
    } else if (EqualsNoCase(v, "bottom")) {
        style |= DT_BOTTOM;
    } else {
        return false;
    }
    c.SetTextStyle(style);
    return true;
}

bool SetTextFlag(CControlUI& c, const std::string& v, uint32_t flag) {
    bool on = false;
    if (!ParseBool(v, on)) return false;
    c.SetTextStyle(on ? (c.GetTextStyle() | flag) : (c.GetTextStyle() & ~flag));
    return true;
}

// "pos" of a float control: left, top, right, bottom relative to the parent.
bool SetPosAttribute(CControlUI& c, const std::string& v) {
    UiRect rc;
    if (!ParseRect(v, rc)) return false;
    c.SetFixedXY(UiSize{rc.left, rc.top});
    c.SetFixedWidth(rc.GetWidth());
    c.SetFixedHeight(rc.GetHeight());
    return true;
}

constexpr AttributeEntry<CControlUI> kControlAttributes[] = {
    {"name", AttrText<CControlUI, &CControlUI::SetName>},
    {"text", AttrText<CControlUI, &CControlUI::SetText>},
    {"tooltip", AttrText<CControlUI, &CControlUI::SetToolTip>},
    {"userdata", AttrText<CControlUI, &CControlUI::SetUserData>},
    {"tag",
     [](CControlUI& c, const std::string& v) {
         int n = 0;
         if (!ParseInt(v, n)) return false;
         c.SetTag(static_cast<uintptr_t>(n));
         return true;
     }},
    {"visible", AttrBool<CControlUI, &CControlUI::SetVisible>},
    {"enabled", AttrBool<CControlUI, &CControlUI::SetEnabled>},
    {"mouse", AttrBool<CControlUI, &CControlUI::SetMouseEnabled>},
    {"keyboard", AttrBool<CControlUI, &CControlUI::SetKeyboardEnabled>},
    {"float", AttrBool<CControlUI, &CControlUI::SetFloat>},
    {"pos", SetPosAttribute},
    {"padding", AttrRect<CControlUI, &CControlUI::SetPadding>},
    {"width", AttrInt<CControlUI, &CControlUI::SetFixedWidth>},
    {"height", AttrInt<CControlUI, &CControlUI::SetFixedHeight>},
    {"minwidth", AttrInt<CControlUI, &CControlUI::SetMinWidth>},
    {"maxwidth", AttrInt<CControlUI, &CControlUI::SetMaxWidth>},
    {"minheight", AttrInt<CControlUI, &CControlUI::SetMinHeight>},
    {"maxheight", AttrInt<CControlUI, &CControlUI::SetMaxHeight>},
    {"bkcolor", AttrColor<CControlUI, &CControlUI::SetBkColor>},
    {"bkimage", AttrText<CControlUI, &CControlUI::SetBkImage>},
    {"forecolor", AttrColor<CControlUI, &CControlUI::SetForeColor>},
    {"foreimage", AttrText<CControlUI, &CControlUI::SetForeImage>},
    {"bordercolor", AttrColor<CControlUI, &CControlUI::SetBorderColor>},
    {"focusbordercolor", AttrColor<CControlUI, &CControlUI::SetFocusBorderColor>},
    {"bordersize", AttrInt<CControlUI, &CControlUI::SetBorderSize>},
    {"borderround", AttrSize<CControlUI, &CControlUI::SetBorderRound>},
    {"textcolor", AttrColor<CControlUI, &CControlUI::SetTextColor>},
    {"disabledtextcolor", AttrColor<CControlUI, &CControlUI::SetDisabledTextColor>},
    {"font", AttrInt<CControlUI, &CControlUI::SetFont>},
    {"align", SetAlign},
    {"valign", SetVAlign},
    {"endellipsis",
     [](CControlUI& c, const std::string& v) { return SetTextFlag(c, v, DT_END_ELLIPSIS); }},
    {"multiline",
     [](CControlUI& c, const std::string& v) {
         bool on = false;
         if (!ParseBool(v, on)) return false;
         uint32_t s = c.GetTextStyle() & ~(DT_SINGLELINE | DT_WORDBREAK);
         c.SetTextStyle(on ? (s | DT_WORDBREAK) : (s | DT_SINGLELINE));
         return true;
     }},
    {"textpadding", AttrRect<CControlUI, &CControlUI::SetTextPadding>},
    {"cursor", AttrText<CControlUI, &CControlUI::SetCursor>},
    {"resourcetext", AttrBool<CControlUI, &CControlUI::SetResourceText>},
    {"menu", AttrBool<CControlUI, &CControlUI::SetContextMenuUsed>},
    {"virtualwnd", AttrText<CControlUI, &CControlUI::SetVirtualWnd>},
};

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

std::string_view CControlUI::GetClass() const {
    return "Control";
}

void CControlUI::SetName(const std::string& name) {
    if (name == m_sName) return;
    std::string old = m_sName;
    m_sName = name;
    if (m_pManager != nullptr) m_pManager->RenameControl(this, old);
}

std::string CControlUI::GetText() const {
    if (!m_bResourceText) return m_sText;
    return CResourceManager::GetInstance().GetText(m_sText);
}

void CControlUI::SetText(const std::string& text) {
    if (m_sText == text) return;
    m_sText = text;
    Invalidate();
}

std::string CControlUI::GetToolTip() const {
    if (!m_bResourceText) return m_sToolTip;
    return CResourceManager::GetInstance().GetText(m_sToolTip);
}

void CControlUI::SetToolTip(const std::string& text) {
    m_sToolTip = text;
}

void CControlUI::SetResourceText(bool on) {
    if (m_bResourceText == on) return;
    m_bResourceText = on;
    Invalidate();
}

const std::string& CControlUI::GetVirtualWnd() const {
    if (!m_sVirtualWnd.empty() || m_pParent == nullptr) return m_sVirtualWnd;
    return m_pParent->GetVirtualWnd();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_pManager = manager;
    m_pParent = parent;
    if (init) Init();
}

void CControlUI::Init() {
    DoInit();
}

void CControlUI::SetPos(UiRect rc, bool needInvalidate) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    if (needInvalidate && !(rc == m_rcItem)) Invalidate();  // the old place
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (needInvalidate) Invalidate();
}

UiSize CControlUI::EstimateSize(UiSize) {
    return UiSize{GetFixedWidth(), GetFixedHeight()};
}

int CControlUI::Scale(int value) const {
    return m_pManager != nullptr ? m_pManager->ScaleDpi(value) : value;
}

UiRect CControlUI::GetPadding() const {
    return UiRect{Scale(m_rcPadding.left), Scale(m_rcPadding.top), Scale(m_rcPadding.right),
                  Scale(m_rcPadding.bottom)};
}
void CControlUI::SetPadding(UiRect rc) {
    m_rcPadding = rc;
    NeedParentUpdate();
}
UiSize CControlUI::GetFixedXY() const {
    return UiSize{Scale(m_cXY.cx), Scale(m_cXY.cy)};
}
void CControlUI::SetFixedXY(UiSize xy) {
    m_cXY = xy;
    NeedParentUpdate();
}
int CControlUI::GetFixedWidth() const {
    return Scale(m_cxyFixed.cx);
}
void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}
int CControlUI::GetFixedHeight() const {
    return Scale(m_cxyFixed.cy);
}
void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}
int CControlUI::GetMinWidth() const {
    return Scale(m_cxyMin.cx);
}
void CControlUI::SetMinWidth(int cx) {
    if (cx < 0) return;
    m_cxyMin.cx = cx;
    NeedParentUpdate();
}
int CControlUI::GetMaxWidth() const {
    return Scale(m_cxyMax.cx);
}
void CControlUI::SetMaxWidth(int cx) {
    if (cx < 0) return;
    m_cxyMax.cx = cx;
    NeedParentUpdate();
}
int CControlUI::GetMinHeight() const {
    return Scale(m_cxyMin.cy);
}
void CControlUI::SetMinHeight(int cy) {
    if (cy < 0) return;
    m_cxyMin.cy = cy;
    NeedParentUpdate();
}
int CControlUI::GetMaxHeight() const {
    return Scale(m_cxyMax.cy);
}
void CControlUI::SetMaxHeight(int cy) {
    if (cy < 0) return;
    m_cxyMax.cy = cy;
    NeedParentUpdate();
}
void CControlUI::SetFloat(bool on) {
    if (m_bFloat == on) return;
    m_bFloat = on;
    NeedParentUpdate();
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    bool wasVisible = IsVisible();
    m_bVisible = visible;
    if (m_bFocused && !visible) m_bFocused = false;
    if (m_pManager != nullptr && !IsVisible() && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
    if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible) {
    m_bInternVisible = visible;
    if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
        m_pManager->SetFocus(nullptr);
    }
}

void CControlUI::SetEnabled(bool enabled) {
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    Invalidate();
}

void CControlUI::SetFocus() {
    if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

void CControlUI::SetBkColor(uint32_t argb) {
    if (m_dwBackColor == argb) return;
    m_dwBackColor = argb;
    Invalidate();
}
void CControlUI::SetBkImage(const std::string& image) {
    if (m_sBkImage == image) return;
    m_sBkImage = image;
    Invalidate();
}
void CControlUI::SetForeColor(uint32_t argb) {
    if (m_dwForeColor == argb) return;
    m_dwForeColor = argb;
    Invalidate();
}
void CControlUI::SetForeImage(const std::string& image) {
    if (m_sForeImage == image) return;
    m_sForeImage = image;
    Invalidate();
}
void CControlUI::SetBorderColor(uint32_t argb) {
    m_dwBorderColor = argb;
    Invalidate();
}
void CControlUI::SetFocusBorderColor(uint32_t argb) {
    m_dwFocusBorderColor = argb;
    Invalidate();
}
int CControlUI::GetBorderSize() const {
    return Scale(m_nBorderSize);
}
void CControlUI::SetBorderSize(int size) {
    m_nBorderSize = size < 0 ? 0 : size;
    Invalidate();
}
UiSize CControlUI::GetBorderRound() const {
    return UiSize{Scale(m_cxyBorderRound.cx), Scale(m_cxyBorderRound.cy)};
}
void CControlUI::SetBorderRound(UiSize round) {
    m_cxyBorderRound = round;
    Invalidate();
}
void CControlUI::SetTextColor(uint32_t argb) {
    m_dwTextColor = argb;
    Invalidate();
}
void CControlUI::SetDisabledTextColor(uint32_t argb) {
    m_dwDisabledTextColor = argb;
    Invalidate();
}
void CControlUI::SetFont(int id) {
    m_iFont = id;
    Invalidate();
}
void CControlUI::SetTextStyle(uint32_t style) {
    m_uTextStyle = style;
    Invalidate();
}
UiRect CControlUI::GetTextPadding() const {
    return UiRect{Scale(m_rcTextPadding.left), Scale(m_rcTextPadding.top),
                  Scale(m_rcTextPadding.right), Scale(m_rcTextPadding.bottom)};
}
void CControlUI::SetTextPadding(UiRect rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

bool CControlUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kControlAttributes, name))
        return entry->apply(*this, value);
    if (EqualsNoCase(name, "style")) {
        // A named attribute set of the skin.
        const std::string* list = m_pManager != nullptr ? m_pManager->GetStyle(value) : nullptr;
        if (list == nullptr) return false;
        return ApplyAttributeList(*list);
    }
    os::DebugOutput("toolkit: " + std::string(GetClass()) + " ignores attribute '" + name + "'\n");
    return true;
}

bool CControlUI::ApplyAttributeList(const std::string& list) {
    std::vector<std::pair<std::string, std::string>> attrs;
    if (!ParseAttributeList(list, attrs)) return false;
    bool ok = true;
    for (const auto& [name, value] : attrs) ok = SetAttribute(name, value) && ok;
    return ok;
}

bool CControlUI::DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI*) {
    if (!m_rcPaint.Intersect(rcPaint, m_rcItem)) return true;
    UiSize round = GetBorderRound();
    bool clip = round.cx > 0 || round.cy > 0;
    if (clip) {
        cairo_save(cr);
        CRenderEngine::SetRoundClip(cr, m_rcItem, round.cx, round.cy);
    }
    PaintBkColor(cr);
    PaintBkImage(cr);
    PaintStatusImage(cr);
    PaintForeColor(cr);
    PaintForeImage(cr);
    PaintText(cr);
    if (clip) cairo_restore(cr);
    PaintBorder(cr);
    return true;
}

void CControlUI::PaintBkColor(cairo_t* cr) {
    if (m_dwBackColor == 0) return;
    CRenderEngine::DrawColor(cr, m_rcPaint, m_pManager->GetAdjustColor(m_dwBackColor));
}

void CControlUI::PaintBkImage(cairo_t* cr) {
    if (m_sBkImage.empty()) return;
    DrawImage(cr, m_sBkImage);
}

void CControlUI::PaintStatusImage(cairo_t*) {}

void CControlUI::PaintForeColor(cairo_t* cr) {
    if (m_dwForeColor == 0) return;
    CRenderEngine::DrawColor(cr, m_rcPaint, m_pManager->GetAdjustColor(m_dwForeColor));
}

void CControlUI::PaintForeImage(cairo_t* cr) {
    if (m_sForeImage.empty()) return;
    DrawImage(cr, m_sForeImage);
}

void CControlUI::PaintText(cairo_t*) {}

void CControlUI::PaintBorder(cairo_t* cr) {
    int size = GetBorderSize();
    if (size <= 0) return;
    uint32_t color =
        (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
    if (color == 0) return;
    color = m_pManager->GetAdjustColor(color);
    UiSize round = GetBorderRound();
    if (round.cx > 0 || round.cy > 0) {
        CRenderEngine::DrawRoundRect(cr, m_rcItem, size, round.cx, round.cy, color);
    } else {
        CRenderEngine::DrawRect(cr, m_rcItem, size, color);
    }
}

bool CControlUI::DrawImage(cairo_t* cr, const std::string& image, uint32_t overlayColor,
                           int overlayLevel, bool overlay) {
    return CRenderEngine::DrawImageString(cr, m_pManager, m_rcItem, m_rcPaint, image, "",
                                          overlayColor, overlayLevel, overlay);
}

void CControlUI::Event(TEventUI& event) {
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_SETCURSOR:
            if (m_pManager != nullptr && m_pManager->GetBackend() != nullptr) {
                m_pManager->GetBackend()->SetCursor(m_sCursor.empty() ? "arrow" : m_sCursor);
            }
            return;
        case UIEVENT_SETFOCUS:
            m_bFocused = true;
            Invalidate();
            return;
        case UIEVENT_KILLFOCUS:
            m_bFocused = false;
            Invalidate();
            return;
        case UIEVENT_TIMER:
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
            }
            return;
        case UIEVENT_CONTEXTMENU:
            if (m_bMenuUsed && m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
                return;
            }
            break;
        default:
            break;
    }
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

void CControlUI::TrackHot(const TEventUI& event, uint32_t& state) {
    if (!IsEnabled()) return;
    if (event.Type == UIEVENT_MOUSEENTER)
        state |= UISTATE_HOT;
    else if (event.Type == UIEVENT_MOUSELEAVE)
        state &= ~UISTATE_HOT;
    Invalidate();
}

void CControlUI::Invalidate() {
    if (!IsVisible() || m_pManager == nullptr) return;
    UiRect rc = m_rcItem;
    // A control painted outside its parents' rectangles is not seen, so only the visible part
    // counts.
    for (CControlUI* p = m_pParent; p != nullptr; p = p->m_pParent) {
        UiRect clipped;
        if (!clipped.Intersect(rc, p->GetPos())) return;
        rc = clipped;
    }
    m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate() {
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) m_pManager->NeedLayout();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent != nullptr) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
}

bool CControlUI::SetTimer(uint32_t id, uint32_t periodMs) {
    return m_pManager != nullptr && m_pManager->SetTimer(this, id, periodMs);
}

void CControlUI::KillTimer(uint32_t id) {
    if (m_pManager != nullptr) m_pManager->KillTimer(this, id);
}

CControlUI* CControlUI::FindControl(FindControlProc proc, void* data, uint32_t flags) {
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 &&
        (!m_bMouseEnabled || !m_rcItem.Contains(*static_cast<const UiPoint*>(data))))
        return nullptr;
    return proc(this, data);
}

}  // namespace toolkit
