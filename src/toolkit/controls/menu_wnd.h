#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls/popup_owner_filter.h"
#include "toolkit/window_impl_base.h"

namespace toolkit {

class CMenuElementUI;

// The message a menu sends its owner window when an entry is chosen. wParam is a MenuCmd* made
// with new; the receiver owns it from then on (MenuCmd::Take).
inline constexpr uint32_t WM_MENUCLICK = 1145;

// Which corner of the menu sits on the anchor point: left and top (the default) open the menu to
// the right and downwards from the point, right and bottom to the left and upwards.
inline constexpr uint32_t eMenuAlignment_Left = 2;
inline constexpr uint32_t eMenuAlignment_Top = 4;
inline constexpr uint32_t eMenuAlignment_Right = 8;
inline constexpr uint32_t eMenuAlignment_Bottom = 16;

// The record of a chosen menu entry.
struct MenuCmd {
    std::string szName;
    std::string szUserData;
    std::string szText;
    bool bChecked = false;

    // Takes the record out of a WM_MENUCLICK message.
    static std::unique_ptr<MenuCmd> Take(WPARAM wParam) {
        return std::unique_ptr<MenuCmd>(reinterpret_cast<MenuCmd*>(wParam));
    }
};

// A popup menu built from a skin file ("menu.xml": a Menu root holding MenuElement entries).
// It opens at an anchor point in screen coordinates with the corner the alignment flags name,
// moved inside the screen when it would leave it. A release on an entry posts WM_MENUCLICK with
// the entry's name to the owner window and closes the menu; a press in the owner window, Escape
// or the loss of the focus closes it without a choice. The menu deletes itself when closed.
// An entry with nested entries opens them as a submenu beside it (click, rest of the pointer or
// the Right key; Left or Escape closes it again); a choice there closes the whole chain.
class CMenuWnd : public WindowImplBase {
  public:
    // Opens a menu; nullptr when the skin cannot be built (the reason goes to the debug output).
    // checks: entry names whose check state is set before the menu shows.
    static CMenuWnd* CreateMenu(CMenuElementUI* owner, const std::string& xml, UiPoint point,
                                CPaintManagerUI* mainPaintManager,
                                std::map<std::string, bool>* checks = nullptr,
                                uint32_t alignment = eMenuAlignment_Left | eMenuAlignment_Top);

    std::string GetSkinFile() override { return m_sXml; }
    std::string GetWindowClassName() const override { return "MenuWnd"; }
    CControlUI* CreateControl(const std::string& className) override;
    void Notify(TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // The submenu open beside this menu, or nullptr.
    CMenuWnd* GetSubMenu() const;

    // The place the menu took for an anchor, a size and the alignment flags within the screen.
    static UiRect PlaceMenu(UiPoint point, UiSize size, uint32_t alignment, const UiRect& screen);

  protected:
    LRESULT OnDestroy(uint32_t msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnFinalMessage(HWND hwnd) override;

  private:
    CMenuWnd() = default;
    bool Open(CMenuElementUI* owner, const std::string& xml, UiPoint point,
              CPaintManagerUI* mainPaintManager, std::map<std::string, bool>* checks,
              uint32_t alignment);
    static UiSize MenuSize(CPaintManagerUI& pm);
    void InitWindow() override;
    void CloseMenu();
    void CloseChain();
    bool SubMenuOpen() const;
    void OpenSubMenu(CMenuElementUI* item);
    // Turns a built skin into the submenu at m_path: its root keeps the nested entries only.
    bool KeepSubMenu(CControlUI* root);

    std::string m_sXml;
    CPaintManagerUI* m_pMainPaintManager = nullptr;
    std::unique_ptr<CPopupOwnerFilter> m_ownerFilter;
    bool m_closing = false;
    bool m_openingSub = false;
    // A submenu: where its entry sits in the skin (child indices from the root), the skin
    // indices of the entries it shows, and the menu it came from.
    std::vector<int> m_path;
    std::vector<int> m_subIndices;
    HWND m_hParentMenu = 0;
    HWND m_hSubMenu = 0;
    CMenuElementUI* m_pSubOwner = nullptr;
    std::map<std::string, bool> m_checks;
};

}  // namespace toolkit
