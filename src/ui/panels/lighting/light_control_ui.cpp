#include "ui/panels/lighting/light_control_ui.h"

#include <algorithm>
#include <cctype>

#include "device/quendal_usb_device.h"
#include "os/debug_output.h"
#include "toolkit/controls/color_palette_ui.h"
#include "toolkit/controls/combo_ui.h"
#include "toolkit/controls/edit_ui.h"
#include "toolkit/controls/list_label_element_ui.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/controls/slider_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/paint_manager_ui.h"
#include "ui/panels/lighting/mode_layouts.h"

namespace ui {

namespace {

using Byte = profile::LightingRecord::Byte;

constexpr const char* kModeCombo = "light_combo_modeSelect";
constexpr const char* kZzccCombo = "light_combo_ZZCCmodeSelect";
constexpr const char* kCustomCombo = "light_combo_custommodeSelect";
constexpr const char* kAudioModeCombo = "light_combo_audiomodeSelect";
constexpr const char* kBrightSlider = "deng_light_slider";
constexpr const char* kSpeedSlider = "deng_speed_slider";
constexpr const char* kLeft = "deng_FXL_check";
constexpr const char* kRight = "deng_FXR_check";
constexpr const char* kColourful = "deng_7color_check";
constexpr const char* kPalette = "deng_Color_Pallet";
constexpr const char* kColourButton = "deng_colordp_btn";
constexpr const char* kSameMode = "deng_same_mode";
constexpr const char* kTabs = "light_color_tablayout";
constexpr const char* kEdits[] = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
constexpr const char* kAudioEdits[] = {"deng_audioedit_R", "deng_audioedit_G", "deng_audioedit_B"};
constexpr const char* kAudioPalette = "deng_audioColor_Pallet";
constexpr const char* kAudioButton = "deng_audiocolordp_btn";
constexpr const char* kAudioColourful = "deng_7audiocolor_check";
constexpr const char* kAudioBackground = "audio_BkColor_check";
constexpr const char* kAudioForeground = "audio_FgColor_check";
constexpr const char* kAudioColourLayout = "light_audiocolor_layout";
constexpr const char* kAudioPaletteLayout = "audiocolorpallet_layout";
// The audio mode that draws its own colours.
constexpr int kAudioModeWithoutColours = 3;
constexpr int kMaxLevel = 4;
constexpr uint32_t kFadedSwatchAlpha = 0x48000000u;

int gScreenWidth = 0;
int gScreenHeight = 0;

struct NameQuery {
    const std::string* name;
};

toolkit::CControlUI* MatchName(toolkit::CControlUI* control, void* data) {
    return toolkit::EqualsNoCase(control->GetName(), *static_cast<NameQuery*>(data)->name)
               ? control
               : nullptr;
}

uint32_t Argb(uint8_t r, uint8_t g, uint8_t b) {
    return 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
}

// A colour edit's text as 0..255: empty reads 0, a value above 255 reads 255. False for text that
// is not a plain decimal number.
bool ParseColourText(const std::string& text, int* value) {
    if (text.empty()) {
        *value = 0;
        return true;
    }
    int n = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        n = std::min(n * 10 + (c - '0'), 1000);  // anything above 255 is 255 anyway
    }
    *value = std::min(n, 255);
    return true;
}

}  // namespace

CLightControlUI::CLightControlUI() = default;
CLightControlUI::~CLightControlUI() = default;

std::string_view CLightControlUI::GetClass() const {
    return "LightControl";
}

void CLightControlUI::SetScreenSize(int width, int height) {
    gScreenWidth = width;
    gScreenHeight = height;
}

void CLightControlUI::DoInit() {
    CHorizontalLayoutUI::DoInit();
    // The audio lighting of the base model reaches the panel through this registration.
    if (device::CQuendalUSBDevice* model = Model()) model->SetLightingPanel(this);
}

device::CQuendalUSBDevice* CLightControlUI::Model() {
    if (model_ != nullptr) return model_;
    for (toolkit::CControlUI* p = GetParent(); p != nullptr; p = p->GetParent()) {
        if (auto* model = dynamic_cast<device::CQuendalUSBDevice*>(p)) return model;
    }
    return nullptr;
}

int CLightControlUI::ModelKind() {
    device::CQuendalUSBDevice* model = Model();
    return model ? model->GetDeviceKind() : 0;
}

