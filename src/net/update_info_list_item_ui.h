#pragma once

#include <string>

#include "toolkit/controls/list_container_element_ui.h"

namespace toolkit {
class CLabelUI;
class COptionUI;
}  // namespace toolkit

namespace net {

// One product in the settings window's update list, built from
// "XML\CustomControlXML\device_Update_list_item.xml": the checkbox "check_name_select" with the
// product's label (checked: the user wants it updated), "OldRev" and "updateRev" (current and
// new version; the new one hidden while empty), "update_status_text", the busy mark
// "update_status_ing", "update_progress_value" and the done mark "update_status_ok". The user
// data holds the reply's download path.
class CUpdateInfoListItemUI : public toolkit::CListContainerElementUI {
  public:
    static constexpr const char* kSkin = "XML\\CustomControlXML\\device_Update_list_item.xml";
    static constexpr int kHeight = 50;

    // Item states.
    enum State {
        kLess = 0,         // "LessUpdateText"
        kNeed = 1,         // "NeedUpdateText"
        kNeedToo = 2,      // "NeedUpdateText"
        kWaiting = 3,      // "DownloadWaitText"
        kDownloading = 4,  // "DownloadIngText"
        kDownloaded = 5,   // "DownloadOkText"
        kUpdating = 6,     // "UpdateIngText"
        kUpToDate = 7,     // "UpdateOkText"
        kFailed = 8,       // "UpdateFailText"
    };

    // Builds an item with its children for the window of pm; nullptr (and a debug line) when
    // the item skin cannot be built.
    static CUpdateInfoListItemUI* Create(toolkit::CPaintManagerUI* pm);

    std::string_view GetClass() const override;
    void PaintBkColor(cairo_t* cr) override;

    int GetState() const { return m_state; }
    // Shows the state's text, marks and colours; setting the state the item has changes nothing.
    void SetState(int state);

    void SetLabel(const std::string& label);
    std::string GetLabel() const;
    void SetOldVersion(const std::string& text);
    void SetNewVersion(const std::string& text);
    std::string GetNewVersion() const;
    void SetProgress(int percent);

    bool IsChecked() const;
    // Silently: no "selectchanged".
    void SetChecked(bool checked);
    bool IsCheckEnabled() const;
    void EnableCheck(bool enable);

    toolkit::COptionUI* CheckBox() const { return m_check; }

  private:
    toolkit::CControlUI* Child(const char* name) const;

    int m_state = -1;
    toolkit::COptionUI* m_check = nullptr;
};

}  // namespace net
