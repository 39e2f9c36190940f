#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "hid/device_identity.h"

namespace hid {

// The main window's interface-slot list: one slot per catalogue row, in catalogue order (the slot
// index is the row index and the word parameter of the arrival and removal messages). A slot is
// free while it is not connected and has no path. With it, the main window keeps the presence and
// receiver fields of device discovery.
//
// The discovery thread and the UI thread both read and change the slots. Every access takes the
// list's own lock, held only inside these calls: the path is a string, and a read of it while
// another thread writes it would not be safe. Neither thread ever holds the lock while it sends a
// message, so the blocking sends cannot deadlock on it.
class InterfaceSlotList {
  public:
    // One slot per catalogue row (window initialisation).
    void BuildFromCatalogue();

    size_t size() const;
    // A copy of slot i (a default identity when i is outside the list).
    DeviceIdentity Slot(size_t i) const;
    bool IsFree(size_t i) const;

    bool AllSlotsTaken() const;
    // True when a catalogue row and a free slot equal the identity in vendor id, product id,
    // collection number and interface number.
    bool IsWanted(const DeviceIdentity& identity) const;
    // Claims the first free slot equal to the identity's catalogue row in vendor id, product id,
    // collection number, interface number, usage page and usage: the identity gets the row's
    // kind and role, the slot is marked connected with the identity's path. False when there is
    // no such row or no such free slot.
    bool ClaimSlot(DeviceIdentity& identity, size_t* index);

    void SetConnected(size_t i, bool connected);
    void SetPath(size_t i, const std::string& path);
    // Frees slot i: not connected, no path.
    void Release(size_t i);
    // The indexes of the slots that are taken (connected, or holding a path like the receiver's
    // before a partner links), with their paths: what the removal check looks at.
    std::vector<std::pair<size_t, std::string>> ClaimedSlots() const;

    // Presence and receiver fields, kept by the UI thread.
    bool wiredKeyboardPresent = false;
    bool wiredMousePresent = false;
    bool receiverRowsActive = false;
    bool receiverKeyboardLinked = false;
    bool receiverMouseLinked = false;
    std::string receiverCommandPath;
    std::string receiverEventPath;

  private:
    static bool Free(const DeviceIdentity& d) { return d.connected == 0 && d.path.empty(); }

    mutable std::mutex mutex_;
    std::vector<DeviceIdentity> slots_;
};

}  // namespace hid
