#pragma once

#include <string>

#include "toolkit/ui_types.h"

namespace ui {

// What the panels of a device page ask of the application window: the program's message box,
// its open and save dialogs and the screen size the device settings are written with. The
// application installs its implementation once at start-up; until then (and in programs without
// one) questions are answered "no", notices go to the debug output and no file is chosen, so a
// panel never acts on an answer nobody gave.
class IPanelDialogs {
  public:
    // File kinds of the open and save dialogs.
    enum class FileKind { kProfile, kMacro, kShoot };

    virtual ~IPanelDialogs() = default;
    // A question with OK and Cancel; true for OK. textId is a language text id.
    virtual bool Ask(toolkit::HWND owner, int dpi, const std::string& textId) = 0;
    // A notice with OK only. With isTextId the text is a language text id, else shown as it is.
    virtual void Tell(toolkit::HWND owner, int dpi, const std::string& text, bool isTextId) = 0;
    // The path chosen in an open (or save) dialog; empty when the user cancelled.
    virtual std::string ChooseFile(toolkit::HWND owner, FileKind kind, bool save,
                                   const std::string& proposedName) = 0;
    // The primary screen's width and height.
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};

// The installed implementation, or the one that answers "no" (never null). Set null to go back.
IPanelDialogs& PanelDialogs();
void SetPanelDialogs(IPanelDialogs* dialogs);

}  // namespace ui
