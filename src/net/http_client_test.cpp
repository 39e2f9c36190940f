#include "net/http_client.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "net/testing/loopback_http_server.h"
#include "os/event.h"
#include "os/http_transfer.h"

extern char** environ;

namespace net {
namespace {

using testing::CannedReply;
using testing::LoopbackHttpServer;
using testing::RecordedRequest;

constexpr size_t kBufferSize = 102400;

struct Reply {
    int result = 0;
    std::string text;  // the buffer up to its first zero byte
};

Reply Request(const std::string& method, const std::string& url, const std::string& body = {},
              size_t bufferSize = kBufferSize, const os::Event* abort = nullptr) {
    std::vector<uint8_t> buffer(bufferSize + 1, 0);  // one spare zero byte as terminator
    Reply r;
    r.result = HttpRequest(method, url, reinterpret_cast<const uint8_t*>(body.data()), body.size(),
                           buffer.data(), bufferSize, abort);
    r.text = reinterpret_cast<const char*>(buffer.data());
    return r;
}

class HttpClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // The user's proxy must not take part in loopback requests.
        for (const char* v : {"http_proxy", "https_proxy", "all_proxy", "HTTPS_PROXY", "ALL_PROXY",
                              "no_proxy", "NO_PROXY"})
            unsetenv(v);
        ResetHttpClient();
    }
};

TEST_F(HttpClientTest, MethodsAreSentInUpperCaseOthersAreRefused) {
    LoopbackHttpServer server(
        [](const RecordedRequest& r) { return CannedReply{.body = "answer to " + r.method}; });
    const std::string url = "http://" + server.HostAndPort() + "/api/updates";
    struct Case {
        const char* method;
        int result;
        const char* text;
        uint32_t lastError;
    };
    const Case cases[] = {
        {"get", 13, "answer to GET", 0},
        {"Post", 14, "answer to POST", 0},
        {"PUT", -1, "", 87},
        {"DELETE", -1, "", 87},
        {"", -1, "", 87},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        const Reply r = Request(c.method, url);
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(LastHttpError(), c.lastError);
    }
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].path, "/api/updates");

    EXPECT_EQ(Request("GET", "").result, -1);
    EXPECT_EQ(LastHttpError(), 3u);
}

TEST_F(HttpClientTest, PostSendsTheBodyWithItsLengthAndTheFixedHeaders) {
    LoopbackHttpServer server([](const RecordedRequest&) { return CannedReply{.body = "{}"}; });
    const std::string body = "app_key=NULL&version";  // 20 bytes
    ASSERT_EQ(body.size(), 20u);
    const Reply r = Request("POST", "http://" + server.HostAndPort() + "/api/updates", body);
    EXPECT_EQ(r.result, 2);
    ASSERT_EQ(server.Requests().size(), 1u);
    const RecordedRequest got = server.Requests()[0];
    EXPECT_EQ(got.method, "POST");
    EXPECT_EQ(got.Header("Content-Length"), "20");
    EXPECT_EQ(got.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(got.Header("Accept"), "application/prs.Tilmo.v1+json");
    EXPECT_EQ(got.Header("User-Agent"), "WinHTTP Client/1.0");
    EXPECT_EQ(got.Header("Expect"), "");
    EXPECT_EQ(got.body, body);
}

TEST_F(HttpClientTest, ErrorPagesAreBodiesLikeAnyOther) {
    LoopbackHttpServer server(
        [](const RecordedRequest&) { return CannedReply{.status = 500, .body = "oops"}; });
    const Reply r = Request("GET", "http://" + server.HostAndPort() + "/");
    EXPECT_EQ(r.result, 4);
    EXPECT_EQ(r.text, "oops");
    EXPECT_EQ(LastHttpError(), 0u);
}

TEST_F(HttpClientTest, NoServerLeavesTheNoLinkMarker) {
    const std::string url =
        "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::UnusedPort()) + "/api/updates";
    const Reply r = Request("POST", url, "app_key=x");
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.text, "NO_LINK_SERVER");
    EXPECT_EQ(LastHttpError(), os::kHttpErrorCannotConnect);
}

TEST_F(HttpClientTest, AReplyLargerThanTheBufferStopsAtItsEnd) {
    LoopbackHttpServer server(
        [](const RecordedRequest&) { return CannedReply{.body = std::string(5000, 'x')}; });
    const Reply r = Request("GET", "http://" + server.HostAndPort() + "/", {}, 1000);
    EXPECT_EQ(r.result, 1000);
    EXPECT_EQ(r.text, std::string(1000, 'x'));
    EXPECT_EQ(LastHttpError(), os::kHttpErrorInsufficientBuffer);
}

