#include "app/device_bar/register_device_bar_controls.h"

#include <new>

#include "app/device_bar/device_option_ui.h"
#include "app/device_bar/mp_device_power_ui.h"
#include "toolkit/control_factory.h"

namespace app {

namespace {

template <class Control>
toolkit::CControlUI* Create() {
    return new (std::nothrow) Control;
}

}  // namespace

void RegisterDeviceBarControls() {
    auto& factory = toolkit::CControlFactory::GetInstance();
    factory.RegistControl("CDeviceOptionUI", Create<CDeviceOptionUI>);
    factory.RegistControl("CMpDevicePowerUI", Create<CMpDevicePowerUI>);
}

}  // namespace app
