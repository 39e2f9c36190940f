#include "toolkit/ui_parse.h"

#include <charconv>

namespace toolkit {

namespace {

std::string_view Trim(std::string_view v) {
    while (!v.empty() &&
           (v.front() == ' ' || v.front() == '\t' || v.front() == '\n' || v.front() == '\r'))
        v.remove_prefix(1);
    while (!v.empty() &&
           (v.back() == ' ' || v.back() == '\t' || v.back() == '\n' || v.back() == '\r'))
        v.remove_suffix(1);
    return v;
}

bool ParseInts(std::string_view v, int* out, int count) {
    int values[8];
    int n = 0;
    v = Trim(v);
    while (n < count) {
        size_t comma = v.find(',');
        std::string_view part = Trim(v.substr(0, comma));
        if (!ParseInt(part, values[n])) return false;
        ++n;
        if (comma == std::string_view::npos) break;
        v.remove_prefix(comma + 1);
    }
    if (n != count) return false;
    for (int i = 0; i < count; ++i) out[i] = values[i];
    return true;
}

}  // namespace

bool ParseInt(std::string_view v, int& out) {
    v = Trim(v);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    int value = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
    if (ec != std::errc() || p != v.data() + v.size() || v.empty()) return false;
    out = value;
    return true;
}

bool ParseBool(std::string_view v, bool& out) {
    v = Trim(v);
    if (EqualsNoCase(v, "true") || v == "1") {
        out = true;
        return true;
    }
    if (EqualsNoCase(v, "false") || v == "0") {
        out = false;
        return true;
    }
    return false;
}

bool ParseColor(std::string_view v, uint32_t& out) {
    v = Trim(v);
    int base = 10;
    if (!v.empty() && v.front() == '#') {
        v.remove_prefix(1);
        base = 16;
    } else if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
        v.remove_prefix(2);
        base = 16;
    }
    if (v.empty()) return false;
    uint32_t value = 0;
    auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), value, base);
    if (ec != std::errc() || p != v.data() + v.size()) return false;
    if (base == 16 && v.size() == 6) value |= 0xFF000000u;
    out = value;
    return true;
}

bool ParseRect(std::string_view v, UiRect& out) {
    int r[4];
    if (!ParseInts(v, r, 4)) return false;
    out = UiRect{r[0], r[1], r[2], r[3]};
    return true;
}

bool ParseSize(std::string_view v, UiSize& out) {
    int r[2];
    if (!ParseInts(v, r, 2)) return false;
    out = UiSize{r[0], r[1]};
    return true;
}

bool ParsePoint(std::string_view v, UiPoint& out) {
    int r[2];
    if (!ParseInts(v, r, 2)) return false;
    out = UiPoint{r[0], r[1]};
    return true;
}

bool ParseAttributeList(std::string_view list,
                        std::vector<std::pair<std::string, std::string>>& out) {
    std::vector<std::pair<std::string, std::string>> result;
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < list.size() &&
               (list[i] == ' ' || list[i] == '\t' || list[i] == '\r' || list[i] == '\n'))
            ++i;
    };
    for (;;) {
        skipSpace();
        if (i >= list.size()) break;
        size_t nameStart = i;
        while (i < list.size() && list[i] != '=' && list[i] != ' ') ++i;
        std::string name(list.substr(nameStart, i - nameStart));
        skipSpace();
        if (name.empty() || i >= list.size() || list[i] != '=') return false;
        ++i;
        skipSpace();
        if (i >= list.size() || (list[i] != '"' && list[i] != '\'')) return false;
        char quote = list[i++];
        size_t valueEnd = list.find(quote, i);
        if (valueEnd == std::string_view::npos) return false;
        result.emplace_back(std::move(name), std::string(list.substr(i, valueEnd - i)));
        i = valueEnd + 1;
    }
    out = std::move(result);
    return true;
}

}  // namespace toolkit
