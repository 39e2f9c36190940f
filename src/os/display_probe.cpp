#include "os/display_probe.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <cstdlib>

#include "os/folders.h"

namespace os {

DisplayState ProbeDisplay() {
    DisplayState s;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* x = std::getenv("DISPLAY");
    if (wayland != nullptr && wayland[0] != '\0') {
        // The compositor's socket is a name in the runtime folder, or an absolute path.
        const std::string socket =
            wayland[0] == '/' ? std::string(wayland) : RuntimeFolder() + "/" + wayland;
        if (PathExists(socket)) {
            s.kind = DisplayState::Kind::kWayland;
            s.name = wayland;
        } else {
            s.waylandError = "no compositor socket " + socket;
        }
    }
    if (x != nullptr && x[0] != '\0') {
        if (Display* d = XOpenDisplay(nullptr)) {
            s.x11 = true;
            if (s.kind == DisplayState::Kind::kNone) {
                s.kind = DisplayState::Kind::kX11;
                s.name = x;
            }
            int opcode = 0, event = 0, error = 0;
            int major = 2, minor = 2;
            if (XQueryExtension(d, "XInputExtension", &opcode, &event, &error) &&
                XIQueryVersion(d, &major, &minor) == Success && major >= 2) {
                // Under Wayland the X server sees only keys meant for its own windows.
                s.keyCapture = s.kind == DisplayState::Kind::kX11;
                s.keyCaptureVersion =
                    "XInput " + std::to_string(major) + "." + std::to_string(minor);
            }
            XCloseDisplay(d);
        } else {
            s.x11Error = std::string("cannot open display ") + x;
        }
    }
    return s;
}

}  // namespace os
