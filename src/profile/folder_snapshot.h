#pragma once

// Test support: every file of a folder with its bytes, to show that an operation refused or
// failed left everything stored as it was. Only the profile tests include this header.

#include <filesystem>
#include <map>
#include <string>

#include "os/atomic_file.h"

namespace profile {

inline std::map<std::string, std::string> FolderSnapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder, ec)) {
        std::string text;
        if (e.is_regular_file()) os::ReadWholeFile(e.path().string(), text);
        files[std::filesystem::relative(e.path(), folder).string()] = text;
    }
    return files;
}

}  // namespace profile
