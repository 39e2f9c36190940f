#pragma once

#include <cstdint>
#include <optional>

namespace keys {

// Assignment type bytes: what a key or button does when pressed. The two code bytes that follow
// the type mean different things per type (see the comments).
namespace assignment_type {
inline constexpr uint8_t kNone = 0x00;          // 0, 0
inline constexpr uint8_t kMouseButton = 0x10;   // button bit, 0
inline constexpr uint8_t kSwing = 0x11;         // delay << 4 | speed, right bit 7 | count
inline constexpr uint8_t kWheel = 0x12;         // delay << 4 | speed, signed count (+ up)
inline constexpr uint8_t kDpiFunction = 0x13;   // 1 up, 2 down, 3 cycle; 0
inline constexpr uint8_t kFireKey = 0x14;       // interval (at least 10), count
inline constexpr uint8_t kType15 = 0x15;        // firmware-defined; listed as 0, 0, never labelled
inline constexpr uint8_t kDpiShift = 0x16;      // bytes from the device's default table
inline constexpr uint8_t kKeyboardKey = 0x20;   // modifier bits, HID keyboard usage
inline constexpr uint8_t kEditFunction = 0x22;  // 0, edit function number 0..8
inline constexpr uint8_t kShowWindow = 0x23;    // 0, 0
inline constexpr uint8_t kConsumer = 0x30;      // consumer usage, low byte then high byte
inline constexpr uint8_t kSystem = 0x40;        // 1 power down, 2 sleep, 4 wake up; 0
inline constexpr uint8_t kMacroMode = 0x70;     // macro list position, play mode 0..3
inline constexpr uint8_t kMacroRepeat = 0x71;   // macro list position, repeat count
inline constexpr uint8_t kShootPreset = 0x72;   // preset 0..3, 0
inline constexpr uint8_t kDeviceFunction = 0xA0;  // firmware-defined
inline constexpr uint8_t kShortcutPage = 0xB0;    // firmware-defined
inline constexpr uint8_t kDeviceKeyCode = 0xD0;   // 0xA2, device key number 1..5
}  // namespace assignment_type

// Modifier bits of a keyboard-key assignment's first code byte.
namespace modifier_bit {
inline constexpr uint8_t kLeftCtrl = 0x01;
inline constexpr uint8_t kLeftShift = 0x02;
inline constexpr uint8_t kLeftAlt = 0x04;
inline constexpr uint8_t kLeftWin = 0x08;
inline constexpr uint8_t kRightCtrl = 0x10;
inline constexpr uint8_t kRightShift = 0x20;
inline constexpr uint8_t kRightAlt = 0x40;
inline constexpr uint8_t kRightWin = 0x80;
}  // namespace modifier_bit

// What a key or button does: the three bytes the device's key table holds per key, in this order.
struct AssignmentCode {
    uint8_t type = 0;
    uint8_t first = 0;
    uint8_t second = 0;

    constexpr bool operator==(const AssignmentCode&) const = default;

    // Profile files hold the code as one integer: type * 65536 + first * 256 + second.
    constexpr uint32_t ToStoredValue() const {
        return uint32_t{type} << 16 | uint32_t{first} << 8 | second;
    }

    // A stored value outside 0..0xFFFFFF comes from a damaged or foreign file and is no code.
    static constexpr std::optional<AssignmentCode> FromStoredValue(int64_t value) {
        if (value < 0 || value > 0xFFFFFF) return std::nullopt;
        return AssignmentCode{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value)};
    }
};

// Swing and wheel share the first byte: delay in the high nibble, speed in the low one.
constexpr uint8_t RepeatTiming(int delay, int speed) {
    return static_cast<uint8_t>((delay & 0x0F) << 4 | (speed & 0x0F));
}

// Horizontal swing: bit 7 of the second byte is the direction (set = right), bits 0..6 the count.
constexpr AssignmentCode SwingCode(int delay, int speed, bool right, int count) {
    const uint8_t second = static_cast<uint8_t>((count & 0x7F) | (right ? 0x80 : 0));
    return {assignment_type::kSwing, RepeatTiming(delay, speed), second};
}

// Wheel: the second byte is the count as a signed byte, positive up and negative down, so a wheel
// down by n is stored as (128 - n) | 0x80, the two's complement of -n.
constexpr AssignmentCode WheelCode(int delay, int speed, bool down, int count) {
    const uint8_t second = static_cast<uint8_t>(down ? ((128 - count) | 0x80) : (count & 0x7F));
    return {assignment_type::kWheel, RepeatTiming(delay, speed), second};
}

// The repeat count of a swing (bits 0..6) or of a wheel (magnitude of the signed byte).
constexpr int RepeatCount(AssignmentCode code) {
    if (code.type == assignment_type::kWheel && (code.second & 0x80) != 0)
        return 128 - (code.second & 0x7F);
    return code.second & 0x7F;
}

}  // namespace keys
