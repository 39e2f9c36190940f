#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "toolkit/ui_types.h"

namespace toolkit {

class CControlUI;

inline constexpr const char* DUI_MSGTYPE_ITEMSELECT = "itemselect";
inline constexpr const char* DUI_MSGTYPE_ITEMCLICK = "itemclick";
inline constexpr const char* DUI_MSGTYPE_ITEMACTIVATE = "itemactivate";

// How the items of a list or a drop-down look; the owner's "item..." attributes fill it.
struct TListInfoUI {
    int nFont = -1;
    uint32_t uTextStyle = DT_VCENTER | DT_SINGLELINE;
    UiRect rcTextPadding;
    uint32_t dwTextColor = 0xFF000000;
    uint32_t dwBkColor = 0;
    std::string sBkImage;
    uint32_t dwSelectedTextColor = 0xFF000000;
    uint32_t dwSelectedBkColor = 0xFFC1E3FF;
    std::string sSelectedImage;
    uint32_t dwHotTextColor = 0xFF000000;
    uint32_t dwHotBkColor = 0xFFE9F5FF;
    std::string sHotImage;
    uint32_t dwDisabledTextColor = 0xFFCCCCCC;
    uint32_t dwDisabledBkColor = 0;
    uint32_t dwLineColor = 0;
};

// Reads one "item..." attribute of a list owner into info. False when name is not one of them;
// ok is false when the value does not read.
bool ApplyListInfoAttribute(TListInfoUI& info, const std::string& name, const std::string& value,
                            bool& ok);

// What a list item needs from the list or drop-down that holds it.
class IListOwnerUI {
  public:
    virtual ~IListOwnerUI() = default;
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, bool takeFocus = false, bool sendNotify = true) = 0;
    // Keys and wheel turns the item does not use itself.
    virtual void DoEvent(TEventUI& event) = 0;
};

// The state and the pointer behaviour every list item shares, whatever control it is: a press
// selects it through the owner, a release sends "itemclick", a double click (or Enter) activates
// it ("itemactivate"), a context-menu request sends "menu" when the item uses context menus, and
// the pointer over it makes it hot.
struct ListItemState {
    IListOwnerUI* owner = nullptr;
    int index = -1;
    bool selected = false;
    bool hot = false;

    // True when the event was the item's; the rest goes to the control's normal handling.
    bool HandleEvent(CControlUI& item, TEventUI& event);
    // Background and text colours for the state (the owner's item settings).
    void PaintBackground(CControlUI& item, cairo_t* cr);
    uint32_t TextColor(const CControlUI& item) const;
    // Selects or unselects the item through its owner (notifying unless told not to).
    bool Select(CControlUI& item, bool select, bool sendNotify);
    // The "itemactivate" notification, when the item is enabled and visible.
    bool Activate(CControlUI& item);
};

// Implemented by every control that can be an item of a list or a drop-down.
class IListItemUI {
  public:
    virtual ~IListItemUI() = default;
    virtual ListItemState& ItemState() = 0;

    IListOwnerUI* GetOwner() { return ItemState().owner; }
    int GetIndex() { return ItemState().index; }
    bool IsSelected() { return ItemState().selected; }
    bool IsHot() { return ItemState().hot; }
};

// The item interface of a control, or nullptr when it is not a list item.
IListItemUI* AsListItem(CControlUI* control);

class CContainerUI;

// Helpers for the owners (lists and drop-downs), whose children are the items.
// Inserts through the owner's base class Base and keeps the selected index on its item.
template <class Base>
bool InsertListItem(Base& owner, IListOwnerUI* listOwner, int& curSel, CControlUI* control,
                    int index);
// Removes through Base; the selection is cleared when its item goes.
template <class Base>
bool RemoveListItem(Base& owner, IListOwnerUI* listOwner, int& curSel, int index,
                    bool doNotDestroy);
// Gives every item its owner and its index.
void AdoptListItems(CContainerUI& container, IListOwnerUI* owner);
// Whether the child at index is an item that can be chosen (visible and enabled).
bool IsSelectableItem(const CContainerUI& container, int index);
// The first selectable item from index on in direction step (+1 or -1), or -1.
int FindSelectableItem(const CContainerUI& container, int index, int step);
// Moves the selected flag from item old to item index (either may be -1).
void MoveItemSelection(CContainerUI& container, int old, int index);
// The item the cursor key vk moves to from current: -2 when vk is not a cursor key, -1 when
// there is nothing to move to.
int ItemForCursorKey(const CContainerUI& container, int current, uint32_t vk);

template <class Base>
bool InsertListItem(Base& owner, IListOwnerUI* listOwner, int& curSel, CControlUI* control,
                    int index) {
    if (!owner.Base::AddAt(control, index)) return false;
    if (curSel >= index) ++curSel;
    AdoptListItems(owner, listOwner);
    return true;
}

template <class Base>
bool RemoveListItem(Base& owner, IListOwnerUI* listOwner, int& curSel, int index,
                    bool doNotDestroy) {
    IListItemUI* item = AsListItem(owner.GetItemAt(index));
    if (owner.GetItemAt(index) == nullptr) return false;
    if (item != nullptr) {
        item->ItemState().owner = nullptr;
        item->ItemState().selected = false;
    }
    if (!owner.Base::RemoveAt(index, doNotDestroy)) return false;
    if (curSel == index)
        curSel = -1;
    else if (curSel > index)
        --curSel;
    AdoptListItems(owner, listOwner);
    return true;
}

}  // namespace toolkit
