#pragma once

#include <string>
#include <vector>

#include "os/debug_output.h"

namespace device::mouse {

// A problem with values on their way to or from the mouse: to the debug output, and to the
// caller's list when it keeps one.
inline void LogMouseProblem(std::vector<std::string>* notes, const std::string& text) {
    os::DebugOutput("mouse: " + text + "\n");
    if (notes) notes->push_back(text);
}

}  // namespace device::mouse
