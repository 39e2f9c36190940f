#include "toolkit/controls/list_owner.h"

#include "toolkit/container_ui.h"
#include "toolkit/control_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

struct ListInfoField {
    const char* name;
    bool (*apply)(TListInfoUI& info, const std::string& value);
};

template <uint32_t TListInfoUI::*Field>
bool InfoColor(TListInfoUI& info, const std::string& v) {
    return ParseColor(v, info.*Field);
}

template <std::string TListInfoUI::*Field>
bool InfoText(TListInfoUI& info, const std::string& v) {
    info.*Field = v;
    return true;
}

constexpr ListInfoField kListInfoFields[] = {
    {"itemfont", [](TListInfoUI& i, const std::string& v) { return ParseInt(v, i.nFont); }},
    {"itemtextpadding",
     [](TListInfoUI& i, const std::string& v) { return ParseRect(v, i.rcTextPadding); }},
    {"itemalign",
     [](TListInfoUI& i, const std::string& v) {
         uint32_t h = EqualsNoCase(v, "center")  ? DT_CENTER
                      : EqualsNoCase(v, "right") ? DT_RIGHT
                      : EqualsNoCase(v, "left")  ? DT_LEFT
                                                 : 0xFFFF;
         if (h == 0xFFFF) return false;
         i.uTextStyle = (i.uTextStyle & ~(DT_CENTER | DT_RIGHT)) | h;
         return true;
     }},
    {"itemtextcolor", InfoColor<&TListInfoUI::dwTextColor>},
    {"itembkcolor", InfoColor<&TListInfoUI::dwBkColor>},
    {"itembkimage", InfoText<&TListInfoUI::sBkImage>},
    {"itemselectedtextcolor", InfoColor<&TListInfoUI::dwSelectedTextColor>},
    {"itemselectedbkcolor", InfoColor<&TListInfoUI::dwSelectedBkColor>},
    {"itemselectedimage", InfoText<&TListInfoUI::sSelectedImage>},
    {"itemhottextcolor", InfoColor<&TListInfoUI::dwHotTextColor>},
    {"itemhotbkcolor", InfoColor<&TListInfoUI::dwHotBkColor>},
    {"itemhotimage", InfoText<&TListInfoUI::sHotImage>},
    {"itemdisabledtextcolor", InfoColor<&TListInfoUI::dwDisabledTextColor>},
    {"itemdisabledbkcolor", InfoColor<&TListInfoUI::dwDisabledBkColor>},
    {"itemlinecolor", InfoColor<&TListInfoUI::dwLineColor>},
};

}  // namespace

bool ApplyListInfoAttribute(TListInfoUI& info, const std::string& name, const std::string& value,
                            bool& ok) {
    for (const auto& field : kListInfoFields) {
        if (EqualsNoCase(field.name, name)) {
            ok = field.apply(info, value);
            return true;
        }
    }
    return false;
}

IListItemUI* AsListItem(CControlUI* control) {
    return dynamic_cast<IListItemUI*>(control);
}

void AdoptListItems(CContainerUI& container, IListOwnerUI* owner) {
    for (int i = 0; i < container.GetCount(); ++i) {
        if (IListItemUI* item = AsListItem(container.GetItemAt(i))) {
            item->ItemState().owner = owner;
            item->ItemState().index = i;
        }
    }
}

bool IsSelectableItem(const CContainerUI& container, int index) {
    CControlUI* c = container.GetItemAt(index);
    return c != nullptr && AsListItem(c) != nullptr && c->IsOwnVisible() && c->IsEnabled();
}

int FindSelectableItem(const CContainerUI& container, int index, int step) {
    for (int i = index; i >= 0 && i < container.GetCount(); i += step) {
        if (IsSelectableItem(container, i)) return i;
    }
    return -1;
}

void MoveItemSelection(CContainerUI& container, int old, int index) {
    for (int i : {old, index}) {
        CControlUI* c = container.GetItemAt(i);
        if (IListItemUI* item = AsListItem(c)) {
            item->ItemState().selected = i == index;
            c->Invalidate();
        }
    }
}

