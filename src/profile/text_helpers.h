#pragma once

// Small text helpers shared by the profile documents and the layers above them.

#include <cstdint>
#include <string>
#include <string_view>

namespace profile {

// A profile id from the local time now: "%d_%02d_%02d_%02d_%02d_%02d_%03d" from year, month,
// day, hour, minute, second and milliseconds.
std::string MakeTimestampId();
std::string MakeTimestampId(int year, int month, int day, int hour, int minute, int second,
                            int millisecond);

// Exactly eight upper-case hexadecimal digits, most significant first.
std::string ToHex8(std::uint32_t value);

// Splits a control name such as "key_12" at its last '_': prefix gets the text up to and including
// the '_', number the decimal number after it (0 when no digits follow, as "light_0_" has). False,
// leaving both alone, when the name holds no '_'.
bool SplitIndexedName(std::string_view name, std::string& prefix, int& number);

// True when the text is empty after trimming white space (ASCII and Unicode spaces) at both ends.
bool IsBlank(std::string_view text);

// Whether an identifier read from a file ("Guid", profile id) may be used as a file name inside a
// folder: not empty, no path separator, no "..", no NUL. Anything else could name a file outside
// the folder.
bool IsSafeFileName(std::string_view name);

// The text with every byte sequence that is not well-formed UTF-8 replaced by U+FFFD, so that text
// taken from a file is always valid UTF-8 for the layers above.
std::string ToValidUtf8(std::string_view text);

}  // namespace profile
