#include "net/set_wnd.h"

#include <array>

#include "net/about_wnd.h"
#include "net/label_text.h"
#include "net/update_info_list_item_ui.h"
#include "os/debug_output.h"
#include "os/folders.h"
#include "os/message_loop.h"
#include "profile/json_file.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/list_label_element_ui.h"
#include "toolkit/controls/list_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/resource_manager.h"

namespace net {

namespace {

constexpr std::array<int, 7> kAcceptedDpis = {48, 72, 96, 120, 144, 168, 192};
constexpr uintptr_t kRingTimer = 1;
constexpr uint32_t kRingPeriodMs = 150;
constexpr std::array<const char*, 4> kRingFrames = {"◐", "◓", "◑", "◒"};
constexpr int kListPage = 0;
constexpr int kConfirmPage = 1;
constexpr int kWidth = 630;
constexpr int kHeight = 500;

struct StatusLook {
    const char* textId;
    const char* mark;
    uint32_t markColour;
};
constexpr std::array<StatusLook, 5> kStatusLooks = {{
    {"GetUpdateInfoText", "", 0},
    {"HaveUpdateInfoText", "↑", 0xFF2F7CF6},
    {"NoUpdateInfoText", "!", 0xFFB7791F},
    {"ISUpdateINGText", "…", 0xFF2F7CF6},
    {"UpdateIsLastText", "✓", 0xFF3BB273},
}};

CSetWnd* g_current = nullptr;

std::string Translated(const std::string& id) {
    const std::string text = toolkit::CResourceManager::GetInstance().GetText(id);
    return text.empty() ? id : text;
}

}  // namespace

int AcceptedWindowDpi(int dpi) {
    for (int accepted : kAcceptedDpis) {
        if (dpi == accepted) return dpi;
    }
    os::DebugOutput("SET_WND DPI SET ERROR\n");
    return 96;
}

CSetWnd::CSetWnd(toolkit::HWND mainWnd, int languageIndex, std::vector<UpdateRow> rows,
                 UpdateServerConfig server)
    : m_mainWnd(mainWnd),
      m_language(languageIndex),
      m_rows(RowsToCheck(rows)),
      m_server(std::move(server)),
      m_languageConfig(os::ProgramFolder() + "DefaultData/Language.config") {}

CSetWnd::~CSetWnd() = default;

CSetWnd* CSetWnd::Current() {
    return g_current;
}

CUpdateInfoListItemUI* CSetWnd::Item(int index) const {
    return index >= 0 && index < ItemCount() ? m_items[static_cast<size_t>(index)] : nullptr;
}

void CSetWnd::InitWindow() {
    g_current = this;
}

void CSetWnd::OnFinalMessage(toolkit::HWND) {
    m_check.Stop();
    if (g_current == this) g_current = nullptr;
    delete this;
}

void CSetWnd::OnWindowInit() {
    FillLanguages();
    m_lastCheckDate = ReadLastCheckDate(LastCheckFilePath());
    StartCheck();
}

void CSetWnd::FillLanguages() {
    auto* combo = dynamic_cast<toolkit::CComboUI*>(m_pm.FindControl("Language_combox_info"));
    if (combo == nullptr) return;
    combo->RemoveAll();
    const Json::Value root = profile::JsonFile().Read(m_languageConfig);
    const Json::Value& list = root.isObject() ? root["Language"] : Json::Value::nullSingleton();
    if (!list.isArray()) {
        os::DebugOutput("settings: Language.config has no language list\n");
        return;
    }
    for (const Json::Value& entry : list) {
        auto* item = new toolkit::CListLabelElementUI;
        const Json::Value& text = entry.isObject() ? entry["Language_text"] : entry;
        const Json::Value& name = entry.isObject() ? entry["Language_name"] : entry;
        if (text.isString()) {
            item->SetResourceText(true);
            item->SetText(text.asString());
        } else {
            // A list from before the entries named their text: the toolkit's language name.
            item->SetText(name.isString() ? name.asString() : std::string("?"));
        }
        combo->Add(item);
    }
    combo->SelectItem(m_language, false, false);
}

void CSetWnd::StartCheck() {
    SetWindowStatus(kChecking);
    auto* list = dynamic_cast<toolkit::CListUI*>(m_pm.FindControl("device_update_list_info"));
    m_results.assign(m_rows.size(), UpdateInfo{});
    for (const UpdateRow& row : m_rows) {
        CUpdateInfoListItemUI* item = CUpdateInfoListItemUI::Create(&m_pm);
        if (item == nullptr) break;
        item->SetLabel(row.IsApplication() ? "AP" : row.listLabel);
        item->SetOldVersion(UpdateCheck::ListedVersionText(row));
        item->SetNewVersion("");
        item->SetState(CUpdateInfoListItemUI::kUpToDate);
        if (list != nullptr) list->Add(item);
        m_items.push_back(item);
    }
    if (m_items.size() != m_rows.size() || !m_check.Start(m_hWnd, m_rows, m_server)) {
        os::DebugOutput("settings: the update check could not start\n");
        SetWindowStatus(kNoInfo);
    }
}

void CSetWnd::OnRowDone(size_t index) {
    const std::optional<UpdateInfo> info = m_check.Result(index);
    if (!info || index >= m_items.size()) return;
    m_results[index] = *info;
    CUpdateInfoListItemUI* item = m_items[index];
    item->SetLabel(info->name);
    item->SetOldVersion(info->currentVersionText);
    item->SetNewVersion(info->status == kUpdateStatusUpToDate ? "" : info->newVersionText);
    item->SetState(info->status);
    item->SetUserData(info->downloadPath);
    item->SetChecked(false);
    WriteLastCheckDate(LastCheckFilePath(), TodayText());
}

void CSetWnd::OnCheckDone() {
    bool anyUpdate = false;
    for (CUpdateInfoListItemUI* item : m_items) {
        const int state = item->GetState();
        if (state != CUpdateInfoListItemUI::kUpToDate && state != CUpdateInfoListItemUI::kLess) {
            item->EnableCheck(true);
            item->SetChecked(true);
            anyUpdate = true;
        } else {
            item->EnableCheck(false);
        }
    }
    if (anyUpdate) ShowUpdateButton(true);
    const int failed = m_check.FailedConnections();
    if (anyUpdate)
        SetWindowStatus(kHaveUpdate);
    else if (failed > 0 && failed == ItemCount())
        SetWindowStatus(kNoInfo);
    else
        SetWindowStatus(kUpToDate);
}

void CSetWnd::SetWindowStatus(int status) {
    if (status < 0 || status >= static_cast<int>(kStatusLooks.size())) return;
    m_status = status;
    const StatusLook& look = kStatusLooks[static_cast<size_t>(status)];
    if (toolkit::CControlUI* ring = m_pm.FindControl("update_status_ring"))
        ring->SetVisible(status == kChecking);
    if (status == kChecking)
        SetTimer(kRingTimer, kRingPeriodMs);
    else
        KillTimer(kRingTimer);
    if (toolkit::CControlUI* image = m_pm.FindControl("update_status_image")) {
        image->SetVisible(status != kChecking);
        image->SetText(look.mark);
        image->SetBkColor(look.markColour);
    }
    if (toolkit::CControlUI* label = m_pm.FindControl("Update_Status_text")) {
        if (status == kUpToDate) {
            label->SetResourceText(false);
            label->SetText(CaptionWithValue(Translated(look.textId), m_lastCheckDate));
        } else {
            label->SetResourceText(true);
            label->SetText(look.textId);
        }
    }
    if (status == kUpToDate) os::PostMessage(m_mainWnd, kMsgClearSettingsBadge, 0, 0);
}

void CSetWnd::ShowUpdateButton(bool show) {
    if (toolkit::CControlUI* button = m_pm.FindControl("update_fw_and_ap")) {
        button->SetEnabled(show);
        button->SetVisible(show);
    }
}

void CSetWnd::SelectPage(int page) {
    if (auto* tab = dynamic_cast<toolkit::CTabLayoutUI*>(m_pm.FindControl("get_update_tab_layout")))
        tab->SelectItem(page);
}

void CSetWnd::OnCheckChanged() {
    bool any = false;
    for (CUpdateInfoListItemUI* item : m_items) any = any || item->IsChecked();
    ShowUpdateButton(any);
}

// The chosen items are marked "waiting for download" and stay so: the program downloads and
// installs nothing itself (nothing from the service's reply is ever used as a path or run), and
// while items wait only the system close or Escape closes the window.
void CSetWnd::OnUpdateConfirmed() {
    for (CUpdateInfoListItemUI* item : m_items) {
        const int state = item->GetState();
        if (state != CUpdateInfoListItemUI::kNeed && state != CUpdateInfoListItemUI::kNeedToo)
            continue;
        if (item->IsChecked())
            item->SetState(CUpdateInfoListItemUI::kWaiting);
        else
            item->EnableCheck(false);
    }
    if (toolkit::CControlUI* button = m_pm.FindControl("update_fw_and_ap"))
        button->SetEnabled(false);
    SelectPage(kListPage);
}

void CSetWnd::UpdateMaxRestoreButtons() {
    const bool zoomed = IsZoomed();
    if (toolkit::CControlUI* b = m_pm.FindControl("maxbtn")) {
        // The skin may keep the button hidden for good (a window of fixed size).
        if (b->IsVisible() || zoomed) b->SetVisible(!zoomed);
    }
    if (toolkit::CControlUI* b = m_pm.FindControl("restorebtn")) b->SetVisible(zoomed);
}

bool CSetWnd::ClosingRefused() const {
    if (m_closeForced) return false;
    for (CUpdateInfoListItemUI* item : m_items) {
        switch (item->GetState()) {
            case CUpdateInfoListItemUI::kLess:
            case CUpdateInfoListItemUI::kWaiting:
            case CUpdateInfoListItemUI::kDownloading:
            case CUpdateInfoListItemUI::kDownloaded:
            case CUpdateInfoListItemUI::kUpdating:
                return true;
            default:
                break;
        }
    }
    return false;
}

void CSetWnd::CloseFromSystem() {
    m_check.Stop();
    m_closeForced = true;
    Close(0);
}

toolkit::LRESULT CSetWnd::OnClose(uint32_t, toolkit::WPARAM, toolkit::LPARAM, bool& handled) {
    handled = ClosingRefused();
    if (handled) {
        os::DebugOutput("settings: not closed while items wait for their update\n");
        return 0;
    }
    m_check.Stop();
    return 0;
}

toolkit::LRESULT CSetWnd::OnSize(uint32_t, toolkit::WPARAM, toolkit::LPARAM, bool& handled) {
    UpdateMaxRestoreButtons();
    handled = false;
    return 0;
}

void CSetWnd::Notify(toolkit::TNotifyUI& msg) {
    if (msg.pSender == nullptr) return WindowImplBase::Notify(msg);
    const std::string& name = msg.pSender->GetName();
    auto is = [&name](const char* n) { return toolkit::EqualsNoCase(name, n); };
    if (msg.sType == toolkit::DUI_MSGTYPE_WINDOWINIT) {
        OnWindowInit();
    } else if (msg.sType == toolkit::DUI_MSGTYPE_CLICK) {
        if (is("closebtn") || is("laterbtn")) {
            m_check.Stop();
            Close(0);
        } else if (is("minbtn")) {
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MINIMIZE, 0);
        } else if (is("maxbtn")) {
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_MAXIMIZE, 0);
        } else if (is("restorebtn")) {
            SendMessage(os::WM_SYSCOMMAND, toolkit::SC_RESTORE, 0);
        } else if (is("set_in_update_wnd_btn")) {
            if (toolkit::CControlUI* tip = m_pm.FindControl("update_tishi_layout"))
                tip->SetVisible(false);
            ResizeClient(m_pm.ScaleDpi(kWidth), m_pm.ScaleDpi(kHeight));
        } else if (is("update_fw_and_ap")) {
            SelectPage(kConfirmPage);
        } else if (is("update_OK_btn")) {
            OnUpdateConfirmed();
        }
        return;
    } else if (msg.sType == toolkit::DUI_MSGTYPE_SELECTCHANGED && is("check_name_select")) {
        OnCheckChanged();
        return;
    } else if (msg.sType == toolkit::DUI_MSGTYPE_ITEMSELECT && is("Language_combox_info")) {
        m_language = static_cast<int>(msg.wParam);
        os::PostMessage(m_mainWnd, kMsgApplyLanguage, msg.wParam, 0);
        return;
    }
    WindowImplBase::Notify(msg);
}

