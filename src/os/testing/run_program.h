#pragma once

#include <string>
#include <vector>

namespace os::testing {

// Runs a program (args[0], looked up in PATH when it has no '/') with this process's
// environment and waits for it. Its standard output and error go together into outFile and come
// back in output.
struct ProgramRun {
    int exitCode = -1;  // 128 + the signal when one ended it; -1 when it could not start
    std::string output;
};
ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& outFile);

// Whether a program of that name is installed in the usual folders.
bool HaveProgram(const std::string& name);

}  // namespace os::testing
