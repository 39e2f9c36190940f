#pragma once

#include <functional>
#include <string>

namespace toolkit {

// The text clipboard the edits copy to and paste from. Without a display it lives in the process
// (so copy and paste work between the program's own edits and in tests); a display backend
// installs handlers that reach the desktop's clipboard.
class CClipboard {
  public:
    using Setter = std::function<void(const std::string&)>;
    using Getter = std::function<std::string()>;

    static void SetText(const std::string& text);
    static std::string GetText();
    // Empty handlers return to the in-process clipboard.
    static void SetHandlers(Setter setter, Getter getter);
};

}  // namespace toolkit
