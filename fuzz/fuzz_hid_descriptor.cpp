// Feeds arbitrary bytes to the report-descriptor parser and, when they parse, reads a report
// made of the remaining bytes through every capability of every collection.
//
// Input layout: [descriptor length, 2 bytes little-endian][descriptor][report bytes].
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "os/hid/report_descriptor.h"

using namespace os::hid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t descLength = data[0] | (size_t{data[1]} << 8);
    data += 2;
    size -= 2;
    if (descLength > size) descLength = size;
    ReportDescriptor::Collections collections;
    std::string error;
    if (!ReportDescriptor::Parse({data, descLength}, &collections, &error)) return 0;
    const uint8_t* rest = data + descLength;
    const size_t restSize = size - descLength;
    for (const auto& c : collections) {
        for (int t = 0; t < kReportTypeCount; ++t) {
            const ReportType type = static_cast<ReportType>(t);
            const uint32_t length = c->ReportLength(type);
            if (length == 0) continue;
            // The report: the fuzz bytes, zero-filled to the collection's length, with an id
            // the collection has.
            std::vector<uint8_t> report(length, 0);
            for (size_t i = 0; i < restSize && i < length; ++i) report[i] = rest[i];
            const auto& ids = c->ReportIds(type);
            if (!ids.empty() && !c->HasReportId(type, report[0]))
                report[0] = ids[report[0] % ids.size()];
            std::vector<ButtonCaps> buttons;
            std::vector<ValueCaps> values;
            c->GetSpecificButtonCaps(type, 0, 0, 0, &buttons);
            c->GetSpecificValueCaps(type, 0, 0, 0, &values);
            for (const ButtonCaps& b : buttons) {
                uint32_t n = c->MaxUsageListLength(type, b.usagePage);
                std::vector<uint16_t> usages(n);
                c->GetUsages(type, b.usagePage, b.linkCollection, usages.data(), &n, report.data(),
                             length);
            }
            for (const ValueCaps& v : values) {
                for (uint32_t u = v.usageMin; u <= v.usageMax; ++u) {
                    uint32_t raw;
                    int32_t scaled;
                    c->GetUsageValue(type, v.usagePage, 0, static_cast<uint16_t>(u), &raw,
                                     report.data(), length);
                    c->GetScaledUsageValue(type, v.usagePage, 0, static_cast<uint16_t>(u), &scaled,
                                           report.data(), length);
                }
            }
        }
    }
    return 0;
}
