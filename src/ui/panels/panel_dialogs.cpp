#include "ui/panels/panel_dialogs.h"

#include "os/debug_output.h"

namespace ui {

namespace {

class NoDialogs : public IPanelDialogs {
  public:
    bool Ask(toolkit::HWND, int, const std::string& textId) override {
        os::DebugOutput("no message box to ask " + textId + "; taken as Cancel\n");
        return false;
    }
    void Tell(toolkit::HWND, int, const std::string& text, bool) override {
        os::DebugOutput("no message box to show " + text + "\n");
    }
    std::string ChooseFile(toolkit::HWND, FileKind, bool, const std::string&) override {
        os::DebugOutput("no file dialog\n");
        return {};
    }
    int ScreenWidth() const override { return 0; }
    int ScreenHeight() const override { return 0; }
};

NoDialogs g_none;
IPanelDialogs* g_dialogs = nullptr;

}  // namespace

IPanelDialogs& PanelDialogs() {
    return g_dialogs != nullptr ? *g_dialogs : g_none;
}

void SetPanelDialogs(IPanelDialogs* dialogs) {
    g_dialogs = dialogs;
}

}  // namespace ui
