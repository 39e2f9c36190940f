#pragma once

#include <string>
#include <vector>

#include "net/update_check.h"
#include "net/update_query.h"
#include "net/update_table.h"
#include "toolkit/window_impl_base.h"

namespace net {

class CUpdateInfoListItemUI;

// Messages between the settings window, the about box and the main window.
inline constexpr uint32_t kMsgApplyLanguage = 3089;       // wParam: language index (to the main
                                                          // window); to this window: repaint
inline constexpr uint32_t kMsgClearSettingsBadge = 3094;  // to the main window

// The DPI a settings or about window takes for its owner's: 48, 72, 96, 120, 144, 168 or 192;
// anything else gives 96 and the debug text "SET_WND DPI SET ERROR".
int AcceptedWindowDpi(int dpi);

// The settings window: the interface language and the update list with the result of the update
// check that runs while it is open. Skin "setwnd.xml". Modal over the main window; there is
// never more than one.
class CSetWnd : public toolkit::WindowImplBase {
  public:
    // Window status, shown by "update_status_ring", "update_status_image" and
    // "Update_Status_text".
    enum Status {
        kChecking = 0,    // "GetUpdateInfoText" with the busy ring
        kHaveUpdate = 1,  // "HaveUpdateInfoText"
        kNoInfo = 2,      // "NoUpdateInfoText"
        kUpdating = 3,    // "ISUpdateINGText"
        kUpToDate = 4,    // "UpdateIsLastText" + the last-check date
    };

    CSetWnd(toolkit::HWND mainWnd, int languageIndex, std::vector<UpdateRow> rows,
            UpdateServerConfig server);

    // The open settings window, or nullptr.
    static CSetWnd* Current();

    // The language list the combo shows (default: "Language.config" of the DefaultData folder);
    // set before the window is created.
    void SetLanguageConfig(std::string path) { m_languageConfig = std::move(path); }

    std::string GetSkinFile() override { return "setwnd.xml"; }
    std::string GetWindowClassName() const override { return "SetWnd"; }
    void Notify(toolkit::TNotifyUI& msg) override;
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                         toolkit::LPARAM lParam, bool& handled) override;

    void SetWindowStatus(int status);
    int GetWindowStatus() const { return m_status; }
    const std::string& LastCheckDate() const { return m_lastCheckDate; }
    int LanguageIndex() const { return m_language; }
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    CUpdateInfoListItemUI* Item(int index) const;
    // Whether the update check thread is still running.
    bool Checking() const { return m_check.Running(); }

    ~CSetWnd() override;

  protected:
    void InitWindow() override;
    void OnFinalMessage(toolkit::HWND hwnd) override;
    toolkit::LRESULT OnClose(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam,
                             bool& handled) override;
    toolkit::LRESULT OnSize(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam,
                            bool& handled) override;

  private:
    void OnWindowInit();
    void FillLanguages();
    void StartCheck();
    void OnRowDone(size_t index);
    void OnCheckDone();
    void OnCheckChanged();
    void OnUpdateConfirmed();
    void SelectPage(int page);
    void ShowUpdateButton(bool show);
    void UpdateMaxRestoreButtons();
    void CloseFromSystem();
    bool ClosingRefused() const;

    toolkit::HWND m_mainWnd;
    int m_language;
    std::vector<UpdateRow> m_rows;
    UpdateServerConfig m_server;
    std::vector<UpdateInfo> m_results;
    std::vector<CUpdateInfoListItemUI*> m_items;
    std::string m_lastCheckDate;
    std::string m_languageConfig;
    int m_status = -1;
    int m_ringFrame = 0;
    bool m_closeForced = false;
    UpdateCheck m_check;
};

// Opens the settings window over the main window mainWnd and runs it modally; returns when it
// has closed. When it is open already, nothing happens. centred: in the middle of the main
// window; otherwise under the main window's settings button (its right edge 30 and its top 60
// scaled pixels inside the main window's top right corner). table: the update table with current
// versions (rows with version 0 are left out). The update service is taken from
// LoadUpdateServerConfig(). Choosing a language posts 3089 (the index of the chosen entry of
// "Language.config") to mainWnd; an up-to-date result posts 3094.
void OpenSettingsWindow(toolkit::HWND mainWnd, bool centred, int languageIndex,
                        const std::vector<UpdateRow>& table);

// Tells the open settings window and about box that the main window has switched the language
// (message 3089 with 0), so that they show their texts in it.
void NotifyLanguageChanged();

}  // namespace net
