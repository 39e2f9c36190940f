#pragma once

#include "app/command_line.h"

namespace app {

// The entry sequence: private fonts, registered messages, single instance, resources, the main
// window and its message loop, then the teardown in reverse. Returns the exit code (always 0).
int RunEntry(const CommandLineOptions& options);

}  // namespace app
