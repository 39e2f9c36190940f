#pragma once

#include <string>

namespace toolkit {
class CControlUI;
}

namespace app {

// The device bar's own controls by skin class name ("DeviceOption", "MpDevicePower"); null for
// other names.
toolkit::CControlUI* CreateDeviceBarControl(const std::string& className);
// The device models by skin class name ("QuendalKeyboardDevice", ...); null for other names.
toolkit::CControlUI* CreateDeviceModel(const std::string& className);

// Registers "CDeviceOptionUI" and "CMpDevicePowerUI" with the global control factory.
void RegisterDeviceBarControls();

}  // namespace app
