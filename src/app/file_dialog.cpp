#include "app/file_dialog.h"

#include <fnmatch.h>

#include "app/file_dialog_wnd.h"
#include "os/message_loop.h"
#include "toolkit/backend/headless_backend.h"
#include "toolkit/resource_manager.h"
#include "toolkit/window_wnd.h"

namespace app {

namespace {

FileDialogMode g_mode = FileDialogMode::kAuto;

std::string Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

// The trimmed pieces of s between separators (empty pieces included).
std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find(separator, start);
        if (end == std::string::npos) end = s.size();
        out.push_back(Trimmed(std::string_view(s).substr(start, end - start)));
        start = end + 1;
    }
    return out;
}

std::vector<std::string> Globs(const std::string& patterns) {
    std::vector<std::string> out = Split(patterns, ';');
    std::erase(out, std::string());
    return out;
}

bool HasWildcard(const std::string& s) {
    return s.find_first_of("*?[") != std::string::npos;
}

// A language text, or the English fallback while no language file has it.
std::string Text(const char* id, const char* fallback) {
    std::string text = toolkit::CResourceManager::GetInstance().GetText(id);
    return text.empty() || text == id ? fallback : text;
}

}  // namespace

void SetFileDialogMode(FileDialogMode mode) {
    g_mode = mode;
}

FileDialogMode GetFileDialogMode() {
    return g_mode;
}

std::vector<os::FileFilter> ParseFilterString(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, '|');
    std::vector<os::FileFilter> out;
    // Pairs up to the first empty label: the "||" that ends the string.
    for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        if (!parts[i + 1].empty()) out.push_back({parts[i], parts[i + 1]});
    }
    return out;
}

bool MatchesFilter(const std::string& fileName, const std::string& patterns) {
    for (const std::string& glob : Globs(patterns)) {
        if (glob == "*.*" || glob == "*") return true;
        if (fnmatch(glob.c_str(), fileName.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
    }
    return false;
}

std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt,
                                 const os::FileFilter* filter) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return path;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && dot + 1 < name.size()) return path;
    std::string ext;
    if (!HasWildcard(defaultExt)) {
        ext = defaultExt;
        while (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
    } else if (filter != nullptr) {
        for (const std::string& glob : Globs(filter->patterns)) {
            if (glob.rfind("*.", 0) == 0 && !HasWildcard(glob.substr(2))) {
                ext = glob.substr(2);
                break;
            }
        }
    }
    if (ext.empty()) return path;
    std::string out = path;
    if (!out.empty() && out.back() == '.') out.pop_back();
    return out + "." + ext;
}

std::string RunFileDialog(toolkit::HWND owner, const FileDialogRequest& request) {
    FileDialogRequest req = request;
    if (req.title.empty())
        req.title =
            req.save ? Text("filedlg_title_save", "Save As") : Text("filedlg_title_open", "Open");
    const os::FileFilter* current = nullptr;
    if (req.filterIndex >= 1 && req.filterIndex <= static_cast<int>(req.filters.size()))
        current = &req.filters[static_cast<size_t>(req.filterIndex - 1)];
    os::MessageLoop* loop = os::MessageLoop::Current();
    toolkit::CWindowWnd* ownerWnd = toolkit::CWindowWnd::FromHandle(owner);
    const bool ownerHeadless = ownerWnd != nullptr && dynamic_cast<toolkit::HeadlessBackend*>(
                                                          ownerWnd->GetBackend()) != nullptr;
    const bool askDesktop = g_mode == FileDialogMode::kDesktopFirst ||
                            (g_mode == FileDialogMode::kAuto && !ownerHeadless);
    if (askDesktop && loop != nullptr) {
        // The desktop's chooser shows its first filter first.
        std::vector<os::FileFilter> filters = req.filters;
        if (current != nullptr && req.filterIndex > 1) {
            std::swap(filters[0], filters[static_cast<size_t>(req.filterIndex - 1)]);
        }
        // Modal as a native dialog would be: the owner takes no input while the chooser is open,
        // but the loop (timers, device traffic, painting) goes on.
        const bool wasEnabled = ownerWnd != nullptr && ownerWnd->IsWindowEnabled();
        if (wasEnabled) ownerWnd->EnableWindow(false);
        // The chooser takes a name only; the folder of a proposed path is its own business.
        const size_t slash = req.fileName.rfind('/');
        const std::string name =
            slash == std::string::npos ? req.fileName : req.fileName.substr(slash + 1);
        std::string path;
        const os::FileChooserResult result =
            os::ChooseFile(*loop, req.save, req.title, filters, name, &path);
        if (wasEnabled) {
            if (toolkit::CWindowWnd* w = toolkit::CWindowWnd::FromHandle(owner))
                w->EnableWindow(true);
        }
        if (result == os::FileChooserResult::kChosen) {
            return req.save ? WithDefaultExtension(path, req.defaultExt,
                                                   filters.empty() ? nullptr : &filters[0])
                            : path;
        }
        if (result == os::FileChooserResult::kCancelled) return "";
    }
    return CFileDialogWnd::Run(owner, req);
}

std::string SaveFileDialog(toolkit::HWND owner, const os::FileFilter& filter,
                           const std::string& fileName) {
    FileDialogRequest request;
    request.save = true;
    request.filters = {filter};
    request.fileName = fileName;
    return RunFileDialog(owner, request);
}

std::string OpenFileDialog(toolkit::HWND owner, const os::FileFilter& filter) {
    FileDialogRequest request;
    request.save = false;
    request.filters = {filter};
    return RunFileDialog(owner, request);
}

}  // namespace app
