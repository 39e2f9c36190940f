#pragma once

#include <stdio.h>
#include <sys/wait.h>

#include <string>

namespace e2e {

// brasvik-sim with the arguments: its exit code, its standard output and error in *out.
inline int Sim(const std::string& args, std::string* out) {
    const std::string command = std::string(BRASVIK_BINARY_DIR) + "/brasvik-sim " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return -1;
    out->clear();
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out->append(buf, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace e2e
