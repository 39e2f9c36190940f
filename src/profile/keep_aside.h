#pragma once

#include <string>

namespace profile {

// Moves a damaged list file out of the way before it is rebuilt, so that what it held can still
// be looked at: path becomes path + ".bad", or path + ".bad2", ".bad3" ... when those are taken.
// Returns the name it was kept under, or "" (logged) when it could not be moved; the caller must
// then not write over it.
std::string KeepDamagedListAside(const std::string& path);

}  // namespace profile
