#pragma once

#include <json/value.h>

#include <cstddef>
#include <string>

namespace profile {

// A file the user chose to import (a profile or a macro), read with the checks that come before
// anything is stored: it must be a regular file, small enough for what it claims to be, and hold a
// JSON object. Nothing is read beyond the limit.
struct ImportFile {
    enum class Status {
        kRead,        // text holds the bytes, document the parsed object
        kMissing,     // no such file, or not a regular file (a folder, a device, a pipe)
        kTooLarge,    // larger than the limit
        kUnreadable,  // could not be opened or read
        kNotJson,     // the text is not a JSON object
    };
    Status status = Status::kMissing;
    std::string text;
    Json::Value document;

    bool ok() const { return status == Status::kRead; }
};

// No profile or macro comes near this size; anything larger is not one.
inline constexpr std::size_t kMaxImportBytes = 1024 * 1024;

ImportFile ReadImportFile(const std::string& path, std::size_t maxBytes = kMaxImportBytes);

// Words for the log.
const char* ImportStatusText(ImportFile::Status status);

}  // namespace profile
