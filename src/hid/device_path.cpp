#include "hid/device_path.h"

#include <cctype>

namespace hid {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

size_t FindIgnoringCase(std::string_view text, std::string_view key) {
    if (key.size() > text.size()) return std::string_view::npos;
    for (size_t i = 0; i + key.size() <= text.size(); ++i) {
        size_t j = 0;
        while (j < key.size() && std::tolower(static_cast<unsigned char>(text[i + j])) ==
                                     std::tolower(static_cast<unsigned char>(key[j])))
            ++j;
        if (j == key.size()) return i;
    }
    return std::string_view::npos;
}

// Reads the number after the key the way a "%x" conversion does: leading white space, an
// optional sign and "0x", then hex digits. A value too large for 32 bits saturates, as the C
// library's conversion does.
uint16_t ParseKey(std::string_view path, std::string_view key) {
    const size_t at = FindIgnoringCase(path, key);
    if (at == std::string_view::npos) return 0;
    size_t p = at + key.size();
    while (p < path.size() && std::isspace(static_cast<unsigned char>(path[p]))) ++p;
    bool negative = false;
    if (p < path.size() && (path[p] == '+' || path[p] == '-')) negative = path[p++] == '-';
    if (p + 1 < path.size() && path[p] == '0' && (path[p + 1] == 'x' || path[p + 1] == 'X') &&
        p + 2 < path.size() && HexDigit(path[p + 2]) >= 0)
        p += 2;
    uint64_t value = 0;
    bool any = false;
    for (; p < path.size() && HexDigit(path[p]) >= 0; ++p) {
        any = true;
        value = value * 16 + static_cast<uint64_t>(HexDigit(path[p]));
        if (value > 0xFFFFFFFFull) value = 0x100000000ull;  // saturated
    }
    if (!any) return 0;
    uint32_t v = value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
    if (negative) v = 0u - v;
    return static_cast<uint16_t>(v & 0xFFFF);
}

}  // namespace

uint16_t ParseVendorId(std::string_view path) {
    return ParseKey(path, "vid_");
}
uint16_t ParseProductId(std::string_view path) {
    return ParseKey(path, "pid_");
}
uint16_t ParseInterfaceNumber(std::string_view path) {
    return ParseKey(path, "&mi_");
}
uint16_t ParseCollectionNumber(std::string_view path) {
    return ParseKey(path, "&col");
}

std::string NormalizeDevicePath(std::string_view path) {
    std::string s(path);
    const size_t at = s.find("\\?");
    if (at == 1)
        s[0] = '\\';
    else if (at == 0)
        s.insert(s.begin(), '\\');
    return s;
}

}  // namespace hid
