#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace os::hid {

// One hidraw node as udev lists it, whatever the program's access to it. For diagnostics: the
// backend itself leaves out what it cannot open or parse.
struct HidrawNode {
    std::string devnode;    // "/dev/hidraw3"
    uint16_t vendorId = 0;  // from the HID device's HID_ID
    uint16_t productId = 0;
    int interfaceNumber = -1;  // the USB interface; -1 when the node is not on USB
    bool uaccess = false;      // udev tagged the node "uaccess" (access for the seat's user)
};

// Every hidraw node udev knows, in udev's order. Empty when there is none or udev is absent.
std::vector<HidrawNode> ListHidrawNodes();

}  // namespace os::hid
