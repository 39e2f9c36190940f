#include "app/panel_dialogs_app.h"

#include "app/app_globals.h"
#include "app/file_dialog.h"
#include "app/msg_wnd.h"

namespace app {

bool PanelDialogsApp::Ask(toolkit::HWND owner, int dpi, const std::string& textId) {
    return ShowMessage(owner, "", textId, dpi, true, CMsgWnd::kConfirmCancel) == 1;
}

void PanelDialogsApp::Tell(toolkit::HWND owner, int dpi, const std::string& text, bool isTextId) {
    ShowMessage(owner, "", text, dpi, isTextId, CMsgWnd::kConfirmOnly);
}

std::string PanelDialogsApp::ChooseFile(toolkit::HWND owner, FileKind kind, bool save,
                                        const std::string& proposedName) {
    const os::FileFilter& filter = kind == FileKind::kMacro   ? kMacroFileFilter
                                   : kind == FileKind::kShoot ? kShootFileFilter
                                                              : kProfileFileFilter;
    return save ? SaveFileDialog(owner, filter, proposedName) : OpenFileDialog(owner, filter);
}

int PanelDialogsApp::ScreenWidth() const {
    return Globals().screenWidth;
}

int PanelDialogsApp::ScreenHeight() const {
    return Globals().screenHeight;
}

}  // namespace app
