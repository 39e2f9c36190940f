#include "ui/panels/profile/device_profile_ui.h"

#include <array>

#include "device/quendal_usb_device.h"
#include "os/debug_output.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/list_label_element_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "ui/panels/panel_dialogs.h"

namespace ui {

namespace {

constexpr std::string_view kCombo = "device_profile_combo";
constexpr std::string_view kNameEdit = "device_profile_name_edit";
constexpr std::string_view kMenu = "profile_menu_layout";
// The name field and its button give way to the menu while it is shown.
constexpr std::string_view kNameRow = "device_profile_name_layout";

// Function tabs by number (1..9).
constexpr std::array<std::string_view, 9> kTabs = {
    "deng_Op_tab",       "key_Op_tab",   "macro_Op_tab",      "system_Op_tab",  "cursor_Op_tab",
    "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab", "otherset_Op_tab"};

// Which tabs a device kind hides and shows; the others keep what the page gives them.
struct TabRule {
    int kind;
    std::array<std::string_view, 4> hide;
    std::array<std::string_view, 3> show;
};
constexpr TabRule kTabRules[] = {
    {1, {"cursor_Op_tab", "otherset_Op_tab"}, {}},
    {2, {}, {"deng_Op_tab"}},
    {3, {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"}, {}},
    {4, {"cursor_Op_tab", "macro_Op_tab", "key_Op_tab"}, {}},
    {5, {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"}, {}},
    {7,
     {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"},
     {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"}},
};

constexpr int kKeyboardKind = 1;
constexpr int kMouseKind = 2;

void Log(const std::string& text) {
    os::DebugOutput("profile panel: " + text + "\n");
}

// A language text used as a format for one number: its first "%d" becomes the number. The text
// comes from a language file, so it is never handed to a printf-style formatter.
std::string FormatWithNumber(const std::string& format, int number) {
    const std::size_t at = format.find("%d");
    if (at == std::string::npos) return format;
    return format.substr(0, at) + std::to_string(number) + format.substr(at + 2);
}

}  // namespace

void CDeviceProfileUI::DoInit() {
    for (toolkit::CControlUI* p = GetParent(); p != nullptr && model_ == nullptr;
         p = p->GetParent())
        model_ = dynamic_cast<device::CQuendalUSBDevice*>(p);
    ShowMenu(false);
}

bool CDeviceProfileUI::DoPaint(cairo_t* cr, const toolkit::UiRect& rcPaint,
                               toolkit::CControlUI* stopControl) {
    if (!list_.IsLoaded() && model_ != nullptr && !model_->GetDataFolderName().empty())
        EnsureList();
    return CVerticalLayoutUI::DoPaint(cr, rcPaint, stopControl);
}

// ---- What the model sets ----

void CDeviceProfileUI::SetDeviceKind(int kind) {
    kind_ = kind;
    list_.SetDeviceKind(kind);
}

void CDeviceProfileUI::SetFolders(const std::string& userDataFolder,
                                  const std::string& defaultTemplatePath) {
    list_.SetFolders(userDataFolder, defaultTemplatePath);
    foldersSet_ = !userDataFolder.empty();
}

void CDeviceProfileUI::InitProfileList() {
    if (!list_.Init()) {
        Log("no user data folder: the profiles cannot be listed");
        return;
    }
    FillCombo();
    SelectProfile(list_.SelectedIndex(), false);
    ShowTabsOfKind();
}

std::string CDeviceProfileUI::GetCurrentProfileId() {
    EnsureList();
    return list_.CurrentProfileId();
}

bool CDeviceProfileUI::EnsureList() {
    if (list_.IsLoaded()) return true;
    if (model_ == nullptr) {
        Log("no device model around the panel");
        return false;
    }
    if (kind_ == 0) SetDeviceKind(model_->GetDeviceKind());
    if (!foldersSet_) SetFolders(model_->UserDataFolder(), model_->DefaultTemplatePath());
    InitProfileList();
    return list_.IsLoaded();
}

// ---- Drop-down and name field ----

toolkit::CControlUI* CDeviceProfileUI::Find(std::string_view name) const {
    toolkit::CPaintManagerUI* pm = GetManager();
    return pm ? pm->FindSubControlByName(const_cast<CDeviceProfileUI*>(this), std::string(name))
              : nullptr;
}

toolkit::CControlUI* CDeviceProfileUI::FindOnPage(std::string_view name) const {
    toolkit::CPaintManagerUI* pm = GetManager();
    if (pm == nullptr) return nullptr;
    // Every page of the window has its own tabs of the same names: only the panel's page counts.
    toolkit::CControlUI* page = model_;
    if (page == nullptr) page = GetParent();
    return page ? pm->FindSubControlByName(page, std::string(name)) : nullptr;
}

toolkit::CComboUI* CDeviceProfileUI::Combo() const {
    return dynamic_cast<toolkit::CComboUI*>(Find(kCombo));
}

void CDeviceProfileUI::FillCombo() {
    toolkit::CComboUI* combo = Combo();
    if (combo == nullptr) {
        Log("the skin has no " + std::string(kCombo));
        return;
    }
    combo->RemoveAll();
    for (const std::string& name : list_.Names()) {
        auto* item = new toolkit::CListLabelElementUI;
        item->SetFixedHeight(kItemHeight);
        item->SetText(name);
        item->SetUserData(name);
        item->SetToolTip(name);
        combo->Add(item);
    }
}

void CDeviceProfileUI::SelectProfile(int index, bool notify) {
    toolkit::CComboUI* combo = Combo();
    if (combo != nullptr) combo->SelectItem(index, false, notify);
    if (index < 0 || index >= list_.Count()) return;
    SetNameEditText(list_.Names()[index]);
    if (!list_.Select(index))
        Log("the choice of profile " + std::to_string(index) + " is not stored");
}

int CDeviceProfileUI::GetSelectedIndex() const {
    const toolkit::CComboUI* combo = Combo();
    return combo ? combo->GetCurSel() : -1;
}

std::string CDeviceProfileUI::GetNameEditText() const {
    const toolkit::CControlUI* edit = Find(kNameEdit);
    return edit ? edit->GetText() : std::string();
}

void CDeviceProfileUI::SetNameEditText(const std::string& text) {
    if (toolkit::CControlUI* edit = Find(kNameEdit)) edit->SetText(text);
}

int CDeviceProfileUI::CountProfiles() const {
    return list_.Count();
}

std::string CDeviceProfileUI::ProfilePathAt(int index) const {
    return list_.ProfilePathAt(index);
}

bool CDeviceProfileUI::IsMenuShown() const {
    const toolkit::CControlUI* menu = Find(kMenu);
    return menu != nullptr && menu->IsVisible();
}

void CDeviceProfileUI::ShowMenu(bool shown) {
    if (toolkit::CControlUI* menu = Find(kMenu)) menu->SetVisible(shown);
    if (toolkit::CControlUI* row = Find(kNameRow)) row->SetVisible(!shown);
}

// ---- Function tabs ----

void CDeviceProfileUI::ShowTabsOfKind() {
    for (const TabRule& rule : kTabRules) {
        if (rule.kind != kind_) continue;
        for (std::string_view name : rule.hide)
            if (toolkit::CControlUI* tab = name.empty() ? nullptr : FindOnPage(name))
                tab->SetVisible(false);
        for (std::string_view name : rule.show)
            if (toolkit::CControlUI* tab = name.empty() ? nullptr : FindOnPage(name))
                tab->SetVisible(true);
    }
}

void CDeviceProfileUI::SelectFunctionTab(int tab) {
    for (std::size_t i = 0; i < kTabs.size(); ++i) {
        // A page carries only the tabs of its device.
        if (auto* option = dynamic_cast<toolkit::COptionUI*>(FindOnPage(kTabs[i])))
            option->Selected(static_cast<int>(i) + 1 == tab, false);
    }
}

// ---- Messages ----

bool CDeviceProfileUI::Ask(const std::string& textId) {
    toolkit::CPaintManagerUI* pm = GetManager();
    return PanelDialogs().Ask(pm ? pm->GetPaintWindow() : 0, pm ? pm->GetDPI() : 96, textId);
}

void CDeviceProfileUI::Tell(std::string_view textId) {
    if (textId.empty()) return;
    toolkit::CPaintManagerUI* pm = GetManager();
    PanelDialogs().Tell(pm ? pm->GetPaintWindow() : 0, pm ? pm->GetDPI() : 96, std::string(textId),
                        true);
}

void CDeviceProfileUI::TellText(const std::string& text) {
    toolkit::CPaintManagerUI* pm = GetManager();
    PanelDialogs().Tell(pm ? pm->GetPaintWindow() : 0, pm ? pm->GetDPI() : 96, text, false);
}

void CDeviceProfileUI::TellMacroWrite(int result) {
    if (result == 0) return;
    if (result == -1) {
        Tell("message_text_7");
        return;
    }
    TellText(FormatWithNumber(toolkit::CResourceManager::GetInstance().GetText("message_text_16"),
                              result));
}

// ---- Operations ----

void CDeviceProfileUI::AddProfile() {
    AppendAfterAsking("message_text_27", &profile::ProfileList::Add);
}

void CDeviceProfileUI::CopyProfile() {
    AppendAfterAsking("message_text_32", &profile::ProfileList::Copy);
}

void CDeviceProfileUI::AppendAfterAsking(
    const std::string& question, profile::ProfileList::Result (profile::ProfileList::*append)()) {
    if (!EnsureList() || !Ask(question)) return;
    const profile::ProfileList::Result r = (list_.*append)();
    if (!r.ok()) {
        Tell(r.message);
        return;
    }
    FillCombo();
    // The device keeps running the profile it runs; the new one is there to be chosen.
    SelectProfile(list_.SelectedIndex(), false);
}

void CDeviceProfileUI::ResetProfile() {
    if (!EnsureList() || !Ask("message_text_22")) return;
    const profile::ProfileList::Result r = list_.Reset();
    if (!r.ok()) {
        Log("reset not done");
        return;
    }
    ApplyToModel(true);
}

int CDeviceProfileUI::RenameProfile(const std::string& name) {
    if (!EnsureList() || Combo() == nullptr || name.empty()) return 0;
    const profile::ProfileList::Result r = list_.Rename(name);
    Tell(r.message);
    if (r.ok()) {
        FillCombo();
        SelectProfile(list_.SelectedIndex(), false);
    }
    return profile::ProfileList::RenameAnswer(r);
}

int CDeviceProfileUI::ImportProfile(const std::string& path) {
    if (Combo() == nullptr || !EnsureList()) {
        Tell("message_text_33");
        return -1;
    }
    const profile::ProfileList::Result r = list_.Import(path);
    Tell(r.message);
    if (r.ok()) {
        FillCombo();
        SelectProfile(list_.SelectedIndex(), false);
        // The imported profile is the chosen one: the device runs it from now on.
        ApplyToModel(false);
    }
    return profile::ProfileList::ImportAnswer(r);
}

void CDeviceProfileUI::ExportProfile(const std::string& path) {
    if (path.empty() || !EnsureList()) return;
    const profile::ProfileList::Result r = list_.Export(path);
    if (!r.ok()) Log("export to " + path + " not done");
}

void CDeviceProfileUI::DeleteProfile() {
    if (!EnsureList() || list_.Count() < 2 || !Ask("message_text_29")) return;
    const profile::ProfileList::Result r = list_.Delete();
    if (!r.ok()) {
        Log("deletion not done");
        return;
    }
    FillCombo();
    SelectProfile(list_.SelectedIndex(), false);
    // The deleted profile was the one the device ran; it runs the newly selected one instead.
    ApplyToModel(false);
}

void CDeviceProfileUI::Import() {
    const std::string path =
        PanelDialogs().ChooseFile(GetManager() ? GetManager()->GetPaintWindow() : 0,
                                  IPanelDialogs::FileKind::kProfile, false, "");
    if (!path.empty()) ImportProfile(path);
}

void CDeviceProfileUI::Export() {
    if (!EnsureList() || list_.SelectedIndex() < 0) return;
    const std::string name = list_.Names()[list_.SelectedIndex()] + ".json";
    ExportProfile(PanelDialogs().ChooseFile(GetManager() ? GetManager()->GetPaintWindow() : 0,
                                            IPanelDialogs::FileKind::kProfile, true, name));
}

void CDeviceProfileUI::RunProfileCommand(Command command) {
    switch (command) {
        case Command::kAdd:
            AddProfile();
            break;
        case Command::kRemove:
            DeleteProfile();
            break;
        case Command::kCopy:
            CopyProfile();
            break;
        case Command::kReset:
            ResetProfile();
            break;
        case Command::kSaveName:
            RenameProfile(GetNameEditText());
            break;
        case Command::kExport:
            Export();
            break;
        case Command::kImport:
            Import();
            break;
        case Command::kSpread:
            ShowMenu(!IsMenuShown());
            break;
    }
}

// ---- Applying a profile ----

void CDeviceProfileUI::ApplyChosenProfile() {
    if (!EnsureList()) return;
    const int index = GetSelectedIndex();
    if (index < 0) return;
    SelectProfile(index, false);
    ApplyToModel(false);
}

void CDeviceProfileUI::ApplyToModel(bool afterReset) {
    if (model_ == nullptr) return;
    device::CQuendalUSBDevice& m = *model_;
    IPanelDialogs& app = PanelDialogs();
    m.SetProfileFileName(list_.CurrentProfileId());
    m.BindProfileFiles();
    m.LoadProfile();
    if (!afterReset) m.ValidateMacroKeys();
    m.RefreshPage();
    m.WriteDeviceSettings(0, 0, 1, app.ScreenWidth(), app.ScreenHeight());
    m.ApplyLightMap();
    // FIXME: after a reset a keyboard also closes its key-set panel; that panel has no way to be
    // closed from here yet.
    const int kind = m.GetDeviceKind();
    if (afterReset && kind != kKeyboardKind && kind != kMouseKind) return;
    TellMacroWrite(m.WriteMacros(m.GetMacroList()));
    m.WriteModelKeyAssignments(0);
}

}  // namespace ui
