#include "device/memory_image.h"

#include <gtest/gtest.h>
#include <json/reader.h>

#include <algorithm>
#include <array>
#include <vector>

#include "device/testing/simulated_channel.h"
#include "sim/firmware.h"

namespace device {
namespace {

std::vector<ImageEvent> Events(size_t count) {
    std::vector<ImageEvent> events(count);
    for (size_t i = 0; i < count; ++i)
        events[i] = *EncodeImageEvent(i % 2 == 0, 10, static_cast<int>(4 + i % 26), 10);
    return events;
}

// Image size for entries of these event counts: 16 + 6 N + 4 x events.
constexpr size_t SizeFor(size_t entries, size_t events) {
    return 16 + 6 * entries + 4 * events;
}

TEST(MemoryImage, EntriesFollowTheirOffsetTable) {
    const std::vector<std::vector<ImageEvent>> entries = {
        {*EncodeImageEvent(true, 10, 0x04, 300), *EncodeImageEvent(false, 10, 0x04, 10)},
        {},
        {*EncodeImageEvent(true, 1, 0x01, 0x1234)},
    };
    const MemoryImage image = BuildMemoryImage(entries, {.capacity = 128});
    ASSERT_EQ(image.status, MemoryImage::Status::kBuilt);
    // clang-format off
    constexpr std::array<uint8_t, 46> kWant = {
        0xAA, 0x55,                                // signature
        0x2E, 0x00,                                // size 46
        0x03, 0x00,                                // three entries
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0,              // 6..15
        0x16, 0x00,                                // entry 0 at 22
        0x22, 0x00,                                // entry 1 at 34
        0x26, 0x00,                                // entry 2 at 38
        0x02, 0x00, 0x00, 0x00,                    // entry 0: two events
        0x2C, 0x01, 0x8A, 0x04,                    //   300 ms, key down, usage 4 (A)
        0x0A, 0x00, 0x0A, 0x04,                    //   10 ms, key up
        0x00, 0x00, 0x00, 0x00,                    // entry 1: no events
        0x01, 0x00, 0x00, 0x00,                    // entry 2: one event
        0x34, 0x12, 0x81, 0x01,                    //   0x1234 ms, left button down
    };
    // clang-format on
    EXPECT_EQ(image.bytes, std::vector<uint8_t>(kWant.begin(), kWant.end()));
    EXPECT_EQ(image.size, kWant.size());
}

TEST(MemoryImage, WhatDoesNotFitIsRefusedWhole) {
    struct Case {
        const char* what;
        std::vector<size_t> events;  // per entry
        size_t capacity;
        MemoryImage::Status status;
        int reported;  // events over the limit, or over the capacity
    };
    using S = MemoryImage::Status;
    const Case kCases[] = {
        {"no entries", {}, 128, S::kEmpty, 0},
        {"exactly full", {12, 13}, 128, S::kBuilt, 0},
        {"one event over the capacity", {12, 14}, 128, S::kTooLarge, 1},
        {"half an event over", {27}, 128, S::kTooLarge, 1},
        {"three events over", {29}, 128, S::kTooLarge, 3},
        {"250 events", {250}, 1022, S::kBuilt, 0},
        {"251 events", {3, 251, 300}, 4096, S::kTooManyEvents, 1},
        // Beyond what the 16-bit size can describe, whatever the device claims.
        {"beyond 64 KiB", std::vector<size_t>(66, 250), SIZE_MAX, S::kTooLarge, 0},
    };
    for (const Case& c : kCases) {
        std::vector<std::vector<ImageEvent>> entries;
        size_t total = 0;
        for (size_t n : c.events) {
            entries.push_back(Events(n));
            total += n;
        }
        const MemoryImage image = BuildMemoryImage(entries, {.capacity = c.capacity});
        EXPECT_EQ(image.status, c.status) << c.what;
        if (c.status == S::kBuilt) {
            EXPECT_EQ(image.bytes.size(), SizeFor(c.events.size(), total)) << c.what;
            EXPECT_EQ(image.size, c.capacity) << c.what << " (the cases fill it)";
            continue;
        }
        EXPECT_TRUE(image.bytes.empty()) << c.what;
        if (c.status == S::kTooManyEvents) {
            EXPECT_EQ(image.entry, 1) << c.what;
            EXPECT_EQ(image.EventsOverLimit(), c.reported) << c.what;
        }
        if (c.status == S::kTooLarge && c.reported > 0) {
            EXPECT_EQ(image.EventsOverCapacity(), c.reported) << c.what;
        }
        const std::optional<ImageRefusal> refusal = RefusalOf(image);
        if (c.status == S::kEmpty) {
            EXPECT_EQ(refusal, std::nullopt) << c.what;
        } else if (c.reported > 0) {
            ASSERT_TRUE(refusal) << c.what;
            EXPECT_EQ(refusal->messageKey,
                      c.status == S::kTooLarge ? "message_text_16" : "message_text_26")
                << c.what;
            EXPECT_EQ(refusal->value, c.reported) << c.what;
        }
    }
}

TEST(MemoryImage, ShootAndMacroFilesGiveTheirEventsInDeviceBytes) {
    Json::Value doc;
    ASSERT_TRUE(Json::Reader().parse(R"({"Events": [
        {"Action": "down", "Type": 9, "Button": 2, "Delay": "65"},
        {"Action": "up", "Type": 9, "Button": 2, "Delay": 70000},
        {"Action": "Down", "Type": 1, "Button": 1, "Delay": "12ms"},
        {"Action": "down", "Type": 128, "Button": 1, "Delay": "10"},
        {"Action": "down", "Type": 5, "Button": 3, "Delay": ""}
    ]})",
                                     doc));
    std::vector<std::string> notes;
    const std::vector<ImageEvent> events =
        ImageEventsOf(profile::MacroStore::EventsOf(doc, "ShootData_0.Shoot"), "shoot 0", &notes);
    const std::vector<ImageEvent> want = {
        {0x41, 0x00, 0x89, 0x02},  // 65 ms, modifier down, left Shift
        {0xFF, 0xFF, 0x09, 0x02},  // clamped to 65535 ms, up
        {0x0C, 0x00, 0x01, 0x01},  // "Down" is not "down": a release
        {0x00, 0x00, 0x85, 0x03},  // type 128 was passed over; an empty delay is 0
    };
    EXPECT_EQ(events, want);
    EXPECT_TRUE(notes.empty());

    // What the bytes cannot carry never reaches the image.
    const std::vector<profile::MacroEvent> odd = {
        {.down = true, .button = 4, .type = 10, .delay = 10},
        {.down = true, .button = 300, .type = 10, .delay = 10},
        {.down = false, .button = 4, .type = -1, .delay = -20},
        {.down = false, .button = 4, .type = 10, .delay = -20},
    };
    EXPECT_EQ(ImageEventsOf(odd, "macro 2", &notes),
              (std::vector<ImageEvent>{{0x0A, 0x00, 0x8A, 0x04}, {0x00, 0x00, 0x0A, 0x04}}));
    EXPECT_EQ(notes.size(), 2u);
    EXPECT_EQ(ShootFileName(3), "ShootData_3.Shoot");
}

