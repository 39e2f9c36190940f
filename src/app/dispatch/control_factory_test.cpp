#include "app/dispatch/control_factory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "toolkit/control_factory.h"
#include "toolkit/control_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/testing/skin_fixture.h"
#include "ui/controls/register_custom_controls.h"

namespace app::dispatch {
namespace {

// The window's side of the skin builder: every unknown class goes to the factory.
class FactoryCallback : public toolkit::IDialogBuilderCallback {
  public:
    explicit FactoryCallback(toolkit::CPaintManagerUI& pm) : pm_(pm) {}
    toolkit::CControlUI* CreateControl(const std::string& className) override {
        return CreateSkinControl(className, this, &pm_);
    }

  private:
    toolkit::CPaintManagerUI& pm_;
};

class ControlFactoryTest : public toolkit::testing::SkinFixture {
  protected:
    void SetUp() override {
        SkinFixture::SetUp();
        ui::RegisterCustomControls();
    }
    toolkit::CPaintManagerUI pm_;
    FactoryCallback callback_{pm_};
};

TEST_F(ControlFactoryTest, ShortNamesMakeTheRegisteredControls) {
    struct Case {
        const char* name;
        const char* cls;
    } cases[] = {
        {"CircleProgress", "CircleProgress"},
        {"circleprogress", "CircleProgress"},
        {"SELECTPANEL", "SelectPanel"},
        {"DeviceKeyButton", "DeviceKeyButton"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<toolkit::CControlUI> control(callback_.CreateControl(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->GetClass(), c.cls) << c.name;
    }
    EXPECT_EQ(callback_.CreateControl("NoSuchClass"), nullptr);
    EXPECT_EQ(callback_.CreateControl(""), nullptr);
}

TEST_F(ControlFactoryTest, SubtreesAreBuiltFromTheirSkinWithNestedNamesResolvedHere) {
    WriteFile("XML/CustomControlXML/LightControl.xml", R"(<Window>
  <VerticalLayout name="light_root">
    <CircleProgress name="light_ring"/>
  </VerticalLayout>
</Window>)");
    std::unique_ptr<toolkit::CControlUI> root(callback_.CreateControl("lightsetcontrolui"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "light_root");
    toolkit::CControlUI* ring = pm_.FindSubControlByName(root.get(), "light_ring");
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->GetClass(), "CircleProgress");

    // A subtree whose skin is missing or broken gives nothing, and no crash.
    EXPECT_EQ(callback_.CreateControl("MacroSetControlUI"), nullptr);
    WriteFile("XML/CustomControlXML/MacroControl.xml", "<Window><VerticalLayout>");
    EXPECT_EQ(callback_.CreateControl("MacroSetControlUI"), nullptr);
}

TEST_F(ControlFactoryTest, ClassesNotRegisteredYet) {
    std::string missing;
    for (const ObjectClass& row : ObjectClasses()) {
        std::unique_ptr<toolkit::CControlUI> control(
            toolkit::CControlFactory::GetInstance().CreateControl(std::string(row.registered)));
        if (control == nullptr)
            missing += "\n  " + std::string(row.className) + " -> " + std::string(row.registered);
    }
    // FIXME: the device models register CQuendalKeyboardDevice, CQuendalMouseDevice,
    // CQuendalMousePadDevice and CQuendalDE6533Device; the panels and the combo element theirs.
    if (!missing.empty()) GTEST_SKIP() << "skin classes without a registered control:" << missing;
}

}  // namespace
}  // namespace app::dispatch
