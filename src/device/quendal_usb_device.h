#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/audio_lighting_view.h"
#include "device/command_frame.h"
#include "device/device_channel.h"
#include "device/light_overlay.h"
#include "device/lighting_preview.h"
#include "device/lighting_view.h"
#include "device/listener_thread.h"
#include "device/panel_views.h"
#include "device/power_indicator.h"
#include "device/preview_ticker.h"
#include "hid/supported_device.h"
#include "os/debug_output.h"
#include "os/event.h"
#include "os/message_loop.h"
#include "os/worker_thread.h"
#include "profile/profile_records.h"
#include "toolkit/controls/horizontal_layout_ui.h"
#include "toolkit/notify_pump.h"
#include "toolkit/ui_types.h"

namespace device {

// The common base of the device models. One object per connected device, and at the same time
// that device's page: a horizontal layout holding the device picture, its key and LED buttons
// and the feature panels. It owns the device's two channels (commands; the event interfaces read
// by the listener threads), the in-memory copy of the settings, the LED colours that its lighting
// preview animates, and its threads.
//
// Threads: everything runs on the UI thread except the preview thread (which writes only the
// preview state and the LED colours) and the listener threads (which touch nothing here; they
// post to a relay target on the UI thread, see ListenerThread).
class CQuendalUSBDevice : public toolkit::CHorizontalLayoutUI,
                          public toolkit::CNotifyPump,
                          public toolkit::INotifyUI,
                          private PreviewClient {
  public:
    static constexpr int kProgramKeyCount = 170;
    static constexpr uint8_t kAbsent = 255;
    static constexpr int kKeyTableSize = 512;
    // Device-bar item timers the device asks for.
    static constexpr uint32_t kSyncTimerId = 1002;
    static constexpr uint32_t kLiveColourTimerId = 1000;
    static constexpr int kLivePeriodMs = 5;
    static constexpr int kLiveReceiverPeriodMs = 20;
    // Posted to the device's relay target when the LED colours change while the bar is idle.
    static constexpr uint32_t kLiveColoursMessage = os::WM_USER + 0x3A2;
    // Sent to the main window with the connection value of the power status.
    static constexpr uint32_t kPowerConnectionMessage = 0xD01;
    // How often a preview whose device is not open looks at it again.
    static constexpr int kPreviewClosedPollMs = 100;

    CQuendalUSBDevice();
    ~CQuendalUSBDevice() override;

    std::string_view GetClass() const override;
    void Notify(toolkit::TNotifyUI& msg) override;

    // ---- Virtual operations, in their fixed order ----
    // 1. Binds the key and LED buttons of the page's "SelectPanel"; with an empty page name
    //    clears the key, LED and colour lists instead.
    virtual void BindPageControls();
    // 2.
    virtual int LoadLightingFromProfile();
    // 3..8: preview steps from the lighting record.
    virtual void PreviewBreathing();
    virtual void PreviewBreathingFourColours();
    virtual void PreviewStatic();
    virtual void PreviewSpectrum();
    virtual void PreviewBlink();
    virtual void PreviewBlinkFourColours();
    // 9.
    virtual void PreviewOff();
    // 10. With the lighting switch on: copies the LED colours to the LED buttons and builds the
    //     live frame (3 bytes per LED, colour x brightness / 256). Sends nothing here. Returns 1
    //     when a colour changed since the last call (the page should be redrawn), else 0.
    virtual int PushLiveColours();
    // The live colours are pushed while they change. When the device bar finds nothing to push
    // it stops its live-colour timer and calls SetLiveIdle(true); the next change of an LED
    // colour (from the preview or the synchronised lighting, on any thread) starts the timer
    // again on the UI thread. False when a change came in meanwhile (the timer must go on).
    bool SetLiveIdle(bool idle);
    bool LiveIdle() const { return liveIdle_.load(); }
    // 11, 12. Out of range: ignored / nothing.
    virtual void SetLedColour(int index, LedColour colour);
    virtual std::optional<LedColour> GetLedColour(int index) const;
    // 13..16.
    virtual void OnConnected();
    virtual void SyncFromDevice();
    virtual void SpareHookA();  // device-bar timer 1003
    virtual void SpareHookB();  // device-bar timer 1004
    // 17..19.
    virtual void RefreshPowerStatus();
    virtual bool IsLinked();
    virtual int SleepMinutes();
    // 20..24.
    virtual int LoadProfile();
    virtual void RefreshPage();
    virtual void ApplyLightMap();
    virtual void ValidateMacroKeys();
    virtual void ReloadProfile();
    // 25..29.
    virtual std::vector<std::string> GetMacroList();
    virtual int WriteKeyAssignments(int bank, const std::vector<profile::KeyAssignmentPair>& keys);
    virtual int WriteModelKeyAssignments(int bank);
    virtual int WriteMacros(const std::vector<std::string>& macros);
    // The main window passes 0, 0, 1 and the primary screen's width and height.
    virtual int WriteDeviceSettings(int profileSlot, int activeValue, int flagA, int flagB,
                                    int flagC);
    // 30, 31.
    virtual void LoadLightingCatalogue();
    virtual void SetKeyMap(const std::map<int, int>& map);
    // 32..35: preview building blocks.
    virtual int FadeStep(int led, int kind);
    virtual void MarkFirstLeds();
    virtual void RotateWaveRing(int direction);
    virtual void ClearPreviewState();
    // 36, 37.
    virtual void SetFunctionTab(int tab);
    virtual int GetFunctionTab() const;
    // 38..40.
    virtual void BindProfileFiles();
    virtual std::string GetProfileName();
    virtual void SaveProfile();
    // 41..43.
    virtual void SetLightVariant(int variant);
    virtual int GetLightVariant() const;
    virtual void SetLightingRecord(const profile::LightingRecord& record);
    // 44, 45.
    virtual void SetAudioLighting(const profile::AudioLightingRecord& record);
    virtual profile::AudioLightingRecord GetAudioLighting();
    // 46..48.
    virtual void SelectKey(int index);
    virtual void FeedAudioLevels(const int32_t* levels, int count);
    virtual void FeedAudioBands(const uint8_t* bands, int count);

    // ---- Operations every device model adds ----
    // Creates the page's controls and panels. The base has no page of its own: false.
    virtual bool BuildPage();
    virtual profile::LightingRecord GetLightingRecord() const;

    // ---- What the main window and the device bar use ----
    void SetDeviceKind(int kind) { kind_ = kind; }
    int GetDeviceKind() const { return kind_; }
    void SetDeviceSubId(int subId) { subId_ = subId; }
    int GetDeviceSubId() const { return subId_; }
    void SetCatalogueRow(const hid::SupportedDevice& row) { catalogueRow_ = row; }
    const hid::SupportedDevice& GetCatalogueRow() const { return catalogueRow_; }
    void SetPageName(const std::string& name) { pageName_ = name; }
    const std::string& GetPageName() const { return pageName_; }
    void SetDisplayName(const std::string& name) { displayName_ = name; }
    const std::string& GetDisplayName() const { return displayName_; }
    void SetDataFolderName(const std::string& name) { dataFolderName_ = name; }
    const std::string& GetDataFolderName() const { return dataFolderName_; }
    // The name BindProfileFiles puts before ".Json" and ".config".
    void SetProfileFileName(const std::string& name) { profileFileName_ = name; }
    const std::string& GetProfileFileName() const { return profileFileName_; }
    void SetLightControlName(const std::string& name) { lightControlName_ = name; }
    const std::string& GetLightControlName() const { return lightControlName_; }
    void SetDescriptorIndex(int index) { descriptorIndex_ = index; }
    int GetDescriptorIndex() const { return descriptorIndex_; }
    // Sizes of the page's lists; set before BindPageControls. LEDs: at most kMaxLeds.
    void SetKeyCount(int count);
    int GetKeyCount() const { return static_cast<int>(keyButtons_.size()); }
    void SetLedCount(int count);
    int GetLedCount() const { return static_cast<int>(ledButtons_.size()); }

    void SetPowerIndicator(IPowerIndicator* indicator) { powerIndicator_ = indicator; }
    IPowerIndicator* GetPowerIndicator() const { return powerIndicator_; }
    // The device-bar item: its timers drive the device's periodic work.
    void SetDeviceBarItem(toolkit::CControlUI* item) { deviceBarItem_ = item; }
    toolkit::CControlUI* GetDeviceBarItem() const { return deviceBarItem_; }
    void SetMainWindow(os::HWND hwnd) { mainWindow_ = hwnd; }
    os::HWND GetMainWindow() const { return mainWindow_; }
    void SetLightingPanel(IAudioLightingView* panel) { lightingPanel_ = panel; }
    // Also shows or hides the page's "device_power_Layout".
    void SetBatteryCapable(int capable);
    int GetBatteryCapable() const { return batteryCapable_; }

    // The global lighting switch. On, for a keyboard: ResumeLighting.
    void SetLightingSwitch(int on);
    int GetLightingSwitch() const { return lightingSwitch_; }

    // Storage: the user data folder of the device (created, with a trailing '/') and its default
    // profile template.
    std::string UserDataFolder() const;
    std::string DefaultTemplatePath() const;

    DeviceChannel& commandChannel() { return command_; }
    DeviceChannel& listenerChannel() { return listener_; }

    // Listener threads: opens the event interface (0 the device's own, 1 the receiver's) and
    // starts its listener. The command channel's open flag must not matter here: a listener reads
    // while the device is attached.
    bool OpenListener(int which, const std::string& path);
    // Starts a listener on each open event interface that has none.
    void StartListenerThreads();
    // Stops the listener and closes its interface (under that interface's lock).
    void StopListener(int which);
    bool ListenerRunning(int which) const;

    // The lighting preview, stepped on the preview thread the devices share (PreviewTicker);
    // StartPreviewThread stops a running preview first and StopPreviewThread returns once no
    // step of this device runs any more.
    void StartPreviewThread();
    void StopPreviewThread();
    bool PreviewThreadRunning() const;
    // Paused, the preview leaves the LED colours to others (the synchronised lighting); resumed,
    // it draws its own again at once.
    void SetPreviewPaused(bool paused) {
        if (previewPaused_.exchange(paused) && !paused) WakePreview();
    }
    // Stops every thread of the device (removal).
    void StopThreads();

    // Runs what the preview thread runs each time the count for the current mode is reached,
    // with nowMs as the time of the step.
    void RunPreviewStep(int64_t nowMs);
    // The pace (milliseconds between steps) for the current record.
    int PreviewThreshold();

    // The device event handler (high byte 0x10: profile index; 0x11: also the mouse's DPI stage).
    void HandleDeviceEvent(uint16_t code);
    int GetActiveProfileIndex() const { return activeProfileIndex_; }
    int GetActiveDpiStage() const { return activeDpiStage_; }
    bool ReloadProfileFirst() const { return reloadProfileFirst_; }
    void ClearReloadProfileFirst() { reloadProfileFirst_ = false; }

    // The custom area effect list that modes without a preview step of their own play.
    void SetAreaEffects(std::vector<profile::EffectFrame> effects);

    const std::vector<toolkit::CControlUI*>& keyButtons() const { return keyButtons_; }
    const std::vector<toolkit::CControlUI*>& ledButtons() const { return ledButtons_; }
    const std::vector<uint8_t>& liveFrame() const { return liveFrame_; }
    const LightingPreview& preview() const { return preview_; }
    LightingPreview& preview() { return preview_; }
    int GetSelectedKey() const { return selectedKey_; }
    const std::map<int, int>& GetKeyMap() const { return keyMap_; }

  protected:
    // What the preview runs for a light mode index; the base maps every mode to the area
    // effects. Derived models map their modes to the steps above or to their own.
    enum class PreviewStep : uint8_t {
        kStatic,
        kSpectrum,
        kBreathing,
        kBreathingFourColours,
        kBlink,
        kBlinkFourColours,
        kOff,
        kAreaEffects,
        kDeviceA,
        kDeviceB,
        kDeviceC,
    };
    virtual PreviewStep PreviewStepFor(int modeIndex) const;
    // The model's own three steps (kDeviceA..C, which 0..2).
    virtual void RunDevicePreviewStep(int which);
    // Listener actions that belong to one kind: a keyboard key event, the mouse's reactive
    // restart.
    virtual void OnListenerKeyEvent(int key, int kind);
    virtual void OnListenerReactive();

    // Shared by the kinds' RefreshPowerStatus: reads the power status, marks byte 3 with the
    // receiver mode, shows it and passes byte 4 to the main window. Returns the read result (0
    // with the channel closed).
    int ReadAndShowPowerStatus();
    // Plays the area effect list (under the device lock).
    void PlayAreaEffects(int64_t nowMs);

    profile::LightingRecord LightingRecordCopy() const;
    PreviewParams RecordParams() const { return PreviewParams::FromRecord(LightingRecordCopy()); }
    int64_t previewNow() const { return previewNowMs_; }

    DeviceChannel command_;
    DeviceChannel listener_;
    int kind_ = 0;
    int subId_ = 0;
    hid::SupportedDevice catalogueRow_{};
    std::string pageName_;
    std::string displayName_;
    std::string dataFolderName_;
    std::string profileFileName_;
    std::string lightControlName_;
    int descriptorIndex_ = -1;
    DeviceInfoBlock deviceInfo_;
    std::array<uint8_t, kKeyTableSize> keyTable_{};
    // Light mode list from the lighting catalogue: names, visible flags, device mode codes.
    std::vector<std::string> lightModeNames_;
    std::vector<int> lightModeVisible_;
    std::vector<int> lightModeValues_;
    int lightVariant_ = 0;
    std::vector<toolkit::CControlUI*> keyButtons_;
    std::vector<toolkit::CControlUI*> ledButtons_;
    // The LED buttons' overlays, looked up once when the page is bound: the live colours reach
    // them every few milliseconds.
    std::vector<ILightOverlay*> ledOverlays_;
    std::array<uint8_t, kProgramKeyCount> keyToLed_;
    std::array<uint8_t, kProgramKeyCount> keyToDeviceIndex_;
    int functionTab_ = 1;
    int lightingSwitch_ = 0;
    int batteryCapable_ = 0;
    int selectedKey_ = -1;
    IPowerIndicator* powerIndicator_ = nullptr;
    toolkit::CControlUI* deviceBarItem_ = nullptr;
    os::HWND mainWindow_ = 0;
    IAudioLightingView* lightingPanel_ = nullptr;
    profile::AudioLightingRecord audioLighting_;
    std::map<int, int> keyMap_;
    std::vector<uint8_t> liveFrame_;
    // The colours the LED buttons show, to hand over only what changed.
    std::vector<LedColour> shownColours_;
    LightingPreview preview_;
    std::atomic<int> activeProfileIndex_{0};
    std::atomic<int> activeDpiStage_{0};
    std::atomic<bool> reloadProfileFirst_{false};

  private:
    void ArmSyncTimer(int delayMs);
    // After an LED colour may have changed: wakes the idle live-colour timer.
    void NoteLedChange();
    os::LRESULT OnRelayMessage(uint32_t msg, os::WPARAM w, os::LPARAM l);
    // One turn of the preview on the preview thread: counts the milliseconds since the last
    // turn and steps once the mode's threshold is reached.
    int64_t PreviewTurn(int64_t nowMs, bool woken) override;
    // A changed record or area list: a steady preview steps again at once.
    void WakePreview();
    // True while the current effect draws the same colours at every step.
    bool PreviewIsSteady();

    mutable std::mutex lightingLock_;  // the record is read by the preview thread
    profile::LightingRecord lightingRecord_;

    // The device lock: the area effect list and the preview's place in it.
    std::mutex deviceLock_;
    std::vector<profile::EffectFrame> areaEffects_;
    size_t areaIndex_ = 0;
    int64_t areaStartMs_ = -1;

    std::atomic<bool> previewPaused_{false};
    std::atomic<bool> liveIdle_{false};
    std::atomic<uint32_t> idleGeneration_{0};
    std::atomic<int64_t> previewNowMs_{0};
    // The preview's count, moved only by its turns.
    int64_t previewLastMs_ = 0;
    int64_t previewCounted_ = 0;

    std::array<ListenerThread, 2> listeners_;
    std::array<std::mutex, 2> listenerLocks_;  // guard closing each event interface

    std::unique_ptr<os::FunctionTarget> relayTarget_;
    os::HWND relay_ = 0;

    // ==== Routes of the main window ====
    // What the main window's routes reach on a device: the panels of its page and the operations
    // of one kind (mouse, keyboard). The base has no panels and none of those operations: the
    // panels are null and the operations write a debug line; the models of each kind provide
    // them.
  public:
    // The profile panel among the page's controls; null while the page holds none.
    virtual IProfilePanelView* ProfilePanel();
    // The lighting panel among the page's controls; null while the page holds none.
    virtual ILightingPanelView* LightingPanel();
    // The same panel as its model sees it (mode list, record, swatches).
    ILightingView* LightingView();
    virtual IKeySetPanelView* KeySetPanel() { return nullptr; }
    virtual IMacroPanelView* MacroPanel() { return nullptr; }
    virtual IShootPanelView* ShootPanel() { return nullptr; }
    virtual IMagicPanelView* MagicPanel() { return nullptr; }
    virtual IVoicePanelView* VoicePanel() { return nullptr; }

    // The main window's state, passed to every pad, mouse and keyboard.
    virtual void SetWindowActive(bool active) { windowActive_ = active; }
    bool GetWindowActive() const { return windowActive_; }
    virtual void SetWindowShown(bool shown) { windowShown_ = shown; }
    bool GetWindowShown() const { return windowShown_; }
    // The language changed: the page rebuilds its key assignment texts.
    virtual void RelabelKeys() { NotOnThisModel("RelabelKeys"); }

    // Mouse: DPI stages, report rate, pointer settings.
    virtual void SetDpiStageEnabled(int, bool) { NotOnThisModel("SetDpiStageEnabled"); }
    virtual void SelectDpiStage(int, bool) { NotOnThisModel("SelectDpiStage"); }
    virtual void SetPollingRateOption(int, bool) { NotOnThisModel("SetPollingRateOption"); }
    virtual void SetPointerPrecision(bool) { NotOnThisModel("SetPointerPrecision"); }
    virtual void SetScrollsPage(bool) { NotOnThisModel("SetScrollsPage"); }
    virtual void SetMouseDeviceOption(int, bool) { NotOnThisModel("SetMouseDeviceOption"); }
    // A stage's slider moved to value (released).
    virtual void SetDpiStageValue(int, int) { NotOnThisModel("SetDpiStageValue"); }
    // While a stage's slider is dragged: set the stage's slider to its own value again, which
    // refreshes the stage's edit and look.
    virtual void RefreshDpiStage(int) { NotOnThisModel("RefreshDpiStage"); }
    // A stage's DPI typed in; the last argument is true for the "tilmo_DPI_edit_" edits.
    virtual void SetDpiStageText(int, const std::string&, bool) {
        NotOnThisModel("SetDpiStageText");
    }
    virtual void ChooseDpiColour(int) { NotOnThisModel("ChooseDpiColour"); }
    virtual void SetPointerSpeed(int) { NotOnThisModel("SetPointerSpeed"); }
    virtual void SetScrollSpeed(int) { NotOnThisModel("SetScrollSpeed"); }
    virtual void SetDoubleClickSpeed(int) { NotOnThisModel("SetDoubleClickSpeed"); }

    // Keyboard: repeat, lock flags, whole-keyboard colour fill.
    enum class KeyboardFlag : uint8_t { kWinLock, kW, kSix };
    virtual void SetRepeatDelayOption(int, bool) { NotOnThisModel("SetRepeatDelayOption"); }
    virtual void SetKeyboardFlag(KeyboardFlag, bool) { NotOnThisModel("SetKeyboardFlag"); }
    virtual void SetRepeatRate(int) { NotOnThisModel("SetRepeatRate"); }
    virtual void FillKeyColours(bool) { NotOnThisModel("FillKeyColours"); }

    // Sleep timers, logo LED and debounce lists of a keyboard or mouse.
    enum class SettingList : uint8_t {
        kBleSleep1,
        kBleSleep2,
        kDeviceSleep1,
        kDeviceSleep2,
        kLogoLedMode,
        kAntiShakeTime,
    };
    virtual void SelectSetting(SettingList, int) { NotOnThisModel("SelectSetting"); }

    // Keyboard: the custom group chosen in the lighting panel; the model switches to it and
    // rebuilds its lighting record (the panel then saves and writes).
    virtual void SelectCustomGroup(int) { NotOnThisModel("SelectCustomGroup"); }

  protected:
    void NotOnThisModel(const char* operation) const {
        os::DebugOutput(std::string(GetClass()) + ": " + operation + " is not an operation of " +
                        "this device\n");
    }

  private:
    bool windowActive_ = false;
    bool windowShown_ = true;
    // ==== End of the routes of the main window ====
};

}  // namespace device
