#pragma once

// Test support: a private $XDG_DATA_HOME with a device's user data folder in it, removed again at
// the end. Only the profile tests include this header.

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "os/atomic_file.h"
#include "os/folders.h"

namespace profile {

class TempDataFolder {
  public:
    explicit TempDataFolder(const std::string& dataFolderName = "keyboard") {
        if (const char* old = ::getenv("XDG_DATA_HOME")) oldXdg_ = old;
        std::string pattern = os::TempFolder() + "brasvik-profile-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr) root_ = pattern;
        ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
        folder_ = os::LocalAppDataFolder() + "/Brasvik M402/" + dataFolderName + "/";
        os::CreateDirectories(folder_);
    }
    ~TempDataFolder() {
        std::error_code ec;
        if (!root_.empty()) std::filesystem::remove_all(root_, ec);
        if (oldXdg_) {
            ::setenv("XDG_DATA_HOME", oldXdg_->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
    }
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    // The device's user data folder, ending in '/'.
    const std::string& Folder() const { return folder_; }
    std::string Path(const std::string& name) const { return folder_ + name; }

    void WriteText(const std::string& name, const std::string& text) const {
        os::WriteFileAtomically(Path(name), text);
    }
    std::string ReadText(const std::string& name) const {
        std::string text;
        os::ReadWholeFile(Path(name), text);
        return text;
    }
    // Number of entries in the folder: a failed save must leave no temporary file behind.
    std::size_t EntryCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder_)) ++n;
        return n;
    }

    // A factory template as the build lays it out beside the program.
    static std::string TemplatePath(const std::string& dataFolderName) {
        return std::string(BRASVIK_BINARY_DIR) + "/DefaultData/" + dataFolderName + ".Json";
    }

  private:
    std::optional<std::string> oldXdg_;
    std::string root_;
    std::string folder_;
};

}  // namespace profile
