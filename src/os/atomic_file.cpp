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

// Writes all of contents to fd and flushes it to disk; name is the file's name for the error.
bool WriteAllAndSync(int fd, std::string_view contents, const std::string& name,
                     std::string* error) {
    const char* p = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (error) *error = ErrnoText("cannot write", name);
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) {
        if (error) *error = ErrnoText("cannot flush", name);
        return false;
    }
    return true;
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

    bool ok = WriteAllAndSync(fd, contents, tmpl, error);
    if (::close(fd) != 0 && ok) {
        if (error) *error = ErrnoText("cannot close", tmpl);
        ok = false;
    }
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

NewFileResult WriteNewFile(const std::string& path, std::string_view contents, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST) return NewFileResult::kExists;
        if (error) *error = ErrnoText("cannot create", path);
        return NewFileResult::kFailed;
    }
    bool ok = WriteAllAndSync(fd, contents, path, error);
    if (::close(fd) != 0 && ok) {
        if (error) *error = ErrnoText("cannot close", path);
        ok = false;
    }
    if (ok) return NewFileResult::kWritten;
    ::unlink(path.c_str());
    return NewFileResult::kFailed;
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
            const int readError = errno;
            ::close(fd);
            errno = readError;
            return false;
        }
        if (n == 0) break;
        contents.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

}  // namespace os
