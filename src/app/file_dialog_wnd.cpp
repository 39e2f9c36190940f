#include "app/file_dialog_wnd.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/msg_wnd.h"
#include "os/debug_output.h"
#include "profile/text_helpers.h"
#include "toolkit/control_ui.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/edit_ui.h"
#include "toolkit/controls/list_label_element_ui.h"
#include "toolkit/controls/list_ui.h"

namespace app {

namespace {

namespace fs = std::filesystem;

// Opens the folder of an activated list entry once the entry's own event has ended (refilling
// the list deletes the entry).
constexpr uint32_t kOpenEntryMessage = os::WM_USER + 1;

// The open windows, innermost last.
std::vector<CFileDialogWnd*> g_open;
std::string g_lastFolder;  // where the next dialog starts, as native dialogs remember it

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? home : "/";
}

std::string Parent(const std::string& folder) {
    if (folder == "/") return folder;
    fs::path p = fs::path(folder).parent_path();
    return p.empty() ? "/" : p.string();
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

CFileDialogWnd::CFileDialogWnd(FileDialogRequest request) : m_request(std::move(request)) {
    if (m_request.filterIndex >= 1 &&
        m_request.filterIndex <= static_cast<int>(m_request.filters.size()))
        m_filter = m_request.filterIndex - 1;
}

CFileDialogWnd* CFileDialogWnd::Current() {
    return g_open.empty() ? nullptr : g_open.back();
}

std::string CFileDialogWnd::Run(toolkit::HWND owner, const FileDialogRequest& request) {
    auto* wnd = new CFileDialogWnd(request);
    // Not a popup: the desktop gives popups no keyboard focus, and a name is typed here.
    if (wnd->Create(owner, request.title, toolkit::WS_CAPTION | toolkit::WS_CLIPCHILDREN,
                    toolkit::WS_EX_TOOLWINDOW) == 0) {
        os::DebugOutput("file dialog not created: " + wnd->GetBuildError() + "\n");
        delete wnd;
        return "";
    }
    if (auto* ownerWnd =
            dynamic_cast<toolkit::WindowImplBase*>(toolkit::CWindowWnd::FromHandle(owner)))
        wnd->GetPaintManager().SetDPI(ownerWnd->GetPaintManager().GetDPI());
    std::string result;
    wnd->m_pResult = &result;
    wnd->CenterWindow();
    wnd->ShowModal();
    return result;
}

const os::FileFilter* CFileDialogWnd::CurrentFilter() const {
    if (m_filter < 0 || m_filter >= static_cast<int>(m_request.filters.size())) return nullptr;
    return &m_request.filters[static_cast<size_t>(m_filter)];
}

void CFileDialogWnd::InitWindow() {
    g_open.push_back(this);
    if (toolkit::CControlUI* title = m_pm.FindControl("file_title")) {
        title->SetResourceText(false);
        title->SetText(m_request.title);
    }
    if (auto* combo = dynamic_cast<toolkit::CComboUI*>(m_pm.FindControl("file_filter"))) {
        for (const os::FileFilter& f : m_request.filters) {
            auto* item = new toolkit::CListLabelElementUI;
            item->SetText(f.label);
            item->SetFixedHeight(26);
            combo->Add(item);
        }
        if (CurrentFilter() != nullptr) combo->SelectItem(m_filter, false, false);
    }
    // The proposed name may carry a folder; otherwise the dialog starts where the last one ended.
    std::string start = g_lastFolder.empty() ? HomeFolder() : g_lastFolder;
    std::string name = m_request.fileName;
    if (const size_t slash = name.rfind('/'); slash != std::string::npos) {
        start = slash == 0 ? "/" : name.substr(0, slash);
        name = name.substr(slash + 1);
    }
    if (toolkit::CControlUI* edit = m_pm.FindControl("file_name")) edit->SetText(name);
    if (!OpenFolder(start) && !OpenFolder(HomeFolder())) OpenFolder("/");
}

void CFileDialogWnd::OnFinalMessage(toolkit::HWND) {
    std::erase(g_open, this);
    delete this;
}

bool CFileDialogWnd::OpenFolder(const std::string& folder) {
    std::error_code ec;
    fs::path canonical = fs::weakly_canonical(fs::path(folder), ec);
    if (ec || !fs::is_directory(canonical, ec)) return false;
    std::vector<Entry> folders;
    std::vector<Entry> files;
    fs::directory_iterator it(canonical, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        os::DebugOutput("file dialog: " + canonical.string() +
                        " cannot be listed: " + ec.message() + "\n");
        return false;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            folders.push_back({name, true});
        } else if (!typeError) {
            files.push_back({name, false});
        }
    }
    auto byName = [](const Entry& a, const Entry& b) { return LessNoCase(a.name, b.name); };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    m_folder = canonical.string();
    m_entries = std::move(folders);
    m_entries.insert(m_entries.end(), files.begin(), files.end());
    Fill();
    return true;
}

void CFileDialogWnd::Fill() {
    // Names on disk are bytes; what is shown must be UTF-8 (the path keeps the bytes).
    if (toolkit::CControlUI* label = m_pm.FindControl("file_folder"))
        label->SetText(profile::ToValidUtf8(m_folder));
    auto* list = dynamic_cast<toolkit::CListUI*>(m_pm.FindControl("file_list"));
    if (list == nullptr) return;
    list->RemoveAll();
    const os::FileFilter* filter = CurrentFilter();
    int shown = 0;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& e = m_entries[i];
        if (!e.folder && filter != nullptr && !MatchesFilter(e.name, filter->patterns)) continue;
        auto* item = new toolkit::CListLabelElementUI;
        item->SetText(profile::ToValidUtf8(e.folder ? e.name + "/" : e.name));
        item->SetTag(i);
        item->SetFixedHeight(26);
        list->Add(item);
        // Named so that scripted runs can address the entries.
        item->SetName("file_entry_" + std::to_string(shown++));
    }
}

