#include "toolkit/controls/horizontal_layout_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<CHorizontalLayoutUI> kAttributes[] = {
    {"sepwidth",
     [](CHorizontalLayoutUI& c, const std::string& v) {
         int n = 0;
         if (!ParseInt(v, n)) return false;
         c.SetSepSize(n);
         return true;
     }},
    {"sepimm",
     [](CHorizontalLayoutUI& c, const std::string& v) {
         bool on = false;
         if (!ParseBool(v, on)) return false;
         c.SetSepImmMode(on);
         return true;
     }},
};

}  // namespace

std::string_view CHorizontalLayoutUI::GetClass() const {
    return "HorizontalLayout";
}

void CHorizontalLayoutUI::SetPos(UiRect rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    UiRect inner = m_rcItem;
    inner.Deflate(GetInset());
    ArrangeLinear(m_items, inner, GetChildPadding(), false);
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[static_cast<size_t>(i)]->IsFloat()) SetFloatPos(i);
    }
}

UiRect CHorizontalLayoutUI::GetThumbRect() const {
    return m_separator.StripRect(m_rcItem, GetSepSize(), false);
}

void CHorizontalLayoutUI::DoEvent(TEventUI& event) {
    if (IsEnabled()) {
        int extent = 0;
        bool resized = false;
        if (m_separator.HandleEvent(event, m_rcItem, GetSepSize(), false, extent, resized)) {
            if (resized && m_pManager != nullptr) {
                SetFixedWidth(extent * 96 / m_pManager->GetDPI());
            }
            return;
        }
    }
    CContainerUI::DoEvent(event);
}

bool CHorizontalLayoutUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kAttributes, name)) return entry->apply(*this, value);
    return CContainerUI::SetAttribute(name, value);
}

}  // namespace toolkit
