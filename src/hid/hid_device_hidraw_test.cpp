// HidDevice on the hidraw backend, against an emulated sysfs and /dev tree (umockdev). The
// emulation needs its preload library in the process from the start, so each test re-runs
// itself in a child process under umockdev-wrapper and the parent checks the child's result.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "hid/device_path.h"
#include "hid/device_scan_thread.h"
#include "hid/hid_device.h"
#include "os/hid/hid_platform.h"
#include "os/hid/interface_path.h"
#include "os/hid/sample_descriptors.h"
#include "os/message_loop.h"
#include "os/worker_thread.h"
#include "sim/factory_tables.h"

extern char** environ;

// Heap allocations made on this thread while counting is on. The sanitizers bring their own
// allocator, which a replacement here would fight with, so the count is kept only without them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define BRASVIK_COUNTS_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define BRASVIK_COUNTS_ALLOCATIONS 0
#endif
#endif
#ifndef BRASVIK_COUNTS_ALLOCATIONS
#define BRASVIK_COUNTS_ALLOCATIONS 1
#endif

namespace {
thread_local bool t_counting = false;
thread_local size_t t_allocations = 0;
}  // namespace

#if BRASVIK_COUNTS_ALLOCATIONS
// The replacement pair below is malloc and free underneath; the compiler cannot see that they
// match once it inlines them into callers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(size_t size) {
    if (t_counting) ++t_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
#endif

namespace hid {
namespace {

constexpr const char* kChildVariable = "BRASVIK_UMOCKDEV_CHILD";
constexpr uint32_t kLongWaitMs = 10000;

bool InChild() {
    return std::getenv(kChildVariable) != nullptr;
}

std::string FindWrapper() {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        const std::string p = std::string(dir) + "/umockdev-wrapper";
        if (::access(p.c_str(), X_OK) == 0) return p;
    }
    return {};
}

// Runs the current test again in a child under umockdev-wrapper and checks its result.
void RunChild(const std::string& wrapper) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.push_back(std::string(kChildVariable) + "=1");
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    char exe[4096];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) self.assign(exe, static_cast<size_t>(n));
    std::vector<char*> argv = {const_cast<char*>(wrapper.c_str()), self.data(),
                               const_cast<char*>(filter.c_str()), nullptr};
    pid_t pid;
    ASSERT_EQ(::posix_spawn(&pid, wrapper.c_str(), nullptr, nullptr, argv.data(), envp.data()), 0)
        << "cannot start " << wrapper;
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the test failed under umockdev (its output is above)";
}

// In the parent: run the test in the emulation and return; in the child: go on with the body.
#define RUN_UNDER_UMOCKDEV()                                                            \
    if (!InChild()) {                                                                   \
        const std::string wrapper = FindWrapper();                                      \
        if (wrapper.empty())                                                            \
            GTEST_SKIP() << "umockdev-wrapper not found: install the umockdev package " \
                            "(scripts/setup.sh does) to test the hidraw backend";       \
        RunChild(wrapper);                                                              \
        return;                                                                         \
    }

// What the host wrote to an emulated node, as the device sees it; -1 when nothing came.
ssize_t ReadDeviceEnd(int device, uint8_t* buffer, size_t length) {
    pollfd p{device, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(kLongWaitMs)) != 1) return -1;
    return ::read(device, buffer, length);
}

std::string Hex(std::span<const uint8_t> bytes) {
    static const char* d = "0123456789abcdef";
    std::string s;
    for (uint8_t b : bytes) {
        s += d[b >> 4];
        s += d[b & 15];
    }
    return s;
}

