#include "net/update_check.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "net/http_client.h"
#include "net/testing/loopback_http_server.h"
#include "net/update_settings.h"
#include "os/message_loop.h"
#include "os/settings_store.h"

namespace net {
namespace {

using testing::CannedReply;
using testing::LoopbackHttpServer;
using testing::RecordedRequest;

UpdateRow Row(size_t index, int version) {
    UpdateRow row = DefaultUpdateTable()[index];
    row.currentVersion = version;
    return row;
}
constexpr size_t kKeyboardRow = 0;
constexpr size_t kMouseRow = 1;
constexpr size_t kAppRow = 3;

TEST(UpdateTableTest, KeysAndVersionTexts) {
    struct Case {
        UpdateRow row;
        const char* key;
        const char* body;
        const char* current;
    };
    UpdateRow viaReceiver = Row(kMouseRow, 0x0107);
    viaReceiver.keyNumber = -1;
    const Case cases[] = {
        {Row(kKeyboardRow, 0x0105), "TILMO_1_BV22AB_KB_1",
         "app_key=TILMO_1_BV22AB_KB_1&version=105", "V0105"},
        {viaReceiver, "TILMO_1_BV22A9_MS_-1", "app_key=TILMO_1_BV22A9_MS_-1&version=107", "V0107"},
        {Row(kAppRow, 103), "TILMO_0_ALL_M402_1", "app_key=TILMO_0_ALL_M402_1&version=103", "V103"},
        {Row(kKeyboardRow, 0x01AF), "TILMO_1_BV22AB_KB_1",
         "app_key=TILMO_1_BV22AB_KB_1&version=1af", "V01af"},
        {Row(kKeyboardRow, 0), "NULL", "app_key=NULL&version=0", "V0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(BuildAppKey(c.row), c.key);
        EXPECT_EQ(UpdateRequestBody(c.row), c.body);
        EXPECT_EQ(CurrentVersionText(c.row), c.current);
    }
}

TEST(UpdateTableTest, VersionTextsReadUpToTheFirstForeignCharacter) {
    struct Case {
        const char* text;
        bool hex;
        uint32_t value;
    };
    const Case cases[] = {
        {"106", true, 0x106}, {"106", false, 106},    {"1a0", false, 1},
        {"1a0", true, 0x1a0}, {"0x110", true, 0x110}, {"", false, 0},
        {"v12", false, 0},    {"12.5", false, 12},    {"FFFFFFFFFF", true, UINT32_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseVersionText(c.text, c.hex), c.value);
    }
    EXPECT_EQ(VersionFromText("1.0.3"), 103);
    EXPECT_EQ(VersionFromText("0.1.0"), 10);
    EXPECT_EQ(VersionFromText(""), 0);
    EXPECT_EQ(VersionFromText("99999999999"), 0);
}

TEST(UpdateTableTest, RefreshTakesVersionsFromTheConnectedDevices) {
    std::vector<UpdateRow> table = DefaultUpdateTable();
    RefreshVersions(table,
                    {{.productId = 0x22AB, .viaReceiver = true, .versionNumber = 0x0102},
                     {.productId = 0x22A9, .versionNumber = 0x0107},
                     {.productId = 0x1004, .versionNumber = 0x0200}},
                    "1.0.3");
    EXPECT_EQ(table[kKeyboardRow].currentVersion, 0x0102);
    EXPECT_EQ(table[kKeyboardRow].keyNumber, -1);
    EXPECT_EQ(table[kMouseRow].currentVersion, 0x0107);
    EXPECT_EQ(table[kMouseRow].keyNumber, 1);
    EXPECT_EQ(table[2].currentVersion, 0);
    EXPECT_EQ(table[kAppRow].currentVersion, 103);
    const std::vector<UpdateRow> rows = RowsToCheck(table);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].listLabel, "AP");

    // Unplugged again: the rows drop out of the check.
    RefreshVersions(table, {}, "");
    EXPECT_TRUE(RowsToCheck(table).empty());
}

TEST(UpdateTableTest, ServiceUrlFromTheConfiguredHost) {
    EXPECT_EQ(UpdateServiceUrl(""), "");
    EXPECT_EQ(UpdateServiceUrl("updates.example.org"), "http://updates.example.org/api/updates");
    EXPECT_EQ(UpdateServiceUrl("127.0.0.1:8080/"), "http://127.0.0.1:8080/api/updates");
    EXPECT_EQ(UpdateServiceUrl("https://updates.example.org"),
              "https://updates.example.org/api/updates");
}

class UpdateQueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        unsetenv("http_proxy");
        unsetenv("all_proxy");
        unsetenv("ALL_PROXY");
    }
};

