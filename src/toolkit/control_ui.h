#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/ui_types.h"

namespace toolkit {

class CPaintManagerUI;
class CControlUI;

// One entry of a control class's attribute table. The setter returns false for a value it cannot
// read, so that the skin builder can name the bad attribute.
template <class Control>
struct AttributeEntry {
    const char* name;
    bool (*apply)(Control& control, const std::string& value);
};

// Looks name up in a class's table (names compared without regard to case). Returns nullptr when
// the class does not know the attribute.
template <class Control, size_t N>
const AttributeEntry<Control>* FindAttribute(const AttributeEntry<Control> (&table)[N],
                                             std::string_view name) {
    for (const auto& entry : table) {
        if (EqualsNoCase(entry.name, name)) return &entry;
    }
    return nullptr;
}

// Flags for FindControl walks.
inline constexpr uint32_t UIFIND_ALL = 0x00000000;
inline constexpr uint32_t UIFIND_VISIBLE = 0x00000001;
inline constexpr uint32_t UIFIND_ENABLED = 0x00000002;
inline constexpr uint32_t UIFIND_HITTEST = 0x00000004;
inline constexpr uint32_t UIFIND_UPDATETEST = 0x00000008;
inline constexpr uint32_t UIFIND_TOP_FIRST = 0x00000010;
inline constexpr uint32_t UIFIND_ME_FIRST = 0x80000000;

using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

// The base of every control: geometry, the common attributes, the paint stages and the default
// event handling. Values from the skin are kept unscaled; the getters scale them by the paint
// manager's DPI.
class CControlUI {
  public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual std::string_view GetClass() const;

    // Identity and texts.
    const std::string& GetName() const { return m_sName; }
    virtual void SetName(const std::string& name);
    // The text as shown: with resource text on, the text is a language text id and this resolves
    // it.
    virtual std::string GetText() const;
    const std::string& GetRawText() const { return m_sText; }
    virtual void SetText(const std::string& text);
    std::string GetToolTip() const;
    void SetToolTip(const std::string& text);
    const std::string& GetUserData() const { return m_sUserData; }
    void SetUserData(const std::string& data) { m_sUserData = data; }
    uintptr_t GetTag() const { return m_pTag; }
    void SetTag(uintptr_t tag) { m_pTag = tag; }
    bool IsResourceText() const { return m_bResourceText; }
    void SetResourceText(bool on);
    const std::string& GetVirtualWnd() const;
    void SetVirtualWnd(const std::string& name) { m_sVirtualWnd = name; }
    const std::string& GetCursor() const { return m_sCursor; }
    void SetCursor(const std::string& cursor) { m_sCursor = cursor; }
    bool IsContextMenuUsed() const { return m_bMenuUsed; }
    void SetContextMenuUsed(bool on) { m_bMenuUsed = on; }

    // Tree.
    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }
    // Attaches the control (and a container's children) to a window. With init the control's
    // name is registered for FindControl and DoInit runs.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
    virtual void DoInit() {}
    void Init();

