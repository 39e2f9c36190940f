#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/controls/horizontal_layout_ui.h"

namespace device {
class CQuendalUSBDevice;
}

namespace toolkit {
class COptionUI;
}

namespace app {

class CMpDevicePowerUI;
class LiveColourTicker;

// Timers of a device-bar item; each drives one periodic job of the item's device.
inline constexpr uint32_t kItemLiveColourTimer = 1000;  // 5 ms (20 ms through the receiver)
inline constexpr uint32_t kItemRefreshTimer = 1001;     // once, 500 ms after attaching
inline constexpr uint32_t kItemSyncTimer = 1002;        // the listeners ask for a re-read
inline constexpr uint32_t kItemSpareTimerA = 1003;
inline constexpr uint32_t kItemSpareTimerB = 1004;
inline constexpr uint32_t kItemPowerTimer = 1005;      // 50 ms, then every 5000 ms
inline constexpr uint32_t kItemLinkWatchTimer = 1007;  // every 3000 ms through the receiver
inline constexpr uint32_t kItemLinkQueryTimer = 1008;  // a link query after switching to receiver

inline constexpr int kLiveColourPeriodMs = 5;
inline constexpr int kLiveColourReceiverPeriodMs = 20;
inline constexpr int kRefreshDelayMs = 500;
inline constexpr int kLinkRetryMs = 3000;
inline constexpr int kPowerFirstMs = 50;
inline constexpr int kPowerPeriodMs = 5000;
inline constexpr int kLinkWatchFirstMs = 2000;
inline constexpr int kLinkWatchPeriodMs = 3000;
inline constexpr int kLinkQueryTries = 26;
inline constexpr int kLinkQueryPauseMs = 50;
// Live-colour turns without a change before the timer rests.
inline constexpr int kLiveIdleTicks = 20;
// The shortest time between two redraws of a page for its live colours (25 per second).
inline constexpr int kPageRedrawIntervalMs = 40;

// Message to the main window: wParam an item index, lParam 1 show it / 0 hide it.
inline constexpr uint32_t kItemShowMessage = 3331;

// One item of the device bar ("DeviceOption"): the device's picture as an option that selects
// its page, the option that takes part in synchronised lighting, the name label. Its timers run
// the device's periodic work on the UI thread.
class CDeviceOptionUI : public toolkit::CHorizontalLayoutUI {
  public:
    static constexpr std::string_view kClassName = "DeviceOption";

    ~CDeviceOptionUI() override;

    std::string_view GetClass() const override { return kClassName; }
    bool Activate() override;
    void DoEvent(toolkit::TEventUI& event) override;

    void SetDevice(device::CQuendalUSBDevice* device) { device_ = device; }
    device::CQuendalUSBDevice* GetDevice() const { return device_; }
    void SetPageRoot(toolkit::CControlUI* root) {
        pageRoot_ = root;
        lightArea_ = nullptr;
    }
    toolkit::CControlUI* pageRoot() const { return pageRoot_; }
    // Its place in the bar, sent with the show and hide requests.
    void SetIndex(int index) { index_ = index; }
    int index() const { return index_; }
    // Where the show and hide requests go.
    void SetWindow(uintptr_t hwnd) { window_ = hwnd; }

    // The pictures of a kind (the sub-kind tells the mouse pads apart).
    void SetKindImages(int kind, int subKind);
    int kind() const { return kind_; }
    int subKind() const { return subKind_; }
    const std::string& normalImage() const { return normal_; }
    const std::string& selectedImage() const { return selected_; }
    const std::string& synchroNormalImage() const { return synchroNormal_; }
    const std::string& synchroSelectedImage() const { return synchroSelected_; }
    void SetNameLabel(const std::string& text);

    void SetTabGroup(const std::string& group);
    void BindTab(const std::string& tabLayout, int index) {
        tabLayout_ = tabLayout;
        tabIndex_ = index;
    }
    const std::string& boundTabLayout() const { return tabLayout_; }
    int boundTabIndex() const { return tabIndex_; }
    void SetPowerSwitch(const std::string& name, int index) {
        powerSwitch_ = name;
        powerIndex_ = index;
    }
    const std::string& powerSwitch() const { return powerSwitch_; }
    int powerIndex() const { return powerIndex_; }

    // "device_select": selecting sends "selectchanged".
    void Select(bool selected);
    bool IsSelected();
    bool IsSynchroSelected();
    void ShowSynchroButton(bool show);
    void SetSynchroSelected(bool selected);

    void SetVisible(bool visible = true) override;
    bool visibleFlag() const { return visible_; }
    int retries() const { return retries_; }

    // Links the power indicator to this item and back.
    void LinkPowerIndicator(CMpDevicePowerUI* indicator);
    CMpDevicePowerUI* powerIndicator() const { return power_; }

    // Whether the window is on screen: a hidden window's pages are not drawn.
    void SetWindowShown(bool shown) { windowShown_ = shown; }

    // The timer shared by the bar's items for the live colours (set before the item starts its
    // periodic work); without one the item runs its own live-colour timer.
    void SetLiveTicker(LiveColourTicker* ticker);
    void DetachLiveTicker(const LiveColourTicker* ticker) {
        if (ticker_ == ticker) ticker_ = nullptr;
    }
    // One live-colour turn: pushes the device's colours and redraws the page when they changed.
    void OnLiveColours();

    void StartRefreshTimer();
    void StartLinkWatch(int periodMs);
    // After switching to the receiver: asks the receiver for the link up to 26 times, 50 ms
    // apart, on the timer, so that the window goes on between the answers.
    void StartLinkQueries();
    // Stops every periodic job (the device left).
    void StopTimers();

  private:
    toolkit::COptionUI* SelectOption();
    toolkit::COptionUI* SynchroOption();
    toolkit::CControlUI* NameLabel();
    void ApplyImages();
    void RequestShow(bool show);
    void OnRefresh();
    void StartLivePushes();
    void StopLivePushes();
    void OnPower();
    void OnLinkWatch();
    void OnLinkQuery();
    bool ThroughReceiver() const;
    bool Connected() const;

    device::CQuendalUSBDevice* device_ = nullptr;
    toolkit::CControlUI* pageRoot_ = nullptr;
    toolkit::CControlUI* lightArea_ = nullptr;
    toolkit::COptionUI* select_ = nullptr;
    toolkit::COptionUI* synchro_ = nullptr;
    toolkit::CControlUI* name_ = nullptr;
    int kind_ = 0;
    int subKind_ = 0;
    std::string synchroSelected_ = "file='common/device_ico/unknow_device_synchro_selected.png'";
    std::string synchroNormal_ = "file='common/device_ico/unknow_device_synchro_normal.png'";
    std::string selected_ = "file='common/device_ico/unknow_device_selected.png'";
    std::string normal_ = "file='common/device_ico/unknow_device_normal.png'";
    std::string tabLayout_;
    int tabIndex_ = -1;
    std::string powerSwitch_;
    int powerIndex_ = -1;
    bool visible_ = true;
    int retries_ = 0;
    int linkQueriesLeft_ = 0;
    bool redrawPending_ = false;
    int idleTicks_ = 0;
    bool windowShown_ = true;
    int64_t lastRedrawMs_ = 0;
    int index_ = -1;
    uintptr_t window_ = 0;
    CMpDevicePowerUI* power_ = nullptr;
    LiveColourTicker* ticker_ = nullptr;
};

}  // namespace app
