#pragma once

// Test helper: an HTTP/1.1 server on 127.0.0.1 that records each request and answers it with
// what the test's handler returns. One connection at a time, on a thread of its own.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace net::testing {

struct RecordedRequest {
    std::string method;
    std::string path;
    std::vector<std::string> headers;  // "Name: value" as received
    std::string body;

    // The value of the first header of that name (any case), or "" when absent.
    std::string Header(const std::string& name) const;
};

struct CannedReply {
    int status = 200;
    std::string body;
    // Holds the reply back this long (the connection stays open and silent).
    int delayMs = 0;
};

class LoopbackHttpServer {
  public:
    using Handler = std::function<CannedReply(const RecordedRequest&)>;

    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();  // stops the thread, also while a reply is held back
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t port() const { return port_; }
    // "127.0.0.1:<port>"
    std::string HostAndPort() const;
    std::vector<RecordedRequest> Requests() const;

    // A port on 127.0.0.1 where nothing listens (bound once, then released).
    static uint16_t UnusedPort();

  private:
    void Serve();
    void Answer(int fd);

    Handler handler_;
    int listenFd_ = -1;
    int stopFd_ = -1;
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    std::vector<RecordedRequest> requests_;
    std::thread thread_;
};

}  // namespace net::testing
