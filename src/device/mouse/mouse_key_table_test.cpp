#include "device/mouse/mouse_key_table.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "device/testing/simulated_channel.h"
#include "sim/firmware.h"
#include "sim/simulated_device.h"

namespace device::mouse {
namespace {

using keys::AssignmentCode;
using profile::KeyAssignmentPair;

constexpr uint8_t kMacroMode = keys::assignment_type::kMacroMode;
constexpr uint8_t kMacroRepeat = keys::assignment_type::kMacroRepeat;

// The profile's key list: every button at its factory entry, with changes.
std::vector<KeyAssignmentPair> FactoryKeys() {
    std::vector<KeyAssignmentPair> list;
    for (size_t i = 0; i < kButtonCount; ++i) {
        const uint16_t at = static_cast<uint16_t>(i);
        list.push_back(
            {{at, kProgramButtons[i].defaultEntry}, {at, kProgramButtons[i].defaultEntry}});
    }
    return list;
}

// A key table of 13 keys in another order than the buttons', without the fire key.
constexpr std::array<uint8_t, 39> kShuffledTable = {
    0x20, 0x00, 0x04,  // key 0: a keyboard key
    0x10, 0x02, 0x00,  // key 1: right
    0x10, 0x01, 0x00,  // key 2: left
    0x10, 0x04, 0x00,  // key 3: middle
    0x10, 0x01, 0x00,  // key 4: left again (the first one counts)
    0x13, 0x03, 0x00,  // key 5: DPI cycle
    0x13, 0x01, 0x00,  // key 6: DPI up
    0x13, 0x02, 0x00,  // key 7: DPI down
    0x10, 0x08, 0x00,  // key 8: back
    0x10, 0x10, 0x00,  // key 9: forward
    0xA0, 0x1B, 0x00,  // key 10: game mode
    0x16, 0x90, 0x01,  // key 11: DPI shift
    0x14, 0x78, 0x02,  // key 12: fire key, beyond the key count given below
};

TEST(MouseKeyTable, ButtonsAreFoundByTheirFactoryEntries) {
    const ButtonMap map = BuildButtonMap(kShuffledTable, 12);
    constexpr ButtonMap kWant = {2, 1, 3, 9, 8, 6, 7, 5, 10, 11, kButtonAbsent};
    EXPECT_EQ(map, kWant);
    // A key count beyond the table reads only what is there.
    EXPECT_EQ(BuildButtonMap(std::span(kShuffledTable).first(6), 50)[1], 1);
    EXPECT_EQ(BuildButtonMap({}, 11)[0], kButtonAbsent);
}

TEST(MouseKeyTable, MacrosTakeDeviceSlotsInTheOrderButtonsFirstNameThem) {
    const ButtonMap map = BuildButtonMap(kShuffledTable, 12);
    std::vector<KeyAssignmentPair> keys = FactoryKeys();
    keys[1].current.code = {kMacroMode, 2, 1};    // right: macro 2, play mode 1
    keys[3].current.code = {kMacroRepeat, 0, 5};  // forward: macro 0, five times
    keys[4].current.code = {kMacroMode, 2, 0};    // back: macro 2 again
    keys[6].current.code = {kMacroMode, 5, 0};    // DPI down: macro 5 of 3
    keys[10].current.code = {kMacroMode, 1, 0};   // fire key: not on this mouse
    std::vector<std::string> notes;
    const KeyTableWrite w = BuildKeyTable(kShuffledTable, map, keys, 3, &notes);

    EXPECT_EQ(w.macroSlots, (std::vector<int>{2, 0}));
    std::array<uint8_t, 39> want = kShuffledTable;
    want[1 * 3 + 0] = kMacroMode;  // right (key 1): slot 0
    want[1 * 3 + 1] = 0;
    want[1 * 3 + 2] = 1;
    want[9 * 3 + 0] = kMacroRepeat;  // forward (key 9): slot 1
    want[9 * 3 + 1] = 1;
    want[9 * 3 + 2] = 5;
    want[8 * 3 + 0] = kMacroMode;  // back (key 8): slot 0, shared
    want[8 * 3 + 1] = 0;
    want[8 * 3 + 2] = 0;
    // DPI down (key 7) keeps its default; the fire key's entry (key 12) is untouched.
    EXPECT_EQ(w.table, std::vector<uint8_t>(want.begin(), want.end()));
    EXPECT_EQ(notes.size(), 1u);
}

TEST(MouseKeyTable, AMissingMacroWithoutADefaultGetsTheFactoryEntry) {
    const ButtonMap map = BuildButtonMap(kShuffledTable, 12);
    std::vector<KeyAssignmentPair> keys = FactoryKeys();
    keys[0].current.code = {kMacroMode, 0, 0};
    keys[0].defaultAssignment.code = {};
    const KeyTableWrite w = BuildKeyTable(kShuffledTable, map, keys, 0);
    EXPECT_TRUE(w.macroSlots.empty());
    EXPECT_EQ((std::array{w.table[6], w.table[7], w.table[8]}),
              (std::array<uint8_t, 3>{0x10, 0x01, 0x00}));
}

TEST(MouseKeyTable, AShortKeyListChangesOnlyTheButtonsItHas) {
    const ButtonMap map = BuildButtonMap(kShuffledTable, 12);
    std::vector<KeyAssignmentPair> keys = FactoryKeys();
    keys.resize(2);
    keys[0].current.code = {0x20, 0x00, 0x05};
    std::vector<std::string> notes;
    const KeyTableWrite w = BuildKeyTable(kShuffledTable, map, keys, 0, &notes);
    std::array<uint8_t, 39> want = kShuffledTable;
    want[2 * 3 + 0] = 0x20;
    want[2 * 3 + 1] = 0x00;
    want[2 * 3 + 2] = 0x05;
    EXPECT_EQ(w.table, std::vector<uint8_t>(want.begin(), want.end()));
    EXPECT_EQ(notes.size(), 8u);  // buttons 2..9 are placed but have no assignment
}

class MouseKeysOnTheBus : public device::testing::SimulatedChannel {};

TEST_F(MouseKeysOnTheBus, TheWrittenTableIsTheOneTheMouseKeeps) {
    auto mouse = std::make_shared<sim::Firmware>(sim::Kind::kMouse);
    sim::SimulatedDevice cable(mouse);
    ASSERT_TRUE(cable.Plug());
    DeviceChannel ch;
    ASSERT_TRUE(Open(ch, kMouseProductId, false));
    DeviceInfoBlock info;
    ASSERT_EQ(ch.ReadDeviceInfo(info.bytes.data()), kResultOk);
    ASSERT_EQ(ch.SetBlockSize(static_cast<uint16_t>(info.keyCount() * 3)), 1);
    std::vector<uint8_t> table(ch.blockSize());
    ASSERT_EQ(ch.ReadKeyTable(table.data()), kResultOk);

    const ButtonMap map = BuildButtonMap(table, info.keyCount());
    for (size_t b = 0; b < kButtonCount; ++b) EXPECT_EQ(map[b], b);
    std::vector<KeyAssignmentPair> keys = FactoryKeys();
    keys[4].current.code = {kMacroMode, 7, 2};
    keys[2].current.code = {0x20, 0x02, 0x04};  // middle: Shift+A
    const KeyTableWrite w = BuildKeyTable(table, map, keys, 8);
    ASSERT_EQ(ch.WriteKeyTable(w.table.data(), 0), kResultOk);

    const std::vector<uint8_t> stored = mouse->ReadArea(sim::Area::kKeys);
    constexpr std::array<uint8_t, 15> kFirstFive = {
        0x10, 0x01, 0x00,  // left
        0x10, 0x02, 0x00,  // right
        0x20, 0x02, 0x04,  // middle: Shift+A
        0x10, 0x10, 0x00,  // forward
        0x70, 0x00, 0x02,  // back: macro slot 0, play mode 2
    };
    EXPECT_TRUE(std::equal(kFirstFive.begin(), kFirstFive.end(), stored.begin()));
    EXPECT_TRUE(std::equal(w.table.begin(), w.table.end(), stored.begin()));
    EXPECT_EQ(w.macroSlots, std::vector<int>{7});
}

}  // namespace
}  // namespace device::mouse
