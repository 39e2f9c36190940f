#include "keys/language_lookup.h"

#include <utility>

namespace keys {

std::string LanguageLookup::Text(std::string_view key) const {
    if (std::optional<std::string> text = Find(key)) return *std::move(text);
    return std::string(key);
}

}  // namespace keys
