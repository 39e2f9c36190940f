#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <climits>
#include <thread>
#include <vector>

#include "app/app_globals.h"
#include "app/companions/audio_companion.h"
#include "app/companions/light_control.h"
#include "app/companions/ruvuduvo_report.h"
#include "app/system_settings.h"
#include "os/event.h"
#include "os/message_loop.h"
#include "os/session_bus.h"
#include "os/testing/bus_peer.h"
#include "os/testing/private_session_bus.h"

namespace app {
namespace {

using Frame = std::array<int32_t, kAudioFrameValues>;

TEST(AudioFrames, EveryThirdFrameHandsOverOneLevelBlock) {
    AudioFrameProcessor audio;
    Frame frame{};
    // Group 0: changes 4, 8, 12, 16 and a fifth value that takes no part; values from 125 on
    // take no part either.
    frame[0] = 4;
    frame[1] = -8;
    frame[2] = 12;
    frame[3] = 16;
    frame[4] = 1000;
    frame[130] = 5000;
    EXPECT_FALSE(audio.Feed(frame.data(), sizeof frame));
    EXPECT_EQ(audio.levels()[0], 10);
    EXPECT_FALSE(audio.Feed(frame.data(), sizeof frame));
    // A frame equal to the previous one: 25 levels of 0.
    for (int32_t level : audio.levels()) EXPECT_EQ(level, 0);
    frame[5] = 40;  // group 1 changes by 40 in one of its four values
    const std::optional<AudioBlock> block = audio.Feed(frame.data(), sizeof frame);
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[0], 0);
    EXPECT_EQ((*block)[1], 10);
    for (size_t i = 2; i < block->size(); ++i) EXPECT_EQ((*block)[i], 0) << i;
    // The count starts again: two more frames hand nothing, the third does.
    EXPECT_FALSE(audio.Feed(frame.data(), sizeof frame));
    EXPECT_FALSE(audio.Feed(frame.data(), sizeof frame));
    EXPECT_TRUE(audio.Feed(frame.data(), sizeof frame));
}

TEST(AudioFrames, ShortLongAndExtremeFrames) {
    AudioFrameProcessor audio;
    Frame frame{};
    frame.fill(7);
    audio.Feed(frame.data(), sizeof frame);
    // A short frame leaves the rest as it was; longer data is cut to 500 values.
    const int32_t two[2] = {107, 7};
    audio.Feed(two, sizeof two);
    EXPECT_EQ(audio.levels()[0], 25);
    for (size_t j = 1; j < kAudioLevelCount; ++j) EXPECT_EQ(audio.levels()[j], 0);
    std::vector<int32_t> longer(600, 7);
    EXPECT_TRUE(audio.Feed(longer.data(), longer.size() * sizeof(int32_t)));
    // The whole 32-bit range: the level stays the largest positive value, never wraps.
    Frame low{};
    low.fill(INT32_MIN);
    Frame high{};
    high.fill(INT32_MAX);
    audio.Feed(low.data(), sizeof low);
    audio.Feed(high.data(), sizeof high);
    EXPECT_EQ(audio.levels()[0], INT32_MAX);

    std::array<uint8_t, kAudioBandBytes> bands{9, 9, 9, 9, 9, 9};
    const uint8_t three[3] = {1, 2, 3};
    CopyAudioBands(bands, three, sizeof three);
    EXPECT_EQ(bands, (std::array<uint8_t, kAudioBandBytes>{1, 2, 3, 9, 9, 9}));
    const uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CopyAudioBands(bands, eight, sizeof eight);
    EXPECT_EQ(bands, (std::array<uint8_t, kAudioBandBytes>{1, 2, 3, 4, 5, 6}));
}

TEST(RuvuDuvo, TheReportBlock) {
    const auto block = BuildRuvuDuvoBlock(ReportedDevices());
    // Little-endian 32-bit values.
    constexpr uint32_t kExpected[] = {
        2,      5,      0, 2,  // fixed header
        4,                     // device count
        0x320F, 0x22AB, 1,     // keyboard
        0x320F, 0x22A9, 2,     // mouse
        0x320F, 0x1004, 3,     // mouse pad
        0x0C76, 0x1630, 7,     // headset
    };
    for (size_t i = 0; i < std::size(kExpected); ++i) {
        const uint32_t v = block[4 * i] | block[4 * i + 1] << 8 | block[4 * i + 2] << 16 |
                           static_cast<uint32_t>(block[4 * i + 3]) << 24;
        EXPECT_EQ(v, kExpected[i]) << "value " << i;
    }
    for (size_t b = 4 * std::size(kExpected); b < block.size(); ++b)
        ASSERT_EQ(block[b], 0) << "byte " << b;
    // More devices than the block holds are cut, and the count says so.
    std::vector<ReportedDevice> many(400, ReportedDevice{1, 2, 3});
    const auto full = BuildRuvuDuvoBlock(many);
    EXPECT_EQ(full[16], 83);
}

// A program on the bus with one published window that records what reaches it.
class Peer {
  public:
    explicit Peer(std::string title)
        : peer_("PeerClass", std::move(title),
                [this](uint32_t msg, os::WPARAM w, os::LPARAM l) -> os::LRESULT {
                    if (msg == announce_ && w == 1) {
                        lastAnnounce = l;
                        ++announces;
                    }
                    if (msg == os::WM_COPYDATA) {
                        const auto* cds = reinterpret_cast<const os::COPYDATASTRUCT*>(l);
                        const auto* bytes = static_cast<const uint8_t*>(cds->lpData);
                        copy.assign(bytes, bytes + cds->cbData);
                        copyId = cds->dwData;
                        ++copies;
                        return 1;
                    }
                    return 0;
                }) {}
    std::atomic<int> announces{0};
    std::atomic<int64_t> lastAnnounce{-1};
    std::atomic<int> copies{0};
    std::vector<uint8_t> copy;  // read once copies is set
    std::atomic<uintptr_t> copyId{0};

