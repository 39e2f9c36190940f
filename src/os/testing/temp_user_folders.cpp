#include "os/testing/temp_user_folders.h"

#include <stdlib.h>

#include <filesystem>

#include "os/folders.h"

namespace os::testing {

namespace {
constexpr const char* kVariables[2] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME"};
constexpr const char* kSubfolders[2] = {"/data", "/config"};
}  // namespace

TempUserFolders::TempUserFolders(const std::string& name) {
    std::string tmpl = TempFolder() + name + "-XXXXXX";
    if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
    for (int i = 0; i < 2; ++i) {
        if (const char* v = ::getenv(kVariables[i])) {
            previous_[i] = v;
            hadPrevious_[i] = true;
        }
        ::setenv(kVariables[i], (path_ + kSubfolders[i]).c_str(), 1);
    }
}

TempUserFolders::~TempUserFolders() {
    for (int i = 0; i < 2; ++i) {
        if (hadPrevious_[i])
            ::setenv(kVariables[i], previous_[i].c_str(), 1);
        else
            ::unsetenv(kVariables[i]);
    }
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

}  // namespace os::testing
