#include "ui/device_hook.h"

#include <linux/input-event-codes.h>

#include <cstdio>

#include "keys/assignment_catalogue.h"
#include "keys/assignment_tables.h"
#include "os/debug_output.h"
#include "os/diagnostics_log.h"
#include "os/event.h"
#include "os/forwarded_input_capture.h"
#include "os/linux_key_codes.h"
#include "os/message_loop.h"
#include "toolkit/backend/sdl_backend.h"

namespace ui {

using keys::EntryForScanCode;
using keys::KeyboardKeyEntry;
using keys::KeyboardKeyTable;
using keys::kKeyboardModifierCount;
using keys::kKeyboardScanCodeCount;
using os::LinuxKeyScanCode;
using os::LinuxKeyScanCodeTable;
using os::ScanCode;
using os::ScanCodeForLinuxKey;

namespace {

const HookModeMessages* FindMode(int mode) {
    for (const HookModeMessages& m : kHookModes)
        if (m.mode == mode) return &m;
    return nullptr;
}

uint32_t MessageNumber(const char* name) {
    return name != nullptr ? os::RegisterWindowMessage(name) : 0;
}

// Which source is in use is said once per run, on standard error and in the log.
void AnnounceSource(const os::InputCapture& source) {
    static bool announced = false;
    if (announced) return;
    announced = true;
    const std::string line = source.Describe();
    std::fprintf(stderr, "%s\n", line.c_str());
    os::AppendLog(line);
}

}  // namespace

std::optional<int> LinuxKeyForUsage(int usage) {
    constexpr int kFirstModifierUsage = 0xE0;
    const KeyboardKeyEntry* found = nullptr;
    for (size_t i = 0; i < kKeyboardScanCodeCount && found == nullptr; ++i) {
        const KeyboardKeyEntry& e = KeyboardKeyTable[i];
        const bool match = i < kKeyboardModifierCount
                               ? usage >= kFirstModifierUsage && usage < kFirstModifierUsage + 8 &&
                                     e.code.first == 1 << (usage - kFirstModifierUsage)
                               : e.code.first == 0 && e.code.second == usage;
        if (match) found = &e;
    }
    if (found == nullptr) return std::nullopt;
    for (const LinuxKeyScanCode& k : LinuxKeyScanCodeTable)
        if (k.scan_code == found->scan_code && k.extended == found->extended) return k.linux_key;
    return std::nullopt;
}

namespace {

// Where the desktop offers no global capture, the program's own windows hand their keys and
// buttons over while the capture runs. Stateless, so connecting it once serves every hook.
void ConnectOwnWindowCapture() {
    static bool connected = false;
    if (connected) return;
    connected = true;
    toolkit::SetOwnKeyCapture({
        .active = [] { return os::FocusCaptureActive(); },
        .key =
            [](int usage, bool down, bool repeat) {
                if (const std::optional<int> key = LinuxKeyForUsage(usage))
                    os::OfferKeyToFocusCapture(
                        {.linuxKey = *key,
                         .down = down,
                         .repeat = repeat,
                         .timeMs = static_cast<uint32_t>(os::MonotonicMs())});
            },
        .button =
            [](int button, bool down, int x, int y) {
                // The window backend's extra buttons are 4 and 5; the capture's are 8 and 9.
                const int captured = button >= 4 ? button + 4 : button;
                os::OfferButtonToFocusCapture({.button = captured,
                                               .down = down,
                                               .x = x,
                                               .y = y,
                                               .timeMs = static_cast<uint32_t>(os::MonotonicMs())});
            },
    });
}

}  // namespace

CDeviceHook::CDeviceHook() : CDeviceHook(os::CreateDesktopInputCapture()) {}

CDeviceHook::CDeviceHook(std::unique_ptr<os::InputCapture> source) : source_(std::move(source)) {
    if (source_->kind() == os::InputCapture::Kind::kFocusWindow) ConnectOwnWindowCapture();
}

CDeviceHook::~CDeviceHook() {
    Uninstall();
}

int CDeviceHook::Install(int mode, os::HWND target, bool keyboardHook, bool libraryHook) {
    // A second install replaces the first: one capture at most.
    source_->Stop();
    keyboardInstalled_ = false;
    libraryInstalled_ = false;
    if (keyboardHook || libraryHook) {
        AnnounceSource(*source_);
        os::MessageLoop* loop = os::MessageLoop::Current();
        std::string error;
        if (loop == nullptr) {
            error = "no message loop on this thread";
        } else if (source_->Start(*loop, this, {.keys = keyboardHook, .buttons = libraryHook},
                                  &error)) {
            error.clear();
        } else if (error.empty()) {
            error = "the capture did not start";
        }
        if (!error.empty()) {
            lastError_ = "input hook: key capture is not possible: " + error;
            os::DebugOutput(lastError_ + "\n");
            os::AppendLog(lastError_);
            return 0;
        }
    }
    keyboardInstalled_ = keyboardHook;
    libraryInstalled_ = libraryHook;
    lastError_.clear();
    mode_ = mode;
    target_ = target;
    const HookModeMessages* m = FindMode(mode);
    keyboardMessage_ = m ? MessageNumber(m->keyboard) : 0;
    mouseMessage_ = m ? MessageNumber(m->mouse) : 0;
    for (int i = 0; i < 2; ++i) altHeld_[i] = ctrlHeld_[i] = false;
    return 1;
}

int CDeviceHook::Uninstall() {
    const int removed = keyboardInstalled_ ? 1 : 0;
    source_->Stop();
    keyboardInstalled_ = false;
    libraryInstalled_ = false;
    return removed;
}

void CDeviceHook::OnCaptureSwitch(os::WPARAM wParam, os::HWND owner) {
    if (wParam == 1)
        Install(1, owner, true, true);
    else if (wParam == 0)
        Uninstall();
}

bool CDeviceHook::TakeFocusOnlyNotice() {
    if (!FocusOnly() || focusNoticeGiven_) return false;
    focusNoticeGiven_ = true;
    return true;
}

bool CDeviceHook::TargetGone() {
    if (os::IsTarget(target_)) return false;
    os::DebugOutput("input hook: the receiving window is gone; capture ends\n");
    Uninstall();
    return true;
}

void CDeviceHook::OnCapturedKey(const os::CapturedKey& key) {
    if (!keyboardInstalled_ || TargetGone()) return;
    const bool wasAlt = altHeld_[0] || altHeld_[1];
    switch (key.linuxKey) {
        case KEY_LEFTALT:
            altHeld_[0] = key.down;
            break;
        case KEY_RIGHTALT:
            altHeld_[1] = key.down;
            break;
        case KEY_LEFTCTRL:
            ctrlHeld_[0] = key.down;
            break;
        case KEY_RIGHTCTRL:
            ctrlHeld_[1] = key.down;
            break;
        default:
            break;
    }
    if (keyboardMessage_ == 0) return;  // a mode that only swallows
    const std::optional<ScanCode> scan = ScanCodeForLinuxKey(key.linuxKey);
    if (!scan) {
        char text[64];
        std::snprintf(text, sizeof text, "input hook: key %d has no scan code\n", key.linuxKey);
        os::DebugOutput(text);
        return;
    }
    // The system-key messages stand for keys typed with Alt held (and not Ctrl, which makes Alt
    // an ordinary modifier), Alt itself included.
    const bool alt = key.down ? (altHeld_[0] || altHeld_[1]) : wasAlt;
    const bool ctrl = ctrlHeld_[0] || ctrlHeld_[1];
    const bool sys = alt && !ctrl;
    KBDLLHOOKSTRUCT record{};
    const std::optional<size_t> entry = EntryForScanCode(scan->scan_code, scan->extended);
    record.vkCode = entry ? KeyboardKeyTable[*entry].virtual_key : 0;
    record.scanCode = scan->scan_code;
    record.flags = (scan->extended ? LLKHF_EXTENDED : 0) | (alt ? LLKHF_ALTDOWN : 0) |
                   (key.down ? 0 : LLKHF_UP);
    record.time = key.timeMs;
    const uint32_t wm = key.down ? (sys ? os::WM_SYSKEYDOWN : os::WM_KEYDOWN)
                                 : (sys ? os::WM_SYSKEYUP : os::WM_KEYUP);
    os::SendMessage(target_, keyboardMessage_, wm, reinterpret_cast<os::LPARAM>(&record));
}

void CDeviceHook::OnCapturedButton(const os::CapturedButton& button) {
    if (!libraryInstalled_ || mouseMessage_ == 0 || TargetGone()) return;
    uint32_t wm = 0;
    uint16_t extra = 0;
    switch (button.button) {
        case 1:
            wm = button.down ? os::WM_LBUTTONDOWN : os::WM_LBUTTONUP;
            break;
        case 2:
            wm = button.down ? os::WM_MBUTTONDOWN : os::WM_MBUTTONUP;
            break;
        case 3:
            wm = button.down ? os::WM_RBUTTONDOWN : os::WM_RBUTTONUP;
            break;
        case 8:
        case 9:
            wm = button.down ? os::WM_XBUTTONDOWN : os::WM_XBUTTONUP;
            extra = button.button == 8 ? XBUTTON1 : XBUTTON2;
            break;
        default:
            return;
    }
    MOUSEHOOKSTRUCTEX record{};
    record.x = button.x;
    record.y = button.y;
    record.mouseData = static_cast<uint32_t>(extra) << 16;
    os::SendMessage(target_, mouseMessage_, wm, reinterpret_cast<os::LPARAM>(&record));
}

}  // namespace ui
