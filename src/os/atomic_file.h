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

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& contents);

// Keeps a copy of a damaged file beside it, before the program replaces it: at path + ".bad", or,
// when an earlier copy holds that name, at path + ".2.bad", ".3.bad" and so on. An earlier copy is
// never overwritten. Returns the name of the copy, or "" (and error, when given) when none could
// be made.
std::string KeepDamagedCopy(const std::string& path, std::string* error = nullptr);

// Test seam: when set, WriteFileAtomically fails after the temporary file is complete and before
// the rename, as an interrupted save would.
void SetAtomicWriteFailBeforeRenameForTesting(bool fail);

}  // namespace os
