#include "toolkit/controls/linear_layout.h"

#include <algorithm>

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

    // Pass 1: measure.
    int adjustables = 0;
    int taken = 0;
    int counted = 0;
    for (CControlUI* c : items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        UiSize sz = c->EstimateSize(available);
        UiRect pad = c->GetPadding();
        int main = ax.Main(sz);
        if (main == 0) {
            ++adjustables;
            taken += ax.MinMain(c);
        } else {
            taken += Clamp(main, ax.MinMain(c), ax.MaxMain(c));
        }
        taken += ax.Lead(pad) + ax.Trail(pad);
        ++counted;
    }
    if (counted > 1) taken += (counted - 1) * childPadding;

    // Pass 2: arrange.
    int spare = std::max(0, availMain - taken);
    int share = adjustables > 0 ? spare / adjustables : 0;
    int remainder = adjustables > 0 ? spare - share * adjustables : 0;
    int pos = ax.Lead(inner);
    int seenAdjustables = 0;
    for (CControlUI* c : items) {
        if (!c->IsVisible() || c->IsFloat()) continue;
        UiSize sz = c->EstimateSize(available);
        UiRect pad = c->GetPadding();
        int main = ax.Main(sz);
        if (main == 0) {
            ++seenAdjustables;
            main = ax.MinMain(c) + share + (seenAdjustables == adjustables ? remainder : 0);
        }
        main = Clamp(main, ax.MinMain(c), ax.MaxMain(c));
        int crossSpace =
            ax.CrossTrail(inner) - ax.CrossLead(inner) - ax.CrossLead(pad) - ax.CrossTrail(pad);
        int cross = ax.Cross(sz);
        if (cross == 0) cross = crossSpace;
        cross = Clamp(cross, ax.MinCross(c), ax.MaxCross(c));
        int lead = pos + ax.Lead(pad);
        int crossLead = ax.CrossLead(inner) + ax.CrossLead(pad);
        UiRect rc = vertical ? UiRect{crossLead, lead, crossLead + cross, lead + main}
                             : UiRect{lead, crossLead, lead + main, crossLead + cross};
        c->SetPos(rc, false);
        pos = lead + main + ax.Trail(pad) + childPadding;
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

}  // namespace toolkit
