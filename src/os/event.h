#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace os {

// Results of the waits, with the values the system compares against.
inline constexpr uint32_t kWaitObject0 = 0;          // + index of the signalled event
inline constexpr uint32_t kWaitTimeout = 258;        // nothing signalled within the time-out
inline constexpr uint32_t kWaitFailed = 0xFFFFFFFF;  // bad arguments
inline constexpr int kInfinite = -1;

// A manual-reset or auto-reset event. It is backed by an eventfd, so that the HID and bus layers
// can poll() an event together with a device or socket descriptor: the descriptor is readable
// exactly while the event is signalled.
class Event {
  public:
    explicit Event(bool manualReset = true, bool initiallySet = false);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

    // Waits up to timeoutMs (kInfinite: for ever). An auto-reset event is reset by the wait that
    // sees it. Returns kWaitObject0 or kWaitTimeout.
    uint32_t Wait(int timeoutMs);

    bool manualReset() const { return manualReset_; }
    int fd() const { return fd_; }

    // For waits that poll fd() themselves: takes the signal as a wait would (resets an auto-reset
    // event). False when another waiter took it first.
    bool Consume();

  private:
    int fd_;
    bool manualReset_;
};

// Waits until one of the events is signalled or the time-out passes. Returns kWaitObject0 + the
// index of the first signalled event (consuming it when it is auto-reset), kWaitTimeout, or
// kWaitFailed for an empty or oversized list.
uint32_t WaitForAny(std::span<Event* const> events, int timeoutMs);
inline uint32_t WaitForAny(std::initializer_list<Event*> events, int timeoutMs) {
    return WaitForAny(std::span<Event* const>(events.begin(), events.size()), timeoutMs);
}

// Milliseconds on the monotonic clock.
int64_t MonotonicMs();

// Sleeps for ms milliseconds.
void SleepMs(int ms);

}  // namespace os
