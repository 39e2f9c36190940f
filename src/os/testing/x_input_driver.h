#pragma once

#include <functional>
#include <string>

#include "os/message_loop.h"

namespace os::testing {

// Serves the loop until done() holds: true then, false after limitMs (a test's safety net, so a
// lost event fails the test instead of hanging it).
bool ServeUntil(MessageLoop& loop, const std::function<bool()>& done, int limitMs = 10000);

// Test support on an X display (an XvfbDisplay): a second X client with a focused window that
// counts the keys and buttons it gets, and the XTest calls that type and click as a user would.
class XClientWindow {
  public:
    XClientWindow();  // a 400 x 300 window at (0, 0), mapped and given the keyboard focus
    ~XClientWindow();
    XClientWindow(const XClientWindow&) = delete;
    XClientWindow& operator=(const XClientWindow&) = delete;

    bool ok() const { return dpy_ != nullptr; }
    // Reads what has arrived so far (after a round trip to the server).
    int KeyPresses();
    int ButtonPresses();
    // Grabs and releases the keyboard as another program would; true when the grab was taken.
    bool GrabKeyboard();
    void UngrabKeyboard();
    // The locked modifiers (LockMask for Caps Lock, Mod2Mask for Num Lock usually).
    unsigned LockedModifiers();

  private:
    void Read();

    void* dpy_ = nullptr;
    unsigned long window_ = 0;
    int keyPresses_ = 0;
    int buttonPresses_ = 0;
};

// XTest input on the display named by $DISPLAY. Key codes are X key codes (Linux key + 8).
class XTestDriver {
  public:
    XTestDriver();
    ~XTestDriver();
    XTestDriver(const XTestDriver&) = delete;
    XTestDriver& operator=(const XTestDriver&) = delete;

    bool ok() const { return dpy_ != nullptr; }
    void Key(unsigned keycode, bool down);
    void Tap(unsigned keycode);
    void Button(unsigned button, bool down);
    void MovePointer(int x, int y);
    // Whether another client's keyboard grab is in the way (tries to grab and lets go again).
    bool KeyboardGrabbed();

  private:
    void* dpy_ = nullptr;
};

}  // namespace os::testing
