#pragma once

#include <string>

#include "toolkit/container_ui.h"
#include "toolkit/controls/list_owner.h"

namespace toolkit {

class CComboWnd;

inline constexpr const char* DUI_MSGTYPE_DROPDOWN = "dropdown";

// A drop-down: shows the selected item's text and, when pressed, opens its items (list label,
// text or container elements) in a popup below itself (above when there is no room). Choosing an
// item sends "itemselect" (wParam the new index, lParam the old one); Up and Down step through
// the visible items. Hidden and disabled items are neither shown nor chosen. Items carry their
// own user data (CControlUI::SetUserData). Selecting from code can skip the notification.
class CComboUI : public CContainerUI, public IListOwnerUI {
  public:
    CComboUI();
    ~CComboUI() override;
    std::string_view GetClass() const override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control, bool doNotDestroy = false) override;
    bool RemoveAt(int index, bool doNotDestroy = false) override;
    void RemoveAll() override;

    TListInfoUI* GetListInfo() override { return &m_info; }
    int GetCurSel() const override { return m_iCurSel; }
    // -1 clears the selection. False for an index that is not a visible, enabled item.
    bool SelectItem(int index, bool takeFocus = false, bool sendNotify = true) override;
    // The selected item's text (empty without a selection).
    std::string GetText() const override;

    // Opens the drop-down; true when it is open.
    bool Activate() override;
    void CloseDropDown();
    CComboWnd* GetDropWindow() const { return m_pWindow; }
    const std::string& GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
    void SetDropBoxAttributeList(const std::string& list) { m_sDropBoxAttributes = list; }
    UiSize GetDropBoxSize() const { return m_szDropBox; }  // cx 0: the combo's width
    void SetDropBoxSize(UiSize sz) { m_szDropBox = sz; }

    void SetPos(UiRect rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    bool DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl = nullptr) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintText(cairo_t* cr) override;
    bool SetAttribute(const std::string& name, const std::string& value) override;
    CControlUI* FindControl(FindControlProc proc, void* data, uint32_t flags) override;

    void SetNormalImage(const std::string& s) { m_sNormalImage = s; }
    void SetHotImage(const std::string& s) { m_sHotImage = s; }
    void SetPushedImage(const std::string& s) { m_sPushedImage = s; }
    void SetFocusedImage(const std::string& s) { m_sFocusedImage = s; }
    void SetDisabledImage(const std::string& s) { m_sDisabledImage = s; }
    bool IsHot() const { return (m_uButtonState & UISTATE_HOT) != 0; }

  private:
    friend class CComboWnd;

    TListInfoUI m_info;
    int m_iCurSel = -1;
    CComboWnd* m_pWindow = nullptr;
    std::string m_sDropBoxAttributes;
    UiSize m_szDropBox{0, 150};
    uint32_t m_uButtonState = 0;
    std::string m_sNormalImage;
    std::string m_sHotImage;
    std::string m_sPushedImage;
    std::string m_sFocusedImage;
    std::string m_sDisabledImage;
};

}  // namespace toolkit