// No report ids: 8 data bytes each way, so reports are [0][8 bytes] on this side.
constexpr uint8_t kUnnumbered[] = {
    0x06, 0x00, 0xFF,  // Usage Page (0xFF00)
    0x09, 0x01,        // Usage (1)
    0xA1, 0x01,        // Collection (Application)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x08,        //   Report Count (8)
    0x09, 0x02,        //   Usage (2)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x03,        //   Usage (3)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

class HidrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!InChild()) return;
        os::hid::SelectBackends(os::hid::kBackendHidraw);
        bed_ = umockdev_testbed_new();
        // A USB keyboard with a composite interface 1 (hidraw0) and the vendor interface 2
        // (hidraw1); a Bluetooth device (hidraw2); a node whose descriptor is garbage (hidraw3).
        const std::string tree =
            "P: /devices/usb1/1-1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
            "A: idVendor=320f\nA: idProduct=22ab\nA: bcdDevice=0102\n\n"
            "P: /devices/usb1/1-1/1-1:1.1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
            "A: bInterfaceNumber=01\n\n"
            "P: /devices/usb1/1-1/1-1:1.1/0003:320F:22AB.0001\nE: SUBSYSTEM=hid\n"
            "E: HID_ID=0003:0000320F:000022AB\nH: report_descriptor=" +
            Hex(os::hid::samples::kCompositeKeyboard) +
            "\n\n"
            "P: /devices/usb1/1-1/1-1:1.1/0003:320F:22AB.0001/hidraw/hidraw0\nN: hidraw0\n"
            "E: DEVNAME=/dev/hidraw0\nE: SUBSYSTEM=hidraw\nA: dev=240:0\n\n"
            "P: /devices/usb1/1-1/1-1:1.2\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
            "A: bInterfaceNumber=02\n\n"
            "P: /devices/usb1/1-1/1-1:1.2/0003:320F:22AB.0002\nE: SUBSYSTEM=hid\n"
            "E: HID_ID=0003:0000320F:000022AB\nH: report_descriptor=" +
            Hex(os::hid::samples::kVendorCommand) +
            "\n\n"
            "P: /devices/usb1/1-1/1-1:1.2/0003:320F:22AB.0002/hidraw/hidraw1\nN: hidraw1\n"
            "E: DEVNAME=/dev/hidraw1\nE: SUBSYSTEM=hidraw\nA: dev=240:1\n\n"
            "P: /devices/bt/0005:0C76:1630.0003\nE: SUBSYSTEM=hid\n"
            "E: HID_ID=0005:00000C76:00001630\nH: report_descriptor=" +
            Hex(kUnnumbered) +
            "\n\n"
            "P: /devices/bt/0005:0C76:1630.0003/hidraw/hidraw2\nN: hidraw2\n"
            "E: DEVNAME=/dev/hidraw2\nE: SUBSYSTEM=hidraw\nA: dev=240:2\n\n"
            "P: /devices/bt/0005:1234:5678.0004\nE: SUBSYSTEM=hid\n"
            "E: HID_ID=0005:00001234:00005678\nH: report_descriptor=a101a101\n\n"
            "P: /devices/bt/0005:1234:5678.0004/hidraw/hidraw3\nN: hidraw3\n"
            "E: DEVNAME=/dev/hidraw3\nE: SUBSYSTEM=hidraw\nA: dev=240:3\n";
        GError* error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(bed_, tree.c_str(), &error))
            << (error ? error->message : "");
    }
    void TearDown() override {
        if (bed_) g_object_unref(bed_);
    }

    // The device's end of an emulated node.
    int DeviceEnd(const char* node) { return umockdev_testbed_get_dev_fd(bed_, node); }

    std::string FindPath(HidDevice& dev, const char* part) {
        EXPECT_TRUE(dev.Enumerate());
        while (const char* p = dev.NextPath())
            if (std::strstr(p, part)) return p;
        return {};
    }

    UMockdevTestbed* bed_ = nullptr;
};

TEST_F(HidrawTest, EnumeratesOnePathPerCollectionWithIdentity) {
    RUN_UNDER_UMOCKDEV();
    HidDevice dev;
    ASSERT_TRUE(dev.Enumerate());
    std::vector<std::string> paths;
    while (const char* p = dev.NextPath()) paths.push_back(p);
    const std::string guid = "#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    std::vector<std::string> expected = {
        "\\\\?\\hid#vid_320f&pid_22ab&mi_01&col01#hidraw0" + guid,
        "\\\\?\\hid#vid_320f&pid_22ab&mi_01&col02#hidraw0" + guid,
        "\\\\?\\hid#vid_320f&pid_22ab&mi_01&col03#hidraw0" + guid,
        "\\\\?\\hid#vid_320f&pid_22ab&mi_01&col04#hidraw0" + guid,
        "\\\\?\\hid#vid_320f&pid_22ab&mi_02#hidraw1" + guid,
        "\\\\?\\hid#vid_0c76&pid_1630#hidraw2" + guid,  // not USB: no interface number
    };
    EXPECT_EQ(ParseCollectionNumber(expected[3]), 4);
    EXPECT_EQ(ParseInterfaceNumber(expected[4]), 2);
    const std::string vendor = expected[2];
    std::sort(paths.begin(), paths.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);  // the garbled node is left out

    // A probe without access reads identity and capabilities.
    ASSERT_TRUE(dev.Open(vendor, false, false, true, false));
    EXPECT_EQ(dev.VendorId(), 0x320f);
    EXPECT_EQ(dev.ProductId(), 0x22ab);
    EXPECT_EQ(dev.VersionNumber(), 0x0102);
    EXPECT_EQ(dev.UsagePage(), 0xFF00);
    EXPECT_EQ(dev.InputReportLength(), 64);
    EXPECT_EQ(dev.CollectionNumber(), 3);
    uint8_t buf[64];
    uint32_t n;
    EXPECT_FALSE(dev.Read(buf, sizeof buf, &n, 0));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorAccessDenied);
    EXPECT_FALSE(dev.Open("\\\\?\\hid#vid_320f&pid_22ab#hidraw9" + guid, true, true, true, false));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorFileNotFound);
}

