#pragma once

#include <cstdint>
#include <memory>

#include "hid/interface_slot_list.h"
#include "os/worker_context.h"

namespace hid {

// Sent (blocking) by the discovery thread to the main window: wParam the slot index, lParam 0.
inline constexpr uint32_t WM_DEVICE_ARRIVAL = 3090;
inline constexpr uint32_t WM_DEVICE_REMOVAL = 3091;

// The slow pass that runs when no change was announced: it finds what the announcements missed
// (a node that could not be opened when it came, a system without a udev monitor).
inline constexpr int kFallbackScanMs = 3000;
// The next try after a listing that failed (an interface vanished while it was listed).
inline constexpr int kScanRetryMs = 100;

struct ScanOptions {
    int fallbackMs = kFallbackScanMs;
};

// The discovery thread (worker slot 0). It makes one pass at start, one whenever interfaces come
// or go (hidraw nodes announced by udev, the virtual bus's plugs and unplugs) and one every
// fallbackMs otherwise; between passes it sleeps.
//
// A pass: while a slot is free, it lists the HID interfaces, probes the wanted ones (read only,
// shared), claims a slot for each match and sends WM_DEVICE_ARRIVAL to the owner window; after
// its first complete listing it posts titleMessage (0, 0) once. Then it checks every claimed
// slot (the receiver's too) by opening its path and reports a vanished one with WM_DEVICE_REMOVAL.
// A failed listing (an interface vanishing while listed) is tried again after kScanRetryMs.
//
// The thread holds a share of the slot list, so the list outlives an abandoned thread.
void DeviceScanThread(std::shared_ptr<os::WorkerContext> context,
                      std::shared_ptr<InterfaceSlotList> slots, uint32_t titleMessage,
                      const ScanOptions& options = {});

}  // namespace hid
