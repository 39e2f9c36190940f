// brasvik-sim: drives the simulated devices of a running demo (brasvik-m402 --demo) over the
// session bus. Exit code 0 on success; otherwise the reason goes to standard error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "os/message_loop.h"
#include "os/session_bus.h"
#include "sim/demo.h"

namespace {

constexpr int kTimeoutMs = 10000;

void PrintUsage(FILE* to) {
    std::fputs(
        "Usage: brasvik-sim COMMAND [ARGUMENT]...\n"
        "Drives the simulated devices of a running 'brasvik-m402 --demo'.\n\n",
        to);
    std::fputs(sim::Demo::Usage(), to);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(stdout);
        return 0;
    }
    os::MessageLoop loop;
    os::SessionBus bus;
    if (!bus.Connect(loop)) {
        std::fputs("brasvik-sim: no session bus\n", stderr);
        return 3;
    }
    int status = 0;
    std::string output;
    if (!bus.CallCommand(os::SessionBus::kInstanceName, sim::Demo::kCommandName, args, kTimeoutMs,
                         &status, &output)) {
        std::fprintf(stderr, "brasvik-sim: no running demo answers (%s)\n", output.c_str());
        return 3;
    }
    if (status == 127) {
        std::fputs("brasvik-sim: the running program is not in demo mode\n", stderr);
        return 3;
    }
    std::fputs(output.c_str(), status == 0 ? stdout : stderr);
    return status == 0 ? 0 : (status > 0 && status < 126 ? status : 1);
}