toolkit::CControlUI* CLightControlUI::Find(const std::string& name) const {
    NameQuery q{&name};
    return const_cast<CLightControlUI*>(this)->FindControl(MatchName, &q, toolkit::UIFIND_ALL);
}

// ---- Filling the panel ----

void CLightControlUI::SetModeList(const std::vector<std::string>& names,
                                  const std::vector<int>& visible, int maxBrightness,
                                  int maxSpeed) {
    modeNames_ = names;
    modeVisible_ = visible;
    modeVisible_.resize(modeNames_.size(), 0);
    if (auto* combo = FindAs<toolkit::CComboUI>(kModeCombo)) {
        combo->SelectItem(-1, false, false);
        combo->RemoveAll();
        for (size_t i = 0; i < modeNames_.size(); ++i) {
            auto* item = new toolkit::CListLabelElementUI;
            item->SetAttribute("height", "30");
            item->SetAttribute("resourcetext", "true");
            item->SetText(modeNames_[i]);
            item->SetUserData(modeNames_[i]);
            item->SetVisible(modeVisible_[i] != 0);
            combo->Add(item);
        }
    }
    if (auto* slider = FindAs<toolkit::CSliderUI>(kBrightSlider))
        slider->SetMaxValue(maxBrightness);
    if (auto* slider = FindAs<toolkit::CSliderUI>(kSpeedSlider)) slider->SetMaxValue(maxSpeed);
}

void CLightControlUI::SelectMode(int mode) {
    auto* combo = FindAs<toolkit::CComboUI>(kModeCombo);
    if (combo == nullptr) return;
    if (mode < 0 || mode >= combo->GetCount()) {
        combo->SelectItem(-1, false, false);
        return;
    }
    // A mode that is not offered is still the stored one: its place is selected all the same.
    toolkit::CControlUI* item = combo->GetItemAt(mode);
    const bool hidden = !item->IsVisible();
    if (hidden) item->SetVisible(true);
    combo->SelectItem(mode, false, false);
    if (hidden) item->SetVisible(false);
}

void CLightControlUI::ShowColour(uint8_t red, uint8_t green, uint8_t blue) {
    const uint8_t rgb[3] = {red, green, blue};
    for (int i = 0; i < 3; ++i)
        if (toolkit::CControlUI* edit = Find(kEdits[i])) edit->SetText(std::to_string(rgb[i]));
    if (auto* palette = FindAs<toolkit::CColorPaletteUI>(kPalette))
        palette->SetSelectColor(Argb(red, green, blue));
    if (toolkit::CControlUI* button = Find(kColourButton))
        button->SetBkColor(Argb(red, green, blue));
}

void CLightControlUI::ShowLighting(const profile::LightingRecord& record) {
    SelectMode(record[Byte::kMode]);
    if (auto* slider = FindAs<toolkit::CSliderUI>(kBrightSlider))
        slider->SetValue(record[Byte::kBrightness]);
    if (auto* slider = FindAs<toolkit::CSliderUI>(kSpeedSlider))
        slider->SetValue(record[Byte::kSpeed]);
    if (auto* left = FindAs<toolkit::COptionUI>(kLeft))
        left->Selected(record[Byte::kDirection] == 1, false);
    if (auto* right = FindAs<toolkit::COptionUI>(kRight))
        right->Selected(record[Byte::kDirection] == 0, false);
    if (auto* check = FindAs<toolkit::COptionUI>(kColourful))
        check->Selected(record[Byte::kColourful] != 0, false);
    ShowColour(record[Byte::kRed], record[Byte::kGreen], record[Byte::kBlue]);
    if (auto* combo = FindAs<toolkit::CComboUI>(kZzccCombo)) {
        const int extra = record[Byte::kExtraMode];
        combo->SelectItem(extra < combo->GetCount() ? extra : -1, false, false);
    }
    ShowModeLayout(ModelKind(), record[Byte::kMode]);
}

void CLightControlUI::SetGroupEnabled(const char* name, int8_t state) {
    if (state < 0) return;
    toolkit::CControlUI* group = Find(name);
    if (group == nullptr) return;
    for (auto& [control, enabled] : groupEnabled_) {
        if (control == group) {
            enabled = state != 0;
            return;
        }
    }
    groupEnabled_.emplace_back(group, state != 0);
}

void CLightControlUI::SetGroupVisible(const char* name, int8_t state) {
    if (state < 0) return;
    if (toolkit::CControlUI* group = Find(name)) group->SetVisible(state != 0);
}

