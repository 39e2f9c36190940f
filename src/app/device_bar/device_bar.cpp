#include "app/device_bar/device_bar.h"

#include <algorithm>

#include "app/device_bar/device_descriptors.h"
#include "app/device_bar/device_option_ui.h"
#include "app/device_bar/mp_device_power_ui.h"
#include "device/quendal_usb_device.h"
#include "hid/supported_device.h"
#include "os/debug_output.h"
#include "os/event.h"
#include "os/message_loop.h"
#include "toolkit/container_ui.h"
#include "toolkit/controls/tab_layout_ui.h"
#include "toolkit/dialog_builder.h"
#include "toolkit/paint_manager_ui.h"

// Index of this file:
//   building the page sets
//   showing, hiding and selecting items
//   arrival and removal of interfaces; cable and receiver
//   the receiver poll and the reconcile after a sleep
//   synchronised lighting and its thread

namespace app {

namespace {

using device::CQuendalUSBDevice;
using device::DeviceChannel;
using hid::DeviceIdentity;

constexpr uint8_t kLinked = 0xFF;

bool IsKeyboardKind(int kind) {
    return kind == hid::kKindKeyboard || kind == hid::kKindReceiverKeyboard;
}
bool IsMouseKind(int kind) {
    return kind == hid::kKindMouse || kind == hid::kKindReceiverMouse;
}

bool SameIdentity(const DeviceIdentity& a, const hid::SupportedDevice& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId &&
           a.interfaceNumber == b.interfaceNumber && a.collectionNumber == b.collectionNumber &&
           a.kind == b.kind && a.role == b.role && a.usagePage == b.usagePage && a.usage == b.usage;
}

hid::SupportedDevice ToRow(const DeviceIdentity& d) {
    return {d.vendorId, d.productId, d.interfaceNumber, d.collectionNumber, d.kind,
            d.role,     d.usagePage, d.usage,           d.linked,           d.linkA,
            d.linkB};
}

// The receiver target of a device kind.
uint8_t ReceiverTargetOf(int kind) {
    return IsMouseKind(kind) ? 2 : 0;
}

}  // namespace

DeviceBar::DeviceBar(DeviceBarHost host) : host_(std::move(host)) {
    receiver_.SetConnectionType(DeviceChannel::kConnectionReceiver);
}

DeviceBar::~DeviceBar() {
    for (auto& p : shared_->participants) p = nullptr;
    // The items and pages are controls of the window and go with it, timers included.
    if (host_.window != 0) os::KillTimer(host_.window, kReceiverPollTimer);
}

toolkit::CControlUI* DeviceBar::Find(const char* name) const {
    return host_.pm ? host_.pm->FindControl(name) : nullptr;
}

CDeviceOptionUI* DeviceBar::Item(int i) const {
    return i >= 0 && i < ItemCount() ? items_[i] : nullptr;
}

int DeviceBar::ItemOf(const CQuendalUSBDevice* device) const {
    for (int i = 0; i < ItemCount(); ++i)
        if (items_[i]->GetDevice() == device) return i;
    return -1;
}

// ---- Building the page sets ----

void DeviceBar::BuildPages() {
    if (!items_.empty()) return;
    attached_.assign(host_.slots ? host_.slots->size() : 0, std::string());
    for (const DeviceDescriptor& d : kDeviceDescriptors) {
        for (const hid::SupportedDevice& row : hid::kSupportedDevices) {
            if (row.vendorId == d.vendorId && row.productId == d.productId && row.kind == d.kind &&
                row.role == d.role) {
                BuildPageSet(row.ToIdentity(), d.role);
                break;
            }
        }
    }
    UpdateSynchroOffer();
}

bool DeviceBar::BuildPageSet(const DeviceIdentity& slot, int role) {
    DeviceIdentity row = slot;
    // Behind the receiver the page is the wired device's.
    if (row.linked != 0 && row.kind == hid::kKindReceiverKeyboard)
        row = hid::kSupportedDevices[row.linkA].ToIdentity();
    else if (row.linked != 0 && row.kind == hid::kKindReceiverMouse)
        row = hid::kSupportedDevices[row.linkB].ToIdentity();
    const int kind = IsKeyboardKind(row.kind) ? 1 : IsMouseKind(row.kind) ? 2 : row.kind;
    int index = -1;
    for (size_t i = 0; i < kDeviceDescriptors.size(); ++i) {
        const DeviceDescriptor& d = kDeviceDescriptors[i];
        if (d.vendorId == row.vendorId && d.productId == row.productId && d.kind == kind &&
            d.role == role)
            index = static_cast<int>(i);
    }
    if (index < 0 || host_.pm == nullptr) return false;
    const DeviceDescriptor& d = kDeviceDescriptors[index];
    const DevicePageDescriptor& p = kDevicePageDescriptors[index];
    auto* powerSwitch = dynamic_cast<toolkit::CContainerUI*>(Find("device_power_switch"));
    auto* pageSwitch = dynamic_cast<toolkit::CContainerUI*>(Find("device_switch"));
    auto* bar = dynamic_cast<toolkit::CContainerUI*>(Find("device_select_layout"));
    if (!powerSwitch || !pageSwitch || !bar) {
        os::DebugOutput("device bar: the main skin has no device bar\n");
        return false;
    }

    auto build = [&](std::string_view file) -> toolkit::CControlUI* {
        toolkit::CDialogBuilder builder;
        toolkit::CControlUI* c = builder.Create(std::string(file), "", host_.builder, host_.pm);
        if (c == nullptr) os::DebugOutput("device bar: " + builder.GetLastError() + "\n");
        return c;
    };
    toolkit::CControlUI* powerControl = build(kPowerIndicatorXml);
    toolkit::CControlUI* pageControl = build(p.pageXml);
    toolkit::CControlUI* itemControl = build(d.itemXml);
    auto* power = dynamic_cast<CMpDevicePowerUI*>(powerControl);
    auto* page = dynamic_cast<CQuendalUSBDevice*>(pageControl);
    auto* item = dynamic_cast<CDeviceOptionUI*>(itemControl);
    if (!power || !page || !item) {
        if ((powerControl || pageControl || itemControl) && !(power && page && item))
            os::DebugOutput("device bar: a page file of " + std::string(d.typeName) +
                            " has not the expected classes\n");
        delete powerControl;
        delete pageControl;
        delete itemControl;
        return false;
    }

    // Power indicator.
    powerSwitch->Add(power);
    power->SetKind(d.kind, d.role);
    powers_.push_back(power);

    // Page.
    page->SetPageName(std::string(p.pageXml));
    page->SetMainWindow(host_.window);
    page->SetKeyCount(p.keyCount);
    page->SetLedCount(p.ledCount);
    page->SetDescriptorIndex(index);
    page->SetBatteryCapable(p.batteryCapable);
    page->SetProfileFileName("");
    page->SetDataFolderName(std::string(d.typeName));
    page->SetPowerIndicator(power);
    page->SetCatalogueRow(ToRow(row));
    page->SetLightVariant(d.lightVariant);
    page->SetLightControlName(std::string(p.lightControlName));
    page->BindPageControls();
    pageSwitch->Add(page);
    devices_.Add(page);
    page->SetLightingSwitch(lightingControl_);

    // Item.
    bar->Add(item);
    item->SetIndex(static_cast<int>(items_.size()));
    item->SetWindow(host_.window);
    item->SetLiveTicker(&liveTicker_);
    item->ShowSynchroButton(false);
    item->SetTabGroup(std::string(d.tabGroup));
    item->BindTab("device_switch", pageSwitch->GetCount() - 1);
    item->SetPowerSwitch(std::string(d.powerSwitch), powerSwitch->GetCount() - 1);
    item->SetKindImages(d.kind, d.role);
    item->SetVisible(false);
    item->SetNameLabel(std::string(kDeviceBrandName));
    item->SetDevice(page);
    page->SetDeviceBarItem(item);
    item->LinkPowerIndicator(power);
    item->SetPageRoot(page);
    items_.push_back(item);
    return true;
}

// ---- Showing, hiding and selecting items ----

int DeviceBar::VisibleItemCount() const {
    return static_cast<int>(
        std::count_if(items_.begin(), items_.end(), [](auto* i) { return i->visibleFlag(); }));
}

int DeviceBar::SelectedIndex() const {
    for (int i = 0; i < ItemCount(); ++i)
        if (items_[i]->visibleFlag() && items_[i]->IsSelected()) return i;
    return -1;
}

void DeviceBar::SelectPowerDisplay(CDeviceOptionUI* item) {
    auto* power = dynamic_cast<toolkit::CTabLayoutUI*>(Find(item->powerSwitch().c_str()));
    if (power == nullptr) return;
    if (item->powerIndex() < 0) {
        power->SetVisible(false);
    } else {
        power->SetVisible(true);
        power->SelectItem(item->powerIndex(), false);
    }
}

void DeviceBar::ShowItem(int i, bool visible, bool select) {
    CDeviceOptionUI* item = Item(i);
    if (item == nullptr) return;
    item->SetVisible(visible);
    if (select) {
        if (auto* tabs = dynamic_cast<toolkit::CTabLayoutUI*>(Find(item->boundTabLayout().c_str())))
            tabs->SelectItem(item->boundTabIndex(), false);
        SelectPowerDisplay(item);
    }
    item->Select(select);
    const int visibleCount = VisibleItemCount();
    if (toolkit::CControlUI* notice = Find("No_device_Link")) notice->SetVisible(visibleCount == 0);
    if (visibleCount == 0) {
        for (const char* name : {"device_power_switch", "device_switch"})
            if (auto* tabs = dynamic_cast<toolkit::CTabLayoutUI*>(Find(name)))
                tabs->SelectItem(0, false);
    }
    UpdateSynchroOffer();
}

void DeviceBar::UpdateSynchroOffer() {
    // Synchronisation is offered only while more than one item is visible.
    const bool offered = VisibleItemCount() > 1;
    int synchroSelected = 0;
    for (CDeviceOptionUI* item : items_) {
        item->ShowSynchroButton(offered && item->visibleFlag());
        if (item->visibleFlag() && item->IsSynchroSelected()) ++synchroSelected;
    }
    if (synchroSelected < 2)
        for (CDeviceOptionUI* item : items_) item->SetSynchroSelected(false);
    if (toolkit::CControlUI* same = Find("deng_same_mode")) same->SetEnabled(offered);
    UpdateParticipants();
}

void DeviceBar::HideItem(int i) {
    CDeviceOptionUI* item = Item(i);
    if (item == nullptr) return;
    const bool wasSelected = item->visibleFlag() && item->IsSelected();
    if (wasSelected && host_.closeChildWindows) host_.closeChildWindows();
    // FIXME: while the key assignment panel captures a key, the global input hook is removed,
    // the selected device's macro recording ends and the bar and profile panel are enabled
    // again; that panel and the hook come with their own issues.
    int picked = -1;
    for (int j = 0; j < ItemCount() && picked < 0; ++j)
        if (j != i && items_[j]->visibleFlag()) picked = j;
    ShowItem(i, false, false);
    // Hiding an item that was not selected leaves the selection where it is.
    if (picked >= 0 && (wasSelected || SelectedIndex() < 0)) ShowItem(picked, true, true);
}

void DeviceBar::OnItemShowMessage(int i, bool show) {
    CDeviceOptionUI* item = Item(i);
    if (item == nullptr) return;
    if (!show) {
        os::DebugOutput("2.4gcesvdfherhue 1");
        HideItem(i);
    } else if (!item->visibleFlag()) {
        ShowItem(i, true, VisibleItemCount() == 0);
    }
}

void DeviceBar::SelectNext() {
    const int from = SelectedIndex();
    if (from < 0) return;
    for (int j = from + 1; j < ItemCount(); ++j)
        if (items_[j]->visibleFlag()) return ShowItem(j, true, true);
}

void DeviceBar::SelectPrevious() {
    const int from = SelectedIndex();
    for (int j = from - 1; j >= 0; --j)
        if (items_[j]->visibleFlag()) return ShowItem(j, true, true);
}

void DeviceBar::OnDeviceSelectChanged(toolkit::TNotifyUI&) {
    const int i = SelectedIndex();
    if (i < 0) return;
    CDeviceOptionUI* item = items_[i];
    selectedKind_ = item->kind();
    selectedSubKind_ = item->subKind();
    if (auto* tabs = dynamic_cast<toolkit::CTabLayoutUI*>(Find(item->boundTabLayout().c_str())))
        tabs->SelectItem(item->boundTabIndex(), false);
    CQuendalUSBDevice* device = item->GetDevice();
    if (device != nullptr && device->IsLinked())
        device->commandChannel().SetReceiverTarget(ReceiverTargetOf(device->GetDeviceKind()));
    if (toolkit::CControlUI* root = Find("root")) {
        if (IsKeyboardKind(selectedKind_))
            root->SetBkImage("file='main/background_kb.png'");
        else if (IsMouseKind(selectedKind_))
            root->SetBkImage("file='main/background_ms.png'");
    }
    // FIXME: the key assignment panel shows its function-list entry "8" for a keyboard and hides
    // it for a mouse; the panel comes with its own issue.
    SelectPowerDisplay(item);
}

void DeviceBar::OnSynchroSelectChanged(toolkit::TNotifyUI&) {
    UpdateParticipants();
}

CQuendalUSBDevice* DeviceBar::SelectedDevice() const {
    const int i = SelectedIndex();
    return i < 0 ? nullptr : items_[i]->GetDevice();
}

CQuendalUSBDevice* DeviceBar::SelectedKeyboard() const {
    CQuendalUSBDevice* d = SelectedDevice();
    return d && IsKeyboardKind(d->GetDeviceKind()) ? d : nullptr;
}

CQuendalUSBDevice* DeviceBar::SelectedMouse() const {
    CQuendalUSBDevice* d = SelectedDevice();
    return d && IsMouseKind(d->GetDeviceKind()) ? d : nullptr;
}

void DeviceBar::ForEachPadMouseKeyboard(const std::function<void(CQuendalUSBDevice&)>& fn) const {
    devices_.ForEachPadMouseKeyboard(fn);
}

void DeviceBar::ForEachDevice(const std::function<void(CQuendalUSBDevice&)>& fn) const {
    devices_.ForEachDevice(fn);
}

void DeviceBar::SetLightingControl(bool on) {
    lightingControl_ = on ? 1 : 0;
    devices_.ForEachPadMouseKeyboard([&](CQuendalUSBDevice& d) { d.SetLightingSwitch(on); });
}

void DeviceBar::SetWindowShown(bool shown) {
    for (CDeviceOptionUI* item : items_) item->SetWindowShown(shown);
    devices_.ForEachDevice([&](CQuendalUSBDevice& d) {
        const int kind = d.GetDeviceKind();
        if (IsKeyboardKind(kind) || IsMouseKind(kind)) d.SetWindowShown(shown);
    });
}

// ---- Arrival and removal of interfaces; cable and receiver ----

DeviceIdentity DeviceBar::IdentityFor(int slot) const {
    DeviceIdentity id = host_.slots->Slot(slot);
    if (id.linked != 0 && id.kind == hid::kKindReceiverKeyboard) return host_.slots->Slot(id.linkA);
    if (id.linked != 0 && id.kind == hid::kKindReceiverMouse) return host_.slots->Slot(id.linkB);
    return id;
}

CQuendalUSBDevice* DeviceBar::DeviceForSlot(int slot) const {
    const DeviceIdentity want = IdentityFor(slot);
    for (CQuendalUSBDevice* d : devices_.ListFor(want.kind))
        if (SameIdentity(want, d->GetCatalogueRow())) return d;
    return nullptr;
}

bool DeviceBar::HasPageFor(int slot) const {
    const DeviceIdentity want = IdentityFor(slot);
    // The event row of a device shares the page of its command row.
    for (CQuendalUSBDevice* d : devices_.ListFor(want.kind)) {
        const hid::SupportedDevice& row = d->GetCatalogueRow();
        if (row.vendorId == want.vendorId && row.productId == want.productId) return true;
    }
    return false;
}

bool DeviceBar::ReachedThroughReceiver(int slot) const {
    const DeviceIdentity s = host_.slots->Slot(slot);
    if (s.linked == 0) return false;
    const bool keyboard = s.kind == hid::kKindKeyboard;
    if (!keyboard && s.kind != hid::kKindMouse) return false;
    // The wired keyboard rows name their receiver row with linkA, the wired mouse rows with linkB.
    const int receiverRow = keyboard ? s.linkA : s.linkB;
    const DeviceIdentity r = host_.slots->Slot(receiverRow);
    if (r.kind != hid::kKindReceiver) return false;
    const int back = keyboard ? r.linkA : r.linkB;
    const bool flag =
        keyboard ? host_.slots->receiverKeyboardLinked : host_.slots->receiverMouseLinked;
    return back == slot && r.connected != 0 && !r.path.empty() && flag;
}

void DeviceBar::OnDeviceArrival(int slot) {
    if (!host_.slots || slot < 0 || slot >= static_cast<int>(host_.slots->size())) return;
    const DeviceIdentity s = host_.slots->Slot(slot);
    if (static_cast<size_t>(slot) < attached_.size()) attached_[slot] = s.path;
    hid::InterfaceSlotList& slots = *host_.slots;
    switch (s.kind) {
        case hid::kKindKeyboard:
        case hid::kKindReceiverKeyboard:
            slots.wiredKeyboardPresent = true;
            os::DebugOutput("添加一个键盘设备");
            break;
        case hid::kKindMouse:
            slots.wiredMousePresent = true;
            os::DebugOutput("添加一个鼠标设备");
            break;
        case hid::kKindReceiverMouse:
            os::DebugOutput("添加一个鼠标设备");
            break;
        case hid::kKindMousePad:
        case hid::kKindHeadset:
            os::DebugOutput("添加一个鼠标垫设备");
            break;
        case hid::kKindReceiver:
            os::DebugOutput("添加一个Dongle设备");
            if (s.role == hid::kRoleCommand)
                slots.receiverCommandPath = s.path;
            else
                slots.receiverEventPath = s.path;
            if (host_.window != 0)
                os::SetTimer(host_.window, kReceiverPollTimer, kReceiverPollFirstMs);
            break;
        default:
            return;
    }
    if (s.kind != hid::kKindReceiver) {
        if (!HasPageFor(slot)) BuildPageSet(s, 0);
        if (s.role == hid::kRoleCommand)
            AttachCommand(slot);
        else
            AttachEvents(slot);
    }
    if (host_.showAndRaise) host_.showAndRaise();
}

void DeviceBar::AttachCommand(int slot) {
    const DeviceIdentity s = host_.slots->Slot(slot);
    if (s.kind == hid::kKindKeyboard || s.kind == hid::kKindMouse) {
        if (ReachedThroughReceiver(slot)) return SwitchLink(slot, false);
    }
    CQuendalUSBDevice* device = DeviceForSlot(slot);
    if (device == nullptr) return;
    DeviceChannel& channel = device->commandChannel();
    const bool viaReceiver =
        s.kind == hid::kKindReceiverKeyboard || s.kind == hid::kKindReceiverMouse;
    if (!channel.IsOpen()) {
        bool opened;
        if (viaReceiver) {
            opened = channel.receiverHandle().Open(host_.slots->receiverCommandPath, true, true,
                                                   true, false);
        } else {
            opened = channel.directHandle().Open(s.path, true, true, true, false);
        }
        if (!opened) {
            // Nothing is half-attached: no item, no timers. The slot stays claimed (trying again
            // every pass would bring the window up every 100 ms); replugging tries again.
            os::DebugOutput("device bar: cannot open " + s.path + "\n");
            return;
        }
        channel.SetConnectionType(viaReceiver ? DeviceChannel::kConnectionReceiver : 0);
        channel.SetReceiverTarget(ReceiverTargetOf(s.kind));
        channel.SetOpen(true);
        device->SetCatalogueRow(ToRow(IdentityFor(slot)));
    }
    const int i = ItemOf(device);
    CDeviceOptionUI* item = Item(i);
    if (item == nullptr) return;
    // Behind the receiver the item shows once the link watch finds the partner.
    if (!viaReceiver) ShowItem(i, true, VisibleItemCount() == 0 || SelectedIndex() < 0);
    item->StartRefreshTimer();
}

void DeviceBar::AttachEvents(int slot) {
    const DeviceIdentity s = host_.slots->Slot(slot);
    CQuendalUSBDevice* device = DeviceForSlot(slot);
    if (device == nullptr) device = devices_.FirstOf(s.kind);
    if (device == nullptr) return;
    if (s.kind == hid::kKindReceiverKeyboard || s.kind == hid::kKindReceiverMouse)
        device->OpenListener(1, host_.slots->receiverEventPath);
    else
        device->OpenListener(0, s.path);
}

void DeviceBar::DetachEvents(int slot) {
    const DeviceIdentity s = host_.slots->Slot(slot);
    CQuendalUSBDevice* device = devices_.FirstOf(s.kind);
    if (device == nullptr) return;
    const bool viaReceiver =
        s.kind == hid::kKindReceiverKeyboard || s.kind == hid::kKindReceiverMouse;
    device->StopListener(viaReceiver ? 1 : 0);
}

void DeviceBar::OnDeviceRemoval(int slot) {
    if (!host_.slots || slot < 0 || slot >= static_cast<int>(host_.slots->size())) return;
    if (static_cast<size_t>(slot) < attached_.size()) attached_[slot].clear();
    hid::InterfaceSlotList& slots = *host_.slots;
    const DeviceIdentity s = slots.Slot(slot);
    auto detach = [&](int row) {
        if (slots.Slot(row).role == hid::kRoleCommand)
            DetachCommand(row);
        else
            DetachEvents(row);
    };
    switch (s.kind) {
        case hid::kKindKeyboard:
        case hid::kKindReceiverKeyboard:
            os::DebugOutput("删除一个键盘设备");
            detach(slot);
            slots.wiredKeyboardPresent = false;
            break;
        case hid::kKindMouse:
        case hid::kKindReceiverMouse:
            os::DebugOutput("删除一个鼠标设备");
            detach(slot);
            slots.wiredMousePresent = false;
            break;
        case hid::kKindMousePad:
        case hid::kKindHeadset:
            os::DebugOutput("删除一个鼠标垫设备");
            detach(slot);
            break;
        case hid::kKindReceiver: {
            slots.receiverRowsActive = false;
            os::DebugOutput("删除一个Dongle设备");
            // The receiver is gone: its partners with it, and its paths (a replugged receiver
            // comes back under new node names).
            if (s.role == hid::kRoleCommand) {
                if (slots.receiverKeyboardLinked) DetachCommand(2);
                if (slots.receiverMouseLinked) DetachCommand(8);
                slots.receiverKeyboardLinked = false;
                slots.receiverMouseLinked = false;
                slots.receiverCommandPath.clear();
                receiver_.SetOpen(false);
                receiver_.receiverHandle().Close();
            } else {
                DetachEvents(3);
                DetachEvents(9);
                slots.receiverEventPath.clear();
            }
            if (slots.receiverCommandPath.empty() && slots.receiverEventPath.empty() &&
                host_.window != 0)
                os::KillTimer(host_.window, kReceiverPollTimer);
            break;
        }
        default:
            break;
    }
}

void DeviceBar::DetachCommand(int slot) {
    const DeviceIdentity s = host_.slots->Slot(slot);
    os::DebugOutput(IsMouseKind(s.kind) ? "鼠标设备丢失" : "键盘设备丢失");
    if ((s.kind == hid::kKindKeyboard || s.kind == hid::kKindMouse) && ReachedThroughReceiver(slot))
        return SwitchLink(slot, true);
    CQuendalUSBDevice* device = DeviceForSlot(slot);
    if (device == nullptr) return;
    DeviceChannel& channel = device->commandChannel();
    channel.SetOpen(false);
    channel.directHandle().Close();
    channel.receiverHandle().Close();
    device->StopPreviewThread();
    const int i = ItemOf(device);
    if (CDeviceOptionUI* item = Item(i)) {
        item->StopTimers();
        HideItem(i);
    }
}

void DeviceBar::SwitchLink(int wiredSlot, bool toReceiver) {
    CQuendalUSBDevice* device = DeviceForSlot(wiredSlot);
    if (device == nullptr) return;
    const DeviceIdentity s = host_.slots->Slot(wiredSlot);
    DeviceChannel& channel = device->commandChannel();
    channel.SetOpen(false);
    channel.directHandle().Close();
    channel.receiverHandle().Close();
    const bool opened = toReceiver ? channel.receiverHandle().Open(host_.slots->receiverCommandPath,
                                                                   true, true, true, false)
                                   : channel.directHandle().Open(s.path, true, true, true, false);
    channel.SetOpen(opened);
    channel.SetConnectionType(toReceiver ? DeviceChannel::kConnectionReceiver : 0);
    const int i = ItemOf(device);
    CDeviceOptionUI* item = Item(i);
    if (item == nullptr) return;
    item->StopTimers();
    if (!opened) {
        os::DebugOutput("device bar: cannot switch to " +
                        std::string(toReceiver ? "the receiver" : "the cable") + "\n");
        HideItem(i);
        return;
    }
    if (toReceiver) {
        channel.SetReceiverTarget(ReceiverTargetOf(s.kind));
        item->StartLinkQueries();
    } else {
        item->StartRefreshTimer();
        OnItemShowMessage(i, true);
        device->SyncFromDevice();
    }
}

// ---- The receiver poll and the reconcile after a sleep ----

void DeviceBar::OnReceiverPollTimer() {
    if (host_.window == 0 || !host_.slots) return;
    os::KillTimer(host_.window, kReceiverPollTimer);
    hid::InterfaceSlotList& slots = *host_.slots;
    const std::string path = slots.receiverCommandPath;
    if (path.empty()) return;  // the receiver left; its arrival starts the poll again
    uint8_t partners[2] = {0, 0};
    if (!receiver_.IsOpen())
        receiver_.SetOpen(receiver_.receiverHandle().Open(path, true, true, true, false));
    if (receiver_.IsOpen() && !receiver_.QueryLink(partners)) partners[0] = partners[1] = 0;
    const uint8_t keyboard = partners[0];
    const uint8_t mouse = partners[1];
    auto rowsActive = [&] {
        slots.SetConnected(4, true);
        slots.SetConnected(5, true);
    };
    if (keyboard == 0 && !slots.wiredKeyboardPresent) DetachCommand(2);
    if (mouse == 0 && !slots.wiredMousePresent) DetachCommand(8);
    if (keyboard == kLinked && !slots.receiverKeyboardLinked) {
        slots.receiverKeyboardLinked = true;
        rowsActive();
        AttachCommand(2);
        if (!slots.receiverRowsActive) {
            AttachEvents(3);
            slots.receiverRowsActive = true;
        }
    }
    if (keyboard == 0 && slots.receiverKeyboardLinked) {
        slots.receiverKeyboardLinked = false;
        DetachCommand(2);
        if (slots.wiredKeyboardPresent) {
            AttachCommand(0);
            AttachEvents(1);
        }
    }
    if (mouse == kLinked && !slots.receiverMouseLinked) {
        slots.receiverMouseLinked = true;
        rowsActive();
        AttachCommand(8);
        if (!slots.receiverRowsActive) {
            AttachEvents(9);
            slots.receiverRowsActive = true;
        }
    }
    if (mouse == 0 && slots.receiverMouseLinked) {
        slots.receiverMouseLinked = false;
        if (!slots.wiredMousePresent) DetachCommand(8);
    }
    os::SetTimer(host_.window, kReceiverPollTimer, kReceiverPollPeriodMs);
}

void DeviceBar::OnResume() {
    if (!host_.slots) return;
    // Arrivals and removals are not handled while the system sleeps; whatever changed meanwhile
    // is handled now, as if it had just happened.
    for (size_t i = 0; i < attached_.size() && i < host_.slots->size(); ++i) {
        const std::string now = host_.slots->Slot(i).path;
        if (attached_[i] == now) continue;
        if (!attached_[i].empty()) OnDeviceRemoval(static_cast<int>(i));
        if (!now.empty()) OnDeviceArrival(static_cast<int>(i));
    }
}

// ---- Synchronised lighting and its thread ----

void DeviceBar::SynchroniseLighting() {
    CQuendalUSBDevice* selected = SelectedDevice();
    if (selected == nullptr) return;
    const profile::LightingRecord record = selected->GetLightingRecord();
    const std::optional<SynchroMode> mode =
        SynchroModeOf(selected->GetDeviceKind(), record[profile::LightingRecord::kMode]);
    if (!mode) return;
    shared_->lighting.Set(*mode, record);
    // Keyboards, mice, pads and headsets, in that order.
    for (int kind : {1, 2, 3, 7}) {
        for (CQuendalUSBDevice* d : devices_.ListFor(kind)) {
            if (!d->commandChannel().IsOpen()) continue;
            const std::optional<profile::LightingRecord> own = shared_->lighting.RecordFor(kind);
            if (!own) continue;
            d->SetLightingRecord(*own);
            // FIXME: the device's lighting panel shows the record once the panel exists.
            d->WriteDeviceSettings(0, 0, 1, 0, 0);
        }
    }
}

void DeviceBar::UpdateParticipants() {
    // The thread reads only these pointers; the items' states stay on the UI thread.
    for (size_t i = 0; i < shared_->participants.size(); ++i) {
        CDeviceOptionUI* item = i < items_.size() ? items_[i] : nullptr;
        CQuendalUSBDevice* d = nullptr;
        if (item && item->visibleFlag() && item->IsSynchroSelected()) d = item->GetDevice();
        CQuendalUSBDevice* before = shared_->participants[i].exchange(d);
        if (before != nullptr && before != d) before->SetPreviewPaused(false);
    }
}

int DeviceBar::SynchroParticipants() const {
    int n = 0;
    for (const auto& p : shared_->participants)
        if (p.load() != nullptr) ++n;
    return n;
}

void DeviceBar::LightingSyncThread(const os::WorkerContext& ctx) {
    std::shared_ptr<Shared> shared = shared_;
    ctx.stopEvent->Reset();
    int64_t last = os::MonotonicMs();
    int count = 0;
    for (;;) {
        if (ctx.stopEvent->Wait(1) != os::kWaitTimeout) {
            os::DebugOutput("同步灯光线程设定退出");
            return;
        }
        bool any = false;
        for (const auto& p : shared->participants) {
            CQuendalUSBDevice* d = p.load();
            if (d != nullptr && d->commandChannel().IsOpen()) any = true;
        }
        if (!any) {
            count = 0;
            if (ctx.stopEvent->Wait(1000) != os::kWaitTimeout) {
                os::DebugOutput("同步灯光线程设定退出");
                return;
            }
            continue;
        }
        const int64_t now = os::MonotonicMs();
        if (now - last > 1) {
            last = now;
            ++count;
        }
        const int speed = shared->lighting.speed();
        const int threshold = kSynchroThresholds[std::clamp(speed, 0, 14)];
        if (count < threshold) continue;
        count = 0;
        const device::LedColour colour = shared->lighting.Step(now);
        for (const auto& p : shared->participants) {
            CQuendalUSBDevice* d = p.load();
            if (d == nullptr || !d->commandChannel().IsOpen()) continue;
            d->SetPreviewPaused(true);
            for (int led = 0; led < d->GetLedCount(); ++led) d->SetLedColour(led, colour);
        }
    }
}

}  // namespace app
