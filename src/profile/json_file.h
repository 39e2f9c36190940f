#pragma once

#include <json/value.h>

#include <string>

namespace profile {

// Reads and writes the program's JSON files. Every file is JsonCpp's styled text (three-space
// indentation, members in key order), UTF-8 without a byte-order mark, ending in a line end.
class JsonFile {
  public:
    enum class ReadResult {
        kParsed,      // the file held a JSON document (which may be of any type)
        kNoText,      // missing or empty: the caller falls back to its defaults
        kUnparsable,  // the file has text that is not JSON
        // The file is there but could not be read (no permission, an I/O error, a folder). It may
        // hold the user's settings: it must not be written over.
        kUnreadable,
    };

    // The document in the file, or null when the file is missing, unreadable, empty or not JSON.
    // Never throws.
    Json::Value Read(const std::string& path, ReadResult* result = nullptr) const;

    // Keeps a copy of a damaged file beside it (path + ".bad", numbered when earlier copies are
    // there) before the caller replaces it. Returns false, logged, when no copy could be made; the
    // caller must then leave the file alone.
    bool KeepAside(const std::string& path) const;

    // Replaces the file atomically: a failed write leaves the old file whole. Logs the failure and
    // returns false.
    bool Write(const Json::Value& root, const std::string& path) const;

    // The text Write puts into a file.
    static std::string StyledText(const Json::Value& root);
};

}  // namespace profile
