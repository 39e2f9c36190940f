#pragma once

#include <array>
#include <cstdint>

#include "hid/device_identity.h"

namespace hid {

// Device kinds.
inline constexpr uint16_t kKindKeyboard = 1;
inline constexpr uint16_t kKindMouse = 2;
inline constexpr uint16_t kKindMousePad = 3;
inline constexpr uint16_t kKindReceiverMouse = 6;
inline constexpr uint16_t kKindHeadset = 7;
inline constexpr uint16_t kKindReceiverKeyboard = 9;
inline constexpr uint16_t kKindReceiver = 10;

// One expected HID interface of a supported device: a catalogue row.
struct SupportedDevice {
    uint16_t vendorId;
    uint16_t productId;
    uint16_t interfaceNumber;
    uint16_t collectionNumber;
    uint16_t kind;
    uint16_t role;
    uint16_t usagePage;
    uint16_t usage;
    uint16_t linked;
    uint16_t linkA;  // partner row on the keyboard side
    uint16_t linkB;  // partner row on the mouse side

    DeviceIdentity ToIdentity() const {
        DeviceIdentity d;
        d.vendorId = vendorId;
        d.productId = productId;
        d.interfaceNumber = interfaceNumber;
        d.collectionNumber = collectionNumber;
        d.kind = kind;
        d.role = role;
        d.usagePage = usagePage;
        d.usage = usage;
        d.linked = linked;
        d.linkA = linkA;
        d.linkB = linkB;
        return d;
    }
};

// Every interface the program looks for. Each keyboard, mouse, mouse pad and receiver has its
// vendor command interface (role 0) and its consumer-control event interface (role 0xFF); the
// headset has its consumer-control interface only. Rows with product id 0 never match a scanned
// interface: they stand for the keyboard (rows 2, 3) and the mouse (rows 8, 9) reached through
// the receiver (rows 4, 5). The links pair rows both ways: the receiver rows name the wired
// keyboard rows with linkA and the wired mouse rows with linkB, and back.
inline constexpr std::array<SupportedDevice, 13> kSupportedDevices = {{
    // vid    pid     mi col kind role   page    usage linked linkA linkB
    {0x320F, 0x22AB, 1, 4, 1, 0x00, 0xFF1C, 0x92, 1, 4, 0},   // 0 keyboard, command
    {0x320F, 0x22AB, 1, 3, 1, 0xFF, 0x000C, 0x01, 1, 5, 0},   // 1 keyboard, events
    {0x320F, 0x0000, 1, 4, 9, 0x00, 0xFF1C, 0x92, 1, 0, 0},   // 2 keyboard via receiver
    {0x320F, 0x0000, 1, 3, 9, 0xFF, 0x000C, 0x01, 1, 1, 0},   // 3 keyboard via receiver, events
    {0x320F, 0x22AA, 1, 4, 10, 0x00, 0xFF1C, 0x92, 1, 0, 6},  // 4 receiver, command
    {0x320F, 0x22AA, 1, 3, 10, 0xFF, 0x000C, 0x01, 1, 1, 7},  // 5 receiver, events
    {0x320F, 0x22A9, 1, 2, 2, 0x00, 0xFF1C, 0x92, 1, 0, 4},   // 6 mouse, command
    {0x320F, 0x22A9, 0, 3, 2, 0xFF, 0x000C, 0x01, 1, 0, 5},   // 7 mouse, events
    {0x320F, 0x0000, 1, 4, 6, 0x00, 0xFF1C, 0x92, 1, 0, 6},   // 8 mouse via receiver
    {0x320F, 0x0000, 1, 3, 6, 0xFF, 0x000C, 0x01, 1, 0, 7},   // 9 mouse via receiver, events
    {0x320F, 0x1004, 1, 4, 3, 0x00, 0xFF1C, 0x92, 0, 0, 0},   // 10 mouse pad, command
    {0x320F, 0x1004, 1, 3, 3, 0xFF, 0x000C, 0x01, 0, 0, 0},   // 11 mouse pad, events
    {0x0C76, 0x1630, 3, 0, 7, 0x00, 0x000C, 0x01, 0, 0, 0},   // 12 headset
}};

}  // namespace hid
