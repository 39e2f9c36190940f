#include "os/debug_output.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace os {

bool DebugOutputEnabled() {
    static const bool enabled = [] {
        const char* v = std::getenv("BRASVIK_DEBUG");
        return v != nullptr && std::strcmp(v, "1") == 0;
    }();
    return enabled;
}

void DebugOutput(std::string_view text) {
    if (!DebugOutputEnabled() || text.empty()) return;
    std::string line(text);
    if (line.back() != '\n') line += '\n';
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    const char* p = line.data();
    size_t left = line.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0) return;
        p += n;
        left -= static_cast<size_t>(n);
    }
}

}  // namespace os
