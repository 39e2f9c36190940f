#include "net/http_client.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

#include "os/debug_output.h"
#include "os/http_transfer.h"

namespace net {

namespace {

constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorInvalidParameter = 87;

std::mutex g_mutex;
HttpClientSettings g_settings;
uint32_t g_lastError = 0;

void SetLastError(uint32_t error) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lastError = error;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

void ResetHttpClient() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_settings = HttpClientSettings{};
    g_lastError = 0;
}

HttpClientSettings GetHttpClientSettings() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_settings;
}

void SetHttpClientSettings(const HttpClientSettings& settings) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_settings = settings;
}

uint32_t LastHttpError() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_lastError;
}

int HttpRequest(const std::string& method, const std::string& url, const uint8_t* body,
                size_t bodyLength, uint8_t* buffer, size_t bufferSize, const os::Event* abort) {
    if (url.empty()) {
        SetLastError(kErrorPathNotFound);
        return -1;
    }
    const std::string verb = Upper(method);
    if ((verb != "GET" && verb != "POST") || buffer == nullptr || bufferSize == 0) {
        SetLastError(kErrorInvalidParameter);
        return -1;
    }
    const HttpClientSettings settings = GetHttpClientSettings();

    os::HttpTransferRequest request;
    request.method = verb;
    request.url = url;
    request.headers = {"Content-Length: " + std::to_string(bodyLength),
                       "Content-Type: application/x-www-form-urlencoded",
                       "Accept:application/prs.Tilmo.v1+json"};
    request.body = body;
    request.bodyLength = body != nullptr ? bodyLength : 0;
    request.userAgent = settings.userAgent;
    request.connectTimeoutMs = settings.connectTimeoutMs;
    request.sendTimeoutMs = settings.sendTimeoutMs;
    request.receiveTimeoutMs = settings.receiveTimeoutMs;
    request.verifyPeer = settings.verifyCertificates;
    request.caFile = settings.caFile;
    request.abort = abort;

    os::HttpTransferResult result = os::HttpTransfer(request, buffer, bufferSize);
    if (!result.sent && result.error != os::kHttpErrorCancelled) {
        const std::string proxy = os::ProxyForUrl(url);
        if (!proxy.empty()) {
            os::DebugOutput("http: " + url + " not reached directly (" + result.errorText +
                            "), trying the proxy " + proxy + "\n");
            request.proxy = proxy;
            result = os::HttpTransfer(request, buffer, bufferSize);
        }
    }
    SetLastError(result.error);
    if (!result.sent) {
        os::DebugOutput("http: " + verb + " " + url + " not sent: " + result.errorText + "\n");
        const size_t n = std::min(bufferSize, std::strlen(kNoLinkServer));
        std::memcpy(buffer, kNoLinkServer, n);
        return 0;
    }
    if (result.error != os::kHttpErrorNone) {
        os::DebugOutput("http: " + verb + " " + url + ": " + result.errorText + "\n");
        // A reply that did not fit is handed over as far as it came; a lost one is not.
        if (result.error != os::kHttpErrorInsufficientBuffer) {
            std::memset(buffer, 0, result.bodyLength);
            return 0;
        }
    }
    return static_cast<int>(std::min<size_t>(result.bodyLength, INT32_MAX));
}

}  // namespace net
