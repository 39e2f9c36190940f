#include "device/light_catalogue.h"

#include <json/json.h>

#include "device/light_catalogue_defaults.h"
#include "os/diagnostics_log.h"
#include "os/folders.h"
#include "profile/json_file.h"

namespace device {

namespace {

void Log(const std::string& message) {
    os::UserDataFolder(true);  // the log lives there
    os::AppendLog(message);
}

void LogFallback(const std::string& path, int variant, const std::string& why) {
    Log("light catalogue " + path + ": " + why + "; light variant " + std::to_string(variant) +
        " uses the built-in modes");
}

// Empty when the entry is a mode object; else what is wrong with it.
std::string CheckMode(const Json::Value& mode) {
    if (!mode.isObject()) return "not an object";
    if (!mode["LightName"].isString() || mode["LightName"].asString().empty())
        return "no \"LightName\" text";
    if (!mode["visible"].isBool()) return "no \"visible\" flag";
    const Json::Value& value = mode["value"];
    if (!value.isIntegral() || value.asInt64() < 0 || value.asInt64() > 255)
        return "no \"value\" code of 0..255";
    return {};
}

}  // namespace

LightModeList BuiltInLightCatalogue(int variant) {
    LightModeList list;
    if (variant < 0 || variant >= static_cast<int>(light_catalogue_defaults::kVariants.size()))
        return list;
    for (const light_catalogue_defaults::Mode& mode :
         light_catalogue_defaults::kVariants[variant]) {
        list.names.emplace_back(mode.name);
        list.visible.push_back(mode.visible ? 1 : 0);
        list.values.push_back(mode.value);
    }
    for (const char* area : light_catalogue_defaults::kAreas[variant])
        list.areas.emplace_back(area);
    return list;
}

LightModeList ReadLightCatalogue(const std::string& path, int variant) {
    LightModeList builtIn = BuiltInLightCatalogue(variant);
    profile::JsonFile file;
    profile::JsonFile::ReadResult result;
    const Json::Value root = file.Read(path, &result);
    switch (result) {
        case profile::JsonFile::ReadResult::kParsed:
            break;
        case profile::JsonFile::ReadResult::kNoText:
            LogFallback(path, variant, "missing or empty");
            return builtIn;
        case profile::JsonFile::ReadResult::kUnparsable:
            LogFallback(path, variant, "not JSON");
            return builtIn;
        case profile::JsonFile::ReadResult::kUnreadable:
            LogFallback(path, variant, "cannot be read");
            return builtIn;
    }
    if (!root.isObject() || !root["DefaultLightName"].isArray()) {
        LogFallback(path, variant, "no \"DefaultLightName\" list");
        return builtIn;
    }
    const Json::Value& variants = root["DefaultLightName"];
    const Json::Value& modes = variant >= 0 && variant < static_cast<int>(variants.size())
                                   ? variants[variant]
                                   : Json::Value::nullSingleton();
    if (!modes.isArray() || modes.empty()) {
        LogFallback(path, variant, "no modes for this variant");
        return builtIn;
    }
    LightModeList list;
    for (Json::ArrayIndex i = 0; i < modes.size(); ++i) {
        const std::string why = CheckMode(modes[i]);
        if (!why.empty()) {
            LogFallback(path, variant, "mode " + std::to_string(i) + ": " + why);
            return builtIn;
        }
        list.names.push_back(modes[i]["LightName"].asString());
        list.visible.push_back(modes[i]["visible"].asBool() ? 1 : 0);
        list.values.push_back(modes[i]["value"].asInt());
    }
    list.areas = builtIn.areas;
    const Json::Value& areaVariants = root["AreaLightName"];
    if (!areaVariants.isArray() || variant >= static_cast<int>(areaVariants.size()) ||
        !areaVariants[variant].isArray()) {
        Log("light catalogue " + path + ": no \"AreaLightName\" for light variant " +
            std::to_string(variant) + "; the built-in area names are used");
        return list;
    }
    std::vector<std::string> areas;
    for (const Json::Value& area : areaVariants[variant]) {
        if (!area.isObject() || !area["LightName"].isString()) {
            Log("light catalogue " + path + ": an area of light variant " +
                std::to_string(variant) + " has no \"LightName\" text; the built-in " +
                "area names are used");
            return list;
        }
        areas.push_back(area["LightName"].asString());
    }
    list.areas = std::move(areas);
    return list;
}

}  // namespace device
