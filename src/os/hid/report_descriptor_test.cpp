#include "os/hid/report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

#include "os/hid/sample_descriptors.h"

namespace os::hid {
namespace {

ReportDescriptor::Collections ParseOk(std::span<const uint8_t> d) {
    ReportDescriptor::Collections c;
    std::string error;
    EXPECT_TRUE(ReportDescriptor::Parse(d, &c, &error)) << error;
    return c;
}

TEST(ReportDescriptor, VendorCommandCollectionHas64ByteReports) {
    auto c = ParseOk(samples::kVendorCommand);
    ASSERT_EQ(c.size(), 1u);
    const Caps& caps = c[0]->caps();
    EXPECT_EQ(caps.usagePage, 0xFF00);
    EXPECT_EQ(caps.usage, 1);
    EXPECT_EQ(caps.inputReportByteLength, 64);
    EXPECT_EQ(caps.outputReportByteLength, 64);
    EXPECT_EQ(caps.featureReportByteLength, 0);
    EXPECT_EQ(caps.numberInputValueCaps, 1);
    EXPECT_EQ(caps.numberOutputValueCaps, 1);
    EXPECT_EQ(caps.numberInputButtonCaps, 0);
    std::vector<ValueCaps> v;
    ASSERT_EQ(c[0]->GetSpecificValueCaps(ReportType::kInput, 0, 0, 0, &v), kStatusSuccess);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].reportId, 4);
    EXPECT_EQ(v[0].usageMin, 2);
    EXPECT_FALSE(v[0].isRange);
    EXPECT_EQ(v[0].reportCount, 63);
    EXPECT_EQ(v[0].bitSize, 8);
    EXPECT_EQ(v[0].logicalMax, 255);
    EXPECT_EQ(c[0]->ReportIds(ReportType::kOutput), std::vector<uint8_t>{4});
}

TEST(ReportDescriptor, CompositeInterfaceSplitsIntoTopLevelCollections) {
    auto c = ParseOk(samples::kCompositeKeyboard);
    ASSERT_EQ(c.size(), 4u);
    struct Expect {
        uint16_t page, usage, in, out;
        uint8_t id;
    };
    constexpr Expect kExpected[] = {
        {0x01, 0x06, 9, 2, 1},      // keyboard
        {0x0C, 0x01, 3, 0, 3},      // consumer control
        {0xFF00, 0x01, 64, 64, 4},  // vendor
        {0x01, 0x02, 8, 0, 2},      // mouse
    };
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c[i]->caps().usagePage, kExpected[i].page);
        EXPECT_EQ(c[i]->caps().usage, kExpected[i].usage);
        EXPECT_EQ(c[i]->caps().inputReportByteLength, kExpected[i].in);
        EXPECT_EQ(c[i]->caps().outputReportByteLength, kExpected[i].out);
        EXPECT_TRUE(c[i]->OwnsReportId(kExpected[i].id));
    }
    EXPECT_FALSE(c[0]->OwnsReportId(3));
    // The mouse's physical collection is a link collection below the top-level one.
    EXPECT_EQ(c[3]->caps().numberLinkCollectionNodes, 2);
}

TEST(ReportDescriptor, KeyboardButtonsAndArrayKeys) {
    auto c = ParseOk(samples::kCompositeKeyboard);
    const PreparsedData& kb = *c[0];
    // [id 1][modifiers: LCtrl + LShift][reserved][keys: A, B, 0, 0, 0, 0]
    const uint8_t report[9] = {0x01, 0x03, 0x00, 0x04, 0x05, 0, 0, 0, 0};
    uint16_t usages[16];
    uint32_t n = 16;
    ASSERT_EQ(kb.GetUsages(ReportType::kInput, 0x07, 0, usages, &n, report, sizeof report),
              kStatusSuccess);
    ASSERT_EQ(n, 4u);
    EXPECT_EQ(usages[0], 0xE0);
    EXPECT_EQ(usages[1], 0xE1);
    EXPECT_EQ(usages[2], 0x04);
    EXPECT_EQ(usages[3], 0x05);
    // 8 modifier bits plus 6 array slots.
    EXPECT_EQ(kb.MaxUsageListLength(ReportType::kInput, 0x07), 14u);
    EXPECT_EQ(kb.MaxUsageListLength(ReportType::kOutput, 0x08), 5u);

    n = 2;
    EXPECT_EQ(kb.GetUsages(ReportType::kInput, 0x07, 0, usages, &n, report, sizeof report),
              kStatusBufferTooSmall);
    EXPECT_EQ(n, 2u);
    n = 16;
    EXPECT_EQ(kb.GetUsages(ReportType::kInput, 0x07, 0, usages, &n, report, 5),
              kStatusInvalidReportLength);
    n = 16;
    EXPECT_EQ(kb.GetUsages(ReportType::kInput, 0x09, 0, usages, &n, report, sizeof report),
              kStatusUsageNotFound);
    const uint8_t other[9] = {0x02};
    n = 16;
    EXPECT_EQ(kb.GetUsages(ReportType::kInput, 0x07, 0, usages, &n, other, sizeof other),
              kStatusIncompatibleReportId);
}

