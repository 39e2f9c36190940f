#pragma once

#include <string>

namespace net {

// A translated caption followed by a value: "Last check: 2026-3-7", "上次检查：2026-3-7" (no
// space after a full-width colon).
inline std::string CaptionWithValue(const std::string& caption, const std::string& value) {
    if (caption.ends_with("：") || caption.empty()) return caption + value;
    return caption + " " + value;
}

}  // namespace net
