#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "os/input_capture.h"
#include "os/messages.h"

namespace ui {

// The keyboard record of the hook's keyboard messages; lParam points at it while the message is
// being handled, and not a moment longer.
struct KBDLLHOOKSTRUCT {
    uint32_t vkCode;    // the key's virtual-key code (0 for a key outside the keyboard table)
    uint32_t scanCode;  // PC scan code, set 1
    uint32_t flags;     // LLKHF_*
    uint32_t time;      // the desktop's event time in ms
    uintptr_t dwExtraInfo;
};
inline constexpr uint32_t LLKHF_EXTENDED = 0x01;
inline constexpr uint32_t LLKHF_ALTDOWN = 0x20;
inline constexpr uint32_t LLKHF_UP = 0x80;

// The mouse record of the hook's mouse messages, laid out as the receivers read it: cursor x at
// byte 0, y at byte 4 (screen pixels), and at byte 20 the mouse-data word whose high 16 bits name
// the extra button.
struct MOUSEHOOKSTRUCTEX {
    int32_t x;
    int32_t y;
    uint32_t hwnd;
    uint32_t wHitTestCode;
    uint32_t dwExtraInfo;
    uint32_t mouseData;
};
static_assert(offsetof(MOUSEHOOKSTRUCTEX, y) == 4 && offsetof(MOUSEHOOKSTRUCTEX, mouseData) == 20,
              "receivers read the record by byte offset");
inline constexpr uint16_t XBUTTON1 = 1;  // back
inline constexpr uint16_t XBUTTON2 = 2;  // forward

// The registered messages each hook mode reports with. A mode not listed swallows the keys and
// reports nothing.
struct HookModeMessages {
    int mode;
    const char* keyboard;  // nullptr: none
    const char* mouse;     // nullptr: none
};
inline constexpr std::array<HookModeMessages, 9> kHookModes = {{
    {1, "WM_HOOK_KEY_SINGLEKEY_MSG", nullptr},
    {2, "WM_HOOK_KEY_HITKEY_MSG", nullptr},
    {4, "WM_HOOK_KEY_KBMACRO_MSG", "WM_HOOK_KEY_MSMACRO_MSG"},
    {8, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"},
    {16, "WM_HOOK_KEY_KBMACROLATER_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG"},
    {32, "WM_HOOK_KEY_KBMACROSINGLE_MSG", "WM_HOOK_KEY_MSMACROSINGLE_MSG"},
    {256, "WM_HOOK_MOU_SINGLEKEY_MSG", nullptr},
    {512, "WM_HOOK_MOU_HITKEY_MSG", nullptr},
    {1024, "WM_HOOK_MOU_KBMACRO_MSG", nullptr},
}};

// The Linux key code of a key the window backend names by its USB HID keyboard usage (the
// keyboard table knows each usage's scan code, the key-code table each scan code's key); nothing
// for a usage outside the keyboard table.
std::optional<int> LinuxKeyForUsage(int usage);

// The language text a panel shows once when keys are captured only while the window has the
// focus (see CDeviceHook::TakeFocusOnlyNotice).
inline constexpr const char* kFocusOnlyNoticeText = "hook_focus_only_tip";

// The global input hook behind key capture and macro recording. While installed, every key of
// the desktop is taken from the other programs (and from this program's own fields) and, with a
// mode that has a keyboard message, sent to the target window with the key message in wParam
// and a KBDLLHOOKSTRUCT in lParam; mouse buttons are only watched and sent with the mode's mouse
// message and a MOUSEHOOKSTRUCTEX. Sends are synchronous: the target has handled the key before
// the next one is looked at.
//
// The capture never outlives its use: Uninstall, the destructor, the termination path
// (os::ReleaseAllInputCaptures) and the target window going away all end it. UI thread only.
class CDeviceHook : public os::InputCaptureSink {
  public:
    // The desktop's own source.
    CDeviceHook();
    // Another source (tests hand in a synthetic one).
    explicit CDeviceHook(std::unique_ptr<os::InputCapture> source);
    virtual ~CDeviceHook();
    CDeviceHook(const CDeviceHook&) = delete;
    CDeviceHook& operator=(const CDeviceHook&) = delete;

    // Replaces an installed hook. 1 on success; 0 when the keys cannot be taken (another program
    // holds the keyboard, no display, no message loop on this thread): then nothing is captured
    // at all, LastError says why (it is also logged), and mode and target keep their values.
    int Install(int mode, os::HWND target, bool keyboardHook, bool libraryHook);
    // 1 when a keyboard capture was removed, 0 when there was none.
    int Uninstall();

    // The main window's message 1054: wParam 1 starts key capture for the key-set panel (mode 1,
    // reporting to owner), wParam 0 ends whatever capture runs; other values change nothing.
    void OnCaptureSwitch(os::WPARAM wParam, os::HWND owner);

    bool Installed() const { return keyboardInstalled_ || libraryInstalled_; }
    int Mode() const { return mode_; }
    os::HWND Target() const { return target_; }
    const std::string& LastError() const { return lastError_; }

    // Whether keys are seen only while this program's window has the focus (Wayland).
    bool FocusOnly() const { return source_->FocusOnly(); }
    // True once, the first time it is asked while capture is focus-only: the panel that asked
    // for capture then tells the user.
    bool TakeFocusOnlyNotice();

    os::InputCapture& source() { return *source_; }

  private:
    void OnCapturedKey(const os::CapturedKey& key) override;
    void OnCapturedButton(const os::CapturedButton& button) override;
    // The target is gone: the capture ends with it.
    bool TargetGone();

    std::unique_ptr<os::InputCapture> source_;
    bool keyboardInstalled_ = false;
    bool libraryInstalled_ = false;
    int mode_ = 0;
    os::HWND target_ = 0;
    uint32_t keyboardMessage_ = 0;
    uint32_t mouseMessage_ = 0;
    bool altHeld_[2] = {};
    bool ctrlHeld_[2] = {};
    bool focusNoticeGiven_ = false;
    std::string lastError_;
};

}  // namespace ui
