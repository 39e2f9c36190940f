#include "hid/interface_slot_list.h"

#include "hid/supported_device.h"

namespace hid {

namespace {

bool SameFour(const DeviceIdentity& a, uint16_t vid, uint16_t pid, uint16_t col, uint16_t mi) {
    return a.vendorId == vid && a.productId == pid && a.collectionNumber == col &&
           a.interfaceNumber == mi;
}

}  // namespace

void InterfaceSlotList::BuildFromCatalogue() {
    std::lock_guard<std::mutex> lock(mutex_);
    slots_.clear();
    for (const SupportedDevice& row : kSupportedDevices) slots_.push_back(row.ToIdentity());
}

size_t InterfaceSlotList::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return slots_.size();
}

DeviceIdentity InterfaceSlotList::Slot(size_t i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return i < slots_.size() ? slots_[i] : DeviceIdentity{};
}

bool InterfaceSlotList::IsFree(size_t i) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return i < slots_.size() && Free(slots_[i]);
}

bool InterfaceSlotList::AllSlotsTaken() const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const DeviceIdentity& s : slots_)
        if (Free(s)) return false;
    return true;
}

bool InterfaceSlotList::IsWanted(const DeviceIdentity& id) const {
    bool inCatalogue = false;
    for (const SupportedDevice& row : kSupportedDevices)
        if (SameFour(id, row.vendorId, row.productId, row.collectionNumber, row.interfaceNumber))
            inCatalogue = true;
    if (!inCatalogue) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const DeviceIdentity& s : slots_)
        if (Free(s) && SameFour(id, s.vendorId, s.productId, s.collectionNumber, s.interfaceNumber))
            return true;
    return false;
}

bool InterfaceSlotList::ClaimSlot(DeviceIdentity& id, size_t* index) {
    const SupportedDevice* match = nullptr;
    for (const SupportedDevice& row : kSupportedDevices) {
        if (SameFour(id, row.vendorId, row.productId, row.collectionNumber, row.interfaceNumber) &&
            id.usagePage == row.usagePage && id.usage == row.usage) {
            match = &row;
            break;
        }
    }
    if (match == nullptr) return false;
    id.kind = match->kind;
    id.role = match->role;
    std::lock_guard<std::mutex> lock(mutex_);
    for (size_t i = 0; i < slots_.size(); ++i) {
        DeviceIdentity& s = slots_[i];
        if (Free(s) &&
            SameFour(id, s.vendorId, s.productId, s.collectionNumber, s.interfaceNumber) &&
            s.usagePage == id.usagePage && s.usage == id.usage) {
            s.connected = 1;
            s.path = id.path;
            if (index) *index = i;
            return true;
        }
    }
    return false;
}

void InterfaceSlotList::SetConnected(size_t i, bool connected) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < slots_.size()) slots_[i].connected = connected ? 1 : 0;
}

void InterfaceSlotList::SetPath(size_t i, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < slots_.size()) slots_[i].path = path;
}

void InterfaceSlotList::Release(size_t i) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (i < slots_.size()) {
        slots_[i].connected = 0;
        slots_[i].path.clear();
    }
}

std::vector<std::pair<size_t, std::string>> InterfaceSlotList::ClaimedSlots() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::pair<size_t, std::string>> out;
    for (size_t i = 0; i < slots_.size(); ++i)
        if (!Free(slots_[i]) && !slots_[i].path.empty()) out.emplace_back(i, slots_[i].path);
    return out;
}

}  // namespace hid