TEST(ReportDescriptor, ConsumerArrayMapsIndexToUsage) {
    auto c = ParseOk(samples::kCompositeKeyboard);
    const uint8_t report[3] = {0x03, 0xE9, 0x00};  // volume up
    uint16_t usages[4];
    uint32_t n = 4;
    ASSERT_EQ(c[1]->GetUsages(ReportType::kInput, 0x0C, 0, usages, &n, report, 3), kStatusSuccess);
    ASSERT_EQ(n, 1u);
    EXPECT_EQ(usages[0], 0xE9);
    const uint8_t outOfRange[3] = {0x03, 0x00, 0x03};  // 0x300: beyond the logical maximum
    n = 4;
    ASSERT_EQ(c[1]->GetUsages(ReportType::kInput, 0x0C, 0, usages, &n, outOfRange, 3),
              kStatusSuccess);
    EXPECT_EQ(n, 0u);
}

TEST(ReportDescriptor, MouseValuesRawAndScaled) {
    auto c = ParseOk(samples::kCompositeKeyboard);
    const PreparsedData& m = *c[3];
    // [id 2][buttons 1..8: 3][buttons 9..16: 9][X = -2][Y = 300][wheel = -1]
    const uint8_t report[8] = {0x02, 0x04, 0x01, 0xFE, 0xFF, 0x2C, 0x01, 0xFF};
    uint32_t raw = 0;
    int32_t scaled = 0;
    ASSERT_EQ(m.GetUsageValue(ReportType::kInput, 0x01, 0, 0x30, &raw, report, 8), kStatusSuccess);
    EXPECT_EQ(raw, 0xFFFEu);
    ASSERT_EQ(m.GetScaledUsageValue(ReportType::kInput, 0x01, 0, 0x30, &scaled, report, 8),
              kStatusSuccess);
    EXPECT_EQ(scaled, -2);  // no physical range: the logical value
    ASSERT_EQ(m.GetScaledUsageValue(ReportType::kInput, 0x01, 0, 0x31, &scaled, report, 8),
              kStatusSuccess);
    EXPECT_EQ(scaled, 300);
    ASSERT_EQ(m.GetScaledUsageValue(ReportType::kInput, 0x01, 0, 0x38, &scaled, report, 8),
              kStatusSuccess);
    EXPECT_EQ(scaled, -10);
    EXPECT_EQ(m.GetUsageValue(ReportType::kInput, 0x01, 0, 0x32, &raw, report, 8),
              kStatusUsageNotFound);
    const uint8_t wheelOut[8] = {0x02, 0, 0, 0, 0, 0, 0, 0x80};  // -128: below -127
    EXPECT_EQ(m.GetScaledUsageValue(ReportType::kInput, 0x01, 0, 0x38, &scaled, wheelOut, 8),
              kStatusValueOutOfRange);

    uint16_t usages[16];
    uint32_t n = 16;
    ASSERT_EQ(m.GetUsages(ReportType::kInput, 0x09, 0, usages, &n, report, 8), kStatusSuccess);
    ASSERT_EQ(n, 2u);
    EXPECT_EQ(usages[0], 3);
    EXPECT_EQ(usages[1], 9);
    std::vector<ButtonCaps> b;
    ASSERT_EQ(m.GetSpecificButtonCaps(ReportType::kInput, 0x09, 0, 0, &b), kStatusSuccess);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_TRUE(b[0].isRange);
    EXPECT_EQ(b[0].usageMin, 1);
    EXPECT_EQ(b[0].usageMax, 8);
    EXPECT_EQ(b[1].usageMin, 9);
    EXPECT_EQ(b[0].linkCollection, 1);  // inside the physical collection
    EXPECT_EQ(b[0].linkUsage, 0x01);
}

