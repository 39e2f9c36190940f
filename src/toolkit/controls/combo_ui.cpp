#include "toolkit/controls/combo_ui.h"

#include "toolkit/controls/combo_wnd.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr uint32_t VK_F4 = 0x73;

constexpr AttributeEntry<CComboUI> kComboAttributes[] = {
    {"normalimage", AttrText<CComboUI, &CComboUI::SetNormalImage>},
    {"hotimage", AttrText<CComboUI, &CComboUI::SetHotImage>},
    {"pushedimage", AttrText<CComboUI, &CComboUI::SetPushedImage>},
    {"focusedimage", AttrText<CComboUI, &CComboUI::SetFocusedImage>},
    {"disabledimage", AttrText<CComboUI, &CComboUI::SetDisabledImage>},
    {"dropbox", AttrText<CComboUI, &CComboUI::SetDropBoxAttributeList>},
    {"dropboxsize", AttrSize<CComboUI, &CComboUI::SetDropBoxSize>},
};

}  // namespace

CComboUI::CComboUI() {
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
}

CComboUI::~CComboUI() {
    if (m_pWindow != nullptr) {
        CComboWnd* wnd = m_pWindow;
        m_pWindow = nullptr;
        wnd->DestroyWindow();
    }
}

std::string_view CComboUI::GetClass() const {
    return "Combo";
}

bool CComboUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CComboUI::AddAt(CControlUI* control, int index) {
    return InsertListItem<CContainerUI>(*this, this, m_iCurSel, control, index);
}

bool CComboUI::Remove(CControlUI* control, bool doNotDestroy) {
    int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CComboUI::RemoveAt(int index, bool doNotDestroy) {
    CloseDropDown();
    if (!RemoveListItem<CContainerUI>(*this, this, m_iCurSel, index, doNotDestroy)) return false;
    Invalidate();
    return true;
}

void CComboUI::RemoveAll() {
    CloseDropDown();
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    Invalidate();
}

bool CComboUI::SelectItem(int index, bool, bool sendNotify) {
    if (m_pWindow != nullptr && m_pWindow->GetHWND() == 0) m_pWindow = nullptr;
    if (index == m_iCurSel) return true;
    if (index >= 0 && !IsSelectableItem(*this, index)) return false;
    int old = m_iCurSel;
    MoveItemSelection(*this, old, index);
    m_iCurSel = index;
    Invalidate();
    if (m_pWindow != nullptr) m_pWindow->EnsureSelectionVisible();
    if (sendNotify && m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(index),
                               static_cast<LPARAM>(old));
    }
    return true;
}

std::string CComboUI::GetText() const {
    CControlUI* item = GetItemAt(m_iCurSel);
    return item != nullptr ? item->GetText() : std::string();
}

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != nullptr) return true;
    if (m_pManager == nullptr || m_pManager->GetPaintWindow() == 0) return false;
    auto* wnd = new CComboWnd(this);
    m_pWindow = wnd;
    if (!wnd->Open()) {
        // The window deleted itself on the failed creation.
        m_pWindow = nullptr;
        return false;
    }
    m_pManager->SendNotify(this, DUI_MSGTYPE_DROPDOWN);
    Invalidate();
    return true;
}

void CComboUI::CloseDropDown() {
    if (m_pWindow == nullptr) return;
    CComboWnd* wnd = m_pWindow;
    m_pWindow = nullptr;
    wnd->DestroyWindow();
}

void CComboUI::SetPos(UiRect rc, bool needInvalidate) {
    // The items are laid out by the drop-down while it is open, never inside the combo.
    CControlUI::SetPos(rc, needInvalidate);
}

void CComboUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Activate();
            }
            return;
        case UIEVENT_BUTTONUP:
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            return;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
            return;
        case UIEVENT_KEYDOWN: {
            if (!IsEnabled()) return;
            if (event.chKey == VK_F4 || (event.chKey == VK_RETURN && m_pWindow == nullptr)) {
                Activate();
                return;
            }
            int target = ItemForCursorKey(*this, m_iCurSel, event.chKey);
            if (target >= 0) SelectItem(target);
            if (target != -2) return;
            break;
        }
        case UIEVENT_SETFOCUS:
        case UIEVENT_KILLFOCUS:
            CControlUI::DoEvent(event);
            return;
        default:
            break;
    }
    CContainerUI::DoEvent(event);
}

bool CComboUI::DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl) {
    // Only the combo itself; its items show in the drop-down.
    return CControlUI::DoPaint(cr, rcPaint, stopControl);
}

void CComboUI::PaintStatusImage(cairo_t* cr) {
    const std::string* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.empty())
        image = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.empty())
        image = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.empty())
        image = &m_sHotImage;
    else if (IsFocused() && !m_sFocusedImage.empty())
        image = &m_sFocusedImage;
    if (!image->empty()) DrawImage(cr, *image);
}

void CComboUI::PaintText(cairo_t* cr) {
    std::string text = GetText();
    if (text.empty()) return;
    UiRect rc = m_rcItem;
    rc.Deflate(GetTextPadding());
    uint32_t color = !IsEnabled() && m_dwDisabledTextColor != 0 ? m_dwDisabledTextColor
                     : m_dwTextColor != 0                       ? m_dwTextColor
                                                                : m_info.dwTextColor;
    int font = m_iFont >= 0 ? m_iFont : m_info.nFont;
    CRenderEngine::DrawText(cr, m_pManager, rc, text, m_pManager->GetAdjustColor(color), font,
                            m_uTextStyle | DT_END_ELLIPSIS);
}

bool CComboUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kComboAttributes, name))
        return entry->apply(*this, value);
    bool ok = true;
    if (ApplyListInfoAttribute(m_info, name, value, ok)) return ok;
    return CContainerUI::SetAttribute(name, value);
}

CControlUI* CComboUI::FindControl(FindControlProc proc, void* data, uint32_t flags) {
    // Pointer hits stop at the combo: its items are not on the window.
    if ((flags & UIFIND_HITTEST) != 0) return CControlUI::FindControl(proc, data, flags);
    return CContainerUI::FindControl(proc, data, flags);
}

}  // namespace toolkit
