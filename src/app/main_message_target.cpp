#include "app/main_message_target.h"

#include <cstdio>

#include "app/app_globals.h"
#include "os/debug_output.h"

namespace app {

MainMessageTarget::MainMessageTarget(os::SessionBus& bus) : bus_(bus) {}

MainMessageTarget::~MainMessageTarget() {
    Destroy();
}

bool MainMessageTarget::Create() {
    hwnd_ = os::CreateTarget(this);
    if (hwnd_ == 0) return false;
    Globals().mainWindow = hwnd_;
    bus_.PublishWindow(hwnd_, "MainWnd", kAppTitle);
    return true;
}

void MainMessageTarget::WindowInit() {
    bus_.Broadcast(Globals().UWM_LIGHT_CONTROL_ANNOUNCE_MSG, 1, 1);
    UserDataFolder();
    workers_.CreateSlots(hwnd_);
}

void MainMessageTarget::Destroy() {
    if (hwnd_ == 0 || destroyed_) return;
    destroyed_ = true;
    os::SendMessage(hwnd_, os::WM_DESTROY, 0, 0);
    bus_.UnpublishWindow(hwnd_);
    os::DestroyTarget(hwnd_);
    if (Globals().mainWindow == hwnd_) Globals().mainWindow = 0;
}

os::LRESULT MainMessageTarget::HandleMessage(uint32_t msg, os::WPARAM wParam, os::LPARAM lParam) {
    const AppGlobals& g = Globals();
    if (msg == g.UWM_TITLE_MSG) {
        OnTitleMessage(wParam, lParam);
        return 0;
    }
    switch (msg) {
        case os::WM_CLOSE:
            Destroy();
            return 0;
        case os::WM_DESTROY:
            OnDestroy();
            return 0;
        default:
            return 0;
    }
}

void MainMessageTarget::OnTitleMessage(os::WPARAM wParam, os::LPARAM lParam) {
    char text[96];
    std::snprintf(text, sizeof text, "软件标示 %d，%xd%xd",
                  static_cast<int>(Globals().UWM_TITLE_MSG), static_cast<unsigned>(wParam),
                  static_cast<unsigned>(lParam));
    os::DebugOutput(text);
    // Show and raise: the window itself comes with the skin; here the state is kept.
    shown_ = true;
    ++wakeCount_;
}

void MainMessageTarget::OnDestroy() {
    os::DebugOutput("退出测试");
    shown_ = false;
    workers_.StopAll();
    TellAudioCompanionWeEnd();
    os::PostQuitMessage(0);
}

void MainMessageTarget::TellAudioCompanionWeEnd() {
    const std::string title = kAppTitle;
    const os::SessionBus::RemoteWindow companion =
        bus_.FindWindow(title + "AudioRecord", title + "AUDIORECORD");
    if (!companion) return;
    const uint32_t msg = Globals().UWM_AUDIO_COMPANION_MSG;
    for (os::WPARAM w : {2, 4, 5}) bus_.SendRegistered(companion, msg, w, 0, 1500);
}

}  // namespace app
