#pragma once

#include <string>
#include <vector>

#include "net/update_table.h"
#include "toolkit/window_impl_base.h"

namespace net {

// The about box: the product and the program's version ("software_ver_label"). Skin
// "AboutWnd.xml". Modal over the main window; there is never more than one.
class CAboutWnd : public toolkit::WindowImplBase {
  public:
    explicit CAboutWnd(std::string displayVersion) : m_version(std::move(displayVersion)) {}

    // The open about box, or nullptr.
    static CAboutWnd* Current();

    std::string GetSkinFile() override { return "AboutWnd.xml"; }
    std::string GetWindowClassName() const override { return "AboutWnd"; }
    void Notify(toolkit::TNotifyUI& msg) override;
    toolkit::LRESULT HandleCustomMessage(uint32_t msg, toolkit::WPARAM wParam,
                                         toolkit::LPARAM lParam, bool& handled) override;

    // Puts the translated "software_rev_text" and the version into "software_ver_label".
    void ShowVersion();

    ~CAboutWnd() override = default;

  protected:
    void InitWindow() override;
    void OnFinalMessage(toolkit::HWND hwnd) override;

  private:
    std::string m_version;
};

// Opens the about box over the main window mainWnd, centred, and runs it modally; returns when
// it has closed. When one is open already, nothing happens. The version shown is the display
// version of the table's program row.
void OpenAbout(toolkit::HWND mainWnd, const std::vector<UpdateRow>& table);

}  // namespace net
