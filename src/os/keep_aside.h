#pragma once

#include <string>

namespace os {

// Keeps a copy of a damaged file beside it before the file is replaced, so that what the user had
// can still be recovered by hand: path + ".bad", or path + ".bad.2", ".bad.3", ... when earlier
// copies are there. An earlier copy is never replaced. Returns the copy's path; empty when the
// file could not be read or copied, with error (when given) saying why.
std::string KeepAside(const std::string& path, std::string* error = nullptr);

}  // namespace os
