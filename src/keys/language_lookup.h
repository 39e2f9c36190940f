#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace keys {

// The texts of the current language, found by language key. The application backs it with the
// skin's language file; tests back it with a small table.
class LanguageLookup {
  public:
    virtual ~LanguageLookup() = default;

    // The text of a key, or nothing when the language file does not know it.
    virtual std::optional<std::string> Find(std::string_view key) const = 0;

    // The text shown for a key: a key the language file does not know shows as the key itself.
    std::string Text(std::string_view key) const;
};

}  // namespace keys
