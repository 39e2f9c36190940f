#pragma once

#include <memory>
#include <string>

#include "toolkit/controls/popup_owner_filter.h"
#include "toolkit/window_impl_base.h"

namespace app {

// The skin window opened by the main window's "skinbtn": picture buttons ("skin_image_btn") and
// colour buttons ("skin_color_btn") that restyle every window subscribed to skin changes, two
// pages switched by "skin_image"/"skin_color" in the tab layout "skin_tab", "skin_reset" back to
// the shipped background and "skin_Custom" for a picture of the user's own. Picture choices are
// recorded in "main.ini" of the user data folder (section "SKINIMAGE", keys "FLAGS" and "IMAGE").
// A popup that owns itself; it closes with "closebtn", on losing the focus, or when its owner is
// pressed.
class CSkinFrame : public toolkit::WindowImplBase {
  public:
    static constexpr const char* kIniName = "main.ini";
    static constexpr const char* kResetImage = "common/background.png";

    // Opens the skin window under skinButton of the window owner; when one is open already, it
    // closes instead. Returns the open frame or nullptr.
    static CSkinFrame* Toggle(toolkit::HWND owner, toolkit::CControlUI* skinButton);
    // The open skin window, or nullptr.
    static CSkinFrame* Current();

    // Where the frame goes on the screen: its top edge on the button's bottom edge and its right
    // edge on the button's right edge (button in screen coordinates).
    static toolkit::UiRect Placement(const toolkit::UiRect& buttonOnScreen, toolkit::UiSize frame);

    // Records a picture choice in main.ini of the user data folder.
    static bool RecordSkinImage(const std::string& flags, const std::string& image);

    std::string GetSkinFile() override { return "skin.xml"; }
    std::string GetWindowClassName() const override { return "SkinFrame"; }
    void Notify(toolkit::TNotifyUI& msg) override;
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                         toolkit::LPARAM lParam, bool& handled) override;

  protected:
    CSkinFrame() = default;
    ~CSkinFrame() override;
    void InitWindow() override;
    void OnFinalMessage(toolkit::HWND hwnd) override;
    toolkit::LRESULT OnClose(uint32_t msg, toolkit::WPARAM wParam, toolkit::LPARAM lParam,
                             bool& handled) override;

  private:
    void OnImageButton(toolkit::CControlUI* button);
    void OnColorButton(toolkit::CControlUI* button);
    void OnReset();
    void OnCustom();
    void SelectPage(int page);

    std::unique_ptr<toolkit::CPopupOwnerFilter> m_ownerFilter;
    bool m_bChoosing = false;    // a file dialog runs: the frame stays until it has ended
    bool m_bCloseLater = false;  // asked to close while the file dialog ran
};

}  // namespace app
