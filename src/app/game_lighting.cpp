#include "app/game_lighting.h"

#include <string>

#include "app/app_globals.h"
#include "device/quendal_usb_device.h"
#include "os/debug_output.h"
#include "os/message_loop.h"

namespace app {

DeviceGameLightingTarget::DeviceGameLightingTarget(device::CQuendalUSBDevice& device,
                                                   std::function<void()> clearSync,
                                                   std::function<void(int)> showMode)
    : device_(device), clearSync_(std::move(clearSync)), showMode_(std::move(showMode)) {}

void DeviceGameLightingTarget::ClearLightingSync() {
    if (clearSync_) clearSync_();
}

void DeviceGameLightingTarget::ShowLightMode(int mode) {
    if (showMode_) showMode_(mode);
}

profile::LightingRecord DeviceGameLightingTarget::GetLightingRecord() {
    return device_.GetLightingRecord();
}

void DeviceGameLightingTarget::StoreLighting(const profile::LightingRecord& record) {
    device_.SetLightingRecord(record);
    device_.SaveProfile();
    device_.LoadLightingFromProfile();
    const AppGlobals& g = Globals();
    device_.WriteDeviceSettings(0, 0, 1, g.screenWidth.load(), g.screenHeight.load());
}

CGameLighting::CGameLighting(os::HWND owner)
    : CGameLighting(Timer{
          .start = [owner](uintptr_t id, uint32_t ms) { os::SetTimer(owner, id, ms); },
          .kill = [owner](uintptr_t id) { os::KillTimer(owner, id); },
      }) {}

CGameLighting::CGameLighting(Timer timer) : timer_(std::move(timer)) {}

bool CGameLighting::IsGameMessage(uint32_t msg) {
    if (msg == 0) return false;
    for (const char* name : kGameMessageNames)
        if (os::FindRegisteredMessage(name) == msg) return true;
    return false;
}

void CGameLighting::OnGameEvent(IGameLightingTarget* selected, os::WPARAM wParam,
                                os::LPARAM lParam) {
    using Byte = profile::LightingRecord::Byte;
    // The mode is one byte of the record; anything else would store a different mode than the
    // sender asked for.
    if (lParam < 0 || lParam > 255) {
        os::DebugOutput("game event: light mode " + std::to_string(lParam) +
                        " out of range; ignored\n");
        return;
    }
    if (selected != nullptr && wParam <= 2) {
        selected->ClearLightingSync();
        selected->ShowLightMode(static_cast<int>(lParam));
        profile::LightingRecord record = selected->GetLightingRecord();
        // The first event of a series remembers the mode to return to; 0 (off) and modes beyond
        // the list return to mode 1. While an event's mode is showing, the record holds that
        // mode, not the user's: remembering it would lose the user's mode for good.
        if (wParam == 0 && changed_ != selected->Identity()) {
            const uint8_t current = record[Byte::kMode];
            record[Byte::kOldMode] = current == 0 || current > 20 ? 1 : current;
        }
        record[Byte::kMode] = static_cast<uint8_t>(lParam);
        selected->StoreLighting(record);
        changed_ = selected->Identity();
    }
    timer_.start(kRestoreTimerId, kRestoreDelayMs);
}

void CGameLighting::OnRestoreTimer(IGameLightingTarget* selected) {
    using Byte = profile::LightingRecord::Byte;
    timer_.kill(kRestoreTimerId);
    const void* changed = changed_;
    changed_ = nullptr;
    // A page the events never touched keeps its own lighting: its byte 13 was not saved by them.
    if (selected == nullptr || selected->Identity() != changed) return;
    profile::LightingRecord record = selected->GetLightingRecord();
    selected->ClearLightingSync();
    selected->ShowLightMode(record[Byte::kOldMode]);
    record[Byte::kMode] = record[Byte::kOldMode];
    selected->StoreLighting(record);
}

}  // namespace app
