#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "os/event.h"
#include "os/hid/hid_types.h"
#include "os/hid/preparsed_data.h"

namespace os::hid {

// How an interface is opened. Share mode: a non-exclusive open lets others read and write; an
// exclusive open lets others only read. Overlapped is accepted for the system's sake: every
// transfer of this layer can be timed out and aborted whatever the flag says.
struct OpenOptions {
    bool readAccess = false;
    bool writeAccess = false;
    bool overlapped = true;
    bool exclusive = false;
};

// One open top-level collection of a HID interface. Every operation returns a last-error value
// (kErrorSuccess when it worked). Read and Write may run on two threads at once; Close may be
// called from any thread at any time and wakes both.
//
// Byte contracts (all reports start with the report id byte, 0 when the collection's reports
// carry no id):
// - Read: one input report of this collection, exactly caps().inputReportByteLength bytes;
//   length must be at least that. Reports of the interface's other collections are not seen
//   here. A report the device sent short is padded with zeros to the full length.
// - Write, SetOutputReport: one output report, the first outputReportByteLength bytes of the
//   buffer (length must be at least that); report[0] must be one of the collection's output
//   report ids. Write goes the interrupt way, SetOutputReport the control way.
// - SetFeature, GetFeature: one feature report of featureReportByteLength bytes; for GetFeature
//   buffer[0] names the report id wanted and the rest is filled in.
class DeviceHandle {
  public:
    DeviceHandle(const Attributes& attributes, std::shared_ptr<const PreparsedData> preparsed,
                 const OpenOptions& options)
        : attributes_(attributes), preparsed_(std::move(preparsed)), options_(options) {}
    virtual ~DeviceHandle() = default;
    DeviceHandle(const DeviceHandle&) = delete;
    DeviceHandle& operator=(const DeviceHandle&) = delete;

    const Attributes& attributes() const { return attributes_; }
    const Caps& caps() const { return preparsed_->caps(); }
    const std::shared_ptr<const PreparsedData>& preparsed() const { return preparsed_; }
    const OpenOptions& options() const { return options_; }

    // Waits up to timeoutMs (os::kInfinite: for ever) for the transfer. Returns
    // kErrorOperationAborted when abort (which may be null) was signalled or the handle closed,
    // kErrorTimeout when the time passed (nothing stays pending), kErrorDeviceNotConnected when
    // the interface went away. *transferred is the byte count (0 on failure).
    uint32_t Read(uint8_t* buffer, uint32_t length, uint32_t* transferred, int timeoutMs,
                  Event* abort);
    uint32_t Write(const uint8_t* report, uint32_t length, uint32_t* transferred, int timeoutMs,
                   Event* abort);

    // Drops every input report queued for this handle.
    virtual uint32_t FlushQueue() = 0;
    uint32_t SetOutputReport(const uint8_t* report, uint32_t length);
    uint32_t SetFeature(const uint8_t* report, uint32_t length);
    uint32_t GetFeature(uint8_t* report, uint32_t length);

    // Ends every transfer in progress and every later one with kErrorOperationAborted.
    void Close();
    bool closed() const { return closed_.load(); }

  protected:
    // Backends implement the transfers after the common checks; lengths are exact here.
    virtual uint32_t DoRead(uint8_t* buffer, uint32_t length, int timeoutMs, Event* abort) = 0;
    virtual uint32_t DoWrite(const uint8_t* report, uint32_t length, int timeoutMs,
                             Event* abort) = 0;
    virtual uint32_t DoSetOutputReport(const uint8_t* report, uint32_t length) = 0;
    virtual uint32_t DoSetFeature(const uint8_t* report, uint32_t length) = 0;
    virtual uint32_t DoGetFeature(uint8_t* report, uint32_t length) = 0;
    virtual void DoClose() {}

    // Set while the handle is closed: backends poll its fd() beside their own descriptors.
    Event closedEvent_{true, false};

  private:
    uint32_t CheckOutgoing(ReportType type, const uint8_t* report, uint32_t length,
                           bool needWrite) const;

    Attributes attributes_;
    std::shared_ptr<const PreparsedData> preparsed_;
    OpenOptions options_;
    std::atomic<bool> closed_{false};
};

}  // namespace os::hid
