#include "os/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace os {
namespace {

std::string HomeFolder() {
    if (const char* h = std::getenv("HOME"); h != nullptr && h[0] == '/') return h;
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr)
        return pw->pw_dir;
    return "/tmp";
}

std::string XdgFolder(const char* var, const char* fallbackBelowHome) {
    if (const char* v = std::getenv(var); v != nullptr && v[0] == '/') {
        std::string s = v;
        while (s.size() > 1 && s.back() == '/') s.pop_back();
        return s;
    }
    return HomeFolder() + "/" + fallbackBelowHome;
}

}  // namespace

const std::string& ProgramFolder() {
    static const std::string folder = [] {
        std::error_code ec;
        std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) return std::string("./");
        return ProgramFolderOf(exe.parent_path().string());
    }();
    return folder;
}

std::string ProgramFolderOf(const std::string& executableFolder) {
    std::string beside = executableFolder;
    if (beside.empty() || beside.back() != '/') beside += '/';
    // The build tree keeps the data beside the executable; an install keeps the executable in
    // <prefix>/bin and the data in <prefix>/share/brasvik-m402.
    if (PathExists(beside + "skin")) return beside;
    const std::string installed = beside + "../" + kInstalledDataFolder + "/";
    if (IsDirectory(installed + "skin")) {
        std::error_code ec;
        const std::filesystem::path canonical = std::filesystem::canonical(installed, ec);
        return ec ? installed : canonical.string() + "/";
    }
    return beside;
}

std::string LocalAppDataFolder(bool createIfMissing) {
    std::string f = XdgFolder("XDG_DATA_HOME", ".local/share");
    if (createIfMissing) CreateDirectories(f);
    return f;
}

std::string UserDataFolder(bool createIfMissing) {
    std::string f = LocalAppDataFolder() + "/Brasvik M402/";
    if (createIfMissing) CreateDirectories(f);
    return f;
}

std::string DefaultDataFolder() {
    return ProgramFolder() + "DefaultData/";
}

std::string ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string TempFolder() {
    std::string t = "/tmp/";
    if (const char* v = std::getenv("TMPDIR"); v != nullptr && v[0] == '/') {
        t = v;
        if (t.back() != '/') t += '/';
    }
    return t;
}

std::string RuntimeFolder() {
    if (const char* v = std::getenv("XDG_RUNTIME_DIR"); v != nullptr && v[0] == '/') {
        if (IsDirectory(v) && ::access(v, W_OK) == 0) {
            std::string s = v;
            while (s.size() > 1 && s.back() == '/') s.pop_back();
            return s;
        }
    }
    std::string t = TempFolder();
    t.pop_back();
    return t;
}

std::string ResourcePath(std::string name) {
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return IsDirectory(path);
}

}  // namespace os
