#pragma once

// Test support: a private $XDG_DATA_HOME with the program's user data folder in it. The value the
// variable had comes back, and the folder is removed, when the object goes.

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "os/folders.h"

namespace os::testing {

class TempDataHome {
  public:
    TempDataHome() {
        if (const char* old = ::getenv("XDG_DATA_HOME")) old_ = old;
        std::string pattern = TempFolder() + "brasvik-data-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) root_ = pattern;
        ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
        UserDataFolder(true);
    }
    ~TempDataHome() {
        std::error_code ec;
        if (!root_.empty()) std::filesystem::remove_all(root_, ec);
        if (old_) {
            ::setenv("XDG_DATA_HOME", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;

    // The folder $XDG_DATA_HOME names, without a trailing '/'.
    const std::string& Root() const { return root_; }

  private:
    std::optional<std::string> old_;
    std::string root_;
};

}  // namespace os::testing
