#include "app/dispatch/control_factory.h"

#include <string>

#include "os/debug_output.h"
#include "toolkit/control_factory.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/ui_types.h"

namespace app::dispatch {

namespace {

constexpr ObjectClass kObjects[] = {
    {"CircleProgress", "CCircleProgressUI"},
    {"SelectPanel", "CSelectPanelUI"},
    {"DeviceKeyButton", "CDeviceKeyButtonUI"},
    {"HandImgButton", "CHandImgButtonUI"},
    {"AudioRecord", "CAudioRecordUI"},
    {"HandImgSelectButton", "CHandImgSelectButtonUI"},
    {"RedioMacroButton", "CRedioMacroButtonUI"},
    {"ComboEditContainerElement", "CComboEditContainerElementUI"},
    {"QuendalMousePadDevice", "CQuendalMousePadDevice"},
    {"QuendalDE6533Device", "CQuendalDE6533Device"},
    {"QuendalMouseDevice", "CQuendalMouseDevice"},
    {"QuendalKeyboardDevice", "CQuendalKeyboardDevice"},
    {"DeviceProfile", "CDeviceProfileUI"},
    {"LightControl", "CLightControlUI"},
    {"MagicControl", "CMagicControlUI"},
    {"Voice6533Control", "CVoice6533ControlUI"},
    {"KeySetControl", "CKeySetControlUI"},
    {"ShootControl", "CShootControlUI"},
    // The device bar's item and power display.
    {"DeviceOption", "CDeviceOptionUI"},
    {"MpDevicePower", "CMpDevicePowerUI"},
};

constexpr SubtreeClass kSubtrees[] = {
    {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
    {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
    {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
    {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
    {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
    {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
    {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
    {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
};

}  // namespace

std::span<const ObjectClass> ObjectClasses() {
    return kObjects;
}

std::span<const SubtreeClass> SubtreeClasses() {
    return kSubtrees;
}

toolkit::CControlUI* CreateSkinControl(std::string_view className,
                                       toolkit::IDialogBuilderCallback* callback,
                                       toolkit::CPaintManagerUI* pm) {
    for (const ObjectClass& row : kObjects) {
        if (!toolkit::EqualsNoCase(row.className, className)) continue;
        toolkit::CControlUI* control =
            toolkit::CControlFactory::GetInstance().CreateControl(std::string(row.registered));
        if (control == nullptr)
            os::DebugOutput("skin class " + std::string(className) + ": " +
                            std::string(row.registered) + " is not registered\n");
        return control;
    }
    for (const SubtreeClass& row : kSubtrees) {
        if (!toolkit::EqualsNoCase(row.className, className)) continue;
        toolkit::CDialogBuilder builder;
        toolkit::CControlUI* root =
            builder.Create(std::string(row.skinFile), "", callback, pm, nullptr);
        if (root == nullptr)
            os::DebugOutput("skin class " + std::string(className) + ": " + builder.GetLastError() +
                            "\n");
        return root;
    }
    return nullptr;
}

}  // namespace app::dispatch
