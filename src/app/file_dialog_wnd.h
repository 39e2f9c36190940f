#pragma once

#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "toolkit/window_impl_base.h"

namespace app {

// The program's own file dialog, for desktops without a file chooser: the current folder
// ("file_folder"), its folders and the files that match the filter ("file_list"), the filter
// ("file_filter"), a name or path field ("file_name"), "file_up", "file_ok" and "file_cancel"
// (and "closebtn"). The entries are named "file_entry_" + their row; folders show with a
// trailing "/". A double click or Enter on a folder opens it; on a file it chooses it.
// Skin "filedialog.xml". Owns itself; ShowModal's code is 1 when a path was chosen.
class CFileDialogWnd : public toolkit::WindowImplBase {
  public:
    explicit CFileDialogWnd(FileDialogRequest request);

    // Creates the window over owner and runs it; the chosen path or empty.
    static std::string Run(toolkit::HWND owner, const FileDialogRequest& request);
    // The innermost open dialog (for tests and scripted runs), or nullptr.
    static CFileDialogWnd* Current();

    std::string GetSkinFile() override { return "filedialog.xml"; }
    std::string GetWindowClassName() const override { return "FileDialogWnd"; }
    void Notify(toolkit::TNotifyUI& msg) override;
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                         toolkit::LPARAM lParam, bool& handled) override;

    const std::string& GetFolder() const { return m_folder; }
    // Shows folder (an absolute path); false when it cannot be listed.
    bool OpenFolder(const std::string& folder);

  protected:
    void InitWindow() override;
    void OnFinalMessage(toolkit::HWND hwnd) override;

  private:
    struct Entry {
        std::string name;
        bool folder = false;
    };
    void Fill();
    void OnItemActivate(int index);
    void OnOk();
    void Finish(const std::string& path);
    const os::FileFilter* CurrentFilter() const;

    FileDialogRequest m_request;
    std::string m_folder;
    std::vector<Entry> m_entries;
    int m_filter = 0;
    std::string* m_pResult = nullptr;  // where Run waits for the path
};

}  // namespace app