TEST_F(HttpClientTest, AbortEndsAWaitingRequestAtOnce) {
    LoopbackHttpServer server(
        [](const RecordedRequest&) { return CannedReply{.body = "late", .delayMs = 20000}; });
    os::Event abort;
    std::thread stopper([&abort] {
        os::SleepMs(100);
        abort.Set();
    });
    // Without the abort the reply would come after 20 s.
    const Reply r = Request("GET", "http://" + server.HostAndPort() + "/", {}, kBufferSize, &abort);
    stopper.join();
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.text, "");  // it was sent; only the reply is missing
    EXPECT_EQ(LastHttpError(), os::kHttpErrorCancelled);
}

TEST_F(HttpClientTest, TheUsersProxyIsTriedWhenTheDirectAttemptFails) {
    // The proxy is a loopback server too: it sees the absolute URL of the request.
    LoopbackHttpServer proxy(
        [](const RecordedRequest& r) { return CannedReply{.body = "via proxy " + r.path}; });
    const std::string url =
        "http://127.0.0.1:" + std::to_string(LoopbackHttpServer::UnusedPort()) + "/api/updates";
    setenv("http_proxy", ("http://" + proxy.HostAndPort()).c_str(), 1);
    const Reply r = Request("GET", url);
    unsetenv("http_proxy");
    EXPECT_EQ(r.text, "via proxy " + url);
    EXPECT_EQ(r.result, static_cast<int>(r.text.size()));
}

// HTTPS with a certificate made for the test by the openssl command-line tool, served by its
// s_server. Skipped where openssl is not installed.
class HttpsTest : public HttpClientTest {
  protected:
    void SetUp() override {
        HttpClientTest::SetUp();
        if (system("command -v openssl >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "openssl is not installed";
        char tmpl[] = "/tmp/https_test_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        const std::string make =
            "cd " + dir_ +
            " && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem"
            " -days 2 -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1"
            " >/dev/null 2>&1";
        ASSERT_EQ(system(make.c_str()), 0);
        std::ofstream(dir_ + "/reply.json") << R"({"name":"KB"})";
        port_ = LoopbackHttpServer::UnusedPort();
        const std::string port = std::to_string(port_);
        const std::string cert = dir_ + "/cert.pem";
        const std::string key = dir_ + "/key.pem";
        const char* argv[] = {"openssl", "s_server",   "-quiet", "-WWW",
                              "-accept", port.c_str(), "-cert",  cert.c_str(),
                              "-key",    key.c_str(),  nullptr};
        // s_server serves the files of its working folder.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, dir_.c_str());
        const int spawned = posix_spawnp(&pid_, "openssl", &actions, nullptr,
                                         const_cast<char* const*>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        ASSERT_EQ(spawned, 0);
        // Ready once it accepts connections.
        for (int i = 0; i < 100; ++i) {
            const Reply probe = Request("GET", "http://127.0.0.1:" + port + "/");
            if (LastHttpError() != os::kHttpErrorCannotConnect) break;
            (void)probe;
            os::SleepMs(50);
        }
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    std::string Url() const { return "https://127.0.0.1:" + std::to_string(port_) + "/reply.json"; }

    std::string dir_;
    uint16_t port_ = 0;
    pid_t pid_ = 0;
};

TEST_F(HttpsTest, ASelfSignedServerIsRefusedUnlessItsCertificateIsNamed) {
    Reply r = Request("GET", Url());
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.text, "NO_LINK_SERVER");
    EXPECT_EQ(LastHttpError(), os::kHttpErrorSecureFailure);

    HttpClientSettings settings = GetHttpClientSettings();
    settings.caFile = dir_ + "/cert.pem";
    SetHttpClientSettings(settings);
    r = Request("GET", Url());
    EXPECT_EQ(r.text, R"({"name":"KB"})");
    EXPECT_EQ(r.result, 13);
    EXPECT_EQ(LastHttpError(), 0u);

    // With checks off (the client's own choice), any certificate is taken.
    ResetHttpClient();
    settings = GetHttpClientSettings();
    settings.verifyCertificates = false;
    SetHttpClientSettings(settings);
    r = Request("GET", Url());
    EXPECT_EQ(r.text, R"({"name":"KB"})");
}

}  // namespace
}  // namespace net