void CLightControlUI::ApplyEnabledStates() {
    for (int i = 0; i < GetCount(); ++i) ApplyEnabledStates(GetItemAt(i), true);
}

void CLightControlUI::ApplyEnabledStates(toolkit::CControlUI* control, bool parentEnabled) {
    bool enabled = parentEnabled;
    for (const auto& [group, state] : groupEnabled_)
        if (group == control) enabled = enabled && state;
    control->SetEnabled(enabled);
    // A swatch is all colour: a disabled one is drawn faded so that it looks out of use.
    if (dynamic_cast<toolkit::COptionUI*>(control) != nullptr &&
        (control->GetName().starts_with("color_option_") ||
         control->GetName().starts_with("audiocolor_option_")))
        control->SetBkColor((control->GetBkColor() & 0x00FFFFFFu) |
                            (enabled ? 0xFF000000u : kFadedSwatchAlpha));
    if (auto* container = dynamic_cast<toolkit::CContainerUI*>(control)) {
        // A drop-down's items are its own business.
        if (dynamic_cast<toolkit::CComboUI*>(control) != nullptr) return;
        for (int i = 0; i < container->GetCount(); ++i)
            ApplyEnabledStates(container->GetItemAt(i), enabled);
    }
}

void CLightControlUI::SetDirectionLabels(const char* left, const char* right) {
    if (left == nullptr || right == nullptr) return;
    if (toolkit::CControlUI* l = Find(kLeft)) l->SetText(left);
    if (toolkit::CControlUI* r = Find(kRight)) r->SetText(right);
}

void CLightControlUI::ShowModeLayout(int kind, int mode) {
    const lighting::KindLayouts* table = lighting::KindLayoutsFor(kind);
    if (table == nullptr) return;  // a kind without a table keeps the panel as it is
    const lighting::ModeLayoutRow* row = lighting::RowFor(kind, mode);
    for (const lighting::ModeLayout* l : {&table->before, row ? &row->layout : nullptr}) {
        if (l == nullptr) continue;
        SetGroupEnabled("lighteffect_layout", l->effect);
        SetGroupEnabled("deng_7color_check", l->colourful);
        SetGroupEnabled("deng_color_layout", l->colour);
        SetGroupEnabled("colorpallet_layout", l->palette);
        SetGroupEnabled("deng_light_layout", l->bright);
        SetGroupEnabled("deng_speed_layout", l->speed);
        SetGroupEnabled("deng_fx_layout", l->fx);
        SetGroupEnabled("light_color_layout", l->colourTab);
        SetGroupEnabled("deng_rgb_layout", l->rgb);
        SetGroupVisible("lightcustom_layout", l->showCustom);
        SetGroupVisible("deng_speed_layout", l->showSpeed);
        SetGroupVisible("light_combo_ZZCCmodeSelectLayout", l->showZzcc);
        SetGroupVisible("light_combo_AudiomodeSelectLayout", l->showAudioMode);
        SetGroupVisible("deng_rgb_layout", l->showRgb);
        SetGroupVisible("colorpallet_layout", l->showPalette);
        if (l->tab >= 0) {
            if (auto* tabs = FindAs<toolkit::CTabLayoutUI>(kTabs)) tabs->SelectItem(l->tab, false);
        }
        SetDirectionLabels(l->leftLabel, l->rightLabel);
    }
    // The synchronisation button follows the device bar's offer, whatever the mode.
    SetGroupVisible(kSameMode, syncOffered_ ? 1 : 0);
    ApplyEnabledStates();
}

uint32_t CLightControlUI::GetColourOption(int n) const {
    if (n < 0 || n >= kSwatchCount) return 0;
    const toolkit::CControlUI* swatch = Find("color_option_" + std::to_string(n));
    return swatch ? swatch->GetBkColor() & 0x00FFFFFFu : 0;
}

int CLightControlUI::FindColourOption(uint8_t red, uint8_t green, uint8_t blue) const {
    const uint32_t colour = Argb(red, green, blue) & 0x00FFFFFFu;
    for (int n = 0; n < kSwatchCount; ++n) {
        const toolkit::CControlUI* swatch = Find("color_option_" + std::to_string(n));
        if (swatch == nullptr) return 0;
        if ((swatch->GetBkColor() & 0x00FFFFFFu) == colour) return n;
    }
    return 0;
}

