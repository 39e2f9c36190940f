// The four shipped device pages, built as the main window builds them and bound by the device
// model: every key and LED button the models count on is there, in the picture, under the names
// they look for; the function tabs show the page's panels; and the pages fit the main window's
// page area. Each page is also written as a picture at 96 and 144 DPI in English and Chinese
// into build/screenshots/pages/ for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/quendal_usb_device.h"
#include "os/message_loop.h"
#include "toolkit/backend/headless_backend.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/driver_window.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/test_driver.h"
#include "toolkit/testing/shipped_skin_session.h"
#include "toolkit/timer_service.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/panels/lighting/light_control_ui.h"
#include "ui/panels/profile/device_profile_ui.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using toolkit::CControlUI;
using toolkit::UiRect;

struct PageCase {
    const char* file;               // under the skin folder
    const char* rootClass;          // the device model's skin class
    int kind;                       // device kind
    int keys;                       // key buttons the model binds
    int leds;                       // LED buttons the model binds
    std::vector<std::string> tabs;  // the page's function tabs, in order
    const char* background;         // the window background shown behind the page
};

const std::vector<PageCase>& Pages() {
    static const std::vector<PageCase> pages = {
        {"XML\\DeviceXml\\keyboarddevice_7322.xml",
         "QuendalKeyboardDevice",
         1,
         170,
         170,
         {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab"},
         "main/background_kb.png"},
        {"XML\\DeviceXml\\mousedevice.xml",
         "QuendalMouseDevice",
         2,
         11,
         15,
         {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab", "cursor_Op_tab",
          "otherset_Op_tab"},
         "main/background_ms.png"},
        {"XML\\DeviceXml\\mousepaddevice.xml",
         "QuendalMousePadDevice",
         3,
         0,
         15,
         {"deng_Op_tab"},
         "main/background_kb.png"},
        {"XML\\DeviceXml\\de6533device.xml",
         "QuendalDE6533Device",
         7,
         0,
         13,
         {"deng_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"},
         "main/background_ms.png"},
    };
    return pages;
}

const std::vector<std::string> kAllTabs = {
    "deng_Op_tab",       "key_Op_tab",   "macro_Op_tab",      "system_Op_tab",  "cursor_Op_tab",
    "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab", "otherset_Op_tab"};

// The main window's page area at 96 DPI.
constexpr int kPageWidth = 964;
constexpr int kPageHeight = 438;

class DevicePagesTest : public ::testing::TestWithParam<size_t> {
  protected:
    void SetUp() override { session_.Begin(); }
    void TearDown() override { session_.End(driver_, window_); }

    const PageCase& Page() const { return Pages()[GetParam()]; }

    // A window holding the page in an area of the main window's page size; the page's root is
    // the base device model, which stands in for the four derived models.
    bool Open(const PageCase& page, int dpi, const std::string& language) {
        std::string skin =
            "<Window size=\"" + std::to_string(kPageWidth + 36) + "," +
            std::to_string(kPageHeight + 28) +
            "\"><VerticalLayout name=\"root\" bkcolor=\"#FF15171B\" bkimage=\"file='" +
            page.background + "'\" inset=\"18,14,18,14\"><Include source=\"" + page.file +
            "\"/></VerticalLayout></Window>";
        window_ = std::make_unique<toolkit::DriverWindow>(skin);
        window_->SetControlCreator([&page, this](const std::string& name) -> CControlUI* {
            // The custom classes of the pages by their skin names, as the main window's control
            // factory creates them.
            if (name == "SelectPanel") return new ui::CSelectPanelUI;
            if (name == "DeviceKeyButton") return new ui::CDeviceKeyButtonUI;
            if (name == "LightControl") return new ui::CLightControlUI;
            if (name == "DeviceProfile") return new ui::CDeviceProfileUI;
            if (name != page.rootClass) return nullptr;
            model_ = new device::CQuendalUSBDevice;
            return model_;
        });
        auto& res = toolkit::CResourceManager::GetInstance();
        if (!res.LoadLanguage(language)) {
            ADD_FAILURE() << "cannot load " << language;
            return false;
        }
        if (window_->Create(0, "page", toolkit::UI_WNDSTYLE_DIALOG | toolkit::WS_VISIBLE, 0, 0, 0,
                            kPageWidth + 36, kPageHeight + 28) == 0 ||
            model_ == nullptr) {
            ADD_FAILURE() << "page not built: " << window_->GetBuildError();
            return false;
        }
        if (dpi != 96) window_->GetPaintManager().SetDPI(dpi);
        driver_ = std::make_unique<toolkit::UiTestDriver>(*window_, window_->GetPaintManager());
        // As the main window does when it builds the page.
        model_->SetDeviceKind(page.kind);
        model_->SetPageName(page.file);
        model_->SetKeyCount(page.keys);
        model_->SetLedCount(page.leds);
        model_->SetLightControlName("tilmo_light");
        model_->BindPageControls();
        model_->SetBatteryCapable(page.kind == 1 || page.kind == 2);
        driver_->Render();
        return true;
    }

    CControlUI* Find(const std::string& name) const { return driver_->Find(name); }

    // Lights the LEDs as a running colour wave would: the colour follows the LED's place from
    // left to right across the picture.
    void LightUp() {
        const UiRect& picture = Find("SelectPanel")->GetPos();
        for (CControlUI* led : model_->ledButtons()) {
            auto* button = dynamic_cast<ui::CDeviceKeyButtonUI*>(led);
            if (button == nullptr || !led->IsVisible()) continue;
            const double x = (led->GetPos().left - picture.left) /
                             static_cast<double>(std::max(1, picture.GetWidth()));
            button->SetLightOverlay(WheelColour(x), 255, true);
        }
        Find("SelectPanel")->Invalidate();
        driver_->Render();
    }

    // 0xRRGGBB of the colour wheel at position 0..1 (red, yellow, green, cyan, blue, magenta).
    static uint32_t WheelColour(double position) {
        const double h = std::clamp(position, 0.0, 1.0) * 5.0;
        const int sector = std::min(4, static_cast<int>(h));
        const double f = h - sector;
        const auto c = [](double v) { return static_cast<uint32_t>(std::lround(v * 255)); };
        constexpr double kCorners[6][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                           {0, 1, 1}, {0, 0, 1}, {1, 0, 1}};
        const auto mix = [&](int ch) {
            return kCorners[sector][ch] + (kCorners[sector + 1][ch] - kCorners[sector][ch]) * f;
        };
        const double r = mix(0), g = mix(1), b = mix(2);
        return (c(r) << 16) | (c(g) << 8) | c(b);
    }

    toolkit::testing::ShippedSkinSession session_;
    std::unique_ptr<toolkit::DriverWindow> window_;
    std::unique_ptr<toolkit::UiTestDriver> driver_;
    device::CQuendalUSBDevice* model_ = nullptr;
};

// "XML\\DeviceXml\\mousedevice.xml" -> "mousedevice"
std::string Stem(const std::string& resource) {
    const std::string file = resource.substr(resource.find_last_of('\\') + 1);
    return file.substr(0, file.rfind('.'));
}

bool Inside(const UiRect& inner, const UiRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const UiRect& a, const UiRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST_P(DevicePagesTest, TheModelBindsEveryKeyAndLedOfThePicture) {
    const PageCase& page = Page();
    ASSERT_TRUE(Open(page, 96, "lan_en.xml"));
    CControlUI* panel = Find("SelectPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetClass(), "SelectPanel");
    CControlUI* lights = Find("tilmo_light");
    ASSERT_NE(lights, nullptr) << "the LED buttons' container";
    EXPECT_EQ(lights->GetParent(), panel);

    // Every key the model counts is bound, a distinct key button, a direct child of the picture
    // (the rubber band selects only those); every LED sits in the light container.
    std::set<CControlUI*> seen;
    struct Group {
        const char* prefix;
        const std::vector<CControlUI*>& bound;
        int count;
        CControlUI* parent;
    };
    for (const Group& group : {Group{"key_", model_->keyButtons(), page.keys, panel},
                               Group{"light_", model_->ledButtons(), page.leds, lights}}) {
        ASSERT_EQ(group.bound.size(), static_cast<size_t>(group.count)) << group.prefix;
        for (int i = 0; i < group.count; ++i) {
            SCOPED_TRACE(group.prefix + std::to_string(i));
            CControlUI* button = group.bound[i];
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->GetClass(), "DeviceKeyButton");
            EXPECT_EQ(button->GetParent(), group.parent);
            EXPECT_TRUE(seen.insert(button).second);
        }
    }
    // Binding lights every LED button white until the preview colours it.
    for (CControlUI* led : model_->ledButtons()) {
        auto* button = dynamic_cast<ui::CDeviceKeyButtonUI*>(led);
        ASSERT_NE(button, nullptr) << led->GetName();
        EXPECT_TRUE(button->IsOverlayVisible()) << led->GetName();
        EXPECT_EQ(button->GetOverlayColour(), 0xFFFFFFu) << led->GetName();
    }
    // No stray buttons beyond the counts: the next index is not on the page.
    EXPECT_EQ(Find("key_" + std::to_string(page.keys)), nullptr);
    EXPECT_EQ(Find("light_" + std::to_string(page.leds)), nullptr);

    // Shown keys lie in the picture and never on one another; shown LEDs lie in the picture.
    const UiRect& picture = panel->GetPos();
    std::vector<CControlUI*> shownKeys;
    for (CControlUI* key : model_->keyButtons()) {
        if (!key->IsVisible()) continue;
        EXPECT_TRUE(Inside(key->GetPos(), picture)) << key->GetName();
        for (CControlUI* other : shownKeys)
            EXPECT_FALSE(Overlap(key->GetPos(), other->GetPos()))
                << key->GetName() << " overlaps " << other->GetName();
        shownKeys.push_back(key);
    }
    for (CControlUI* led : model_->ledButtons()) {
        if (led->IsVisible()) {
            EXPECT_TRUE(Inside(led->GetPos(), picture)) << led->GetName();
        }
    }
    // A key without a place on the board is hidden and has no area a rubber band could touch.
    for (CControlUI* key : model_->keyButtons())
        if (!key->IsVisible()) {
            EXPECT_TRUE(key->GetPos().IsEmpty()) << key->GetName();
        }
}

TEST_P(DevicePagesTest, KeysTakeClicksAndARubberBandOverThePictureSelectsThemAll) {
    const PageCase& page = Page();
    ASSERT_TRUE(Open(page, 96, "lan_en.xml"));
    // The light container lies over the whole picture: clicks must still reach the keys.
    for (CControlUI* key : model_->keyButtons()) {
        if (!key->IsVisible()) continue;
        window_->ClearNotifications();
        ASSERT_TRUE(driver_->Click(key->GetName())) << driver_->LastError();
        bool clicked = false;
        for (const auto& r : window_->Notifications())
            clicked = clicked || (r.type == "click" && r.sender == key->GetName());
        EXPECT_TRUE(clicked) << key->GetName() << " took no click";
    }
    const UiRect& picture = Find("SelectPanel")->GetPos();
    ASSERT_TRUE(driver_->Drag({picture.left + 1, picture.top + 1},
                              {picture.right - 1, picture.bottom - 1}));
    for (CControlUI* key : model_->keyButtons()) {
        if (key->IsVisible()) {
            EXPECT_TRUE(static_cast<ui::CDeviceKeyButtonUI*>(key)->IsBandSelected())
                << key->GetName();
        }
    }
}

TEST_P(DevicePagesTest, TabsShowTheirPanelAreasAndThePageFitsTheWindow) {
    const PageCase& page = Page();
    ASSERT_TRUE(Open(page, 96, "lan_en.xml"));
    for (const std::string& tab : kAllTabs) {
        const bool has = std::find(page.tabs.begin(), page.tabs.end(), tab) != page.tabs.end();
        CControlUI* option = Find(tab);
        EXPECT_EQ(option != nullptr, has) << tab;
        if (option != nullptr) {
            EXPECT_NE(dynamic_cast<toolkit::COptionUI*>(option), nullptr) << tab;
        }
    }
    auto* function = dynamic_cast<toolkit::CTabLayoutUI*>(Find("device_function_switch"));
    auto* keyFunction = dynamic_cast<toolkit::CTabLayoutUI*>(Find("device_key_function_switch"));
    ASSERT_NE(function, nullptr);
    ASSERT_NE(keyFunction, nullptr);
    EXPECT_EQ(function->GetItemAt(0), keyFunction);

    // Each tab of the page, clicked, brings up a panel area of its own that is shown whole.
    struct TabArea {
        const char* tab;
        int number;
        const char* area;
    };
    const TabArea kAreas[] = {
        {"deng_Op_tab", 1, "device_light_area"},
        {"key_Op_tab", 2, "device_key_area"},
        {"macro_Op_tab", 3, "device_macro_area"},
        {"system_Op_tab", 4, "device_system_area"},
        {"cursor_Op_tab", 5, "device_cursor_area"},
        {"6533_voice_Op_tab", 6, "device_voice_area"},
        {"magic_Op_tab", 7, "device_magic_area"},
        {"Virtual7.1_Op_tab", 8, "device_virtual71_area"},
        {"otherset_Op_tab", 9, "device_otherset_area"},
    };
    const UiRect& root = Find("root")->GetPos();
    for (const TabArea& t : kAreas) {
        if (Find(t.tab) == nullptr) continue;
        SCOPED_TRACE(t.tab);
        ASSERT_TRUE(driver_->Click(t.tab)) << driver_->LastError();
        model_->SetFunctionTab(t.number);  // what the main window's route does on selectchanged
        driver_->Render();
        CControlUI* area = Find(t.area);
        ASSERT_NE(area, nullptr);
        EXPECT_TRUE(area->IsVisible());
        EXPECT_FALSE(area->GetPos().IsEmpty());
        EXPECT_TRUE(Inside(area->GetPos(), root));
        EXPECT_TRUE(static_cast<toolkit::COptionUI*>(Find(t.tab))->IsSelected());
    }
    for (const char* name : {"SelectPanel", "device_profile_area", "device_function_tabs"}) {
        CControlUI* c = Find(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_TRUE(Inside(c->GetPos(), root)) << name;
    }
    // The power display follows the battery flag.
    CControlUI* power = Find("device_power_Layout");
    ASSERT_NE(power, nullptr);
    model_->SetBatteryCapable(1);
    EXPECT_TRUE(power->IsVisible());
    model_->SetBatteryCapable(0);
    EXPECT_FALSE(power->IsVisible());
}

TEST_P(DevicePagesTest, WritesScreenshotsAtBothDpisInEnglishAndChinese) {
    const PageCase& page = Page();
    const fs::path out = fs::path(BRASVIK_BINARY_DIR) / "screenshots" / "pages";
    fs::create_directories(out);
    const std::string stem = Stem(page.file);
    for (int dpi : {96, 144}) {
        for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
            SCOPED_TRACE(std::string(language) + " " + std::to_string(dpi));
            TearDown();
            SetUp();
            ASSERT_TRUE(Open(page, dpi, language));
            LightUp();
            const std::string lang = std::string(language).substr(4, 2);
            const fs::path file = out / (stem + "_" + lang + "_" + std::to_string(dpi) + ".png");
            ASSERT_TRUE(driver_->SavePng(file.string())) << file;
            EXPECT_GT(fs::file_size(file), 0u);
        }
    }
}

std::string PageName(const ::testing::TestParamInfo<size_t>& info) {
    const std::string name = Stem(Pages()[info.param].file);
    return name.substr(0, name.find('_'));
}

INSTANTIATE_TEST_SUITE_P(Shipped, DevicePagesTest, ::testing::Range<size_t>(0, 4), PageName);

}  // namespace
}  // namespace app
