#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "os/hid/preparsed_data.h"

namespace os::hid {

// The report-descriptor parser: turns the bytes a HID interface describes itself with into one
// PreparsedData per top-level collection, in descriptor order.
//
// Byte contract: the descriptor is a sequence of short items (one prefix byte: bits 7..4 tag,
// 3..2 type 0 main / 1 global / 2 local, 1..0 size code 0, 1, 2 or 4 data bytes, little-endian)
// and long items (prefix 0xFE, data size byte, long tag byte, data; skipped).
//
// What makes a descriptor invalid (Parse returns false with a message naming the item offset):
// more than kMaxDescriptorLength bytes, a truncated item, an input, output or feature item outside
// every collection, an end collection without a collection, collections left open at the end, pop
// without push, push deeper than 32 or collections nested deeper than 64, report id 0, report
// items with and without report ids in one descriptor, one report id in two top-level collections,
// a report size above 32 bits, a usage minimum above its maximum, a report longer than
// kMaxReportLength bytes, no top-level collection at all.
class ReportDescriptor {
  public:
    using Collections = std::vector<std::shared_ptr<const PreparsedData>>;

    static bool Parse(std::span<const uint8_t> descriptor, Collections* collections,
                      std::string* error);

  private:
    class Parser;
};

}  // namespace os::hid