  private:
    const uint32_t announce_ = os::RegisterWindowMessage(kLightControlAnnounceName);
    os::testing::BusPeer peer_;
};

TEST(Companions, TheLightingControlAnnounceAndTheRuvuDuvoReportReachOtherPrograms) {
    os::testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();
    RegisterOtherMessages();
    os::MessageLoop loop;
    os::SessionBus bus;
    ASSERT_TRUE(bus.Connect(loop));

    // Nobody titled "RuvuDuvo": nothing is sent.
    EXPECT_FALSE(ReportToRuvuDuvo(bus, 0x42, ReportedDevices()));

    Peer peer("RuvuDuvo");
    LightControl flag;
    EXPECT_EQ(flag.flag(), 1);
    auto waitFor = [&](int count) {
        const int64_t until = os::MonotonicMs() + 10000;
        while (peer.announces < count && os::MonotonicMs() < until) loop.RunOnce(20);
        return peer.announces.load() == count;
    };
    flag.Toggle(bus);  // gives control up
    EXPECT_EQ(flag.flag(), 0);
    EXPECT_STREQ(flag.Label(), "不控制灯光");
    ASSERT_TRUE(waitFor(1));
    EXPECT_EQ(peer.lastAnnounce, 0);
    flag.Toggle(bus);  // takes it back
    EXPECT_STREQ(flag.Label(), "控制灯光");
    ASSERT_TRUE(waitFor(2));
    EXPECT_EQ(peer.lastAnnounce, 1);

    // The control message: only wParam 1 with lParam 0 or 1 counts.
    EXPECT_FALSE(flag.OnMessage(0, 0));
    EXPECT_FALSE(flag.OnMessage(1, 2));
    EXPECT_EQ(flag.flag(), 1);
    EXPECT_TRUE(flag.OnMessage(1, 0));
    EXPECT_EQ(flag.flag(), 0);

    EXPECT_TRUE(ReportToRuvuDuvo(bus, 0x42, ReportedDevices()));
    ASSERT_EQ(peer.copies, 1);
    EXPECT_EQ(peer.copyId, kRuvuDuvoRecord);
    const auto expected = BuildRuvuDuvoBlock(ReportedDevices());
    EXPECT_EQ(peer.copy, std::vector<uint8_t>(expected.begin(), expected.end()));
}

TEST(SystemSettings, TheFirstInstalledProgramOfTheRunningDesktop) {
    auto only = [](std::vector<std::string> installed) {
        return [installed](const std::string& p) {
            for (const std::string& i : installed)
                if (i == p) return true;
            return false;
        };
    };
    using Cmd = std::vector<std::string>;
    struct Case {
        int which;
        const char* desktops;
        std::vector<std::string> installed;
        Cmd command;
    } cases[] = {
        {0, "ubuntu:GNOME", {"gnome-control-center"}, {"gnome-control-center", "keyboard"}},
        {1, "GNOME", {"gnome-control-center"}, {"gnome-control-center", "mouse"}},
        {1, "KDE", {"systemsettings5"}, {"systemsettings5", "kcm_mouse"}},
        {0,
         "XFCE",
         {"xfce4-keyboard-settings", "xfce4-mouse-settings"},
         {"xfce4-keyboard-settings"}},
        {1, "XFCE", {"xfce4-keyboard-settings", "xfce4-mouse-settings"}, {"xfce4-mouse-settings"}},
        {1, "XFCE", {"xfce4-keyboard-settings"}, {}},  // its mouse program is missing
        {0, "KDE", {"gnome-control-center"}, {}},      // another desktop's program does not count
        {0, "", {"gnome-control-center"}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SystemSettingsCommand(c.which, c.desktops, only(c.installed)), c.command)
            << c.which << " " << c.desktops;
    }
}

}  // namespace
}  // namespace app