int ItemForCursorKey(const CContainerUI& container, int current, uint32_t vk) {
    constexpr uint32_t kPrior = 0x21;
    constexpr uint32_t kNext = 0x22;
    constexpr uint32_t kEnd = 0x23;
    constexpr uint32_t kHome = 0x24;
    switch (vk) {
        case VK_UP:
            return FindSelectableItem(container, current < 0 ? 0 : current - 1, -1);
        case VK_DOWN:
            return FindSelectableItem(container, current + 1, 1);
        case kHome:
        case kPrior:
            return FindSelectableItem(container, 0, 1);
        case kEnd:
        case kNext:
            return FindSelectableItem(container, container.GetCount() - 1, -1);
        default:
            return -2;
    }
}

bool ListItemState::Select(CControlUI& item, bool select, bool sendNotify) {
    if (owner == nullptr) {
        selected = select;
        item.Invalidate();
        return true;
    }
    if (!select) {
        if (owner->GetCurSel() != index) return true;
        return owner->SelectItem(-1, false, sendNotify);
    }
    return owner->SelectItem(index, false, sendNotify);
}

bool ListItemState::Activate(CControlUI& item) {
    if (!item.IsVisible() || !item.IsEnabled()) return false;
    if (item.GetManager() != nullptr)
        item.GetManager()->SendNotify(&item, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
}

bool ListItemState::HandleEvent(CControlUI& item, TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_RBUTTONDOWN:
            if (item.IsEnabled() && owner != nullptr) {
                owner->SelectItem(index, true);
                item.Invalidate();
            }
            return true;
        case UIEVENT_BUTTONUP:
            if (item.IsEnabled() && item.GetManager() != nullptr)
                item.GetManager()->SendNotify(&item, DUI_MSGTYPE_ITEMCLICK);
            return true;
        case UIEVENT_DBLCLICK:
            if (item.IsEnabled()) Activate(item);
            return true;
        case UIEVENT_MOUSEENTER:
            if (item.IsEnabled() && !hot) {
                hot = true;
                item.Invalidate();
            }
            return true;
        case UIEVENT_MOUSELEAVE:
            // Leaving a child of the item for the item itself keeps it hot.
            if (hot && !item.GetPos().Contains(event.ptMouse)) {
                hot = false;
                item.Invalidate();
            }
            return true;
        case UIEVENT_KEYDOWN:
            if (event.chKey == VK_RETURN && item.IsEnabled()) {
                Activate(item);
                return true;
            }
            if (owner != nullptr) {
                owner->DoEvent(event);
                return true;
            }
            return false;
        case UIEVENT_SCROLLWHEEL:
            if (owner != nullptr) {
                owner->DoEvent(event);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void ListItemState::PaintBackground(CControlUI& item, cairo_t* cr) {
    if (owner == nullptr) return;
    TListInfoUI* info = owner->GetListInfo();
    CPaintManagerUI* pm = item.GetManager();
    uint32_t color = info->dwBkColor;
    const std::string* image = &info->sBkImage;
    if (!item.IsEnabled()) {
        color = info->dwDisabledBkColor;
    } else if (selected) {
        color = info->dwSelectedBkColor;
        image = &info->sSelectedImage;
    } else if (hot) {
        color = info->dwHotBkColor;
        image = &info->sHotImage;
    }
    if (color != 0) CRenderEngine::DrawColor(cr, item.GetPos(), pm->GetAdjustColor(color));
    if (!image->empty()) item.DrawImage(cr, *image);
    if (info->dwLineColor != 0) {
        UiRect rc = item.GetPos();
        CRenderEngine::DrawLine(cr, UiPoint{rc.left, rc.bottom - 1},
                                UiPoint{rc.right, rc.bottom - 1}, 1,
                                pm->GetAdjustColor(info->dwLineColor));
    }
}

uint32_t ListItemState::TextColor(const CControlUI& item) const {
    if (owner == nullptr) return 0xFF000000;
    const TListInfoUI* info = owner->GetListInfo();
    if (!item.IsEnabled()) return info->dwDisabledTextColor;
    if (selected) return info->dwSelectedTextColor;
    if (hot) return info->dwHotTextColor;
    return info->dwTextColor;
}

}  // namespace toolkit
