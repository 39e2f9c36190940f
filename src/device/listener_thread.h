#pragma once

#include <cstdint>
#include <memory>

#include "hid/hid_device.h"
#include "os/messages.h"
#include "os/worker_thread.h"

namespace device {

// What a report on a device's event interface asks for. The listener thread only tells the UI
// thread (a posted message); the device model acts there, so no device state is touched from
// the listener.
struct ListenerAction {
    enum Kind : uint8_t {
        kNone,
        kSync,             // re-read the device: arm the device-bar timer 1002 with delayMs
        kSyncReloadFirst,  // the same, reloading the profile first (keyboard 0xA402)
        kDeviceEvent,      // profile / DPI stage change, see CQuendalUSBDevice::HandleDeviceEvent
        kKeyEvent,         // keyboard key event: key = code low byte, 1 pressed (0x05..) 2 released
        kReactive,         // mouse: restart the reactive preview
        kCounter,          // headset and mouse pad 0x0404: counted, nothing else
    };
    Kind kind = kNone;
    int delayMs = 0;
    const char* text = nullptr;  // debugger output for the event, when it has one
};

// The action table of the event codes, per device kind (1 keyboard, 2 mouse, 3 mouse pad,
// 7 headset; other kinds act on nothing). direct: the device's own event interface rather than
// the receiver's.
ListenerAction ClassifyListenerCode(int deviceKind, uint16_t code, bool direct);

// The message a listener posts to its device's relay target: wParam the action kind in bits 0..7
// and its delay in the bits above, lParam the event code.
inline constexpr uint32_t kListenerActionMessage = os::WM_USER + 0x3A1;

// One listener: a thread that blocks reading input reports from one event interface, forms the
// event code (report bytes 1 low and 2 high; the headset's is the first usage of the report) and
// posts the action to the relay target.
//
// The thread shares only its own state block with this object (the stop event, the interface's
// handle, a copy of its report layout and the relay target), so a thread that outlives Stop
// cannot touch the device. Stopping wakes the blocked read at once: the stop event aborts it, and
// so does closing the interface. A read that fails for any other reason (the interface closed or
// gone) ends the thread too, so Running() turns false and a later Start takes a new thread.
class ListenerThread {
  public:
    ListenerThread() = default;
    ~ListenerThread();
    ListenerThread(const ListenerThread&) = delete;
    ListenerThread& operator=(const ListenerThread&) = delete;

    // Starts listening on the open interface. False when it is not open or a thread runs.
    bool Start(hid::HidDevice& interface, int deviceKind, bool direct, os::HWND relay);
    // Signals the thread to end; the caller may then close the interface.
    void RequestStop();
    // Stops (RequestStop if not done) and waits up to 500 ms, writing the stop text; a thread
    // that has not ended by then is let go.
    uint32_t Stop();
    bool Running() const { return worker_.HasThread() && !worker_.Finished(); }

    static constexpr int kStopTimeoutMs = 500;

    struct Shared;

  private:
    std::shared_ptr<Shared> shared_;
    os::WorkerThread worker_;
};

}  // namespace device
