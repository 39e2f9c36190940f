#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace app {

// One device kind of the device bar: the item and its tab group, the power switch, the data
// folder name, the light variant, and the catalogue identity a slot must have to get this page.
struct DeviceDescriptor {
    std::string_view itemXml;
    std::string_view tabGroup;
    std::string_view powerSwitch;
    std::string_view typeName;  // the device's data-folder name
    int lightVariant;
    uint16_t vendorId;
    uint16_t productId;
    uint16_t kind;
    uint16_t role;
};

// The page of one device kind, in the same order as the descriptors.
struct DevicePageDescriptor {
    int ledCount;
    int keyCount;
    int batteryCapable;
    std::string_view pageXml;
    std::string_view lightControlName;
};

inline constexpr std::string_view kPowerIndicatorXml = "XML\\CustomControlXML\\MpDevicePower.xml";
// The brand on every item's name label.
inline constexpr std::string_view kDeviceBrandName = "TILMO";

// clang-format off
inline constexpr std::array<DeviceDescriptor, 4> kDeviceDescriptors = {{
    // item XML                                   tab group          power switch          type name  light vid     pid     kind role
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "keyboard", 0, 0x320F, 0x22AB, 1, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "mouse",    1, 0x320F, 0x22A9, 2, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "MousePad", 2, 0x320F, 0x1004, 3, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "HD",       3, 0x0C76, 0x1630, 7, 0},
}};

inline constexpr std::array<DevicePageDescriptor, 4> kDevicePageDescriptors = {{
    // LEDs keys battery page XML                                   light control
    {170, 170, 1, "XML\\DeviceXml\\keyboarddevice_7322.xml", "tilmo_light"},
    {15,  11,  1, "XML\\DeviceXml\\mousedevice.xml",         "tilmo_light"},
    {15,  0,   0, "XML\\DeviceXml\\mousepaddevice.xml",      "tilmo_light"},
    {13,  0,   0, "XML\\DeviceXml\\de6533device.xml",        "tilmo_light"},
}};
// clang-format on

// The device-bar picture prefix of a kind (and, for the mouse pad, its sub-kind): "kb", "ms",
// "hard_mp", "soft_mp", "hd", "hub" or "unknow". A mouse pad of another sub-kind has none (empty):
// its item keeps the pictures it has.
constexpr std::string_view DevicePicturePrefix(int kind, int subKind) {
    switch (kind) {
        case 1:
            return "kb";
        case 2:
            return "ms";
        case 3:
            return subKind == 0 ? "hard_mp" : subKind == 1 ? "soft_mp" : "";
        case 4:
        case 7:
            return "hd";
        case 5:
            return "hub";
        default:
            return "unknow";
    }
}

}  // namespace app
