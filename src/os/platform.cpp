#include "os/platform.h"

#include <fcntl.h>
#include <fontconfig/fontconfig.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "os/debug_output.h"
#include "os/folders.h"

extern char** environ;

namespace os {

bool AddPrivateFont(const std::string& path) {
    if (!PathExists(path)) return false;
    FcConfig* config = FcConfigGetCurrent();
    return config != nullptr &&
           FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(path.c_str())) == FcTrue;
}

bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingFolder) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    // Its own session, so that it lives on when this program ends.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t pid = 0;
    const int r = ::posix_spawnp(&pid, program.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (r != 0) {
        DebugOutput("cannot start " + program + "\n");
        return false;
    }
    // Reap it when it ends, so that it is not left as a zombie of this process.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace os
