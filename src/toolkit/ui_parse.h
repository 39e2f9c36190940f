#pragma once

// Parsers for the attribute value formats of skin files. Each returns false on a malformed value
// and leaves the output untouched, so that the builder can name the bad attribute.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/ui_types.h"

namespace toolkit {

bool ParseInt(std::string_view v, int& out);
bool ParseBool(std::string_view v, bool& out);  // "true"/"false" (any case), "1"/"0"
// "#AARRGGBB", "#RRGGBB" (opaque), "0xAARRGGBB" or a decimal number.
bool ParseColor(std::string_view v, uint32_t& out);
// "l,t,r,b"; fewer numbers fail.
bool ParseRect(std::string_view v, UiRect& out);
bool ParseSize(std::string_view v, UiSize& out);  // "cx,cy"
bool ParsePoint(std::string_view v, UiPoint& out);

// key="value" key2='value2' ... as used by Default and Style entries and attribute lists.
bool ParseAttributeList(std::string_view list,
                        std::vector<std::pair<std::string, std::string>>& out);

// Entries for the controls' attribute tables: read the value, pass it to the setter, and report
// a value that does not read as the setter's type.
template <class T, auto Setter>
bool AttrText(T& c, const std::string& v) {
    (c.*Setter)(v);
    return true;
}
template <class T, auto Setter>
bool AttrInt(T& c, const std::string& v) {
    int n = 0;
    if (!ParseInt(v, n)) return false;
    (c.*Setter)(n);
    return true;
}
template <class T, auto Setter>
bool AttrBool(T& c, const std::string& v) {
    bool b = false;
    if (!ParseBool(v, b)) return false;
    (c.*Setter)(b);
    return true;
}
template <class T, auto Setter>
bool AttrColor(T& c, const std::string& v) {
    uint32_t argb = 0;
    if (!ParseColor(v, argb)) return false;
    (c.*Setter)(argb);
    return true;
}
template <class T, auto Setter>
bool AttrRect(T& c, const std::string& v) {
    UiRect rc;
    if (!ParseRect(v, rc)) return false;
    (c.*Setter)(rc);
    return true;
}
template <class T, auto Setter>
bool AttrSize(T& c, const std::string& v) {
    UiSize sz;
    if (!ParseSize(v, sz)) return false;
    (c.*Setter)(sz);
    return true;
}

}  // namespace toolkit
