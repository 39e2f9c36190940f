#include "os/hid/device_handle.h"

namespace os::hid {

uint32_t DeviceHandle::Read(uint8_t* buffer, uint32_t length, uint32_t* transferred, int timeoutMs,
                            Event* abort) {
    if (transferred) *transferred = 0;
    if (closed_) return kErrorOperationAborted;
    if (!options_.readAccess) return kErrorAccessDenied;
    const uint32_t need = caps().inputReportByteLength;
    if (need == 0 || !buffer || length < need) return kErrorInvalidParameter;
    const uint32_t error = DoRead(buffer, need, timeoutMs, abort);
    if (error == kErrorSuccess && transferred) *transferred = need;
    return error;
}

uint32_t DeviceHandle::CheckOutgoing(ReportType type, const uint8_t* report, uint32_t length,
                                     bool needWrite) const {
    if (closed_) return kErrorOperationAborted;
    if (needWrite && !options_.writeAccess) return kErrorAccessDenied;
    const uint32_t need = preparsed_->ReportLength(type);
    if (need == 0 || !report || length < need) return kErrorInvalidParameter;
    if (!preparsed_->HasReportId(type, report[0])) return kErrorInvalidParameter;
    return kErrorSuccess;
}

uint32_t DeviceHandle::Write(const uint8_t* report, uint32_t length, uint32_t* transferred,
                             int timeoutMs, Event* abort) {
    if (transferred) *transferred = 0;
    if (uint32_t e = CheckOutgoing(ReportType::kOutput, report, length, true); e != kErrorSuccess)
        return e;
    const uint32_t need = caps().outputReportByteLength;
    const uint32_t error = DoWrite(report, need, timeoutMs, abort);
    if (error == kErrorSuccess && transferred) *transferred = need;
    return error;
}

uint32_t DeviceHandle::SetOutputReport(const uint8_t* report, uint32_t length) {
    if (uint32_t e = CheckOutgoing(ReportType::kOutput, report, length, true); e != kErrorSuccess)
        return e;
    return DoSetOutputReport(report, caps().outputReportByteLength);
}

uint32_t DeviceHandle::SetFeature(const uint8_t* report, uint32_t length) {
    // Feature reports pass on handles opened without access, as the HID class allows.
    if (uint32_t e = CheckOutgoing(ReportType::kFeature, report, length, false); e != kErrorSuccess)
        return e;
    return DoSetFeature(report, caps().featureReportByteLength);
}

uint32_t DeviceHandle::GetFeature(uint8_t* report, uint32_t length) {
    if (uint32_t e = CheckOutgoing(ReportType::kFeature, report, length, false); e != kErrorSuccess)
        return e;
    return DoGetFeature(report, caps().featureReportByteLength);
}

void DeviceHandle::Close() {
    if (closed_.exchange(true)) return;
    closedEvent_.Set();
    DoClose();
}

}  // namespace os::hid
