#pragma once

#include <string_view>

namespace os {

// The system's debugger output: diagnostic texts that no user sees. They go to standard error when
// the environment variable BRASVIK_DEBUG is "1" and nowhere otherwise. Each text is one line: a
// line end is added when it has none, so that texts never run together. Safe from any thread;
// each call is written whole.
void DebugOutput(std::string_view text);

// Whether debug output is switched on (read once, at the first call).
bool DebugOutputEnabled();

}  // namespace os
