// brasvik-m402 --doctor against emulated hidraw nodes (umockdev): a node the user can open, one
// the user cannot (the report names the fix), none at all; with and without a session bus, and
// once on an X display. The program runs under umockdev-wrapper, which shows it the testbed
// built here; the node's permissions are set on the testbed's files. The superuser opens every
// node, so when the tests run as root the program runs as "nobody" where access matters.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "os/atomic_file.h"
#include "os/message_loop.h"
#include "os/session_bus.h"
#include "os/testing/private_session_bus.h"
#include "os/testing/xvfb_display.h"

namespace {

const std::string kBinary = BRASVIK_BINARY_DIR;
const std::string kCMake = BRASVIK_CMAKE_COMMAND;

// Whether every folder above path lets others through and the file lets others run it.
bool OthersCanRun(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return false;
    for (std::filesystem::path p = std::filesystem::path(path).parent_path();
         !p.empty() && p != p.root_path(); p = p.parent_path()) {
        if (::stat(p.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return false;
    }
    return true;
}

std::string FindWrapper() {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::string p = std::string(dir) + "/umockdev-wrapper";
        if (::access(p.c_str(), X_OK) == 0) return p;
    }
    return {};
}

// A USB keyboard whose command interface (1) has node hidraw0.
constexpr const char* kKeyboardTree =
    "P: /devices/usb1/1-1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
    "A: idVendor=320f\nA: idProduct=22ab\nA: bcdDevice=0110\n\n"
    "P: /devices/usb1/1-1/1-1:1.1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
    "A: bInterfaceNumber=01\n\n"
    "P: /devices/usb1/1-1/1-1:1.1/0003:320F:22AB.0001\nE: SUBSYSTEM=hid\n"
    "E: HID_ID=0003:0000320F:000022AB\n\n"
    "P: /devices/usb1/1-1/1-1:1.1/0003:320F:22AB.0001/hidraw/hidraw0\nN: hidraw0\n"
    "E: DEVNAME=/dev/hidraw0\nE: SUBSYSTEM=hidraw\nA: dev=240:0\n";

struct DoctorRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    // The first report line of a check, e.g. Line("devices").
    std::string Line(const std::string& check) const {
        size_t at = 0;
        while (at < out.size()) {
            const size_t end = out.find('\n', at);
            const std::string line = out.substr(at, end - at);
            if (line.find("  " + check + ": ") != std::string::npos) return line;
            if (end == std::string::npos) break;
            at = end + 1;
        }
        return {};
    }
};

class DoctorE2E : public ::testing::Test {
  protected:
    void SetUp() override {
        wrapper_ = FindWrapper();
        if (wrapper_.empty())
            GTEST_SKIP() << "umockdev-wrapper not found: install umockdev (scripts/setup.sh does)";
        char tmpl[] = "/tmp/brasvik-e2e-doctor-XXXXXX";
        dir_ = ::mkdtemp(tmpl);
        ::chmod(dir_.c_str(), 0755);
        for (const char* sub : {"/data", "/run"}) std::filesystem::create_directory(dir_ + sub);
        NewTestbed();
    }
    // An empty testbed in place of the last one.
    void NewTestbed() {
        if (bed_) g_object_unref(bed_);
        bed_ = umockdev_testbed_new();  // also points UMOCKDEV_DIR at it
        ::chmod(umockdev_testbed_get_root_dir(bed_), 0755);
    }
    void TearDown() override {
        if (bed_) g_object_unref(bed_);
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }

