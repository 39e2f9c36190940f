// Demo mode: the kinds of --demo, memory that survives a restart, and brasvik-sim driving a
// running demo over a private session bus.
#include "sim/demo.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "os/atomic_file.h"
#include "os/event.h"
#include "os/folders.h"
#include "os/hid/hid_platform.h"
#include "os/hid/interface_path.h"
#include "os/message_loop.h"
#include "os/session_bus.h"
#include "os/testing/private_session_bus.h"
#include "os/testing/run_program.h"
#include "os/testing/temp_user_folders.h"

namespace sim {
namespace {

// A scratch folder that goes away with the test.
class ScratchFolder {
  public:
    ScratchFolder() {
        char templ[] = "/tmp/brasvik-sim-XXXXXX";
        path_ = ::mkdtemp(templ);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Writes one frame to the collection of the plugged interface and returns the answer.
std::vector<uint8_t> Exchange(uint16_t pid, int mi, int col, std::vector<uint8_t> frame) {
    std::vector<std::string> paths;
    os::hid::EnumerateInterfaces(&paths);
    for (const std::string& p : paths) {
        os::hid::InterfacePath parts;
        if (!os::hid::SplitInterfacePath(p, &parts) || parts.productId != pid ||
            parts.interfaceNumber != mi || parts.collection != col)
            continue;
        std::shared_ptr<os::hid::DeviceHandle> h;
        os::hid::OpenOptions o;
        o.readAccess = o.writeAccess = true;
        if (os::hid::OpenInterface(p, o, &h) != os::hid::kErrorSuccess) return {};
        uint32_t n = 0;
        unsigned sum = 0;
        for (size_t i = 3; i < 64; ++i) sum += frame[i];
        frame[1] = sum & 0xFF;
        frame[2] = (sum >> 8) & 0xFF;
        if (h->Write(frame.data(), 64, &n, 1000, nullptr) != os::hid::kErrorSuccess) return {};
        std::vector<uint8_t> answer(64);
        if (h->Read(answer.data(), 64, &n, 5000, nullptr) != os::hid::kErrorSuccess) return {};
        return answer;
    }
    return {};
}

class DemoTest : public ::testing::Test {
  protected:
    void SetUp() override { os::hid::SelectBackends(os::hid::kBackendVirtual); }
};

TEST_F(DemoTest, KindsOfTheDemoOption) {
    struct Case {
        const char* kinds;
        bool ok;
        std::vector<Kind> plugged;
    };
    const Case kCases[] = {
        {"", true, {Kind::kKeyboard, Kind::kMouse, Kind::kPad, Kind::kHeadset}},
        {"kb,rx", true, {Kind::kKeyboard, Kind::kReceiver}},
        {"Mouse,headset,mousepad", true, {Kind::kMouse, Kind::kHeadset, Kind::kPad}},
        {"pad,bogus", false, {Kind::kPad}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.kinds);
        Demo demo("");
        std::string error;
        EXPECT_EQ(demo.PlugKinds(c.kinds, &error), c.ok);
        if (!c.ok) {
            EXPECT_NE(error.find("bogus"), std::string::npos);
        }
        for (const DeviceLayout& l : kDeviceLayouts) {
            const bool wanted =
                std::find(c.plugged.begin(), c.plugged.end(), l.kind) != c.plugged.end();
            EXPECT_EQ(demo.device(l.kind).plugged(), wanted) << l.name;
        }
    }
    // The receiver comes with the demo keyboard and mouse linked behind it.
    Demo demo("");
    ASSERT_TRUE(demo.PlugKinds("rx", nullptr));
    std::vector<uint8_t> link(64);
    link[0] = 0x04;
    link[3] = 0xAA;
    const std::vector<uint8_t> a = Exchange(0x22AA, 1, 4, link);
    ASSERT_EQ(a.size(), 64u);
    EXPECT_EQ(a[8], 0xFF);
    EXPECT_EQ(a[9], 0xFF);
}

TEST_F(DemoTest, MemoryPersistsAcrossRestarts) {
    os::testing::TempUserFolders folders;
    EXPECT_EQ(Demo::DefaultDataFolder(), folders.path() + "/data/Brasvik M402/Demo");
    const std::string folder = Demo::DefaultDataFolder();
    {
        Demo demo(folder);
        ASSERT_TRUE(demo.PlugKinds("ms,kb", nullptr));
        // Settings byte 1..3 of mouse profile 0, and one key of the keyboard's table.
        std::vector<uint8_t> f(64);
        f[0] = 0x04;
        f[3] = 0x06;  // write settings
        f[4] = 3;     // length
        f[5] = 1;     // address 1
        f[8] = 7;
        f[9] = 3;
        f[10] = 1;
        ASSERT_EQ(Exchange(0x22A9, 1, 2, f).at(7), 0x00);
        std::vector<uint8_t> k(64);
        k[0] = 0x04;
        k[3] = 0x09;  // write key table
        k[4] = 3;
        k[5] = 3;  // key 1
        k[8] = 0x70;
        k[9] = 0x00;
        k[10] = 0x01;
        ASSERT_EQ(Exchange(0x22AB, 1, 4, k).at(7), 0x00);
    }  // ends like the program does: pending memory saved
    EXPECT_TRUE(os::PathExists(folder + "/mouse.bin"));
    EXPECT_TRUE(os::PathExists(folder + "/keyboard.bin"));
    {
        Demo demo(folder);
        const std::vector<uint8_t> settings = demo.firmware(Kind::kMouse).ReadArea(Area::kSettings);
        EXPECT_EQ((std::vector<uint8_t>(settings.begin(), settings.begin() + 4)),
                  (std::vector<uint8_t>{0, 7, 3, 1}));
        const std::vector<uint8_t> keys = demo.firmware(Kind::kKeyboard).ReadArea(Area::kKeys);
        EXPECT_EQ((std::vector<uint8_t>(keys.begin() + 3, keys.begin() + 6)),
                  (std::vector<uint8_t>{0x70, 0x00, 0x01}));
        // Untouched devices keep their factory memory.
        EXPECT_EQ(demo.firmware(Kind::kPad).ReadArea(Area::kSettings)[8], 255);
    }
    // A damaged file is kept aside and the device starts from the factory memory.
    ASSERT_TRUE(os::WriteFileAtomically(folder + "/mouse.bin", "BRSIM1\x01\x01garbage"));
    {
        Demo demo(folder);
        EXPECT_EQ(demo.firmware(Kind::kMouse).ReadArea(Area::kSettings)[1], 1);
        EXPECT_TRUE(os::PathExists(folder + "/mouse.bin.bad"));
        EXPECT_FALSE(os::PathExists(folder + "/mouse.bin"));
    }
}

// Runs build/brasvik-sim with the arguments; returns its exit code, its output in *out.
int RunSim(const std::vector<std::string>& args, std::string* out) {
    ScratchFolder scratch;
    std::vector<std::string> argv{std::string(BRASVIK_BINARY_DIR) + "/brasvik-sim"};
    argv.insert(argv.end(), args.begin(), args.end());
    const os::testing::ProgramRun run = os::testing::RunProgram(argv, scratch.path() + "/out");
    *out = run.output;
    return run.exitCode;
}

TEST_F(DemoTest, BrasvikSimDrivesARunningDemo) {
    os::testing::PrivateSessionBus privateBus;
    if (!privateBus.ok()) GTEST_SKIP() << "no private session bus: " << privateBus.error();

    // The running program: its loop thread holds the instance name and serves the demo.
    std::atomic<Demo*> demo{nullptr};
    std::atomic<bool> stop{false};
    os::Event ready(true, false);
    std::thread program([&] {
        os::MessageLoop loop;
        os::SessionBus bus;
        bus.Connect(loop);
        bus.ClaimSingleInstance();
        Demo d("");
        d.PlugKinds("kb", nullptr);
        d.AttachTo(bus);
        demo = &d;
        ready.Set();
        while (!stop) loop.RunOnce(50);
        demo = nullptr;
    });
    ASSERT_EQ(ready.Wait(20000), os::kWaitObject0);
    Demo& d = *demo;
    std::string out;

    EXPECT_EQ(RunSim({"plug", "mouse"}, &out), 0) << out;
    EXPECT_TRUE(d.device(Kind::kMouse).plugged());
    EXPECT_EQ(RunSim({"battery", "ms", "150", "charging", "samsung"}, &out), 0) << out;
    EXPECT_EQ(RunSim({"dump", "mouse", "power"}, &out), 0) << out;
    EXPECT_NE(out.find("0000: 96 01 00 00 00 02"), std::string::npos) << out;
    EXPECT_EQ(RunSim({"fault", "keyboard", "late", "700", "command=0x05", "frames=1"}, &out), 0)
        << out;
    EXPECT_EQ(RunSim({"unlink", "mouse"}, &out), 0) << out;
    EXPECT_FALSE(d.receiver().linked(ReceiverFirmware::Partner::kMouse));
    EXPECT_EQ(RunSim({"unplug", "keyboard"}, &out), 0) << out;
    EXPECT_FALSE(d.device(Kind::kKeyboard).plugged());

    // Failures: a non-zero exit with the reason.
    EXPECT_NE(RunSim({"press", "keyboard", "5"}, &out), 0);  // unplugged: nobody hears it
    EXPECT_NE(out.find("not connected"), std::string::npos) << out;
    EXPECT_NE(RunSim({"plug", "toaster"}, &out), 0);
    EXPECT_NE(out.find("unknown device kind: toaster"), std::string::npos) << out;
    EXPECT_NE(RunSim({"fault", "mouse", "sometimes"}, &out), 0);

    stop = true;
    program.join();
    // Without a running demo brasvik-sim says so.
    EXPECT_NE(RunSim({"status"}, &out), 0);
    EXPECT_NE(out.find("no running demo"), std::string::npos) << out;
}

}  // namespace
}  // namespace sim
