#include "app/device_bar/device_option_ui.h"

#include "app/device_bar/device_descriptors.h"
#include "app/device_bar/find_child.h"
#include "app/device_bar/live_colour_ticker.h"
#include "app/device_bar/mp_device_power_ui.h"
#include "device/quendal_usb_device.h"
#include "os/debug_output.h"
#include "os/event.h"
#include "os/message_loop.h"
#include "toolkit/controls/option_ui.h"
#include "toolkit/paint_manager_ui.h"

namespace app {

CDeviceOptionUI::~CDeviceOptionUI() {
    if (ticker_ != nullptr) ticker_->Forget(this);
}

void CDeviceOptionUI::SetLiveTicker(LiveColourTicker* ticker) {
    if (ticker_ != nullptr) ticker_->Forget(this);
    ticker_ = ticker;
    if (ticker_ != nullptr) ticker_->Attach(this);
}

void CDeviceOptionUI::StartLivePushes() {
    const int period = ThroughReceiver() ? kLiveColourReceiverPeriodMs : kLiveColourPeriodMs;
    if (ticker_ == nullptr) {
        SetTimer(kItemLiveColourTimer, static_cast<uint32_t>(period));
        return;
    }
    KillTimer(kItemLiveColourTimer);
    ticker_->Arm(this, period);
}

void CDeviceOptionUI::StopLivePushes() {
    KillTimer(kItemLiveColourTimer);
    if (ticker_ != nullptr) ticker_->Disarm(this);
}

bool CDeviceOptionUI::Activate() {
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, toolkit::DUI_MSGTYPE_SELECTCHANGED);
    return true;
}

toolkit::COptionUI* CDeviceOptionUI::SelectOption() {
    if (!select_) select_ = dynamic_cast<toolkit::COptionUI*>(FindChild(this, "device_select"));
    return select_;
}

toolkit::COptionUI* CDeviceOptionUI::SynchroOption() {
    if (!synchro_)
        synchro_ = dynamic_cast<toolkit::COptionUI*>(FindChild(this, "synchro_device_select"));
    return synchro_;
}

toolkit::CControlUI* CDeviceOptionUI::NameLabel() {
    if (!name_) name_ = FindChild(this, "device_select_name");
    return name_;
}

void CDeviceOptionUI::SetKindImages(int kind, int subKind) {
    kind_ = kind;
    subKind_ = subKind;
    const std::string_view prefix = DevicePicturePrefix(kind, subKind);
    if (prefix.empty()) return;  // a pad of an unknown sub-kind keeps its pictures
    const std::string base = "file='common/device_ico/" + std::string(prefix) + "_device_";
    synchroSelected_ = base + "synchro_selected.png'";
    synchroNormal_ = base + "synchro_normal.png'";
    selected_ = base + "selected.png'";
    normal_ = base + "normal.png'";
    ApplyImages();
    if (toolkit::COptionUI* o = SelectOption()) {
        o->SetResourceText(true);
        o->SetToolTip(std::string(prefix) + "_device_name_text");
    }
}

void CDeviceOptionUI::ApplyImages() {
    if (toolkit::COptionUI* o = SelectOption()) {
        o->SetNormalImage(normal_);
        o->SetHotImage(selected_);
        o->SetSelectedImage(selected_);
    }
    if (toolkit::COptionUI* o = SynchroOption()) {
        o->SetNormalImage(synchroNormal_);
        o->SetHotImage(synchroSelected_);
        o->SetSelectedImage(synchroSelected_);
    }
}

void CDeviceOptionUI::SetNameLabel(const std::string& text) {
    if (toolkit::CControlUI* label = NameLabel()) label->SetText(text);
}

void CDeviceOptionUI::SetTabGroup(const std::string& group) {
    if (toolkit::COptionUI* o = SelectOption()) o->SetGroup(group);
}

void CDeviceOptionUI::Select(bool selected) {
    if (toolkit::COptionUI* o = SelectOption()) o->Selected(selected, true);
}

bool CDeviceOptionUI::IsSelected() {
    toolkit::COptionUI* o = SelectOption();
    return o != nullptr && o->IsSelected();
}

bool CDeviceOptionUI::IsSynchroSelected() {
    toolkit::COptionUI* o = SynchroOption();
    return o != nullptr && o->IsSelected();
}

void CDeviceOptionUI::ShowSynchroButton(bool show) {
    if (toolkit::COptionUI* o = SynchroOption()) o->SetVisible(show);
}

void CDeviceOptionUI::SetSynchroSelected(bool selected) {
    if (toolkit::COptionUI* o = SynchroOption()) o->Selected(selected, false);
}

void CDeviceOptionUI::SetVisible(bool visible) {
    visible_ = visible;
    CHorizontalLayoutUI::SetVisible(visible);
}

void CDeviceOptionUI::LinkPowerIndicator(CMpDevicePowerUI* indicator) {
    power_ = indicator;
    if (indicator) indicator->SetItem(this);
}

bool CDeviceOptionUI::Connected() const {
    return device_ != nullptr && device_->commandChannel().IsOpen();
}

bool CDeviceOptionUI::ThroughReceiver() const {
    return device_ != nullptr &&
           device_->commandChannel().mode() == device::DeviceChannel::kReceiver;
}

void CDeviceOptionUI::RequestShow(bool show) {
    if (window_ != 0) os::SendMessage(window_, kItemShowMessage, index_, show ? 1 : 0);
}

void CDeviceOptionUI::StartRefreshTimer() {
    SetTimer(kItemRefreshTimer, kRefreshDelayMs);
}

void CDeviceOptionUI::StartLinkWatch(int periodMs) {
    if (Connected()) SetTimer(kItemLinkWatchTimer, static_cast<uint32_t>(periodMs));
}

