#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "os/message_loop.h"
#include "os/messages.h"

namespace os {

// How this program meets other programs of the user's desktop session: the single-instance guard,
// broadcasts of registered messages, finding another program's top-level window by class and
// title, and sending it a registered message or a copy-data record. Everything travels over the
// user's D-Bus session bus (sd-bus); numbers of registered messages are per process, so messages
// cross the bus by their registered names. The wire contract, which the audio companion and the
// game integrations also implement:
//
//   well-known name  "org.brasvik.M402"            owned by the running configuration utility
//   peer names       "org.brasvik.M402.Peer.p<PID>_<N>" owned by every program that publishes
//                    windows (N counts the connections of one process)
//   object path      "/org/brasvik/M402"
//   interface        "org.brasvik.M402.Messages"
//     signal Broadcast(s message, t wParam, x lParam)
//         a registered message for every published top-level window of every program
//     method Find(s className, s title) -> (u hwnd)
//         0 when no published window matches; an empty className or title matches any
//     method Send(u hwnd, s message, t wParam, x lParam) -> (x result)
//     method CopyData(u hwnd, t senderHwnd, t id, ay data) -> (x result)
//         WM_COPYDATA: the record's identifier and bytes (at most kMaxCopyData bytes)
//     method Command(s name, as args) -> (i status, s output)
//         a named command of the program's own tools (the simulator control, for one); status
//         0 is success, 127 an unknown command
//     method Command(s name, as args) -> (i status, s output)
//         a named command of the program's own tools (the simulator control, for one); status
//         0 is success, 127 an unknown command
//
// Only the user's own session bus is used; the bus admits no other user's programs. All of this
// runs on the thread of the loop it is attached to (the UI thread).
class SessionBus {
  public:
    static constexpr const char* kInstanceName = "org.brasvik.M402";
    static constexpr const char* kPeerPrefix = "org.brasvik.M402.Peer.p";
    static constexpr const char* kObjectPath = "/org/brasvik/M402";
    static constexpr const char* kInterface = "org.brasvik.M402.Messages";
    static constexpr size_t kMaxCopyData = 1u << 20;

    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // Connects to the user's session bus and serves it from loop. False when there is no bus; the
    // program then runs on its own (no wake-up of a running instance, no companions).
    bool Connect(MessageLoop& loop);
    bool Connected() const;

    // The single-instance guard. First: this process is the only instance (it holds the instance
    // name, or without a bus a lock on "Brasvik M402.lock" in the runtime folder, for its whole
    // life). AlreadyRunning: another instance holds it.
    enum class Instance { First, AlreadyRunning };
    Instance ClaimSingleInstance();

    // Top-level windows other programs can find and that receive broadcasts.
    void PublishWindow(HWND hwnd, const std::string& className, const std::string& title);
    void UnpublishWindow(HWND hwnd);

    // Posts a registered message to every published window of every program, this one included.
    bool Broadcast(uint32_t registeredMessage, WPARAM wParam, LPARAM lParam);

    // A window of this or another program; hwnd 0 when none was found.
    struct RemoteWindow {
        std::string peer;  // bus name of its program; empty for a window of this process
        HWND hwnd = 0;
        explicit operator bool() const { return hwnd != 0; }
    };
    RemoteWindow FindWindow(const std::string& className, const std::string& title);

    // SendMessage with a time-out: the result, or 0 with *ok false when the window is gone, the
    // message is not registered, or the time-out passed.
    LRESULT SendRegistered(const RemoteWindow& to, uint32_t registeredMessage, WPARAM wParam,
                           LPARAM lParam, int timeoutMs, bool* ok = nullptr);
    LRESULT SendCopyData(const RemoteWindow& to, HWND from, uintptr_t id, const void* data,
                         size_t size, int timeoutMs, bool* ok = nullptr);

    // Named commands that the program's own tools call on the running instance.
    using CommandHandler =
        std::function<int(const std::vector<std::string>& args, std::string& output)>;
    void SetCommandHandler(const std::string& name, CommandHandler handler);
    // Calls a command on the program that owns busName (kInstanceName: the running utility).
    // False when the call did not get through (no bus, no such program, time-out); then output
    // says why.
    bool CallCommand(const std::string& busName, const std::string& name,
                     const std::vector<std::string>& args, int timeoutMs, int* status,
                     std::string* output);

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace os
