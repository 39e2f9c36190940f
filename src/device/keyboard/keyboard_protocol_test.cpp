// The keyboard's maps, settings block, custom map and live frame: pure encodings first, then
// against the simulated keyboard, cabled and through the receiver.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "device/device_channel.h"
#include "device/keyboard/keyboard_key_maps.h"
#include "device/keyboard/keyboard_light_frames.h"
#include "device/keyboard/keyboard_preview.h"
#include "device/keyboard/keyboard_settings_block.h"
#include "device/listener_thread.h"
#include "device/testing/collection_path.h"
#include "hid/hid_device.h"
#include "keys/assignment_tables.h"
#include "os/testing/virtual_device_test.h"
#include "sim/firmware.h"
#include "sim/receiver_firmware.h"
#include "sim/simulated_device.h"

namespace device::keyboard {
namespace {

using R = profile::LightingRecord;

// A light mode list whose codes are the indices, as the keyboard's catalogue has them.
std::vector<int> IdentityCodes(int n = 34) {
    std::vector<int> codes(n);
    for (int i = 0; i < n; ++i) codes[i] = i;
    return codes;
}

profile::LightingRecord Record(std::initializer_list<std::pair<R::Byte, uint8_t>> fields) {
    profile::LightingRecord r;
    for (auto [at, v] : fields) r[at] = v;
    return r;
}

// ---- Maps ----

TEST(KeyboardKeyMaps, FollowTheDeviceTablesAndLeaveBadEntriesUnmapped) {
    // Three device keys: Esc, F1, F2 (program keys 0, 1, 2) with LEDs 7, 200 (no such LED), 9.
    constexpr std::array<uint8_t, 9> keyTable = {
        0x20, 0x00, 0x29,  // device key 0: Esc
        0x20, 0x00, 0x3B,  // device key 1: F2
        0x20, 0x00, 0x3A,  // device key 2: F1
    };
    constexpr std::array<uint8_t, 2> ledTable = {
        7,    // device key 0
        200,  // device key 1: beyond the 114 LEDs
              // device key 2: the table ends before it
    };
    const KeyboardKeyMaps maps = BuildKeyMaps(keyTable, ledTable);
    struct Row {
        int key;
        uint8_t device, led;
    };
    constexpr Row kExpected[] = {
        {0, 0, 7}, {1, 2, kUnmapped}, {2, 1, kUnmapped}, {3, kUnmapped, kUnmapped}};
    for (const Row& row : kExpected) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(maps.DevicePosition(row.key), row.device);
        EXPECT_EQ(maps.Led(row.key), row.led);
    }
    EXPECT_EQ(maps.ProgramKeyAt(2), 1);
    // A key event for a device position no program key has (0x0520) finds nothing.
    EXPECT_EQ(maps.ProgramKeyAt(0x20), -1);
    EXPECT_EQ(maps.ProgramKeyAt(kUnmapped), -1);
    EXPECT_EQ(maps.DevicePosition(170), kUnmapped);
    EXPECT_EQ(maps.Led(-1), kUnmapped);
}

TEST(KeyboardKeyMaps, KeysWithTheSameDefaultTakeSeparateDeviceKeys) {
    // Program keys 20 and 104 both default to "no key"; the device has two such entries.
    std::vector<uint8_t> keyTable(127 * 3, 0);
    for (int k = 0; k < 127; ++k) {
        keyTable[k * 3] = keys::ProgramKeyTable[k].type;
        keyTable[k * 3 + 1] = keys::ProgramKeyTable[k].first;
        keyTable[k * 3 + 2] = keys::ProgramKeyTable[k].second;
    }
    const KeyboardKeyMaps maps = BuildKeyMaps(keyTable, {});
    EXPECT_EQ(maps.DevicePosition(20), 20);
    EXPECT_EQ(maps.DevicePosition(104), 104);
    // The page's spare rows find no device key left.
    EXPECT_EQ(maps.DevicePosition(130), kUnmapped);
}

// ---- Settings block ----

TEST(KeyboardSettingsBlock, EncodesEveryFieldAtItsByte) {
    const auto record = Record({{R::kMode, 7},
                                {R::kBrightness, 3},
                                {R::kSpeed, 1},
                                {R::kDirection, 1},
                                {R::kColourful, 1},
                                {R::kRed, 0x11},
                                {R::kGreen, 0x22},
                                {R::kBlue, 0x33},
                                {R::kExtraMode, 2},
                                {R::kLightPage, 5}});
    const profile::KeyboardSystemSettings system{
        .repeat = 9, .repeatDelay = 2, .key6Flag = 1, .pollingRate = 3, .wFlag = 1, .winFlag = 0};
    const auto codes = IdentityCodes();
    const SettingsBlock b = EncodeSettingsBlock(record, system, codes, {0xAB, 0xCD}, 0);
    // clang-format off
    constexpr SettingsBlock kExpected = {
        0x00,                       // 0: active value
        0x07,                       // 1: mode code
        0x03,                       // 2: brightness
        0x03,                       // 3: 4 - speed 1
        0x01,                       // 4: direction
        0x01,                       // 5: colourful
        0x11, 0x22, 0x33,           // 6..8: colour
        0x00,                       // 9
        0xAB, 0xCD,                 // 10, 11: as last read
        0, 0, 0, 0, 0, 0,           // 12..17
        0x02,                       // 18: extra lighting value
        0x01,                       // 19: WFlag
        0x01,                       // 20: Key6Flag
        0x00,                       // 21: WinFlag
        0x03,                       // 22: PollingRate
        0x00, 0x00,                 // 23, 24
        0x05,                       // 25: light page
    };
    // clang-format on
    EXPECT_EQ(b, kExpected);
}

TEST(KeyboardSettingsBlock, StreamedModesAreWrittenAsFE) {
    struct Row {
        int modeIndex;
        std::vector<int> codes;
        uint8_t written;
    };
    const Row rows[] = {
        {29, IdentityCodes(), 0xFE},  // the streamed software mode
        {30, IdentityCodes(), 0xFE},  // the streamed audio mode
        {28, IdentityCodes(), 28},    // any other mode: its code
        {1, {0, 29, 5}, 0xFE},        // the code, not the index, decides
        {40, IdentityCodes(), 40},    // beyond the list: the index itself
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.modeIndex);
        EXPECT_EQ(ModeCodeOf(row.modeIndex, row.codes), row.written);
    }
}

