#include "toolkit/controls/rich_edit_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<CRichEditUI> kRichEditAttributes[] = {
    {"wantreturn", AttrBool<CRichEditUI, &CRichEditUI::SetWantReturn>},
    {"multiline",
     [](CRichEditUI&, const std::string& v) {
         bool on = false;
         return ParseBool(v, on);  // always multi-line; accepted for skins that say so
     }},
};

}  // namespace

CRichEditUI::CRichEditUI() {
    m_bMultiLine = true;
    m_uTextStyle = DT_WORDBREAK;
    m_nMaxChar = 30000;
}

std::string_view CRichEditUI::GetClass() const {
    return "RichEdit";
}

bool CRichEditUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kRichEditAttributes, name))
        return entry->apply(*this, value);
    return CEditUI::SetAttribute(name, value);
}

void CRichEditUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_KEYDOWN && event.chKey == VK_RETURN && !m_bWantReturn) {
        if (m_pManager != nullptr) m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
        return;
    }
    CEditUI::DoEvent(event);
}

}  // namespace toolkit
