#pragma once

#include <cstdint>

namespace os::hid {

// The three kinds of HID report. The numbering is the one the system uses in its report tables.
enum class ReportType : uint8_t { kInput = 0, kOutput = 1, kFeature = 2 };
inline constexpr int kReportTypeCount = 3;

// Status values of the report parser functions, with the well-known values the system compares
// against (success has the facility bits set, failures the severity bit as well).
inline constexpr uint32_t kStatusSuccess = 0x00110000;
inline constexpr uint32_t kStatusNull = 0x80110001;  // the field holds its null value
inline constexpr uint32_t kStatusInvalidPreparsedData = 0xC0110001;
inline constexpr uint32_t kStatusInvalidReportType = 0xC0110002;
inline constexpr uint32_t kStatusInvalidReportLength = 0xC0110003;
inline constexpr uint32_t kStatusUsageNotFound = 0xC0110004;
inline constexpr uint32_t kStatusValueOutOfRange = 0xC0110005;
inline constexpr uint32_t kStatusBadLogPhyValues = 0xC0110006;
inline constexpr uint32_t kStatusBufferTooSmall = 0xC0110007;
inline constexpr uint32_t kStatusIncompatibleReportId = 0xC011000A;

// Last-error values of the device operations, with the well-known values the system tests for.
inline constexpr uint32_t kErrorSuccess = 0;
inline constexpr uint32_t kErrorFileNotFound = 2;
inline constexpr uint32_t kErrorAccessDenied = 5;
inline constexpr uint32_t kErrorInvalidHandle = 6;
inline constexpr uint32_t kErrorInvalidData = 13;
inline constexpr uint32_t kErrorBadCommand = 22;
inline constexpr uint32_t kErrorGenFailure = 31;
inline constexpr uint32_t kErrorSharingViolation = 32;
inline constexpr uint32_t kErrorNotSupported = 50;
inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorInsufficientBuffer = 122;
inline constexpr uint32_t kErrorBadPathName = 161;
inline constexpr uint32_t kErrorFilenameExcedRange = 206;
inline constexpr uint32_t kErrorTimeout = 258;  // same value as os::kWaitTimeout
inline constexpr uint32_t kErrorOperationAborted = 995;
inline constexpr uint32_t kErrorIoPending = 997;
inline constexpr uint32_t kErrorDeviceNotConnected = 1167;

// Largest report, in bytes including the report id byte, that the layer accepts. Longer reports
// in a descriptor make the descriptor invalid; nothing larger is ever allocated for a report.
inline constexpr uint32_t kMaxReportLength = 65535;

// Largest report descriptor accepted (the kernel's own limit for HID descriptors).
inline constexpr uint32_t kMaxDescriptorLength = 4096;

// Identity of an interface, as the device reports it.
struct Attributes {
    uint32_t size = sizeof(Attributes);
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

// The summary of one top-level collection. Report lengths are in bytes and include the report id
// byte, which is there (as 0) even when the collection's reports carry no id; a length of 0 means
// the collection has no report of that type.
struct Caps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberLinkCollectionNodes = 0;
    uint16_t numberInputButtonCaps = 0;
    uint16_t numberInputValueCaps = 0;
    uint16_t numberInputDataIndices = 0;
    uint16_t numberOutputButtonCaps = 0;
    uint16_t numberOutputValueCaps = 0;
    uint16_t numberOutputDataIndices = 0;
    uint16_t numberFeatureButtonCaps = 0;
    uint16_t numberFeatureValueCaps = 0;
    uint16_t numberFeatureDataIndices = 0;
};

// One button capability: a single usage or a usage range on one usage page, in one report.
// For a non-range capability usageMin == usageMax is the usage.
struct ButtonCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isAlias = false;
    uint16_t bitField = 0;        // the main item's data bits (bit 1 variable, bit 2 relative...)
    uint16_t linkCollection = 0;  // 0 is the top-level collection itself
    uint16_t linkUsage = 0;
    uint16_t linkUsagePage = 0;
    bool isRange = false;
    bool isAbsolute = true;
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint16_t dataIndexMin = 0;
    uint16_t dataIndexMax = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
};

// One value capability: a single usage (possibly repeated reportCount times) or a usage range
// with one field per usage.
struct ValueCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isAlias = false;
    uint16_t bitField = 0;
    uint16_t linkCollection = 0;
    uint16_t linkUsage = 0;
    uint16_t linkUsagePage = 0;
    bool isRange = false;
    bool isAbsolute = true;
    bool hasNull = false;
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    uint32_t unitsExp = 0;
    uint32_t units = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint16_t usageMin = 0;
    uint16_t usageMax = 0;
    uint16_t dataIndexMin = 0;
    uint16_t dataIndexMax = 0;
};

}  // namespace os::hid
