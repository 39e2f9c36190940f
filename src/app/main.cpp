#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/doctor.h"
#include "app/entry.h"
#include "os/termination_signals.h"

int main(int argc, char** argv) {
    // Before anything else: a quit request from the session arriving while the program starts is
    // kept and answered through the shutdown order once the message loop runs.
    os::BlockTerminationSignals();
    const app::CommandLineOptions options = app::ParseCommandLine(argc, argv);
    if (options.help) {
        std::fputs(app::HelpText("brasvik-m402").c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs(app::VersionText().c_str(), stdout);
        return 0;
    }
    if (options.doctor && options.errors.empty()) return app::RunDoctor(stdout);
    for (const std::string& e : options.errors)
        std::fprintf(stderr, "brasvik-m402: %s\n", e.c_str());
    if (!options.errors.empty()) {
        std::fputs("Try 'brasvik-m402 --help'.\n", stderr);
        return 2;
    }
    return app::RunEntry(options);
}
