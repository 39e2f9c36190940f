#include "app/entry.h"

#include <cstdio>

namespace app {

int RunEntry(const CommandLineOptions& options) {
    // FIXME: the entry sequence is being built; for now the options are only acknowledged.
    if (options.demo) std::fputs("brasvik-m402: --demo: no simulated devices yet\n", stderr);
    if (!options.scriptFile.empty())
        std::fputs("brasvik-m402: --script: no UI to script yet\n", stderr);
    return 0;
}

}  // namespace app
