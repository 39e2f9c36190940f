#include "os/testing/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "os/atomic_file.h"

extern char** environ;

namespace os::testing {

ProgramRun RunProgram(const std::vector<std::string>& args, const std::string& outFile) {
    ProgramRun r;
    if (args.empty()) return r;
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&fa, 1, 2);
    pid_t pid = -1;
    const bool started = ::posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&fa);
    if (!started) return r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ReadWholeFile(outFile, r.output);
    return r;
}

bool HaveProgram(const std::string& name) {
    for (const char* dir : {"/usr/bin", "/bin", "/usr/local/bin"})
        if (::access((std::string(dir) + "/" + name).c_str(), X_OK) == 0) return true;
    return false;
}

}  // namespace os::testing
