#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/lighting_view.h"
#include "device/panel_views.h"
#include "profile/profile_records.h"
#include "toolkit/controls/horizontal_layout_ui.h"

namespace device {
class CQuendalUSBDevice;
}

namespace toolkit {
class COptionUI;
}

namespace ui {

// The lighting panel of a device page ("LightControl" in the skin, built from
// "XML\CustomControlXML\LightControl.xml"). A passive view: its device model fills it (mode
// list, record, audio-lighting values) and the main window routes the page's events to it.
// Every change the user makes goes through the lighting change: the model's record is read,
// changed, stored (SetLightingRecord), the profile saved, the lighting reloaded from it and the
// settings written to the device.
//
// The model is the device page the panel sits in (found by walking up its parents), unless one
// is set explicitly.
class CLightControlUI : public toolkit::CHorizontalLayoutUI,
                        public device::ILightingPanelView,
                        public device::ILightingView {
  public:
    // The colour swatches "color_option_" 0..12 and "audiocolor_option_" 0..12.
    static constexpr int kSwatchCount = 13;
    // While the palette is dragged the record follows every colour at once (and with it the
    // page's preview), but the profile and the device are written at most once per this many
    // milliseconds, the last colour always included.
    static constexpr uint32_t kPaletteWriteDelayMs = 40;
    static constexpr uint32_t kPaletteWriteTimer = 1;

    CLightControlUI();
    ~CLightControlUI() override;
    std::string_view GetClass() const override;
    void DoInit() override;
    void DoEvent(toolkit::TEventUI& event) override;

    void SetModel(device::CQuendalUSBDevice* model) { model_ = model; }
    device::CQuendalUSBDevice* Model();
    // The two values the settings write passes on after 0, 0, 1: the primary screen's size.
    static void SetScreenSize(int width, int height);

    // ---- The model's side (device::ILightingView) ----
    void SetModeList(const std::vector<std::string>& names, const std::vector<int>& visible,
                     int maxBrightness, int maxSpeed) override;
    void ShowLighting(const profile::LightingRecord& record) override;
    void ShowModeLayout(int kind, int mode) override;
    uint32_t GetColourOption(int n) const override;
    int FindColourOption(uint8_t red, uint8_t green, uint8_t blue) const override;
    int GetPaintColourIndex() const override { return paintIndex_; }
    int GetCustomGroup() const override;
    void OfferSynchronisation(bool offered) override;
    void ShowAudioLighting(const profile::AudioLightingRecord& record) override;
    profile::AudioLightingRecord ReadAudioLighting() const override { return audio_; }

    // ---- The routes' side (device::ILightingPanelView) ----
    void OnPaletteColour(uint32_t colour, bool audio) override;
    void ChooseColourOption(int n) override;
    void ChooseAudioColourOption(int n) override;
    void SetCheck(Check check, bool selected) override;
    void SetBrightness(int value) override;
    void SetSpeed(int value) override;
    void SelectFromList(List list, int index) override;
    void SetColourChannel(Channel channel, bool audio, const std::string& text) override;
    void ApplyGameEffect(int event, int effect) override;
    void RestoreLighting() override;
    void OpenMusicSettings() override;

    int ModeCount() const { return static_cast<int>(modeNames_.size()); }
    bool SynchronisationOffered() const { return syncOffered_; }
    // A palette write is waiting for its timer.
    bool PaletteWritePending() const { return paletteWritePending_; }

  private:
    enum class Write : uint8_t { kNow, kCoalesced };
    // The lighting change: edit the model's record, store it, then save, reload and write (at
    // once, or for palette drags after kPaletteWriteDelayMs).
    void ChangeLighting(const std::function<void(profile::LightingRecord&)>& edit, Write when);
    void SaveAndWrite(device::CQuendalUSBDevice& model);
    // A single colour chosen: shown, the colourful cycle off, the lighting change.
    void SetSingleColour(uint8_t r, uint8_t g, uint8_t b, Write when);
    void FlushPaletteWrite();
    // The audio record changed in the panel: to the model.
    void StoreAudioLighting();

    toolkit::CControlUI* Find(const std::string& name) const;
    template <class T>
    T* FindAs(const std::string& name) const {
        return dynamic_cast<T*>(Find(name));
    }
    void SetGroupEnabled(const char* name, int8_t state);
    void SetGroupVisible(const char* name, int8_t state);
    // Disabled groups pass their state on to every control inside them, so they look disabled
    // too; a control is enabled only when every group around it is.
    void ApplyEnabledStates();
    void ApplyEnabledStates(toolkit::CControlUI* control, bool parentEnabled);
    void SetDirectionLabels(const char* left, const char* right);
    void SelectMode(int mode);
    void ShowColour(uint8_t red, uint8_t green, uint8_t blue);
    void ShowAudioColour();
    void SelectAlone(const char* name, const char* other);
    int ModelKind();

    device::CQuendalUSBDevice* model_ = nullptr;
    std::vector<std::string> modeNames_;
    std::vector<int> modeVisible_;
    std::vector<std::pair<toolkit::CControlUI*, bool>> groupEnabled_;
    profile::AudioLightingRecord audio_;
    int paintIndex_ = 0;
    bool syncOffered_ = false;
    bool paletteWritePending_ = false;
    bool paletteTimerRunning_ = false;
};

}  // namespace ui
