#include "toolkit/controls/linear_layout.h"

#include <algorithm>

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

struct Axis {
    bool vertical;
    int Main(UiSize s) const { return vertical ? s.cy : s.cx; }
    int Cross(UiSize s) const { return vertical ? s.cx : s.cy; }
    int MinMain(const CControlUI* c) const {
        return vertical ? c->GetMinHeight() : c->GetMinWidth();
    }
    int MaxMain(const CControlUI* c) const {
        return vertical ? c->GetMaxHeight() : c->GetMaxWidth();
    }
    int MinCross(const CControlUI* c) const {
        return vertical ? c->GetMinWidth() : c->GetMinHeight();
    }
    int MaxCross(const CControlUI* c) const {
        return vertical ? c->GetMaxWidth() : c->GetMaxHeight();
    }
    int Lead(const UiRect& r) const { return vertical ? r.top : r.left; }
    int Trail(const UiRect& r) const { return vertical ? r.bottom : r.right; }
    int CrossLead(const UiRect& r) const { return vertical ? r.left : r.top; }
    int CrossTrail(const UiRect& r) const { return vertical ? r.right : r.bottom; }
};

int Clamp(int v, int lo, int hi) {
    return std::max(lo, std::min(v, std::max(lo, hi)));
}

}  // namespace

void ArrangeLinear(std::vector<CControlUI*>& items, const UiRect& inner, int childPadding,
                   bool vertical) {
    Axis ax{vertical};
    UiSize available{inner.GetWidth(), inner.GetHeight()};
    int availMain = ax.Main(available);

    // Pass 1: measure. Fixed extents are clamped to min/max at once; adjustable children are
    // resolved in rounds: one whose even share would break its min or max is fixed at that
    // bound, and the rest share what is left again.
    struct Slot {
        CControlUI* c;
        UiSize est;
        UiRect pad;
        int main;
        bool adjustable;
        bool resolved;
    };
    std::vector<Slot> slots;
    slots.reserve(items.size());
    int taken = 0;
    for (CControlUI* c : items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        UiSize sz = c->EstimateSize(available);
        UiRect pad = c->GetPadding();
        int main = ax.Main(sz);
        bool adjustable = main == 0;
        if (!adjustable) main = Clamp(main, ax.MinMain(c), ax.MaxMain(c));
        taken += ax.Lead(pad) + ax.Trail(pad) + (adjustable ? 0 : main);
        slots.push_back({c, sz, pad, main, adjustable, !adjustable});
    }
    if (slots.size() > 1) taken += static_cast<int>(slots.size() - 1) * childPadding;
    int share = 0;
    int remainder = 0;
    for (bool changed = true; changed;) {
        changed = false;
        int left = availMain - taken;
        int open = 0;
        for (const Slot& s : slots) {
            if (s.adjustable && s.resolved) left -= s.main;
            if (s.adjustable && !s.resolved) ++open;
        }
        if (open == 0) break;
        left = std::max(0, left);
        share = left / open;
        remainder = left - share * open;
        for (Slot& s : slots) {
            if (!s.adjustable || s.resolved) continue;
            int clamped = Clamp(share, ax.MinMain(s.c), ax.MaxMain(s.c));
            if (clamped != share) {
                s.main = clamped;
                s.resolved = true;
                changed = true;
            }
        }
    }
    Slot* lastOpen = nullptr;
    for (Slot& s : slots) {
        if (s.adjustable && !s.resolved) lastOpen = &s;
    }
    for (Slot& s : slots) {
        if (s.adjustable && !s.resolved) s.main = share + (&s == lastOpen ? remainder : 0);
    }

    // Pass 2: arrange, one after another; the cross axis is filled unless fixed.
    int pos = ax.Lead(inner);
    for (const Slot& s : slots) {
        int crossSpace =
            ax.CrossTrail(inner) - ax.CrossLead(inner) - ax.CrossLead(s.pad) - ax.CrossTrail(s.pad);
        int cross = ax.Cross(s.est);
        if (cross == 0) cross = crossSpace;
        cross = Clamp(cross, ax.MinCross(s.c), ax.MaxCross(s.c));
        int lead = pos + ax.Lead(s.pad);
        int crossLead = ax.CrossLead(inner) + ax.CrossLead(s.pad);
        UiRect rc = vertical ? UiRect{crossLead, lead, crossLead + cross, lead + s.main}
                             : UiRect{lead, crossLead, lead + s.main, crossLead + cross};
        s.c->SetPos(rc, false);
        pos = lead + s.main + ax.Trail(s.pad) + childPadding;
    }
}

