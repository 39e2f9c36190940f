#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace os {
class Event;
}

namespace net {

// Written at the start of the response buffer when a request could not be sent at all.
inline constexpr const char* kNoLinkServer = "NO_LINK_SERVER";

// The client's settings, one set for the whole process, back to these defaults with
// ResetHttpClient before every use.
struct HttpClientSettings {
    std::string userAgent = "WinHTTP Client/1.0";
    // HTTPS servers must show a certificate the system trusts, or the one in caFile when a
    // certificate file is named (a self-signed update server, for example). Off: any
    // certificate is taken.
    bool verifyCertificates = true;
    std::string caFile;
    int resolveTimeoutMs = 0;  // name lookups count against the connect time-out
    int connectTimeoutMs = 60000;
    int sendTimeoutMs = 30000;
    int receiveTimeoutMs = 30000;
};

// Sets the defaults above and clears the last error.
void ResetHttpClient();
HttpClientSettings GetHttpClientSettings();
void SetHttpClientSettings(const HttpClientSettings& settings);

// Sends one request and appends the response body to buffer (zero-filled by the caller, no
// terminator written), never beyond bufferSize bytes. method is "GET" or "POST" in any case and
// goes out in upper case; the body is sent form-encoded.
//
// Returns the number of body bytes written; -1 for a refused call (empty URL: last error 3,
// another method: 87, no buffer: 87), buffer untouched. A request that could not be sent
// (no route, refused, name unknown, certificate refused) leaves "NO_LINK_SERVER" at the start
// of the buffer and returns 0; one whose reply was lost returns 0. A reply larger than the
// buffer fills it and sets last error 122. The HTTP status does not change the result.
//
// When the direct attempt cannot be sent and the user's environment names a proxy for the URL,
// the request is sent once more through it. Setting abort ends the call within a few
// milliseconds (last error 12017).
int HttpRequest(const std::string& method, const std::string& url, const uint8_t* body,
                size_t bodyLength, uint8_t* buffer, size_t bufferSize,
                const os::Event* abort = nullptr);

// The error code of the last failure (0 after a success).
uint32_t LastHttpError();

}  // namespace net
