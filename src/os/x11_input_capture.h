#pragma once

#include <memory>

#include "os/input_capture.h"

namespace os {

// The X11 source. Keys: a keyboard grab on the root window, taken on a display connection of its
// own, so that the X server drops the grab with that connection whenever this process ends, however
// it ends. The lock keys keep toggling because the server works out the lock state before it hands
// the grabbed key over. Buttons: XInput2 raw button events, which every client that asks gets
// besides the usual delivery, so no click is taken from anybody.
//
// Nothing when no X display can be opened. Under XWayland the compositor lets an X client grab only
// while one of its windows has the focus; FocusOnly says so then.
std::unique_ptr<InputCapture> CreateX11InputCapture();

}  // namespace os
