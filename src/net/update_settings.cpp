#include "net/update_settings.h"

#include <cstdlib>
#include <ctime>

#include "os/folders.h"
#include "os/settings_store.h"
#include "profile/json_file.h"

namespace net {

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

}  // namespace

UpdateServerConfig LoadUpdateServerConfig(os::SettingsStore& store) {
    UpdateServerConfig config;
    config.host = store.GetString(kUpdateSettingsKey, kUpdateServerValue).value_or("");
    config.caFile = store.GetString(kUpdateSettingsKey, kUpdateCertificateValue).value_or("");
    if (const std::string host = Env(kUpdateServerEnv); !host.empty()) config.host = host;
    if (const std::string ca = Env(kUpdateCertificateEnv); !ca.empty()) config.caFile = ca;
    return config;
}

UpdateServerConfig LoadUpdateServerConfig() {
    os::SettingsStore store;
    return LoadUpdateServerConfig(store);
}

std::string LastCheckFilePath() {
    const std::string folder = os::LocalAppDataFolder(true) + "/Brasvik M402/";
    if (!os::IsDirectory(folder)) os::CreateDirectories(folder);
    return folder + kLastCheckFileName;
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_year + 1900) + "-" + std::to_string(local.tm_mon + 1) + "-" +
           std::to_string(local.tm_mday);
}

std::string ReadLastCheckDate(const std::string& file) {
    const Json::Value root = profile::JsonFile().Read(file);
    if (root.isObject() && root["updatelasttime"].isObject() &&
        root["updatelasttime"]["value"].isString())
        return root["updatelasttime"]["value"].asString();
    const std::string today = TodayText();
    WriteLastCheckDate(file, today);
    return today;
}

bool WriteLastCheckDate(const std::string& file, const std::string& date) {
    Json::Value root(Json::objectValue);
    root["updatelasttime"]["value"] = date;
    return profile::JsonFile().Write(root, file);
}

}  // namespace net