UiRect LayoutSeparator::StripRect(const UiRect& item, int scaledSize, bool vertical) const {
    UiRect rc = item;
    if (vertical) {
        if (scaledSize >= 0)
            rc.bottom = rc.top + scaledSize;
        else
            rc.top = rc.bottom + scaledSize;
    } else {
        if (scaledSize >= 0)
            rc.right = rc.left + scaledSize;
        else
            rc.left = rc.right + scaledSize;
    }
    return rc;
}

bool LayoutSeparator::HandleEvent(const TEventUI& event, const UiRect& item, int scaledSize,
                                  bool vertical, int& newExtent, bool& resized) {
    resized = false;
    if (size == 0) return false;
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (!StripRect(item, scaledSize, vertical).Contains(event.ptMouse)) return false;
            captured = true;
            lastMouse = event.ptMouse;
            newPos = item;
            return true;
        case UIEVENT_MOUSEMOVE: {
            if (!captured) return false;
            int delta = vertical ? event.ptMouse.y - lastMouse.y : event.ptMouse.x - lastMouse.x;
            lastMouse = event.ptMouse;
            // A leading separator grows the layout when dragged towards the leading edge.
            if (vertical) {
                if (scaledSize >= 0)
                    newPos.top += delta;
                else
                    newPos.bottom += delta;
            } else {
                if (scaledSize >= 0)
                    newPos.left += delta;
                else
                    newPos.right += delta;
            }
            if (immediate) {
                newExtent = vertical ? newPos.GetHeight() : newPos.GetWidth();
                resized = true;
            }
            return true;
        }
        case UIEVENT_BUTTONUP:
            if (!captured) return false;
            captured = false;
            if (!immediate) {
                newExtent = vertical ? newPos.GetHeight() : newPos.GetWidth();
                resized = true;
            }
            return true;
        default:
            return false;
    }
}

template <bool Vertical>
void CLinearLayoutUI<Vertical>::SetPos(UiRect rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    ArrangeLinear(m_items, inner, GetChildPadding(), Vertical);
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[static_cast<size_t>(i)]->IsFloat()) SetFloatPos(i);
    }
}

template <bool Vertical>
void CLinearLayoutUI<Vertical>::DoEvent(TEventUI& event) {
    if (IsEnabled()) {
        int extent = 0;
        bool resized = false;
        if (m_separator.HandleEvent(event, m_rcItem, GetSepSize(), Vertical, extent, resized)) {
            if (resized && m_pManager != nullptr) {
                int unscaled = extent * 96 / m_pManager->GetDPI();
                if (Vertical)
                    SetFixedHeight(unscaled);
                else
                    SetFixedWidth(unscaled);
            }
            return;
        }
    }
    CContainerUI::DoEvent(event);
}

template <bool Vertical>
bool CLinearLayoutUI<Vertical>::SetAttribute(const std::string& name, const std::string& value) {
    if (EqualsNoCase(name, Vertical ? "sepheight" : "sepwidth")) {
        int n = 0;
        if (!ParseInt(value, n)) return false;
        SetSepSize(n);
        return true;
    }
    if (EqualsNoCase(name, "sepimm")) {
        bool on = false;
        if (!ParseBool(value, on)) return false;
        SetSepImmMode(on);
        return true;
    }
    return CContainerUI::SetAttribute(name, value);
}

template class CLinearLayoutUI<true>;
template class CLinearLayoutUI<false>;

}  // namespace toolkit
