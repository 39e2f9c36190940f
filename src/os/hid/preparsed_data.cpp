#include "os/hid/preparsed_data.h"

#include <algorithm>

namespace os::hid {

namespace {

int TypeIndex(ReportType type) {
    return static_cast<int>(type);
}

bool ValidType(ReportType type) {
    return TypeIndex(type) >= 0 && TypeIndex(type) < kReportTypeCount;
}

int32_t SignExtend(uint32_t raw, uint32_t bitSize) {
    if (bitSize == 0 || bitSize >= 32) return static_cast<int32_t>(raw);
    const uint32_t sign = 1u << (bitSize - 1);
    return static_cast<int32_t>((raw ^ sign) - sign);
}

}  // namespace

uint32_t ExtractBits(const uint8_t* data, uint32_t length, uint32_t bitOffset, uint32_t bitSize) {
    uint32_t result = 0;
    for (uint32_t i = 0; i < bitSize && i < 32; ++i) {
        const uint64_t bit = static_cast<uint64_t>(bitOffset) + i;
        const uint64_t byte = bit / 8;
        if (byte >= length) break;
        if (data[byte] & (1u << (bit % 8))) result |= 1u << i;
    }
    return result;
}

uint16_t PreparsedData::ReportLength(ReportType type) const {
    switch (type) {
        case ReportType::kInput:
            return caps_.inputReportByteLength;
        case ReportType::kOutput:
            return caps_.outputReportByteLength;
        case ReportType::kFeature:
            return caps_.featureReportByteLength;
    }
    return 0;
}

const std::vector<uint8_t>& PreparsedData::ReportIds(ReportType type) const {
    static const std::vector<uint8_t> kNone;
    return ValidType(type) ? reportIds_[TypeIndex(type)] : kNone;
}

bool PreparsedData::HasReportId(ReportType type, uint8_t reportId) const {
    const auto& ids = ReportIds(type);
    return std::find(ids.begin(), ids.end(), reportId) != ids.end();
}

bool PreparsedData::OwnsReportId(uint8_t reportId) const {
    for (int t = 0; t < kReportTypeCount; ++t)
        if (HasReportId(static_cast<ReportType>(t), reportId)) return true;
    return false;
}

bool PreparsedData::MatchesLink(uint16_t entryLink, uint16_t linkCollection) const {
    if (linkCollection == 0) return true;
    // A nested collection also matches the collections it is inside of.
    for (uint16_t node = entryLink; node < links_.size();) {
        if (node == linkCollection) return true;
        if (node == 0) break;
        node = links_[node].parent;
    }
    return false;
}

template <typename Entry, typename CapsT>
uint32_t PreparsedData::FilterCaps(const std::vector<Entry>& entries, uint16_t usagePage,
                                   uint16_t linkCollection, uint16_t usage,
                                   std::vector<CapsT>* caps) const {
    caps->clear();
    for (const Entry& e : entries) {
        if (usagePage && e.caps.usagePage != usagePage) continue;
        if (!MatchesLink(e.caps.linkCollection, linkCollection)) continue;
        if (usage && (usage < e.caps.usageMin || usage > e.caps.usageMax)) continue;
        caps->push_back(e.caps);
    }
    return caps->empty() ? kStatusUsageNotFound : kStatusSuccess;
}

uint32_t PreparsedData::GetSpecificButtonCaps(ReportType type, uint16_t usagePage,
                                              uint16_t linkCollection, uint16_t usage,
                                              std::vector<ButtonCaps>* caps) const {
    if (!ValidType(type)) return kStatusInvalidReportType;
    return FilterCaps(buttons_[TypeIndex(type)], usagePage, linkCollection, usage, caps);
}

uint32_t PreparsedData::GetSpecificValueCaps(ReportType type, uint16_t usagePage,
                                             uint16_t linkCollection, uint16_t usage,
                                             std::vector<ValueCaps>* caps) const {
    if (!ValidType(type)) return kStatusInvalidReportType;
    return FilterCaps(values_[TypeIndex(type)], usagePage, linkCollection, usage, caps);
}

uint32_t PreparsedData::MaxUsageListLength(ReportType type, uint16_t usagePage) const {
    if (!ValidType(type)) return 0;
    uint32_t total = 0;
    std::vector<uint32_t> countedArrays;
    for (const ButtonEntry& e : buttons_[TypeIndex(type)]) {
        if (usagePage && e.caps.usagePage != usagePage) continue;
        const Field& f = fields_[e.field];
        if (!f.isArray) {
            total += e.slotCount;
        } else if (std::find(countedArrays.begin(), countedArrays.end(), e.field) ==
                   countedArrays.end()) {
            // Every usage of an array shares its slots: the array holds at most count of them.
            countedArrays.push_back(e.field);
            total += f.count;
        }
    }
    return total;
}

uint32_t PreparsedData::CheckReport(ReportType type, const uint8_t* report,
                                    uint32_t reportLength) const {
    if (!ValidType(type)) return kStatusInvalidReportType;
    const uint16_t need = ReportLength(type);
    if (!report || need == 0 || reportLength < need) return kStatusInvalidReportLength;
    return kStatusSuccess;
}

uint32_t PreparsedData::GetUsages(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                  uint16_t* usages, uint32_t* usageLength, const uint8_t* report,
                                  uint32_t reportLength) const {
    if (!usageLength) return kStatusInvalidReportLength;
    const uint32_t room = usages ? *usageLength : 0;
    *usageLength = 0;
    if (uint32_t s = CheckReport(type, report, reportLength); s != kStatusSuccess) return s;
    const uint8_t reportId = report[0];
    bool onPage = false, inReport = false;
    uint32_t found = 0;
    auto add = [&](uint16_t usage) {
        if (usage == 0) return;
        if (found < room) usages[found] = usage;
        ++found;
    };
    std::vector<uint32_t> doneArrays;
    for (const ButtonEntry& e : buttons_[TypeIndex(type)]) {
        if (usagePage && e.caps.usagePage != usagePage) continue;
        if (!MatchesLink(e.caps.linkCollection, linkCollection)) continue;
        onPage = true;
        const Field& f = fields_[e.field];
        if (f.reportId != reportId) continue;
        inReport = true;
        if (!f.isArray) {
            for (uint32_t i = 0; i < e.slotCount; ++i) {
                const uint32_t bit = f.bitOffset + (e.firstSlot + i) * f.bitSize;
                if (ExtractBits(report, reportLength, bit, f.bitSize) == 0) continue;
                add(e.caps.isRange ? static_cast<uint16_t>(e.caps.usageMin + i) : e.caps.usageMin);
            }
            continue;
        }
        // An array lists the indexes of its pressed usages; walk each array once, whatever the
        // number of capabilities it was declared with.
        if (std::find(doneArrays.begin(), doneArrays.end(), e.field) != doneArrays.end()) continue;
        doneArrays.push_back(e.field);
        for (uint32_t slot = 0; slot < f.count; ++slot) {
            const uint32_t raw =
                ExtractBits(report, reportLength, f.bitOffset + slot * f.bitSize, f.bitSize);
            const int64_t v = f.logicalMin < 0 ? SignExtend(raw, f.bitSize) : int64_t{raw};
            if (v < f.logicalMin || v > f.logicalMax) continue;
            int64_t index = v - f.logicalMin;
            for (const UsageSpan& span : f.arrayUsages) {
                const int64_t n = int64_t{span.max} - span.min + 1;
                if (index < n) {
                    if (!usagePage || span.page == usagePage)
                        add(static_cast<uint16_t>(span.min + index));
                    break;
                }
                index -= n;
            }
        }
    }
    if (!onPage) return kStatusUsageNotFound;
    if (!inReport) return kStatusIncompatibleReportId;
    *usageLength = found;
    if (found > room) {
        *usageLength = room;
        return kStatusBufferTooSmall;
    }
    return kStatusSuccess;
}

const PreparsedData::ValueEntry* PreparsedData::FindValue(ReportType type, uint16_t usagePage,
                                                          uint16_t linkCollection, uint16_t usage,
                                                          uint8_t reportId,
                                                          uint32_t* status) const {
    bool seen = false;
    for (const ValueEntry& e : values_[TypeIndex(type)]) {
        if (e.caps.usagePage != usagePage) continue;
        if (usage < e.caps.usageMin || usage > e.caps.usageMax) continue;
        if (!MatchesLink(e.caps.linkCollection, linkCollection)) continue;
        seen = true;
        if (e.caps.reportId != reportId) continue;
        *status = kStatusSuccess;
        return &e;
    }
    *status = seen ? kStatusIncompatibleReportId : kStatusUsageNotFound;
    return nullptr;
}

uint32_t PreparsedData::GetUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                      uint16_t usage, uint32_t* value, const uint8_t* report,
                                      uint32_t reportLength) const {
    if (uint32_t s = CheckReport(type, report, reportLength); s != kStatusSuccess) return s;
    uint32_t status;
    const ValueEntry* e = FindValue(type, usagePage, linkCollection, usage, report[0], &status);
    if (!e) return status;
    const Field& f = fields_[e->field];
    const uint32_t slot = e->firstSlot + (e->caps.isRange ? usage - e->caps.usageMin : 0);
    *value = ExtractBits(report, reportLength, f.bitOffset + slot * f.bitSize, f.bitSize);
    return kStatusSuccess;
}