int CLightControlUI::GetCustomGroup() const {
    const auto* combo = FindAs<toolkit::CComboUI>(kCustomCombo);
    return combo ? combo->GetCurSel() : -1;
}

void CLightControlUI::OfferSynchronisation(bool offered) {
    syncOffered_ = offered;
    SetGroupVisible(kSameMode, offered ? 1 : 0);
}

void CLightControlUI::ShowAudioColour() {
    const bool foreground = audio_.colourType != 0;
    const uint8_t rgb[3] = {
        foreground ? audio_.foregroundRed : audio_.backgroundRed,
        foreground ? audio_.foregroundGreen : audio_.backgroundGreen,
        foreground ? audio_.foregroundBlue : audio_.backgroundBlue,
    };
    for (int i = 0; i < 3; ++i)
        if (toolkit::CControlUI* edit = Find(kAudioEdits[i])) edit->SetText(std::to_string(rgb[i]));
    if (auto* palette = FindAs<toolkit::CColorPaletteUI>(kAudioPalette))
        palette->SetSelectColor(Argb(rgb[0], rgb[1], rgb[2]));
    if (toolkit::CControlUI* button = Find(kAudioButton))
        button->SetBkColor(Argb(rgb[0], rgb[1], rgb[2]));
}

void CLightControlUI::ShowAudioLighting(const profile::AudioLightingRecord& record) {
    audio_ = record;
    if (auto* combo = FindAs<toolkit::CComboUI>(kAudioModeCombo))
        combo->SelectItem(record.mode < combo->GetCount() ? record.mode : -1, false, false);
    const bool foreground = record.colourType != 0;
    if (auto* fg = FindAs<toolkit::COptionUI>(kAudioForeground)) fg->Selected(foreground, false);
    if (auto* bk = FindAs<toolkit::COptionUI>(kAudioBackground)) bk->Selected(!foreground, false);
    // The colourful cycle belongs to the foreground colour.
    if (foreground) {
        if (auto* check = FindAs<toolkit::COptionUI>(kAudioColourful))
            check->Selected(record.colourful != 0, false);
    }
    ShowAudioColour();
    const int8_t coloured = record.mode == kAudioModeWithoutColours ? 0 : 1;
    SetGroupEnabled(kAudioColourLayout, coloured);
    SetGroupEnabled(kAudioPaletteLayout, coloured);
    ApplyEnabledStates();
}

// ---- The lighting change ----

void CLightControlUI::SaveAndWrite(device::CQuendalUSBDevice& model) {
    model.SaveProfile();
    model.LoadLightingFromProfile();
    model.WriteDeviceSettings(0, 0, 1, gScreenWidth, gScreenHeight);
}

void CLightControlUI::ChangeLighting(const std::function<void(profile::LightingRecord&)>& edit,
                                     Write when) {
    device::CQuendalUSBDevice* model = Model();
    if (model == nullptr) {
        os::DebugOutput("lighting panel: no device model for this change\n");
        return;
    }
    profile::LightingRecord record = model->GetLightingRecord();
    edit(record);
    model->SetLightingRecord(record);
    // A palette drag: the first colour goes out at once, the later ones wait for the timer, so
    // at most one settings write runs per interval and the last colour is always written.
    if (when == Write::kCoalesced && m_pManager != nullptr) {
        if (paletteTimerRunning_) {
            paletteWritePending_ = true;
            return;
        }
        paletteTimerRunning_ = SetTimer(kPaletteWriteTimer, kPaletteWriteDelayMs);
    }
    paletteWritePending_ = false;
    SaveAndWrite(*model);
}

void CLightControlUI::FlushPaletteWrite() {
    if (!paletteWritePending_) {
        KillTimer(kPaletteWriteTimer);
        paletteTimerRunning_ = false;
        return;
    }
    paletteWritePending_ = false;
    if (device::CQuendalUSBDevice* model = Model()) SaveAndWrite(*model);
}

