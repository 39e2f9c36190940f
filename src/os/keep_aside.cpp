#include "os/keep_aside.h"

#include <cerrno>
#include <cstring>

#include "os/atomic_file.h"

namespace os {
namespace {

// Copies beyond this many are not made: a file damaged again and again needs a look by hand, and
// the folder should not fill up with copies meanwhile.
constexpr int kMaxCopies = 100;

}  // namespace

std::string KeepAside(const std::string& path, std::string* error) {
    std::string contents;
    if (!ReadWholeFile(path, contents)) {
        if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
        return {};
    }
    for (int n = 1; n <= kMaxCopies; ++n) {
        const std::string copy = path + ".bad" + (n == 1 ? "" : "." + std::to_string(n));
        switch (WriteNewFile(copy, contents, error)) {
            case NewFileResult::kWritten:
                return copy;
            case NewFileResult::kExists:
                continue;
            case NewFileResult::kFailed:
                return {};
        }
    }
    if (error) *error = "already " + std::to_string(kMaxCopies) + " copies of " + path;
    return {};
}

}  // namespace os
