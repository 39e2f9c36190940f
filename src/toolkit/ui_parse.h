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

}  // namespace toolkit
