#include "os/access_check.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "os/folders.h"

namespace os {

namespace {

std::string ModeText(mode_t m) {
    std::string s = S_ISCHR(m) ? "c" : S_ISBLK(m) ? "b" : S_ISDIR(m) ? "d" : S_ISLNK(m) ? "l" : "-";
    const char* rwx = "rwxrwxrwx";
    for (int i = 0; i < 9; ++i) s += (m & (0400 >> i)) ? rwx[i] : '-';
    return s;
}

bool UserInGroup(gid_t gid) {
    if (::getegid() == gid) return true;
    const int n = ::getgroups(0, nullptr);
    if (n <= 0) return false;
    std::vector<gid_t> groups(static_cast<size_t>(n));
    const int got = ::getgroups(n, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<size_t>(i)] == gid) return true;
    return false;
}

}  // namespace

FileAccess CheckAccess(const std::string& path) {
    FileAccess a;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return a;
    a.exists = true;
    a.readable = ::access(path.c_str(), R_OK) == 0;
    a.writable = ::access(path.c_str(), W_OK) == 0;
    a.mode = ModeText(st.st_mode);
    const passwd* pw = ::getpwuid(st.st_uid);
    a.owner = pw != nullptr ? pw->pw_name : std::to_string(st.st_uid);
    const group* gr = ::getgrgid(st.st_gid);
    a.group = gr != nullptr ? gr->gr_name : std::to_string(st.st_gid);
    a.groupMayReadWrite = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP);
    a.inGroup = UserInGroup(st.st_gid);
    return a;
}

bool CanCreateFilesIn(const std::string& folder, std::string* why) {
    std::string probe = folder;
    while (!PathExists(probe)) {
        const size_t slash = probe.find_last_of('/');
        if (slash == std::string::npos || slash == 0) {
            probe = "/";
            break;
        }
        probe.resize(slash);
    }
    if (!IsDirectory(probe)) {
        *why = probe + " is not a folder";
        return false;
    }
    if (probe != folder) {
        // Not there yet: the program creates it on first use.
        if (::access(probe.c_str(), W_OK | X_OK) == 0) return true;
        *why = "cannot be created in " + probe + ": " + std::strerror(errno);
        return false;
    }
    std::string name = folder + "/.brasvik-write-test-XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        *why = std::string("cannot create a file in it: ") + std::strerror(errno);
        return false;
    }
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

std::string UserName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr) return pw->pw_name;
    return "uid " + std::to_string(::geteuid());
}

bool IsSuperuser() {
    return ::geteuid() == 0;
}

}  // namespace os
