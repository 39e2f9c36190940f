#include "toolkit/controls/option_ui.h"

#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"
#include "toolkit/ui_parse.h"

namespace toolkit {

namespace {

constexpr AttributeEntry<COptionUI> kOptionAttributes[] = {
    {"group", AttrText<COptionUI, &COptionUI::SetGroup>},
    {"selected",
     [](COptionUI& c, const std::string& v) {
         bool on = false;
         if (!ParseBool(v, on)) return false;
         c.Selected(on, false);
         return true;
     }},
    {"selectedimage", AttrText<COptionUI, &COptionUI::SetSelectedImage>},
    {"selectedhotimage", AttrText<COptionUI, &COptionUI::SetSelectedHotImage>},
    {"selectedpushedimage", AttrText<COptionUI, &COptionUI::SetSelectedPushedImage>},
    {"selectedtextcolor", AttrColor<COptionUI, &COptionUI::SetSelectedTextColor>},
    {"selectedbkcolor", AttrColor<COptionUI, &COptionUI::SetSelectedBkColor>},
};

}  // namespace

COptionUI::~COptionUI() {
    if (!m_sGroupName.empty() && m_pManager != nullptr) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
}

std::string_view COptionUI::GetClass() const {
    return "Option";
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    if (m_pManager != nullptr && m_pManager != manager && !m_sGroupName.empty()) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
    CButtonUI::SetManager(manager, parent, init);
    if (init && m_pManager != nullptr && !m_sGroupName.empty()) {
        m_pManager->AddOptionGroup(m_sGroupName, this);
    }
    // A skin may mark several options of a group selected; the last one wins, silently.
    if (init && m_bSelected) Selected(true, false);
}

void COptionUI::SetGroup(const std::string& group) {
    if (group == m_sGroupName) return;
    if (!m_sGroupName.empty() && m_pManager != nullptr) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
    m_sGroupName = group;
    if (!m_sGroupName.empty() && m_pManager != nullptr && m_pParent != nullptr) {
        m_pManager->AddOptionGroup(m_sGroupName, this);
    }
    Selected(m_bSelected, false);
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
    bool changed = m_bSelected != selected;
    m_bSelected = selected;
    if (m_bSelected)
        m_uButtonState |= UISTATE_SELECTED;
    else
        m_uButtonState &= ~UISTATE_SELECTED;
    if (m_pManager != nullptr && m_bSelected && !m_sGroupName.empty()) {
        if (const auto* group = m_pManager->GetOptionGroup(m_sGroupName)) {
            // Copy: unselecting others may send notifications whose handlers change the group.
            std::vector<CControlUI*> members = *group;
            for (CControlUI* c : members) {
                auto* other = dynamic_cast<COptionUI*>(c);
                if (other != nullptr && other != this && other->IsSelected()) {
                    other->Selected(false, triggerEvent);
                }
            }
        }
    }
    if (changed) {
        if (triggerEvent && m_pManager != nullptr) {
            m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED,
                                   static_cast<WPARAM>(m_bSelected), 0);
        }
        Invalidate();
    }
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;  // "click" first, then the selection
    if (!m_sGroupName.empty())
        Selected(true);
    else
        Selected(!m_bSelected);
    return true;
}

void COptionUI::SetEnabled(bool enabled) {
    CButtonUI::SetEnabled(enabled);
    if (!IsEnabled() && m_bSelected) m_uButtonState = UISTATE_SELECTED;
}

void COptionUI::PaintStatusImage(cairo_t* cr) {
    if (m_bSelected) {
        const std::string* image = &m_sSelectedImage;
        if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sSelectedPushedImage.empty()) {
            image = &m_sSelectedPushedImage;
        } else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sSelectedHotImage.empty()) {
            image = &m_sSelectedHotImage;
        }
        if (!image->empty()) {
            DrawImage(cr, *image);
            return;
        }
    }
    CButtonUI::PaintStatusImage(cr);
}

void COptionUI::PaintBkColor(cairo_t* cr) {
    if (m_bSelected && m_dwSelectedBkColor != 0) {
        CRenderEngine::DrawColor(cr, m_rcPaint, m_pManager->GetAdjustColor(m_dwSelectedBkColor));
        return;
    }
    CButtonUI::PaintBkColor(cr);
}

uint32_t COptionUI::GetStateTextColor() const {
    if (m_bSelected && IsEnabled() && m_dwSelectedTextColor != 0) return m_dwSelectedTextColor;
    return CButtonUI::GetStateTextColor();
}

bool COptionUI::SetAttribute(const std::string& name, const std::string& value) {
    if (const auto* entry = FindAttribute(kOptionAttributes, name))
        return entry->apply(*this, value);
    return CButtonUI::SetAttribute(name, value);
}

std::string_view CCheckBoxUI::GetClass() const {
    return "CheckBox";
}

}  // namespace toolkit
