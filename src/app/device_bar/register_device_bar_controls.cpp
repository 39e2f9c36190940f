#include "app/device_bar/register_device_bar_controls.h"

#include <new>
#include <string_view>

#include "app/device_bar/device_option_ui.h"
#include "app/device_bar/mp_device_power_ui.h"
#include "device/headset/quendal_de6533_device.h"
#include "device/keyboard/quendal_keyboard_device.h"
#include "device/mouse/quendal_mouse_device.h"
#include "device/mouse_pad/quendal_mouse_pad_device.h"
#include "toolkit/control_factory.h"
#include "toolkit/ui_types.h"

namespace app {

namespace {

template <class Control>
toolkit::CControlUI* Create() {
    return new (std::nothrow) Control;
}

struct Entry {
    std::string_view name;
    toolkit::CControlUI* (*create)();
};

constexpr Entry kBarControls[] = {
    {"DeviceOption", Create<CDeviceOptionUI>},
    {"MpDevicePower", Create<CMpDevicePowerUI>},
};

constexpr Entry kDeviceModels[] = {
    {"QuendalMousePadDevice", Create<device::CQuendalMousePadDevice>},
    {"QuendalDE6533Device", Create<device::CQuendalDE6533Device>},
    {"QuendalMouseDevice", Create<device::CQuendalMouseDevice>},
    {"QuendalKeyboardDevice", Create<device::CQuendalKeyboardDevice>},
};

template <size_t N>
toolkit::CControlUI* CreateFrom(const Entry (&table)[N], const std::string& className) {
    for (const Entry& e : table)
        if (toolkit::EqualsNoCase(className, e.name)) return e.create();
    return nullptr;
}

}  // namespace

toolkit::CControlUI* CreateDeviceBarControl(const std::string& className) {
    return CreateFrom(kBarControls, className);
}

toolkit::CControlUI* CreateDeviceModel(const std::string& className) {
    return CreateFrom(kDeviceModels, className);
}

void RegisterDeviceBarControls() {
    auto& factory = toolkit::CControlFactory::GetInstance();
    factory.RegistControl("CDeviceOptionUI", Create<CDeviceOptionUI>);
    factory.RegistControl("CMpDevicePowerUI", Create<CMpDevicePowerUI>);
}

}  // namespace app