    // Geometry.
    const UiRect& GetPos() const { return m_rcItem; }
    virtual void SetPos(UiRect rc, bool needInvalidate = true);
    virtual UiSize EstimateSize(UiSize available);
    int GetWidth() const { return m_rcItem.GetWidth(); }
    int GetHeight() const { return m_rcItem.GetHeight(); }
    UiRect GetPadding() const;  // scaled
    void SetPadding(UiRect rc);
    UiSize GetFixedXY() const;  // float position, scaled
    void SetFixedXY(UiSize xy);
    int GetFixedWidth() const;
    void SetFixedWidth(int cx);
    int GetFixedHeight() const;
    void SetFixedHeight(int cy);
    int GetMinWidth() const;
    void SetMinWidth(int cx);
    int GetMaxWidth() const;
    void SetMaxWidth(int cx);
    int GetMinHeight() const;
    void SetMinHeight(int cy);
    int GetMaxHeight() const;
    void SetMaxHeight(int cy);
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool on);

    // State.
    virtual bool IsVisible() const { return m_bVisible && m_bInternVisible; }
    bool IsOwnVisible() const { return m_bVisible; }
    virtual void SetVisible(bool visible = true);
    // Visibility set by a parent (a tab layout hiding its pages); the control's own flag stays.
    virtual void SetInternVisible(bool visible = true);
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    void SetMouseEnabled(bool on) { m_bMouseEnabled = on; }
    bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
    void SetKeyboardEnabled(bool on) { m_bKeyboardEnabled = on; }
    bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();
    virtual bool Activate();  // what a click does; false when disabled or hidden

    // Look.
    uint32_t GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(uint32_t argb);
    const std::string& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(const std::string& image);
    uint32_t GetForeColor() const { return m_dwForeColor; }
    void SetForeColor(uint32_t argb);
    const std::string& GetForeImage() const { return m_sForeImage; }
    void SetForeImage(const std::string& image);
    uint32_t GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(uint32_t argb);
    uint32_t GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(uint32_t argb);
    int GetBorderSize() const;
    void SetBorderSize(int size);
    UiSize GetBorderRound() const;
    void SetBorderRound(UiSize round);
    uint32_t GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(uint32_t argb);
    uint32_t GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(uint32_t argb);
    int GetFont() const { return m_iFont; }
    void SetFont(int id);
    uint32_t GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(uint32_t style);
    UiRect GetTextPadding() const;  // scaled
    void SetTextPadding(UiRect rc);

    // Attributes from the skin. Returns false for a value the control cannot read; an unknown
    // attribute name is logged and ignored so that newer skins still load.
    virtual bool SetAttribute(const std::string& name, const std::string& value);
    bool ApplyAttributeList(const std::string& list);

    // Painting, in stages so that derived controls replace single stages. DoPaint returns false
    // to stop painting at this control.
    virtual bool DoPaint(cairo_t* cr, const UiRect& rcPaint, CControlUI* stopControl = nullptr);
    virtual void PaintBkColor(cairo_t* cr);
    virtual void PaintBkImage(cairo_t* cr);
    virtual void PaintStatusImage(cairo_t* cr);
    virtual void PaintForeColor(cairo_t* cr);
    virtual void PaintForeImage(cairo_t* cr);
    virtual void PaintText(cairo_t* cr);
    virtual void PaintBorder(cairo_t* cr);
    // Draws an image string over this control (dest offsets from its top-left corner).
    bool DrawImage(cairo_t* cr, const std::string& image, uint32_t overlayColor = 0,
                   int overlayLevel = 255, bool overlay = false);

    // Events: Event runs the pre-filters and then DoEvent. The base DoEvent handles focus, timers
    // and context menus and hands everything else to the parent.
    void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    // Invalidation and layout requests.
    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();

    // Per-control timers: UIEVENT_TIMER with wParam = id reaches DoEvent every periodMs.
    bool SetTimer(uint32_t id, uint32_t periodMs);
    void KillTimer(uint32_t id);

    virtual CControlUI* FindControl(FindControlProc proc, void* data, uint32_t flags);

    // Scales a skin value by the window's DPI (no manager: unscaled).
    int Scale(int value) const;

  protected:
    static bool IsPointIn(const UiRect& rc, UiPoint pt) { return rc.Contains(pt); }
    // The hot state of pointer-driven controls: set on enter, cleared on leave, while enabled.
    void TrackHot(const TEventUI& event, uint32_t& state);

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    std::string m_sName;
    std::string m_sText;
    std::string m_sToolTip;
    std::string m_sUserData;
    std::string m_sVirtualWnd;
    std::string m_sCursor;
    uintptr_t m_pTag = 0;
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bUpdateNeeded = true;
    bool m_bResourceText = false;
    bool m_bMenuUsed = false;

    UiRect m_rcItem;
    UiRect m_rcPaint;
    UiRect m_rcPadding;
    UiSize m_cXY;
    UiSize m_cxyFixed;
    UiSize m_cxyMin;
    UiSize m_cxyMax{9999, 9999};

    uint32_t m_dwBackColor = 0;
    uint32_t m_dwForeColor = 0;
    uint32_t m_dwBorderColor = 0;
    uint32_t m_dwFocusBorderColor = 0;
    int m_nBorderSize = 0;
    UiSize m_cxyBorderRound;
    std::string m_sBkImage;
    std::string m_sForeImage;

    uint32_t m_dwTextColor = 0;
    uint32_t m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    uint32_t m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    UiRect m_rcTextPadding;
};

}  // namespace toolkit
