#pragma once

#include "app/command_line.h"

namespace app {

// The entry sequence: private fonts, registered messages, single instance, resources, the main
// window and its message loop, then the teardown in reverse. Returns the exit code: 0, except for a
// scripted run (--script), which gives 1 after a failing step and 2 when the script cannot be read.
int RunEntry(const CommandLineOptions& options);

}  // namespace app
