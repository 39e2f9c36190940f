#include "os/hid/interface_path.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace os::hid {

namespace {

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

// Reads exactly digits hex digits (at least one when digits is 0: as many as follow).
bool ReadHex(std::string_view s, size_t* pos, uint32_t* value) {
    size_t p = *pos;
    uint32_t v = 0;
    while (p < s.size() && std::isxdigit(static_cast<unsigned char>(s[p])) && p - *pos < 8) {
        const char c = s[p++];
        v = v * 16 + static_cast<uint32_t>(
                         std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'a' + 10);
    }
    if (p == *pos) return false;
    *pos = p;
    *value = v;
    return true;
}

bool Expect(std::string_view s, size_t* pos, std::string_view what) {
    if (s.substr(*pos, what.size()) != what) return false;
    *pos += what.size();
    return true;
}

}  // namespace

std::string FormatInterfacePath(const InterfacePath& parts) {
    char ids[64];
    int n = std::snprintf(ids, sizeof ids, "vid_%04x&pid_%04x", parts.vendorId, parts.productId);
    if (parts.interfaceNumber >= 0)
        n += std::snprintf(ids + n, sizeof ids - n, "&mi_%02x", parts.interfaceNumber & 0xFF);
    if (parts.collection > 0)
        std::snprintf(ids + n, sizeof ids - n, "&col%02x", parts.collection & 0xFF);
    return std::string("\\\\?\\hid#") + ids + "#" + parts.node + "#" +
           std::string(kHidInterfaceGuid);
}

bool SplitInterfacePath(std::string_view path, InterfacePath* parts) {
    const std::string s = Lower(path);
    size_t pos = 0;
    InterfacePath r;
    uint32_t v = 0;
    if (!Expect(s, &pos, "\\\\?\\hid#vid_") || !ReadHex(s, &pos, &v) || v > 0xFFFF) return false;
    r.vendorId = static_cast<uint16_t>(v);
    if (!Expect(s, &pos, "&pid_") || !ReadHex(s, &pos, &v) || v > 0xFFFF) return false;
    r.productId = static_cast<uint16_t>(v);
    if (Expect(s, &pos, "&mi_")) {
        if (!ReadHex(s, &pos, &v) || v > 0xFF) return false;
        r.interfaceNumber = static_cast<int>(v);
    }
    if (Expect(s, &pos, "&col")) {
        if (!ReadHex(s, &pos, &v) || v == 0 || v > 0xFF) return false;
        r.collection = static_cast<int>(v);
    }
    if (!Expect(s, &pos, "#")) return false;
    const size_t end = s.find('#', pos);
    if (end == std::string::npos || end == pos) return false;
    // The node keeps the case it was written with: backends name files by it.
    r.node = std::string(path.substr(pos, end - pos));
    pos = end + 1;
    if (s.substr(pos) != kHidInterfaceGuid) return false;
    *parts = r;
    return true;
}

}  // namespace os::hid
