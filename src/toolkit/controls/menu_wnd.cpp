#include "toolkit/controls/menu_wnd.h"

#include <algorithm>

#include "os/debug_output.h"
#include "toolkit/controls/menu_element_ui.h"
#include "toolkit/controls/menu_ui.h"
#include "toolkit/dialog_builder.h"

namespace toolkit {

CMenuWnd* CMenuWnd::CreateMenu(CMenuElementUI* owner, const std::string& xml, UiPoint point,
                               CPaintManagerUI* mainPaintManager,
                               std::map<std::string, bool>* checks, uint32_t alignment) {
    auto* menu = new CMenuWnd;
    if (!menu->Open(owner, xml, point, mainPaintManager, checks, alignment)) return nullptr;
    return menu;
}

UiRect CMenuWnd::PlaceMenu(UiPoint point, UiSize size, uint32_t alignment, const UiRect& screen) {
    int left = (alignment & eMenuAlignment_Right) != 0 ? point.x - size.cx : point.x;
    int top = (alignment & eMenuAlignment_Bottom) != 0 ? point.y - size.cy : point.y;
    if (!screen.IsEmpty()) {
        left = std::clamp(left, screen.left, std::max(screen.left, screen.right - size.cx));
        top = std::clamp(top, screen.top, std::max(screen.top, screen.bottom - size.cy));
    }
    return UiRect{left, top, left + size.cx, top + size.cy};
}

bool CMenuWnd::Open(CMenuElementUI*, const std::string& xml, UiPoint point,
                    CPaintManagerUI* mainPaintManager, std::map<std::string, bool>* checks,
                    uint32_t alignment) {
    m_sXml = xml;
    m_pMainPaintManager = mainPaintManager;
    HWND owner = mainPaintManager != nullptr ? mainPaintManager->GetPaintWindow() : 0;
    int dpi = mainPaintManager != nullptr ? mainPaintManager->GetDPI() : 96;
    // The menu's size comes from its skin, and the window is created in its final place: the
    // display may map a window where it was created rather than where it was moved to.
    UiSize size{1, 1};
    {
        CPaintManagerUI measure;
        measure.SetDPI(dpi);
        CDialogBuilder builder;
        CControlUI* root = builder.Create(xml, "", this, &measure);
        if (root == nullptr) {
            os::DebugOutput("toolkit: menu " + xml + " not opened: " + builder.GetLastError() +
                            "\n");
            delete this;
            return false;
        }
        if (!m_path.empty() && !KeepSubMenu(root)) {
            delete root;
            os::DebugOutput("toolkit: submenu of " + xml + " not found\n");
            delete this;
            return false;
        }
        measure.AttachDialog(root);
        size = MenuSize(measure);
    }
    UiRect screen = mainPaintManager != nullptr && mainPaintManager->GetBackend() != nullptr
                        ? mainPaintManager->GetBackend()->GetScreenRect()
                        : UiRect{};
    UiRect rc = PlaceMenu(point, size, alignment, screen);
    if (Create(owner, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, rc.left, rc.top,
               rc.GetWidth(), rc.GetHeight()) == 0) {
        os::DebugOutput("toolkit: menu " + xml + " not opened: " + GetBuildError() + "\n");
        delete this;
        return false;
    }
    if (dpi != m_pm.GetDPI()) {
        m_pm.SetDPI(dpi);
        GetBackend()->Move(rc);
    }
    MoveWindow(rc);  // the skin's own size may have been applied on creation
    if (checks != nullptr) {
        m_checks = *checks;
        for (const auto& [name, on] : *checks) {
            if (auto* e = dynamic_cast<CMenuElementUI*>(m_pm.FindControl(name))) e->SetChecked(on);
        }
    }
    ShowWindow(true);
    m_ownerFilter = std::make_unique<CPopupOwnerFilter>(mainPaintManager, [this] { CloseMenu(); });
    return true;
}

UiSize CMenuWnd::MenuSize(CPaintManagerUI& pm) {
    UiSize init = pm.GetInitSize();
    CControlUI* root = pm.GetRoot();
    int cx = root != nullptr && root->GetFixedWidth() > 0 ? root->GetFixedWidth() : init.cx;
    if (cx <= 0) cx = pm.ScaleDpi(150);
    int cy = root != nullptr ? root->GetFixedHeight() : 0;
    if (auto* menu = dynamic_cast<CContainerUI*>(root); menu != nullptr && cy <= 0) {
        // As tall as the visible entries.
        UiRect inset = menu->GetInset();
        cy = inset.top + inset.bottom;
        for (int i = 0; i < menu->GetCount(); ++i) {
            CControlUI* c = menu->GetItemAt(i);
            if (!c->IsOwnVisible()) continue;
            int h = c->GetFixedHeight();
            if (h == 0) h = c->EstimateSize(UiSize{cx, 0}).cy;
            UiRect pad = c->GetPadding();
            cy += h + pad.top + pad.bottom;
        }
        if (menu->GetCount() > 1) cy += (menu->GetCount() - 1) * menu->GetChildPadding();
    }
    if (cy <= 0) cy = init.cy > 0 ? init.cy : pm.ScaleDpi(25);
    return UiSize{cx, cy};
}

CControlUI* CMenuWnd::CreateControl(const std::string& className) {
    if (EqualsNoCase(className, "Menu")) return new CMenuUI;
    if (EqualsNoCase(className, "MenuElement")) return new CMenuElementUI;
    return nullptr;
}

void CMenuWnd::InitWindow() {
    if (!m_path.empty()) KeepSubMenu(m_pm.GetRoot());
}

bool CMenuWnd::KeepSubMenu(CControlUI* root) {
    auto* menu = dynamic_cast<CContainerUI*>(root);
    CControlUI* at = root;
    for (int index : m_path) {
        auto* c = dynamic_cast<CContainerUI*>(at);
        at = c != nullptr ? c->GetItemAt(index) : nullptr;
        if (at == nullptr) return false;
    }
    auto* owner = dynamic_cast<CMenuElementUI*>(at);
    if (menu == nullptr || owner == nullptr) return false;
    std::vector<CControlUI*> entries;
    m_subIndices.clear();
    for (int i = 0; i < owner->GetCount(); ++i) {
        if (dynamic_cast<CMenuElementUI*>(owner->GetItemAt(i)) == nullptr) continue;
        entries.push_back(owner->GetItemAt(i));
        m_subIndices.push_back(i);
    }
    for (CControlUI* e : entries) owner->Remove(e, true);
    menu->RemoveAll();
    for (CControlUI* e : entries) {
        menu->Add(e);
        e->SetInternVisible(true);
    }
    return true;
}

CMenuWnd* CMenuWnd::GetSubMenu() const {
    return SubMenuOpen() ? dynamic_cast<CMenuWnd*>(FromHandle(m_hSubMenu)) : nullptr;
}

bool CMenuWnd::SubMenuOpen() const {
    return m_openingSub || (m_hSubMenu != 0 && os::IsTarget(m_hSubMenu));
}

void CMenuWnd::OpenSubMenu(CMenuElementUI* item) {
    if (SubMenuOpen()) {
        if (m_pSubOwner == item) return;
        if (auto* sub = dynamic_cast<CMenuWnd*>(FromHandle(m_hSubMenu))) sub->CloseMenu();
    }
    m_hSubMenu = 0;
    m_pSubOwner = nullptr;
    // The entry's place in the skin: a submenu's own entries sit at the skin indices it kept.
    std::vector<int> path;
    for (CControlUI* c = item; c != nullptr && c->GetParent() != nullptr; c = c->GetParent()) {
        auto* parent = dynamic_cast<CContainerUI*>(c->GetParent());
        if (parent == nullptr) return;
        path.insert(path.begin(), parent->GetItemIndex(c));
    }
    if (path.empty()) return;
    if (!m_path.empty()) {
        if (path[0] < 0 || path[0] >= static_cast<int>(m_subIndices.size())) return;
        path[0] = m_subIndices[static_cast<size_t>(path[0])];
        path.insert(path.begin(), m_path.begin(), m_path.end());
    }
    const UiRect wr = GetWindowRect(), ir = item->GetPos();
    auto* sub = new CMenuWnd;
    sub->m_path = std::move(path);
    sub->m_hParentMenu = m_hWnd;
    m_pSubOwner = item;
    // Set while it opens: the focus it takes must not close this menu.
    m_openingSub = true;
    const bool opened =
        sub->Open(item, m_sXml, UiPoint{wr.left + ir.right, wr.top + ir.top}, m_pMainPaintManager,
                  &m_checks, eMenuAlignment_Left | eMenuAlignment_Top);
    m_openingSub = false;
    if (!opened) {
        m_pSubOwner = nullptr;
        return;
    }
    m_hSubMenu = sub->GetHWND();
}

void CMenuWnd::CloseMenu() {
    if (m_closing) return;
    m_closing = true;
    if (SubMenuOpen()) {
        if (auto* sub = dynamic_cast<CMenuWnd*>(FromHandle(m_hSubMenu))) sub->CloseMenu();
    }
    m_ownerFilter.reset();
    Close(0);
}

void CMenuWnd::CloseChain() {
    HWND parent = m_hParentMenu;
    CloseMenu();
    while (auto* p = dynamic_cast<CMenuWnd*>(FromHandle(parent))) {
        parent = p->m_hParentMenu;
        p->CloseMenu();
    }
}

void CMenuWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_ITEMCLICK && !m_closing) {
        if (auto* item = dynamic_cast<CMenuElementUI*>(msg.pSender)) {
            if (item->HasSubMenu()) {
                OpenSubMenu(item);
                return;
            }
            HWND owner = m_pMainPaintManager != nullptr ? m_pMainPaintManager->GetPaintWindow() : 0;
            if (owner != 0) {
                auto cmd = std::make_unique<MenuCmd>();
                cmd->szName = item->GetName();
                cmd->szUserData = item->GetUserData();
                cmd->szText = item->GetText();
                cmd->bChecked = item->GetChecked();
                if (os::PostMessage(owner, WM_MENUCLICK, reinterpret_cast<WPARAM>(cmd.get()), 0))
                    cmd.release();
            }
            CloseChain();
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

LRESULT CMenuWnd::HandleCustomMessage(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    switch (msg) {
        case os::WM_KEYDOWN: {
            handled = true;
            auto* menu = dynamic_cast<CMenuUI*>(m_pm.GetRoot());
            CControlUI* cur = menu != nullptr ? menu->GetItemAt(menu->GetCurSel()) : nullptr;
            if (wParam == VK_ESCAPE || (wParam == VK_LEFT && m_hParentMenu != 0)) {
                CloseMenu();
            } else if (wParam == VK_RIGHT) {
                if (auto* e = dynamic_cast<CMenuElementUI*>(cur); e != nullptr && e->HasSubMenu())
                    OpenSubMenu(e);
            } else if (menu != nullptr && wParam == VK_RETURN) {
                // Enter chooses the entry the cursor keys went to.
                if (cur != nullptr) m_pm.SendNotify(cur, DUI_MSGTYPE_ITEMCLICK);
            } else if (menu != nullptr) {
                int target =
                    ItemForCursorKey(*menu, menu->GetCurSel(), static_cast<uint32_t>(wParam));
                if (target >= 0) menu->SelectItem(target, false, false);
            }
            return 0;
        }
        case os::WM_MOUSEHOVER:
            // The pointer resting on an entry with a submenu opens it.
            for (CControlUI* c = m_pm.FindControl(PointFromLParam(lParam)); c != nullptr;
                 c = c->GetParent()) {
                if (auto* e = dynamic_cast<CMenuElementUI*>(c)) {
                    if (e->HasSubMenu() && e->IsEnabled()) OpenSubMenu(e);
                    break;
                }
            }
            return 0;
        case os::WM_ACTIVATE:
        case os::WM_KILLFOCUS:
            // The focus going to this menu's submenu keeps it open; elsewhere closes the chain.
            if (msg == os::WM_ACTIVATE && wParam != 0) return 0;
            if (!SubMenuOpen()) CloseChain();
            return 0;
        default:
            return 0;
    }
}

LRESULT CMenuWnd::OnDestroy(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    m_ownerFilter.reset();
    return WindowImplBase::OnDestroy(msg, wParam, lParam, handled);
}

void CMenuWnd::OnFinalMessage(HWND) {
    delete this;
}

}  // namespace toolkit
