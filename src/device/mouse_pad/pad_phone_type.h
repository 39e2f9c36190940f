#pragma once

// The phone a mouse pad reports as paired (byte 5 of its power status), as the power display
// shows it: a tooltip key and a picture.

#include <array>
#include <cstdint>
#include <string_view>

#include "device/command_frame.h"

namespace device {

struct PhonePicture {
    std::string_view tooltip;  // language key
    std::string_view image;    // image string of "device_phone_type"
};

// Phone types 1 iPhone, 2 Samsung, 3 other; entry 0 is every other value (no phone).
inline constexpr std::array<PhonePicture, 4> kPadPhonePictures = {{
    {"Phone_type_no_device", "file='power/Phone_type_no_device.png'"},
    {"Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
    {"Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
    {"Phone_type_other", "file='power/Phone_type_other.png'"},
}};

constexpr const PhonePicture& PadPhonePicture(uint8_t phoneType) {
    return kPadPhonePictures[phoneType < kPadPhonePictures.size() ? phoneType : 0];
}
inline const PhonePicture& PadPhonePicture(const PowerStatusBlock& status) {
    return PadPhonePicture(status.phoneType());
}

}  // namespace device
