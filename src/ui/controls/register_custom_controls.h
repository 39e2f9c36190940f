#pragma once

namespace ui {

// Registers the program's own control classes with the toolkit's control factory, each under
// its class name ("CCircleProgressUI", ...), so that skin files can name them. Called once at
// start-up before the first window is built; calling it again replaces the same entries.
void RegisterCustomControls();

}  // namespace ui
