#include "ui/controls/register_custom_controls.h"

#include <new>

#include "toolkit/control_factory.h"
#include "ui/controls/audio_record_ui.h"
#include "ui/controls/chart_view_ui.h"
#include "ui/controls/circle_progress_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/hand_img_button_ui.h"
#include "ui/controls/hand_img_select_button_ui.h"
#include "ui/controls/redio_macro_button_ui.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/controls/wnd_ui.h"
#include "ui/panels/lighting/light_control_ui.h"
#include "ui/panels/profile/device_profile_ui.h"

namespace ui {

namespace {

// A creator gives null when the control cannot be allocated; the skin builder then reports the
// element instead of the program ending.
template <class Control>
toolkit::CControlUI* Create() {
    return new (std::nothrow) Control;
}

struct Registration {
    const char* className;
    toolkit::CControlUI* (*create)();
};

// In start-up order, then the panels that are built so far; the device models register
// themselves.
constexpr Registration kControls[] = {
    {"CCircleProgressUI", Create<CCircleProgressUI>},
    {"CChartViewUI", Create<CChartViewUI>},
    {"CWndUI", Create<CWndUI>},
    {"CSelectPanelUI", Create<CSelectPanelUI>},
    {"CDeviceKeyButtonUI", Create<CDeviceKeyButtonUI>},
    {"CHandImgButtonUI", Create<CHandImgButtonUI>},
    {"CHandImgSelectButtonUI", Create<CHandImgSelectButtonUI>},
    {"CRedioMacroButtonUI", Create<CRedioMacroButtonUI>},
    {"CAudioRecordUI", Create<CAudioRecordUI>},
    {"CLightControlUI", Create<CLightControlUI>},
    {"CDeviceProfileUI", Create<CDeviceProfileUI>},
};

}  // namespace

void RegisterCustomControls() {
    auto& factory = toolkit::CControlFactory::GetInstance();
    for (const Registration& entry : kControls)
        factory.RegistControl(entry.className, entry.create);
}

}  // namespace ui
