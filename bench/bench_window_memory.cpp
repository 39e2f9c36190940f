// What the program costs in resident memory: the real program (brasvik-m402 --demo) started
// with its main window shown on a private X display (Xvfb), the same window hidden to the tray,
// and a headless run for comparison. A script drives the program; it leaves marker files that
// tell this benchmark when to read the program's resident set size (VmRSS, in MB).

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "os/atomic_file.h"
#include "os/event.h"
#include "os/folders.h"
#include "os/testing/xvfb_display.h"

extern char** environ;

namespace {

// VmRSS of a process in MB, or -1 when it cannot be read.
double ResidentMb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return -1;
}

bool WaitForFile(const std::string& path, pid_t pid, int ms) {
    for (int waited = 0; waited < ms; waited += 20) {
        if (os::PathExists(path)) return true;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) return false;
        os::SleepMs(20);
    }
    return false;
}

struct Run {
    double shown = -1;
    double hidden = -1;
    std::string error;
};

// Starts the program on the current display (or headless), reads its size once the main window
// is up and settled, and again after it went to the tray.
Run Measure(const std::string& dir, bool headless) {
    Run run;
    const std::string shown = dir + "/shown.png", hidden = dir + "/hidden.png";
    std::filesystem::remove(shown);
    std::filesystem::remove(hidden);
    const std::string script = dir + "/memory.script";
    std::ofstream(script) << "wait 1500\n"
                          << "screenshot " << shown << "\n"
                          << "wait 3000\n"
                          << "click closebtn\n"
                          << "expect-visible MainWnd no\n"
                          << "wait 1500\n"
                          << "screenshot " << hidden << "\n"
                          << "wait 3000\n"
                          << "quit\n";
    const std::string exe = std::string(BRASVIK_BINARY_DIR) + "/brasvik-m402";
    std::string args[] = {exe, "--demo", "--script", script, "--headless"};
    char* argv[6] = {};
    const int argc = headless ? 5 : 4;
    for (int i = 0; i < argc; ++i) argv[i] = args[i].data();
    pid_t pid = -1;
    if (::posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, environ) != 0) {
        run.error = "cannot start " + exe;
        return run;
    }
    if (WaitForFile(shown, pid, 60000)) {
        os::SleepMs(2000);
        run.shown = ResidentMb(pid);
    }
    if (WaitForFile(hidden, pid, 60000)) {
        os::SleepMs(2000);
        run.hidden = ResidentMb(pid);
    }
    if (run.shown < 0 || run.hidden < 0) run.error = "the program did not reach its markers";
    int status = 0;
    for (int i = 0; i < 1500 && ::waitpid(pid, &status, WNOHANG) != pid; ++i) os::SleepMs(20);
    if (::kill(pid, 0) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return run;
}

class Folder {
  public:
    Folder() {
        char tmpl[] = "/tmp/brasvik-memory-XXXXXX";
        path_ = ::mkdtemp(tmpl);
        ::setenv("XDG_DATA_HOME", (path_ + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (path_ + "/config").c_str(), 1);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void BM_ProgramResidentMemory(benchmark::State& state) {
    Folder folder;
    os::testing::XvfbDisplay xvfb;
    if (!xvfb.ok()) {
        state.SkipWithError(("no X display: " + xvfb.error()).c_str());
        return;
    }
    Run window, headless;
    for (auto _ : state) {
        window = Measure(folder.path(), false);
        headless = Measure(folder.path(), true);
    }
    if (!window.error.empty() || !headless.error.empty()) {
        state.SkipWithError((window.error + " " + headless.error).c_str());
        return;
    }
    state.counters["window_shown_MB"] = window.shown;
    state.counters["window_in_tray_MB"] = window.hidden;
    state.counters["headless_MB"] = headless.shown;
}
BENCHMARK(BM_ProgramResidentMemory)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
