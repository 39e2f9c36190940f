#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace os {

class Event;

// Error codes of a transfer, with the values the system's HTTP client reports.
inline constexpr uint32_t kHttpErrorNone = 0;
inline constexpr uint32_t kHttpErrorInsufficientBuffer = 122;  // the reply did not fit
inline constexpr uint32_t kHttpErrorTimeout = 12002;
inline constexpr uint32_t kHttpErrorInternal = 12004;
inline constexpr uint32_t kHttpErrorInvalidUrl = 12005;
inline constexpr uint32_t kHttpErrorUnrecognizedScheme = 12006;
inline constexpr uint32_t kHttpErrorNameNotResolved = 12007;
inline constexpr uint32_t kHttpErrorCancelled = 12017;
inline constexpr uint32_t kHttpErrorCannotConnect = 12029;
inline constexpr uint32_t kHttpErrorConnectionError = 12030;
inline constexpr uint32_t kHttpErrorInvalidServerResponse = 12152;
inline constexpr uint32_t kHttpErrorSecureFailure = 12175;

// One HTTP request over libcurl.
struct HttpTransferRequest {
    std::string method;  // sent as given ("GET", "POST")
    std::string url;
    std::vector<std::string> headers;  // "Name: value" lines
    const uint8_t* body = nullptr;
    size_t bodyLength = 0;
    std::string userAgent;
    // Milliseconds; 0 is no limit. Sending and receiving have no per-call time-out in libcurl:
    // a transfer that moves no byte for that long ends instead.
    int connectTimeoutMs = 0;
    int sendTimeoutMs = 0;
    int receiveTimeoutMs = 0;
    // HTTPS: the server's certificate is checked against the system's trust store, or against
    // caFile alone when one is named. Off: any certificate is taken.
    bool verifyPeer = true;
    std::string caFile;
    // A proxy URL ("http://host:port"); empty: the request goes direct, whatever the
    // environment says.
    std::string proxy;
    // Setting it ends the transfer at once (kHttpErrorCancelled).
    const Event* abort = nullptr;
};

struct HttpTransferResult {
    uint32_t error = kHttpErrorNone;
    // The request reached the server (connection and, for HTTPS, the handshake were made).
    bool sent = false;
    long status = 0;        // HTTP status, 0 when no reply came
    size_t bodyLength = 0;  // bytes written into the caller's buffer
    std::string errorText;  // libcurl's explanation of a failure, for the log
};

// Runs the request and copies the response body into buffer, stopping at capacity (then
// error kHttpErrorInsufficientBuffer). Blocks the calling thread; safe from any thread, one
// transfer per call.
HttpTransferResult HttpTransfer(const HttpTransferRequest& request, uint8_t* buffer,
                                size_t capacity);

// The user's proxy for a URL from the usual environment variables (https_proxy, http_proxy,
// all_proxy, upper-case forms too; no_proxy respected), or "" for none.
std::string ProxyForUrl(const std::string& url);

}  // namespace os
