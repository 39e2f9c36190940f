#include "os/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace os {
namespace {

std::atomic<bool> g_failBeforeRename{false};

std::string ErrnoText(const char* what, const std::string& path) {
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// Writes all of contents to fd, flushes it to disk and closes it; name is for the error text.
bool WriteFlushClose(int fd, std::string_view contents, const std::string& name,
                     std::string* error) {
    const char* p = contents.data();
    size_t left = contents.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (error) *error = ErrnoText("cannot write", name);
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) {
        if (error) *error = ErrnoText("cannot flush", name);
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        if (error) *error = ErrnoText("cannot close", name);
        ok = false;
    }
    return ok;
}

}  // namespace

void SetAtomicWriteFailBeforeRenameForTesting(bool fail) {
    g_failBeforeRename = fail;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string* error) {
    std::string tmpl = path + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        if (error) *error = ErrnoText("cannot create a temporary file for", path);
        return false;
    }
    // Keep the permissions of the file being replaced; a new file gets the usual 0644.
    struct stat st;
    ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);

    bool ok = WriteFlushClose(fd, contents, tmpl, error);
    if (ok && g_failBeforeRename) {
        if (error) *error = "interrupted before replacing " + path;
        ok = false;
    }
    if (ok && ::rename(tmpl.c_str(), path.c_str()) != 0) {
        if (error) *error = ErrnoText("cannot replace", path);
        ok = false;
    }
    if (!ok) ::unlink(tmpl.c_str());
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& contents) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    contents.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        contents.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

std::string KeepDamagedCopy(const std::string& path, std::string* error) {
    std::string contents;
    if (!ReadWholeFile(path, contents)) {
        if (error) *error = ErrnoText("cannot read", path);
        return "";
    }
    struct stat st;
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0600;
    constexpr int kMostCopies = 1000;
    for (int n = 1; n <= kMostCopies; ++n) {
        const std::string copy = n == 1 ? path + ".bad" : path + "." + std::to_string(n) + ".bad";
        // O_EXCL: the name is taken only when nothing holds it, even against another writer.
        const int fd = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) {
            if (error) *error = ErrnoText("cannot create", copy);
            return "";
        }
        if (!WriteFlushClose(fd, contents, copy, error)) {
            ::unlink(copy.c_str());
            return "";
        }
        return copy;
    }
    if (error) *error = "too many damaged copies of " + path + " already";
    return "";
}

}  // namespace os
