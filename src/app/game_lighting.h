#pragma once

#include <cstdint>
#include <functional>

#include "os/messages.h"
#include "profile/profile_records.h"

namespace device {
class CQuendalUSBDevice;
}

namespace app {

// What a game event changes: the lighting of the selected device page.
class IGameLightingTarget {
  public:
    virtual ~IGameLightingTarget() = default;
    // Which device this is, so that a restore reaches only a device an event changed.
    virtual const void* Identity() const = 0;
    // Clears the page's lighting-synchronisation flag.
    virtual void ClearLightingSync() = 0;
    // The lighting panel shows this light mode.
    virtual void ShowLightMode(int mode) = 0;
    virtual profile::LightingRecord GetLightingRecord() = 0;
    // Stores the record, saves the profile, reloads the lighting from it and writes the
    // settings to the device.
    virtual void StoreLighting(const profile::LightingRecord& record) = 0;
};

// The target over a device model. The flag and the panel belong to the main window and the
// page, which hand them in.
class DeviceGameLightingTarget : public IGameLightingTarget {
  public:
    DeviceGameLightingTarget(device::CQuendalUSBDevice& device, std::function<void()> clearSync,
                             std::function<void(int)> showMode);
    const void* Identity() const override { return &device_; }
    void ClearLightingSync() override;
    void ShowLightMode(int mode) override;
    profile::LightingRecord GetLightingRecord() override;
    void StoreLighting(const profile::LightingRecord& record) override;

  private:
    device::CQuendalUSBDevice& device_;
    std::function<void()> clearSync_;
    std::function<void(int)> showMode_;
};

// Game events: other programs broadcast "Game_Start", "Game_End", "Game_Kill" and "Game_Death"
// (wParam 0, 1 or 2; lParam a light mode index). Each shows its light mode on the selected device
// for five seconds after the last event; then timer 1066 brings back the mode saved by the last
// event with wParam 0 (record byte 13).
class CGameLighting {
  public:
    static constexpr uintptr_t kRestoreTimerId = 1066;
    static constexpr uint32_t kRestoreDelayMs = 5000;

    // The restore timer: start (or restart) with a period, and kill.
    struct Timer {
        std::function<void(uintptr_t id, uint32_t periodMs)> start;
        std::function<void(uintptr_t id)> kill;
    };

    // Timer 1066 runs on the owner window; its WM_TIMER goes to OnRestoreTimer.
    explicit CGameLighting(os::HWND owner);
    explicit CGameLighting(Timer timer);

    // Whether msg is one of the four game messages (registered by name).
    static bool IsGameMessage(uint32_t msg);

    // A game message. selected: the selected device page's target, nullptr when there is none.
    void OnGameEvent(IGameLightingTarget* selected, os::WPARAM wParam, os::LPARAM lParam);
    // Timer 1066 fired.
    void OnRestoreTimer(IGameLightingTarget* selected);

  private:
    Timer timer_;
    const void* changed_ = nullptr;  // the device the last events changed
};

}  // namespace app