void CLightControlUI::DoEvent(toolkit::TEventUI& event) {
    if (event.Type == toolkit::UIEVENT_TIMER && event.wParam == kPaletteWriteTimer) {
        FlushPaletteWrite();
        return;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

void CLightControlUI::StoreAudioLighting() {
    if (device::CQuendalUSBDevice* model = Model())
        model->SetAudioLighting(audio_);
    else
        os::DebugOutput("lighting panel: no device model for the audio lighting\n");
}

// ---- Events ----

void CLightControlUI::OnPaletteColour(uint32_t colour, bool audio) {
    const uint8_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    if (audio) {
        if (audio_.colourType != 0) {
            audio_.foregroundRed = r, audio_.foregroundGreen = g, audio_.foregroundBlue = b;
        } else {
            audio_.backgroundRed = r, audio_.backgroundGreen = g, audio_.backgroundBlue = b;
        }
        ShowAudioColour();
        StoreAudioLighting();
        return;
    }
    SetSingleColour(r, g, b, Write::kCoalesced);
}

void CLightControlUI::SetSingleColour(uint8_t r, uint8_t g, uint8_t b, Write when) {
    ShowColour(r, g, b);
    if (auto* check = FindAs<toolkit::COptionUI>(kColourful)) check->Selected(false, false);
    ChangeLighting(
        [&](profile::LightingRecord& rec) {
            rec[Byte::kRed] = r, rec[Byte::kGreen] = g, rec[Byte::kBlue] = b;
            rec[Byte::kColourful] = 0;
        },
        when);
}

void CLightControlUI::ChooseColourOption(int n) {
    if (Find("color_option_" + std::to_string(n)) == nullptr || n >= kSwatchCount) {
        os::DebugOutput("lighting panel: no colour option " + std::to_string(n) + "\n");
        return;
    }
    paintIndex_ = n + 1;
    const uint32_t colour = GetColourOption(n);
    const uint8_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    SetSingleColour(r, g, b, Write::kNow);
}

void CLightControlUI::ChooseAudioColourOption(int n) {
    const toolkit::CControlUI* swatch =
        n >= 0 && n < kSwatchCount ? Find("audiocolor_option_" + std::to_string(n)) : nullptr;
    if (swatch == nullptr) {
        os::DebugOutput("lighting panel: no audio colour option " + std::to_string(n) + "\n");
        return;
    }
    OnPaletteColour(swatch->GetBkColor(), true);
}

void CLightControlUI::SelectAlone(const char* name, const char* other) {
    if (auto* option = FindAs<toolkit::COptionUI>(name)) option->Selected(true, false);
    if (auto* option = FindAs<toolkit::COptionUI>(other)) option->Selected(false, false);
}

void CLightControlUI::SetCheck(Check check, bool selected) {
    switch (check) {
        case Check::kDirectionLeft:
        case Check::kDirectionRight: {
            // The option that lost its selection to the other one reports too: only the chosen
            // one counts.
            if (!selected) return;
            const bool left = check == Check::kDirectionLeft;
            SelectAlone(left ? kLeft : kRight, left ? kRight : kLeft);
            ChangeLighting([&](profile::LightingRecord& rec) { rec[Byte::kDirection] = left; },
                           Write::kNow);
            return;
        }
        case Check::kSevenColours:
            ChangeLighting([&](profile::LightingRecord& rec) { rec[Byte::kColourful] = selected; },
                           Write::kNow);
            return;
        case Check::kAudioSevenColours:
            audio_.colourful = selected ? 1 : 0;
            StoreAudioLighting();
            return;
        case Check::kAudioBackground:
        case Check::kAudioForeground:
            if (!selected) return;
            audio_.colourType = check == Check::kAudioForeground ? 1 : 0;
            ShowAudioColour();
            StoreAudioLighting();
            return;
    }
}

void CLightControlUI::SetBrightness(int value) {
    const uint8_t level = static_cast<uint8_t>(std::clamp(value, 0, kMaxLevel));
    ChangeLighting([&](profile::LightingRecord& rec) { rec[Byte::kBrightness] = level; },
                   Write::kNow);
}

void CLightControlUI::SetSpeed(int value) {
    const uint8_t level = static_cast<uint8_t>(std::clamp(value, 0, kMaxLevel));
    ChangeLighting([&](profile::LightingRecord& rec) { rec[Byte::kSpeed] = level; }, Write::kNow);
}

void CLightControlUI::SelectFromList(List list, int index) {
    switch (list) {
        case List::kMode:
            if (index < 0 || index >= ModeCount()) {
                os::DebugOutput("lighting panel: no light mode " + std::to_string(index) + "\n");
                return;
            }
            ShowModeLayout(ModelKind(), index);
            ChangeLighting(
                [&](profile::LightingRecord& rec) {
                    rec[Byte::kMode] = static_cast<uint8_t>(index);
                },
                Write::kNow);
            return;
        case List::kZzccMode:
            if (index < 0 || index > 255) return;
            ChangeLighting(
                [&](profile::LightingRecord& rec) {
                    rec[Byte::kExtraMode] = static_cast<uint8_t>(index);
                },
                Write::kNow);
            return;
        case List::kCustomMode: {
            device::CQuendalUSBDevice* model = Model();
            if (model == nullptr || index < 0) return;
            model->SelectCustomGroup(index);
            model->SaveProfile();
            model->WriteDeviceSettings(0, 0, 1, gScreenWidth, gScreenHeight);
            return;
        }
        case List::kAudioMode: {
            if (index < 0 || index > 255) return;
            audio_.mode = static_cast<uint8_t>(index);
            const int8_t coloured = index == kAudioModeWithoutColours ? 0 : 1;
            SetGroupEnabled(kAudioColourLayout, coloured);
            SetGroupEnabled(kAudioPaletteLayout, coloured);
            ApplyEnabledStates();
            StoreAudioLighting();
            return;
        }
    }
}

void CLightControlUI::SetColourChannel(Channel channel, bool audio, const std::string& text) {
    const int i = static_cast<int>(channel);
    const char* editName = audio ? kAudioEdits[i] : kEdits[i];
    int value = 0;
    if (!ParseColourText(text, &value)) {
        // Not a number: the field goes back to the colour that is stored.
        os::DebugOutput("lighting panel: '" + text + "' is no colour value\n");
        if (audio) {
            ShowAudioColour();
        } else if (device::CQuendalUSBDevice* model = Model()) {
            const profile::LightingRecord rec = model->GetLightingRecord();
            ShowColour(rec[Byte::kRed], rec[Byte::kGreen], rec[Byte::kBlue]);
        }
        return;
    }
    if (toolkit::CControlUI* edit = Find(editName)) edit->SetText(std::to_string(value));
    const uint8_t v = static_cast<uint8_t>(value);
    if (audio) {
        const bool fg = audio_.colourType != 0;
        uint8_t* target[3] = {fg ? &audio_.foregroundRed : &audio_.backgroundRed,
                              fg ? &audio_.foregroundGreen : &audio_.backgroundGreen,
                              fg ? &audio_.foregroundBlue : &audio_.backgroundBlue};
        *target[i] = v;
        ShowAudioColour();
        StoreAudioLighting();
        return;
    }
    if (auto* check = FindAs<toolkit::COptionUI>(kColourful)) check->Selected(false, false);
    ChangeLighting(
        [&](profile::LightingRecord& rec) {
            rec[Byte::kRed + i] = v;
            rec[Byte::kColourful] = 0;
            ShowColour(rec[Byte::kRed], rec[Byte::kGreen], rec[Byte::kBlue]);
        },
        Write::kNow);
}

void CLightControlUI::ApplyGameEffect(int event, int effect) {
    if (event < 0 || event > 2) return;
    device::CQuendalUSBDevice* model = Model();
    if (model == nullptr) return;
    if (effect < 0 || effect >= ModeCount()) {
        os::DebugOutput("lighting panel: game effect " + std::to_string(effect) +
                        " is no light mode of this device\n");
        return;
    }
    SelectMode(effect);
    ShowModeLayout(ModelKind(), effect);
    profile::LightingRecord record = model->GetLightingRecord();
    if (event == 0) {
        const int current = record[Byte::kMode];
        record[Byte::kOldMode] = static_cast<uint8_t>(current == 0 || current > 20 ? 1 : current);
    }
    record[Byte::kMode] = static_cast<uint8_t>(effect);
    model->SetLightingRecord(record);
    SaveAndWrite(*model);
}

void CLightControlUI::RestoreLighting() {
    device::CQuendalUSBDevice* model = Model();
    if (model == nullptr) return;
    profile::LightingRecord record = model->GetLightingRecord();
    const int mode = record[Byte::kOldMode];
    if (mode >= ModeCount()) return;
    SelectMode(mode);
    ShowModeLayout(ModelKind(), mode);
    record[Byte::kMode] = static_cast<uint8_t>(mode);
    model->SetLightingRecord(record);
    SaveAndWrite(*model);
}

void CLightControlUI::OpenMusicSettings() {
    // FIXME: the music lighting settings window comes with the music lighting.
    os::DebugOutput("lighting panel: the music lighting settings are not available yet\n");
}

}  // namespace ui
