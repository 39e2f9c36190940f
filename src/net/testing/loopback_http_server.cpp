#include "net/testing/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace net::testing {

namespace {

int ListenOnLoopback(uint16_t* port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(fd, 8) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(addr.sin_port);
    return fd;
}

// Waits for fd or the stop descriptor; false when stopped or after timeoutMs.
bool WaitReadable(int fd, int stopFd, int timeoutMs) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    if (poll(fds, 2, timeoutMs) <= 0) return false;
    return (fds[1].revents & POLLIN) == 0 && (fds[0].revents & (POLLIN | POLLHUP)) != 0;
}

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
    for (const std::string& h : headers) {
        const size_t colon = h.find(':');
        if (colon == name.size() && strncasecmp(h.c_str(), name.c_str(), colon) == 0) {
            std::string v = h.substr(colon + 1);
            v.erase(0, v.find_first_not_of(' '));
            return v;
        }
    }
    return {};
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = ListenOnLoopback(&port_);
    stopFd_ = eventfd(0, EFD_CLOEXEC);
    if (listenFd_ >= 0 && stopFd_ >= 0) thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    if (stopFd_ >= 0) {
        uint64_t one = 1;
        (void)!write(stopFd_, &one, sizeof(one));
    }
    if (thread_.joinable()) thread_.join();
    if (listenFd_ >= 0) close(listenFd_);
    if (stopFd_ >= 0) close(stopFd_);
}

std::string LoopbackHttpServer::HostAndPort() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<RecordedRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

uint16_t LoopbackHttpServer::UnusedPort() {
    uint16_t port = 0;
    int fd = ListenOnLoopback(&port);
    if (fd >= 0) close(fd);
    return port;
}

void LoopbackHttpServer::Serve() {
    while (WaitReadable(listenFd_, stopFd_, -1)) {
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        Answer(fd);
        close(fd);
    }
}

void LoopbackHttpServer::Answer(int fd) {
    std::string data;
    char chunk[4096];
    size_t headerEnd = std::string::npos;
    size_t bodyLength = 0;
    RecordedRequest request;
    for (;;) {
        if (headerEnd == std::string::npos) {
            headerEnd = data.find("\r\n\r\n");
            if (headerEnd != std::string::npos) {
                size_t lineEnd = data.find("\r\n");
                const std::string first = data.substr(0, lineEnd);
                const size_t sp1 = first.find(' ');
                const size_t sp2 = first.find(' ', sp1 + 1);
                request.method = first.substr(0, sp1);
                request.path = first.substr(sp1 + 1, sp2 - sp1 - 1);
                size_t pos = lineEnd + 2;
                while (pos < headerEnd) {
                    size_t end = data.find("\r\n", pos);
                    request.headers.push_back(data.substr(pos, end - pos));
                    pos = end + 2;
                }
                bodyLength = std::strtoul(request.Header("Content-Length").c_str(), nullptr, 10);
            }
        }
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + bodyLength) break;
        if (!WaitReadable(fd, stopFd_, 10000)) return;
        const ssize_t n = recv(fd, chunk, sizeof(chunk), 0);
        if (n <= 0) return;
        data.append(chunk, static_cast<size_t>(n));
    }
    request.body = data.substr(headerEnd + 4, bodyLength);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    const CannedReply reply = handler_(request);
    if (reply.delayMs > 0) {
        // Held back: only the end of the test (or the client going away) ends the wait.
        pollfd fds[2] = {{fd, POLLRDHUP, 0}, {stopFd_, POLLIN, 0}};
        if (poll(fds, 2, reply.delayMs) != 0) return;
    }
    std::string out = "HTTP/1.1 " + std::to_string(reply.status) +
                      " X\r\nContent-Length: " + std::to_string(reply.body.size()) +
                      "\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n" +
                      reply.body;
    size_t sent = 0;
    while (sent < out.size()) {
        const ssize_t n = send(fd, out.data() + sent, out.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

}  // namespace net::testing
