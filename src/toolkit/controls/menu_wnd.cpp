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

void CMenuWnd::CloseMenu() {
    if (m_closing) return;
    m_closing = true;
    m_ownerFilter.reset();
    Close(0);
}

void CMenuWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_ITEMCLICK && !m_closing) {
        if (auto* item = dynamic_cast<CMenuElementUI*>(msg.pSender)) {
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
            CloseMenu();
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

LRESULT CMenuWnd::HandleCustomMessage(uint32_t msg, WPARAM wParam, LPARAM, bool& handled) {
    handled = false;
    switch (msg) {
        case os::WM_KEYDOWN: {
            handled = true;
            auto* menu = dynamic_cast<CMenuUI*>(m_pm.GetRoot());
            if (wParam == VK_ESCAPE) {
                CloseMenu();
            } else if (menu != nullptr && wParam == VK_RETURN) {
                // Enter chooses the entry the cursor keys went to.
                if (CControlUI* item = menu->GetItemAt(menu->GetCurSel()))
                    m_pm.SendNotify(item, DUI_MSGTYPE_ITEMCLICK);
            } else if (menu != nullptr) {
                int target =
                    ItemForCursorKey(*menu, menu->GetCurSel(), static_cast<uint32_t>(wParam));
                if (target >= 0) menu->SelectItem(target, false, false);
            }
            return 0;
        }
        case os::WM_ACTIVATE:
            if (wParam == 0) CloseMenu();
            return 0;
        case os::WM_KILLFOCUS:
            CloseMenu();
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
