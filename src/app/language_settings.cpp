#include "app/language_settings.h"

#include <json/value.h>

#include <cctype>
#include <cstdlib>
#include <utility>

#include "os/debug_output.h"
#include "profile/json_file.h"
#include "toolkit/control_ui.h"
#include "toolkit/resource_manager.h"

namespace app {

namespace {

struct FontRow {
    int id;  // -1: the default font
    int size;
    bool bold;
    bool underline;
};

constexpr FontRow kFontTable[] = {
    {0, 15, false, false},  {-1, 14, false, false}, {1, 14, false, true},  {2, 18, false, false},
    {3, 30, false, false},  {4, 16, false, false},  {5, 20, false, false}, {6, 22, false, false},
    {7, 14, false, false},  {8, 12, false, false},  {9, 11, false, false}, {10, 10, false, false},
    {11, 28, false, false}, {50, 18, true, false},
};

Json::Value Entries(const std::string& file) {
    const Json::Value doc = profile::JsonFile().Read(file);
    if (!doc.isObject() || !doc["Language"].isArray()) return Json::Value(Json::arrayValue);
    return doc["Language"];
}

// A member of an entry; null when the entry is no object (a damaged file never throws).
Json::Value Member(const Json::Value& entry, const char* name) {
    return entry.isObject() ? entry[name] : Json::Value();
}

std::string Text(const Json::Value& v) {
    return v.isString() ? v.asString() : std::string();
}

// Language names compare as locale names do: "zh-TW", "zh_tw" and "zh_TW" are one.
std::string NormalName(const std::string& name) {
    std::string out;
    for (char c : name)
        out += c == '-' ? '_' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The locale that decides the language of messages; "C" and "POSIX" name no language.
std::string UserLocale() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v != nullptr && v[0] != '\0') {
            const std::string locale = v;
            return locale == "C" || locale == "POSIX" || locale.rfind("C.", 0) == 0 ? "" : locale;
        }
    }
    return "";
}

}  // namespace

LanguageSettings::LanguageSettings(os::SettingsStore& store, std::string configFile)
    : store_(store), configFile_(std::move(configFile)) {}

void LanguageSettings::EnsureKey() {
    if (store_.GetDword(kKey, kValue)) return;
    const std::string locale = UserLocale();
    const uint32_t id = LocaleLanguageId(locale);
    if (store_.SetDword(kKey, kValue, id))
        os::DebugOutput("language: first start, locale '" + locale + "' gives " +
                        std::to_string(id));
}

uint32_t LanguageSettings::LocaleLanguageId(const std::string& locale) {
    // "ll_TT.encoding@modifier": only language and territory count.
    const std::string wanted = NormalName(locale.substr(0, locale.find_first_of(".@")));
    const std::string language = wanted.substr(0, wanted.find('_'));
    const Json::Value entries = Entries(configFile_);
    std::optional<uint32_t> exact, alone, sameLanguage, english;
    for (const Json::Value& entry : entries) {
        const Json::Value id = Member(entry, "Language_ID");
        if (!id.isIntegral()) continue;
        const auto value = static_cast<uint32_t>(id.asLargestInt());
        const std::string name = NormalName(Text(Member(entry, "Language_name")));
        if (name.empty()) continue;
        if (!exact && !language.empty() && name == wanted) exact = value;
        if (!alone && !language.empty() && name == language) alone = value;
        if (!sameLanguage && !language.empty() && name.substr(0, name.find('_')) == language)
            sameLanguage = value;
        if (!english && name == "en") english = value;
    }
    for (const std::optional<uint32_t>& v : {exact, alone, sameLanguage, english})
        if (v) return *v;
    return kEnglishId;
}

int LanguageSettings::StoredIndex() {
    const std::optional<uint32_t> stored = store_.GetDword(kKey, kValue);
    if (!stored) return 0;
    const Json::Value entries = Entries(configFile_);
    for (Json::ArrayIndex i = 0; i < entries.size(); ++i) {
        const Json::Value id = Member(entries[i], "Language_ID");
        if (id.isIntegral() && id.asLargestInt() == static_cast<Json::LargestInt>(*stored))
            return static_cast<int>(i);
    }
    return 0;
}

std::optional<std::string> LanguageSettings::FaceFor(int n, int current) {
    if (n == 15) return "Noto Sans Thai";
    if (n == 0) return "汉仪菱心体简";
    if (n == 2) return "Noto Sans CJK TC Regular";
    // Leaving a language with a face of its own for any other.
    if (current == 15 || current == -1 || current == 2 || current == 0) return "Verdana Unicode MS";
    return std::nullopt;
}

void LanguageSettings::RebuildFontTable(toolkit::CPaintManagerUI& pm, const std::string& face) {
    pm.RemoveAllFonts(true);
    pm.RemoveAllFonts(false);
    for (const FontRow& f : kFontTable) {
        if (f.id < 0)
            pm.SetDefaultFont(face, f.size, f.bold, f.underline, false, true);
        else
            pm.AddFont(f.id, face, f.size, f.bold, f.underline, false, true);
    }
}

bool LanguageSettings::ApplyLanguage(int n, toolkit::CPaintManagerUI& pm) {
    if (n == current_) return false;
    if (const std::optional<std::string> face = FaceFor(n, current_)) RebuildFontTable(pm, *face);
    current_ = n;
    const Json::Value entries = Entries(configFile_);
    if (n >= 0 && static_cast<Json::ArrayIndex>(n) < entries.size()) {
        const Json::Value& entry = entries[n];
        auto& resources = toolkit::CResourceManager::GetInstance();
        resources.SetLanguage(Text(Member(entry, "Language_name")));
        // A missing file leaves the texts as they were.
        if (resources.LoadLanguage(Text(Member(entry, "Language_file")))) resources.ReloadText();
        const Json::Value id = Member(entry, "Language_ID");
        if (id.isIntegral() && store_.KeyExists(kKey) &&
            store_.SetDword(kKey, kValue, static_cast<uint32_t>(id.asLargestInt()))) {
            os::DebugOutput("写成功！");
        }
    } else {
        os::DebugOutput("language: no entry " + std::to_string(n) + " in " + configFile_ + "\n");
    }
    pm.Invalidate();
    if (toolkit::CControlUI* root = pm.GetRoot()) root->NeedUpdate();
    return true;
}

}  // namespace app
