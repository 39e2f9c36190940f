#include "net/update_info_list_item_ui.h"

#include <array>
#include <vector>

#include "os/debug_output.h"
#include "toolkit/container_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/render_engine.h"

namespace net {

namespace {

struct StateLook {
    const char* textId;
    bool progress;
    bool ok;
    bool checkEnabled;
    bool uncheck;
    uint32_t textColor;
    uint32_t disabledTextColor;
};

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGrey = 0xFF666666;
constexpr uint32_t kBlue = 0xFF0099FF;
constexpr uint32_t kDarkBlue = 0xFF0078C8;

constexpr std::array<StateLook, 9> kStates = {{
    {"LessUpdateText", false, false, false, true, kWhite, kGrey},
    {"NeedUpdateText", false, false, true, false, kBlue, kDarkBlue},
    {"NeedUpdateText", false, false, true, false, kBlue, kDarkBlue},
    {"DownloadWaitText", false, false, false, false, kBlue, kDarkBlue},
    {"DownloadIngText", true, false, false, false, kBlue, kDarkBlue},
    {"DownloadOkText", false, true, false, false, kBlue, kDarkBlue},
    {"UpdateIngText", true, false, false, true, kBlue, kDarkBlue},
    {"UpdateOkText", false, false, false, false, kWhite, kGrey},
    {"UpdateFailText", false, false, true, false, kBlue, kDarkBlue},
}};

}  // namespace

CUpdateInfoListItemUI* CUpdateInfoListItemUI::Create(toolkit::CPaintManagerUI* pm) {
    auto* item = new CUpdateInfoListItemUI;
    toolkit::CDialogBuilder builder;
    if (builder.Create(kSkin, "", nullptr, pm, item) == nullptr) {
        os::DebugOutput("update list item not built: " + builder.GetLastError() + "\n");
        delete item;
        return nullptr;
    }
    item->SetFixedHeight(kHeight);
    item->m_check = dynamic_cast<toolkit::COptionUI*>(item->Child("check_name_select"));
    if (item->m_check == nullptr) {
        os::DebugOutput("update list item: the skin has no option 'check_name_select'\n");
        delete item;
        return nullptr;
    }
    item->SetState(kLess);
    return item;
}

std::string_view CUpdateInfoListItemUI::GetClass() const {
    return "UpdateInfoListItem";
}

toolkit::CControlUI* CUpdateInfoListItemUI::Child(const char* name) const {
    // Searched in the item's own tree: the item may not belong to a window yet.
    std::vector<const toolkit::CContainerUI*> open = {this};
    while (!open.empty()) {
        const toolkit::CContainerUI* c = open.back();
        open.pop_back();
        for (int i = 0; i < c->GetCount(); ++i) {
            toolkit::CControlUI* child = c->GetItemAt(i);
            if (toolkit::EqualsNoCase(child->GetName(), name)) return child;
            if (auto* inner = dynamic_cast<const toolkit::CContainerUI*>(child))
                open.push_back(inner);
        }
    }
    return nullptr;
}

void CUpdateInfoListItemUI::PaintBkColor(cairo_t* cr) {
    toolkit::CListContainerElementUI::PaintBkColor(cr);
    // A hot item the user has not chosen shows where a click would go.
    if (!m_item.hot || IsChecked() || m_item.owner == nullptr) return;
    const toolkit::TListInfoUI* info = m_item.owner->GetListInfo();
    const uint32_t colour = info->dwLineColor != 0 ? info->dwLineColor : info->dwHotTextColor;
    toolkit::CRenderEngine::DrawRect(cr, GetPos(), 1, colour);
}

void CUpdateInfoListItemUI::SetState(int state) {
    if (state < 0 || state >= static_cast<int>(kStates.size()) || state == m_state) return;
    m_state = state;
    const StateLook& look = kStates[static_cast<size_t>(state)];
    if (toolkit::CControlUI* text = Child("update_status_text")) {
        text->SetResourceText(true);
        text->SetText(look.textId);
    }
    if (toolkit::CControlUI* c = Child("update_status_ing")) c->SetVisible(look.progress);
    if (toolkit::CControlUI* c = Child("update_progress_value")) c->SetVisible(look.progress);
    if (toolkit::CControlUI* c = Child("update_status_ok")) c->SetVisible(look.ok);
    if (m_check != nullptr) {
        m_check->SetTextColor(look.textColor);
        m_check->SetSelectedTextColor(look.textColor);
        m_check->SetDisabledTextColor(look.disabledTextColor);
        if (look.uncheck) m_check->Selected(false, false);
        m_check->SetEnabled(look.checkEnabled);
    }
    Invalidate();
}

void CUpdateInfoListItemUI::SetLabel(const std::string& label) {
    if (m_check != nullptr) m_check->SetText(label);
}

std::string CUpdateInfoListItemUI::GetLabel() const {
    return m_check != nullptr ? m_check->GetText() : std::string();
}

void CUpdateInfoListItemUI::SetOldVersion(const std::string& text) {
    if (toolkit::CControlUI* c = Child("OldRev")) c->SetText(text);
}

void CUpdateInfoListItemUI::SetNewVersion(const std::string& text) {
    if (toolkit::CControlUI* c = Child("updateRev")) {
        c->SetText(text);
        c->SetVisible(!text.empty());
    }
}

std::string CUpdateInfoListItemUI::GetNewVersion() const {
    toolkit::CControlUI* c = Child("updateRev");
    return c != nullptr ? c->GetText() : std::string();
}

void CUpdateInfoListItemUI::SetProgress(int percent) {
    if (toolkit::CControlUI* c = Child("update_progress_value"))
        c->SetText(std::to_string(percent) + "%");
}

bool CUpdateInfoListItemUI::IsChecked() const {
    return m_check != nullptr && m_check->IsSelected();
}

void CUpdateInfoListItemUI::SetChecked(bool checked) {
    if (m_check != nullptr) m_check->Selected(checked, false);
}

bool CUpdateInfoListItemUI::IsCheckEnabled() const {
    return m_check != nullptr && m_check->IsEnabled();
}

void CUpdateInfoListItemUI::EnableCheck(bool enable) {
    if (m_check != nullptr) m_check->SetEnabled(enable);
}

}  // namespace net
