#pragma once

#include <string>
#include <string_view>

namespace os {

// Replaces the file at path with contents so that a reader (or a crash, or a full disk) sees
// either the old file whole or the new file whole: the bytes go to a temporary file in the same
// folder, are flushed to disk, and the temporary file is renamed over the old one. On failure the
// old file is untouched, the temporary file is removed, and error (when given) says why.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         std::string* error = nullptr);

// Creates the file at path with contents, flushed to disk. It never replaces a file: when one is
// there already the result is kExists and nothing is written. A failed write removes what it began.
enum class NewFileResult { kWritten, kExists, kFailed };
NewFileResult WriteNewFile(const std::string& path, std::string_view contents,
                           std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read, with errno telling why (ENOENT for a
// file that is not there).
bool ReadWholeFile(const std::string& path, std::string& contents);

// Test seam: when set, WriteFileAtomically fails after the temporary file is complete and before
// the rename, as an interrupted save would.
void SetAtomicWriteFailBeforeRenameForTesting(bool fail);

}  // namespace os