TEST(KeyboardSettingsBlock, DecodesAndChecksWhatTheKeyboardSent) {
    const auto current = Record({{R::kMode, 12}, {R::kRed, 1}});
    const profile::KeyboardSystemSettings currentSystem{.repeat = 7, .repeatDelay = 1};
    const std::vector<int> codes = {0, 10, 20, 30};  // codes of mode indices 0..3
    struct Row {
        const char* what;
        SettingsBlock block;
        uint8_t mode, brightness, speed, direction, page, active;
        bool kept;
        int outOfRange;
    };
    // clang-format off
    const Row rows[] = {
        {"plain",        {2, 20, 4, 0, 1, 1, 9, 8, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 0, 1, 0, 0, 0, 6},
         2, 4, 4, 1, 6, 2, false, 0},
        {"FE keeps",     {0, 0xFE, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         12, 1, 2, 0, 0, 0, true, 0},
        {"unknown code", {0, 77, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         12, 1, 2, 0, 0, 0, true, 1},
        {"wild bytes",   {99, 10, 9, 200, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0, 0, 200},
         1, 4, 0, 1, 0, 0, false, 6},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const DecodedSettings d = DecodeSettingsBlock(row.block, current, currentSystem, codes);
        EXPECT_EQ(d.record[R::kMode], row.mode);
        EXPECT_EQ(d.record[R::kBrightness], row.brightness);
        EXPECT_EQ(d.record[R::kSpeed], row.speed);
        EXPECT_EQ(d.record[R::kDirection], row.direction);
        EXPECT_EQ(d.record[R::kLightPage], row.page);
        EXPECT_EQ(d.activeIndex, row.active);
        EXPECT_EQ(d.modeKept, row.kept);
        EXPECT_EQ(d.outOfRange, row.outOfRange);
        EXPECT_LE(d.system.wFlag, 1);
        // Repeat values never come from the keyboard.
        EXPECT_EQ(d.system.repeat, 7);
        EXPECT_EQ(d.system.repeatDelay, 1);
    }
}

TEST(KeyboardSettingsBlock, PageOptionsOutOfRangeSelectTheFirst) {
    EXPECT_EQ(RepeatDelayOption(3), 3);
    EXPECT_EQ(RepeatDelayOption(4), 0);
    EXPECT_EQ(RepeatDelayMs(RepeatDelayOption(2)), 750);
    EXPECT_EQ(PollingRateOption(0xFFFF), 0);
    EXPECT_EQ(SettingsBlockAddress(2), 50);
    EXPECT_EQ(SettingsBlockAddress(16), 0);
}

// ---- Custom map and live frame ----

// Maps where program key i has LED i.
KeyboardKeyMaps StraightMaps() {
    KeyboardKeyMaps maps;
    for (int i = 0; i < kLedCount; ++i) {
        maps.keyToDevice[i] = static_cast<uint8_t>(i);
        maps.keyToLed[i] = static_cast<uint8_t>(i);
    }
    return maps;
}

TEST(KeyboardLightMap, NibblesHoldPaletteIndexPlusOne) {
    constexpr std::array<Rgb, 4> palette = {{{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
    std::vector<LedColour> keys(kProgramKeyCount);
    keys[5] = {0, 255, 0, 255};   // LED 5, palette index 2: high nibble of byte 2 is 3
    keys[4] = {0, 0, 0, 255};     // unlit, though the palette has black at index 0
    keys[6] = {250, 10, 5, 255};  // off the palette: the nearest entry, red
    const LightMap map = BuildLightMap(keys, StraightMaps(), palette);
    EXPECT_EQ(map[2], 0x30);
    EXPECT_EQ(LightMapNibble(map, 4), 0);
    EXPECT_EQ(LightMapNibble(map, 6), 2);
    EXPECT_EQ(LightMapNibble(map, 200), 0);
    EXPECT_EQ(UniformLightMap(3)[17], 0x33);
    EXPECT_EQ(UniformLightMap(99)[0], 0xFF);
}

TEST(KeyboardLightMap, PaintSnapsToThePalette) {
    constexpr std::array<Rgb, 3> palette = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
    struct Row {
        const char* what;
        Rgb colour;
        int current;
        PaintChoice expected;
    };
    const Row rows[] = {
        {"on the palette, no index yet", {0, 255, 0}, 0, {{0, 255, 0}, 2}},
        {"on the palette, index kept", {0, 255, 0}, 3, {{0, 255, 0}, 3}},
        {"off the palette: nearest entry", {20, 10, 240}, 1, {{0, 0, 255}, 3}},
        {"index beyond a nibble", {255, 0, 0}, 16, {{255, 0, 0}, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ChoosePaint(palette, row.colour, row.current), row.expected);
    }
    EXPECT_EQ(ChoosePaint({}, {1, 2, 3}, 4), (PaintChoice{{1, 2, 3}, 0}));
    EXPECT_EQ(UniformLightMap(kPaintOff.paintIndex)[0], 0);
}

TEST(KeyboardLiveFrame, PlacesEachKeyAtItsLedScaledByBrightness) {
    KeyboardKeyMaps maps;
    maps.keyToLed[3] = 113;  // the last LED
    maps.keyToLed[4] = 0;
    std::vector<LedColour> keys(kProgramKeyCount);
    keys[3] = {255, 128, 2, 128};
    keys[4] = {200, 100, 50, 255};
    keys[9] = {255, 255, 255, 255};  // no LED: not in the frame
    LiveFrame frame;
    frame.fill(0xEE);
    BuildLiveFrame(keys, maps, frame);
    EXPECT_EQ(frame[113 * 3], 127);
    EXPECT_EQ(frame[113 * 3 + 1], 64);
    EXPECT_EQ(frame[113 * 3 + 2], 1);
    EXPECT_EQ(frame[0], 199);
    EXPECT_EQ(std::count(frame.begin(), frame.end(), 0), kLiveFrameSize - 6);
}

TEST(KeyboardAudio, BarHeightFromTheFirstLevels) {
    struct Row {
        std::vector<int32_t> levels;
        int height;
    };
    const Row rows[] = {
        {{}, 0},
        {{0, 0, 0}, 0},      // 600 each: silence
        {{2000, 2000}, 25},  // 0 each: full
        {{1000}, 13},        // 300: 25 - 12
        {{-1000}, 5},        // 900 counts as 500: 25 - 20
        {std::vector<int32_t>(25, 2000), 25},
        {[] {
             std::vector<int32_t> v(25, 0);
             v.resize(40, 2000);  // only the first 25 count
             return v;
         }(),
         0},
        {{2000000000}, 25},
    };
    for (const Row& row : rows) EXPECT_EQ(AudioBarHeight(row.levels), row.height);
}

// ---- Against the simulated keyboard ----

using testing::CollectionPath;
using testing::kCommandUsagePage;
using testing::kEventUsagePage;

class SimulatedKeyboard : public os::testing::VirtualDeviceTest,
                          public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        VirtualDeviceTest::SetUp();
        kb_ = std::make_shared<sim::Firmware>(sim::Kind::kKeyboard);
        const bool receiver = GetParam();
        if (receiver) {
            rx_ = std::make_shared<sim::ReceiverFirmware>();
            rx_->Pair(sim::ReceiverFirmware::Partner::kKeyboard, kb_);
            ASSERT_TRUE(rx_->SetLinked(sim::ReceiverFirmware::Partner::kKeyboard, true));
            plug_ = std::make_unique<sim::SimulatedDevice>(rx_);
        } else {
            plug_ = std::make_unique<sim::SimulatedDevice>(kb_);
        }
        ASSERT_TRUE(plug_->Plug());
        const std::string path = CollectionPath(productId(), kCommandUsagePage);
        hid::HidDevice& h = receiver ? ch_.receiverHandle() : ch_.directHandle();
        ASSERT_TRUE(!path.empty() && h.Open(path, true, true, true, false));
        ch_.SetOpen(true);
        ch_.SetConnectionType(receiver ? 2 : 1);
    }
    uint16_t productId() const { return GetParam() ? 0x22AA : 0x22AB; }
    void TearDown() override {
        ch_.SetOpen(false);
        plug_.reset();
        VirtualDeviceTest::TearDown();
    }

    // What the model does on connection: info, key table, LED index table, maps.
    KeyboardKeyMaps ReadMaps() {
        DeviceInfoBlock info;
        EXPECT_EQ(ch_.ReadDeviceInfo(info.bytes.data()), 1);
        EXPECT_EQ(ch_.SetBlockSize(static_cast<uint16_t>(info.keyCount() * 3)), 1);
        std::array<uint8_t, 512> keyTable{};
        std::array<uint8_t, 512> ledTable{};
        EXPECT_EQ(ch_.ReadKeyTable(keyTable.data()), 1);
        EXPECT_EQ(ch_.ReadLedIndexTable(ledTable.data()), 1);
        return BuildKeyMaps(std::span(keyTable).first(ch_.blockSize()),
                            std::span(ledTable).first(ch_.blockSize() / 3));
    }

    std::shared_ptr<sim::Firmware> kb_;
    std::shared_ptr<sim::ReceiverFirmware> rx_;
    std::unique_ptr<sim::SimulatedDevice> plug_;
    DeviceChannel ch_;
};

TEST_P(SimulatedKeyboard, MapsFollowTheKeyboardsTables) {
    const KeyboardKeyMaps maps = ReadMaps();
    const std::vector<uint8_t> leds = kb_->ReadArea(sim::Area::kLedIndex);
    // Every device key with an LED is reached from exactly one program key.
    for (size_t k = 0; k < leds.size(); ++k) {
        SCOPED_TRACE(k);
        const int key = maps.ProgramKeyAt(static_cast<int>(k));
        ASSERT_GE(key, 0);
        EXPECT_EQ(maps.Led(key), leds[k] < kLedCount ? leds[k] : kUnmapped);
    }
}

TEST_P(SimulatedKeyboard, SettingsBlockRoundTripsThroughTheKeyboardsMemory) {
    const auto codes = IdentityCodes();
    const auto record = Record({{R::kMode, 29},
                                {R::kBrightness, 2},
                                {R::kSpeed, 3},
                                {R::kColourful, 1},
                                {R::kRed, 40},
                                {R::kGreen, 50},
                                {R::kBlue, 60},
                                {R::kExtraMode, 1},
                                {R::kLightPage, 3}});
    const profile::KeyboardSystemSettings system{.key6Flag = 1, .pollingRate = 2, .winFlag = 1};
    const SettingsBlock out = EncodeSettingsBlock(record, system, codes, {0x12, 0x34}, 0);
    ASSERT_EQ(ch_.WriteSettings(out.data(), kSettingsBlockSize, SettingsBlockAddress(0)), 1);
    const std::vector<uint8_t> memory = kb_->ReadArea(sim::Area::kSettings);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), memory.begin()));
    EXPECT_EQ(memory[1], 0xFE);

    // Read back as the model does: the active index, then that slot.
    uint8_t active = 0xFF;
    ASSERT_EQ(ch_.ReadSettings(&active, 1, 0), 1);
    SettingsBlock in{};
    ASSERT_EQ(ch_.ReadSettings(in.data(), kSettingsBlockSize, SettingsBlockAddress(active)), 1);
    const auto current = Record({{R::kMode, 30}});
    const DecodedSettings d = DecodeSettingsBlock(in, current, {}, codes);
    EXPECT_TRUE(d.modeKept);
    profile::LightingRecord expected = record;
    expected[R::kMode] = 30;  // 0xFE keeps the page's mode
    EXPECT_EQ(d.record, expected);
    EXPECT_EQ(d.system.key6Flag, 1);
    EXPECT_EQ(d.system.winFlag, 1);
    EXPECT_EQ(d.keptBytes, (std::array<uint8_t, 2>{0x12, 0x34}));
    EXPECT_EQ(d.outOfRange, 0);
}

TEST_P(SimulatedKeyboard, CustomMapAndLiveFrameLandAtTheirAddresses) {
    const KeyboardKeyMaps maps = ReadMaps();
    constexpr std::array<Rgb, 3> palette = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}};
    std::vector<LedColour> keys(kProgramKeyCount);
    keys[0] = {0, 0, 255, 255};  // Esc: palette index 2
    keys[21] = {0, 255, 0, 255};
    const LightMap map = BuildLightMap(keys, maps, palette);
    constexpr int kPage = 2;
    ASSERT_EQ(ch_.WriteLightMap(map.data(), kLightMapSize, kPage, kLightPageSize), 1);
    const std::vector<uint8_t> pages = kb_->ReadArea(sim::Area::kLightMap);
    ASSERT_GE(pages.size(), (kPage + 1) * kLightMapSize);
    EXPECT_TRUE(std::equal(map.begin(), map.end(), pages.begin() + kPage * kLightMapSize));
    EXPECT_EQ(LightMapNibble(map, maps.Led(0)), 3);
    EXPECT_EQ(LightMapNibble(map, maps.Led(21)), 2);

    LiveFrame frame;
    BuildLiveFrame(keys, maps, frame);
    ASSERT_EQ(ch_.StreamKeyColours(frame.data(), kLiveFrameSize), 1);
    const std::vector<uint8_t> colours = kb_->ReadArea(sim::Area::kColours);
    ASSERT_EQ(colours.size(), static_cast<size_t>(kLiveFrameSize));
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), colours.begin()));
    EXPECT_EQ(colours[maps.Led(0) * 3 + 2], 254);
}

