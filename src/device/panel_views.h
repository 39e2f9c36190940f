#pragma once

#include <cstdint>
#include <string>

namespace device {

// The feature panels of a device page, as the main window's routes reach them. Each panel of a
// page implements its view; the device model hands it out (null while its page has no such
// panel, and the route then drops the event). The values come from the control that sent the
// notification: a slider's value, an option's selected state, a list's chosen index, an edit's
// text.

// The profile list panel.
class IProfilePanelView {
  public:
    enum class Command : uint8_t {
        kAdd,
        kRemove,
        kCopy,
        kReset,
        kSaveName,
        kExport,
        kImport,
        kSpread,
    };
    virtual ~IProfilePanelView() = default;
    virtual void RunProfileCommand(Command command) = 0;
    // A function tab (1..9) chosen on the page.
    virtual void SelectFunctionTab(int tab) = 0;
    // The profile chosen in "device_profile_combo", applied a moment after the choice.
    virtual void ApplyChosenProfile() = 0;
};

// The lighting panel, with its audio lighting part.
class ILightingPanelView {
  public:
    enum class Check : uint8_t {
        kDirectionLeft,
        kDirectionRight,
        kSevenColours,
        kAudioSevenColours,
        kAudioBackground,
        kAudioForeground,
    };
    enum class List : uint8_t { kMode, kCustomMode, kZzccMode, kAudioMode };
    enum class Channel : uint8_t { kRed, kGreen, kBlue };
    virtual ~ILightingPanelView() = default;
    // colour 0xAARRGGBB from a colour palette; audio: the audio colours' palette.
    virtual void OnPaletteColour(uint32_t colour, bool audio) = 0;
    // Colour option n chosen (the panel keeps n + 1).
    virtual void ChooseColourOption(int n) = 0;
    virtual void ChooseAudioColourOption(int n) = 0;
    virtual void SetCheck(Check check, bool selected) = 0;
    virtual void SetBrightness(int value) = 0;
    virtual void SetSpeed(int value) = 0;
    virtual void SelectFromList(List list, int index) = 0;
    virtual void SetColourChannel(Channel channel, bool audio, const std::string& text) = 0;
    // A game event (0, 1 or 2) asks for effect; RestoreLighting goes back to the panel's own.
    virtual void ApplyGameEffect(int event, int effect) = 0;
    virtual void RestoreLighting() = 0;
    // The music lighting settings window.
    virtual void OpenMusicSettings() = 0;
};

// The key assignment panel.
class IKeySetPanelView {
  public:
    enum class Command : uint8_t { kSave, kDefault, kCancel, kSaveToProfile };
    enum class List : uint8_t {
        kFunction,
        kMacroOver,
        kMouseKey,
        kMouseSwing,
        kMouseWheel,
        kMouseDpi,
        kMedia,
        kSystem,
        kMacro,
        kGunKey,
        kComboKey,
    };
    enum class Field : uint8_t {
        kKeyboardText,
        kSwingCount,
        kSwingDelay,
        kSwingSpeed,
        kWheelCount,
        kWheelDelay,
        kWheelSpeed,
        kFireInterval,
        kFireCount,
        kMacroCycles,
    };
    virtual ~IKeySetPanelView() = default;
    // Key n of the device picture clicked.
    virtual void OnKeyClicked(int key) = 0;
    virtual void RunKeySetCommand(Command command) = 0;
    virtual void SetComboCheck(int n, bool selected) = 0;
    virtual void SelectFromList(List list, int index) = 0;
    virtual void OnFieldEdited(Field field, const std::string& text) = 0;
    // A key the input hook captured (the hook's wParam and lParam unchanged).
    virtual void OnCapturedKey(uintptr_t wParam, intptr_t lParam) = 0;
};

// The macro editor and recorder.
class IMacroPanelView {
  public:
    enum class Command : uint8_t {
        kStartRecording,
        kStopRecording,
        kAddName,
        kRemoveName,
        kEditName,
        kSave,
        kCancel,
        kUp,
        kDown,
        kToTop,
        kToBottom,
        kDelete,
        kDeleteAll,
        kInsertMoveLeft,
        kInsertMoveRight,
        kInsertMoveUp,
        kInsertMoveDown,
        kExport,
        kImport,
        kDelay,
    };
    virtual ~IMacroPanelView() = default;
    virtual void RunMacroCommand(Command command) = 0;
    virtual void SelectMacroName(int index) = 0;
    virtual void OnDelayEdited(const std::string& text) = 0;
    // An action of the list activated (double click).
    virtual void OnActionActivated() = 0;
    // A context-menu command; false when the name is not the editor's.
    virtual bool OnMenuCommand(const std::string& name) = 0;
    // A recording message of the input hook: its index among the hook messages, and its
    // parameters unchanged.
    virtual void OnHookRecord(int hookMessage, uintptr_t wParam, intptr_t lParam) = 0;
};

// The recoil ("shoot") panel.
class IShootPanelView {
  public:
    enum class Command : uint8_t { kSave, kReset, kPreviousBullet, kNextBullet, kExport, kImport };
    enum class Check : uint8_t { kGun, kBullet, kBulletX, kBulletY };
    enum class Field : uint8_t { kBulletX, kBulletY, kBulletDelay };
    virtual ~IShootPanelView() = default;
    virtual void RunShootCommand(Command command) = 0;
    // n: the gun or bullet option; 0 for the two axis checks.
    virtual void SetCheck(Check check, int n, bool selected) = 0;
    virtual void OnFieldEdited(Field field, const std::string& text) = 0;
};

// The magic panel.
class IMagicPanelView {
  public:
    virtual ~IMagicPanelView() = default;
    virtual void SelectMagic(int n, bool selected) = 0;
    virtual void SetMagicEnabled(bool enabled) = 0;
};

// The headset's voice panel: equaliser and microphone.
class IVoicePanelView {
  public:
    enum class Command : uint8_t { kSaveEqualiser, kDeleteEqualiser };
    virtual ~IVoicePanelView() = default;
    virtual void SelectEqualiserPreset(int n, bool selected) = 0;
    virtual void SetMicInput(bool on) = 0;
    virtual void SetMicMonitor(bool on) = 0;
    virtual void SetEqualiserBand(int band, int value) = 0;
    virtual void SetMicInputLevel(int value) = 0;
    virtual void SetMicMonitorLevel(int value) = 0;
    virtual void RunVoiceCommand(Command command) = 0;
    virtual void SelectCustomEqualiser(int index) = 0;
};

}  // namespace device
