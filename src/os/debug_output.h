#pragma once

#include <string_view>

namespace os {

// The system's debugger output: diagnostic texts that no user sees. They go to standard error when
// the environment variable BRASVIK_DEBUG is "1" and nowhere otherwise. No line end is added;
// callers include one where they want it. Safe from any thread; each call is written whole.
void DebugOutput(std::string_view text);

// Whether debug output is switched on (read once, at the first call).
bool DebugOutputEnabled();

}  // namespace os
