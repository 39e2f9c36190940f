#pragma once

#include <string>

namespace os {
class SettingsStore;
}

namespace net {

// Where the update service is: the settings store's text values "UpdateServer" (host, optionally
// with a port and a scheme) and "UpdateServerCertificate" (a PEM file the service's HTTPS
// certificate must match, for a self-signed service) under "SOFTWARE\Brasvik M402". The
// environment variables BRASVIK_UPDATE_SERVER and BRASVIK_UPDATE_CA override them. No host
// configured means no service is contacted.
inline constexpr const char* kUpdateSettingsKey = "SOFTWARE\\Brasvik M402";
inline constexpr const char* kUpdateServerValue = "UpdateServer";
inline constexpr const char* kUpdateCertificateValue = "UpdateServerCertificate";
inline constexpr const char* kUpdateServerEnv = "BRASVIK_UPDATE_SERVER";
inline constexpr const char* kUpdateCertificateEnv = "BRASVIK_UPDATE_CA";

struct UpdateServerConfig {
    std::string host;
    std::string caFile;
};

UpdateServerConfig LoadUpdateServerConfig(os::SettingsStore& store);
// From the store at its default place.
UpdateServerConfig LoadUpdateServerConfig();

// The last-check file "updatetime.config" in the user data folder:
// {"updatelasttime": {"value": "2026-3-7"}}.
inline constexpr const char* kLastCheckFileName = "updatetime.config";
std::string LastCheckFilePath();

// Today's local date as year-month-day without leading zeros ("2026-3-7").
std::string TodayText();

// The stored last-check date; when the file has none (missing, damaged, or not a text), today's
// date is written and returned.
std::string ReadLastCheckDate(const std::string& file);
bool WriteLastCheckDate(const std::string& file, const std::string& date);

}  // namespace net