TEST_F(HidrawTest, ReadsAndWritesReportsThroughTheNode) {
    RUN_UNDER_UMOCKDEV();
    HidDevice dev;
    const std::string path = FindPath(dev, "hidraw1");
    ASSERT_TRUE(dev.Open(path, true, true, true, false));
    const int device = DeviceEnd("/dev/hidraw1");
    ASSERT_GE(device, 0);

    // Bytes a terminal would change (CR, LF, ^C, DEL) pass unchanged.
    uint8_t report[64] = {0x04, 0x0D, 0x0A, 0x03, 0x7F, 0x11};
    ASSERT_EQ(::write(device, report, sizeof report), 64);
    uint8_t in[64] = {};
    uint32_t n = 0;
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(0, std::memcmp(in, report, 64));

    // A short report is padded to the collection's length.
    const uint8_t shortReport[4] = {0x04, 0x21, 0x22, 0x23};
    ASSERT_EQ(::write(device, shortReport, 4), 4);
    std::memset(in, 0xEE, sizeof in);
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    EXPECT_EQ(n, 64u);
    EXPECT_EQ(in[3], 0x23);
    EXPECT_EQ(in[4], 0x00);
    EXPECT_EQ(in[63], 0x00);

    const uint8_t command[64] = {0x04, 0x06, 0x38, 0x00};
    ASSERT_TRUE(dev.Write(command, sizeof command, &n, kLongWaitMs));
    uint8_t got[128];
    ASSERT_EQ(ReadDeviceEnd(device, got, sizeof got), 64);
    EXPECT_EQ(0, std::memcmp(got, command, 64));

    EXPECT_FALSE(dev.Read(in, sizeof in, &n, 100));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorTimeout);

    // The device end going away is a disconnect.
    ::close(device);
    EXPECT_FALSE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    EXPECT_EQ(dev.LastError(), os::hid::kErrorDeviceNotConnected);
}

TEST_F(HidrawTest, AHandleReadsOnlyItsCollectionsReports) {
    RUN_UNDER_UMOCKDEV();
    HidDevice dev;
    ASSERT_TRUE(dev.Open(FindPath(dev, "col02"), true, true, true, false));  // consumer, id 3
    const int device = DeviceEnd("/dev/hidraw0");
    ASSERT_GE(device, 0);
    const uint8_t keyboard[9] = {0x01, 0x00, 0x00, 0x04};
    ASSERT_EQ(::write(device, keyboard, sizeof keyboard), 9);
    uint8_t in[16];
    uint32_t n = 0;
    EXPECT_FALSE(dev.Read(in, sizeof in, &n, 300));  // taken and dropped
    EXPECT_EQ(dev.LastError(), os::hid::kErrorTimeout);
    const uint8_t volumeUp[3] = {0x03, 0xE9, 0x00};
    ASSERT_EQ(::write(device, volumeUp, sizeof volumeUp), 3);
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(in[1], 0xE9);
}

