#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hid {

// Identity numbers read out of a device path such as
//   \\?\hid#vid_320f&pid_22ab&mi_01&col04#...
// The key ("vid_", "pid_", "&mi_", "&col") is found without regard to case, the digits after it
// are read as hexadecimal; the result is the low 16 bits, or 0 when the key is absent or no
// digits follow.
uint16_t ParseVendorId(std::string_view path);
uint16_t ParseProductId(std::string_view path);
uint16_t ParseInterfaceNumber(std::string_view path);
uint16_t ParseCollectionNumber(std::string_view path);

// The stored form of a listed path, so that it always starts with two backslashes, a question mark
// and a backslash: where the first "\?" stands at position 1 the first character becomes a
// backslash, where it stands at position 0 one more backslash goes in front; other paths are
// kept as they are.
std::string NormalizeDevicePath(std::string_view path);

}  // namespace hid
