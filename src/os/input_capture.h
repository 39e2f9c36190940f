#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "os/message_loop.h"

namespace os {

// A key of the whole desktop seen by an input capture. linuxKey is the Linux key code (evdev
// KEY_*); X11 key codes are these plus 8.
struct CapturedKey {
    int linuxKey = 0;
    bool down = false;
    bool repeat = false;  // a down while the key is already held (auto-repeat)
    uint32_t timeMs = 0;  // the desktop's event time
};

// A mouse button of the whole desktop. Buttons as X numbers them: 1 left, 2 middle, 3 right,
// 8 back, 9 forward; the wheel (4..7) is never reported.
struct CapturedButton {
    int button = 0;
    bool down = false;
    int x = 0;  // pointer position in screen pixels at the time of the event
    int y = 0;
    uint32_t timeMs = 0;
};

// Receives what a capture sees, on the thread of the loop the capture was started with.
class InputCaptureSink {
  public:
    virtual ~InputCaptureSink() = default;
    virtual void OnCapturedKey(const CapturedKey& key) = 0;
    virtual void OnCapturedButton(const CapturedButton& button) = 0;
};

struct InputCaptureOptions {
    bool keys = true;     // take every key from the other programs (the lock keys still toggle)
    bool buttons = true;  // watch the mouse buttons; they are never taken from anybody
};

// A source of the keys and mouse buttons of the whole desktop while key capture or macro
// recording runs. While started with keys, no other program (this one's own windows included)
// gets a key; the lock keys keep toggling their locks.
class InputCapture {
  public:
    enum class Kind {
        kX11Grab,      // a keyboard grab on a connection of its own, buttons from XInput2
        kFocusWindow,  // no global capture: the program's own window hands its keys over
                       // (os::OfferKeyToFocusCapture)
        kSynthetic,    // events handed in by code (tests)
    };

    virtual ~InputCapture() = default;
    virtual Kind kind() const = 0;
    // One line for the user and the log saying which source this is.
    virtual std::string Describe() const = 0;
    // Whether keys are only seen while a window of this program has the focus.
    virtual bool FocusOnly() const = 0;

    // Starts capturing into sink (replacing an earlier start). False with *error set when the
    // keys cannot be taken; then nothing is captured at all.
    virtual bool Start(MessageLoop& loop, InputCaptureSink* sink, InputCaptureOptions options,
                       std::string* error) = 0;
    // Ends the capture; the keys go to the programs again. Safe to call when not started and
    // from within the sink.
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
};

// The source this desktop offers: the X11 grab when an X display is reachable, otherwise the
// program's own window (Wayland without X, or no display at all).
std::unique_ptr<InputCapture> CreateDesktopInputCapture();

// Ends every capture of the process at once, so that the termination path never leaves the
// desktop's keyboard taken even when the orderly shutdown takes its time. UI thread only.
void ReleaseAllInputCaptures();

// For the sources: the captures that are running (ReleaseAllInputCaptures stops them).
void RegisterActiveCapture(InputCapture* capture);
void UnregisterActiveCapture(InputCapture* capture);

}  // namespace os
