#pragma once

// Test support: a private $XDG_DATA_HOME with a device's user data folder in it, removed again at
// the end. Only the profile tests include this header.

#include <filesystem>
#include <string>

#include "os/atomic_file.h"
#include "os/folders.h"
#include "os/testing/temp_user_folders.h"

namespace profile {

class TempDataFolder {
  public:
    explicit TempDataFolder(const std::string& dataFolderName = "keyboard")
        : folder_(os::UserDataFolder() + dataFolderName + "/") {
        os::CreateDirectories(folder_);
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
    os::testing::TempUserFolders home_;  // first: the folder lies in it
    std::string folder_;
};

}  // namespace profile
