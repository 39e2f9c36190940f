// The lighting panel as the shipped skin builds it, inside a device page whose model records what
// the panel asks of it: the mode layouts per device kind, the lighting change for each event, the
// colour edits and swatches, hidden modes, the synchronisation offer, the palette's coalesced
// writes, the audio colours, and pictures of the panel in the four pages.
#include "ui/panels/lighting/light_control_ui.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/light_catalogue.h"
#include "device/quendal_usb_device.h"
#include "os/message_loop.h"
#include "toolkit/backend/headless_backend.h"
#include "toolkit/controls/color_palette_ui.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/slider_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/driver_window.h"
#include "toolkit/paint_manager_ui.h"
#include "toolkit/resource_manager.h"
#include "toolkit/test_driver.h"
#include "toolkit/testing/shipped_skin_session.h"
#include "toolkit/timer_service.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/panels/lighting/mode_layouts.h"
#include "ui/panels/profile/device_profile_ui.h"

namespace ui {
namespace {

namespace fs = std::filesystem;
using Byte = profile::LightingRecord::Byte;
using Light = device::ILightingPanelView;
using toolkit::CControlUI;

// A device model that keeps its record and writes down the operations the panel calls.
class RecordingDevice : public device::CQuendalUSBDevice {
  public:
    void SetLightingRecord(const profile::LightingRecord& record) override {
        CQuendalUSBDevice::SetLightingRecord(record);
        calls.push_back("SetLightingRecord");
    }
    void SaveProfile() override { calls.push_back("SaveProfile"); }
    int LoadLightingFromProfile() override {
        calls.push_back("LoadLightingFromProfile");
        return 1;
    }
    int WriteDeviceSettings(int slot, int active, int flag, int, int) override {
        calls.push_back("WriteDeviceSettings " + std::to_string(slot) + "," +
                        std::to_string(active) + "," + std::to_string(flag));
        written.push_back(GetLightingRecord());
        return 1;
    }
    void SetAudioLighting(const profile::AudioLightingRecord& record) override {
        CQuendalUSBDevice::SetAudioLighting(record);
        audio.push_back(record);
    }
    void SelectCustomGroup(int group) override {
        calls.push_back("SelectCustomGroup " + std::to_string(group));
    }
    int Writes() const { return static_cast<int>(written.size()); }

    std::vector<std::string> calls;
    std::vector<profile::LightingRecord> written;
    std::vector<profile::AudioLightingRecord> audio;
};

const std::vector<std::string> kChange = {"SetLightingRecord", "SaveProfile",
                                          "LoadLightingFromProfile", "WriteDeviceSettings 0,0,1"};

struct Page {
    const char* file;
    const char* rootClass;
    int kind;
    int variant;
    const char* stem;
};
const Page kPages[] = {
    {"XML\\DeviceXml\\keyboarddevice_7322.xml", "QuendalKeyboardDevice", 1, 0, "keyboard"},
    {"XML\\DeviceXml\\mousedevice.xml", "QuendalMouseDevice", 2, 1, "mouse"},
    {"XML\\DeviceXml\\mousepaddevice.xml", "QuendalMousePadDevice", 3, 2, "mousepad"},
    {"XML\\DeviceXml\\de6533device.xml", "QuendalDE6533Device", 7, 3, "headset"},
};

class LightControlTest : public ::testing::Test {
  protected:
    void SetUp() override { session_.Begin(); }
    void TearDown() override { session_.End(driver_, window_); }

    // The device page with its lighting panel, in a window of the main window's page area; the
    // model has the page's kind and the shipped modes of its light variant.
    bool Open(const Page& page, int dpi = 96, const std::string& language = "lan_en.xml") {
        const std::string skin =
            "<Window size=\"1000,466\"><VerticalLayout name=\"root\" bkcolor=\"#FF15171B\" "
            "inset=\"18,14,18,14\"><Include source=\"" +
            std::string(page.file) + "\"/></VerticalLayout></Window>";
        window_ = std::make_unique<toolkit::DriverWindow>(skin);
        window_->SetControlCreator([&page, this](const std::string& name) -> CControlUI* {
            if (name == "SelectPanel") return new CSelectPanelUI;
            if (name == "DeviceKeyButton") return new CDeviceKeyButtonUI;
            if (name == "LightControl") return new CLightControlUI;
            if (name == "DeviceProfile") return new CDeviceProfileUI;
            if (name != page.rootClass) return nullptr;
            model_ = new RecordingDevice;
            return model_;
        });
        if (!toolkit::CResourceManager::GetInstance().LoadLanguage(language)) {
            ADD_FAILURE() << "cannot load " << language;
            return false;
        }
        if (window_->Create(0, "page", toolkit::UI_WNDSTYLE_DIALOG | toolkit::WS_VISIBLE, 0, 0, 0,
                            1000, 466) == 0 ||
            model_ == nullptr) {
            ADD_FAILURE() << "page not built: " << window_->GetBuildError();
            return false;
        }
        if (dpi != 96) window_->GetPaintManager().SetDPI(dpi);
        driver_ = std::make_unique<toolkit::UiTestDriver>(*window_, window_->GetPaintManager());
        model_->SetDeviceKind(page.kind);
        panel_ = dynamic_cast<CLightControlUI*>(model_->LightingView());
        if (panel_ == nullptr) {
            ADD_FAILURE() << "the page holds no lighting panel";
            return false;
        }
        // As a device model does when it builds its page.
        const device::LightModeList modes = device::BuiltInLightCatalogue(page.variant);
        panel_->SetModeList(modes.names, modes.visible, 4, 4);
        driver_->Render();
        return true;
    }

