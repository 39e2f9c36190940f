#pragma once

#include <string>
#include <string_view>

#include "device/panel_views.h"
#include "profile/profile_list.h"
#include "toolkit/controls/vertical_layout_ui.h"

namespace toolkit {
class CComboUI;
}
namespace device {
class CQuendalUSBDevice;
}

namespace ui {

// The profile panel of a device page (skin "XML\CustomControlXML\DeviceProfile.xml", whose root
// element is this panel): the drop-down of the device's profiles "device_profile_combo", the
// name field, the small menu of profile operations and, on the page around it, the row of
// function tabs. The profiles themselves are kept by profile::ProfileList; the panel mirrors the
// list in its drop-down, asks and tells the user through the application's message box, and
// makes its device model apply the chosen profile.
//
// The panel finds its model among its parents (the page root) and takes the device kind and the
// folders from it the first time they are needed (at the latest when it is first shown, once the
// model has its data folder name), unless the model set them first.
class CDeviceProfileUI : public toolkit::CVerticalLayoutUI, public device::IProfilePanelView {
  public:
    static constexpr std::string_view kClassName = "DeviceProfile";
    static constexpr std::string_view kRegisteredName = "CDeviceProfileUI";
    static constexpr std::string_view kSkinFile = "XML\\CustomControlXML\\DeviceProfile.xml";
    static constexpr int kItemHeight = 30;

    std::string_view GetClass() const override { return kClassName; }
    void DoInit() override;
    // Shown the first time before its model set it up, the panel reads the profiles itself.
    bool DoPaint(cairo_t* cr, const toolkit::UiRect& rcPaint,
                 toolkit::CControlUI* stopControl = nullptr) override;

    // ---- What the device model calls while it builds its page ----
    void SetDeviceKind(int kind);
    void SetFolders(const std::string& userDataFolder, const std::string& defaultTemplatePath);
    // Reads (or creates) the list, fills the drop-down, selects the stored profile and shows the
    // function tabs of the device kind.
    void InitProfileList();
    std::string GetCurrentProfileId();

    // ---- Operations ----
    // Selects a drop-down entry and records it; notify: the drop-down tells its choice as the
    // user's would be told.
    void SelectProfile(int index, bool notify);
    // -1 without a drop-down.
    int GetSelectedIndex() const;
    std::string GetNameEditText() const;
    void SetNameEditText(const std::string& text);
    // Each asks first where the operation changes stored profiles, and tells what went wrong.
    void AddProfile();
    void CopyProfile();
    void ResetProfile();
    // 1 done, 0 name taken (or nothing done), 2 blank.
    int RenameProfile(const std::string& name);
    // 1 done, 0 list full, -1 not imported.
    int ImportProfile(const std::string& path);
    void ExportProfile(const std::string& path);
    void DeleteProfile();
    int CountProfiles() const;
    std::string ProfilePathAt(int index) const;
    bool IsMenuShown() const;
    void ShowMenu(bool shown);

    const profile::ProfileList& List() const { return list_; }

    // ---- device::IProfilePanelView ----
    void RunProfileCommand(Command command) override;
    void SelectFunctionTab(int tab) override;
    void ApplyChosenProfile() override;

  private:
    // Sets kind and folders from the model and reads the list when no one has yet.
    bool EnsureList();
    void FillCombo();
    toolkit::CComboUI* Combo() const;
    toolkit::CControlUI* Find(std::string_view name) const;
    // A control of the page around the panel (the function tabs).
    toolkit::CControlUI* FindOnPage(std::string_view name) const;
    void ShowTabsOfKind();
    // Add and Copy: after the question, the new profile is appended and shown in the drop-down.
    void AppendAfterAsking(const std::string& question,
                           profile::ProfileList::Result (profile::ProfileList::*append)());
    bool Ask(const std::string& textId);
    void Tell(std::string_view textId);
    void TellText(const std::string& text);
    void TellMacroWrite(int result);
    // The model runs the selected profile (after a choice, a deletion or a reset).
    void ApplyToModel(bool afterReset);
    void Import();
    void Export();

    device::CQuendalUSBDevice* model_ = nullptr;
    profile::ProfileList list_;
    int kind_ = 0;
    bool foldersSet_ = false;
};

}  // namespace ui
