#pragma once

#include <string>
#include <vector>

#include "os/file_chooser.h"
#include "toolkit/ui_types.h"

namespace app {

// The filter pairs of the export and import dialogs.
inline const os::FileFilter kProfileFileFilter{"Profile Files(*.json)", "*.json;"};
inline const os::FileFilter kMacroFileFilter{"Macro Files(*.mac)", "*.mac;"};
inline const os::FileFilter kShootFileFilter{"Shoot Files(*.shoot)", "*.shoot;"};
// The skin window's picture filter, in the "label|patterns|label|patterns||" form.
inline constexpr const char* kSkinPictureFilter = "(*.png) | *.png |(*.*)|*.*||";

// One open or save dialog.
struct FileDialogRequest {
    bool save = false;
    std::vector<os::FileFilter> filters;
    int filterIndex = 1;             // 1-based: the filter shown first
    std::string defaultExt = "*.*";  // added to a saved name that has no extension
    std::string fileName;            // the name proposed in a save dialog
    std::string title;               // empty: "Open" or "Save" in the current language
};

// Where dialogs come from. kAuto: the desktop's file chooser when one answers on the session bus,
// else the program's own dialog; the own dialog alone over a window without a display (the
// headless mode), where a desktop dialog would open out of sight. kDesktopFirst asks the desktop
// whatever the owner; kOwnOnly never does.
enum class FileDialogMode { kAuto, kDesktopFirst, kOwnOnly };
void SetFileDialogMode(FileDialogMode mode);
FileDialogMode GetFileDialogMode();

// Runs the dialog modally over owner (the owner takes no input meanwhile; the loop keeps
// running). Returns the chosen path, empty when the user cancelled.
std::string RunFileDialog(toolkit::HWND owner, const FileDialogRequest& request);

// The usual export (save) and import (open) dialogs with one filter pair, filter index 1 and
// default extension "*.*".
std::string SaveFileDialog(toolkit::HWND owner, const os::FileFilter& filter,
                           const std::string& fileName = "");
std::string OpenFileDialog(toolkit::HWND owner, const os::FileFilter& filter);

// "(*.png) | *.png |(*.*)|*.*||" as filter pairs, labels and patterns trimmed.
std::vector<os::FileFilter> ParseFilterString(const std::string& filter);
// Whether a file name matches one of the ';'-separated globs (case ignored; "*.*" matches all).
bool MatchesFilter(const std::string& fileName, const std::string& patterns);
// The name a save dialog hands back: a name without an extension gets the default extension;
// a wildcard default extension ("*.*") names none, so the chosen filter's first concrete
// pattern gives it instead.
std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt,
                                 const os::FileFilter* filter);

}  // namespace app
