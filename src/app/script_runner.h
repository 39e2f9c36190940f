#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "os/message_loop.h"

namespace app {

// One step of a UI script.
struct ScriptStep {
    int line = 0;        // 1-based line in the script
    std::string source;  // the line as written, trimmed
    std::string verb;    // "click", "wait", ...
    std::string name;    // control name or window class ("" when the step has none)
    int nameIndex = -1;  // NAME[N]: the N-th control of that name in tree order; -1: the first
    std::string text;    // text, key, index, milliseconds, path or yes/no
    uint32_t key = 0;    // "key": the key code
    int number = 0;      // "select": the index; "wait": milliseconds; "value": the value
    bool yes = false;    // "expect-visible", "wait-visible"
};

// Reads a script: one step a line, blank lines and lines starting with "#" skipped. False with
// "line N: reason" in *error at the first line that is not a step.
bool ParseScript(const std::string& text, std::vector<ScriptStep>* steps, std::string* error);

// The key code a "key" step names ("Return", "Escape", "Tab", "Left", "F5", "A", "0x41", ...);
// 0 when it names none.
uint32_t ScriptKeyCode(const std::string& name);

// Runs a script against the program's windows from the UI thread's message loop: one step per
// turn of the loop, waits as timers, so that timers and device traffic go on meanwhile. A step
// that opens a modal window (a message box) does not stop the script: the next steps run inside
// that window's loop and can answer it. When the last step or "quit" has run, or a step fails,
// onEnd gets the exit code (0, or 1 after a failure, whose reason went to standard error with the
// script's name and the step's line).
class ScriptRunner : public os::MessageTarget {
  public:
    // How long "window" waits for a shown window of the class.
    static constexpr int kWindowWaitMs = 20000;
    // How long "wait-visible" and "wait-text" wait for their state, and how often they look.
    static constexpr int kStateWaitMs = 15000;
    static constexpr int kStatePollMs = 50;

    ScriptRunner(std::string scriptName, std::vector<ScriptStep> steps,
                 std::function<void(int exitCode)> onEnd);
    ~ScriptRunner() override;

    // Registers with the calling thread's loop and queues the first step.
    bool Start();
    bool finished() const { return finished_; }
    int exitCode() const { return exitCode_; }
    // The failure text (without the script name), empty while nothing failed.
    const std::string& failure() const { return failure_; }

    os::LRESULT HandleMessage(uint32_t msg, os::WPARAM wParam, os::LPARAM lParam) override;

  private:
    void RunNext();
    void QueueNext();
    // Runs one step; false (with the reason in *why) when it failed.
    bool Run(const ScriptStep& step, std::string* why);
    bool ResolveWindow(const std::string& className);
    // "wait-visible", "wait-text": true once the state is there (or, with *why, it never came).
    bool StateReached(const ScriptStep& step, std::string* why);
    void Fail(const ScriptStep& step, const std::string& why);
    void Finish(int exitCode);

    std::string scriptName_;
    std::vector<ScriptStep> steps_;
    std::function<void(int)> onEnd_;
    os::HWND self_ = 0;
    size_t next_ = 0;
    os::HWND window_ = 0;  // the window the steps address
    std::string windowClass_ = "MainWnd";
    int windowWaitedMs_ = 0;
    int stateWaitedMs_ = 0;
    bool finished_ = false;
    int exitCode_ = 0;
    std::string failure_;
};

}  // namespace app
