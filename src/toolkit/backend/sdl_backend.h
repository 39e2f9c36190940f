#pragma once

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

// Whether the SDL backend is installed.
bool SdlBackendInstalled();

// Hit-test results of WM_NCHITTEST that the backend understands.
inline constexpr long HTCLIENT = 1;
inline constexpr long HTCAPTION = 2;

}  // namespace toolkit