TEST_F(UpdateQueryTest, RepliesAgainstCurrentVersions) {
    std::string reply;
    LoopbackHttpServer server(
        [&reply](const RecordedRequest&) { return CannedReply{.body = reply}; });
    const std::string big = R"({"name":"x","path":")" + std::string(110000, 'p') + R"("})";
    struct Case {
        const char* what;
        UpdateRow row;
        std::string reply;
        int status;
        const char* name;
        const char* newVersion;
    };
    const Case cases[] = {
        {"newer firmware", Row(kKeyboardRow, 0x0105),
         R"({"name":"KB_V106","path":"/fw/kb.bin","version":"106","version_name":"1.06","device_id":4})",
         1, "KB_V106", "V106"},
        {"same firmware", Row(kKeyboardRow, 0x0106), R"({"name":"KB","version":"106"})", 7, "KB",
         "V106"},
        {"decimal, same", Row(kAppRow, 103),
         R"({"name":"AP","version":"103","version_name":"V0103"})", 7, "AP", "V0103"},
        {"decimal, 1a0 reads as 1", Row(kAppRow, 1), R"({"name":"AP","version":"1a0"})", 7, "AP",
         ""},
        {"decimal, newer", Row(kAppRow, 103),
         R"({"name":"AP","version":"104","version_name":"V0104"})", 1, "AP", "V0104"},
        {"not JSON", Row(kKeyboardRow, 0x0105), "<html>busy</html>", 0, "", ""},
        {"JSON but no object", Row(kKeyboardRow, 0x0105), R"(["106"])", 0, "", ""},
        {"a number for a text", Row(kKeyboardRow, 0x0105), R"({"name":"KB","version":106})", 0, "",
         ""},
        {"an object for a text", Row(kKeyboardRow, 0x0105), R"({"name":{"a":1},"version":"1"})", 0,
         "", ""},
        {"a text for the device id", Row(kKeyboardRow, 0x0105),
         R"({"name":"KB","version":"106","device_id":"4"})", 0, "", ""},
        {"trailing rubbish", Row(kKeyboardRow, 0x0105), R"({"name":"KB"} {"name":"x"})", 0, "", ""},
        {"too long", Row(kKeyboardRow, 0x0105), big, 0, "", ""},
        {"empty", Row(kKeyboardRow, 0x0105), "", 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reply = c.reply;
        const UpdateInfo info = QueryUpdate(c.row, server.HostAndPort(), "");
        EXPECT_EQ(info.status, c.status);
        EXPECT_EQ(info.name, c.name);
        EXPECT_EQ(info.newVersionText, c.newVersion);
    }
    const std::vector<RecordedRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    EXPECT_EQ(requests[0].path, "/api/updates");
    // The body goes with its terminating zero byte.
    EXPECT_EQ(requests[0].body, std::string("app_key=TILMO_1_BV22AB_KB_1&version=105", 40));
    EXPECT_EQ(requests[0].Header("Content-Length"), "40");
}

TEST_F(UpdateQueryTest, NoServiceMeansNoLink) {
    const std::string closed = "127.0.0.1:" + std::to_string(LoopbackHttpServer::UnusedPort());
    for (const std::string& host : {std::string(), closed}) {
        SCOPED_TRACE(host);
        UpdateInfo info = QueryUpdate(Row(kKeyboardRow, 0x0105), host, "");
        EXPECT_EQ(info.name, "NO_LINK_SERVER");
        EXPECT_EQ(info.status, 0);
        // The check makes that an up-to-date row without a new version, counted as failed.
        EXPECT_TRUE(UpdateCheck::Settle(Row(kKeyboardRow, 0x0105), info));
        EXPECT_EQ(info.status, kUpdateStatusUpToDate);
        EXPECT_EQ(info.name, "KB");
        EXPECT_EQ(info.currentVersionText, "V0105");
        EXPECT_EQ(info.newVersionText, "");
        EXPECT_TRUE(info.localFile.ends_with("/UpdateData/KB.exe"));
    }
}

TEST(UpdateSettingsTest, HostFromTheStoreOverriddenByTheEnvironment) {
    char tmpl[] = "/tmp/update_settings_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    os::SettingsStore store(std::string(tmpl) + "/settings.ini");
    unsetenv(kUpdateServerEnv);
    unsetenv(kUpdateCertificateEnv);
    EXPECT_EQ(LoadUpdateServerConfig(store).host, "");
    store.SetString(kUpdateSettingsKey, kUpdateServerValue, "updates.example.org");
    store.SetString(kUpdateSettingsKey, kUpdateCertificateValue, "/etc/ca.pem");
    EXPECT_EQ(LoadUpdateServerConfig(store).host, "updates.example.org");
    EXPECT_EQ(LoadUpdateServerConfig(store).caFile, "/etc/ca.pem");
    setenv(kUpdateServerEnv, "127.0.0.1:1", 1);
    EXPECT_EQ(LoadUpdateServerConfig(store).host, "127.0.0.1:1");
    EXPECT_EQ(LoadUpdateServerConfig(store).caFile, "/etc/ca.pem");
    unsetenv(kUpdateServerEnv);
    std::filesystem::remove_all(tmpl);
}

TEST(UpdateSettingsTest, LastCheckDateIsKeptOrStartedToday) {
    char tmpl[] = "/tmp/update_date_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string file = std::string(tmpl) + "/updatetime.config";
    const std::string stored =
        "{\n   \"updatelasttime\" : {\n      \"value\" : \"2025-1-9\"\n   }\n}\n";
    struct Case {
        const char* what;
        const char* content;  // nullptr: no file
        std::string date;
    };
    const Case cases[] = {
        {"missing", nullptr, TodayText()},
        {"damaged", "{nope", TodayText()},
        {"a number", R"({"updatelasttime":{"value":7}})", TodayText()},
        {"stored", stored.c_str(), "2025-1-9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(file);
        if (c.content != nullptr) std::ofstream(file) << c.content;
        EXPECT_EQ(ReadLastCheckDate(file), c.date);
        EXPECT_EQ(ReadLastCheckDate(file), c.date);  // what was written reads back
    }
    EXPECT_TRUE(WriteLastCheckDate(file, "2026-3-7"));
    EXPECT_EQ(ReadLastCheckDate(file), "2026-3-7");
    std::filesystem::remove_all(tmpl);
    // No leading zeros.
    EXPECT_EQ(TodayText().find("-0"), std::string::npos);
}

// The thread against a server that answers each row in turn; the window is a plain target.
TEST_F(UpdateQueryTest, TheCheckThreadPostsEachRowAndTheEnd) {
    os::MessageLoop loop;
    LoopbackHttpServer server([](const RecordedRequest& r) {
        if (r.body.find("_KB_") != std::string::npos)
            return CannedReply{.body = R"({"name":"KB","version":"110","path":"/kb"})"};
        return CannedReply{.body = "not json"};
    });
    std::vector<std::pair<uint32_t, size_t>> posted;
    os::FunctionTarget target([&posted](uint32_t msg, os::WPARAM w, os::LPARAM) {
        posted.emplace_back(msg, w);
        return os::LRESULT{0};
    });
    const os::HWND window = os::CreateTarget(&target);
    UpdateCheck check;
    ASSERT_TRUE(check.Start(window, {Row(kKeyboardRow, 0x0105), Row(kAppRow, 103)},
                            {.host = server.HostAndPort(), .caFile = ""}));
    loop.RunUntil(
        [&] { return !posted.empty() && posted.back().first == UpdateCheck::kMsgCheckDone; });
    const std::vector<std::pair<uint32_t, size_t>> expected = {{UpdateCheck::kMsgRowDone, 0},
                                                               {UpdateCheck::kMsgRowDone, 1},
                                                               {UpdateCheck::kMsgCheckDone, 0}};
    EXPECT_EQ(posted, expected);
    EXPECT_EQ(check.Result(0)->status, kUpdateStatusAvailable);
    EXPECT_EQ(check.Result(0)->downloadPath, "/kb");
    EXPECT_EQ(check.Result(1)->status, kUpdateStatusUpToDate);
    EXPECT_EQ(check.Result(1)->currentVersionText, "V0101");  // the display version
    EXPECT_EQ(check.FailedConnections(), 0);
    os::DestroyTarget(window);
}

TEST_F(UpdateQueryTest, StopEndsACheckWhoseServerDoesNotAnswer) {
    os::MessageLoop loop;
    LoopbackHttpServer server(
        [](const RecordedRequest&) { return CannedReply{.body = "{}", .delayMs = 30000}; });
    os::FunctionTarget target([](uint32_t, os::WPARAM, os::LPARAM) { return os::LRESULT{0}; });
    const os::HWND window = os::CreateTarget(&target);
    UpdateCheck check;
    ASSERT_TRUE(check.Start(window, {Row(kKeyboardRow, 0x0105)},
                            {.host = server.HostAndPort(), .caFile = ""}));
    while (server.Requests().empty()) os::SleepMs(5);
    check.Stop();
    // Ended, not left behind: the abort reached the transfer.
    EXPECT_FALSE(check.Running());
    EXPECT_EQ(os::WorkerThread::AbandonedRunning(), 0);
    EXPECT_FALSE(check.Result(0).has_value());
    os::DestroyTarget(window);
}

}  // namespace
}  // namespace net