toolkit::LRESULT CSetWnd::HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                              toolkit::LPARAM lParam, bool& handled) {
    handled = true;
    if (msg == UpdateCheck::kMsgRowDone) {
        OnRowDone(wParam);
    } else if (msg == UpdateCheck::kMsgCheckDone) {
        OnCheckDone();
    } else if (msg == kMsgApplyLanguage) {
        // The main window has switched the language: the texts follow; the up-to-date line is
        // plain text and is made again.
        if (m_status == kUpToDate) SetWindowStatus(kUpToDate);
        m_pm.Invalidate();
    } else if (msg == os::WM_TIMER && wParam == kRingTimer) {
        m_ringFrame = (m_ringFrame + 1) % static_cast<int>(kRingFrames.size());
        if (toolkit::CControlUI* ring = m_pm.FindControl("update_status_ring"))
            ring->SetText(kRingFrames[static_cast<size_t>(m_ringFrame)]);
    } else if (msg == os::WM_SYSCOMMAND && (wParam & 0xFFF0) == toolkit::SC_CLOSE) {
        CloseFromSystem();
    } else if (msg == os::WM_KEYDOWN && wParam == toolkit::VK_ESCAPE) {
        // Escape leaves the window as the system close does, even while items wait.
        CloseFromSystem();
    } else if (msg == os::WM_DPICHANGED) {
        m_pm.SetDPI(AcceptedWindowDpi(static_cast<int>(wParam & 0xFFFF)));
        m_pm.ResetDPIAssets();
        if (const auto* suggested = reinterpret_cast<const toolkit::UiRect*>(lParam);
            suggested != nullptr && !suggested->IsEmpty())
            MoveWindow(*suggested);
        m_pm.NeedUpdate();
    } else {
        handled = false;
    }
    return 0;
}

