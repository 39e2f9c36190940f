#pragma once

#include "ui/panels/panel_dialogs.h"

namespace app {

// The panels' questions, notices and file choices through the program's message box and file
// dialogs, and the primary screen's size as the main window measured it.
class PanelDialogsApp : public ui::IPanelDialogs {
  public:
    bool Ask(toolkit::HWND owner, int dpi, const std::string& textId) override;
    void Tell(toolkit::HWND owner, int dpi, const std::string& text, bool isTextId) override;
    std::string ChooseFile(toolkit::HWND owner, FileKind kind, bool save,
                           const std::string& proposedName) override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;
};

}  // namespace app
