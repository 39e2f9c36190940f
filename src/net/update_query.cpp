#include "net/update_query.h"

#include <json/json.h>

#include <memory>
#include <vector>

#include "net/http_client.h"
#include "os/debug_output.h"
#include "os/http_transfer.h"

namespace net {

namespace {

// A present field must be a text; an absent one reads as "".
bool TextField(const Json::Value& reply, const char* name, std::string& out) {
    const Json::Value& v = reply[name];
    if (v.isNull()) {
        out.clear();
        return true;
    }
    if (!v.isString()) return false;
    out = v.asString();
    return true;
}

}  // namespace

std::string UpdateServiceUrl(const std::string& host) {
    if (host.empty()) return {};
    std::string base = host;
    if (base.find("://") == std::string::npos) base = "http://" + base;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + "/api/" + "updates";
}

std::string UpdateRequestBody(const UpdateRow& row) {
    char version[16];
    std::snprintf(version, sizeof(version), row.IsHexadecimal() ? "%x" : "%d", row.currentVersion);
    return "app_key=" + BuildAppKey(row) + "&version=" + version;
}

bool ParseUpdateReply(const std::string& reply, const UpdateRow& row, UpdateInfo& info) {
    Json::CharReaderBuilder builder;
    builder.settings_["collectComments"] = false;
    builder.settings_["allowSpecialFloats"] = false;
    builder.settings_["stackLimit"] = 64;
    builder.settings_["failIfExtra"] = true;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(reply.data(), reply.data() + reply.size(), &root, &errors) ||
        !root.isObject()) {
        os::DebugOutput("update: the reply is no JSON object" +
                        (errors.empty() ? std::string() : ": " + errors) + "\n");
        return false;
    }
    UpdateInfo got = info;
    std::string version;
    const Json::Value& deviceId = root["device_id"];
    if (!TextField(root, "path", got.downloadPath) || !TextField(root, "name", got.name) ||
        !TextField(root, "version_name", got.versionName) || !TextField(root, "version", version) ||
        !(deviceId.isNull() || deviceId.isInt())) {
        os::DebugOutput("update: a field of the reply has the wrong type\n");
        return false;
    }
    got.deviceId = deviceId.isNull() ? 0 : deviceId.asInt();
    got.newVersionText = "V" + version;
    const auto server = static_cast<int32_t>(ParseVersionText(version, row.IsHexadecimal()));
    got.currentVersionText = CurrentVersionText(row);
    if (!row.IsHexadecimal()) got.newVersionText = got.versionName;
    got.status = server > row.currentVersion ? kUpdateStatusAvailable : kUpdateStatusUpToDate;
    info = got;
    return true;
}

UpdateInfo QueryUpdate(const UpdateRow& row, const std::string& host, const std::string& caFile,
                       const os::Event* abort) {
    UpdateInfo info;
    const std::string url = UpdateServiceUrl(host);
    if (url.empty()) {
        // No service configured: nothing is contacted, and the row ends as without a network.
        info.name = kNoLinkServer;
        return info;
    }
    std::string body = UpdateRequestBody(row);
    std::vector<uint8_t> buffer(kUpdateReplyLimit + 1, 0);  // the extra byte stays 0
    ResetHttpClient();
    if (!caFile.empty()) {
        HttpClientSettings settings = GetHttpClientSettings();
        settings.caFile = caFile;
        SetHttpClientSettings(settings);
    }
    // The body goes with its terminating zero byte.
    const int n = HttpRequest("POST", url, reinterpret_cast<const uint8_t*>(body.c_str()),
                              body.size() + 1, buffer.data(), kUpdateReplyLimit, abort);
    const std::string text(reinterpret_cast<const char*>(buffer.data()));
    if (n <= 0) {
        info.name = text;
        return info;
    }
    if (LastHttpError() == os::kHttpErrorInsufficientBuffer) {
        os::DebugOutput("update: the reply for " + BuildAppKey(row) + " is too long\n");
        return info;
    }
    ParseUpdateReply(
        std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(n)), row,
        info);
    return info;
}

}  // namespace net
