#pragma once

#include <string>

namespace os {

// The user's display as the program would find it, without opening a window.
struct DisplayState {
    enum class Kind { kNone, kX11, kWayland };
    Kind kind = Kind::kNone;
    std::string name;               // $DISPLAY or $WAYLAND_DISPLAY
    bool x11 = false;               // an X server (X11, or Xwayland beside Wayland) accepts us
    std::string x11Error;           // why $DISPLAY could not be opened
    std::string waylandError;       // why $WAYLAND_DISPLAY names no compositor
    bool keyCapture = false;        // keys of every window can be watched (XInput 2 on X11)
    std::string keyCaptureVersion;  // "XInput 2.3"
};
DisplayState ProbeDisplay();

}  // namespace os
