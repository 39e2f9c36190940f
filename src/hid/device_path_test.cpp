#include "hid/device_path.h"

#include <gtest/gtest.h>

namespace hid {
namespace {

TEST(DevicePath, ParsesIdentityNumbers) {
    struct Case {
        const char* path;
        uint16_t vid, pid, mi, col;
    };
    constexpr Case kCases[] = {
        {"\\\\?\\hid#vid_320f&pid_22ab&mi_01&col04#7&1a2b&0&0003#{4d1e55b2-f16f-11cf-88cb-"
         "001111000030}",
         0x320F, 0x22AB, 1, 4},
        {"\\\\?\\HID#VID_0C76&PID_1630&MI_03#8&2f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
         0x0C76, 0x1630, 3, 0},
        {"\\\\?\\hid#vid_320F&Pid_22aA&Mi_1f&CoL0a#x", 0x320F, 0x22AA, 0x1F, 0x0A},
        {"no keys at all", 0, 0, 0, 0},
        {"vid_&pid_zz&mi_&col", 0, 0, 0, 0},                          // keys without digits
        {"vid_12345&pid_0x1a&mi_ 2&col-1", 0x2345, 0x1A, 2, 0xFFFF},  // low 16 bits; %x forms
        {"vid_ffffffffff&pid_1", 0xFFFF, 1, 0, 0},  // saturates like the C conversion
        {"mi_01&col02", 0, 0, 0, 2},                // "&mi_" needs its ampersand
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ParseVendorId(c.path), c.vid);
        EXPECT_EQ(ParseProductId(c.path), c.pid);
        EXPECT_EQ(ParseInterfaceNumber(c.path), c.mi);
        EXPECT_EQ(ParseCollectionNumber(c.path), c.col);
    }
}

TEST(DevicePath, NormalisesTheStart) {
    struct Case {
        const char* in;
        const char* out;
    };
    constexpr Case kCases[] = {
        {"\\?\\hid#vid_320f", "\\\\?\\hid#vid_320f"},    // one backslash: one more in front
        {"\\\\?\\hid#vid_320f", "\\\\?\\hid#vid_320f"},  // already right
        {"x\\?\\hid#vid_320f", "\\\\?\\hid#vid_320f"},   // first character forced
        {"hid#vid_320f", "hid#vid_320f"},                // kept
        {"ab\\?\\hid", "ab\\?\\hid"},                    // "\?" further in: kept
        {"", ""},
    };
    for (const Case& c : kCases) EXPECT_EQ(NormalizeDevicePath(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace hid
