#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "os/event.h"
#include "os/hid/device_handle.h"
#include "os/hid/preparsed_data.h"

namespace hid {

using os::hid::ReportType;

// One button range or one value usage of one report, filled by UnpackReport.
struct HidDataItem {
    uint8_t isButtonData = 0;  // 1 button range, 0 value
    uint8_t reserved = 0;
    uint16_t usagePage = 0;
    uint32_t status = os::hid::kStatusSuccess;  // last parser status for this item
    uint32_t reportId = 0;
    uint8_t isDataSet = 0;  // 1 once an input report has filled the item
    struct {
        uint32_t usageMin = 0;  // the single usage when the capability is not a range
        uint32_t usageMax = 0;
        uint32_t maxUsageLength = 0;
        // maxUsageLength entries: the buttons that are down, 0-terminated when fewer.
        std::vector<uint16_t> usages;
    } button;
    struct {
        uint16_t usage = 0;
        uint16_t reserved = 0;
        uint32_t value = 0;       // raw value of the last report
        int32_t scaledValue = 0;  // scaled value of the last report
    } value;
};

// One open HID interface (one top-level collection): the handle, its parsed description with a
// report buffer and the data items of each report type, and cancellable reads and writes with
// time-outs. The same object also lists the present interfaces (Enumerate/NextPath/FreePaths).
//
// Failures return false and leave a last-error value (LastError): 995 aborted (Close, or a new
// Open, while the transfer waited), 258 time-out, 22 the wait itself failed, 1167 the interface
// went away, 6 not open, 87 a buffer shorter than the report, 5 no access for that transfer,
// 206 a path of 260 characters or more, 13 a description too large to hold. Nothing is logged or
// shown here.
//
// No lock guards the transfers: one thread reads and one writes, each on its own object or at
// least each with its own direction; any thread may call Close, which wakes a blocked Read or
// Write. Enumeration belongs to the thread that owns the object.
class HidDevice {
  public:
    static constexpr uint32_t kInfiniteTimeout = 0xFFFFFFFF;
    static constexpr size_t kMaxPathLength = 260;  // characters, terminator included

    HidDevice();
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    // Lists the present interfaces; resets the cursor and replaces the stored list.
    bool Enumerate();
    // The next stored path, null when the list is exhausted or empty.
    const char* NextPath();
    void FreePaths();
    size_t PathCount() const { return pathCount_; }
    size_t PathCapacity() const { return pathCapacity_; }

    bool Open(const std::string& path, bool readAccess, bool writeAccess, bool overlapped,
              bool exclusive);
    void Close();
    bool IsOpen() const;

    // Overlapped transfers with time-out (kInfiniteTimeout waits for ever). Byte contracts as
    // os::hid::DeviceHandle: reports start with the report id byte; a read gives exactly
    // InputReportLength() bytes, a write sends OutputReportLength() bytes.
    bool Read(uint8_t* buffer, uint32_t length, uint32_t* bytesRead, uint32_t timeoutMs);
    bool Write(const uint8_t* buffer, uint32_t length, uint32_t* bytesWritten, uint32_t timeoutMs);

    // Sends one output report by itself, the control way.
    bool SetOutputReport(const uint8_t* report, uint32_t length);
    bool SetFeature(const uint8_t* report, uint32_t length);
    bool GetFeature(uint8_t* report, uint32_t length);
    // Drops the input reports queued for this handle.
    bool FlushQueue();

    // Fills the items that belong to the report's id (report[0]) from one received report.
    static bool UnpackReport(const uint8_t* report, uint32_t reportLength, ReportType reportType,
                             HidDataItem* items, uint32_t itemCount,
                             const os::hid::PreparsedData* preparsed);

    uint32_t LastError() const { return lastError_.load(); }

    uint16_t InputReportLength() const { return caps_.inputReportByteLength; }
    uint16_t OutputReportLength() const { return caps_.outputReportByteLength; }
    uint16_t FeatureReportLength() const { return caps_.featureReportByteLength; }
    uint8_t* InputReport() { return Report(ReportType::kInput).buffer.data(); }
    HidDataItem* Items(ReportType type) { return Report(type).items.data(); }
    uint32_t ItemCount(ReportType type) const {
        return static_cast<uint32_t>(Report(type).items.size());
    }
    HidDataItem* InputItems() { return Items(ReportType::kInput); }
    uint32_t InputItemCount() const { return ItemCount(ReportType::kInput); }
    const std::vector<os::hid::ButtonCaps>& ButtonCaps(ReportType type) const {
        return Report(type).buttonCaps;
    }
    const std::vector<os::hid::ValueCaps>& ValueCaps(ReportType type) const {
        return Report(type).valueCaps;
    }
    const os::hid::PreparsedData* Preparsed() const { return preparsed_.get(); }
    const os::hid::Caps& Caps() const { return caps_; }
    uint16_t VendorId() const { return attributes_.vendorId; }
    uint16_t ProductId() const { return attributes_.productId; }
    uint16_t VersionNumber() const { return attributes_.versionNumber; }
    uint16_t UsagePage() const { return caps_.usagePage; }
    uint16_t Usage() const { return caps_.usage; }
    uint16_t InterfaceNumber() const { return interfaceNumber_; }
    uint16_t CollectionNumber() const { return collectionNumber_; }
    const std::string& Path() const { return path_; }
    // The raw handle, for the few operations other layers make on it directly.
    std::shared_ptr<os::hid::DeviceHandle> Handle() const;

  private:
    struct ReportState {
        std::vector<uint8_t> buffer;  // zero-filled, the report's byte length
        std::vector<HidDataItem> items;
        std::vector<os::hid::ButtonCaps> buttonCaps;
        std::vector<os::hid::ValueCaps> valueCaps;
    };
    ReportState& Report(ReportType type) { return reports_[static_cast<int>(type)]; }
    const ReportState& Report(ReportType type) const { return reports_[static_cast<int>(type)]; }
    void AbortTransfers();
    void FreeDescription();
    bool Fail(uint32_t error);
    template <typename Call>
    bool OnHandle(Call call);
    // Runs one read or write with its in-progress flag set.
    template <typename Call>
    bool Transfer(std::atomic<uint32_t>& busy, uint32_t* transferred, Call call);

    // Enumeration list (one owner thread).
    std::unique_ptr<std::string[]> paths_;
    size_t pathCount_ = 0;
    size_t pathCapacity_ = 0;
    size_t cursor_ = 0;

    // Open options.
    bool readAccess_ = false;
    bool writeAccess_ = false;
    bool overlapped_ = false;
    bool exclusive_ = false;

    mutable std::mutex handleMutex_;  // guards handle_ against a Close from another thread
    std::shared_ptr<os::hid::DeviceHandle> handle_;
    std::string path_;
    std::shared_ptr<const os::hid::PreparsedData> preparsed_;
    os::hid::Caps caps_;
    os::hid::Attributes attributes_;
    ReportState reports_[os::hid::kReportTypeCount];
    uint16_t interfaceNumber_ = 0;
    uint16_t collectionNumber_ = 0;

    // Auto-reset, not signalled: wakes one waiting transfer. (Completion needs no events of its
    // own: the handle polls the device itself.)
    os::Event abortEvent_{false, false};
    std::atomic<uint32_t> reading_{0};
    std::atomic<uint32_t> writing_{0};
    std::atomic<uint32_t> lastError_{0};
};

}  // namespace hid