void NotifyLanguageChanged() {
    if (CSetWnd* w = CSetWnd::Current()) w->SendMessage(kMsgApplyLanguage, 0, 0);
    if (CAboutWnd* w = CAboutWnd::Current()) w->SendMessage(kMsgApplyLanguage, 0, 0);
}

void OpenSettingsWindow(toolkit::HWND mainWnd, bool centred, int languageIndex,
                        const std::vector<UpdateRow>& table) {
    if (CSetWnd::Current() != nullptr) return;
    auto* owner = dynamic_cast<toolkit::WindowImplBase*>(toolkit::CWindowWnd::FromHandle(mainWnd));
    auto* wnd = new CSetWnd(mainWnd, languageIndex, table, LoadUpdateServerConfig());
    if (wnd->Create(mainWnd, "", toolkit::WS_POPUP | toolkit::WS_VISIBLE | toolkit::WS_CLIPCHILDREN,
                    toolkit::WS_EX_TOOLWINDOW, 0, 0, kWidth, kHeight) == 0) {
        os::DebugOutput("settings window not created: " + wnd->GetBuildError() + "\n");
        delete wnd;
        return;
    }
    toolkit::CPaintManagerUI& pm = wnd->GetPaintManager();
    pm.SetDPI(AcceptedWindowDpi(owner != nullptr ? owner->GetPaintManager().GetDPI() : 96));
    if (centred || owner == nullptr) {
        wnd->CenterWindow();
    } else {
        const toolkit::UiRect main = owner->GetWindowRect();
        const toolkit::UiRect rc = wnd->GetWindowRect();
        const int right = main.right - pm.ScaleDpi(30);
        const int top = main.top + pm.ScaleDpi(60);
        wnd->MoveWindow(toolkit::UiRect{right - rc.GetWidth(), top, right, top + rc.GetHeight()});
    }
    wnd->ShowModal();
}

}  // namespace net