void CFileDialogWnd::OnItemActivate(int index) {
    if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
    const Entry& e = m_entries[static_cast<size_t>(index)];
    if (e.folder) {
        OpenFolder(Join(m_folder, e.name));
        return;
    }
    if (toolkit::CControlUI* edit = m_pm.FindControl("file_name")) edit->SetText(e.name);
    OnOk();
}

void CFileDialogWnd::OnOk() {
    toolkit::CControlUI* edit = m_pm.FindControl("file_name");
    std::string text = edit != nullptr ? edit->GetText() : "";
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
    if (text.empty()) return;
    std::string path;
    if (text[0] == '/')
        path = text;
    else if (text == "~" || text.rfind("~/", 0) == 0)
        path = HomeFolder() + text.substr(1);
    else
        path = Join(m_folder, text);
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        if (OpenFolder(path) && edit != nullptr) edit->SetText("");
        return;
    }
    const int dpi = m_pm.GetDPI();
    if (!m_request.save) {
        if (!fs::is_regular_file(path, ec)) {
            ShowMessage(m_hWnd, "", "filedlg_not_found", dpi, true, CMsgWnd::kConfirmOnly);
            return;
        }
        Finish(path);
        return;
    }
    path = WithDefaultExtension(path, m_request.defaultExt, CurrentFilter());
    const std::string parent = Parent(path);
    if (!fs::is_directory(parent, ec)) {
        ShowMessage(m_hWnd, "", "filedlg_no_folder", dpi, true, CMsgWnd::kConfirmOnly);
        return;
    }
    if (fs::exists(path, ec) &&
        ShowMessage(m_hWnd, "", "filedlg_overwrite", dpi, true, CMsgWnd::kConfirmCancel) != 1)
        return;
    Finish(path);
}

void CFileDialogWnd::Finish(const std::string& path) {
    if (!m_folder.empty()) g_lastFolder = path.empty() ? m_folder : Parent(path);
    if (m_pResult != nullptr) *m_pResult = path;
    m_pResult = nullptr;
    Close(path.empty() ? 0 : 1);
}

void CFileDialogWnd::Notify(toolkit::TNotifyUI& msg) {
    const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : "";
    if (msg.sType == toolkit::DUI_MSGTYPE_CLICK) {
        if (toolkit::EqualsNoCase(name, "file_ok")) {
            OnOk();
        } else if (toolkit::EqualsNoCase(name, "file_cancel") ||
                   toolkit::EqualsNoCase(name, "closebtn")) {
            Finish("");
        } else if (toolkit::EqualsNoCase(name, "file_up")) {
            OpenFolder(Parent(m_folder));
        }
    } else if (msg.sType == toolkit::DUI_MSGTYPE_ITEMSELECT) {
        if (toolkit::EqualsNoCase(name, "file_filter")) {
            m_filter = static_cast<int>(msg.wParam);
            Fill();
        } else if (toolkit::EqualsNoCase(name, "file_list")) {
            auto* list = static_cast<toolkit::CListUI*>(msg.pSender);
            toolkit::CControlUI* item = list->GetItemAt(static_cast<int>(msg.wParam));
            if (item != nullptr && item->GetTag() < m_entries.size() &&
                !m_entries[item->GetTag()].folder) {
                if (toolkit::CControlUI* edit = m_pm.FindControl("file_name"))
                    edit->SetText(m_entries[item->GetTag()].name);
            }
        }
    } else if (msg.sType == toolkit::DUI_MSGTYPE_ITEMACTIVATE && msg.pSender != nullptr) {
        PostMessage(kOpenEntryMessage, msg.pSender->GetTag(), 0);
    } else if (msg.sType == toolkit::DUI_MSGTYPE_RETURN &&
               toolkit::EqualsNoCase(name, "file_name")) {
        OnOk();
    }
    WindowImplBase::Notify(msg);
}

toolkit::LRESULT CFileDialogWnd::HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                                     toolkit::LPARAM, bool& handled) {
    handled = false;
    if (msg == kOpenEntryMessage) {
        OnItemActivate(static_cast<int>(wParam));
        handled = true;
    } else if (msg == os::WM_KEYDOWN && wParam == toolkit::VK_ESCAPE) {
        Finish("");
        handled = true;
    }
    return 0;
}

}  // namespace app
