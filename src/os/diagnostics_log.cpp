#include "os/diagnostics_log.h"

#include <sys/stat.h>

#include <cstdio>

#include "os/folders.h"

namespace os {

std::string LogFilePath() {
    return UserDataFolder() + "Vorlix.log";
}

std::string FormatLogTimestamp(const std::tm& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d-%02d-%02d-%02d-%02d-%02d:", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

void AppendLogAt(const std::string& path, const std::string& message, const std::tm& localTime) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (f == nullptr) {
        std::fputs("unable to open log file\n", stderr);
        return;
    }
    struct stat st;
    if (::fstat(fileno(f), &st) == 0 && st.st_size > kLogSizeLimit) {
        std::fclose(f);
        f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            std::fputs("unable to open log file\n", stderr);
            return;
        }
    }
    const std::string line = FormatLogTimestamp(localTime) + message + "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

void AppendLog(const std::string& message) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    AppendLogAt(LogFilePath(), message, local);
}

}  // namespace os
