#include "os/linux_key_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace os {
namespace {

TEST(LinuxKeyCodesTest, ScanCodesAreUniqueAndUnknownKeysHaveNone) {
    std::set<std::pair<uint8_t, bool>> seen;
    for (const LinuxKeyScanCode& entry : LinuxKeyScanCodeTable) {
        EXPECT_TRUE(seen.insert({entry.scan_code, entry.extended}).second) << entry.linux_key;
        EXPECT_EQ(ScanCodeForLinuxKey(entry.linux_key),
                  (ScanCode{entry.scan_code, entry.extended}));
    }
    EXPECT_EQ(ScanCodeForLinuxKey(KEY_RESERVED), std::nullopt);
    EXPECT_EQ(ScanCodeForLinuxKey(KEY_MACRO), std::nullopt);
    EXPECT_EQ(ScanCodeForLinuxKey(-1), std::nullopt);
    EXPECT_EQ(ScanCodeForLinuxKey(KEY_MAX), std::nullopt);
    // Media keys carry their E0-prefixed scan codes, though key capture has no entry for them.
    EXPECT_EQ(ScanCodeForLinuxKey(KEY_VOLUMEUP), (ScanCode{0x30, true}));
    EXPECT_EQ(ScanCodeForLinuxKey(KEY_PLAYPAUSE), (ScanCode{0x22, true}));
}

TEST(LinuxKeyCodesTest, X11KeycodesAreLinuxKeysPlusEight) {
    // X11 key code 38 is the A key, 108 right Alt, 127 Pause under the evdev keymap.
    EXPECT_EQ(ScanCodeForLinuxKey(38 - kX11KeycodeOffset), (ScanCode{0x1E, false}));
    EXPECT_EQ(ScanCodeForLinuxKey(108 - kX11KeycodeOffset), (ScanCode{0x38, true}));
    EXPECT_EQ(ScanCodeForLinuxKey(127 - kX11KeycodeOffset), (ScanCode{0x45, false}));
}

}  // namespace
}  // namespace os
