#include "profile/name_rules.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#include "os/debug_output.h"
#include "profile/json_access.h"
#include "profile/json_file.h"
#include "profile/text_helpers.h"

namespace profile {
namespace {

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads exactly `width` digits (any number of at least one when width is 0) at text[pos].
std::optional<int> Digits(std::string_view text, std::size_t& pos, std::size_t width) {
    std::size_t end = pos;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    const std::size_t n = end - pos;
    if (n == 0 || (width != 0 && n != width) || n > 6) return std::nullopt;
    int value = 0;
    for (; pos < end; ++pos) value = value * 10 + (text[pos] - '0');
    return value;
}

using Instant = std::chrono::sys_time<std::chrono::milliseconds>;

// The time an identifier names. Only identifiers of a real date and time can equal one the clock
// gives; others come from damaged or foreign files and name none.
std::optional<Instant> InstantOf(std::string_view id) {
    using namespace std::chrono;
    const std::optional<TimestampParts> p = ParseTimestampId(id);
    if (!p) return std::nullopt;
    const year_month_day date{year{(*p)[0]}, month{static_cast<unsigned>((*p)[1])},
                              day{static_cast<unsigned>((*p)[2])}};
    if (!date.ok() || (*p)[3] > 23 || (*p)[4] > 59 || (*p)[5] > 59) return std::nullopt;
    return sys_days{date} + hours{(*p)[3]} + minutes{(*p)[4]} + seconds{(*p)[5]} +
           milliseconds{(*p)[6]};
}

}  // namespace

std::vector<std::string> NamesOf(const std::vector<ListEntry>& entries) {
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (const ListEntry& e : entries) names.push_back(e.name);
    return names;
}

std::string StoredName(std::string_view name) {
    return ToValidUtf8(name.substr(0, name.find('\0')));
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

int FindName(const std::vector<std::string>& names, std::string_view name, int skip) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (static_cast<int>(i) != skip && SameName(names[i], name)) return static_cast<int>(i);
    }
    return -1;
}

std::string FirstFreeNumberedName(std::string_view prefix, const std::vector<std::string>& names) {
    // At most names.size() numbers can be taken, so one of the first size + 1 is free.
    for (std::size_t n = 1;; ++n) {
        std::string candidate = std::string(prefix) + std::to_string(n);
        if (FindName(names, candidate) < 0) return candidate;
    }
}

std::string NameWithCounterWhileTaken(std::string name, const std::vector<std::string>& names) {
    for (int counter = 1; FindName(names, name) >= 0; ++counter) {
        name += "(" + std::to_string(counter) + ")";
    }
    return name;
}

std::string_view FileNameOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view FileTitle(std::string_view path) {
    const std::string_view name = FileNameOf(path);
    return name.substr(0, name.rfind('.'));
}

std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) ++count;  // every byte but a continuation byte starts a character
    }
    return count;
}

std::string StoredIdentifier(const Json::Value& value) {
    const char* begin = nullptr;
    const char* end = nullptr;
    if (!value.isString() || !value.getString(&begin, &end)) return {};
    // Taken whole: cutting at a NUL could turn a refused identifier into an accepted one.
    const std::string_view id(begin, static_cast<std::size_t>(end - begin));
    if (!IsSafeFileName(id) || ToValidUtf8(id) != id) return {};
    return std::string(id);
}

std::optional<TimestampParts> ParseTimestampId(std::string_view id) {
    static constexpr std::size_t kWidths[7] = {0, 2, 2, 2, 2, 2, 3};
    TimestampParts parts{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < 7; ++i) {
        if (i > 0) {
            if (pos >= id.size() || id[pos] != '_') return std::nullopt;
            ++pos;
        }
        const std::optional<int> value = Digits(id, pos, kWidths[i]);
        if (!value) return std::nullopt;
        parts[i] = *value;
    }
    if (pos != id.size()) return std::nullopt;
    return parts;
}

bool TimestampBefore(std::string_view a, std::string_view b) {
    const auto pa = ParseTimestampId(a);
    const auto pb = ParseTimestampId(b);
    if (pa && pb) return *pa < *pb || (*pa == *pb && a < b);
    if (pa || pb) return pa.has_value();
    return a < b;
}

std::string NextTimestampId(const std::string& now, const std::vector<std::string>& inUse) {
    std::optional<Instant> latest;
    for (const std::string& id : inUse) {
        const std::optional<Instant> t = InstantOf(id);
        if (t && (!latest || *t > *latest)) latest = t;
    }
    if (!latest) return now;
    if (const std::optional<Instant> t = InstantOf(now); t && *t > *latest) return now;

    using namespace std::chrono;
    const Instant next = *latest + milliseconds{1};
    const sys_days nextDay = floor<days>(next);
    const year_month_day date{nextDay};
    const hh_mm_ss<milliseconds> time{next - nextDay};
    return MakeTimestampId(
        static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(time.hours().count()),
        static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()),
        static_cast<int>(time.subseconds().count()));
}

std::vector<std::string> TimestampNamedFiles(const std::string& folder,
                                             std::string_view extension) {
    std::vector<std::string> ids;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= extension.size() || !name.ends_with(extension)) continue;
        std::string id = name.substr(0, name.size() - extension.size());
        if (!ParseTimestampId(id) || !it->is_regular_file(ec)) continue;
        ids.push_back(std::move(id));
    }
    std::sort(ids.begin(), ids.end(),
              [](const std::string& a, const std::string& b) { return TimestampBefore(a, b); });
    return ids;
}

std::vector<ListEntry> FindStoredItems(const std::string& folder, std::string_view extension,
                                       const char* nameKey, std::string_view defaultPrefix,
                                       const std::string& listPath) {
    const JsonFile file;
    std::vector<ListEntry> items;
    std::vector<std::string> names;
    std::vector<std::size_t> unnamed;
    for (std::string& id : TimestampNamedFiles(folder, extension)) {
        const Json::Value doc = file.Read(folder + id + std::string(extension));
        std::string name = TextFromJson(JsonMember(doc, nameKey));
        if (IsBlank(name)) {
            unnamed.push_back(items.size());
        } else {
            name = NameWithCounterWhileTaken(name, names);
        }
        names.push_back(name);
        items.push_back({std::move(name), std::move(id)});
    }
    // Default names last, so that they do not take a number a named file has.
    for (std::size_t i : unnamed) {
        names[i] = FirstFreeNumberedName(defaultPrefix, names);
        items[i].name = names[i];
    }
    if (!items.empty()) {
        os::DebugOutput(listPath + " rebuilt from " + std::to_string(items.size()) + " files\n");
    }
    return items;
}

}  // namespace profile
