#pragma once

#include <cstdint>
#include <vector>

#include "os/hid/hid_types.h"

namespace os::hid {

class ReportDescriptor;

// The parsed description of one top-level collection: its summary, its button and value
// capabilities per report type, and the bit layout that the extraction functions read reports
// with. Built only by ReportDescriptor::Parse; immutable afterwards, so one object may be shared
// by every handle opened on the collection and read from any thread.
//
// Report byte contract for every function taking a report: report[0] is the report id (0 when the
// collection's reports carry none), followed by the report's data bits, least significant bit of
// each byte first. reportLength must be at least the collection's byte length for that report
// type (kStatusInvalidReportLength otherwise).
class PreparsedData {
  public:
    const Caps& caps() const { return caps_; }

    // The byte length of the collection's reports of a type, including the report id byte.
    uint16_t ReportLength(ReportType type) const;

    // Capabilities filtered the way the system asks for them: 0 for usagePage, linkCollection or
    // usage matches everything (linkCollection 0 also matches nested collections).
    uint32_t GetSpecificButtonCaps(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                   uint16_t usage, std::vector<ButtonCaps>* caps) const;
    uint32_t GetSpecificValueCaps(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                  uint16_t usage, std::vector<ValueCaps>* caps) const;

    // The most button usages of a page (0: of every page) that one report of the type can hold.
    uint32_t MaxUsageListLength(ReportType type, uint16_t usagePage) const;

    // The buttons of usagePage that are down in the report. On entry *usageLength is the room in
    // usages; on return the number found (kStatusBufferTooSmall when they did not all fit: the
    // first *usageLength on entry are written). Usage 0 (no event) is never listed.
    uint32_t GetUsages(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                       uint16_t* usages, uint32_t* usageLength, const uint8_t* report,
                       uint32_t reportLength) const;

    // The raw value of a value usage (the field's bits, not sign-extended) and the value scaled
    // from the logical to the physical range (sign-extended when the logical minimum is
    // negative; the logical range itself when no physical range is given).
    uint32_t GetUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                           uint16_t usage, uint32_t* value, const uint8_t* report,
                           uint32_t reportLength) const;
    uint32_t GetScaledUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                 uint16_t usage, int32_t* value, const uint8_t* report,
                                 uint32_t reportLength) const;

    // Report ids of the collection's reports of a type, in order of first appearance; { 0 } when
    // the descriptor numbers no reports and the collection has reports of that type.
    const std::vector<uint8_t>& ReportIds(ReportType type) const;
    bool HasReportId(ReportType type, uint8_t reportId) const;
    // Whether the id belongs to this collection for any report type.
    bool OwnsReportId(uint8_t reportId) const;

  private:
    friend class ReportDescriptor;

    struct UsageSpan {
        uint16_t page;
        uint16_t min;
        uint16_t max;
    };
    // One main item's data: count slots of bitSize bits from bitOffset (counted from the start
    // of the report, so the report id byte is bits 0..7).
    struct Field {
        ReportType type;
        uint8_t reportId;
        bool isArray;
        uint32_t bitOffset;
        uint32_t bitSize;
        uint32_t count;
        int32_t logicalMin;
        int32_t logicalMax;
        std::vector<UsageSpan> arrayUsages;  // arrays: index - logicalMin picks a usage here
    };
    struct ButtonEntry {
        ButtonCaps caps;
        uint32_t field;
        uint32_t firstSlot;  // variable fields: slot of usageMin; arrays: unused
        uint32_t slotCount;  // variable fields: number of slots the entry covers
    };
    struct ValueEntry {
        ValueCaps caps;
        uint32_t field;
        uint32_t firstSlot;
    };
    struct LinkNode {
        uint16_t usagePage;
        uint16_t usage;
        uint16_t parent;
    };

    bool MatchesLink(uint16_t entryLink, uint16_t linkCollection) const;
    template <typename Entry, typename CapsT>
    uint32_t FilterCaps(const std::vector<Entry>& entries, uint16_t usagePage,
                        uint16_t linkCollection, uint16_t usage, std::vector<CapsT>* caps) const;
    const ValueEntry* FindValue(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                uint16_t usage, uint8_t reportId, uint32_t* status) const;
    uint32_t CheckReport(ReportType type, const uint8_t* report, uint32_t reportLength) const;

    Caps caps_;
    std::vector<Field> fields_;
    std::vector<ButtonEntry> buttons_[kReportTypeCount];
    std::vector<ValueEntry> values_[kReportTypeCount];
    std::vector<uint8_t> reportIds_[kReportTypeCount];
    std::vector<LinkNode> links_;
};

// Reads bitSize (at most 32) bits from bitOffset of data, least significant bit first. Bits past
// length read as 0.
uint32_t ExtractBits(const uint8_t* data, uint32_t length, uint32_t bitOffset, uint32_t bitSize);

}  // namespace os::hid
