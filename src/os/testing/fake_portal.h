#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

#include "os/event.h"

struct sd_bus;
struct sd_bus_message;

namespace os::testing {

// A desktop portal of our own for tests, on the session bus in use (a PrivateSessionBus): it
// answers the file chooser's OpenFile and SaveFile with a Response on the request path, choosing
// uri (or cancelling when it is empty), and records what it was asked as
// "<method> <title> [<filter label> <globs>...]...". With delayMs it takes that long to answer the
// call at all, as a portal that the bus is still starting does.
class FakePortal {
  public:
    explicit FakePortal(std::string uri, int delayMs = 0);
    ~FakePortal();
    FakePortal(const FakePortal&) = delete;
    FakePortal& operator=(const FakePortal&) = delete;

    std::string Asked();
    int Calls() const { return calls_; }
    int Answered() const { return answered_; }

    // Answers one OpenFile or SaveFile call (on the portal's own thread).
    int HandleChoose(sd_bus_message* m);

  private:
    void Run();
    void Answer();

    std::string uri_;
    int delayMs_;
    sd_bus* bus_ = nullptr;
    std::thread thread_;
    Event ready_;
    std::atomic<bool> stop_{false};
    std::atomic<int> calls_{0};
    std::atomic<int> answered_{0};
    std::mutex m_;
    std::string asked_;
    std::string pendingPath_;  // the request whose answer is due
    sd_bus_message* pendingCall_ = nullptr;
    long long dueAtMs_ = 0;
};

}  // namespace os::testing