void CDeviceOptionUI::StartLinkQueries() {
    linkQueriesLeft_ = kLinkQueryTries;
    KillTimer(kItemLinkQueryTimer);
    OnLinkQuery();
}

void CDeviceOptionUI::StopTimers() {
    StopLivePushes();
    for (uint32_t id :
         {kItemLiveColourTimer, kItemRefreshTimer, kItemSyncTimer, kItemSpareTimerA,
          kItemSpareTimerB, kItemPowerTimer, kItemLinkWatchTimer, kItemLinkQueryTimer})
        KillTimer(id);
    linkQueriesLeft_ = 0;
}

void CDeviceOptionUI::DoEvent(toolkit::TEventUI& event) {
    if (event.Type != toolkit::UIEVENT_TIMER) return CHorizontalLayoutUI::DoEvent(event);
    const auto id = static_cast<uint32_t>(event.wParam);
    // The live-colour timer keeps its period instead of being stopped and set again each turn;
    // every other timer stops itself first.
    if (id != kItemLiveColourTimer) KillTimer(id);
    if (device_ == nullptr) {
        KillTimer(id);
        return;
    }
    switch (id) {
        case kItemLiveColourTimer:
            // The device woke the pushes on the item's own timer: from here the shared timer
            // goes on at the same pace.
            if (ticker_ != nullptr) StartLivePushes();
            return OnLiveColours();
        case kItemRefreshTimer:
            return OnRefresh();
        case kItemSyncTimer:
            return device_->SyncFromDevice();
        case kItemSpareTimerA:
            return device_->SpareHookA();
        case kItemSpareTimerB:
            return device_->SpareHookB();
        case kItemPowerTimer:
            return OnPower();
        case kItemLinkWatchTimer:
            return OnLinkWatch();
        case kItemLinkQueryTimer:
            return OnLinkQuery();
        default:
            return;
    }
}

void CDeviceOptionUI::OnRefresh() {
    // A device that left before the refresh came due shows nothing and starts nothing.
    if (!Connected()) return;
    if (ThroughReceiver() && !device_->IsLinked()) {
        retries_ = retries_ >= 20 ? 0 : retries_ + 1;
        if (visible_) RequestShow(false);
        SetTimer(kItemRefreshTimer, kLinkRetryMs);
        return;
    }
    RequestShow(true);
    device_->OnConnected();
    retries_ = 0;
    device_->SetLiveIdle(false);
    StartLivePushes();
    if (device_->GetBatteryCapable() != 0 && Connected()) SetTimer(kItemPowerTimer, kPowerFirstMs);
    if (ThroughReceiver()) StartLinkWatch(kLinkWatchFirstMs);
}

void CDeviceOptionUI::OnLiveColours() {
    if (device_ == nullptr || !Connected()) {
        StopLivePushes();
        return;
    }
    if (device_->PushLiveColours() != 0) {
        redrawPending_ = true;
        idleTicks_ = 0;
    } else if (++idleTicks_ >= kLiveIdleTicks && device_->SetLiveIdle(true)) {
        // Nothing moved for a while: the timer rests until the device's colours change again
        // (the device starts it then).
        StopLivePushes();
        idleTicks_ = 0;
    }
    // Only the page on screen is drawn again, only when its colours changed, and no more often
    // than the eye follows: the colours still reach the device at the timer's pace.
    if (!redrawPending_ || pageRoot_ == nullptr || !windowShown_ || !IsSelected()) return;
    const int64_t now = os::MonotonicMs();
    if (now - lastRedrawMs_ < kPageRedrawIntervalMs) return;
    lastRedrawMs_ = now;
    redrawPending_ = false;
    // The LED buttons' container is what shows the live colours; without one, the whole page.
    if (lightArea_ == nullptr) lightArea_ = FindChild(pageRoot_, device_->GetLightControlName());
    (lightArea_ != nullptr ? lightArea_ : pageRoot_)->Invalidate();
}

void CDeviceOptionUI::OnPower() {
    device_->RefreshPowerStatus();
    if (device_->GetBatteryCapable() != 0) SetTimer(kItemPowerTimer, kPowerPeriodMs);
}

void CDeviceOptionUI::OnLinkWatch() {
    device::DeviceChannel& channel = device_->commandChannel();
    if (ThroughReceiver()) {
        if (device_->IsLinked()) {
            if (!visible_) {
                RequestShow(true);
                if (device_->GetBatteryCapable() != 0) device_->RefreshPowerStatus();
            }
            os::DebugOutput("2.4gcesvdfherhue  12312423 123342341");
            if (channel.receiverTarget() == 2) channel.ReceiverPoll();
        } else if (visible_) {
            RequestShow(false);
            os::DebugOutput("2.4gcesvdfherhue");
        }
        SetTimer(kItemLinkWatchTimer, kLinkWatchPeriodMs);
    } else if (channel.IsOpen()) {
        os::DebugOutput("2.4gcesvdfherhue  12312423");
    }
}

void CDeviceOptionUI::OnLinkQuery() {
    if (!Connected() || !ThroughReceiver()) {
        linkQueriesLeft_ = 0;
        return;
    }
    --linkQueriesLeft_;
    if (!device_->commandChannel().QueryLink()) {
        if (linkQueriesLeft_ > 0) {
            os::DebugOutput("获取2.4G模式失败");
            SetTimer(kItemLinkQueryTimer, kLinkQueryPauseMs);
            return;
        }
        os::DebugOutput("获取2");
    }
    linkQueriesLeft_ = 0;
    device_->SyncFromDevice();
    SetTimer(kItemRefreshTimer, kLinkWatchFirstMs);
}

}  // namespace app