// A key pressed on the keyboard reaches the reactive preview as the listener hands it over: the
// event code from the event collection, its device key number through the maps.
TEST_P(SimulatedKeyboard, AKeyPressLightsThatKeyInTheReactivePreview) {
    const KeyboardKeyMaps maps = ReadMaps();
    hid::HidDevice events;
    const std::string path = CollectionPath(productId(), kEventUsagePage);
    ASSERT_TRUE(!path.empty() && events.Open(path, true, false, true, false));
    LightingPreview leds;
    leds.SetLedCount(kProgramKeyCount);
    KeyboardPreview preview(leds);
    preview.SetUp(6);

    // Hand one event from the keyboard to the preview, as the listener and the model do.
    auto deliver = [&] {
        std::vector<uint8_t> report(events.InputReportLength());
        uint32_t n = 0;
        ASSERT_TRUE(events.Read(report.data(), static_cast<uint32_t>(report.size()), &n, 2000));
        const uint16_t code = static_cast<uint16_t>(report[1] | (report[2] << 8));
        const ListenerAction action = ClassifyListenerCode(1, code, !GetParam());
        ASSERT_EQ(action.kind, ListenerAction::kKeyEvent);
        preview.PushDeviceKeyEvent(maps, code & 0xFF, (code >> 8) == 0x05 ? 1 : 2);
    };
    constexpr int kA = 64;  // program key "A"
    const uint8_t deviceKey = maps.DevicePosition(kA);
    ASSERT_NE(deviceKey, kUnmapped);
    ASSERT_TRUE(kb_->Press(deviceKey));
    deliver();
    PreviewParams p;
    p.brightness = 4;
    p.colour = {0, 0, 255};
    ASSERT_TRUE(preview.Step(6, p, 0, 0));
    EXPECT_GT(leds.Led(kA)->brightness, 0);
    EXPECT_EQ(leds.Led(kA + 1)->brightness, 0);

    // A device key no program key has (beyond the keyboard's 127) lights nothing.
    preview.SetUp(6);
    ASSERT_TRUE(kb_->Release(0x90));
    deliver();
    ASSERT_TRUE(preview.Step(6, p, 0, 8));
    for (int k = 0; k < kProgramKeyCount; ++k) EXPECT_EQ(leds.Led(k)->brightness, 0) << k;
}

INSTANTIATE_TEST_SUITE_P(CabledAndThroughTheReceiver, SimulatedKeyboard, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Receiver" : "Cable"; });

}  // namespace
}  // namespace device::keyboard
