#include "os/http_transfer.h"

#include <curl/curl.h>
#include <poll.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "os/event.h"

namespace os {

namespace {

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    uint8_t* buffer;
    size_t capacity;
    size_t length = 0;
    bool overflow = false;
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t n = size * count;
    const size_t room = sink->capacity - sink->length;
    const size_t take = std::min(n, room);
    if (take > 0) std::memcpy(sink->buffer + sink->length, data, take);
    sink->length += take;
    if (take < n) {
        // Returning less than was offered ends the transfer: the reply is larger than the
        // caller is willing to hold.
        sink->overflow = true;
        return take;
    }
    return n;
}

uint32_t MapError(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return kHttpErrorNone;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return kHttpErrorUnrecognizedScheme;
        case CURLE_URL_MALFORMAT:
            return kHttpErrorInvalidUrl;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return kHttpErrorNameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return kHttpErrorCannotConnect;
        case CURLE_OPERATION_TIMEDOUT:
            return kHttpErrorTimeout;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return kHttpErrorSecureFailure;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_HTTP2:
        case CURLE_BAD_CONTENT_ENCODING:
            return kHttpErrorInvalidServerResponse;
        case CURLE_ABORTED_BY_CALLBACK:
            return kHttpErrorCancelled;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            return kHttpErrorConnectionError;
        default:
            return kHttpErrorInternal;
    }
}

struct EasyDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};
struct ListDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

// Runs the easy handle to its end on a multi handle of its own, so that the abort event can be
// waited for together with the transfer's sockets.
CURLcode Run(CURL* easy, const Event* abort, bool* aborted) {
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi) return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi.get(), easy);
    CURLcode result = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        if (running == 0) {
            int queued = 0;
            result = CURLE_RECV_ERROR;
            while (CURLMsg* msg = curl_multi_info_read(multi.get(), &queued)) {
                if (msg->msg == CURLMSG_DONE) result = msg->data.result;
            }
            break;
        }
        curl_waitfd extra{};
        unsigned extraCount = 0;
        if (abort != nullptr) {
            extra.fd = abort->fd();
            extra.events = CURL_WAIT_POLLIN;
            extraCount = 1;
        }
        int ready = 0;
        curl_multi_wait(multi.get(), extraCount ? &extra : nullptr, extraCount, 100, &ready);
        if (abort != nullptr && abort->IsSet()) {
            *aborted = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return result;
}

std::string EnvValue(const char* lower, const char* upper) {
    for (const char* name : {lower, upper}) {
        const char* v = std::getenv(name);
        if (v != nullptr && *v != '\0') return v;
    }
    return {};
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool HostBypassesProxy(const std::string& host, const std::string& noProxy) {
    size_t start = 0;
    while (start <= noProxy.size()) {
        size_t end = noProxy.find(',', start);
        if (end == std::string::npos) end = noProxy.size();
        std::string entry = noProxy.substr(start, end - start);
        entry.erase(0, entry.find_first_not_of(" \t"));
        entry.erase(entry.find_last_not_of(" \t") + 1);
        if (!entry.empty() && entry[0] == '.') entry.erase(0, 1);
        entry = Lower(entry);
        if (entry == "*") return true;
        if (!entry.empty() &&
            (host == entry || (host.size() > entry.size() && host.ends_with(entry) &&
                               host[host.size() - entry.size() - 1] == '.')))
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::string ProxyForUrl(const std::string& url) {
    CURLU* u = curl_url();
    if (u == nullptr) return {};
    std::string scheme;
    std::string host;
    if (curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* part = nullptr;
        if (curl_url_get(u, CURLUPART_SCHEME, &part, 0) == CURLUE_OK) {
            scheme = Lower(part);
            curl_free(part);
        }
        if (curl_url_get(u, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
            host = Lower(part);
            curl_free(part);
        }
    }
    curl_url_cleanup(u);
    if (host.empty() || HostBypassesProxy(host, EnvValue("no_proxy", "NO_PROXY"))) return {};
    std::string proxy =
        scheme == "https" ? EnvValue("https_proxy", "HTTPS_PROXY") : EnvValue("http_proxy", "");
    if (proxy.empty()) proxy = EnvValue("all_proxy", "ALL_PROXY");
    return proxy;
}

HttpTransferResult HttpTransfer(const HttpTransferRequest& request, uint8_t* buffer,
                                size_t capacity) {
    GlobalInit();
    HttpTransferResult result;
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    if (!easy) {
        result.error = kHttpErrorInternal;
        return result;
    }
    CURL* c = easy.get();
    Sink sink{buffer, buffer != nullptr ? capacity : 0};
    char errorText[CURL_ERROR_SIZE] = {};

    std::unique_ptr<curl_slist, ListDeleter> headers;
    std::vector<std::string> lines = request.headers;
    lines.push_back("Expect:");  // the body goes with the request, without a first round trip
    for (const std::string& h : lines) {
        curl_slist* next = curl_slist_append(headers.get(), h.c_str());
        if (next == nullptr) break;
        headers.release();
        headers.reset(next);
    }

    curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    if (request.method == "POST" || request.bodyLength > 0) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body != nullptr ? request.body : buffer);
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body != nullptr ? request.bodyLength : 0));
    } else {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    if (!request.userAgent.empty())
        curl_easy_setopt(c, CURLOPT_USERAGENT, request.userAgent.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    if (request.connectTimeoutMs > 0)
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.connectTimeoutMs));
    const int idleMs = std::max(request.sendTimeoutMs, request.receiveTimeoutMs);
    if (idleMs > 0) {
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>((idleMs + 999) / 1000));
    }
    curl_easy_setopt(c, CURLOPT_PROXY, request.proxy.c_str());
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, request.verifyPeer ? 1L : 0L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, request.verifyPeer ? 2L : 0L);
    if (request.verifyPeer && !request.caFile.empty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, request.caFile.c_str());
        curl_easy_setopt(c, CURLOPT_CAPATH, nullptr);
    }

    bool aborted = false;
    const CURLcode code = Run(c, request.abort, &aborted);
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(c, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.status);
    result.sent = pretransfer > 0 || result.status != 0;
    result.bodyLength = sink.length;
    if (sink.overflow) {
        result.error = kHttpErrorInsufficientBuffer;
        result.errorText = "the reply is larger than " + std::to_string(capacity) + " bytes";
    } else {
        result.error = MapError(code);
        if (code != CURLE_OK)
            result.errorText = errorText[0] != '\0' ? errorText : curl_easy_strerror(code);
        if (aborted) result.errorText = "cancelled";
    }
    return result;
}

}  // namespace os