uint32_t PreparsedData::GetScaledUsageValue(ReportType type, uint16_t usagePage,
                                            uint16_t linkCollection, uint16_t usage, int32_t* value,
                                            const uint8_t* report, uint32_t reportLength) const {
    uint32_t raw = 0;
    if (uint32_t s =
            GetUsageValue(type, usagePage, linkCollection, usage, &raw, report, reportLength);
        s != kStatusSuccess)
        return s;
    uint32_t status;
    const ValueEntry* e = FindValue(type, usagePage, linkCollection, usage, report[0], &status);
    const ValueCaps& c = e->caps;
    if (c.logicalMin >= c.logicalMax) return kStatusBadLogPhyValues;
    int32_t phyMin = c.physicalMin, phyMax = c.physicalMax;
    if (phyMin == 0 && phyMax == 0) {
        phyMin = c.logicalMin;
        phyMax = c.logicalMax;
    }
    if (phyMin >= phyMax) return kStatusBadLogPhyValues;
    const int64_t v = c.logicalMin < 0 ? SignExtend(raw, c.bitSize) : int64_t{raw};
    if (v < c.logicalMin || v > c.logicalMax) {
        *value = 0;
        return c.hasNull ? kStatusNull : kStatusValueOutOfRange;
    }
    const int64_t scaled =
        (v - c.logicalMin) * (int64_t{phyMax} - phyMin) / (int64_t{c.logicalMax} - c.logicalMin) +
        phyMin;
    *value = static_cast<int32_t>(scaled);
    return kStatusSuccess;
}

}  // namespace os::hid