    // Routes "colorchanged" of the palettes to the panel, as the main window does.
    void RoutePalettes() {
        window_->SetNotifyHook([this](toolkit::TNotifyUI& msg) {
            if (msg.sType != toolkit::DUI_MSGTYPE_COLORCHANGED) return;
            auto* palette = dynamic_cast<toolkit::CColorPaletteUI*>(msg.pSender);
            if (palette == nullptr) return;
            panel_->OnPaletteColour(palette->GetSelectColor(),
                                    palette->GetName() == "deng_audioColor_Pallet");
        });
    }

    CControlUI* Find(const std::string& name) const { return driver_->Find(name); }
    template <class T>
    T* FindAs(const std::string& name) const {
        return driver_->FindAs<T>(name);
    }
    std::string Text(const std::string& name) const {
        CControlUI* c = Find(name);
        return c ? c->GetText() : "<missing " + name + ">";
    }
    static std::string Resolved(const char* id) {
        return toolkit::CResourceManager::GetInstance().GetText(id);
    }
    profile::LightingRecord Record() const { return model_->GetLightingRecord(); }
    void Store(const profile::LightingRecord& record) {
        model_->CQuendalUSBDevice::SetLightingRecord(record);
        model_->calls.clear();
    }

    toolkit::testing::ShippedSkinSession session_;
    std::unique_ptr<toolkit::DriverWindow> window_;
    std::unique_ptr<toolkit::UiTestDriver> driver_;
    RecordingDevice* model_ = nullptr;
    CLightControlUI* panel_ = nullptr;
};

// ---- Mode layouts ----

// A group nested in another group is disabled with it.
const std::map<std::string, std::string> kNestedIn = {
    {"deng_light_layout", "lighteffect_layout"}, {"deng_speed_layout", "lighteffect_layout"},
    {"deng_fx_layout", "lighteffect_layout"},    {"deng_7color_check", "deng_color_layout"},
    {"deng_rgb_layout", "deng_color_layout"},
};

struct Expected {
    std::map<std::string, int> enabled;
    std::map<std::string, int> visible;
    int tab = -1;
    const char* left = nullptr;
    const char* right = nullptr;
};

void Merge(Expected& e, const lighting::ModeLayout& l) {
    const std::pair<const char*, int8_t> enabled[] = {
        {"lighteffect_layout", l.effect}, {"deng_7color_check", l.colourful},
        {"deng_color_layout", l.colour},  {"colorpallet_layout", l.palette},
        {"deng_light_layout", l.bright},  {"deng_speed_layout", l.speed},
        {"deng_fx_layout", l.fx},         {"light_color_layout", l.colourTab},
        {"deng_rgb_layout", l.rgb}};
    for (auto [name, state] : enabled)
        if (state >= 0) e.enabled[name] = state;
    const std::pair<const char*, int8_t> visible[] = {
        {"lightcustom_layout", l.showCustom},
        {"deng_speed_layout", l.showSpeed},
        {"light_combo_ZZCCmodeSelectLayout", l.showZzcc},
        {"light_combo_AudiomodeSelectLayout", l.showAudioMode},
        {"deng_rgb_layout", l.showRgb},
        {"colorpallet_layout", l.showPalette}};
    for (auto [name, state] : visible)
        if (state >= 0) e.visible[name] = state;
    if (l.tab >= 0) e.tab = l.tab;
    if (l.leftLabel) e.left = l.leftLabel, e.right = l.rightLabel;
}

TEST_F(LightControlTest, EveryGroupALayoutChangesIsInTheShippedSkin) {
    ASSERT_TRUE(Open(kPages[0]));
    for (const char* name : lighting::LayoutGroupNames()) EXPECT_NE(Find(name), nullptr) << name;
    for (int n = 0; n < CLightControlUI::kSwatchCount; ++n) {
        EXPECT_NE(Find("color_option_" + std::to_string(n)), nullptr) << n;
        EXPECT_NE(Find("audiocolor_option_" + std::to_string(n)), nullptr) << n;
    }
    EXPECT_EQ(Find("color_option_13"), nullptr);
    // The model hands out the panel its page holds; a model without one hands out none.
    EXPECT_EQ(model_->LightingPanel(), static_cast<device::ILightingPanelView*>(panel_));
    device::CQuendalUSBDevice bare;
    EXPECT_EQ(bare.LightingPanel(), nullptr);
    EXPECT_EQ(bare.LightingView(), nullptr);
}

TEST_F(LightControlTest, EveryRowOfEveryKindsTableSetsItsGroups) {
    ASSERT_TRUE(Open(kPages[0]));
    for (const lighting::KindLayouts& table : lighting::AllKindLayouts()) {
        for (const lighting::ModeLayoutRow& row : table.rows) {
            std::vector<int> modes;
            for (int8_t m : row.modes)
                if (m >= 0) modes.push_back(m);
            if (row.IsOtherwise()) {
                // The first mode no other row covers, and one far beyond every list.
                for (int m = 0; m < 64 && modes.empty(); ++m)
                    if (lighting::RowFor(table.kinds[0], m) == &row) modes.push_back(m);
                modes.push_back(200);
            }
            for (int8_t kind : table.kinds) {
                if (kind < 0) continue;
                for (int mode : modes) {
                    SCOPED_TRACE("kind " + std::to_string(kind) + " mode " + std::to_string(mode));
                    // Start from the opposite of what the row sets, so every change shows.
                    panel_->ShowModeLayout(kind, mode == 17 ? 1 : 17);
                    panel_->ShowModeLayout(kind, mode);
                    Expected e;
                    Merge(e, table.before);
                    Merge(e, row.layout);
                    for (const auto& [name, state] : e.enabled) {
                        bool expect = state != 0;
                        if (auto it = kNestedIn.find(name); it != kNestedIn.end()) {
                            auto parent = e.enabled.find(it->second);
                            if (parent != e.enabled.end() && parent->second == 0) expect = false;
                        }
                        EXPECT_EQ(Find(name)->IsEnabled(), expect) << name;
                    }
                    for (const auto& [name, state] : e.visible)
                        EXPECT_EQ(Find(name)->IsOwnVisible(), state != 0) << name;
                    if (e.tab >= 0) {
                        EXPECT_EQ(
                            FindAs<toolkit::CTabLayoutUI>("light_color_tablayout")->GetCurSel(),
                            e.tab);
                    }
                    if (e.left != nullptr) {
                        EXPECT_EQ(Find("deng_FXL_check")->GetText(), Resolved(e.left));
                        EXPECT_EQ(Find("deng_FXR_check")->GetText(), Resolved(e.right));
                    }
                    EXPECT_FALSE(Find("deng_same_mode")->IsOwnVisible());
                }
            }
        }
    }
}

TEST_F(LightControlTest, KeyboardAndMouseModesShowWhatTheyUse) {
    ASSERT_TRUE(Open(kPages[0]));
    // Keyboard 15: no speed, the extra-mode selector instead.
    panel_->ShowModeLayout(1, 15);
    EXPECT_FALSE(Find("deng_speed_layout")->IsOwnVisible());
    EXPECT_TRUE(Find("light_combo_ZZCCmodeSelectLayout")->IsOwnVisible());
    EXPECT_FALSE(Find("deng_color_layout")->IsEnabled());
    // Its swatches look out of use and still tell their colours.
    EXPECT_LT(Find("color_option_0")->GetBkColor() >> 24, 0xFFu);
    EXPECT_EQ(panel_->GetColourOption(0), 0xFF0000u);
    EXPECT_EQ(panel_->FindColourOption(0xFF, 0, 0xFF), 10);
    // Keyboard 18: the custom lighting group, and the colour to paint keys with.
    panel_->ShowModeLayout(1, 18);
    EXPECT_TRUE(Find("lightcustom_layout")->IsOwnVisible());
    EXPECT_FALSE(Find("light_combo_ZZCCmodeSelectLayout")->IsOwnVisible());
    EXPECT_FALSE(Find("deng_speed_layout")->IsOwnVisible());
    EXPECT_TRUE(Find("deng_color_layout")->IsEnabled());
    EXPECT_TRUE(Find("color_option_3")->IsEnabled());
    EXPECT_EQ(Find("color_option_3")->GetBkColor() >> 24, 0xFFu);
    EXPECT_FALSE(Find("colorpallet_layout")->IsEnabled());
    EXPECT_FALSE(Find("deng_Color_Pallet")->IsEnabled());
    // Keyboard 29: the audio colours and the visualiser.
    panel_->ShowModeLayout(1, 29);
    EXPECT_EQ(FindAs<toolkit::CTabLayoutUI>("light_color_tablayout")->GetCurSel(), 1);
    EXPECT_TRUE(Find("light_combo_AudiomodeSelectLayout")->IsOwnVisible());
    // Mouse 0: the colour group, but no colourful cycle.
    panel_->ShowModeLayout(2, 0);
    EXPECT_TRUE(Find("deng_color_layout")->IsEnabled());
    EXPECT_TRUE(Find("deng_edit_R")->IsEnabled());
    EXPECT_FALSE(Find("deng_7color_check")->IsEnabled());
    EXPECT_FALSE(Find("lightcustom_layout")->IsOwnVisible());
    // A kind without a table leaves the panel as it is.
    panel_->ShowModeLayout(9, 0);
    EXPECT_TRUE(Find("deng_color_layout")->IsEnabled());
    EXPECT_FALSE(Find("deng_7color_check")->IsEnabled());
}

// ---- The lighting change ----

TEST_F(LightControlTest, EveryEventStoresTheRecordSavesReloadsAndWrites) {
    ASSERT_TRUE(Open(kPages[1]));
    profile::LightingRecord start;
    start[Byte::kMode] = 0;
    start[Byte::kColourful] = 1;
    struct Case {
        const char* what;
        std::function<void(CLightControlUI&)> event;
        Byte byte;
        int value;
    };
    const Case cases[] = {
        {"mode", [](CLightControlUI& p) { p.SelectFromList(Light::List::kMode, 3); }, Byte::kMode,
         3},
        {"brightness", [](CLightControlUI& p) { p.SetBrightness(2); }, Byte::kBrightness, 2},
        {"brightness beyond the top", [](CLightControlUI& p) { p.SetBrightness(9); },
         Byte::kBrightness, 4},
        {"speed", [](CLightControlUI& p) { p.SetSpeed(1); }, Byte::kSpeed, 1},
        {"left", [](CLightControlUI& p) { p.SetCheck(Light::Check::kDirectionLeft, true); },
         Byte::kDirection, 1},
        {"colourful off",
         [](CLightControlUI& p) { p.SetCheck(Light::Check::kSevenColours, false); },
         Byte::kColourful, 0},
        {"red typed",
         [](CLightControlUI& p) { p.SetColourChannel(Light::Channel::kRed, false, "17"); },
         Byte::kRed, 17},
        {"extra mode", [](CLightControlUI& p) { p.SelectFromList(Light::List::kZzccMode, 2); },
         Byte::kExtraMode, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Store(start);
        model_->written.clear();
        c.event(*panel_);
        EXPECT_EQ(model_->calls, kChange);
        ASSERT_EQ(model_->Writes(), 1);
        EXPECT_EQ(model_->written[0][c.byte], c.value);
        EXPECT_EQ(Record()[c.byte], c.value);
    }
    // The right direction option: the left one goes off, the record takes 0.
    Store(Record());
    panel_->SetCheck(Light::Check::kDirectionRight, true);
    EXPECT_EQ(Record()[Byte::kDirection], 0);
    EXPECT_TRUE(FindAs<toolkit::COptionUI>("deng_FXR_check")->IsSelected());
    EXPECT_FALSE(FindAs<toolkit::COptionUI>("deng_FXL_check")->IsSelected());
    // The option that lost its selection reports too, and changes nothing.
    model_->calls.clear();
    panel_->SetCheck(Light::Check::kDirectionLeft, false);
    EXPECT_TRUE(model_->calls.empty());
    // A mode outside the list changes nothing.
    panel_->SelectFromList(Light::List::kMode, 11);
    panel_->SelectFromList(Light::List::kMode, -1);
    EXPECT_TRUE(model_->calls.empty());
    // The custom group goes to the model, then saved and written.
    panel_->SelectFromList(Light::List::kCustomMode, 2);
    EXPECT_EQ(model_->calls, (std::vector<std::string>{"SelectCustomGroup 2", "SaveProfile",
                                                       "WriteDeviceSettings 0,0,1"}));
}

TEST_F(LightControlTest, ChoosingAModeFromTheListShowsItsLayoutAndWritesIt) {
    ASSERT_TRUE(Open(kPages[1]));
    // The user opens the list and picks "Spectrum"; the main window routes the choice.
    window_->SetNotifyHook([this](toolkit::TNotifyUI& msg) {
        if (msg.sType == toolkit::DUI_MSGTYPE_ITEMSELECT &&
            msg.pSender->GetName() == "light_combo_modeSelect")
            panel_->SelectFromList(Light::List::kMode, static_cast<int>(msg.wParam));
    });
    auto* combo = FindAs<toolkit::CComboUI>("light_combo_modeSelect");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), 11);
    ASSERT_TRUE(combo->SelectItem(3));
    EXPECT_EQ(combo->GetText(), "Spectrum");
    EXPECT_EQ(model_->calls, kChange);
    EXPECT_EQ(Record()[Byte::kMode], 3);
    EXPECT_FALSE(Find("deng_color_layout")->IsEnabled());  // spectrum has no single colour
}

TEST_F(LightControlTest, ColourEditsClampToAByteAndSwitchTheColourfulCycleOff) {
    ASSERT_TRUE(Open(kPages[1]));
    profile::LightingRecord start;
    start[Byte::kColourful] = 1;
    start[Byte::kRed] = 10, start[Byte::kGreen] = 20, start[Byte::kBlue] = 30;
    struct Case {
        Light::Channel channel;
        const char* typed;
        const char* edit;
        Byte byte;
        int stored;
        const char* shown;
    };
    const Case cases[] = {
        {Light::Channel::kGreen, "300", "deng_edit_G", Byte::kGreen, 255, "255"},
        {Light::Channel::kBlue, "", "deng_edit_B", Byte::kBlue, 0, "0"},
        {Light::Channel::kRed, "0007", "deng_edit_R", Byte::kRed, 7, "7"},
        {Light::Channel::kRed, "99999999999999", "deng_edit_R", Byte::kRed, 255, "255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.edit) + " '" + c.typed + "'");
        Store(start);
        panel_->ShowLighting(start);
        panel_->SetColourChannel(c.channel, false, c.typed);
        EXPECT_EQ(Record()[c.byte], c.stored);
        EXPECT_EQ(Text(c.edit), c.shown);
        EXPECT_EQ(Record()[Byte::kColourful], 0);
        EXPECT_FALSE(FindAs<toolkit::COptionUI>("deng_7color_check")->IsSelected());
        EXPECT_EQ(model_->calls, kChange);
        const profile::LightingRecord r = Record();
        // The colour button shows the colour exactly (the palette as near as its hue and
        // saturation grid allows).
        EXPECT_EQ(Find("deng_colordp_btn")->GetBkColor(),
                  0xFF000000u | (r[Byte::kRed] << 16) | (r[Byte::kGreen] << 8) | r[Byte::kBlue]);
    }
    // Text that is no number is not taken: the field shows the stored value again.
    Store(start);
    panel_->ShowLighting(start);
    panel_->SetColourChannel(Light::Channel::kGreen, false, "1e3");
    EXPECT_TRUE(model_->calls.empty());
    EXPECT_EQ(Record(), start);
    EXPECT_EQ(Text("deng_edit_G"), "20");
}

TEST_F(LightControlTest, SwatchesSetTheColourAndAreFoundByColour) {
    ASSERT_TRUE(Open(kPages[0]));
    std::vector<uint32_t> colours;
    for (int n = 0; n < CLightControlUI::kSwatchCount; ++n) {
        SCOPED_TRACE(n);
        const uint32_t colour = panel_->GetColourOption(n);
        ASSERT_NE(colour, 0u);
        for (uint32_t seen : colours) EXPECT_NE(seen, colour) << "two swatches of one colour";
        colours.push_back(colour);
        Store(Record());
        panel_->ChooseColourOption(n);
        const profile::LightingRecord r = Record();
        EXPECT_EQ((r[Byte::kRed] << 16) | (r[Byte::kGreen] << 8) | r[Byte::kBlue], colour);
        EXPECT_EQ(r[Byte::kColourful], 0);
        EXPECT_EQ(panel_->GetPaintColourIndex(), n + 1);
        EXPECT_EQ(model_->calls, kChange);
        EXPECT_EQ(panel_->FindColourOption(r[Byte::kRed], r[Byte::kGreen], r[Byte::kBlue]), n);
        EXPECT_EQ(Text("deng_edit_R"), std::to_string(r[Byte::kRed]));
    }
    EXPECT_EQ(panel_->GetColourOption(13), 0u);
    EXPECT_EQ(panel_->GetColourOption(-1), 0u);
    EXPECT_EQ(panel_->FindColourOption(1, 2, 3), 0);
    // No such swatch: nothing changes.
    Store(Record());
    panel_->ChooseColourOption(13);
    EXPECT_TRUE(model_->calls.empty());
    EXPECT_EQ(panel_->GetPaintColourIndex(), CLightControlUI::kSwatchCount);
}

TEST_F(LightControlTest, AHiddenModeIsNotOfferedButAStoredIndexStillSelectsIt) {
    ASSERT_TRUE(Open(kPages[1]));
    auto* combo = FindAs<toolkit::CComboUI>("light_combo_modeSelect");
    ASSERT_NE(combo, nullptr);
    // Mode 9 of the mouse plays the light library and is not offered.
    EXPECT_FALSE(combo->GetItemAt(9)->IsOwnVisible());
    EXPECT_EQ(combo->GetItemAt(9)->GetUserData(), "light_mode_custom_effect");
    EXPECT_TRUE(combo->GetItemAt(10)->IsOwnVisible());
    EXPECT_FALSE(combo->SelectItem(9));  // the user cannot pick it
    profile::LightingRecord r;
    r[Byte::kMode] = 9;
    panel_->ShowLighting(r);
    EXPECT_EQ(combo->GetCurSel(), 9);
    EXPECT_FALSE(combo->GetItemAt(9)->IsOwnVisible());
    // An index beyond the list selects nothing, and nothing is written back.
    r[Byte::kMode] = 40;
    panel_->ShowLighting(r);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(model_->calls.empty());
}

TEST_F(LightControlTest, ShowLightingPutsTheRecordIntoTheControlsWithoutWritingIt) {
    ASSERT_TRUE(Open(kPages[0]));
    profile::LightingRecord r;
    r[Byte::kMode] = 15;
    r[Byte::kBrightness] = 3;
    r[Byte::kSpeed] = 1;
    r[Byte::kDirection] = 1;
    r[Byte::kColourful] = 1;
    r[Byte::kRed] = 0x12, r[Byte::kGreen] = 0x34, r[Byte::kBlue] = 0x56;
    r[Byte::kExtraMode] = 2;
    window_->ClearNotifications();
    panel_->ShowLighting(r);
    EXPECT_EQ(FindAs<toolkit::CComboUI>("light_combo_modeSelect")->GetCurSel(), 15);
    EXPECT_EQ(FindAs<toolkit::CSliderUI>("deng_light_slider")->GetValue(), 3);
    EXPECT_EQ(FindAs<toolkit::CSliderUI>("deng_speed_slider")->GetValue(), 1);
    EXPECT_TRUE(FindAs<toolkit::COptionUI>("deng_FXL_check")->IsSelected());
    EXPECT_FALSE(FindAs<toolkit::COptionUI>("deng_FXR_check")->IsSelected());
    EXPECT_TRUE(FindAs<toolkit::COptionUI>("deng_7color_check")->IsSelected());
    EXPECT_EQ(Text("deng_edit_G"), "52");
    EXPECT_EQ(FindAs<toolkit::CColorPaletteUI>("deng_Color_Pallet")->GetSelectColor(), 0xFF123456u);
    EXPECT_EQ(Find("deng_colordp_btn")->GetBkColor(), 0xFF123456u);
    EXPECT_EQ(FindAs<toolkit::CComboUI>("light_combo_ZZCCmodeSelect")->GetCurSel(), 2);
    EXPECT_TRUE(Find("light_combo_ZZCCmodeSelectLayout")->IsOwnVisible());  // mode 15's layout
    EXPECT_TRUE(model_->calls.empty());
    driver_->Pump();
    EXPECT_TRUE(window_->Sequence().empty()) << "showing the record notified the window";
}

TEST_F(LightControlTest, TheSynchronisationButtonIsOfferedOnlyWhileTheDeviceBarSaysSo) {
    ASSERT_TRUE(Open(kPages[1]));
    EXPECT_FALSE(Find("deng_same_mode")->IsOwnVisible());
    panel_->OfferSynchronisation(true);
    EXPECT_TRUE(Find("deng_same_mode")->IsOwnVisible());
    // A mode change keeps the offer.
    panel_->SelectFromList(Light::List::kMode, 1);
    panel_->ShowModeLayout(2, 6);
    EXPECT_TRUE(Find("deng_same_mode")->IsOwnVisible());
    EXPECT_TRUE(Find("deng_same_mode")->IsEnabled());
    panel_->OfferSynchronisation(false);
    EXPECT_FALSE(Find("deng_same_mode")->IsOwnVisible());
    panel_->ShowModeLayout(2, 1);
    EXPECT_FALSE(Find("deng_same_mode")->IsOwnVisible());
}

TEST_F(LightControlTest, APaletteDragWritesAtMostOncePerIntervalAndTheLastColourAlways) {
    ASSERT_TRUE(Open(kPages[1]));
    Store(Record());
    // 200 colours in one go: the first is written at once, the rest wait for the timer.
    for (int i = 0; i < 200; ++i) panel_->OnPaletteColour(0xFF000000u | (i << 8) | 7, false);
    EXPECT_EQ(model_->Writes(), 1);
    EXPECT_EQ(Record()[Byte::kGreen], 199);  // the record (and the preview) follow at once
    EXPECT_TRUE(panel_->PaletteWritePending());
    driver_->AdvanceTimers(CLightControlUI::kPaletteWriteDelayMs);
    ASSERT_EQ(model_->Writes(), 2);
    EXPECT_EQ(model_->written.back()[Byte::kGreen], 199);
    EXPECT_EQ(model_->written.back()[Byte::kBlue], 7);
    EXPECT_FALSE(panel_->PaletteWritePending());
    // Quiet: nothing more is written, and the next colour goes out at once again.
    driver_->AdvanceTimers(CLightControlUI::kPaletteWriteDelayMs * 3);
    EXPECT_EQ(model_->Writes(), 2);
    panel_->OnPaletteColour(0xFF0000FFu, false);
    EXPECT_EQ(model_->Writes(), 3);
    // Another change while a palette write waits carries the colour with it.
    panel_->OnPaletteColour(0xFF00FF00u, false);
    EXPECT_EQ(model_->Writes(), 3);
    panel_->SetBrightness(1);
    EXPECT_EQ(model_->Writes(), 4);
    EXPECT_EQ(model_->written.back()[Byte::kGreen], 255);
    driver_->AdvanceTimers(CLightControlUI::kPaletteWriteDelayMs);
    EXPECT_EQ(model_->Writes(), 4);
}

TEST_F(LightControlTest, DraggingOnThePaletteChangesTheColour) {
    ASSERT_TRUE(Open(kPages[1]));
    RoutePalettes();
    Store(Record());
    auto* palette = FindAs<toolkit::CColorPaletteUI>("deng_Color_Pallet");
    ASSERT_NE(palette, nullptr);
    const toolkit::UiRect area = palette->GetPaletteRect();
    ASSERT_FALSE(area.IsEmpty());
    ASSERT_TRUE(driver_->Drag({area.left + 2, area.top + 2}, {area.right - 2, area.top + 2}))
        << driver_->LastError();
    driver_->AdvanceTimers(CLightControlUI::kPaletteWriteDelayMs);
    const uint32_t chosen = palette->GetSelectColor();
    const profile::LightingRecord r = Record();
    EXPECT_EQ(0xFF000000u | (r[Byte::kRed] << 16) | (r[Byte::kGreen] << 8) | r[Byte::kBlue],
              chosen);
    ASSERT_GE(model_->Writes(), 1);
    EXPECT_EQ(model_->written.back(), r);
    EXPECT_EQ(Text("deng_edit_R"), std::to_string(r[Byte::kRed]));
}

TEST_F(LightControlTest, AudioColoursEditTheColourTheColourTypeChooses) {
    ASSERT_TRUE(Open(kPages[0]));
    profile::AudioLightingRecord a;
    a.mode = 1;
    a.backgroundBlue = 200;
    a.foregroundRed = 100;
    a.colourful = 1;
    a.colourType = 1;
    panel_->ShowAudioLighting(a);
    EXPECT_TRUE(FindAs<toolkit::COptionUI>("audio_FgColor_check")->IsSelected());
    EXPECT_TRUE(FindAs<toolkit::COptionUI>("deng_7audiocolor_check")->IsSelected());
    EXPECT_EQ(Text("deng_audioedit_R"), "100");
    EXPECT_TRUE(Find("light_audiocolor_layout")->IsEnabled());
    // 300 typed into green edits the foreground colour.
    panel_->SetColourChannel(Light::Channel::kGreen, true, "300");
    ASSERT_FALSE(model_->audio.empty());
    EXPECT_EQ(model_->audio.back().foregroundGreen, 255);
    EXPECT_EQ(model_->audio.back().backgroundGreen, 0);
    EXPECT_EQ(Text("deng_audioedit_G"), "255");
    // The background option shows and edits the background colour.
    panel_->SetCheck(Light::Check::kAudioBackground, true);
    EXPECT_EQ(model_->audio.back().colourType, 0);
    EXPECT_EQ(Text("deng_audioedit_B"), "200");
    panel_->ChooseAudioColourOption(0);
    EXPECT_EQ(model_->audio.back().backgroundRed, 255);
    EXPECT_EQ(model_->audio.back().backgroundBlue, 0);
    EXPECT_EQ(model_->audio.back().foregroundRed, 100);
    EXPECT_EQ(panel_->ReadAudioLighting(), model_->audio.back());
    // Audio mode 3 draws its own colours.
    panel_->SelectFromList(Light::List::kAudioMode, 3);
    EXPECT_EQ(model_->audio.back().mode, 3);
    EXPECT_FALSE(Find("light_audiocolor_layout")->IsEnabled());
    EXPECT_FALSE(Find("audiocolorpallet_layout")->IsEnabled());
    // The base model hands its audio lighting to the panel it registered with.
    a.mode = 2;
    model_->CQuendalUSBDevice::SetAudioLighting(a);
    EXPECT_EQ(FindAs<toolkit::CComboUI>("light_combo_audiomodeSelect")->GetCurSel(), 2);
    EXPECT_TRUE(Find("light_audiocolor_layout")->IsEnabled());
}

TEST_F(LightControlTest, AGameEffectShowsItsModeAndTheSavedModeReturns) {
    ASSERT_TRUE(Open(kPages[0]));
    profile::LightingRecord r;
    r[Byte::kMode] = 25;
    Store(r);
    panel_->ApplyGameEffect(0, 3);
    EXPECT_EQ(Record()[Byte::kMode], 3);
    EXPECT_EQ(Record()[Byte::kOldMode], 1);  // modes above 20 come back as 1
    EXPECT_EQ(FindAs<toolkit::CComboUI>("light_combo_modeSelect")->GetCurSel(), 3);
    EXPECT_EQ(model_->calls, kChange);
    panel_->RestoreLighting();
    EXPECT_EQ(Record()[Byte::kMode], 1);
    EXPECT_EQ(FindAs<toolkit::CComboUI>("light_combo_modeSelect")->GetCurSel(), 1);
    // An effect that is no mode of the device changes nothing.
    model_->calls.clear();
    panel_->ApplyGameEffect(1, 99);
    panel_->ApplyGameEffect(5, 3);
    EXPECT_TRUE(model_->calls.empty());
}

TEST(LightControlWithDevices, AChangeReachesTheSimulatedMouseSettingsMemory) {
    // FIXME: the mouse model does not write its settings block yet. Once it does: against the
    // simulated mouse, a mode, a brightness and a colour chosen in the panel reach its settings
    // memory (bytes 1, 2 and 6..8 of the active profile's block); a script picks a mode and a
    // colour on the mouse page of the running program and a screenshot shows the panel; and a
    // benchmark drags the palette through 200 colours in one second and reports the settings
    // writes sent and the time until the last colour is in the device's memory.
    GTEST_SKIP() << "waits for the mouse model's settings write";
}

TEST_F(LightControlTest, WritesPicturesOfThePanelInEveryPage) {
    const fs::path out = fs::path(BRASVIK_BINARY_DIR) / "screenshots" / "lighting";
    fs::create_directories(out);
    for (const Page& page : kPages) {
        for (int dpi : {96, 144}) {
            for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
                SCOPED_TRACE(std::string(page.stem) + " " + language + " " + std::to_string(dpi));
                TearDown();
                SetUp();
                ASSERT_TRUE(Open(page, dpi, language));
                profile::LightingRecord r;
                r[Byte::kMode] = page.kind == 1 ? 4 : page.kind == 2 ? 10 : 2;
                r[Byte::kBrightness] = 3;
                r[Byte::kSpeed] = 2;
                r[Byte::kRed] = 0xFF, r[Byte::kGreen] = 0x80;
                Store(r);
                panel_->ShowLighting(r);
                panel_->OfferSynchronisation(true);
                FindAs<toolkit::COptionUI>("color_option_1")->Selected(true, false);
                driver_->Render();
                const std::string lang = std::string(language).substr(4, 2);
                const fs::path file = out / (std::string(page.stem) + "_" + lang + "_" +
                                             std::to_string(dpi) + ".png");
                ASSERT_TRUE(driver_->SavePng(file.string())) << file;
                // The panel lies inside its area, whole.
                const toolkit::UiRect area = Find("device_light_area")->GetPos();
                const toolkit::UiRect p = panel_->GetPos();
                EXPECT_GE(p.left, area.left);
                EXPECT_LE(p.right, area.right);
                EXPECT_LE(p.bottom, area.bottom);
                if (page.kind != 1) continue;
                // The keyboard's modes with their own groups: the extra mode, the custom keys
                // and the music colours.
                profile::AudioLightingRecord audio;
                audio.mode = 1;
                audio.foregroundRed = 0xFF;
                audio.backgroundBlue = 0xC0;
                audio.colourType = 1;
                panel_->ShowAudioLighting(audio);
                for (int mode : {15, 18, 29}) {
                    r[Byte::kMode] = static_cast<uint8_t>(mode);
                    r[Byte::kExtraMode] = 1;
                    panel_->ShowLighting(r);
                    FindAs<toolkit::CComboUI>("light_combo_custommodeSelect")
                        ->SelectItem(0, false, false);
                    driver_->Render();
                    const fs::path modeFile =
                        out / (std::string(page.stem) + "_mode" + std::to_string(mode) + "_" +
                               lang + "_" + std::to_string(dpi) + ".png");
                    ASSERT_TRUE(driver_->SavePng(modeFile.string())) << modeFile;
                    EXPECT_LE(panel_->GetPos().bottom, area.bottom);
                }
            }
        }
    }
}

}  // namespace
}  // namespace ui
