#pragma once

#include <string>
#include <vector>

namespace os {

// Makes a font file available to this process only (its fontconfig application fonts), so that
// text can name its family. False when the file is missing or not a font.
bool AddPrivateFont(const std::string& path);

// Starts another program, detached from this one, with arguments and a working folder (empty:
// this program's). False when it cannot be started.
bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingFolder = {});

}  // namespace os
