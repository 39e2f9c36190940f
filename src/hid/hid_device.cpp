#include "hid/hid_device.h"

#include <algorithm>
#include <climits>
#include <new>

#include "hid/device_path.h"
#include "os/hid/hid_platform.h"

namespace hid {

namespace {

constexpr size_t kFirstPathCapacity = 4;

// Every button item holds a usage list as long as its page's whole report could fill. A hostile
// descriptor (hundreds of button capabilities over a report of many thousand bits) would make
// that gigabytes; no real device comes near this many usage slots per report type.
constexpr uint64_t kMaxUsageSlots = 1u << 20;

int WaitMs(uint32_t timeoutMs) {
    if (timeoutMs == HidDevice::kInfiniteTimeout) return os::kInfinite;
    return static_cast<int>(std::min<uint32_t>(timeoutMs, INT_MAX));
}

// The last errors a transfer reports: the wait's own outcomes keep their values, a failed wait
// is a bad command, everything else is what the device side said.
uint32_t TransferError(uint32_t e) {
    return e == os::kWaitFailed ? os::hid::kErrorBadCommand : e;
}

}  // namespace

HidDevice::HidDevice() = default;

HidDevice::~HidDevice() {
    Close();
    FreeDescription();
    FreePaths();
}

bool HidDevice::Fail(uint32_t error) {
    lastError_ = error;
    return false;
}

// ---- Enumeration ----

bool HidDevice::Enumerate() {
    FreePaths();
    std::vector<std::string> listed;
    if (uint32_t e = os::hid::EnumerateInterfaces(&listed); e != os::hid::kErrorSuccess)
        return Fail(e);
    pathCapacity_ = kFirstPathCapacity;
    paths_.reset(new (std::nothrow) std::string[pathCapacity_]);
    if (!paths_) {
        pathCapacity_ = 0;
        return Fail(os::hid::kErrorInsufficientBuffer);
    }
    for (const std::string& path : listed) {
        if (pathCount_ == pathCapacity_) {
            // Double the room, keeping what is collected.
            std::unique_ptr<std::string[]> grown(new (std::nothrow) std::string[pathCapacity_ * 2]);
            if (!grown) {
                FreePaths();
                return Fail(os::hid::kErrorInsufficientBuffer);
            }
            std::move(paths_.get(), paths_.get() + pathCount_, grown.get());
            paths_ = std::move(grown);
            pathCapacity_ *= 2;
        }
        paths_[pathCount_++] = NormalizeDevicePath(path);
    }
    cursor_ = 0;
    return true;
}

const char* HidDevice::NextPath() {
    if (!paths_ || cursor_ >= pathCount_) return nullptr;
    return paths_[cursor_++].c_str();
}

void HidDevice::FreePaths() {
    paths_.reset();
    pathCount_ = pathCapacity_ = cursor_ = 0;
}

// ---- Open and close ----

void HidDevice::AbortTransfers() {
    if (reading_ || writing_) abortEvent_.Set();
}

void HidDevice::FreeDescription() {
    preparsed_.reset();
    caps_ = {};
    attributes_ = {};
    for (ReportState& r : reports_) r = {};
    interfaceNumber_ = collectionNumber_ = 0;
}

bool HidDevice::Open(const std::string& path, bool readAccess, bool writeAccess, bool overlapped,
                     bool exclusive) {
    AbortTransfers();
    std::shared_ptr<os::hid::DeviceHandle> old;
    {
        std::lock_guard lock(handleMutex_);
        old = std::move(handle_);
    }
    if (old) old->Close();
    FreeDescription();
    path_.clear();
    if (path.size() >= kMaxPathLength) return Fail(os::hid::kErrorFilenameExcedRange);
    readAccess_ = readAccess;
    writeAccess_ = writeAccess;
    overlapped_ = overlapped;
    exclusive_ = exclusive;

    os::hid::OpenOptions options;
    options.readAccess = readAccess;
    options.writeAccess = writeAccess;
    options.overlapped = overlapped;
    options.exclusive = exclusive;
    std::shared_ptr<os::hid::DeviceHandle> handle;
    if (uint32_t e = os::hid::OpenInterface(path, options, &handle); e != os::hid::kErrorSuccess)
        return Fail(e);
    // A transfer of the previous handle may still hold an abort signal meant for it.
    if (!reading_ && !writing_) abortEvent_.Reset();

    path_ = path;
    preparsed_ = handle->preparsed();
    caps_ = handle->caps();
    attributes_ = handle->attributes();
    for (int t = 0; t < os::hid::kReportTypeCount; ++t) {
        const ReportType type = static_cast<ReportType>(t);
        ReportState& r = reports_[t];
        r.buffer.assign(preparsed_->ReportLength(type), 0);
        preparsed_->GetSpecificButtonCaps(type, 0, 0, 0, &r.buttonCaps);
        preparsed_->GetSpecificValueCaps(type, 0, 0, 0, &r.valueCaps);
        size_t count = r.buttonCaps.size();
        for (const os::hid::ValueCaps& v : r.valueCaps)
            count += v.isRange ? size_t{v.usageMax} - v.usageMin + 1 : 1;
        uint64_t slots = 0;
        for (const os::hid::ButtonCaps& b : r.buttonCaps)
            slots += preparsed_->MaxUsageListLength(type, b.usagePage);
        if (slots > kMaxUsageSlots) {
            handle->Close();
            FreeDescription();
            path_.clear();
            return Fail(os::hid::kErrorInvalidData);
        }
        r.items.reserve(count);
        for (const os::hid::ButtonCaps& b : r.buttonCaps) {
            HidDataItem item;
            item.isButtonData = 1;
            item.usagePage = b.usagePage;
            item.reportId = b.reportId;
            item.button.usageMin = b.usageMin;
            item.button.usageMax = b.isRange ? b.usageMax : b.usageMin;
            item.button.maxUsageLength = preparsed_->MaxUsageListLength(type, b.usagePage);
            item.button.usages.assign(item.button.maxUsageLength, 0);
            r.items.push_back(std::move(item));
        }
        for (const os::hid::ValueCaps& v : r.valueCaps) {
            const uint32_t last = v.isRange ? v.usageMax : v.usageMin;
            for (uint32_t usage = v.usageMin; usage <= last && r.items.size() < count; ++usage) {
                HidDataItem item;
                item.usagePage = v.usagePage;
                item.reportId = v.reportId;
                item.value.usage = static_cast<uint16_t>(usage);
                r.items.push_back(std::move(item));
            }
        }
    }
    interfaceNumber_ = ParseInterfaceNumber(path);
    collectionNumber_ = ParseCollectionNumber(path);
    {
        std::lock_guard lock(handleMutex_);
        handle_ = std::move(handle);
    }
    lastError_ = os::hid::kErrorSuccess;
    return true;
}

void HidDevice::Close() {
    const bool busy = reading_ || writing_;
    AbortTransfers();
    std::shared_ptr<os::hid::DeviceHandle> handle;
    {
        std::lock_guard lock(handleMutex_);
        handle = std::move(handle_);
    }
    if (handle) handle->Close();
    // A transfer that is being woken may still look at the description; it goes at the next
    // Open or with the object instead.
    if (!busy) FreeDescription();
}

bool HidDevice::IsOpen() const {
    std::lock_guard lock(handleMutex_);
    return handle_ != nullptr;
}

std::shared_ptr<os::hid::DeviceHandle> HidDevice::Handle() const {
    std::lock_guard lock(handleMutex_);
    return handle_;
}

// ---- Transfers ----

template <typename Call>
bool HidDevice::Transfer(std::atomic<uint32_t>& busy, uint32_t* transferred, Call call) {
    busy = 1;
    uint32_t count = 0;
    uint32_t error = os::hid::kErrorInvalidHandle;
    if (std::shared_ptr<os::hid::DeviceHandle> handle = Handle())
        error = TransferError(call(*handle, &count));
    if (transferred) *transferred = count;
    busy = 0;
    return error == os::hid::kErrorSuccess || Fail(error);
}

bool HidDevice::Read(uint8_t* buffer, uint32_t length, uint32_t* bytesRead, uint32_t timeoutMs) {
    return Transfer(reading_, bytesRead, [&](os::hid::DeviceHandle& h, uint32_t* count) {
        return h.Read(buffer, length, count, WaitMs(timeoutMs), &abortEvent_);
    });
}

bool HidDevice::Write(const uint8_t* buffer, uint32_t length, uint32_t* bytesWritten,
                      uint32_t timeoutMs) {
    return Transfer(writing_, bytesWritten, [&](os::hid::DeviceHandle& h, uint32_t* count) {
        return h.Write(buffer, length, count, WaitMs(timeoutMs), &abortEvent_);
    });
}

template <typename Call>
bool HidDevice::OnHandle(Call call) {
    std::shared_ptr<os::hid::DeviceHandle> handle = Handle();
    if (!handle) return Fail(os::hid::kErrorInvalidHandle);
    const uint32_t e = call(*handle);
    return e == os::hid::kErrorSuccess || Fail(e);
}

bool HidDevice::SetOutputReport(const uint8_t* report, uint32_t length) {
    return OnHandle([&](os::hid::DeviceHandle& h) { return h.SetOutputReport(report, length); });
}

bool HidDevice::SetFeature(const uint8_t* report, uint32_t length) {
    return OnHandle([&](os::hid::DeviceHandle& h) { return h.SetFeature(report, length); });
}

bool HidDevice::GetFeature(uint8_t* report, uint32_t length) {
    return OnHandle([&](os::hid::DeviceHandle& h) { return h.GetFeature(report, length); });
}

bool HidDevice::FlushQueue() {
    return OnHandle([](os::hid::DeviceHandle& h) { return h.FlushQueue(); });
}

// ---- Reports ----

bool HidDevice::UnpackReport(const uint8_t* report, uint32_t reportLength, ReportType reportType,
                             HidDataItem* items, uint32_t itemCount,
                             const os::hid::PreparsedData* preparsed) {
    if (!report || reportLength == 0 || !preparsed || (itemCount && !items)) return false;
    const uint8_t reportId = report[0];
    for (uint32_t i = 0; i < itemCount; ++i) {
        HidDataItem& item = items[i];
        if (item.reportId != reportId) continue;
        if (item.isButtonData) {
            std::vector<uint16_t>& usages = item.button.usages;
            usages.resize(item.button.maxUsageLength);
            uint32_t length = item.button.maxUsageLength;
            item.status = preparsed->GetUsages(reportType, item.usagePage, 0, usages.data(),
                                               &length, report, reportLength);
            // Keep the usages of this item's range, in their order, at the front.
            uint32_t kept = 0;
            for (uint32_t k = 0; k < length && k < usages.size(); ++k) {
                if (usages[k] >= item.button.usageMin && usages[k] <= item.button.usageMax)
                    usages[kept++] = usages[k];
            }
            if (kept < usages.size()) usages[kept] = 0;
        } else {
            uint32_t value = 0;
            item.status = preparsed->GetUsageValue(reportType, item.usagePage, 0, item.value.usage,
                                                   &value, report, reportLength);
            if (item.status != os::hid::kStatusSuccess) return false;
            item.value.value = value;
            int32_t scaled = 0;
            item.status = preparsed->GetScaledUsageValue(
                reportType, item.usagePage, 0, item.value.usage, &scaled, report, reportLength);
            item.value.scaledValue = scaled;
        }
        item.isDataSet = 1;
    }
    return true;
}

}  // namespace hid
