#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace os {

// The diagnostics log "Vorlix.log" in the user data folder. Each entry is one line: a local-time
// stamp "YYYY-MM-DD-hh-mm-ss:" followed by the message. A file larger than kLogSizeLimit is emptied
// before the next entry is written, so that entry becomes its first line.
inline constexpr int64_t kLogSizeLimit = 4 * 1024 * 1024;

// The log file's path: local application data + "/Brasvik M402/Vorlix.log".
std::string LogFilePath();

// Appends one entry stamped with the current local time. A log that cannot be opened loses this
// entry only ("unable to open log file" goes to standard error); the caller never sees an error.
// Not locked: its caller serialises the calls.
void AppendLog(const std::string& message);

// The same with a given time (tests) and file.
void AppendLogAt(const std::string& path, const std::string& message, const std::tm& localTime);

// "2026-03-03-09-05-07:" for 9:05:07 on 3 March 2026.
std::string FormatLogTimestamp(const std::tm& localTime);

}  // namespace os
