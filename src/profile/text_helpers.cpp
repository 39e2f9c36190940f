#include "profile/text_helpers.h"

#include <time.h>

#include <climits>
#include <cstdio>

namespace profile {
namespace {

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when it is not well formed
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i, char32_t* codePoint) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 < 0x80) {
        *codePoint = b0;
        return 1;
    }
    std::size_t len;
    char32_t cp;
    char32_t min;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    *codePoint = cp;
    return len;
}

bool IsSpace(char32_t c) {
    switch (c) {
        case U' ':
        case U'\t':
        case U'\n':
        case U'\v':
        case U'\f':
        case U'\r':
        case 0x00A0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000:
            return true;
        default:
            return c >= 0x2000 && c <= 0x200A;
    }
}

}  // namespace

std::string MakeTimestampId(int year, int month, int day, int hour, int minute, int second,
                            int millisecond) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d_%02d_%02d_%02d_%02d_%02d_%03d", year, month, day, hour,
                  minute, second, millisecond);
    return buf;
}

std::string MakeTimestampId() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    ::localtime_r(&ts.tv_sec, &local);
    return MakeTimestampId(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec, static_cast<int>(ts.tv_nsec / 1000000));
}

std::string ToHex8(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s(8, '0');
    for (int i = 7; i >= 0; --i) {
        s[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return s;
}

bool SplitIndexedName(std::string_view name, std::string& prefix, int& number) {
    const std::size_t cut = name.rfind('_');
    if (cut == std::string_view::npos) return false;
    prefix.assign(name.substr(0, cut + 1));
    // Read like a C library decimal conversion: optional spaces and sign, then digits; anything
    // else ends the number, and no digits at all give 0.
    std::string_view rest = name.substr(cut + 1);
    std::size_t i = 0;
    while (i < rest.size() && (rest[i] == ' ' || rest[i] == '\t')) ++i;
    bool negative = false;
    if (i < rest.size() && (rest[i] == '+' || rest[i] == '-')) negative = rest[i++] == '-';
    long long value = 0;
    for (; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
        value = value * 10 + (rest[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    number = static_cast<int>(value);
    return true;
}

bool IsBlank(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceLength(text, i, &cp);
        if (len == 0 || !IsSpace(cp)) return false;
        i += len;
    }
    return true;
}

bool IsSafeFileName(std::string_view name) {
    if (name.empty()) return false;
    if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) return false;
    return name.find("..") == std::string_view::npos;
}

std::string ToValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = Utf8SequenceLength(text, i, &cp);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

}  // namespace profile
