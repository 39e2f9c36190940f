#include "toolkit/controls/combo_wnd.h"

#include <algorithm>

#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/scroll_layout_ui.h"

namespace toolkit {

CComboWnd::CComboWnd(CComboUI* owner) : m_pOwner(owner) {}

CComboWnd::~CComboWnd() = default;

UiRect CComboWnd::PlaceBelowOwner() {
    CPaintManagerUI* pm = m_pOwner->GetManager();
    UiRect win = pm->GetBackend() != nullptr ? pm->GetBackend()->GetWindowRect() : UiRect{};
    UiRect screen = pm->GetBackend() != nullptr ? pm->GetBackend()->GetScreenRect() : UiRect{};
    UiRect combo = m_pOwner->GetPos();
    combo.Offset(win.left, win.top);
    UiSize box = m_pOwner->GetDropBoxSize();
    int cx = box.cx > 0 ? m_pOwner->Scale(box.cx) : combo.GetWidth();
    // As tall as the visible items, up to the drop box height.
    int content = 2;
    for (int i = 0; i < m_pOwner->GetCount(); ++i) {
        CControlUI* c = m_pOwner->GetItemAt(i);
        if (!c->IsOwnVisible()) continue;
        int h = c->GetFixedHeight();
        if (h == 0) h = c->EstimateSize(UiSize{cx, 0}).cy;
        content += h;
    }
    int cy = std::clamp(content, m_pOwner->Scale(10), m_pOwner->Scale(box.cy));
    UiRect rc{combo.left, combo.bottom, combo.left + cx, combo.bottom + cy};
    if (!screen.IsEmpty() && rc.bottom > screen.bottom && combo.top - cy >= screen.top) {
        rc = UiRect{combo.left, combo.top - cy, combo.left + cx, combo.top};
    }
    return rc;
}

bool CComboWnd::Open() {
    UiRect rc = PlaceBelowOwner();
    HWND owner = m_pOwner->GetManager()->GetPaintWindow();
    if (Create(owner, "", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, rc.left, rc.top,
               rc.GetWidth(), rc.GetHeight()) == 0) {
        delete this;
        return false;
    }
    m_ownerFilter = std::make_unique<CPopupOwnerFilter>(m_pOwner->GetManager(), [this] {
        if (!m_closing) {
            m_closing = true;
            Close(0);
        }
    });
    EnsureSelectionVisible();
    return true;
}

void CComboWnd::EnsureSelectionVisible() {
    if (m_pLayout == nullptr) return;
    CControlUI* item = m_pOwner->GetItemAt(m_pOwner->GetCurSel());
    if (item == nullptr) return;
    if (m_pm.IsUpdateNeeded()) m_pm.Paint();
    m_pLayout->EnsureVisible(item);
}

void CComboWnd::GiveItemsBack() {
    if (m_pLayout == nullptr) return;
    while (m_pLayout->GetCount() > 0) {
        CControlUI* item = m_pLayout->GetItemAt(0);
        m_pLayout->RemoveAt(0, true);
        item->SetManager(m_pOwner->GetManager(), m_pOwner, false);
        if (IListItemUI* li = AsListItem(item)) li->ItemState().hot = false;
    }
}

LRESULT CComboWnd::HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case os::WM_CREATE: {
            m_pm.Init(m_hWnd, GetBackend(), "ComboWnd");
            m_pLayout = new CScrollLayoutUI;
            m_pLayout->SetAutoDestroy(false);
            m_pLayout->EnableScrollBar(true);
            m_pLayout->SetBkColor(0xFFFFFFFF);
            m_pLayout->SetBorderColor(0xFF969696);
            m_pLayout->SetBorderSize(1);
            m_pLayout->SetInset(UiRect{1, 1, 1, 1});
            m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
            if (m_pOwner->GetManager()->GetDPI() != m_pm.GetDPI()) {
                // The place was worked out at the owner's scale already.
                UiRect placed = GetBackend()->GetWindowRect();
                m_pm.SetDPI(m_pOwner->GetManager()->GetDPI());
                GetBackend()->Move(placed);
            }
            m_pm.AttachDialog(m_pLayout);
            for (int i = 0; i < m_pOwner->GetCount(); ++i) m_pLayout->Add(m_pOwner->GetItemAt(i));
            return 0;
        }
        case os::WM_DESTROY:
            m_ownerFilter.reset();
            GiveItemsBack();
            return 0;
        case os::WM_KEYDOWN:
            if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
                Close(0);
                return 0;
            } else {
                TEventUI event;
                event.Type = UIEVENT_KEYDOWN;
                event.pSender = m_pOwner;
                event.chKey = static_cast<uint32_t>(wParam);
                m_pOwner->DoEvent(event);
                return 0;
            }
        case os::WM_LBUTTONUP: {
            LRESULT result = 0;
            CControlUI* hit = m_pm.FindControl(PointFromLParam(lParam));
            m_pm.MessageHandler(msg, wParam, lParam, result);
            // A release on an item (or inside one) chooses it and closes the list.
            for (CControlUI* c = hit; c != nullptr; c = c->GetParent()) {
                if (AsListItem(c) != nullptr) {
                    Close(0);
                    break;
                }
            }
            return 0;
        }
        case os::WM_ACTIVATE:
            if (wParam == 0) Close(0);
            return 0;
        case os::WM_KILLFOCUS:
            Close(0);
            return 0;
        default:
            break;
    }
    LRESULT result = 0;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND) {
    if (m_pOwner->m_pWindow == this) m_pOwner->m_pWindow = nullptr;
    m_pOwner->Invalidate();
    delete this;
}

}  // namespace toolkit