TEST(ReportDescriptor, GlobalsPushPopUnsignedMaximumLongItemsAndLeftoverFields) {
    const uint8_t d[] = {
        0x06, 0x00, 0xFF,              // Usage Page (0xFF00)
        0x09, 0x01,                    // Usage (1)
        0xA1, 0x01,                    // Collection (Application)
        0xFE, 0x02, 0x10, 0xAA, 0xBB,  // a long item: skipped
        0x15, 0x00,                    //   Logical Minimum (0)
        0x25, 0xFF,                    //   Logical Maximum (0xFF in one byte: meant 255)
        0x75, 0x08,                    //   Report Size (8)
        0xA4,                          //   Push
        0x75, 0x04,                    //   Report Size (4)
        0xB4,                          //   Pop: back to 8 bits
        0x95, 0x03,                    //   Report Count (3)
        0x09, 0x10,                    //   Usage (0x10)
        0x09, 0x11,                    //   Usage (0x11): also for the third field
        0xB1, 0x02,                    //   Feature (Data, Variable, Absolute)
        0xC0,
    };
    auto c = ParseOk(d);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0]->caps().featureReportByteLength, 4);
    std::vector<ValueCaps> v;
    ASSERT_EQ(c[0]->GetSpecificValueCaps(ReportType::kFeature, 0, 0, 0, &v), kStatusSuccess);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].logicalMax, 255);
    EXPECT_EQ(v[0].bitSize, 8);
    EXPECT_EQ(v[1].usageMin, 0x11);
    EXPECT_EQ(v[1].reportCount, 2);
    const uint8_t report[4] = {0x00, 0x01, 0xC8, 0x07};
    uint32_t raw = 0;
    ASSERT_EQ(c[0]->GetUsageValue(ReportType::kFeature, 0xFF00, 0, 0x11, &raw, report, 4),
              kStatusSuccess);
    EXPECT_EQ(raw, 0xC8u);  // the first field carrying the usage
    EXPECT_EQ(c[0]->ReportIds(ReportType::kFeature), std::vector<uint8_t>{0});
}

TEST(ReportDescriptor, BadDescriptorsFailWithAMessage) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    const Case kCases[] = {
        {"empty", {}, "no top-level collection"},
        {"truncated item", {0x05, 0x01, 0x09}, "truncated item"},
        {"truncated 4-byte item", {0x07, 0x01, 0x02}, "truncated item"},
        {"truncated long item", {0xFE, 0x05, 0x00, 0x01}, "truncated long item"},
        {"input outside a collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, "outside"},
        {"end without collection", {0xC0}, "end collection without"},
        {"collection left open", {0x09, 0x01, 0xA1, 0x01}, "not closed"},
        {"pop without push", {0xB4}, "pop without push"},
        {"report id 0", {0x85, 0x00}, "report id 0"},
        {"usage minimum above maximum", {0x19, 0x08, 0x29, 0x01}, "usage minimum"},
        {"report size above 32",
         {0xA1, 0x01, 0x75, 0x21, 0x95, 0x01, 0x81, 0x02, 0xC0},
         "report size"},
        {"report of more than 64 KiB",
         {0xA1, 0x01, 0x75, 0x08, 0x97, 0x00, 0x00, 0x01, 0x00, 0x81, 0x02, 0xC0},
         "longer than"},
        {"report of more than 64 KiB in several items",
         {0xA1, 0x01, 0x75, 0x20, 0x96, 0x00, 0x40, 0x81, 0x02, 0x81, 0x02, 0xC0},
         "longer than"},
        {"report count that overflows 32 bits",
         {0xA1, 0x01, 0x75, 0x20, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0},
         "longer than"},
        {"ids mixed with no ids",
         {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x81, 0x02, 0xC0},
         "with and without"},
        {"one id in two collections",
         {0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0, 0xA1, 0x01, 0x81, 0x02,
          0xC0},
         "two top-level"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ReportDescriptor::Collections out;
        std::string error;
        EXPECT_FALSE(ReportDescriptor::Parse(c.bytes, &out, &error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(out.empty());
    }
}

TEST(ReportDescriptor, RefusesOversizedAndDeeplyNestedDescriptors) {
    std::vector<uint8_t> big(kMaxDescriptorLength + 1, 0x00);
    ReportDescriptor::Collections out;
    std::string error;
    EXPECT_FALSE(ReportDescriptor::Parse(big, &out, &error));
    EXPECT_NE(error.find("too long"), std::string::npos);

    std::vector<uint8_t> deep;
    for (int i = 0; i < 70; ++i) deep.insert(deep.end(), {0xA1, 0x00});
    EXPECT_FALSE(ReportDescriptor::Parse(deep, &out, &error));
    EXPECT_NE(error.find("nested too deep"), std::string::npos);

    std::vector<uint8_t> pushes(40, 0xA4);
    EXPECT_FALSE(ReportDescriptor::Parse(pushes, &out, &error));
    EXPECT_NE(error.find("push nested too deep"), std::string::npos);
}

}  // namespace
}  // namespace os::hid
