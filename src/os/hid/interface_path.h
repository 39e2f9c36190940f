#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace os::hid {

// The class GUID of HID interfaces, as the last part of every interface path.
inline constexpr std::string_view kHidInterfaceGuid = "{4d1e55b2-f16f-11cf-88cb-001111000030}";

// The parts of an interface path
//   \\?\hid#vid_320f&pid_22ab&mi_01&col04#<node>#{4d1e55b2-f16f-11cf-88cb-001111000030}
// "&mi_XX" (two hex digits) is there when the interface is one of a USB device, "&colYY" when
// the interface has more than one top-level collection (numbered from 01 in descriptor order).
// The node names the backend's device: "hidraw5" for /dev/hidraw5, "virtual&0007" for the
// virtual bus's interface 7. Hex digits are lower case; the node never contains '#'.
struct InterfacePath {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int interfaceNumber = -1;  // -1: no "&mi_"
    int collection = 0;        // 0: no "&col"
    std::string node;
};

std::string FormatInterfacePath(const InterfacePath& parts);

// Strict reading of a path of the form above (upper or lower case). False when it is not one.
bool SplitInterfacePath(std::string_view path, InterfacePath* parts);

}  // namespace os::hid
