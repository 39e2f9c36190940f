#pragma once

#include <string>
#include <vector>

#include "os/message_loop.h"

namespace os {

// One filter of a file dialog: its label and its patterns ("Profile Files(*.json)", "*.json;").
struct FileFilter {
    std::string label;
    std::string patterns;  // ';'-separated globs
};

enum class FileChooserResult {
    kChosen,
    kCancelled,
    kUnavailable,  // no desktop file chooser answers: the caller shows its own dialog
};

// Asks the desktop's file chooser (the XDG desktop portal on the session bus) for a file to open
// or a name to save under. Runs the loop while the dialog is open (a modal wait: timers and other
// messages go on), and returns when the user has answered. The chosen path is a local path.
FileChooserResult ChooseFile(MessageLoop& loop, bool save, const std::string& title,
                             const std::vector<FileFilter>& filters,
                             const std::string& suggestedName, std::string* path);

// "file:///home/a%20b/x.json" to "/home/a b/x.json"; empty for anything but a local file URI.
std::string LocalPathFromUri(const std::string& uri);

}  // namespace os
