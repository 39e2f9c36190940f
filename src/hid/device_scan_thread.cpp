#include "hid/device_scan_thread.h"

#include "hid/device_path.h"
#include "hid/hid_device.h"
#include "hid/supported_device.h"
#include "os/debug_output.h"
#include "os/hid/hid_platform.h"
#include "os/hid/hotplug_monitor.h"
#include "os/message_loop.h"

namespace hid {

namespace {

// Probes the wanted interfaces of one listing and claims their slots.
void ScanPass(HidDevice& probe, const os::WorkerContext& ctx, InterfaceSlotList& slots) {
    while (const char* p = probe.NextPath()) {
        DeviceIdentity id;
        id.path = p;
        id.vendorId = ParseVendorId(id.path);
        id.productId = ParseProductId(id.path);
        id.interfaceNumber = ParseInterfaceNumber(id.path);
        id.collectionNumber = ParseCollectionNumber(id.path);
        if (!slots.IsWanted(id)) continue;
        if (!probe.Open(id.path, true, false, true, false)) continue;
        id.vendorId = probe.VendorId();
        id.productId = probe.ProductId();
        id.usagePage = probe.UsagePage();
        id.usage = probe.Usage();
        size_t index = 0;
        if (slots.ClaimSlot(id, &index)) {
            // The receiver's slot keeps its path but stays unconnected: the receiver poll of the
            // main window marks it once a partner answers behind it.
            if (id.kind == kKindReceiver) slots.SetConnected(index, false);
            os::SendMessage(ctx.owner, WM_DEVICE_ARRIVAL, index, 0);
        }
        probe.Close();
    }
}

// Opens every claimed slot's path without access; a path that no longer opens is gone. The
// receiver's slots count although they stay unconnected until a partner links: a receiver
// unplugged before that must free them, or a replugged one (under new node names) would find no
// free slot.
void RemovalCheck(const os::WorkerContext& ctx, InterfaceSlotList& slots) {
    for (const auto& [index, path] : slots.ClaimedSlots()) {
        std::shared_ptr<os::hid::DeviceHandle> handle;
        const os::hid::OpenOptions noAccess{false, false, false, false};
        if (os::hid::OpenInterface(path, noAccess, &handle) == os::hid::kErrorSuccess) {
            handle->Close();
            continue;
        }
        slots.Release(index);
        os::SendMessage(ctx.owner, WM_DEVICE_REMOVAL, index, 0);
    }
}

}  // namespace

void DeviceScanThread(std::shared_ptr<os::WorkerContext> context,
                      std::shared_ptr<InterfaceSlotList> slots, uint32_t titleMessage,
                      const ScanOptions& options) {
    const os::WorkerContext& ctx = *context;
    ctx.stopEvent->Reset();
    // Listening starts before the first pass, so that nothing plugged during it goes unseen.
    os::hid::HotplugMonitor monitor;
    HidDevice probe;
    bool firstPassDone = false;
    int waitMs = 0;  // the first pass at once
    for (;;) {
        if (monitor.Wait(*ctx.stopEvent, waitMs) == os::hid::HotplugMonitor::Wake::kStop) {
            os::DebugOutput("抓取设备线程设定退出");
            break;
        }
        waitMs = options.fallbackMs;
        if (!slots->AllSlotsTaken()) {
            // A listing fails when an interface goes away while it is being listed, which an
            // ordinary unplug can cause; ending the thread then would leave every later device
            // unfound until the program restarts, so the pass is tried again shortly.
            if (!probe.Enumerate()) {
                os::DebugOutput("device scan: listing failed, trying again shortly\n");
                waitMs = kScanRetryMs;
                continue;
            }
            ScanPass(probe, ctx, *slots);
            if (!firstPassDone) {
                firstPassDone = true;
                os::PostMessage(ctx.owner, titleMessage, 0, 0);
            }
            probe.FreePaths();
        }
        RemovalCheck(ctx, *slots);
    }
}

}  // namespace hid