// Written with the real channel, on the cable and behind the receiver.
using ImageOnTheBus = device::testing::SimulatedMouse;

TEST_P(ImageOnTheBus, AMacroImageThatFillsTheMemoryLandsWhole) {
    mouse_->SetMacroCapacity(2);
    DeviceInfoBlock info;
    ASSERT_EQ(ch_.ReadDeviceInfo(info.bytes.data()), kResultOk);
    ASSERT_EQ(MacroCapacity(info), 256u);
    // 16 + 12 + 4 x 57 = 256 bytes.
    const std::vector<std::vector<ImageEvent>> entries = {Events(30), Events(27)};
    const MemoryImage image = BuildMemoryImage(entries, {.capacity = MacroCapacity(info)});
    ASSERT_EQ(image.status, MemoryImage::Status::kBuilt);
    ASSERT_EQ(ch_.WriteMacroData(image.bytes.data(), static_cast<uint32_t>(image.size)), kResultOk);
    EXPECT_EQ(mouse_->ReadArea(sim::Area::kMacro), image.bytes);

    // One more event does not fit: nothing is built, so nothing can be sent.
    const std::vector<std::vector<ImageEvent>> more = {Events(30), Events(28)};
    EXPECT_EQ(BuildMemoryImage(more, {.capacity = MacroCapacity(info)}).status,
              MemoryImage::Status::kTooLarge);
}

TEST_P(ImageOnTheBus, TheShootImageHoldsItsFourPresets) {
    const std::vector<std::vector<ImageEvent>> presets = {Events(5), Events(0), Events(9),
                                                          Events(1)};
    const MemoryImage image = BuildMemoryImage(presets, {});
    ASSERT_EQ(image.status, MemoryImage::Status::kBuilt);
    ASSERT_EQ(ch_.WriteShootData(image.bytes.data(), static_cast<uint32_t>(image.size)), kResultOk);
    const std::vector<uint8_t> shoot = mouse_->ReadArea(sim::Area::kShoot);
    ASSERT_GE(shoot.size(), image.size);
    EXPECT_TRUE(std::equal(image.bytes.begin(), image.bytes.end(), shoot.begin()));
    EXPECT_EQ(shoot[4], kShootEntryCount);
}

INSTANTIATE_TEST_SUITE_P(CableAndReceiver, ImageOnTheBus, ::testing::Bool(),
                         ImageOnTheBus::PathName);

}  // namespace
}  // namespace device
