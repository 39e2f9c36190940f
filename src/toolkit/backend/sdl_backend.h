#pragma once

#include <functional>

#include "os/message_loop.h"

namespace toolkit {

// The display backend on SDL2 (X11 and, through SDL, other desktops). Every window it creates is
// borderless: skins draw their own caption, and the caption area drags the window (the window
// answers WM_NCHITTEST with HTCAPTION there). SDL's events become the window messages the
// toolkit handles, served by the UI thread's message loop, which watches the display connection
// and sleeps while nothing happens.
//
// Installs itself as the backend of every window created afterwards. False when no display can
// be opened (then windows stay headless).
bool InstallSdlBackend(os::MessageLoop& loop);

// Closes the display connection and returns new windows to the headless backend; the
// program's windows must be gone already. (Tests open a display of their own each.)
void UninstallSdlBackend();

// Key capture on a desktop that offers no global capture: while active() holds, the keys of the
// program's own windows go to key() instead of the windows (usage: the key's USB HID keyboard
// usage, which SDL's scan codes are) and their text is dropped; mouse buttons go to button() as
// well (SDL button numbers, screen position) and still reach the windows. Empty functions switch
// it off.
struct OwnKeyCapture {
    std::function<bool()> active;
    std::function<void(int usage, bool down, bool repeat)> key;
    std::function<void(int button, bool down, int x, int y)> button;
};
void SetOwnKeyCapture(OwnKeyCapture capture);

// Whether the SDL backend is installed.
bool SdlBackendInstalled();

// Hit-test results of WM_NCHITTEST that the backend understands.
inline constexpr long HTCLIENT = 1;
inline constexpr long HTCAPTION = 2;

}  // namespace toolkit