    void AddKeyboard(mode_t mode, gid_t group = 0, bool uaccess = false) {
        GError* error = nullptr;
        const std::string tree =
            std::string(kKeyboardTree) + (uaccess ? "E: TAGS=:uaccess:\n" : "");
        ASSERT_TRUE(umockdev_testbed_add_from_string(bed_, tree.c_str(), &error))
            << (error ? error->message : "");
        const std::string node = std::string(umockdev_testbed_get_root_dir(bed_)) + "/dev/hidraw0";
        ASSERT_EQ(::chmod(node.c_str(), mode), 0) << node;
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(node.c_str(), 0, group), 0);
        }
    }

    // Runs brasvik-m402 --doctor under the emulation; bus: the private bus address or empty for
    // none. asUser: run as "nobody" when this process is root.
    DoctorRun Run(const std::string& bus, bool asUser) {
        DoctorRun run;
        const std::string outFile = dir_ + "/out.txt";
        const std::string errFile = dir_ + "/err.txt";
        const passwd* nobody = ::getpwnam("nobody");
        const bool drop = asUser && ::geteuid() == 0 && nobody != nullptr;
        if (drop) {
            const uid_t uid = nobody->pw_uid;
            for (const auto& p : std::filesystem::recursive_directory_iterator(dir_))
                (void)::chown(p.path().c_str(), uid, static_cast<gid_t>(-1));
        }
        const std::string exe = Program(drop);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            ::dup2(out, 1);
            ::dup2(err, 2);
            ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", (dir_ + "/run").c_str(), 1);
            ::setenv("DBUS_SESSION_BUS_ADDRESS",
                     bus.empty() ? ("unix:path=" + dir_ + "/no-bus").c_str() : bus.c_str(), 1);
            ::unsetenv("WAYLAND_DISPLAY");
            if (!display_) ::unsetenv("DISPLAY");
            if (drop) {
                if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                    ::setuid(nobody->pw_uid) != 0)
                    ::_exit(120);
            }
            ::execl(wrapper_.c_str(), wrapper_.c_str(), exe.c_str(), "--doctor",
                    static_cast<char*>(nullptr));
            ::_exit(121);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        os::ReadWholeFile(outFile, run.out);
        os::ReadWholeFile(errFile, run.err);
        return run;
    }

    // The program to run. "nobody" may not reach the build folder (a checkout in a private
    // folder): then the program is installed into the test's own folder, which it can reach.
    std::string Program(bool asNobody) {
        const std::string built = kBinary + "/brasvik-m402";
        if (!asNobody || OthersCanRun(built)) return built;
        const std::string prefix = dir_ + "/prefix";
        if (!std::filesystem::exists(prefix + "/bin/brasvik-m402")) {
            const std::string command = "'" + kCMake + "' --install '" + kBinary + "' --prefix '" +
                                        prefix + "' >/dev/null 2>&1";
            EXPECT_EQ(std::system(command.c_str()), 0) << command;
        }
        return prefix + "/bin/brasvik-m402";
    }

    // Whatever else the machine says (its udev rules, say), the exit code follows the report.
    static void ExpectExitCodeMatchesReport(const DoctorRun& run) {
        const bool fail = run.out.find("\nFAIL  ") != std::string::npos;
        EXPECT_EQ(run.exitCode, fail ? 1 : 0) << run.out << run.err;
        EXPECT_NE(run.out.find(fail ? "the program (FAIL above)" : "Nothing blocks the program."),
                  std::string::npos)
            << run.out;
    }

    std::string wrapper_;
    std::string dir_;
    UMockdevTestbed* bed_ = nullptr;
    bool display_ = false;
};

TEST_F(DoctorE2E, ReadableNodeWithSessionBus) {
    os::testing::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ok()) << bus.error();
    AddKeyboard(0666);
    const DoctorRun run = Run(bus.address(), false);
    EXPECT_EQ(run.Line("devices").rfind("ok    devices: keyboard 320f:22ab /dev/hidraw0: "
                                        "readable and writable",
                                        0),
              0u)
        << run.out << run.err;
    EXPECT_EQ(run.Line("session bus"), "ok    session bus: reachable; org.brasvik.M402 is free")
        << run.out;
    EXPECT_EQ(
        run.Line("display").rfind("warn  display: none (neither DISPLAY nor WAYLAND_DISPLAY", 0),
        0u)
        << run.out;
    EXPECT_EQ(run.Line("user data")
                  .rfind("ok    user data: " + dir_ +
                             "/data/Brasvik M402 will "
                             "be created",
                         0),
              0u)
        << run.out;
    EXPECT_EQ(run.Line("program folder").rfind("ok    program folder: ", 0), 0u) << run.out;
    ExpectExitCodeMatchesReport(run);
    if (::geteuid() == 0) {
        EXPECT_EQ(run.Line("udev rules").rfind("FAIL", 0), std::string::npos) << run.out;
    }
}

