#include "device/register_device_classes.h"

#include <new>

#include "device/headset/quendal_de6533_device.h"
#include "device/keyboard/quendal_keyboard_device.h"
#include "device/mouse/quendal_mouse_device.h"
#include "device/mouse_pad/quendal_mouse_pad_device.h"
#include "toolkit/control_factory.h"

namespace device {

namespace {

template <class Device>
toolkit::CControlUI* Create() {
    return new (std::nothrow) Device;
}

struct Registration {
    const char* className;
    toolkit::CControlUI* (*create)();
};

constexpr Registration kDeviceClasses[] = {
    {"CQuendalMousePadDevice", Create<CQuendalMousePadDevice>},
    {"CQuendalDE6533Device", Create<CQuendalDE6533Device>},
    {"CQuendalMouseDevice", Create<CQuendalMouseDevice>},
    {"CQuendalKeyboardDevice", Create<CQuendalKeyboardDevice>},
};

}  // namespace

void RegisterDeviceClasses() {
    auto& factory = toolkit::CControlFactory::GetInstance();
    for (const Registration& entry : kDeviceClasses)
        factory.RegistControl(entry.className, entry.create);
}

}  // namespace device