TEST_F(HidrawTest, ReportsWithoutIdsGetAZeroIdByte) {
    RUN_UNDER_UMOCKDEV();
    HidDevice dev;
    ASSERT_TRUE(dev.Open(FindPath(dev, "hidraw2"), true, true, true, false));
    EXPECT_EQ(dev.InputReportLength(), 9);
    const int device = DeviceEnd("/dev/hidraw2");
    ASSERT_GE(device, 0);
    const uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(::write(device, data, sizeof data), 8);
    uint8_t in[9];
    uint32_t n = 0;
    ASSERT_TRUE(dev.Read(in, sizeof in, &n, kLongWaitMs));
    const uint8_t expected[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(0, std::memcmp(in, expected, 9));
    // hidraw takes the 0 id byte in front of an unnumbered output report.
    ASSERT_TRUE(dev.Write(expected, sizeof expected, &n, kLongWaitMs));
    uint8_t got[32];
    ASSERT_EQ(ReadDeviceEnd(device, got, sizeof got), 9);
    EXPECT_EQ(0, std::memcmp(got, expected, 9));
}

TEST_F(HidrawTest, ANodeThatVanishesWhileListedFailsTheEnumeration) {
    RUN_UNDER_UMOCKDEV();
    // The HID device above hidraw4 has lost its descriptor file, as when the device is pulled
    // between the listing and the reading of its details.
    GError* error = nullptr;
    ASSERT_TRUE(umockdev_testbed_add_from_string(
        bed_,
        "P: /devices/usb2/2-1/2-1:1.0/0003:320F:22AA.0005\nE: SUBSYSTEM=hid\n"
        "E: HID_ID=0003:0000320F:000022AA\n\n"
        "P: /devices/usb2/2-1/2-1:1.0/0003:320F:22AA.0005/hidraw/hidraw4\nN: hidraw4\n"
        "E: DEVNAME=/dev/hidraw4\nE: SUBSYSTEM=hidraw\nA: dev=240:4\n",
        &error))
        << (error ? error->message : "");
    HidDevice dev;
    EXPECT_FALSE(dev.Enumerate());
    EXPECT_EQ(dev.LastError(), os::hid::kErrorDeviceNotConnected);
    EXPECT_EQ(dev.NextPath(), nullptr);
}

TEST_F(HidrawTest, ReadsAndFlushesAllocateNothingOnceOpen) {
    if (!BRASVIK_COUNTS_ALLOCATIONS) GTEST_SKIP() << "the sanitizers keep their own allocator";
    RUN_UNDER_UMOCKDEV();
    HidDevice dev;
    const std::string path = FindPath(dev, "hidraw1");
    std::shared_ptr<os::hid::DeviceHandle> handle;
    const os::hid::OpenOptions access{.readAccess = true, .writeAccess = true};
    ASSERT_EQ(os::hid::OpenInterface(path, access, &handle), os::hid::kErrorSuccess);
    const int device = DeviceEnd("/dev/hidraw1");
    ASSERT_GE(device, 0);
    uint8_t report[64] = {0x04, 0x05};
    uint8_t in[64];
    uint32_t n = 0;
    t_allocations = 0;
    t_counting = true;
    for (int i = 0; i < 20; ++i) {
        report[2] = static_cast<uint8_t>(i);
        if (::write(device, report, sizeof report) != 64) break;
        if (handle->Read(in, sizeof in, &n, kLongWaitMs, nullptr) != os::hid::kErrorSuccess ||
            in[2] != i)
            break;
        ::write(device, report, sizeof report);
        if (handle->FlushQueue() != os::hid::kErrorSuccess) break;
    }
    t_counting = false;
    EXPECT_EQ(in[2], 19);
    EXPECT_EQ(t_allocations, 0u);
}

TEST_F(HidrawTest, APathOpensOnlyWhileItsIdsAreTheNodes) {
    RUN_UNDER_UMOCKDEV();
    // Node numbers are reused: a path kept from a device that left names whatever device got
    // its node next. Such a path carries other ids than the node's now has.
    HidDevice dev;
    const std::string path = FindPath(dev, "hidraw1");  // 320f:22ab, interface 2
    os::hid::InterfacePath own;
    ASSERT_TRUE(os::hid::SplitInterfacePath(path, &own));
    struct Case {
        const char* what;
        void (*change)(os::hid::InterfacePath&);
    };
    constexpr Case kCases[] = {
        {"another product", [](os::hid::InterfacePath& p) { p.productId = 0x1004; }},
        {"another vendor", [](os::hid::InterfacePath& p) { p.vendorId = 0x0c76; }},
        {"another interface", [](os::hid::InterfacePath& p) { p.interfaceNumber = 1; }},
        {"no interface", [](os::hid::InterfacePath& p) { p.interfaceNumber = -1; }},
    };
    for (const Case& c : kCases) {
        os::hid::InterfacePath other = own;
        c.change(other);
        // Neither with access nor without it (the removal check's open).
        for (bool access : {true, false}) {
            EXPECT_FALSE(dev.Open(os::hid::FormatInterfacePath(other), access, false, true, false))
                << c.what << ", access " << access;
            EXPECT_EQ(dev.LastError(), os::hid::kErrorFileNotFound) << c.what;
        }
    }
    for (bool access : {true, false})
        EXPECT_TRUE(dev.Open(path, access, false, true, false)) << "access " << access;
}

TEST_F(HidrawTest, DiscoveryHearsNodesComeAndGoFromUdev) {
    RUN_UNDER_UMOCKDEV();
    constexpr uint32_t kTitle = 0xC123;
    std::vector<std::pair<uint32_t, size_t>> log;
    os::MessageLoop loop;
    os::FunctionTarget target([&](uint32_t msg, os::WPARAM w, os::LPARAM) -> os::LRESULT {
        log.emplace_back(msg, static_cast<size_t>(w));
        return 0;
    });
    const os::HWND window = os::CreateTarget(&target);
    auto slots = std::make_shared<InterfaceSlotList>();
    slots->BuildFromCatalogue();
    auto ctx = std::make_shared<os::WorkerContext>();
    ctx->owner = window;
    ctx->stopEvent = std::make_shared<os::Event>(true);
    os::WorkerThread thread;
    // The slow pass is an hour away: only udev's notices can bring the messages below.
    thread.Start([ctx, slots] { DeviceScanThread(ctx, slots, kTitle, {.fallbackMs = 3600000}); });
    auto count = [&](uint32_t msg) {
        return std::count_if(log.begin(), log.end(), [&](auto& e) { return e.first == msg; });
    };
    auto runUntil = [&](const std::function<bool()>& done) {
        for (int64_t until = os::MonotonicMs() + 20000; !done() && os::MonotonicMs() < until;)
            loop.RunOnce(10);
        return done();
    };
    ASSERT_TRUE(runUntil([&] { return count(kTitle) == 1; }));
    EXPECT_EQ(count(WM_DEVICE_ARRIVAL), 0);

    // A mouse pad is plugged: its node appears and udev announces it.
    const std::string pad = "/sys/devices/usb4/4-1/4-1:1.1/0003:320F:1004.0007";
    GError* error = nullptr;
    const std::string tree =
        "P: /devices/usb4/4-1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
        "A: idVendor=320f\nA: idProduct=1004\nA: bcdDevice=0100\n\n"
        "P: /devices/usb4/4-1/4-1:1.1\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
        "A: bInterfaceNumber=01\n\n"
        "P: /devices/usb4/4-1/4-1:1.1/0003:320F:1004.0007\nE: SUBSYSTEM=hid\n"
        "E: HID_ID=0003:0000320F:00001004\nH: report_descriptor=" +
        Hex(sim::descriptor::kFourCollections) +
        "\n\n"
        "P: /devices/usb4/4-1/4-1:1.1/0003:320F:1004.0007/hidraw/hidraw7\nN: hidraw7\n"
        "E: DEVNAME=/dev/hidraw7\nE: SUBSYSTEM=hidraw\nA: dev=240:7\n";
    ASSERT_TRUE(umockdev_testbed_add_from_string(bed_, tree.c_str(), &error))
        << (error ? error->message : "");
    umockdev_testbed_uevent(bed_, (pad + "/hidraw/hidraw7").c_str(), "add");
    ASSERT_TRUE(runUntil([&] { return count(WM_DEVICE_ARRIVAL) == 2; }));
    EXPECT_EQ(slots->Slot(10).connected, 1);
    EXPECT_EQ(slots->Slot(11).connected, 1);

    // Unplugged. The emulation cannot announce a device it no longer has, so a notice of
    // another node stands in for the removal's.
    umockdev_testbed_remove_device(bed_, (pad + "/hidraw/hidraw7").c_str());
    umockdev_testbed_remove_device(bed_, pad.c_str());
    umockdev_testbed_uevent(
        bed_, "/sys/devices/usb1/1-1/1-1:1.1/0003:320F:22AB.0001/hidraw/hidraw0", "change");
    ASSERT_TRUE(runUntil([&] { return count(WM_DEVICE_REMOVAL) == 2; }));
    EXPECT_TRUE(slots->IsFree(10));
    EXPECT_TRUE(slots->IsFree(11));

    ctx->stopEvent->Set();
    EXPECT_EQ(thread.Join(5000), os::kWaitObject0);
    os::DestroyTarget(window);
}

}  // namespace
}  // namespace hid
