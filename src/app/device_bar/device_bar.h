#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/device_bar/device_set.h"
#include "app/device_bar/live_colour_ticker.h"
#include "app/device_bar/synchro_lighting.h"
#include "app/dispatch/device_bar_target.h"
#include "app/main_wnd_ids.h"
#include "device/device_channel.h"
#include "hid/interface_slot_list.h"
#include "os/messages.h"
#include "os/worker_context.h"

namespace toolkit {
class CPaintManagerUI;
class IDialogBuilderCallback;
}  // namespace toolkit

namespace app {

class CDeviceOptionUI;
class CMpDevicePowerUI;

// The periods of the main window's receiver poll (timer kReceiverPollTimer).
inline constexpr int kReceiverPollFirstMs = 200;
inline constexpr int kReceiverPollPeriodMs = 1500;

// What the device bar needs of the main window.
struct DeviceBarHost {
    toolkit::CPaintManagerUI* pm = nullptr;
    // Builds the custom classes of the item, power and page files (the window's control factory).
    toolkit::IDialogBuilderCallback* builder = nullptr;
    os::HWND window = 0;
    std::shared_ptr<hid::InterfaceSlotList> slots;
    // After an arrival: update the no-device notice and bring the window to the front.
    std::function<void()> showAndRaise;
    // Before the selected item goes: the child windows close.
    std::function<void()> closeChildWindows;
};

// The device bar: one item, page and power indicator per device kind, built at "windowinit" and
// shown while a device of that kind is attached; the attaching and detaching of the interfaces the
// discovery thread reports (on cable or through the receiver), the receiver poll, the selection,
// and the synchronised lighting with its thread.
class DeviceBar : public IDeviceBarTarget {
  public:
    explicit DeviceBar(DeviceBarHost host);
    ~DeviceBar() override;

    // ---- IDeviceBarTarget ----
    void BuildPages() override;
    void OnDeviceArrival(int slot) override;
    void OnDeviceRemoval(int slot) override;
    void OnItemShowMessage(int item, bool show) override;
    void OnReceiverPollTimer() override;
    void OnResume() override;
    void OnDeviceSelectChanged(toolkit::TNotifyUI& msg) override;
    void OnSynchroSelectChanged(toolkit::TNotifyUI& msg) override;
    void SelectNext() override;
    void SelectPrevious() override;
    void SynchroniseLighting() override;
    int VisibleItemCount() const override;
    device::CQuendalUSBDevice* SelectedDevice() const override;
    device::CQuendalUSBDevice* SelectedKeyboard() const override;
    device::CQuendalUSBDevice* SelectedMouse() const override;
    void ForEachPadMouseKeyboard(
        const std::function<void(device::CQuendalUSBDevice&)>& fn) const override;
    void ForEachDevice(const std::function<void(device::CQuendalUSBDevice&)>& fn) const override;

    // Builds the power indicator, page and item of the descriptor matching a slot; false when no
    // descriptor matches or a skin file fails (nothing of it is kept then).
    bool BuildPageSet(const hid::DeviceIdentity& slot, int role = 0);
    // Shows or hides item i, selecting it (and its page and power display) when select is set.
    void ShowItem(int i, bool visible, bool select);
    // Hides item i; when it was the selected one, the first other visible item is selected.
    void HideItem(int i);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    CDeviceOptionUI* Item(int i) const;
    // The item of a device, or -1.
    int ItemOf(const device::CQuendalUSBDevice* device) const;
    int SelectedIndex() const;
    const DeviceSet& devices() const { return devices_; }
    hid::InterfaceSlotList* slots() const { return host_.slots.get(); }

    // The lighting-control flag, passed to every pad, mouse and keyboard.
    void SetLightingControl(bool on);
    bool lightingControl() const { return lightingControl_ != 0; }
    // The window was shown or hidden: mice and keyboards are told.
    void SetWindowShown(bool shown);

    // The lighting synchronisation thread (worker slot 8): steps the synchronised effect for the
    // devices that take part until the stop event is set.
    void LightingSyncThread(const os::WorkerContext& ctx);
    SynchroLighting& synchroLighting() { return shared_->lighting; }
    // The devices the synchronisation thread drives now.
    int SynchroParticipants() const;

  private:
    struct Shared {
        SynchroLighting lighting;
        std::array<std::atomic<device::CQuendalUSBDevice*>, 4> participants{};
    };

    void AttachCommand(int slot);
    void DetachCommand(int slot);
    void AttachEvents(int slot);
    void DetachEvents(int slot);
    // Switches a wired device between its cable and the receiver.
    void SwitchLink(int wiredSlot, bool toReceiver);
    // True when the device of wired slot i is reached through the receiver at the moment.
    bool ReachedThroughReceiver(int slot) const;
    // The device whose identity is the slot's (or, behind the receiver, its wired row's).
    device::CQuendalUSBDevice* DeviceForSlot(int slot) const;
    hid::DeviceIdentity IdentityFor(int slot) const;
    bool HasPageFor(int slot) const;
    void UpdateSynchroOffer();
    void UpdateParticipants();
    void SelectPowerDisplay(CDeviceOptionUI* item);
    toolkit::CControlUI* Find(const char* name) const;

    DeviceBarHost host_;
    DeviceSet devices_;
    std::vector<CDeviceOptionUI*> items_;
    std::vector<CMpDevicePowerUI*> powers_;
    int selectedKind_ = 0;
    int selectedSubKind_ = 0;
    int lightingControl_ = 1;
    // The path each slot was attached with (empty: not attached), to reconcile after a sleep.
    std::vector<std::string> attached_;
    // The receiver's own channel for the link poll.
    device::DeviceChannel receiver_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    // The items' live-colour pushes, on one timer.
    LiveColourTicker liveTicker_;
};

}  // namespace app
