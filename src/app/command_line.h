#pragma once

#include <string>
#include <vector>

namespace app {

// What the command line asked for. The program takes no arguments of its own in normal use; these
// options serve demo mode, headless runs and scripted UI sessions.
struct CommandLineOptions {
    bool help = false;
    bool version = false;
    bool doctor = false;  // report what the program needs from the machine, then exit
    bool demo = false;
    std::string demoKinds;  // "--demo=kb,ms"; empty means keyboard, mouse, mouse pad, headset
    bool headless = false;
    std::string scriptFile;
    std::vector<std::string> errors;  // unknown options or missing values, one text each
};

CommandLineOptions ParseCommandLine(int argc, const char* const* argv);

// The texts printed for --help and --version.
std::string HelpText(const std::string& programName);
std::string VersionText();

}  // namespace app
