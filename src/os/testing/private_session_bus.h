#pragma once

#include <string>

namespace os::testing {

// A private D-Bus session bus for tests: starts dbus-daemon, points DBUS_SESSION_BUS_ADDRESS at
// it for this process (and the programs it starts), and stops it again on destruction.
class PrivateSessionBus {
  public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool ok() const { return !address_.empty(); }
    const std::string& address() const { return address_; }
    const std::string& error() const { return error_; }

  private:
    int pid_ = -1;
    std::string address_;
    std::string error_;
    std::string previous_;
    bool hadPrevious_ = false;
};

}  // namespace os::testing
