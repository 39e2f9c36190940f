#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

// Report descriptors shaped like those of the system's devices, for tests and benchmarks of the
// HID layer and of what is built on it.
namespace os::hid::samples {

// One vendor collection (usage page 0xFF00, usage 1) with 64-byte command and response
// reports: report id 4 and 63 data bytes each way.
inline constexpr uint8_t kVendorCommand[] = {
    0x06, 0x00, 0xFF,  // Usage Page (0xFF00, vendor)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x3F,        //   Report Count (63)
    0x09, 0x02,        //   Usage (2)
    0x81, 0x02,        //   Input (Data, Variable, Absolute): response, bytes 1..63
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output (Data, Variable, Absolute): command, bytes 1..63
    0xC0,              // End Collection
};

// Four top-level collections on one interface, so four paths &col01..&col04:
//  1. keyboard, report id 1: input  [id][modifier bits E0..E7][reserved][6 key indexes]
//                            output [id][LED bits 1..5, 3 padding bits]
//  2. consumer control, report id 3: input [id][16-bit usage index 0..0x2FF]
//  3. vendor, report id 4: 64-byte input and output as kVendorCommand
//  4. mouse, report id 2: input [id][buttons 1..8][buttons 9..16][X lo][X hi][Y lo][Y hi][wheel]
//     X and Y logical -32767..32767; wheel logical -127..127, physical -1270..1270
inline constexpr uint8_t kKeyboardCollection[] = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x85, 0x01,  //   Report ID (1)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0xE0,  //   Usage Minimum (0xE0)
    0x29, 0xE7,  //   Usage Maximum (0xE7)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Variable, Absolute): modifiers
    0x75, 0x08,  //   Report Size (8)
    0x95, 0x01,  //   Report Count (1)
    0x81, 0x01,  //   Input (Constant): reserved byte
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (1)
    0x29, 0x05,  //   Usage Maximum (5)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x05,  //   Report Count (5)
    0x91, 0x02,  //   Output (Data, Variable, Absolute): LEDs
    0x75, 0x03,  //   Report Size (3)
    0x95, 0x01,  //   Report Count (1)
    0x91, 0x01,  //   Output (Constant): padding
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (0x65)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (0x65)
    0x75, 0x08,  //   Report Size (8)
    0x95, 0x06,  //   Report Count (6)
    0x81, 0x00,  //   Input (Data, Array): key indexes
    0xC0,        // End Collection
};

inline constexpr uint8_t kConsumerCollection[] = {
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x02,  //   Usage Maximum (0x2FF)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x02,  //   Logical Maximum (0x2FF)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x01,        //   Report Count (1)
    0x81, 0x00,        //   Input (Data, Array)
    0xC0,              // End Collection
};

inline constexpr uint8_t kMouseCollection[] = {
    0x05, 0x01,        // Usage Page (Generic Desktop)
    0x09, 0x02,        // Usage (Mouse)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x02,        //   Report ID (2)
    0x09, 0x01,        //   Usage (Pointer)
    0xA1, 0x00,        //   Collection (Physical)
    0x05, 0x09,        //     Usage Page (Button)
    0x19, 0x01,        //     Usage Minimum (1)
    0x29, 0x08,        //     Usage Maximum (8)
    0x15, 0x00,        //     Logical Minimum (0)
    0x25, 0x01,        //     Logical Maximum (1)
    0x75, 0x01,        //     Report Size (1)
    0x95, 0x08,        //     Report Count (8)
    0x81, 0x02,        //     Input (Data, Variable, Absolute): buttons 1..8
    0x19, 0x09,        //     Usage Minimum (9)
    0x29, 0x10,        //     Usage Maximum (16)
    0x81, 0x02,        //     Input (Data, Variable, Absolute): buttons 9..16
    0x05, 0x01,        //     Usage Page (Generic Desktop)
    0x09, 0x30,        //     Usage (X)
    0x09, 0x31,        //     Usage (Y)
    0x16, 0x01, 0x80,  //     Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,  //     Logical Maximum (32767)
    0x75, 0x10,        //     Report Size (16)
    0x95, 0x02,        //     Report Count (2)
    0x81, 0x06,        //     Input (Data, Variable, Relative)
    0x09, 0x38,        //     Usage (Wheel)
    0x15, 0x81,        //     Logical Minimum (-127)
    0x25, 0x7F,        //     Logical Maximum (127)
    0x36, 0x0A, 0xFB,  //     Physical Minimum (-1270)
    0x46, 0xF6, 0x04,  //     Physical Maximum (1270)
    0x75, 0x08,        //     Report Size (8)
    0x95, 0x01,        //     Report Count (1)
    0x81, 0x06,        //     Input (Data, Variable, Relative)
    0xC0,              //   End Collection
    0xC0,              // End Collection
};

template <size_t... N>
constexpr std::array<uint8_t, (N + ...)> Concatenate(const uint8_t (&... parts)[N]) {
    std::array<uint8_t, (N + ...)> out{};
    size_t at = 0;
    ((std::copy(parts, parts + N, out.begin() + at), at += N), ...);
    return out;
}

inline constexpr auto kCompositeKeyboard =
    Concatenate(kKeyboardCollection, kConsumerCollection, kVendorCommand, kMouseCollection);

}  // namespace os::hid::samples
