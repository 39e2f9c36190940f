#pragma once

#include <vector>

#include "os/message_loop.h"

namespace app {

class CDeviceOptionUI;

// One timer for the live-colour pushes of every device-bar item. Each item keeps its own period
// (a whole number of ticks: 5 ms on cable, 20 ms through the receiver); the items are served in
// the same turn of the loop, so four animating devices wake the UI thread 200 times a second
// instead of 800. The timer runs only while an item is armed. UI thread only.
class LiveColourTicker : public os::MessageTarget {
  public:
    static constexpr uint32_t kTickMs = 5;

    LiveColourTicker() = default;
    ~LiveColourTicker() override;
    LiveColourTicker(const LiveColourTicker&) = delete;
    LiveColourTicker& operator=(const LiveColourTicker&) = delete;

    // The items that may arm: each learns when the ticker goes, and tells it when it goes.
    void Attach(CDeviceOptionUI* item);
    void Forget(CDeviceOptionUI* item);

    // Serves the item every periodMs (rounded to whole ticks, at least one), counting from now;
    // an armed item starts its count again with the new period.
    void Arm(CDeviceOptionUI* item, int periodMs);
    void Disarm(CDeviceOptionUI* item);
    bool Armed(const CDeviceOptionUI* item) const;
    bool Running() const { return running_; }

    // One tick: serves the items whose period has come round.
    void Tick();

    os::LRESULT HandleMessage(uint32_t msg, os::WPARAM w, os::LPARAM l) override;

  private:
    struct Member {
        CDeviceOptionUI* item;
        int every;  // ticks between two pushes
        int count;  // ticks since the last one
    };
    void UpdateTimer();

    std::vector<CDeviceOptionUI*> attached_;
    std::vector<Member> members_;
    std::vector<CDeviceOptionUI*> due_;
    os::HWND target_ = 0;
    bool running_ = false;
};

}  // namespace app
