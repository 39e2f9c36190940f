#include "app/language_settings.h"

#include <json/value.h>

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

}  // namespace

LanguageSettings::LanguageSettings(os::SettingsStore& store, std::string configFile)
    : store_(store), configFile_(std::move(configFile)) {}

void LanguageSettings::EnsureKey() {
    if (!store_.KeyExists(kKey)) store_.CreateKey(kKey);
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
