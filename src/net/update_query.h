#pragma once

#include <cstddef>
#include <string>

#include "net/update_table.h"

namespace os {
class Event;
}

namespace net {

// Item states of the update list that the check hands out.
inline constexpr int kUpdateStatusAvailable = 1;
inline constexpr int kUpdateStatusUpToDate = 7;

// The answer about one row.
struct UpdateInfo {
    int status = 0;
    int deviceId = 0;            // "device_id" of the reply (kept, not used further)
    std::string name;            // the row's list label once the check has it
    std::string newVersionText;  // "V" + "version"; a decimal row: "version_name"
    std::string currentVersionText;
    std::string versionName;
    std::string downloadPath;  // "path" of the reply: only ever shown, never opened
    std::string localFile;     // where a download would go
};

// The bound on a reply: larger ones count as no answer.
inline constexpr size_t kUpdateReplyLimit = 102400;

// Where the update service lives: "http://" + host + "/api/updates" for a plain host
// ("updates.example.org", "127.0.0.1:8080"), or the host's own scheme when it names one
// ("https://updates.example.org"). Empty when no host is configured.
std::string UpdateServiceUrl(const std::string& host);

// The request body: "app_key=" + key + "&version=" + the current version ("%x" for a
// hexadecimal row, "%d" otherwise).
std::string UpdateRequestBody(const UpdateRow& row);

// Reads a reply as the service's JSON. The reply is not trusted: anything but an object, or a
// known field of the wrong type, gives false and leaves info as it was.
bool ParseUpdateReply(const std::string& reply, const UpdateRow& row, UpdateInfo& info);

// One request and reply for a row. An empty host, no connection or no reply leaves name as the
// buffer's text ("NO_LINK_SERVER" when nothing could be sent, otherwise empty) and status 0;
// a reply that is no usable JSON leaves the texts empty. caFile names the certificate an HTTPS
// service must show (empty: the system's trust store). abort ends the request early.
UpdateInfo QueryUpdate(const UpdateRow& row, const std::string& host, const std::string& caFile,
                       const os::Event* abort = nullptr);

}  // namespace net
