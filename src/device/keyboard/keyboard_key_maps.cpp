#include "device/keyboard/keyboard_key_maps.h"

#include "keys/assignment_tables.h"

namespace device::keyboard {

int KeyboardKeyMaps::ProgramKeyAt(int devicePosition) const {
    if (devicePosition < 0 || devicePosition >= kUnmapped) return -1;
    for (int i = 0; i < kProgramKeyCount; ++i)
        if (keyToDevice[i] == devicePosition) return i;
    return -1;
}

uint8_t KeyboardKeyMaps::DevicePosition(int programKey) const {
    return programKey >= 0 && programKey < kProgramKeyCount ? keyToDevice[programKey] : kUnmapped;
}

uint8_t KeyboardKeyMaps::Led(int programKey) const {
    return programKey >= 0 && programKey < kProgramKeyCount ? keyToLed[programKey] : kUnmapped;
}

KeyboardKeyMaps BuildKeyMaps(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledTable,
                             std::span<const keys::AssignmentCode, kProgramKeyCount> defaults) {
    KeyboardKeyMaps maps;
    // Positions are bytes: 255 is the "none" mark, so a table never counts more than 255 keys.
    const size_t deviceKeys = std::min<size_t>(keyTable.size() / 3, kUnmapped);
    std::array<bool, kUnmapped> taken{};
    for (int i = 0; i < kProgramKeyCount; ++i) {
        const keys::AssignmentCode& want = defaults[i];
        for (size_t k = 0; k < deviceKeys; ++k) {
            if (taken[k] || keyTable[k * 3] != want.type || keyTable[k * 3 + 1] != want.first ||
                keyTable[k * 3 + 2] != want.second)
                continue;
            taken[k] = true;
            maps.keyToDevice[i] = static_cast<uint8_t>(k);
            if (k < ledTable.size() && ledTable[k] < kLedCount) maps.keyToLed[i] = ledTable[k];
            break;
        }
    }
    return maps;
}

KeyboardKeyMaps BuildKeyMaps(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledTable) {
    return BuildKeyMaps(keyTable, ledTable, keys::ProgramKeyTable);
}

}  // namespace device::keyboard
