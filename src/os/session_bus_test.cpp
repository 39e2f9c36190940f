#include "os/session_bus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "os/event.h"
#include "os/settings_store.h"
#include "os/testing/bus_peer.h"
#include "os/testing/private_session_bus.h"

namespace os {
namespace {

// A second program on the same bus: counts wake broadcasts, keeps the last copy-data record and
// answers an "echo" command.
class Peer {
  public:
    explicit Peer(std::string title)
        : peer_(
              "PeerClass", std::move(title),
              [this](uint32_t msg, WPARAM w, LPARAM l) -> LRESULT {
                  if (msg == wake_ && w == 0 && l == 1) ++broadcasts;
                  if (msg == wake_) return 99;
                  if (msg == WM_COPYDATA) {
                      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
                      copyId = cds->dwData;
                      copyText.assign(static_cast<const char*>(cds->lpData), cds->cbData);
                      copyBytes = static_cast<int>(cds->cbData);
                      return 7;
                  }
                  return 0;
              },
              [](SessionBus& bus) {
                  bus.SetCommandHandler("echo",
                                        [](const std::vector<std::string>& args, std::string& out) {
                                            for (const std::string& a : args) out += a + ";";
                                            return static_cast<int>(args.size());
                                        });
              }) {}
    HWND hwnd() const { return peer_.hwnd(); }
    std::atomic<int> broadcasts{0};
    std::atomic<int> copyBytes{-1};
    std::atomic<uintptr_t> copyId{0};
    std::string copyText;

  private:
    const uint32_t wake_ = RegisterWindowMessage("Brasvik M402");
    testing::BusPeer peer_;
};

TEST(SessionBus, BroadcastFindSendAndCopyDataReachAnotherProgram) {
    testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();

    Peer peer("Companion");
    MessageLoop loop;
    SessionBus bus;
    ASSERT_TRUE(bus.Connect(loop));
    const uint32_t wake = RegisterWindowMessage("Brasvik M402");

    ASSERT_TRUE(bus.Broadcast(wake, 0, 1));
    const int64_t until = MonotonicMs() + 10000;
    while (peer.broadcasts == 0 && MonotonicMs() < until) loop.RunOnce(20);
    EXPECT_EQ(peer.broadcasts, 1);

    SessionBus::RemoteWindow w = bus.FindWindow("PeerClass", "Companion");
    ASSERT_TRUE(w);
    EXPECT_FALSE(w.peer.empty());
    EXPECT_EQ(w.hwnd, peer.hwnd());
    EXPECT_FALSE(bus.FindWindow("PeerClass", "Nobody"));
    EXPECT_TRUE(bus.FindWindow("", "Companion"));

    bool ok = false;
    EXPECT_EQ(bus.SendRegistered(w, wake, 3, 4, 2000, &ok), 99);
    EXPECT_TRUE(ok);
    const char text[] = "audio";
    EXPECT_EQ(bus.SendCopyData(w, 0x1234, 2, text, 5, 2000, &ok), 7);
    EXPECT_TRUE(ok);
    EXPECT_EQ(peer.copyId, 2u);
    EXPECT_EQ(peer.copyBytes, 5);
    EXPECT_EQ(peer.copyText, "audio");

    int status = -1;
    std::string output;
    EXPECT_TRUE(bus.CallCommand(w.peer, "echo", {"plug", "mouse"}, 2000, &status, &output));
    EXPECT_EQ(status, 2);
    EXPECT_EQ(output, "plug;mouse;");
    EXPECT_TRUE(bus.CallCommand(w.peer, "nope", {}, 2000, &status, &output));
    EXPECT_EQ(status, 127);
    EXPECT_FALSE(bus.CallCommand("org.brasvik.M402.Nobody", "echo", {}, 2000, &status, &output));

    std::string big(SessionBus::kMaxCopyData + 1, 'x');
    EXPECT_EQ(bus.SendCopyData(w, 0, 1, big.data(), big.size(), 2000, &ok), 0);
    EXPECT_FALSE(ok);
}

TEST(SessionBus, SingleInstanceOnTheBusAndWithTheLockFileFallback) {
    {
        testing::PrivateSessionBus privateBus;
        if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
        MessageLoop loop;
        SessionBus first, second;
        ASSERT_TRUE(first.Connect(loop));
        ASSERT_TRUE(second.Connect(loop));
        EXPECT_EQ(first.ClaimSingleInstance(), SessionBus::Instance::First);
        EXPECT_EQ(second.ClaimSingleInstance(), SessionBus::Instance::AlreadyRunning);
    }
    // Without a bus (address pointing nowhere) the lock file guards the instance.
    char dir[] = "/tmp/brasvik-rt-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    ::setenv("XDG_RUNTIME_DIR", dir, 1);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    MessageLoop loop;
    SessionBus first, second;
    EXPECT_FALSE(first.Connect(loop));
    EXPECT_EQ(first.ClaimSingleInstance(), SessionBus::Instance::First);
    EXPECT_EQ(second.ClaimSingleInstance(), SessionBus::Instance::AlreadyRunning);
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::unsetenv("XDG_RUNTIME_DIR");
}

TEST(SettingsStore, RoundTripAndKeyExistsAsItsOwnState) {
    char dir[] = "/tmp/brasvik-settings-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/sub/settings.ini";
    {
        SettingsStore s(file);
        EXPECT_FALSE(s.KeyExists("SOFTWARE\\Brasvik M402"));
        EXPECT_FALSE(s.GetDword("SOFTWARE\\Brasvik M402", "LANGUAGE"));
        ASSERT_TRUE(s.CreateKey("SOFTWARE\\Brasvik M402"));
        EXPECT_TRUE(s.KeyExists("software\\brasvik m402"));
        EXPECT_FALSE(s.GetDword("SOFTWARE\\Brasvik M402", "LANGUAGE"));
        ASSERT_TRUE(s.SetDword("SOFTWARE\\Brasvik M402", "LANGUAGE", 3));
        ASSERT_TRUE(s.SetString("SOFTWARE\\Other", "Path", "a\\b\nc=d"));
    }
    SettingsStore again(file);
    EXPECT_EQ(again.GetDword("SOFTWARE\\Brasvik M402", "language"), 3u);
    EXPECT_EQ(again.GetString("SOFTWARE\\Other", "Path"), "a\\b\nc=d");
    EXPECT_FALSE(again.GetString("SOFTWARE\\Brasvik M402", "LANGUAGE"));  // wrong type
    EXPECT_TRUE(again.DeleteKey("SOFTWARE\\Other"));
    EXPECT_FALSE(again.KeyExists("SOFTWARE\\Other"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace os
