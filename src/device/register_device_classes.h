#pragma once

namespace device {

// Registers the four device models with the global control factory under their class names
// ("CQuendalKeyboardDevice", ...).
void RegisterDeviceClasses();

}  // namespace device