// A node the user may not open: the line names what would give access.
TEST_F(DoctorE2E, NodeWithoutPermissionNamesTheFix) {
    const group* plugdev = ::getgrnam("plugdev");
    struct Case {
        const char* name;
        mode_t mode;
        bool groupOwned;
        bool uaccess;
        std::string fix;  // part of the line
    };
    const std::vector<Case> cases = {
        // Nothing gives access: the rules must be installed (or, when the machine has them
        // already, applied).
        {"owner only", 0600, false, false, "udev"},
        // The node's group may use it: join the group.
        {"group", 0660, true, false, "sudo usermod -aG plugdev "},
        // The rule applied, but the user is not the one at the machine.
        {"uaccess", 0600, false, true, "log in at the machine itself"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.groupOwned && (::geteuid() != 0 || plugdev == nullptr)) continue;
        NewTestbed();
        AddKeyboard(::geteuid() == 0 ? c.mode : 0, c.groupOwned ? plugdev->gr_gid : 0, c.uaccess);
        const DoctorRun run = Run("", true);
        const std::string line = run.Line("devices");
        EXPECT_EQ(line.rfind("FAIL  devices: keyboard 320f:22ab /dev/hidraw0: neither readable "
                             "nor writable by ",
                             0),
                  0u)
            << run.out << run.err;
        EXPECT_NE(line.find(". Fix: "), std::string::npos) << line;
        EXPECT_NE(line.find(c.fix, line.find(". Fix: ")), std::string::npos) << line;
        EXPECT_EQ(run.Line("session bus").rfind("warn  session bus: not reachable", 0), 0u)
            << run.out;
        EXPECT_EQ(run.exitCode, 1) << run.out;
        ExpectExitCodeMatchesReport(run);
    }
}

// No device: a warning that names what was looked for, not a failure; with a bus whose
// instance name a running program holds, and without a bus.
TEST_F(DoctorE2E, NoDeviceWithAndWithoutBus) {
    os::testing::PrivateSessionBus bus;
    ASSERT_TRUE(bus.ok()) << bus.error();
    os::MessageLoop loop;
    os::SessionBus instance;
    ASSERT_TRUE(instance.Connect(loop));
    ASSERT_EQ(instance.ClaimSingleInstance(), os::SessionBus::Instance::First);
    for (const bool withBus : {true, false}) {
        SCOPED_TRACE(withBus ? "with bus" : "without bus");
        const DoctorRun run = Run(withBus ? bus.address() : "", false);
        EXPECT_EQ(run.Line("devices"),
                  "warn  devices: no device of the family is plugged in (looked for keyboard "
                  "320f:22ab, receiver 320f:22aa, mouse 320f:22a9, mouse pad 320f:1004, headset "
                  "0c76:1630). Fix: plug the device in; if it is plugged in, see whether lsusb "
                  "lists it (another cable or port, or the receiver's switch)")
            << run.out << run.err;
        if (withBus)
            EXPECT_EQ(run.Line("session bus"),
                      "ok    session bus: reachable; org.brasvik.M402 is held by a running "
                      "instance (process " +
                          std::to_string(::getpid()) +
                          "): starting the program again brings that one to the front")
                << run.out;
        else
            EXPECT_EQ(run.Line("session bus").rfind("warn  session bus: not reachable", 0), 0u)
                << run.out;
        ExpectExitCodeMatchesReport(run);
    }
}

TEST_F(DoctorE2E, X11DisplayWithKeyCapture) {
    os::testing::XvfbDisplay x;
    if (!x.ok()) GTEST_SKIP() << "no Xvfb: " << x.error();
    display_ = true;
    const DoctorRun run = Run("", false);
    EXPECT_EQ(
        run.Line("display").rfind(
            "ok    display: X11 " + x.name() + "; global key capture available (XInput 2.", 0),
        0u)
        << run.out << run.err;
}

}  // namespace
