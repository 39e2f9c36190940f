#pragma once

namespace app {

// Registers "CDeviceOptionUI" and "CMpDevicePowerUI" with the global control factory.
void RegisterDeviceBarControls();

}  // namespace app
