#include "device/mouse/mouse_key_table.h"

#include <algorithm>

#include "device/mouse/mouse_log.h"

namespace device::mouse {

namespace {

bool IsMacro(const keys::AssignmentCode& code) {
    return code.type == keys::assignment_type::kMacroMode ||
           code.type == keys::assignment_type::kMacroRepeat;
}

}  // namespace

ButtonMap BuildButtonMap(std::span<const uint8_t> table, int keyCount) {
    ButtonMap map;
    map.fill(kButtonAbsent);
    const size_t keys =
        std::min<size_t>(static_cast<size_t>(std::max(keyCount, 0)), table.size() / 3);
    for (size_t b = 0; b < kButtonCount; ++b) {
        const keys::AssignmentCode& want = kProgramButtons[b].defaultEntry;
        for (size_t k = 0; k < keys && k < kButtonAbsent; ++k) {
            if (table[k * 3] == want.type && table[k * 3 + 1] == want.first &&
                table[k * 3 + 2] == want.second) {
                map[b] = static_cast<uint8_t>(k);
                break;
            }
        }
    }
    return map;
}

KeyTableWrite BuildKeyTable(std::span<const uint8_t> deviceTable, const ButtonMap& map,
                            const std::vector<profile::KeyAssignmentPair>& keys, int macroCount,
                            std::vector<std::string>* notes) {
    KeyTableWrite out;
    out.table.assign(deviceTable.begin(), deviceTable.end());
    for (size_t b = 0; b < kButtonCount; ++b) {
        const size_t index = map[b];
        if (index == kButtonAbsent) continue;
        if (b >= keys.size()) {
            LogMouseProblem(notes, "the profile has no assignment for " +
                                       std::string(kProgramButtons[b].pageName));
            continue;
        }
        if (index * 3 + 3 > out.table.size()) {
            LogMouseProblem(notes, std::string(kProgramButtons[b].pageName) + " sits at key " +
                                       std::to_string(index) + ", beyond the key table");
            continue;
        }
        keys::AssignmentCode code = keys[b].current.code;
        if (IsMacro(code)) {
            if (code.first < macroCount) {
                auto slot = std::find(out.macroSlots.begin(), out.macroSlots.end(), code.first);
                if (slot == out.macroSlots.end())
                    slot = out.macroSlots.insert(out.macroSlots.end(), code.first);
                code.first = static_cast<uint8_t>(slot - out.macroSlots.begin());
            } else {
                LogMouseProblem(notes, std::string(kProgramButtons[b].pageName) + " names macro " +
                                           std::to_string(code.first) + " of " +
                                           std::to_string(macroCount) +
                                           "; its factory entry is written");
                code = keys[b].defaultAssignment.code;
                // A profile without the default leaves the button its factory entry rather than
                // nothing at all.
                if (code == keys::AssignmentCode{}) code = kProgramButtons[b].defaultEntry;
            }
        }
        out.table[index * 3] = code.type;
        out.table[index * 3 + 1] = code.first;
        out.table[index * 3 + 2] = code.second;
    }
    return out;
}

}  // namespace device::mouse
