#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "os/event.h"
#include "os/message_loop.h"
#include "os/session_bus.h"

namespace os::testing {

// Another program on the session bus, simulated by a thread with its own loop and connection: it
// publishes one window whose messages go to onMessage (on the peer's thread), and setup may add
// more (command handlers) before it serves.
class BusPeer {
  public:
    using Handler = std::function<LRESULT(uint32_t msg, WPARAM w, LPARAM l)>;

    BusPeer(std::string className, std::string title, Handler onMessage,
            std::function<void(SessionBus&)> setup = {})
        : className_(std::move(className)),
          title_(std::move(title)),
          onMessage_(std::move(onMessage)),
          setup_(std::move(setup)) {
        thread_ = std::thread([this] { Run(); });
        ready_.Wait(10000);
    }
    ~BusPeer() {
        stop_ = true;
        PostMessage(hwnd_, WM_NULL, 0, 0);
        thread_.join();
    }
    HWND hwnd() const { return hwnd_; }

  private:
    void Run() {
        MessageLoop loop;
        SessionBus bus;
        FunctionTarget target(onMessage_);
        hwnd_ = CreateTarget(&target);
        if (bus.Connect(loop)) bus.PublishWindow(hwnd_, className_, title_);
        if (setup_) setup_(bus);
        ready_.Set();
        loop.RunUntil([&] { return stop_.load(); });
        DestroyTarget(hwnd_);
    }

    std::string className_;
    std::string title_;
    Handler onMessage_;
    std::function<void(SessionBus&)> setup_;
    std::thread thread_;
    Event ready_;
    std::atomic<bool> stop_{false};
    std::atomic<HWND> hwnd_{0};
};

}  // namespace os::testing
