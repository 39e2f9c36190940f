#pragma once

#include <functional>
#include <memory>
#include <string>

#include "os/messages.h"

namespace os {

// Receives the messages of one target. Runs on the thread whose loop the target belongs to.
class MessageTarget {
  public:
    virtual ~MessageTarget() = default;
    virtual LRESULT HandleMessage(uint32_t msg, WPARAM wParam, LPARAM lParam) = 0;
};

// Adapts a function to a target.
class FunctionTarget : public MessageTarget {
  public:
    using Fn = std::function<LRESULT(uint32_t, WPARAM, LPARAM)>;
    explicit FunctionTarget(Fn fn) : fn_(std::move(fn)) {}
    LRESULT HandleMessage(uint32_t msg, WPARAM w, LPARAM l) override { return fn_(msg, w, l); }

  private:
    Fn fn_;
};

// The message loop of one UI thread. Posted messages, sent messages, timers and watched file
// descriptors are all served by it; between them it sleeps in poll() until the next timer is due
// or something arrives. A thread has at most one loop; nested (modal) loops run through RunUntil.
class MessageLoop {
  public:
    MessageLoop();  // binds the loop to the calling thread
    ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    static MessageLoop* Current();

    // Runs until Quit; returns the exit code given to Quit.
    int Run();

    // Runs until done() is true (checked after each dispatch) or a quit arrives; the quit stays
    // pending so that the outer loop ends too. Returns false when a quit ended it.
    bool RunUntil(const std::function<bool()>& done);

    // Serves everything that is due, waiting at most timeoutMs for something to arrive
    // (0: do not wait). Returns false once a quit has been requested.
    bool RunOnce(int timeoutMs);

    // Asks the loop to end with this exit code (PostQuitMessage).
    void Quit(int exitCode);
    bool QuitRequested() const;
    int ExitCode() const;

    // Watches a file descriptor; cb gets poll()'s revents. Replaces an earlier watch of fd.
    using FdCallback = std::function<void(short revents)>;
    void WatchFd(int fd, short events, FdCallback cb);
    void UnwatchFd(int fd);

    // Runs fn on this loop's thread at the next turn (safe from any thread).
    void PostTask(std::function<void()> fn);

    // Counts the turns in which the loop woke up (for tests that check a quiet loop sleeps).
    uint64_t WakeCount() const;

    struct Impl;
    const std::shared_ptr<Impl>& impl() const { return impl_; }

  private:
    std::shared_ptr<Impl> impl_;
};

// Registers a target with the calling thread's loop (which must exist) and returns its handle.
HWND CreateTarget(MessageTarget* target);
// Unregisters; pending sends to it are answered with 0, its timers end, its posts are dropped.
void DestroyTarget(HWND hwnd);
bool IsTarget(HWND hwnd);

// Queues a message for the target's thread; false when there is no such target.
bool PostMessage(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam);

// Delivers a message and returns the target's result. On the target's own thread the target is
// called at once. From another thread the caller blocks until the target's thread has handled it;
// while blocked, the caller still handles messages sent to its own thread, so two threads sending
// to each other do not deadlock. Returns 0 when there is no target or it goes away meanwhile.
LRESULT SendMessage(HWND hwnd, uint32_t msg, WPARAM wParam, LPARAM lParam);

// Handles the messages other threads have sent to the calling thread's targets and are waiting
// for, and nothing else (no posts, timers or watches). For waits on the UI thread that must not
// leave a sender blocked. Returns how many were handled; 0 on a thread without a loop.
int ServeSentMessages();

// Whether the calling thread is inside a SendMessage call from another thread's target handling.
bool InSendMessage();

// Per-target timers: WM_TIMER with wParam = id every periodMs, in due order. Setting an existing
// id restarts it with the new period. Must be called on the target's thread. Returns id, or 0.
uintptr_t SetTimer(HWND hwnd, uintptr_t id, uint32_t periodMs);
bool KillTimer(HWND hwnd, uintptr_t id);

// PostQuitMessage for the calling thread's loop.
void PostQuitMessage(int exitCode);

// Registered messages: the same name always gives the same number in 0xC000..0xFFFF within this
// process; 0 for an empty name or when the range is full. Numbers are per process: other programs
// learn a message by its name (see the session bus).
uint32_t RegisterWindowMessage(const std::string& name);
// The name a registered number was given, or "" when it was not registered.
std::string RegisteredMessageName(uint32_t msg);
// The number of a name registered in this process, or 0; never registers (for names that
// arrive from other programs).
uint32_t FindRegisteredMessage(const std::string& name);

}  // namespace os
