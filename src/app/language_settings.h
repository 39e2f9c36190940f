#pragma once

#include <optional>
#include <string>

#include "os/settings_store.h"
#include "toolkit/paint_manager_ui.h"

namespace app {

// The interface language: the entries of "Language.config" (DefaultData), the user's choice in
// the settings store's "LANGUAGE" value (key "SOFTWARE\Brasvik M402", holding the entry's
// "Language_ID"), and the font face that goes with it.
class LanguageSettings {
  public:
    static constexpr const char* kKey = "SOFTWARE\\Brasvik M402";
    static constexpr const char* kValue = "LANGUAGE";
    static constexpr const char* kConfigName = "Language.config";
    static constexpr uint32_t kEnglishId = 1033;

    LanguageSettings(os::SettingsStore& store, std::string configFile);

    // At the first start (no stored choice yet) stores one as an installer would: the entry
    // of "Language.config" that matches the user's locale (LC_ALL, LC_MESSAGES, then LANG), or
    // English when none does. A stored choice is kept.
    void EnsureKey();
    // The "Language_ID" for a locale such as "pt_BR.UTF-8": the entry named by language and
    // territory, else by the language alone, else the first of that language; English (1033, or
    // the "en" entry's id) otherwise.
    uint32_t LocaleLanguageId(const std::string& locale);
    // The index of the first entry whose "Language_ID" is the stored value; 0 when nothing is
    // stored, the file is missing or nothing matches.
    int StoredIndex();
    // Applies entry n to the toolkit and every window: the font face, the language file, the
    // stored choice. False when n is already current (nothing happens then).
    bool ApplyLanguage(int n, toolkit::CPaintManagerUI& pm);
    int current() const { return current_; }

    // The face for a switch from the current index to n, or nothing when the fonts stay.
    static std::optional<std::string> FaceFor(int n, int current);
    // Replaces every font with the program's font table in the face.
    static void RebuildFontTable(toolkit::CPaintManagerUI& pm, const std::string& face);

  private:
    os::SettingsStore& store_;
    std::string configFile_;
    int current_ = -1;
};

}  // namespace app
